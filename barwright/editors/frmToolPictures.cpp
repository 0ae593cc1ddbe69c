// The Pictures tab of the tool dialog: the four state pictures, their drawing
// engines, the mask colour, the colour choice, the canvas mouse and the
// engines' notifications. Layout: frmToolPicturesLayout.cpp; palettes and
// keys: frmToolPalette.cpp; files and the screen grab: frmToolImageFiles.cpp.
#include "barwright/editors/frmTool.h"

#include "barwright/picture/CDraw.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/forms/App.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Error.h"
#include "platform/system/KeyState.h"
#include "platform/toolbar/Tool.h"

using namespace mDrawParams;

namespace {

constexpr int32_t kLightGray = 0xC0C0C0;
constexpr int32_t kVkControl = 0x11;

// The engines call their owner's Notify late-bound; the form base is no
// late-bound object, so this small one answers for the dialog.
class EngineOwner final : public com::Dispatch {
public:
    explicit EngineOwner(frmTool& dialog)
    {
        defineMethod(QStringLiteral("Notify"), com::DispidUnknown, [&dialog](com::Args& args) {
            if (args.empty())
                rt::raise(449);
            dialog.Notify(rt::CInt(args[0]));   // a second argument is not read
            return rt::Variant();
        });
    }
    QString className() const override { return QStringLiteral("frmTool"); }
};

// Bottom-left pixel of a picture's own bitmap: where the stored format keeps
// its mask colour. -1 for an empty picture.
int32_t storedMaskColor(const forms::Picture& picture)
{
    if (!picture || picture->Handle() == 0)
        return -1;
    const gdi::HDC dc = gdi::CreateCompatibleDC(0);
    const gdi::HGDIOBJ old = gdi::SelectObject(dc, picture->Handle());
    const int32_t color = int32_t(gdi::GetPixel(dc, 0, picture->heightPixels() - 1));
    gdi::SelectObject(dc, old);
    gdi::DeleteDC(dc);
    return color;
}

toolbar::PictureState stateOf(int i)
{
    return toolbar::PictureState(i);
}

}  // namespace

void frmTool::EngineDeleter::operator()(CDraw* engine) const
{
    delete engine;
}

CDraw* frmTool::currentEngine()
{
    const int16_t tab = tabPics.Tab();
    return tab >= 0 && tab < 4 ? engine(tab) : nullptr;
}

// ---- start state ---------------------------------------------------------------

void frmTool::InitDrawingStuff()
{
    DesignPicturesTab();
    WirePicturesTab();
    m_canvasAreaWidth = int16_t(picCanvas.Width());
    m_canvasAreaHeight = int16_t(picCanvas.Height());
    m_picturesInitialised = false;
    m_lastKeyTime = 0;
    m_lastKeyCode = 0;
    m_lastKeyShift = 0;

    gPicWidth = std::clamp<int16_t>(gPicWidth, 16, 32);
    gPicHeight = gPicWidth;
    coImageSize.setListIndex(gPicWidth - 16);
    CreateBackgroundBrushes();
    if (gPreviousToolID.isEmpty())
        gPreviousToolID = QStringLiteral("id_pencil");
    gMaskColor = GetMaskColor(picWork);

    if (gBackColor == -1 || (gBackColor != gMaskColor && !Is16Color(gBackColor)))
        gBackColor = gMaskColor;
    UpdateSwatch(picBackcolorPreview, gBackColor);
    if (gForeColor == -1)
        gForeColor = GetNearestDisplayColor(0);
    UpdateSwatch(picForecolorPreview, gForeColor);
    for (int16_t i = 0; i < 16; ++i)
        lbPalette(i).setBackColor(Get16Color(i));

    BuildPalettes();
    if (gCurrentToolID.isEmpty())
        gCurrentToolID = QStringLiteral("id_pencil");
    CheckDrawingTool(gCurrentToolID);
    for (int i = 0; i < 4; ++i)
        picActual(i).setBackColor(gMaskColor);
}

int32_t frmTool::GetMaskColor(forms::PictureBox& pic)
{
    static const QString kNote = QStringLiteral("Color Depth Note");
    static const QString kTail = QStringLiteral(
        "  As a result, light gray will be used as a mask color and will be unavailable "
        "for drawing.");
    const forms::Picture image = pic.Image();
    const int32_t depth = image ? gdi::GetBitmapBitsPixel(image->Handle()) : 32;
    const gdi::HDC dc = pic.hDC();
    if (depth < 8) {
        forms::MsgBox(QStringLiteral("Halvorbar has detected that the display contains only "
                                     "16 colors.") + kTail,
                      forms::vbExclamation, kNote);
        return kLightGray;
    }
    if (depth == 8) {
        Create16ColorPalette();
        std::array<gdi::PALETTEENTRY, 256> entries{};
        gdi::GetSystemPaletteEntries(dc, 0, 255, entries.data());
        for (size_t i = 0; i < entries.size(); ++i) {
            const int32_t c = int32_t(
                gdi::RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue));
            gdi::SetPixel(dc, 0, 0, PaletteColor(c));
            if (int32_t(gdi::GetPixel(dc, 0, 0)) == c && !Is16Color(c))
                return c;
        }
        forms::MsgBox(QStringLiteral("Halvorbar has detected that the display does not contain "
                                     "a suitable mask color.") + kTail,
                      forms::vbExclamation, kNote);
        return kLightGray;
    }
    gdi::SetPixel(dc, 0, 0, 0x2214161);
    return int32_t(gdi::GetPixel(dc, 0, 0));
}

// All four pictures follow the mask colour of the first stored one: pictures
// saved on a display of another depth come back with this display's colour.
void frmTool::AdaptPicturesToMaskColor()
{
    int first = -1;
    for (int i = 0; i < 4 && first < 0; ++i)
        if (picActual(i).picture())
            first = i;
    if (first < 0)
        return;
    // Read from the picture itself: a stored picture may be larger than the box.
    const int32_t old = storedMaskColor(picActual(first).picture());
    if (old < 0 || old == gMaskColor)
        return;
    for (int i = 0; i < 4; ++i)
        ReplacePictureColor(picActual(i), old, gMaskColor);
}

void frmTool::ReplacePictureColor(forms::PictureBox& pic, int32_t oldColor, int32_t newColor)
{
    const gdi::HDC dc = pic.hDC();
    for (int32_t x = 0; x < gPicWidth; ++x)
        for (int32_t y = 0; y < gPicHeight; ++y)
            if (int32_t(gdi::GetPixel(dc, x, y)) == oldColor)
                gdi::SetPixel(dc, x, y, PaletteColor(newColor));
}

void frmTool::ScanPictureColors(forms::PictureBox& pic, bool& hasMask, bool& hasOther)
{
    hasMask = false;
    hasOther = false;
    const gdi::HDC dc = pic.hDC();
    for (int32_t x = 0; x < gPicWidth; ++x) {
        for (int32_t y = 0; y < gPicHeight; ++y) {
            if (int32_t(gdi::GetPixel(dc, x, y)) == gMaskColor)
                hasMask = true;
            else
                hasOther = true;
            if (hasMask && hasOther)
                return;
        }
    }
}

void frmTool::MarkPictureMaskPixel(gdi::HDC hDC)
{
    gdi::SetPixel(hDC, 0, gPicHeight, PaletteColor(gMaskColor));
}

// ---- the tool's pictures in and out -------------------------------------------

void frmTool::LoadToolPictures(const std::shared_ptr<toolbar::Tool>& tool)
{
    for (int i = 0; i < 4; ++i) {
        SetActualSize(picActual(i));
        rt::tryStatement([&] {
            if (forms::Picture p = tool->picture(stateOf(i)))
                picActual(i).setPicture(p);
        });
    }
}

// Only a picture whose engine changed it is written; one that holds nothing
// but transparent pixels is stored as Nothing.
void frmTool::StoreToolPictures(const std::shared_ptr<toolbar::Tool>& tool)
{
    rt::ResumeNext rn;
    for (int i = 0; i < 4; ++i) {
        CDraw* e = engine(i);
        if (!e || !e->IsDirty())
            continue;
        forms::PictureBox& box = picActual(i);
        bool hasMask = false;
        bool hasOther = false;
        ScanPictureColors(box, hasMask, hasOther);
        if (!hasOther) {
            rn([&] { tool->setPicture(stateOf(i), nullptr); });
            continue;
        }
        MarkPictureMaskPixel(box.hDC());
        if (hasMask)
            rn([&] { tool->setUseMaskColor(true); });
        if (gPicWidth < 24) {
            rn([&] { tool->setPicture(stateOf(i), box.Image()); });
            rn([&] { box.setPicture(nullptr); });
        } else {
            rn([&] {
                box.setPicture(box.Image());
                tool->setPictureValue(stateOf(i),
                                      rt::Variant(int32_t(box.picture()->Handle())));
            });
        }
    }
}

void frmTool::ShowPicturesTab()
{
    if (m_picturesInitialised)
        return;
    forms::Screen::setMousePointer(forms::vbHourglass);
    ResizePictureBoxes();
    CenterCanvas();
    AdaptPicturesToMaskColor();
    if (!m_engineOwner)
        m_engineOwner = std::make_shared<EngineOwner>(*this);
    for (int16_t i = 0; i < 4; ++i) {
        m_engines[size_t(i)].reset(new CDraw());
        CDraw& e = *m_engines[size_t(i)];
        e.SetControls(&picCanvas, &picActual(i), &picPreview, &lbPalette(16));
        e.PicType(i);
        e.Advise(com::Object(m_engineOwner));
        e.RefreshActualPicture(false, false);
    }
    RepaintCurrentViews();
    PaintChangeColorButton();
    Timer1.setInterval(50);
    Timer1.setEnabled(true);
    timerCoverup.setInterval(100);
    timerCoverup.setEnabled(true);
    SetPaletteToolTips();
    m_picturesInitialised = true;
    forms::Screen::setMousePointer(forms::vbDefault);
}

void frmTool::ReleasePictureEngines()
{
    for (auto& e : m_engines)
        e.reset();
    m_picturesInitialised = false;
    m_canvasBusy = false;
}

void frmTool::RepaintCurrentViews()
{
    if (CDraw* e = currentEngine()) {
        e->PaintPreview();
        picPreview.Refresh();
        e->PaintCanvas();
        picCanvas.Refresh();
    }
}

// ---- notifications ---------------------------------------------------------------

void frmTool::Notify(int16_t iNotifyCode)
{
    switch (iNotifyCode) {
    case 2:
        UpdateSwatch(picForecolorPreview, gForeColor);
        PaintChangeColorButton();
        break;
    case 3:
        UpdateSwatch(picBackcolorPreview, gBackColor);
        PaintChangeColorButton();
        break;
    case 4:
        if (auto t = tbarTools.control()->tools()->find(QStringLiteral("id_select"));
            t && t->State() == 0)
            CheckDrawingTool(QStringLiteral("id_select"));
        break;
    case 5: {
        forms::Screen::setMousePointer(forms::vbHourglass);
        ResizePictureBoxes();
        CenterCanvas();
        const bool stretch = sys::GetKeyState(kVkControl) < 0;
        for (auto& e : m_engines)
            if (e)
                e->ResizeImage(stretch);
        RepaintCurrentViews();
        coImageSize.setListIndex(gPicWidth - 16);
        forms::Screen::setMousePointer(forms::vbDefault);
        break;
    }
    default:
        break;
    }
}

// ---- views and mouse ---------------------------------------------------------------

void frmTool::tabPics_Click()
{
    RepaintCurrentViews();
}

void frmTool::picCanvas_MouseDown(int16_t Button, int16_t Shift, float X, float Y)
{
    CDraw* e = currentEngine();
    if ((Button != 1 && Button != 2) || !e)
        return;
    e->MouseDown(Button, Shift, rt::CInt(X / forms::Screen::TwipsPerPixelX()),
                 rt::CInt(Y / forms::Screen::TwipsPerPixelY()));
}

// Pending events run before a move goes on; moves that come meanwhile are
// dropped, so at most one engine MouseMove runs at a time.
void frmTool::picCanvas_MouseMove(int16_t Button, int16_t Shift, float X, float Y)
{
    CDraw* e = currentEngine();
    if (!e || m_canvasBusy)
        return;
    if (Button != 1 && Button != 2 && gCurrentToolID != u"id_select")
        return;
    m_canvasBusy = true;
    forms::DoEvents();
    if (CDraw* still = currentEngine())
        still->MouseMove(Button, Shift, rt::CInt(X / forms::Screen::TwipsPerPixelX()),
                         rt::CInt(Y / forms::Screen::TwipsPerPixelY()));
    m_canvasBusy = false;
}

void frmTool::picCanvas_MouseUp(int16_t Button, int16_t Shift, float X, float Y)
{
    if (Button != 1 && Button != 2)
        return;
    if (CDraw* e = currentEngine())
        e->MouseUp(Button, Shift, rt::CInt(X / forms::Screen::TwipsPerPixelX()),
                   rt::CInt(Y / forms::Screen::TwipsPerPixelY()));
    if (gCurrentToolID == u"id_pickup")
        CheckDrawingTool(gPreviousToolID);
}

void frmTool::picPreview_MouseDown(int16_t Button)
{
    if (Button != 1)
        return;
    static constexpr int16_t kPartner[4] = {1, 0, 3, 2};
    const int16_t tab = tabPics.Tab();
    if (tab >= 0 && tab < 4)
        tabPics.setTab(kPartner[tab]);
}

// ---- colours ---------------------------------------------------------------------

void frmTool::UpdateSwatch(forms::PictureBox& swatch, int32_t color)
{
    swatch.setBackColor(color);
    swatch.Refresh();
    PaintSwatchIfMask(swatch);
}

void frmTool::PaintSwatchIfMask(forms::PictureBox& swatch)
{
    if (swatch.BackColor() == gMaskColor)
        FillTransparentPattern(swatch, gdi::RECT{});
}

void frmTool::lbPalette_MouseDown(int16_t Index, int16_t Button)
{
    const int32_t color = lbPalette(Index).BackColor();
    if (Button == 1) {
        gForeColor = color;
        UpdateSwatch(picForecolorPreview, gForeColor);
    } else {
        gBackColor = color;
        UpdateSwatch(picBackcolorPreview, gBackColor);
    }
    PaintChangeColorButton();
}

void frmTool::picMaskColor_MouseDown(int16_t Button)
{
    if (Button == 1) {
        gForeColor = gMaskColor;
        UpdateSwatch(picForecolorPreview, gForeColor);
    } else {
        gBackColor = gMaskColor;
        UpdateSwatch(picBackcolorPreview, gBackColor);
    }
    PaintChangeColorButton();
}

void frmTool::ShowColorDialog(int32_t start, const std::function<void(int32_t)>& store)
{
    ComDlg.Color = start;
    ComDlg.Flags = forms::cdlCCRGBInit;
    ComDlg.CancelError = true;
    try {
        ComDlg.ShowColor();
    } catch (const rt::Error& e) {
        if (e.number() == 32755)
            return;   // cancelled
        throw;
    }
    store(ComDlg.Color);
    PaintChangeColorButton();
}

void frmTool::cmdGetCustomColor_Click()
{
    ShowColorDialog(lbPalette(16).BackColor(), [this](int32_t c) {
        gForeColor = c;
        UpdateSwatch(picForecolorPreview, gForeColor);
        lbPalette(16).setBackColor(c);
    });
}

void frmTool::cmdChangeColor_Click()
{
    if (CDraw* e = currentEngine())
        e->ChangeColor(gForeColor, gBackColor);
}

void frmTool::coImageSize_Click()
{
    const int32_t size = coImageSize.ListIndex() + 16;
    if (coImageSize.ListIndex() < 0 || size == gPicWidth)
        return;
    gPicWidth = int16_t(size);
    gPicHeight = int16_t(size);
    Notify(5);
}
