// Pellumar: converts a toolset and its bitmap strip into a toolbar
// configuration file. The program ends when the wizard window closes.
#include "pellumar/wizard/frmWizard.h"
#include "platform/forms/App.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    forms::App::setTitle(QStringLiteral("Pellumar"));
    frmWizard& wizard = frmWizard::get();
    wizard.Show();
    QObject::connect(&app, &QApplication::lastWindowClosed, &app, &QApplication::quit);
    const int rc = wizard.isLoaded() ? app.exec() : 0;
    for (forms::Form* f : forms::Form::loadedForms())
        f->Unload();
    return rc;
}
