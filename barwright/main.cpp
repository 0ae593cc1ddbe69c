// barwright FILE.qrv: the configuration utility on a toolbar configuration
// file, with the file standing in for the developer's control.
#include "barwright/panel/ProgramHost.h"
#include "platform/forms/App.h"
#include "platform/forms/CommandLine.h"
#include "platform/system/TempFiles.h"

#include <QApplication>

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
    const forms::CommandLine line = forms::readCommandLine(argc, argv, kUsage, 1);
    if (line.exitStatus >= 0)
        return line.exitStatus;
    // Hand-over files of a Barwright that was killed before it removed them.
    sys::RemoveDeadTempFiles(QStringLiteral("~MQ"));
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("barwright"));
    QApplication::setQuitOnLastWindowClosed(false);   // the close event ends the run

    forms::App::setTitle(QStringLiteral("Halvorbar Configuration Utility"));
    ProgramHost host(line.files.isEmpty() ? QString() : line.files.first());
    host.start();
    return host.run();
}
