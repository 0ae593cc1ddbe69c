// bw-register-help [--check] DIR: writes DIR as the default value of
// HKEY_CLASSES_ROOT\Quenbrix.Halvorbar.ActiveX\Version5\HelpFileDir in the
// registry store, where the utility looks for its help file (MQRYX.HLP) when
// it connects. --check prints the folder registered now and writes nothing.
#include "platform/system/Registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

const QString kKey = QStringLiteral("Quenbrix.Halvorbar.ActiveX\\Version5\\HelpFileDir");
const QString kHelpFile = QStringLiteral("MQRYX.HLP");

int fail(const QString& text)
{
    std::fprintf(stderr, "bw-register-help: %s\n", qPrintable(text));
    return 1;
}

int check()
{
    sys::HKEY key = 0;
    if (sys::RegOpenKeyExA(sys::HKEY_CLASSES_ROOT, kKey, 0, sys::KEY_READ, &key) != 0)
        return fail(QStringLiteral("no help folder is registered"));
    QByteArray data(4096, '\0');
    uint32_t size = uint32_t(data.size());
    uint32_t type = 0;
    const int32_t rc = sys::RegQueryValueExA(key, QString(), nullptr, &type, &data, &size);
    sys::RegCloseKey(key);
    if (rc != 0 || type != sys::REG_SZ)
        return fail(QStringLiteral("no help folder is registered"));
    std::printf("%s\n", QString::fromUtf8(data.left(qsizetype(size))).toUtf8().constData());
    return 0;
}

int registerFolder(const QString& dir)
{
    const QFileInfo folder(dir);
    if (!folder.isDir())
        return fail(QStringLiteral("%1 is not a folder").arg(dir));
    const QString path = folder.absoluteFilePath();
    if (!QFileInfo::exists(QDir(path).filePath(kHelpFile)))
        return fail(QStringLiteral("%1 holds no %2").arg(path, kHelpFile));

    sys::HKEY key = 0;
    uint32_t disposition = 0;
    if (sys::RegCreateKeyExA(sys::HKEY_CLASSES_ROOT, kKey, 0, QString(),
                             sys::REG_OPTION_NON_VOLATILE, sys::KEY_ALL_ACCESS, nullptr, &key,
                             &disposition) != 0)
        return fail(QStringLiteral("cannot create the registry key"));
    const QByteArray data = path.toUtf8();
    const int32_t rc =
        sys::RegSetValueExA(key, QString(), 0, sys::REG_SZ, data, uint32_t(data.size()));
    sys::RegCloseKey(key);
    if (rc != 0)
        return fail(QStringLiteral("cannot write the registry value (error %1)").arg(rc));
    std::printf("help folder registered: %s\n", qPrintable(path));
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    if (args == QStringList{QStringLiteral("--check")})
        return check();
    if (args.size() != 1 || args.first().startsWith(u'-')) {
        std::fputs("usage: bw-register-help DIR | --check\n", stderr);
        return 2;
    }
    return registerFolder(args.first());
}
