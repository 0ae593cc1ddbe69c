#include "platform/forms/CommandLine.h"

#include <QFileInfo>
#include <QSet>

#include <cstdio>

namespace forms {

namespace {
// Qt's application options that take a value, and those that take none.
const QSet<QByteArray>& qtValueOptions()
{
    static const QSet<QByteArray> names{"-platform", "-platformpluginpath", "-platformtheme",
                                        "-plugin", "-display", "-style", "-stylesheet",
                                        "-geometry", "-qwindowgeometry", "-qwindowtitle",
                                        "-qwindowicon", "-session", "-name", "-title"};
    return names;
}

const QSet<QByteArray>& qtFlagOptions()
{
    static const QSet<QByteArray> names{"-reverse", "-sync", "-nograb", "-dograb",
                                        "-widgetcount"};
    return names;
}
}  // namespace

CommandLine readCommandLine(int argc, char** argv, const char* usage, int maxFiles)
{
    CommandLine out;
    const QByteArray program =
        QFileInfo(QString::fromLocal8Bit(argc > 0 ? argv[0] : "")).fileName().toLocal8Bit();
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (!optionsEnded && (arg == "--help" || arg == "-h" || arg == "-?")) {
            std::fputs(usage, stdout);
            out.exitStatus = 0;
            return out;
        }
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (!optionsEnded && arg.startsWith('-') && arg.size() > 1) {
            const qsizetype eq = arg.indexOf('=');
            const QByteArray name = eq < 0 ? arg : arg.left(eq);
            if (qtValueOptions().contains(name) && eq < 0 && i + 1 < argc) {
                ++i;
                continue;
            }
            if (qtValueOptions().contains(name) || qtFlagOptions().contains(arg))
                continue;
            std::fprintf(stderr, "%s: unknown option '%s'; see --help\n", program.constData(),
                         arg.constData());
            out.exitStatus = 2;
            return out;
        }
        out.files << QString::fromLocal8Bit(arg);
    }
    if (out.files.size() > maxFiles) {
        std::fprintf(stderr, "%s: unexpected argument '%s'; see --help\n", program.constData(),
                     out.files.at(maxFiles).toLocal8Bit().constData());
        out.exitStatus = 2;
    }
    return out;
}

}  // namespace forms
