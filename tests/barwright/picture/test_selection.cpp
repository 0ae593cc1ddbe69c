// The floating selection, the clipboard, paste with the import options,
// rotate, nudge, resize and colour replacement; the canvas; GDI bookkeeping.
#include "PictureFixture.h"

#include "barwright/picture/CursorResources.h"
#include "barwright/picture/frmImportImageOption.h"
#include "platform/forms/Clipboard.h"
#include "platform/forms/MousePointer.h"
#include "platform/forms/Testing.h"
#include "platform/system/KeyState.h"
#include "tests/support/FormTexts.h"

#include <set>

using namespace mDrawParams;
using namespace picturetest;
using ::testing::ElementsAre;

namespace {

// A w x h picture on the clipboard whose pixel (x, y) is RGB(x, y, 7).
void putGradient(int32_t w, int32_t h)
{
    const gdi::HBITMAP bmp = gdi::CreateBitmap(w, h);
    uint32_t* p = gdi::BitmapPixels(bmp);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x)
            p[y * w + x] = gdi::RGB(uint8_t(x), uint8_t(y), 7);
    }
    forms::Clipboard::SetData(forms::StdPicture::fromBitmap(bmp), forms::vbCFBitmap);
}

class SelectionTest : public EngineTest {
protected:
    void select(int16_t x1, int16_t y1, int16_t x2, int16_t y2)
    {
        drag("id_select", x1, y1, x2, y2);
    }
    // The owner's answer to a size change: resize the box and the engine.
    void resizeOnNotify()
    {
        owner->onNotify = [this](int16_t code) {
            if (code == 5) {
                host().layout(256, gPicWidth);
                engine->ResizeImage(false);
            }
        };
    }
};

TEST_F(SelectionTest, OnePixelWideSelectionIsNone)
{
    select(3, 3, 3, 8);
    EXPECT_FALSE(engine->SelectionActive());
    select(3, 3, 4, 3);
    EXPECT_FALSE(engine->SelectionActive());
    select(10, 10, -5, -5);   // dragged past the top-left corner, then normalised
    const gdi::RECT r = engine->Selection();
    EXPECT_EQ((std::array{r.left, r.top, r.right, r.bottom}), (std::array{0, 0, 10, 10}));
    EXPECT_TRUE(engine->SelectionActive());
}

TEST_F(SelectionTest, MovingLiftsThePixelsAndLeavesTheRightColour)
{
    click("id_pencil", 2, 2);
    select(1, 1, 4, 4);
    const int undo = engine->UndoCount();
    drag("id_select", 2, 2, 7, 7);
    EXPECT_EQ(engine->UndoCount(), undo + 1);
    EXPECT_EQ(px(7, 7), Left);
    EXPECT_EQ(px(2, 2), Right);
    EXPECT_EQ(px(1, 1), Right);
    EXPECT_EQ(px(6, 6), Mask);    // the lifted area came along
    EXPECT_EQ(px(0, 0), Mask);
    EXPECT_TRUE(engine->SelectionFloating());
    const gdi::RECT r = engine->Selection();
    EXPECT_EQ((std::array{r.left, r.top, r.right, r.bottom}), (std::array{6, 6, 9, 9}));

    // Past the edge and back while floating: the pixels return.
    drag("id_select", 7, 7, 15, 15);
    drag("id_select", 15, 15, 7, 7);
    EXPECT_EQ(px(7, 7), Left);
}

TEST_F(SelectionTest, CtrlDragCopiesAndCutOfTheCopyKeepsTheSource)
{
    click("id_pencil", 2, 2);
    select(2, 2, 3, 3);
    sys::setKeyState(sys::VK_CONTROL, true);
    drag("id_select", 2, 2, 10, 10);
    sys::setKeyState(sys::VK_CONTROL, false);
    EXPECT_EQ(px(2, 2), Left);
    EXPECT_EQ(px(10, 10), Left);
    engine->CutSelection(false);
    EXPECT_EQ(px(2, 2), Left);
    EXPECT_EQ(px(10, 10), Mask);
    EXPECT_FALSE(engine->SelectionActive());
}

TEST_F(SelectionTest, CopyThenPasteFloatsAtTheTopLeft)
{
    click("id_pencil", 5, 5);
    select(4, 4, 7, 7);
    engine->CopySelection();
    ASSERT_TRUE(forms::Clipboard::GetFormat(forms::vbCFBitmap));
    owner->codes.clear();
    engine->Paste();
    EXPECT_THAT(owner->codes, ElementsAre(4));
    EXPECT_EQ(px(1, 1), Left);
    EXPECT_EQ(px(5, 5), Left);
    const gdi::RECT r = engine->Selection();
    EXPECT_EQ((std::array{r.left, r.top, r.right, r.bottom}), (std::array{0, 0, 3, 3}));
    drag("id_select", 1, 1, 11, 1);   // the picture under it is as before
    EXPECT_EQ(px(1, 1), Mask);
    EXPECT_EQ(px(11, 1), Left);
    EXPECT_EQ(px(5, 5), Left);
}

TEST_F(SelectionTest, CutClearsToTheRightColourAndFillsTheClipboard)
{
    click("id_pencil", 2, 2);
    select(1, 1, 4, 4);
    engine->CutSelection(true);
    EXPECT_THAT(rows(0, 0, 5, 1), ElementsAre("......", ".RRRR."));
    EXPECT_FALSE(engine->SelectionActive());
    const forms::Picture clip = forms::Clipboard::GetData(forms::vbCFBitmap);
    ASSERT_TRUE(clip);
    EXPECT_EQ(clip->widthPixels(), 4);
    EXPECT_EQ(clip->heightPixels(), 4);
    EXPECT_TRUE(engine->CanUndo());
}

TEST_F(SelectionTest, LargerPictureAsksAndClipsTheCentre)
{
    putGradient(40, 30);
    bool enlargeEnabled = true;
    forms::testing::answerNextModal<frmImportImageOption>([&](frmImportImageOption& f) {
        enlargeEnabled = f.opEnlargeBitmap.Enabled();
        // Both clip options have their own "&Clip".
        expectWholeAndDistinct(f, QStringLiteral("import options"),
                               {QStringLiteral("c: opClipCentered opClipLeftTop")});
        EXPECT_EQ(f.lbImportImageSize.Caption(), QStringLiteral("40x30"));
        f.cmdOK.click();
    });
    engine->Paste();
    EXPECT_FALSE(enlargeEnabled);
    EXPECT_EQ(px(0, 0), int32_t(gdi::RGB(12, 7, 7)));
    EXPECT_EQ(px(15, 15), int32_t(gdi::RGB(27, 22, 7)));
    EXPECT_THAT(owner->codes, ElementsAre(4));
}

TEST_F(SelectionTest, TheImportOptionsShowBothSizesSideBySide)
{
    putGradient(40, 30);
    forms::testing::answerNextModal<frmImportImageOption>([](frmImportImageOption& f) {
        EXPECT_LE(f.Label1.Left() + f.Label1.Width(), f.lbImageSize.Left());
        EXPECT_LE(f.lbImageSize.Left() + f.lbImageSize.Width(), f.lbImportImageSize.Left());
        f.cmdCxl.click();
    });
    engine->Paste();
}

TEST_F(SelectionTest, LargerPictureClipsTheTopLeftOrShrinks)
{
    putGradient(40, 30);
    forms::testing::answerNextModal<frmImportImageOption>([](frmImportImageOption& f) {
        f.opClipLeftTop.setValue(true);
        f.cmdOK.click();
    });
    engine->Paste();
    EXPECT_EQ(px(15, 15), int32_t(gdi::RGB(15, 15, 7)));

    forms::testing::answerNextModal<frmImportImageOption>([](frmImportImageOption& f) {
        f.opShrink.setValue(true);
        f.cmdOK.click();
    });
    engine->Paste();
    EXPECT_EQ(px(0, 0), int32_t(gdi::RGB(0, 0, 7)));
    EXPECT_GE(gdi::GetRValue(gdi::COLORREF(px(15, 15))), 37);
    EXPECT_GE(gdi::GetGValue(gdi::COLORREF(px(15, 15))), 28);
}

TEST_F(SelectionTest, EnlargeGrowsThePictureThroughTheOwner)
{
    resizeOnNotify();
    putGradient(24, 20);
    forms::testing::answerNextModal<frmImportImageOption>([](frmImportImageOption& f) {
        f.opEnlargeBitmap.setValue(true);
        EXPECT_EQ(f.targetWidth(), 24);
        f.cmdOK.click();
    });
    engine->Paste();
    EXPECT_EQ(gPicWidth, 24);
    EXPECT_THAT(owner->codes, ElementsAre(5, 4));
    EXPECT_EQ(px(23, 19), int32_t(gdi::RGB(23, 19, 7)));
    EXPECT_EQ(px(23, 20), Mask);
    const gdi::RECT r = engine->Selection();
    EXPECT_EQ((std::array{r.right, r.bottom}), (std::array{23, 19}));

    putGradient(30, 40);   // taller than wide: squeezed into the new square
    forms::testing::answerNextModal<frmImportImageOption>([](frmImportImageOption& f) {
        // A second question shows the size of its own moment.
        EXPECT_EQ(f.opShrink.Caption(), QStringLiteral("&Shrink the selected image to 24x24"));
        EXPECT_TRUE(f.opClipCentered.Value());
        f.opEnlargeBitmap.setValue(true);
        f.cmdOK.click();
    });
    engine->Paste();
    EXPECT_EQ(gPicWidth, 30);
}

TEST_F(SelectionTest, CancelledImportChangesNothing)
{
    click("id_pencil", 1, 1);
    putGradient(40, 30);
    forms::testing::answerNextModal<frmImportImageOption>(
        [](frmImportImageOption& f) { f.cmdCxl.click(); });
    owner->codes.clear();
    engine->Paste();
    EXPECT_EQ(engine->UndoCount(), 1);
    EXPECT_EQ(px(0, 0), Mask);
    EXPECT_EQ(gPicWidth, 16);
    EXPECT_TRUE(owner->codes.empty());
}

TEST_F(SelectionTest, SmallPictureAsksNothingAndEmptyClipboardDoesNothing)
{
    engine->Paste();
    EXPECT_FALSE(engine->CanUndo());
    putGradient(16, 16);
    engine->Paste();
    EXPECT_EQ(px(15, 15), int32_t(gdi::RGB(15, 15, 7)));
    EXPECT_TRUE(forms::testing::shownModalForms().isEmpty());
}

TEST_F(SelectionTest, RotateTurnsAroundTheCentre)
{
    click("id_pencil", 2, 4);   // top-left of a 5 x 3 area
    click("id_pencil", 6, 4, 2);   // its top-right
    select(2, 4, 6, 6);
    owner->codes.clear();
    engine->Rotate();
    const gdi::RECT r = engine->Selection();
    EXPECT_EQ((std::array{r.left, r.top, r.right, r.bottom}), (std::array{3, 3, 5, 7}));
    EXPECT_EQ(px(5, 3), Left);
    EXPECT_EQ(px(5, 7), Right);
    EXPECT_EQ(px(2, 4), Right);   // the vacated area takes the right colour
    EXPECT_THAT(owner->codes, ElementsAre(4));

    engine->ReleaseCurrentSelection();
    engine->ClearImage();
    click("id_pencil", 0, 0);
    engine->Rotate();   // no selection: the whole picture
    EXPECT_EQ(px(15, 0), Left);
    EXPECT_EQ(engine->Selection().right, 15);
    EXPECT_TRUE(engine->SelectionFloating());
}

TEST_F(SelectionTest, NudgeMovesTheWholePictureAndKeepsItSelected)
{
    click("id_pencil", 0, 0);
    engine->NudgeImage(1, 1);
    EXPECT_EQ(px(0, 1), Left);
    EXPECT_THAT(rows(0, 0, 3, 0), ElementsAre("RRRR"));
    EXPECT_TRUE(engine->SelectionActive());
    engine->NudgeImage(3, 2);
    EXPECT_EQ(px(2, 1), Left);
    EXPECT_EQ(px(0, 1), Right);
    engine->Undo();
    EXPECT_EQ(px(0, 1), Left);
}

TEST_F(SelectionTest, ResizeKeepsOrStretchesTheOldPixels)
{
    click("id_pencil", 15, 15);
    gPicWidth = gPicHeight = 24;
    host().layout(256, 24);
    engine->ResizeImage(false);
    EXPECT_EQ(px(15, 15), Left);
    EXPECT_EQ(px(20, 20), Mask);
    EXPECT_EQ(px(23, 0), Mask);
    EXPECT_FALSE(engine->CanUndo());
    EXPECT_EQ(gdi::GetPixel(host().picActual.hDC(), 15, 15), gdi::COLORREF(Left));

    gPicWidth = gPicHeight = 16;
    host().layout(256, 16);
    engine->ResizeImage(false);
    gPicWidth = gPicHeight = 32;
    host().layout(256, 32);
    engine->ResizeImage(true);
    EXPECT_THAT(rows(29, 29, 31, 31), ElementsAre("...", ".LL", ".LL"));
}

TEST_F(SelectionTest, ChangeColorReplacesEveryPixelOfTheColour)
{
    click("id_pencil", 1, 1);
    click("id_pencil", 9, 3);
    engine->ChangeColor(Left, Right);
    EXPECT_EQ(px(1, 1), Right);
    EXPECT_EQ(px(9, 3), Right);
    EXPECT_EQ(countNot(Mask), 2);
    engine->Undo();
    EXPECT_EQ(px(1, 1), Left);
}

TEST_F(SelectionTest, ToolChangeReleasesTheSelection)
{
    select(1, 1, 4, 4);
    gCurrentToolID = QStringLiteral("id_select");
    engine->ToolChanged();
    EXPECT_TRUE(engine->SelectionActive());
    gCurrentToolID = QStringLiteral("id_fill");
    engine->ToolChanged();
    EXPECT_FALSE(engine->SelectionActive());
}

TEST_F(SelectionTest, HoverShowsTheMovePointerInsideTheSelection)
{
    select(1, 1, 4, 4);
    move(2, 2);
    forms::PictureBox& canvas = host().picCanvas;
    EXPECT_EQ(canvas.MousePointer(), forms::vbSizeAll);
    EXPECT_EQ(canvas.existingWidget()->childAt(5, 5)->cursor().shape(), Qt::SizeAllCursor);
    move(9, 9);
    EXPECT_EQ(canvas.MousePointer(), forms::vbCustom);
    EXPECT_EQ(canvas.MouseIcon(), CursorResources::LoadResCursor(1000));
    // Released, the selection no longer moves: the select tool's cursor again.
    move(2, 2);
    engine->ReleaseCurrentSelection();
    EXPECT_EQ(canvas.MousePointer(), forms::vbCustom);
}

// ---- The canvas ---------------------------------------------------------------

using CanvasTest = EngineTest;

TEST_F(CanvasTest, MaskCellsAreHatchedAndTheGridIsChecked)
{
    click("id_pencil", 3, 3);
    const gdi::HDC back = engine->BackBufferDC();
    const int32_t face = int32_t(gdi::GetSysColor(gdi::COLOR_BTNFACE));
    const int32_t shadow = int32_t(gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
    std::set<int32_t> inMaskCell;
    for (int32_t y = 2; y < 14; ++y) {
        for (int32_t x = 2; x < 14; ++x)
            inMaskCell.insert(int32_t(gdi::GetPixel(back, x, y)));
    }
    EXPECT_EQ(inMaskCell, (std::set<int32_t>{0xFFFFFF, face}));
    EXPECT_EQ(int32_t(gdi::GetPixel(back, 3 * 16 + 5, 3 * 16 + 7)), Left);
    for (int32_t x : {0, 16, 32, 48, 256 - 16}) {
        const int32_t c = int32_t(gdi::GetPixel(back, x, 3 * 16 + 7));
        EXPECT_TRUE(c == face || c == shadow) << x;
    }
    for (int32_t y : {0, 48, 64}) {
        const int32_t c = int32_t(gdi::GetPixel(back, 3 * 16 + 7, y));
        EXPECT_TRUE(c == face || c == shadow) << y;
    }
    // What the canvas shows is the back buffer.
    EXPECT_EQ(gdi::GetPixel(host().picCanvas.hDC(), 3 * 16 + 5, 3 * 16 + 7),
              gdi::COLORREF(Left));
}

TEST_F(CanvasTest, SelectionFrameOnlyForARealSelection)
{
    auto snapshot = [&] {
        std::vector<uint32_t> v;
        for (int32_t y = 0; y < 256; ++y) {
            for (int32_t x = 0; x < 256; ++x)
                v.push_back(gdi::GetPixel(engine->BackBufferDC(), x, y));
        }
        return v;
    };
    gCurrentToolID = QStringLiteral("id_select");
    engine->PaintCanvas();
    const auto plain = snapshot();
    drag("id_select", 3, 3, 3, 8);   // one pixel wide
    EXPECT_EQ(snapshot(), plain);
    drag("id_select", 3, 3, 5, 8);
    EXPECT_NE(snapshot(), plain);
    gCurrentToolID = QStringLiteral("id_pencil");
    engine->PaintCanvas();
    EXPECT_EQ(snapshot(), plain);
}

TEST_F(CanvasTest, PreviewFramesThePictureAndShowsMaskAsButtonFace)
{
    click("id_pencil", 0, 0);
    engine->PaintPreview();
    const gdi::HDC dc = host().picPreview.hDC();
    EXPECT_EQ(gdi::GetPixel(dc, 5, 5), gdi::COLORREF(Left));
    EXPECT_EQ(gdi::GetPixel(dc, 6, 6), gdi::GetSysColor(gdi::COLOR_BTNFACE));
    EXPECT_EQ(gdi::GetPixel(dc, 3, 0), gdi::GetSysColor(gdi::COLOR_BTNHIGHLIGHT));
    engine->PicType(1);
    engine->PaintPreview();
    EXPECT_EQ(gdi::GetPixel(dc, 3, 0), gdi::GetSysColor(gdi::COLOR_BTNSHADOW));
}

// ---- GDI bookkeeping ----------------------------------------------------------

using LeakTest = EngineTest;

TEST_F(LeakTest, AnEngineAndAPasteCycleReturnEveryObject)
{
    engine.reset();
    for (forms::PictureBox* box : {&host().picCanvas, &host().picActual, &host().picPreview})
        box->hDC();   // the boxes' own surfaces exist before and after
    const gdi::LiveObjects before = gdi::CountLiveObjects();
    makeEngine();
    for (const char* tool : {"id_pencil", "id_line", "id_framebox", "id_framefilledcircle",
                             "id_filledbox", "id_fill", "id_dither"})
        drag(tool, 1, 1, 6, 7);
    drag("id_select", 1, 1, 6, 6);
    drag("id_select", 2, 2, 8, 8);
    engine->CopySelection();
    engine->Paste();
    engine->Rotate();
    engine->NudgeImage(0, 1);
    engine->CutSelection(true);
    for (int i = 0; i < 25; ++i)
        click("id_pencil", 3, 3);
    engine->Undo();
    engine->Undo();
    engine->Redo();
    putGradient(40, 30);
    forms::testing::answerNextModal<frmImportImageOption>(
        [](frmImportImageOption& f) { f.cmdOK.click(); });
    engine->Paste();
    gCurrentToolID = QStringLiteral("id_line");
    down(1, 1);
    move(5, 5);   // destroyed in the middle of a stroke
    engine.reset();
    forms::Clipboard::Clear();
    const gdi::LiveObjects after = gdi::CountLiveObjects();
    EXPECT_EQ(after.bitmaps, before.bitmaps);
    EXPECT_EQ(after.dcs, before.dcs);
    EXPECT_EQ(after.pens, before.pens);
    EXPECT_EQ(after.brushes, before.brushes);
}

}  // namespace
