// The conversion program: rewrites the control references of Visual Basic
// projects from older libraries of the maker to the newer ones.
#include "conversion/windows/MainForm.h"
#include "platform/forms/App.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    forms::App::setTitle(QStringLiteral("Conversion"));
    forms::instance<MainForm>().Show();
    return app.exec();
}
