#include "platform/toolbar/ClientHost.h"

#include "platform/forms/MsgBox.h"
#include "platform/runtime/Files.h"

#include <QDir>
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
    if (!boundFile.isEmpty()) {
        keepUnreadFile();
        SaveConfiguration(boundFile);
    }
}

void ClientControl::keepUnreadFile()
{
    // A file the control could not read is still the developer's, perhaps
    // to be mended by hand: it is moved aside, never written over.
    if (!boundFileUnread)
        return;
    if (QFileInfo(boundFile).isFile()) {
        QString kept;
        const QString file = QDir::toNativeSeparators(boundFile);
        if (!rt::keepDamagedFile(boundFile, kept))
            rt::raise(rt::errc::PathFileAccess, QStringLiteral("MqZentribar"),
                      QStringLiteral("The configuration file \"%1\" could not be read and "
                                     "could not be kept as \"%2\"; it was not overwritten.")
                          .arg(file, QDir::toNativeSeparators(kept)));
        forms::MsgBox(QStringLiteral("The configuration file \"%1\" could not be read. It was "
                                     "kept as \"%2\", and the new configuration is written "
                                     "to \"%1\".")
                          .arg(file, QDir::toNativeSeparators(kept)),
                      forms::vbInformation);
    }
    boundFileUnread = false;
}

ClientHost::ClientHost(const QString& boundFile) : m_control(std::make_shared<ClientControl>())
{
    m_control->boundFile = boundFile;
    m_control->UtilityExiting.connect([c = m_control.get()] { c->exited = true; });
    if (!boundFile.isEmpty() && QFileInfo::exists(boundFile))
        m_control->MqZentribar::LoadConfiguration(boundFile);
}

std::unique_ptr<ClientHost> ClientHost::unread(const QString& boundFile)
{
    auto host = std::make_unique<ClientHost>(QString());
    host->m_control->boundFile = boundFile;
    host->m_control->boundFileUnread = true;
    return host;
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
