#include "barwright/picture/frmNonStdColor.h"

#include "barwright/connection/mGlobals.h"
#include "platform/forms/Screen.h"

#include <QApplication>
#include <QIcon>
#include <QStyle>

frmNonStdColor::frmNonStdColor()
{
    cmdOK.Click = [this] { cmdOK_Click(); };
    CmdNo.Click = [this] { CmdNo_Click(); };
}

void frmNonStdColor::Form_Design()
{
    setCaption(QStringLiteral("Non-Standard Image Color"));
    setScaleMode(forms::vbPixels);
    setDesignSize(420 * 15, 262 * 15);
    Image1.Move(12, 12, 32, 32);
    Image1.setBorderStyle(0);
    const QIcon icon = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    const QImage image = icon.pixmap(32, 32).toImage();
    if (!image.isNull())
        Image1.setPicture(forms::StdPicture::fromImage(image));
    Label1.Move(56, 12, 352, 32);
    Label1.setWordWrap(true);
    Label1.setCaption(QStringLiteral(
        "The image you have selected contains at least one color that is non-standard."));
    Label2.Move(56, 48, 352, 48);
    Label2.setWordWrap(true);
    Label2.setCaption(QStringLiteral(
        "The Configuration Utility can convert all non-standard colors in the image to the "
        "closest match in the 16 color palette. Would you like to convert to 16 colors?"));
    Label3.Move(56, 100, 352, 92);
    Label3.setWordWrap(true);
    Label3.setCaption(QStringLiteral(
        "Warning: Pressing 'No' indicates you wish to import the image in high color format. "
        "This could cause undesirable display of your images on machines that are not set to "
        "display high colors (eg 256/16 color modes). If you are not sure that the display "
        "adapters on the machines you distribute to can or will be set to at least 16 bit "
        "colors, then it is strongly recommended that you convert the image to 16 colors."));
    chDontShowMessage.Move(12, 200, 396, 20);
    chDontShowMessage.setCaption(
        QStringLiteral("&Don't show me this message again this session."));
    cmdOK.Move(232, 228, 84, 26);
    cmdOK.setCaption(QStringLiteral("Yes"));
    cmdOK.setDefault(true);
    CmdNo.Move(324, 228, 84, 26);
    CmdNo.setCaption(QStringLiteral("No"));
}

void frmNonStdColor::Form_Load()
{
    // The grab shows its finder; the question wants the ordinary pointer.
    m_savedPointer = forms::Screen::MousePointer();
    forms::Screen::setMousePointer(forms::vbDefault);
    QApplication::beep();
}

void frmNonStdColor::Form_Unload(int16_t& Cancel)
{
    (void)Cancel;
    mGlobals::gShowNonStdColorMsg = chDontShowMessage.Value() == forms::vbUnchecked;
    forms::Screen::setMousePointer(m_savedPointer);
}

void frmNonStdColor::cmdOK_Click()
{
    mGlobals::gConvertNonStd = true;
    Unload();
}

void frmNonStdColor::CmdNo_Click()
{
    mGlobals::gConvertNonStd = false;
    Unload();
}
