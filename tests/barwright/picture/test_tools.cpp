// Coordinates, the drawing tools' pixels and the undo and redo stacks.
#include "PictureFixture.h"

#include "platform/system/KeyState.h"

using namespace mDrawParams;
using namespace picturetest;
using ::testing::ElementsAre;

namespace {

using ToolTest = EngineTest;

TEST_F(ToolTest, SixteenPixelsOnA256Canvas)
{
    EXPECT_EQ(engine->CanvasWidth(), 256);
    for (int16_t x : {0, 15})
        EXPECT_EQ(engine->XCanvasToActual(x), 0);
    EXPECT_EQ(engine->XCanvasToActual(16), 1);
    EXPECT_EQ(engine->YCanvasToActual(255), 15);
    EXPECT_EQ(engine->XActualToCanvas(16), 256);
    EXPECT_TRUE(engine->XPixelInBitmap(15));
    EXPECT_FALSE(engine->XPixelInBitmap(16));
    EXPECT_FALSE(engine->YPixelInBitmap(-1));
}

TEST_F(ToolTest, ZoomedCellsRoundHalvesToEven)
{
    gPicWidth = gPicHeight = 24;
    makeEngine(250);
    EXPECT_EQ(engine->XActualToCanvas(3), 31);   // 31.25
    EXPECT_EQ(engine->XCanvasToActual(31), 2);   // 2.976 floored
    gPicWidth = gPicHeight = 16;
    makeEngine(200);                             // zoom 12.5
    EXPECT_EQ(engine->XActualToCanvas(1), 12);
    EXPECT_EQ(engine->YActualToCanvas(3), 38);
    EXPECT_EQ(engine->XActualToCanvas(5), 62);   // 62.5
}

TEST_F(ToolTest, PencilClickSetsOnePixelAndFastStrokesAreJoined)
{
    click("id_pencil", 3, 4);
    EXPECT_EQ(countNot(Mask), 1);
    EXPECT_EQ(px(3, 4), Left);

    gCurrentToolID = QStringLiteral("id_pencil");
    down(1, 8);
    move(5, 8);    // 4 apart: a line joins them
    move(6, 9);    // 1 apart: just the pixel
    up(6, 9);
    EXPECT_THAT(rows(0, 8, 7, 9), ElementsAre(".LLLLL..", "......L."));
    engine->MouseMove(1, 0, 100, 100);   // no button down: nothing
    EXPECT_EQ(px(6, 6), Mask);
}

TEST_F(ToolTest, ShiftPaintsTheMaskWithThePencilButNotWithShapes)
{
    drag("id_filledbox", 0, 0, 5, 5);
    sys::setKeyState(sys::VK_SHIFT, true);
    click("id_pencil", 2, 2, 2);
    EXPECT_EQ(px(2, 2), Mask);
    drag("id_filledbox", 8, 8, 9, 9);
    EXPECT_EQ(px(8, 8), Left);
}

TEST_F(ToolTest, LinesIncludeBothEndsAndRubberBandBack)
{
    gCurrentToolID = QStringLiteral("id_line");
    down(2, 3);
    move(10, 8);
    move(10, 3);
    up(10, 3);
    EXPECT_THAT(rows(0, 3, 11, 3), ElementsAre("..LLLLLLLLL."));
    EXPECT_EQ(countNot(Mask), 9);
    drag("id_line", 12, 12, 12, 9, 2);
    EXPECT_THAT(rows(12, 8, 12, 13), ElementsAre(".", "R", "R", "R", "R", "."));
}

TEST_F(ToolTest, FramedBoxHasBothCornersOnItsOutlineInEitherDirection)
{
    const std::vector<std::string> box = {"......", ".LLLL.", ".L..L.", ".L..L.",
                                          ".L..L.", ".L..L.", ".LLLL.", "......"};
    drag("id_framebox", 1, 1, 4, 6);
    EXPECT_EQ(rows(0, 0, 5, 7), box);
    engine->ClearImage();
    drag("id_framebox", 4, 6, 1, 1);
    EXPECT_EQ(rows(0, 0, 5, 7), box);
}

TEST_F(ToolTest, FramedFilledBoxSwapsColoursWithTheButton)
{
    drag("id_framefilledbox", 1, 1, 4, 4, 2);
    EXPECT_THAT(rows(1, 1, 4, 4), ElementsAre("LLLL", "LRRL", "LRRL", "LLLL"));
    drag("id_framefilledbox", 8, 8, 11, 11, 1);
    EXPECT_THAT(rows(8, 8, 11, 11), ElementsAre("RRRR", "RLLR", "RLLR", "RRRR"));
    drag("id_filledbox", 12, 0, 13, 1, 2);
    EXPECT_THAT(rows(12, 0, 13, 1), ElementsAre("RR", "RR"));
}

TEST_F(ToolTest, CirclesFillTheirBoundingBox)
{
    drag("id_filledcircle", 2, 2, 10, 10);
    EXPECT_EQ(px(6, 6), Left);
    EXPECT_EQ(px(6, 2), Left);
    EXPECT_EQ(px(10, 6), Left);
    EXPECT_EQ(px(2, 2), Mask);
    EXPECT_EQ(px(11, 6), Mask);
    engine->ClearImage();
    drag("id_framecircle", 2, 2, 10, 10);
    EXPECT_EQ(px(6, 6), Mask);
    EXPECT_EQ(px(6, 2), Left);
    EXPECT_EQ(px(2, 6), Left);
    engine->ClearImage();
    drag("id_framefilledcircle", 2, 2, 10, 10);
    EXPECT_EQ(px(6, 6), Left);
    EXPECT_EQ(px(6, 2), Right);
}

TEST_F(ToolTest, DitherSetsTheEvenCellsOfItsBlock)
{
    click("id_dither", 5, 5);
    EXPECT_THAT(rows(3, 3, 7, 7),
                ElementsAre(".....", ".L.L.", "..L..", ".L.L.", "....."));
    click("id_dither", 0, 0, 2);
    EXPECT_THAT(rows(0, 0, 1, 1), ElementsAre("R.", ".R"));

    engine->ClearImage();
    drag("id_dither", 5, 5, 10, 10);   // without Ctrl only the pressed block
    EXPECT_EQ(countNot(Mask), 5);
    sys::setKeyState(sys::VK_CONTROL, true);
    drag("id_dither", 5, 5, 10, 10);
    EXPECT_EQ(px(10, 10), Left);
    EXPECT_EQ(countNot(Mask), 10);
}

TEST_F(ToolTest, FloodFillStopsAtAnotherColour)
{
    drag("id_framebox", 2, 2, 8, 8);
    click("id_fill", 5, 5, 2);
    EXPECT_EQ(px(3, 3), Right);
    EXPECT_EQ(px(7, 7), Right);
    EXPECT_EQ(px(2, 5), Left);
    EXPECT_EQ(px(1, 1), Mask);
    EXPECT_EQ(px(12, 12), Mask);
}

TEST_F(ToolTest, PickUpFillsTheLeftOrRightColourAndTakesNoUndoPoint)
{
    click("id_pencil", 3, 3);
    gForeColor = 0;
    const int undo = engine->UndoCount();
    owner->codes.clear();
    gCurrentToolID = QStringLiteral("id_pickup");
    down(3, 3, 1);
    EXPECT_EQ(gForeColor, Left);
    up(3, 3, 1);
    down(0, 0, 2);
    EXPECT_EQ(gBackColor, Mask);
    EXPECT_EQ(host().lbColor.BackColor(), Mask);
    up(0, 0, 2);
    EXPECT_THAT(owner->codes, ElementsAre(2, 2, 3, 3));
    EXPECT_EQ(engine->UndoCount(), undo);
    EXPECT_FALSE(engine->CanRedo());
}

TEST_F(ToolTest, TwentyTwoChangesKeepTwentyOneSnapshots)
{
    EXPECT_FALSE(engine->CanUndo());
    for (int16_t i = 0; i < 22; ++i)
        click("id_pencil", int16_t(i % 16), int16_t(i / 16));
    EXPECT_EQ(engine->UndoCount(), 21);
    for (int i = 0; i < 21; ++i)
        engine->Undo();
    EXPECT_EQ(px(0, 0), Left);   // the state after the first change
    EXPECT_EQ(countNot(Mask), 1);
    EXPECT_FALSE(engine->CanUndo());
    engine->Undo();
    EXPECT_EQ(countNot(Mask), 1);
    EXPECT_EQ(engine->RedoCount(), 21);
}

TEST_F(ToolTest, RedoReplaysAndANewChangeEmptiesIt)
{
    click("id_pencil", 1, 1);
    click("id_pencil", 2, 2);
    engine->Undo();
    engine->Undo();
    EXPECT_EQ(countNot(Mask), 0);
    engine->Redo();
    EXPECT_EQ(px(1, 1), Left);
    EXPECT_EQ(px(2, 2), Mask);
    EXPECT_TRUE(engine->CanRedo());   // the rest stays
    engine->Redo();
    EXPECT_EQ(px(2, 2), Left);
    EXPECT_FALSE(engine->CanRedo());
    engine->Undo();
    click("id_pencil", 5, 5);
    EXPECT_FALSE(engine->CanRedo());
    EXPECT_TRUE(engine->IsDirty());
}

}  // namespace
