// The Pictures tab's controls: their design, event wiring, the sizing and
// centring of the canvas and previews, the transparent pattern of the colour
// swatches and the picture of the change-colour button.
#include "barwright/editors/frmTool.h"

#include "barwright/picture/CDraw.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Conversions.h"
#include "platform/toolbar/Tool.h"

#include <QPainter>

using namespace mDrawParams;

namespace {

constexpr int32_t kButtonFace = int32_t(0x8000000F);
constexpr int32_t kWhite = 0xFFFFFF;

float tpx()
{
    return forms::Screen::TwipsPerPixelX();
}

float tpy()
{
    return forms::Screen::TwipsPerPixelY();
}

// The change-colour button's picture: a left and a right colour square with
// an arrow between them (42 x 12).
forms::Picture changeColorButtonBase()
{
    QImage image(42, 12, QImage::Format_RGB32);
    image.fill(QColor(gdi::GetRValue(gdi::GetSysColor(15)), gdi::GetGValue(gdi::GetSysColor(15)),
                      gdi::GetBValue(gdi::GetSysColor(15))));
    QPainter p(&image);
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    p.drawRect(0, 0, 11, 11);
    p.drawRect(30, 0, 11, 11);
    p.drawLine(14, 6, 26, 6);
    p.setBrush(Qt::black);
    QPolygon head;
    head << QPoint(27, 6) << QPoint(23, 2) << QPoint(23, 10);
    p.drawPolygon(head);
    p.end();
    return forms::StdPicture::fromImage(image);
}

}  // namespace

void frmTool::DesignPicturesTab()
{
    // Twips inside frPicturesTab (7500 x 5220): the command palette across
    // the top, the state tabs with the canvas on the left, the tools, colours,
    // previews and file buttons on the right.
    tbarMisc.Move(0, 0, 7500, 450);
    tabPics.Move(60, 480, 5040, 4680);
    tabPics.setTabs(4);
    tabPics.setTabCaption(0, QStringLiteral("&Normal"));
    tabPics.setTabCaption(1, QStringLiteral("P&ressed"));
    tabPics.setTabCaption(2, QStringLiteral("Di&sabled"));
    tabPics.setTabCaption(3, QStringLiteral("Dis&abled-Pressed"));
    // The canvas area below the tab captions. Its 3-D border leaves whole
    // cells and the closing grid line inside (SetCanvasSize).
    picCanvas.Move(300, 900, 3840, 3840);
    picCanvas.setBorderStyle(1);
    picCanvas.setAutoRedraw(true);
    picPreview.setAutoRedraw(true);
    lineMarker.Y1 = tabPics.Height() + 420;

    const float x = 5190;
    tbarTools.Move(x, 480, 2310, 840);

    for (int i = 0; i < 16; ++i) {
        lbPalette(i).Move(x + float(i % 8) * 255, 1410 + float(i / 8) * 255, 240, 240);
        lbPalette(i).setToolTipText(
            QStringLiteral("Left click: forecolor, right click: backcolor"));
    }
    lbPalette(16).Move(x + 8 * 255, 1410, 240, 240);
    lbPalette(16).setBackColor(kWhite);
    lbPalette(16).setToolTipText(QStringLiteral("Custom color"));
    cmdGetCustomColor.setCaption(QStringLiteral("..."));
    cmdGetCustomColor.setToolTipText(QStringLiteral("Choose Custom Color"));
    cmdGetCustomColor.Move(x + 8 * 255, 1665, 255, 255);

    picForecolorPreview.Move(x, 2040, 300, 390);
    picForecolorPreview.setToolTipText(QStringLiteral("Forecolor"));
    picBackcolorPreview.Move(x + 330, 2040, 300, 390);
    picBackcolorPreview.setToolTipText(QStringLiteral("Backcolor"));
    picMaskColor.Move(x + 660, 2040, 300, 390);
    picMaskColor.setToolTipText(QStringLiteral("Transparent color"));
    cmdChangeColor.setCaption(QStringLiteral("C&hange"));
    cmdChangeColor.setToolTipText(QStringLiteral("Change forecolor pixels to backcolor"));
    cmdChangeColor.Move(x + 1020, 2025, 1290, 420);

    picPreviewHolder.Move(x, 2580, 1200, 1200);
    picPreviewHolder.setBackColor(kButtonFace);
    picPreview.setBorderStyle(0);   // it draws its own frame around the margin
    picPreview.setToolTipText(QStringLiteral("Image Preview (Actual Size)"));
    for (int i = 0; i < 4; ++i) {
        picActual(i).setBorderStyle(0);
        picActual(i).setAutoRedraw(true);
        picActual(i).Move(x + 1290 + float(i % 2) * 540, 2640 + float(i / 2) * 570);
    }

    lbImageSize.setCaption(QStringLiteral("Image Si&ze:"));
    lbImageSize.Move(x, 3975, 1020, 255);
    coImageSize.Move(x + 1050, 3930, 1260, 315);
    cmdImage.setCaption(QStringLiteral("I&mage..."));
    cmdImage.setToolTipText(QStringLiteral("Import/Export Image From/To a File"));
    cmdImage.Move(x, 4440, 1095, 375);
    cmdGrabImage.setCaption(QStringLiteral("Gra&b..."));
    cmdGrabImage.setToolTipText(QStringLiteral("Grab Image From Desktop"));
    cmdGrabImage.Move(x + 1215, 4440, 1095, 375);
    if (FontName() != QStringLiteral("MS Sans Serif")) {
        cmdImage.setWidth(std::max(960.f, cmdImage.Width()));
        cmdGrabImage.setWidth(std::max(960.f, cmdGrabImage.Width()));
    }

    picWork.setVisible(false);
    picWork.setBorderStyle(0);
    picWork.setAutoSize(true);
    mnuImage.setCaption(QStringLiteral("Image"));
    mnuImage.setVisible(false);
    mnuImport.setCaption(QStringLiteral("&Import Image From File..."));
    mnuExport.setCaption(QStringLiteral("&Export Image To File..."));
    Timer1.setEnabled(false);
    Timer1.setInterval(50);
    timerCoverup.setEnabled(false);
    setKeyPreview(true);
}

void frmTool::WirePicturesTab()
{
    tabPics.Click = [this](int16_t) { tabPics_Click(); };
    picCanvas.MouseDown = [this](int16_t b, int16_t s, float x, float y) {
        picCanvas_MouseDown(b, s, x, y);
    };
    picCanvas.MouseMove = [this](int16_t b, int16_t s, float x, float y) {
        picCanvas_MouseMove(b, s, x, y);
    };
    picCanvas.MouseUp = [this](int16_t b, int16_t s, float x, float y) {
        picCanvas_MouseUp(b, s, x, y);
    };
    picPreview.MouseDown = [this](int16_t b, int16_t, float, float) { picPreview_MouseDown(b); };
    for (int16_t i = 0; i < lbPalette.Count(); ++i)
        lbPalette(i).MouseDown = [this, i](int16_t b, int16_t, float, float) {
            lbPalette_MouseDown(i, b);
        };
    picMaskColor.MouseDown = [this](int16_t b, int16_t, float, float) {
        picMaskColor_MouseDown(b);
    };
    picMaskColor.Paint = [this] { FillTransparentPattern(picMaskColor, gdi::RECT{}); };
    picForecolorPreview.Paint = [this] { PaintSwatchIfMask(picForecolorPreview); };
    picBackcolorPreview.Paint = [this] { PaintSwatchIfMask(picBackcolorPreview); };
    picForecolorPreview.Click = [this] {
        ShowColorDialog(gForeColor, [this](int32_t c) {
            gForeColor = c;
            UpdateSwatch(picForecolorPreview, c);
        });
    };
    picBackcolorPreview.Click = [this] {
        ShowColorDialog(gBackColor, [this](int32_t c) {
            gBackColor = c;
            UpdateSwatch(picBackcolorPreview, c);
        });
    };
    cmdGetCustomColor.Click = [this] { cmdGetCustomColor_Click(); };
    cmdChangeColor.Click = [this] { cmdChangeColor_Click(); };
    coImageSize.Click = [this] { coImageSize_Click(); };
    cmdImage.Click = [this] { cmdImage_Click(); };
    mnuImport.Click = [this] { mnuImport_Click(); };
    mnuExport.Click = [this] { mnuExport_Click(); };
    cmdGrabImage.Click = [this] { cmdGrabImage_Click(); };
    tbarTools.ToolClick = [this](com::Object tool) {
        tbarTools_ToolClick(tool.get(QStringLiteral("ID")).toString());
    };
    tbarMisc.ToolClick = [this](com::Object tool) {
        tbarMisc_ToolClick(tool.get(QStringLiteral("ID")).toString());
    };
    Timer1.TimerEvent = [this] { Timer1_Timer(); };
    timerCoverup.TimerEvent = [this] { timerCoverup_Timer(); };
    KeyDown = [this](int16_t& k, int16_t s) { Form_KeyDown(k, s); };
}

void frmTool::ResizePictureBoxes()
{
    SetPreviewSizeAndPosition(picPreview);
    for (int i = 0; i < 4; ++i)
        SetActualSize(picActual(i));
    SetCanvasSize();
}

// The canvas is square, sized from the area width alone, and its side is
// 5 pixels more than a whole multiple of the picture width.
void frmTool::SetCanvasSize()
{
    const int32_t w = gPicWidth;
    const int32_t aw = rt::CInt(m_canvasAreaWidth / tpx());
    const int32_t rx = (aw - 5) % w;
    const int32_t ah = rt::CInt(m_canvasAreaHeight / tpy());
    const int32_t ry = (ah - 5) % gPicHeight;
    if (rx == 0 && ry == 0 && picCanvas.Width() == m_canvasAreaWidth &&
        picCanvas.Height() == m_canvasAreaHeight)
        return;
    picCanvas.setVisible(false);
    const int32_t side = 2 * rx < w ? aw - rx : aw + w - rx;
    picCanvas.Move(picCanvas.Left(), picCanvas.Top(), float(side) * tpx(), float(side) * tpy());
    picCanvas.setVisible(true);
}

void frmTool::SetPreviewSizeAndPosition(forms::PictureBox& pic)
{
    const int32_t width = rt::CLng(tpx() * (gPicWidth + 10));
    const int32_t height = rt::CLng(tpy() * (gPicHeight + 10));
    const int32_t left = rt::CLng((picPreviewHolder.Width() - float(width)) / 2 - tpx());
    const int32_t top = rt::CLng((picPreviewHolder.Height() - float(height)) / 2 - tpy());
    if (pic.Left() != float(left) || pic.Top() != float(top) || pic.Width() != float(width) ||
        pic.Height() != float(height))
        pic.Move(float(left), float(top), float(width), float(height));
}

// The box holds W x (H + 1) pixels: the picture and its mask row.
void frmTool::SetActualSize(forms::PictureBox& pic)
{
    if (pic.Width() != gPicWidth * tpx())
        pic.setWidth(gPicWidth * tpx());
    if (pic.Height() != (gPicHeight + 1) * tpy())
        pic.setHeight((gPicHeight + 1) * tpy());
}

void frmTool::CenterCanvas()
{
    const int32_t x =
        rt::CInt((tabPics.Width() - 4 - picCanvas.Width()) / 2 + tabPics.Left());
    const int32_t y = rt::CInt((lineMarker.Y1 - 2 - picCanvas.Height()) / 2 + tabPics.Top());
    if (float(x) != picCanvas.Left() || float(y) != picCanvas.Top())
        picCanvas.Move(float(x), float(y));
}

// A button-face hatch on white: how every swatch shows the transparent colour.
void frmTool::FillTransparentPattern(forms::PictureBox& pic, gdi::RECT rect)
{
    const gdi::HDC dc = pic.hDC();
    const gdi::COLORREF oldBk = gdi::SetBkColor(dc, kWhite);
    const int32_t oldMode = gdi::SetBkMode(dc, gdi::OPAQUE);
    if (gdi::IsRectEmpty(&rect))
        rect = gdi::RECT{0, 0, rt::CLng(pic.ScaleWidth() / tpx()),
                         rt::CLng(pic.ScaleHeight() / tpy())};
    if (!gHatchBrush)
        CreateBackgroundBrushes();
    gdi::FillRect(dc, &rect, gHatchBrush);
    gdi::SetBkColor(dc, oldBk);
    gdi::SetBkMode(dc, oldMode);
    if (QWidget* w = pic.existingWidget())
        w->update();
}

void frmTool::PaintChangeColorButton()
{
    picWork.setPicture(changeColorButtonBase());
    const gdi::HDC dc = picWork.hDC();
    auto paintArea = [&](int32_t color, int32_t seedX, int32_t seedY, gdi::RECT area) {
        if (color != gMaskColor) {
            const gdi::HBRUSH brush = gdi::CreateSolidBrush(PaletteColor(color));
            const gdi::HGDIOBJ old = gdi::SelectObject(dc, brush);
            gdi::ExtFloodFill(dc, seedX, seedY, gdi::GetPixel(dc, seedX, seedY),
                              gdi::FLOODFILLSURFACE);
            gdi::SelectObject(dc, old);
            gdi::DeleteObject(brush);
        } else {
            FillTransparentPattern(picWork, area);
        }
    };
    paintArea(gBackColor, 36, 7, gdi::RECT{31, 1, 41, 11});
    paintArea(gForeColor, 5, 7, gdi::RECT{1, 1, 11, 11});
    picWork.setPicture(picWork.Image());
    cmdChangeColor.setPicture(picWork.picture());
}

void frmTool::timerCoverup_Timer()
{
    timerCoverup.setEnabled(false);
    picCanvas.ZOrder(1);
    frPicturesTab.setVisible(true);
    picCanvas.setVisible(true);
    picCanvas.ZOrder(0);
}
