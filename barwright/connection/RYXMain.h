#pragma once
// The entry object the toolbar control creates: Connect, LoadFromFile and
// CheckStatus by name, the named close event, and the exit notification.
// Creating one resets the connection state.

#include "platform/automation/Dispatch.h"
#include "platform/system/Events.h"

#include <QString>

#include <memory>

class RYXMain final : public com::Dispatch {
public:
    // Dispatch ids of the public members.
    static constexpr int32_t DispidCheckStatus = 1;
    static constexpr int32_t DispidConnect = 2;
    static constexpr int32_t DispidLoadFromFile = 3;

    static std::shared_ptr<RYXMain> create();
    ~RYXMain() override;
    QString className() const override { return QStringLiteral("RYXMain"); }

    // True while this object holds its close event.
    bool CheckStatus() const { return m_hCloseEvent != 0; }
    void Connect(rt::Variant& pCaller, QString& sEventName);
    void LoadFromFile(const QString& sInputConfigFile);
    // Signals the close event (or tells a test-program caller), then
    // releases the client and the shared editor resources.
    void NotifyExiting();

    // "RYX Close" followed by the process number.
    static QString closeEventName();

private:
    RYXMain();
    // Shows the preview and panel windows and marks the panel for the caller.
    void showConfigurationWindows();

    sys::HANDLE m_hCloseEvent = 0;
    bool m_callerIsTestProgram = false;
};
