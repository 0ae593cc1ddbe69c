// barwright FILE.qrv: the configuration utility on a toolbar configuration
// file, with the file standing in for the developer's control.
#include "barwright/panel/ProgramHost.h"
#include "platform/forms/App.h"

#include <QApplication>
#include <QCommandLineParser>

#include <cstdio>

namespace {

const char* const kUsage =
    "Usage: barwright [FILE.qrv]\n"
    "Configures the toolbars and tools of a toolbar configuration file (.qrv).\n"
    "The file plays the developer's toolbar control: Apply and OK write the\n"
    "configuration back into FILE; Cancel without saving leaves it untouched.\n"
    "Without FILE an empty configuration opens and nothing is written.\n";

}  // namespace

int main(int argc, char** argv)
{
    // Answered before the GUI starts, so --help works without a display.
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg == "--help" || arg == "-h" || arg == "-?") {
            std::fputs(kUsage, stdout);
            return 0;
        }
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("barwright"));
    QApplication::setQuitOnLastWindowClosed(false);   // the close event ends the run

    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The configuration file (.qrv) to edit."),
                                 QStringLiteral("[FILE.qrv]"));
    parser.process(app);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        std::fputs("barwright: one configuration file at most; see --help\n", stderr);
        return 2;
    }

    forms::App::setTitle(QStringLiteral("Halvorbar Configuration Utility"));
    ProgramHost host(files.isEmpty() ? QString() : files.first());
    host.start();
    return host.run();
}
