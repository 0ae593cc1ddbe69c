#include "platform/toolbar/ClientHost.h"

#include <QFile>
#include <QFileInfo>

namespace toolbar {

namespace {
const QString kMarker = QStringLiteral("!KTWD!");
}

void ClientControl::LoadConfiguration(const QString& file)
{
    handed.append(file);
    // The file is the utility's hand-over copy, of no use once loaded or
    // refused: it goes either way, so that the temporary folder does not
    // fill up with them.
    struct RemoveWhenDone {
        QString path;
        ~RemoveWhenDone() { QFile::remove(path); }
    } handover{fileNameOfArgument(file)};
    MqZentribar::LoadConfiguration(file);
    if (!boundFile.isEmpty())
        SaveConfiguration(boundFile);
}

ClientHost::ClientHost(const QString& boundFile) : m_control(std::make_shared<ClientControl>())
{
    m_control->boundFile = boundFile;
    m_control->UtilityExiting.connect([c = m_control.get()] { c->exited = true; });
    if (!boundFile.isEmpty() && QFileInfo::exists(boundFile))
        m_control->MqZentribar::LoadConfiguration(boundFile);
}

QString ClientHost::lastLoadArgument() const
{
    return m_control->handed.isEmpty() ? QString() : m_control->handed.last();
}

bool ClientHost::lastHadMarker() const
{
    const QString arg = lastLoadArgument();
    const qsizetype nul = arg.indexOf(QChar(0));
    return nul >= 0 && arg.mid(nul + 1, kMarker.size() + 1) == kMarker + QChar(0);
}

}  // namespace toolbar
