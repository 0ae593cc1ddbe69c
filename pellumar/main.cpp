// Pellumar: converts a toolset and its bitmap strip into a toolbar
// configuration file. The program ends when its last window unloads.
#include "pellumar/wizard/frmWizard.h"
#include "platform/forms/App.h"
#include "platform/forms/CommandLine.h"
#include "platform/system/TempFiles.h"

#include <QApplication>

namespace {

const char* const kUsage =
    "Usage: pellumar\n"
    "A wizard that turns a Kelvory toolset (a .bm$ profile file and its bitmap\n"
    "strip) into a toolbar configuration file (.qrv).\n"
    "It takes no arguments: the wizard asks for the toolset and the file to write.\n";

}  // namespace

int main(int argc, char* argv[])
{
    const forms::CommandLine line = forms::readCommandLine(argc, argv, kUsage, 0);
    if (line.exitStatus >= 0)
        return line.exitStatus;
    // Hand-over files of a Barwright that was killed before it removed them.
    sys::RemoveDeadTempFiles(QStringLiteral("~MQ"));
    QApplication app(argc, argv);
    forms::App::setTitle(QStringLiteral("Pellumar"));
    frmWizard::get().Show();
    const int status = forms::App::run();
    for (forms::Form* f : forms::Form::loadedForms())
        f->Unload();
    return status;
}
