#pragma once
// The stand-in for the developer's control on a form: a client toolbar
// control bound to a .qrv file. It starts with that file's configuration;
// when the utility hands it a configuration through LoadConfiguration (a
// NUL-padded 260-character name, "!KTWD!" after the first NUL on Apply) it
// loads that file, removes it, and writes the result back to its own file.
// It records what it was handed and whether the utility said it was exiting.
// A bound file it could not load is kept aside before it is first written.

#include "platform/toolbar/MqZentribar.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace toolbar {

class ClientControl final : public MqZentribar {
public:
    QString className() const override { return QStringLiteral("MqZentribar"); }
    void LoadConfiguration(const QString& file) override;

    QString boundFile;
    bool boundFileUnread = false;    // the first write keeps the file aside
    QStringList handed;              // every argument, exactly as passed
    bool exited = false;

private:
    void keepUnreadFile();
};

class ClientHost {
public:
    // Loads the bound file when it exists (raises when it cannot be read).
    explicit ClientHost(const QString& boundFile);
    // Bound to a file that could not be loaded: the control starts empty.
    static std::unique_ptr<ClientHost> unread(const QString& boundFile);

    const std::shared_ptr<ClientControl>& control() const { return m_control; }
    com::Object object() const { return com::Object(m_control); }
    const QString& boundFile() const { return m_control->boundFile; }

    // The arguments LoadConfiguration was handed, in order.
    const QStringList& handedArguments() const { return m_control->handed; }
    QString lastLoadArgument() const;
    // The last handed argument carried the "!KTWD!" marker after its first NUL.
    bool lastHadMarker() const;
    bool wasExited() const { return m_control->exited; }
    void setTestProgram(bool on) { m_control->setCallerIsVBTestPgm(on); }

private:
    std::shared_ptr<ClientControl> m_control;
};

}  // namespace toolbar
