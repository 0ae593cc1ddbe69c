// A second process for the system and connection tests:
//   wait-event <name> <ms>           open the named event, say "opened", wait
//   hold-event <name> <0|1>          create or open it, signal it when 1, say
//                                    "held" and wait to be killed
//   reg-get <HKCU sub-key> <value>   print the value's text (exit 2 when missing)
//   reg-set <HKCU sub-key> <value> <text>
//   reg-fill <HKCU sub-key> <prefix> <count>
//                                    as <count> programs one after another: each
//                                    loads the store, finds the value the one
//                                    before saved (exit 3 when it is gone) and
//                                    saves <prefix><n>
#include "platform/system/Events.h"
#include "platform/system/Registry.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

#include <unistd.h>

namespace {

int waitEvent(const QString& name, uint32_t ms)
{
    const sys::HANDLE h = sys::OpenEventA(sys::SYNCHRONIZE, false, name);
    if (h == 0) {
        std::puts("missing");
        return 2;
    }
    std::puts("opened");
    std::fflush(stdout);
    const uint32_t rc = sys::WaitForSingleObject(h, ms);
    sys::CloseHandle(h);
    std::puts(rc == sys::WAIT_OBJECT_0 ? "signalled" : "timeout");
    return rc == sys::WAIT_OBJECT_0 ? 0 : 1;
}

int holdEvent(const QString& name, bool signal)
{
    const sys::HANDLE h = sys::CreateEventA(nullptr, true, false, name);
    if (h == 0 || (signal && !sys::SetEvent(h)))
        return 2;
    std::puts("held");
    std::fflush(stdout);
    for (;;)
        ::pause();
}

int regGet(const QString& path, const QString& value)
{
    sys::HKEY h = 0;
    if (sys::RegOpenKeyExA(sys::HKEY_CURRENT_USER, path, 0, sys::KEY_READ, &h) != 0)
        return 2;
    QByteArray data;
    uint32_t size = 4096;
    const int32_t rc = sys::RegQueryValueExA(h, value, nullptr, nullptr, &data, &size);
    sys::RegCloseKey(h);
    if (rc != 0)
        return 2;
    std::printf("%s\n", data.constData());
    return 0;
}

int regSet(const QString& path, const QString& value, const QString& text)
{
    sys::HKEY h = 0;
    if (sys::RegCreateKeyExA(sys::HKEY_CURRENT_USER, path, 0, {}, 0, sys::KEY_ALL_ACCESS,
                             nullptr, &h, nullptr) != 0)
        return 2;
    const QByteArray data = text.toUtf8();
    const int32_t rc = sys::RegSetValueExA(h, value, 0, sys::REG_SZ, data, uint32_t(data.size()));
    sys::RegCloseKey(h);
    return rc == 0 ? 0 : 2;
}

int regFill(const QString& path, const QString& prefix, int count)
{
    for (int n = 0; n < count; ++n) {
        sys::testing::reloadRegistry();
        const QString before = prefix + QString::number(n - 1);
        if (n > 0 && regGet(path, before) != 0)
            return 3;
        if (regSet(path, prefix + QString::number(n), QString::number(n)) != 0)
            return 2;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList a = app.arguments();
    if (a.size() == 4 && a[1] == QLatin1String("wait-event"))
        return waitEvent(a[2], a[3].toUInt());
    if (a.size() == 4 && a[1] == QLatin1String("hold-event"))
        return holdEvent(a[2], a[3] == QLatin1String("1"));
    if (a.size() == 4 && a[1] == QLatin1String("reg-get"))
        return regGet(a[2], a[3]);
    if (a.size() == 5 && a[1] == QLatin1String("reg-set"))
        return regSet(a[2], a[3], a[4]);
    if (a.size() == 5 && a[1] == QLatin1String("reg-fill"))
        return regFill(a[2], a[3], a[4].toInt());
    std::fputs("usage: bw_system_probe wait-event|hold-event|reg-get|reg-set|reg-fill ...\n",
               stderr);
    return 64;
}
