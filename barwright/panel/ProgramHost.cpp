#include "barwright/panel/ProgramHost.h"

#include "barwright/connection/RYXMain.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>

namespace {

// The client as the utility sees it when its file could not be read: it
// cannot hand over a configuration (the reason is the load error), and
// otherwise passes every member the utility uses on to the real client.
class UnreadableClient final : public com::Dispatch {
public:
    UnreadableClient(com::Object client, rt::Error error)
        : m_client(std::move(client)), m_error(std::move(error))
    {
        defineMethod(QStringLiteral("SaveConfigurationEx"), com::DispidUnknown,
                     [this](com::Args&) -> rt::Variant { throw m_error; });
        for (const char* method : {"LoadConfiguration", "SaveConfiguration",
                                   "LoadConfigurationEx", "ConfigUtilityExiting"}) {
            const QString name = QString::fromLatin1(method);
            defineMethod(name, com::DispidUnknown,
                         [this, name](com::Args& a) { return m_client.call(name, a); });
        }
        for (const char* property : {"Visible", "CallerIsVBTestPgm"}) {
            const QString name = QString::fromLatin1(property);
            defineProperty(
                name, com::DispidUnknown, [this, name](com::Args&) { return m_client.get(name); },
                [this, name](com::Args&, const rt::Variant& v) { m_client.let(name, v); });
        }
    }
    QString className() const override { return QStringLiteral("MqZentribar"); }

private:
    com::Object m_client;
    rt::Error m_error;
};

}  // namespace

ProgramHost::ProgramHost(const QString& file) : m_file(file)
{
    try {
        if (!file.isEmpty() && !QFileInfo::exists(file))
            rt::raise(rt::errc::FileNotFound, QStringLiteral("barwright"),
                      QStringLiteral("The configuration file \"%1\" was not found.").arg(file));
        m_client = std::make_unique<toolbar::ClientHost>(file);
        m_caller = m_client->object();
    } catch (const rt::Error& e) {
        // Start empty, still bound to the file: it is written only when the
        // developer applies a configuration, and kept aside first.
        m_loadError = e;
        m_client = toolbar::ClientHost::unread(file);
        m_caller = com::Object(std::make_shared<UnreadableClient>(m_client->object(), e));
    }
}

ProgramHost::~ProgramHost()
{
    if (m_closeEvent != 0)
        sys::CloseHandle(m_closeEvent);
}

void ProgramHost::start()
{
    m_main = RYXMain::create();
    rt::Variant caller = m_caller.toVariant();
    m_main->Connect(caller, m_eventName);
    if (!m_eventName.isEmpty())
        m_closeEvent = sys::OpenEventA(sys::SYNCHRONIZE, false, m_eventName);
    m_main->LoadFromFile(QString());
}

bool ProgramHost::finished() const
{
    if (m_closeEvent == 0)
        return !m_main || !m_main->CheckStatus();
    return sys::WaitForSingleObject(m_closeEvent, 0) == sys::WAIT_OBJECT_0;
}

int ProgramHost::run()
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (finished())
            loop.quit();
    });
    poll.start(50);
    if (!finished())
        loop.exec();
    return 0;
}
