#include "pellumar/wizard/modWizard.h"

#include "platform/forms/App.h"
#include "platform/system/Profile.h"

#include <QDir>

namespace modWizard {

namespace {
QString g_settingsFile;
const QString kSection = QStringLiteral("Settings");
const QString kKey = QStringLiteral("ToolsetDirectory");
}  // namespace

int32_t InStrLast(const QString& text, const QString& part)
{
    if (part.isEmpty())
        return -1;
    const qsizetype at = text.lastIndexOf(part, -1, Qt::CaseSensitive);
    return at < 0 ? -1 : int32_t(at + 1);
}

QString SettingsFile()
{
    if (!g_settingsFile.isEmpty())
        return g_settingsFile;
    return QDir(forms::App::Path()).filePath(QStringLiteral("Pellumar.ini"));
}

void setSettingsFile(const QString& path)
{
    g_settingsFile = path;
}

QString ReadToolsetDirectory()
{
    QString buffer;
    const uint32_t n =
        sys::GetPrivateProfileStringA(kSection, kKey, QString(), buffer, 256, SettingsFile());
    return n > 0 ? buffer.left(n) : QString();
}

void SaveToolsetDirectory(const QString& folder)
{
    sys::WritePrivateProfileStringA(kSection, kKey, folder, SettingsFile());
}

}  // namespace modWizard
