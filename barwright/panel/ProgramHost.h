#pragma once
// What the barwright program does in place of the developer's form: binds a
// client toolbar control to a .qrv file, connects the utility to it as the
// control would (Connect, then LoadFromFile("")), and waits for the close
// event. Apply and OK write the client's configuration back to the file.

#include "platform/automation/Dispatch.h"
#include "platform/runtime/Error.h"
#include "platform/system/Events.h"
#include "platform/toolbar/ClientHost.h"

#include <QString>

#include <memory>
#include <optional>

class RYXMain;

class ProgramHost {
public:
    // An empty file name: an empty configuration that is written nowhere.
    explicit ProgramHost(const QString& file);
    ~ProgramHost();
    ProgramHost(const ProgramHost&) = delete;
    ProgramHost& operator=(const ProgramHost&) = delete;

    // Connects and shows the utility's windows.
    void start();
    // The utility has signalled its close event.
    bool finished() const;
    // Runs the event loop until finished(); the program's exit code.
    int run();

    toolbar::ClientHost& client() { return *m_client; }
    // Why the file could not be read (the utility reports it at load).
    const std::optional<rt::Error>& loadError() const { return m_loadError; }
    const QString& eventName() const { return m_eventName; }

private:
    QString m_file;
    std::unique_ptr<toolbar::ClientHost> m_client;
    std::optional<rt::Error> m_loadError;
    com::Object m_caller;
    std::shared_ptr<RYXMain> m_main;
    QString m_eventName;
    sys::HANDLE m_closeEvent = 0;
};
