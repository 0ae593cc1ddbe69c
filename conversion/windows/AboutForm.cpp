#include "conversion/windows/AboutForm.h"

#include "conversion/windows/Centre.h"
#include "platform/forms/App.h"

AboutForm::AboutForm()
{
    Command1.Click = [this] { Unload(); };
}

void AboutForm::Form_Design()
{
    setCaption(QStringLiteral("   About VB Control Conversion"));
    setDesignSize(5400, 2700);
    AboutLabel.setWordWrap(true);
    AboutLabel.Move(240, 240, 4920, 900);
    BuildLabel.Move(240, 1260, 4920, 255);
    Command1.setCaption(QStringLiteral("OK"));
    Command1.setDefault(true);
    Command1.setCancel(true);
    Command1.Move(2070, 2040, 1260, 375);
}

void AboutForm::Form_Load()
{
    CentreOnScreen(*this);
    AboutLabel.setCaption(QStringLiteral(
        "A utility to convert Visual Basic Projects containing older Quenbrix controls "
        "into projects containing the newer Quenbrix controls."));
    BuildLabel.setCaption(QStringLiteral("Version %1.%2")
                              .arg(forms::App::Major())
                              .arg(forms::App::Minor(), 2, 10, QChar(u'0')));
}
