#include "platform/system/ProgramSettings.h"

#include "platform/runtime/Error.h"
#include "platform/system/Registry.h"

namespace sys {

namespace {

const QString kRoot = QStringLiteral("Software\\VB and VBA Program Settings");

QString keyPath(const QString& app, const QString& section)
{
    QString path = kRoot + QLatin1Char('\\') + app;
    if (!section.isEmpty())
        path += QLatin1Char('\\') + section;
    return path;
}

// A name holding a backslash would reach into another key.
void checkName(const QString& name)
{
    if (name.isEmpty() || name.contains(QLatin1Char('\\')))
        rt::raise(rt::errc::InvalidCall);
}

// Deletes `key` and everything below it.
int32_t deleteTree(HKEY parent, const QString& name)
{
    HKEY h = 0;
    int32_t rc = RegOpenKeyExA(parent, name, 0, KEY_ALL_ACCESS, &h);
    if (rc != ERROR_SUCCESS)
        return rc;
    for (;;) {
        QString sub;
        uint32_t len = 256;
        if (RegEnumKeyExA(h, 0, &sub, &len, nullptr, nullptr, nullptr, nullptr)
            != ERROR_SUCCESS)
            break;
        rc = deleteTree(h, sub);
        if (rc != ERROR_SUCCESS)
            break;
    }
    RegCloseKey(h);
    return rc == ERROR_SUCCESS ? RegDeleteKeyA(parent, name) : rc;
}

}  // namespace

QString GetSetting(const QString& appName, const QString& section, const QString& key,
                   const QString& defaultValue)
{
    HKEY h = 0;
    if (appName.isEmpty() || section.isEmpty()
        || RegOpenKeyExA(HKEY_CURRENT_USER, keyPath(appName, section), 0, KEY_READ, &h)
               != ERROR_SUCCESS)
        return defaultValue;
    QByteArray data;
    uint32_t size = 0;
    uint32_t type = 0;
    int32_t rc = RegQueryValueExA(h, key, nullptr, &type, nullptr, &size);
    if (rc == ERROR_SUCCESS)
        rc = RegQueryValueExA(h, key, nullptr, &type, &data, &size);
    RegCloseKey(h);
    if (rc != ERROR_SUCCESS || type != REG_SZ)
        return defaultValue;
    const qsizetype nul = data.indexOf('\0');
    return QString::fromUtf8(nul < 0 ? data : data.left(nul));
}

void SaveSetting(const QString& appName, const QString& section, const QString& key,
                 const QString& value)
{
    checkName(appName);
    checkName(section);
    if (key.isEmpty())
        rt::raise(rt::errc::InvalidCall);
    HKEY h = 0;
    int32_t rc = RegCreateKeyExA(HKEY_CURRENT_USER, keyPath(appName, section), 0, {}, 0,
                                 KEY_ALL_ACCESS, nullptr, &h, nullptr);
    if (rc == ERROR_SUCCESS) {
        const QByteArray data = value.toUtf8();
        rc = RegSetValueExA(h, key, 0, REG_SZ, data, uint32_t(data.size()));
        RegCloseKey(h);
    }
    if (rc != ERROR_SUCCESS)
        rt::raise(rt::errc::InvalidCall, {},
                  QStringLiteral("The setting could not be saved (error %1).").arg(rc));
}

void DeleteSetting(const QString& appName, const QString& section, const QString& key)
{
    checkName(appName);
    int32_t rc = ERROR_SUCCESS;
    if (section.isEmpty()) {
        if (!key.isEmpty())
            rt::raise(rt::errc::InvalidCall);
        HKEY root = 0;
        rc = RegOpenKeyExA(HKEY_CURRENT_USER, kRoot, 0, KEY_ALL_ACCESS, &root);
        if (rc == ERROR_SUCCESS) {
            rc = deleteTree(root, appName);
            RegCloseKey(root);
        }
    } else if (key.isEmpty()) {
        checkName(section);
        HKEY app = 0;
        rc = RegOpenKeyExA(HKEY_CURRENT_USER, keyPath(appName, {}), 0, KEY_ALL_ACCESS, &app);
        if (rc == ERROR_SUCCESS) {
            rc = deleteTree(app, section);
            RegCloseKey(app);
        }
    } else {
        checkName(section);
        HKEY h = 0;
        rc = RegOpenKeyExA(HKEY_CURRENT_USER, keyPath(appName, section), 0, KEY_ALL_ACCESS,
                           &h);
        if (rc == ERROR_SUCCESS) {
            rc = RegDeleteValueA(h, key);
            RegCloseKey(h);
        }
    }
    if (rc != ERROR_SUCCESS)
        rt::raise(rt::errc::InvalidCall);
}

}  // namespace sys
