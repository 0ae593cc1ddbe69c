#include "barwright/picture/frmImportImageOption.h"

#include "barwright/picture/mDrawParams.h"
#include "platform/runtime/Conversions.h"

#include <QApplication>

using namespace mDrawParams;

namespace {
constexpr int32_t SysButtonFace = int32_t(0x80000000u | gdi::COLOR_BTNFACE);
}

frmImportImageOption::frmImportImageOption()
{
    opClipCentered.Click = [this] { opClipCentered_Click(); };
    opClipLeftTop.Click = [this] { opClipLeftTop_Click(); };
    opShrink.Click = [this] { opShrink_Click(); };
    opEnlargeBitmap.Click = [this] { opEnlargeBitmap_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCxl.Click = [this] { cmdCxl_Click(); };
}

void frmImportImageOption::Form_Design()
{
    setCaption(QStringLiteral("Select Image Import Option"));
    setScaleMode(forms::vbPixels);
    setDesignSize(360 * 15, 340 * 15);
    // The tool's size sits between the caption and the imported size in both
    // layouts (Form_Load narrows the caption, which then takes two lines, and
    // moves the imported size left).
    Label1.Move(8, 10, 136, 28);
    Label1.setCaption(QStringLiteral("The current tool image size is:"));
    lbImageSize.Move(148, 10, 54, 16);
    lbImportImageSize.Move(210, 10, 90, 16);
    Label2.Move(8, 40, 200, 16);
    Label2.setCaption(QStringLiteral("What do you want to do?"));
    // Two lines each: a caption that does not fit the width wraps.
    opClipCentered.Move(24, 62, 320, 30);
    opClipLeftTop.Move(24, 94, 320, 30);
    opShrink.Move(24, 129, 320, 30);
    opEnlargeBitmap.Move(24, 163, 320, 30);
    opEnlargeBitmap.setCaption(
        QStringLiteral("&Enlarge drawing canvas to accomodate selected image"));
    frPicPreviewHolder.Move(8, 200, 240, 130);
    picPreview.Move(150, 300, 390, 390);   // twips, inside the frame
    picPreview.setBorderStyle(0);           // it draws its own frame around the margin
    picPreview.setAutoRedraw(true);         // drawn by the options, kept over repaints
    picWork.setBorderStyle(0);
    picWork.Move(0, 0, 16, 16);
    picWork.setVisible(false);
    picWork.setAutoSize(true);
    cmdOK.Move(264, 210, 84, 26);
    cmdOK.setCaption(QStringLiteral("OK"));
    cmdOK.setDefault(true);
    cmdCxl.Move(264, 244, 84, 26);
    cmdCxl.setCaption(QStringLiteral("Cancel"));
    cmdCxl.setCancel(true);
}

void frmImportImageOption::Form_Load()
{
    bCanceled = true;
    bClip = false;
    bClipCentered = false;
    lResizeSize = 0;
    // The form object outlives its window; each question activates anew.
    m_activated = false;
    m_targetWidth = gPicWidth;
    m_targetHeight = gPicHeight;
    SetPicPreviewSizeAndPosition();
    QApplication::beep();
    if (FontName() != u"MS Sans Serif") {
        Label1.setWidth(138);
        lbImportImageSize.setLeft(206);
        for (forms::OptionButton* op : {&opClipCentered, &opClipLeftTop, &opShrink,
                                        &opEnlargeBitmap}) {
            op->setLeft(65);
            op->setWidth(270);
        }
        opShrink.setHeight(opClipLeftTop.Height());
        opShrink.setTop(opClipLeftTop.Top() + opClipLeftTop.Height() + 5);
    }
}

void frmImportImageOption::Form_Activate()
{
    if (m_activated)
        return;
    m_activated = true;
    lbImportImageSize.setCaption(QString::number(pictureWidth()) + u'x' +
                                 QString::number(pictureHeight()));
    const QString s = QString::number(gPicWidth) + u'x' + QString::number(gPicHeight);
    lbImageSize.setCaption(s);
    opClipCentered.setCaption(
        QStringLiteral("&Clip %1 section from center of selected image").arg(s));
    opClipLeftTop.setCaption(
        QStringLiteral("&Clip %1 section from selected image starting at the top/left corner")
            .arg(s));
    opShrink.setCaption(QStringLiteral("&Shrink the selected image to %1").arg(s));
    opEnlargeBitmap.setEnabled(pictureWidth() <= 32 && pictureHeight() <= 32);
    opClipCentered.setValue(true);
}

void frmImportImageOption::opClipCentered_Click()
{
    m_targetWidth = gPicWidth;
    m_targetHeight = gPicHeight;
    SetPicPreviewSizeAndPosition();
}

void frmImportImageOption::opClipLeftTop_Click()
{
    opClipCentered_Click();
}

void frmImportImageOption::opShrink_Click()
{
    opClipCentered_Click();
}

void frmImportImageOption::opEnlargeBitmap_Click()
{
    const int32_t side = pictureWidth() >= gPicWidth ? pictureWidth() : pictureHeight();
    m_targetWidth = side;
    m_targetHeight = side;
    SetPicPreviewSizeAndPosition();
}

void frmImportImageOption::cmdOK_Click()
{
    bCanceled = false;
    if (opClipCentered.Value() || opClipLeftTop.Value()) {
        bClip = true;
        bClipCentered = opClipCentered.Value();
    } else {
        bClip = false;
        if (opEnlargeBitmap.Value())
            lResizeSize = m_targetWidth;
    }
    Hide();
}

void frmImportImageOption::cmdCxl_Click()
{
    bCanceled = true;
    Hide();
}

void frmImportImageOption::SetPicPreviewSizeAndPosition()
{
    // A frame places its children in twips, whatever the form's scale.
    constexpr float twips = 15;
    const float w = float(m_targetWidth + 10) * twips;
    const float h = float(m_targetHeight + 10) * twips;
    const float left = (frPicPreviewHolder.Width() * twips - w) / 2;
    const float top = (frPicPreviewHolder.Height() * twips - h) / 2 + 4 * twips;
    if (picPreview.Left() != left || picPreview.Top() != top || picPreview.Width() != w ||
        picPreview.Height() != h)
        picPreview.Move(left, top, w, h);
    DrawPreview();
}

void frmImportImageOption::DrawPreview()
{
    picPreview.setBackColor(SysButtonFace);
    const gdi::HDC dst = picPreview.hDC();
    const gdi::HDC src = picWork.hDC();
    const int32_t pw = pictureWidth();
    const int32_t ph = pictureHeight();
    const int32_t W = gPicWidth;
    const int32_t H = gPicHeight;
    if (opClipCentered.Value()) {
        gdi::BitBlt(dst, 5, 5, W, H, src, rt::CLng((pw - W) / 2.0), rt::CLng((ph - H) / 2.0),
                    gdi::SRCCOPY);
    } else if (opClipLeftTop.Value()) {
        gdi::BitBlt(dst, 5, 5, W, H, src, 0, 0, gdi::SRCCOPY);
    } else if (opShrink.Value()) {
        gdi::StretchBlt(dst, 5, 5, W, H, src, 0, 0, pw, ph, gdi::SRCCOPY);
    } else if (opEnlargeBitmap.Value()) {
        gdi::BitBlt(dst, 5, 5, m_targetWidth, m_targetHeight, src, 0, 0, gdi::SRCCOPY);
    }
    const gdi::COLORREF face = PaletteColor(int32_t(gdi::GetSysColor(gdi::COLOR_BTNFACE)));
    for (int32_t x = 0; x < m_targetWidth; ++x) {
        for (int32_t y = 0; y < m_targetHeight; ++y) {
            if (int32_t(gdi::GetPixel(dst, x + 5, y + 5)) == gMaskColor)
                gdi::SetPixelV(dst, x + 5, y + 5, face);
        }
    }
    Draw3DBorder(picPreview, false);
    picPreview.Refresh();
}

int32_t frmImportImageOption::pictureWidth()
{
    const forms::Picture p = picWork.picture();
    return p ? p->widthPixels() : 0;
}

int32_t frmImportImageOption::pictureHeight()
{
    const forms::Picture p = picWork.picture();
    return p ? p->heightPixels() : 0;
}
