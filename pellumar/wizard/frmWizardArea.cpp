// The image area steps and the tool size step: the area engines on their
// canvases, the canvas sizing, and the size proposal.
#include "pellumar/wizard/frmWizard.h"

#include "barwright/common/DrawingParameters.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Conversions.h"

#include <algorithm>

using namespace mDrawParams;

void frmWizard::InitImageArea(int16_t area)
{
    if (!bImagesAvailable || Engines[size_t(area)])
        return;
    gMaskColor = int32_t(gdi::RGB(192, 192, 192));
    SetCanvasSize(area);
    InitActualImage(area);
    auto engine = std::make_unique<pellumar::CDraw>();
    engine->SetControls(&picCanvas(area), &picActual(area));
    engine->RefreshActualPicture(false);
    engine->PaintCanvas();
    Engines[size_t(area)] = std::move(engine);
    picCanvas(area).Refresh();
}

void frmWizard::SetCanvasSize(int16_t area)
{
    forms::PictureBox& canvas = picCanvas(area);
    const int32_t W = gPicWidth;
    const int32_t H = gPicHeight;
    if (W <= 0 || H <= 0)
        return;
    const float tppX = forms::Screen::TwipsPerPixelX();
    const float tppY = forms::Screen::TwipsPerPixelY();
    const int32_t w = rt::CLng(iCanvasDesignWidth / tppX);
    const int32_t h = rt::CLng(iCanvasDesignHeight / tppY);
    // A cell wider than the designed canvas leaves a negative remainder;
    // the remainder is taken towards zero as the original's Mod did.
    const int32_t remX = (w - 5) % W;
    const int32_t remY = (h - 5) % H;
    if (remX > 0 || remY > 0 || canvas.Width() != iCanvasDesignWidth
        || canvas.Height() != iCanvasDesignHeight) {
        canvas.setVisible(false);
        const int32_t width = remX >= W / 2.0 ? w + W - remX : w - remX;
        const int32_t height = remY >= H / 2.0 ? h + H - remY : h - remY;
        canvas.setWidth(float(width) * tppX);
        canvas.setHeight(float(height) * tppY);
        canvas.setVisible(true);
    }
}

void frmWizard::InitActualImage(int16_t area)
{
    const int32_t W = gPicWidth;
    const int32_t H = gPicHeight;
    forms::PictureBox& actual = picActual(area);
    actual.setWidth(float(W) * forms::Screen::TwipsPerPixelX());
    actual.setHeight(float(H + 1) * forms::Screen::TwipsPerPixelY());
    gdi::BitBlt(actual.hDC(), 0, 0, W, H + 1, picSegmented.hDC(), 0, area * H, gdi::SRCCOPY);
    actual.Refresh();
}

void frmWizard::InitToolSize()
{
    if (bToolSizeSet || !bImagesAvailable || !Engines[0])
        return;
    int32_t l = 0, t = 0, r = 0, b = 0;
    Engines[0]->GetSelection(l, t, r, b);
    const gdi::RECT sel{l, t, r, b};
    int32_t w = gPicWidth;
    int32_t h = gPicHeight;
    if (!gdi::IsRectEmpty(&sel)) {
        w = r - l + 1;
        h = b - t + 1;
    }
    w = std::clamp(w, 16, 32);
    h = std::clamp(h, 16, 32);
    coSize.setListIndex(std::max(w, h) - 16);
    bToolSizeSet = true;
}

void frmWizard::FillToolSizeCombo()
{
    coSize.Clear();
    for (int n = 16; n <= 32; ++n)
        coSize.AddItem(QStringLiteral("%1 x %1").arg(n));
    coSize.setListIndex(0);
}

void frmWizard::ReleaseAreaEngines()
{
    Engines[0].reset();
    Engines[1].reset();
}

// ---- Canvas mouse ----------------------------------------------------------

namespace {
int16_t canvasPixel(float twips, float twipsPerPixel)
{
    return rt::CInt(double(twips) / twipsPerPixel);
}
}  // namespace

void frmWizard::picCanvas_MouseDown(int16_t Index, int16_t Button, int16_t Shift, float X,
                                    float Y)
{
    pellumar::CDraw* engine = Engines[size_t(Index)].get();
    if (!engine)
        return;
    const int16_t x = canvasPixel(X, forms::Screen::TwipsPerPixelX());
    const int16_t y = canvasPixel(Y, forms::Screen::TwipsPerPixelY());
    if (Button == forms::vbLeftButton)
        engine->MouseDown(Button, Shift, x, y);
    else if (Button == forms::vbRightButton)
        engine->SetMaskColorFromPixel(x, y);
}

void frmWizard::picCanvas_MouseMove(int16_t Index, int16_t Button, int16_t Shift, float X,
                                    float Y)
{
    pellumar::CDraw* engine = Engines[size_t(Index)].get();
    if (!engine || Button != forms::vbLeftButton)
        return;
    engine->MouseMove(Button, Shift, canvasPixel(X, forms::Screen::TwipsPerPixelX()),
                      canvasPixel(Y, forms::Screen::TwipsPerPixelY()));
}

void frmWizard::picCanvas_MouseUp(int16_t Index, int16_t Button, int16_t Shift, float X,
                                  float Y)
{
    pellumar::CDraw* engine = Engines[size_t(Index)].get();
    if (!engine || Button != forms::vbLeftButton)
        return;
    engine->MouseUp(Button, Shift, canvasPixel(X, forms::Screen::TwipsPerPixelX()),
                    canvasPixel(Y, forms::Screen::TwipsPerPixelY()));
}
