// The tool dialog's Pictures tab: the tool's pictures through the engines and
// back through OK, drawing, the picture size, files, notifications, colours.
#include "EditorsFixture.h"

#include "barwright/editors/frmTool.h"
#include "barwright/picture/CDraw.h"
#include "barwright/picture/CursorResources.h"
#include "barwright/picture/frmImportImageOption.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/forms/Clipboard.h"
#include "platform/forms/MousePointer.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/SaveFile.h"
#include "platform/toolbar/Tool.h"
#include "tests/support/PictureFiles.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <cerrno>

using namespace mDrawParams;
using toolbar::PictureState;

namespace {

constexpr QRgb kMask = qRgb(97, 65, 33);   // the true-colour display's mask colour

// A 16 x 17 tool picture: a diagonal of `ink` over the mask colour, with the
// mask colour in the extra row.
QImage statePicture(QRgb ink, int side = 16)
{
    QImage image(side, side + 1, QImage::Format_RGB32);
    image.fill(kMask);
    for (int i = 0; i < side; ++i)
        image.setPixel(i, i, ink);
    image.setPixel(side - 1, 0, ink);
    return image;
}

QImage pictureImage(const forms::Picture& p)
{
    return p ? p->toImage().convertToFormat(QImage::Format_RGB32) : QImage();
}

QSize bitmapSize(gdi::HDC dc)
{
    int32_t w = 0, h = 0;
    gdi::GetBitmapSize(gdi::HBITMAP(gdi::GetCurrentObject(dc, gdi::OBJ_BITMAP)), &w, &h);
    return {w, h};
}

class ToolPicturesTest : public EditorsTest {
protected:
    void TearDown() override
    {
        EditorsTest::TearDown();
        gdi::SetDisplayBitsPerPixel(32);
    }
    void SetUp() override
    {
        EditorsTest::SetUp();
        gPicWidth = 16;
        gPicHeight = 16;
        gForeColor = -1;
        gBackColor = -1;
        gCurrentToolID.clear();
        gPreviousToolID.clear();
        tool = control->tools()->Add(QStringLiteral("ID_Paint"));
        tool->setName(QStringLiteral("Paint"));
        tool->setImageSize(16);
        for (int i = 0; i < 4; ++i)
            tool->setPicture(PictureState(i), forms::StdPicture::fromImage(statePicture(inks[i])));
    }

    // Opens the tool in the dialog on its Pictures tab and plays `play`.
    void onPicturesTab(const std::function<void(frmTool&)>& play)
    {
        frmTool& d = frmTool::get();
        d.bEditMode = true;
        d.sTool = QStringLiteral("ID_Paint");
        runModal<frmTool>(d, [&](frmTool& f) {
            f.tabMain.setTab(2);
            play(f);
            if (f.Visible())
                f.cmdCxl.click();
        });
    }

    static void canvasClick(frmTool& d, int16_t button, int x, int y)
    {
        const int cell = d.engine(0)->CanvasWidth() / gPicWidth;
        const float cx = float((x * cell + cell / 2) * 15);
        const float cy = float((y * cell + cell / 2) * 15);
        d.picCanvas.MouseDown.fire(button, 0, cx, cy);
        d.picCanvas.MouseUp.fire(button, 0, cx, cy);
    }

    std::shared_ptr<toolbar::Tool> tool;
    const QRgb inks[4] = {qRgb(255, 0, 0), qRgb(0, 128, 0), qRgb(0, 0, 255), qRgb(0, 0, 0)};
};

TEST_F(ToolPicturesTest, FourPicturesGoThroughTheEnginesAndBackExactly)
{
    onPicturesTab([&](frmTool& d) {
        EXPECT_EQ(gMaskColor, int32_t(0x214161));
        for (int i = 0; i < 4; ++i) {
            ASSERT_NE(d.engine(i), nullptr);
            EXPECT_EQ(bitmapSize(d.engine(i)->ImageDC()), QSize(16, 16)) << i;
            EXPECT_EQ(gdi::GetPixel(d.engine(i)->ImageDC(), 3, 3),
                      gdi::RGB(qRed(inks[i]), qGreen(inks[i]), qBlue(inks[i])));
            d.engine(i)->MakeDirty();
        }
        d.cmdOK.click();
    });
    for (int i = 0; i < 4; ++i) {
        const QImage stored = pictureImage(tool->picture(PictureState(i)));
        EXPECT_EQ(stored, statePicture(inks[i])) << "state " << i;
    }
}

TEST_F(ToolPicturesTest, DrawingOnTheNormalCanvasIsStoredOnOK)
{
    onPicturesTab([&](frmTool& d) {
        EXPECT_EQ(gCurrentToolID, u"id_pencil");
        gForeColor = 0x00FFFF;   // yellow
        canvasClick(d, 1, 5, 2);
        d.cmdOK.click();
    });
    const QImage normal = pictureImage(tool->picture(PictureState::Normal));
    ASSERT_EQ(normal.size(), QSize(16, 17));
    EXPECT_EQ(normal.pixel(5, 2), qRgb(255, 255, 0));
    EXPECT_EQ(normal.pixel(0, 16), kMask);
    EXPECT_EQ(normal.pixel(3, 3), inks[0]);
    // Untouched states keep their pictures.
    EXPECT_EQ(pictureImage(tool->picture(PictureState::Pressed)), statePicture(inks[1]));
}

TEST_F(ToolPicturesTest, APictureOfOnlyTransparentPixelsIsStoredAsNothing)
{
    onPicturesTab([&](frmTool& d) {
        d.ExecuteMiscTool(QStringLiteral("id_clearimage"));
        d.tabPics.setTab(1);
        gForeColor = gMaskColor;   // draw a transparent pixel into Pressed
        canvasClick(d, 1, 3, 3);
        d.cmdOK.click();
    });
    EXPECT_EQ(tool->picture(PictureState::Normal), nullptr);
    const QImage pressed = pictureImage(tool->picture(PictureState::Pressed));
    EXPECT_EQ(pressed.pixel(3, 3), kMask);
    EXPECT_TRUE(tool->UseMaskColor());
}

TEST_F(ToolPicturesTest, PicturesSavedWithAnotherMaskColourTakeThisDisplaysColour)
{
    QImage old = statePicture(inks[0]);
    for (int y = 0; y < old.height(); ++y)
        for (int x = 0; x < old.width(); ++x)
            if (old.pixel(x, y) == kMask)
                old.setPixel(x, y, qRgb(192, 192, 192));
    tool->setPicture(PictureState::Normal, nullptr);
    tool->setPicture(PictureState::Pressed, forms::StdPicture::fromImage(old));
    onPicturesTab([&](frmTool& d) {
        EXPECT_EQ(gdi::GetPixel(d.picActual(1).hDC(), 1, 0), gdi::COLORREF(0x214161));
        // The extra row keeps the colour it was saved with.
        EXPECT_EQ(gdi::GetPixel(d.picActual(1).hDC(), 0, 16), gdi::COLORREF(0xC0C0C0));
    });
}

TEST_F(ToolPicturesTest, APictureSizeChangeResizesAllFourEngines)
{
    onPicturesTab([&](frmTool& d) {
        d.coImageSize.setListIndex(24 - 16);
        EXPECT_EQ(gPicWidth, 24);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(bitmapSize(d.engine(i)->ImageDC()), QSize(24, 24)) << i;
            EXPECT_EQ(d.picActual(i).Width(), 24 * 15);
            EXPECT_EQ(d.picActual(i).Height(), 25 * 15);
            EXPECT_EQ(gdi::GetPixel(d.engine(i)->ImageDC(), 2, 2),
                      gdi::RGB(qRed(inks[i]), qGreen(inks[i]), qBlue(inks[i])));
        }
        // Square, and 5 pixels more than a multiple of the picture width.
        const int side = int(d.picCanvas.Width() / 15);
        EXPECT_EQ(d.picCanvas.Height(), d.picCanvas.Width());
        EXPECT_EQ((side - 5) % 24, 0);
        d.cmdOK.click();
    });
    EXPECT_EQ(tool->ImageSize(), 24);
}

TEST_F(ToolPicturesTest, ImportPlacesASmallPictureTopLeftAsOneUndoableStep)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("dot.png"));
    QImage dot(8, 6, QImage::Format_RGB32);
    dot.fill(qRgb(10, 200, 30));
    ASSERT_TRUE(dot.save(file));
    onPicturesTab([&](frmTool& d) {
        forms::testing::answerNextFileDialog(file);
        d.mnuImport.click();
        const gdi::HDC dc = d.picActual(0).hDC();
        EXPECT_EQ(gdi::GetPixel(dc, 7, 5), gdi::RGB(10, 200, 30));
        EXPECT_EQ(gdi::GetPixel(dc, 8, 5), gdi::COLORREF(0x214161));
        EXPECT_EQ(gdi::GetPixel(d.engine(0)->ImageDC(), 0, 0), gdi::RGB(10, 200, 30));
        EXPECT_TRUE(d.engine(0)->IsDirty());
        d.ExecuteMiscTool(QStringLiteral("id_undo"));
        EXPECT_EQ(gdi::GetPixel(d.engine(0)->ImageDC(), 0, 0), gdi::RGB(255, 0, 0));
    });
}

// Every kind of file with transparent parts, 6 x 5 pixels of one colour:
// transparent pixels come in as the mask colour, the others at full opacity
// in their own colour (a pixel at half opacity is not transparent).
TEST_F(ToolPicturesTest, ImportTurnsTransparentPixelsIntoTheMaskColour)
{
    const QRgb ink = qRgb(200, 30, 40);
    const QRgb hidden = qRgb(0, 255, 0);   // what a transparent pixel holds
    auto clear = [](int x, int y) { return x + y < 2 || (x == 5 && y == 4); };
    QImage alpha(6, 5, QImage::Format_ARGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            alpha.setPixel(x, y, clear(x, y) ? qRgba(0, 255, 0, 0) : ink);
    alpha.setPixel(5, 4, qRgba(200, 30, 40, 127));
    alpha.setPixel(4, 4, qRgba(200, 30, 40, 128));
    QImage binary = alpha;   // no half-transparent pixels: XPM has none
    binary.setPixel(5, 4, qRgba(0, 255, 0, 0));
    binary.setPixel(4, 4, ink);
    QImage indexed(6, 5, QImage::Format_Indexed8);
    indexed.setColorTable({qRgba(0, 255, 0, 0), ink});
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            indexed.setPixel(x, y, clear(x, y) ? 0 : 1);
    std::vector<int> gifIndices;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            gifIndices.push_back(clear(x, y) ? 3 : 1);

    QTemporaryDir dir;
    auto write = [&](const char* name, const QByteArray& bytes) {
        const QString file = dir.filePath(QLatin1String(name));
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        return file;
    };
    auto save = [&](const char* name, const QImage& image) {
        const QString file = dir.filePath(QLatin1String(name));
        EXPECT_TRUE(image.save(file));
        return file;
    };
    const QStringList files = {
        write("index.gif", bwtest::gifFile(6, 5, {0, ink, 0, hidden}, gifIndices, 3)),
        write("masked.ico", bwtest::iconFile24(6, 5, [&](int, int) { return ink; }, clear)),
        write("alpha.bmp", bwtest::bmpAlphaFile(6, 5, [&](int x, int y) {
                  return clear(x, y) ? hidden & 0x00FFFFFF : ink;
              })),
        save("alpha.png", alpha),
        save("trns.png", indexed),
        save("none.xpm", binary),
    };
    onPicturesTab([&](frmTool& d) {
        for (const QString& file : files) {
            forms::testing::answerNextFileDialog(file);
            d.mnuImport.click();
            const gdi::HDC dc = d.picActual(0).hDC();
            for (int y = 0; y < 5; ++y)
                for (int x = 0; x < 6; ++x)
                    EXPECT_EQ(gdi::GetPixel(dc, x, y),
                              clear(x, y) ? gdi::COLORREF(0x214161) : gdi::RGB(200, 30, 40))
                        << file.toStdString() << " " << x << "," << y;
            EXPECT_EQ(gdi::GetPixel(dc, 6, 0), gdi::COLORREF(0x214161));
        }
        EXPECT_TRUE(forms::testing::shownMsgBoxes().empty());
    });
}

// A metafile comes in at its natural size: a red rectangle drawn at (2, 3) to
// (9, 11) of a 16 x 16 picture, nothing drawn elsewhere. Its edge may be drawn
// smoothed, so the pixels around it are either red or transparent, never a
// blend. A 16-bit bitmap's white is white.
TEST_F(ToolPicturesTest, ImportReadsMetafilesAndWidensSixteenBitColours)
{
    QTemporaryDir dir;
    const QRect rect(QPoint(2, 3), QPoint(9, 11));
    const std::pair<const char*, QByteArray> files[] = {
        {"rect.wmf", bwtest::placeableWmf(16, 16, rect)},
        {"rect.emf", bwtest::emfFile(16, 16, rect)},
    };
    onPicturesTab([&](frmTool& d) {
        for (const auto& [name, bytes] : files) {
            const QString file = dir.filePath(QLatin1String(name));
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
            f.close();
            forms::testing::answerNextFileDialog(file);
            d.mnuImport.click();
            ASSERT_TRUE(forms::testing::shownMsgBoxes().empty()) << name;
            const gdi::HDC dc = d.picActual(0).hDC();
            const QRect edge = rect.adjusted(-1, -1, 1, 1);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) {
                    const gdi::COLORREF c = gdi::GetPixel(dc, x, y);
                    if (rect.contains(x, y))
                        EXPECT_EQ(c, gdi::RGB(255, 0, 0)) << name << " " << x << "," << y;
                    else if (edge.contains(x, y))
                        EXPECT_TRUE(c == gdi::RGB(255, 0, 0) || c == 0x214161)
                            << name << " " << x << "," << y;
                    else
                        EXPECT_EQ(c, 0x214161u) << name << " " << x << "," << y;
                }
        }
        const QString white = dir.filePath(QStringLiteral("white16.bmp"));
        QFile f(white);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bwtest::bmp565File(3, 2, 0xFFFF));
        f.close();
        forms::testing::answerNextFileDialog(white);
        d.mnuImport.click();
        EXPECT_EQ(gdi::GetPixel(d.picActual(0).hDC(), 2, 1), gdi::RGB(255, 255, 255));
    });
}

// A picture another program put on the clipboard keeps its transparency.
TEST_F(ToolPicturesTest, PasteTurnsTransparentPixelsIntoTheMaskColour)
{
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(qRgba(0, 0, 200, 255));
    image.setPixel(0, 0, qRgba(0, 0, 0, 0));
    image.setPixel(3, 3, qRgba(0, 0, 200, 127));
    QGuiApplication::clipboard()->setImage(image);
    onPicturesTab([&](frmTool& d) {
        d.ExecuteMiscTool(QStringLiteral("id_paste"));
        const gdi::HDC dc = d.engine(0)->ImageDC();
        EXPECT_EQ(gdi::GetPixel(dc, 0, 0), gdi::COLORREF(0x214161));
        EXPECT_EQ(gdi::GetPixel(dc, 3, 3), gdi::COLORREF(0x214161));
        EXPECT_EQ(gdi::GetPixel(dc, 1, 0), gdi::RGB(0, 0, 200));
    });
    forms::Clipboard::Clear();
}

// A bitmap cut one byte short of its last row is refused like any damaged
// file: its missing pixels are never made up.
TEST_F(ToolPicturesTest, ImportOfADamagedFileReportsAndChangesNothing)
{
    QTemporaryDir dir;
    const QString whole = dir.filePath(QStringLiteral("whole.bmp"));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(qRgb(1, 2, 3));
    ASSERT_TRUE(picture.save(whole, "BMP"));
    QFile in(whole);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    const QByteArray bytes = in.readAll();
    const QString file = dir.filePath(QStringLiteral("bad.bmp"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes.left(bytes.size() - 1));
    f.close();
    onPicturesTab([&](frmTool& d) {
        forms::testing::answerNextFileDialog(file);
        forms::testing::answerNextMsgBox(forms::vbOK);
        d.mnuImport.click();
        ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
        EXPECT_EQ(forms::testing::shownMsgBoxes()[0].title, u"Import Image For Normal State");
        EXPECT_EQ(forms::testing::shownMsgBoxes()[0].text,
                  QStringLiteral("Invalid picture: %1 (The file ends before its pixels do)")
                      .arg(file));
        EXPECT_EQ(d.engine(0)->UndoCount(), 0);
        EXPECT_FALSE(d.engine(0)->IsDirty());
        EXPECT_EQ(gdi::GetPixel(d.picActual(0).hDC(), 0, 0), gdi::RGB(255, 0, 0));
    });
}

TEST_F(ToolPicturesTest, ExportWritesTheImageRowsWithTransparentAsLightGray)
{
    QTemporaryDir dir;
    onPicturesTab([&](frmTool& d) {
        d.tabPics.setTab(2);
        forms::testing::answerNextFileDialog(dir.filePath(QStringLiteral("out.png")));
        d.mnuExport.click();
    });
    const QImage out(dir.filePath(QStringLiteral("out.png.bmp")));
    ASSERT_FALSE(out.isNull());
    EXPECT_EQ(out.size(), QSize(16, 16));
    EXPECT_EQ(out.pixel(2, 2), inks[2]);
    EXPECT_EQ(out.pixel(0, 15), qRgb(192, 192, 192));


    // The disk fills at the last byte of the next export: the cause is said
    // and the earlier picture stays.
    const QString written = dir.filePath(QStringLiteral("out.png.bmp"));
    QFile file(written);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray earlier = file.readAll();
    file.close();
    onPicturesTab([&](frmTool& d) {
        d.tabPics.setTab(0);
        forms::testing::answerNextFileDialog(written);
        forms::testing::answerNextMsgBox(forms::vbOK);
        rt::testing::failSaveWrites(ENOSPC, earlier.size() - 1);
        d.mnuExport.click();
        rt::testing::failSaveWrites(0);
        ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
        EXPECT_TRUE(forms::testing::shownMsgBoxes()[0].text.endsWith(
            written + QStringLiteral(" (No space left on device)")))
            << forms::testing::shownMsgBoxes()[0].text.toStdString();
    });
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), earlier);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("out.png.bmp")});
}

TEST_F(ToolPicturesTest, PickupNotifiesTheColoursAndReturnsToTheFormerTool)
{
    onPicturesTab([&](frmTool& d) {
        d.tbarTools.control()->clickTool(d.tbarTools.control()->tools()->Item(
            QStringLiteral("id_pickup")));
        EXPECT_EQ(gCurrentToolID, u"id_pickup");
        EXPECT_EQ(gPreviousToolID, u"id_pencil");
        canvasClick(d, 1, 4, 4);   // the red diagonal: notification 2
        EXPECT_EQ(d.picForecolorPreview.BackColor(), 0x0000FF);
        EXPECT_EQ(gCurrentToolID, u"id_pencil");
        d.tbarTools.control()->clickTool(d.tbarTools.control()->tools()->Item(
            QStringLiteral("id_pickup")));
        canvasClick(d, 2, 9, 2);   // transparent, right button: notification 3
        EXPECT_EQ(d.picBackcolorPreview.BackColor(), gMaskColor);
    });
}

TEST_F(ToolPicturesTest, CanvasShowsTheChosenToolsCursor)
{
    onPicturesTab([&](frmTool& d) {
        // The tool of the load, the pencil, already shows its own.
        EXPECT_EQ(d.picCanvas.MousePointer(), forms::vbCustom);
        EXPECT_EQ(d.picCanvas.MouseIcon(), CursorResources::LoadResCursor(1001));
        d.tbarTools.control()->clickTool(
            d.tbarTools.control()->tools()->Item(QStringLiteral("id_fill")));
        const forms::Picture fill = CursorResources::LoadResCursor(1003);
        EXPECT_EQ(d.picCanvas.MouseIcon(), fill);
        // Over the canvas's drawing area, with the bucket's hot spot.
        QWidget* area = d.picCanvas.widget()->childAt(10, 10);
        ASSERT_NE(area, nullptr);
        EXPECT_EQ(area->cursor().shape(), Qt::BitmapCursor);
        EXPECT_EQ(area->cursor().hotSpot(), fill->hotSpot());
    });
}

TEST_F(ToolPicturesTest, AnEnlargingPasteResizesEveryEngineAndSelects)
{
    forms::Clipboard::SetData(forms::StdPicture::fromImage(statePicture(qRgb(9, 9, 9), 24)));
    onPicturesTab([&](frmTool& d) {
        forms::testing::answerNextModal<frmImportImageOption>([](frmImportImageOption& o) {
            o.opEnlargeBitmap.setValue(true);
            o.cmdOK.click();
        });
        d.ExecuteMiscTool(QStringLiteral("id_paste"));   // notifications 5, then 4
        EXPECT_EQ(gPicWidth, 24);
        EXPECT_EQ(d.coImageSize.ListIndex(), 8);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(bitmapSize(d.engine(i)->ImageDC()), QSize(24, 24)) << i;
        EXPECT_EQ(gCurrentToolID, u"id_select");
        EXPECT_EQ(d.tbarTools.control()->tools()->Item(QStringLiteral("id_select"))->State(), 1);
    });
    forms::Clipboard::Clear();
}

TEST_F(ToolPicturesTest, PaletteButtonsSetTheLeftAndRightColours)
{
    struct Case {
        int16_t button;
        bool left;
    };
    for (const Case c : {Case{1, true}, Case{2, false}, Case{4, false}}) {
        onPicturesTab([&](frmTool& d) {
            const int32_t cell = d.lbPalette(9).BackColor();
            d.lbPalette(9).MouseDown.fire(c.button, 0, 1, 1);
            EXPECT_EQ(c.left ? gForeColor : gBackColor, cell) << c.button;
            EXPECT_EQ((c.left ? d.picForecolorPreview : d.picBackcolorPreview).BackColor(), cell);
        });
    }
}

TEST_F(ToolPicturesTest, ShortcutsRunTheCommandsOnTheShownPicture)
{
    onPicturesTab([&](frmTool& d) {
        d.cmdImage.SetFocus();
        ASSERT_FALSE(d.IsFocusOnPictureNavigation());
        int16_t key = 46;   // Shift+Ctrl+Delete clears
        d.KeyDown.fire(key, 3);
        EXPECT_EQ(gdi::GetPixel(d.engine(0)->ImageDC(), 3, 3), gdi::COLORREF(0x214161));
        d.Timer1.TimerEvent.fire();
        EXPECT_TRUE(d.IsMiscToolEnabled(QStringLiteral("id_undo")));
        key = 90;           // Ctrl+Z undoes
        d.KeyDown.fire(key, 2);
        EXPECT_EQ(gdi::GetPixel(d.engine(0)->ImageDC(), 3, 3), gdi::RGB(255, 0, 0));
        key = 40;           // Shift+Down nudges
        d.KeyDown.fire(key, 1);
        EXPECT_EQ(gdi::GetPixel(d.engine(0)->ImageDC(), 3, 4), gdi::RGB(255, 0, 0));
        d.tabPics.SetFocus();   // no nudging from the picture navigation
        d.KeyDown.fire(key, 1);
        EXPECT_EQ(gdi::GetPixel(d.engine(0)->ImageDC(), 3, 4), gdi::RGB(255, 0, 0));
    });
}

// Every zoomed cell inside its grid cell: the canvas's side is 5 + k * W and
// its border leaves k * W + 1 pixels, whole cells and the closing grid line.
TEST_F(ToolPicturesTest, CanvasGridMatchesItsCellsAtEverySize)
{
    for (int side : {16, 22, 24, 32}) {
        onPicturesTab([&](frmTool& d) {
            d.coImageSize.setListIndex(side - 16);
            const int outer = int(d.picCanvas.Width() / 15);
            const int inside = d.engine(0)->CanvasWidth();
            EXPECT_EQ((outer - 5) % side, 0) << side;
            ASSERT_EQ((inside - 1) % side, 0) << side;
            const int cell = (inside - 1) / side;
            EXPECT_EQ(d.engine(0)->CanvasHeight(), inside);

            // On screen, as a person sees it: the border, then the canvas.
            const QImage shot = d.picCanvas.widget()->grab().toImage();
            ASSERT_EQ(shot.width(), outer);
            const gdi::HDC image = d.engine(0)->ImageDC();
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x) {
                    const QRgb want = forms::toQColor(int32_t(gdi::GetPixel(image, x, y))).rgb();
                    // The inside of the cell, off the grid lines.
                    for (int cy = y * cell + 1; cy < (y + 1) * cell; ++cy)
                        for (int cx = x * cell + 1; cx < (x + 1) * cell; ++cx) {
                            const QRgb got = shot.pixel(cx + 2, cy + 2);
                            if (want == kMask)
                                ASSERT_NE(got, kMask) << side << ": hatched " << x << "," << y;
                            else
                                ASSERT_EQ(got, want) << side << ": cell " << x << "," << y;
                        }
                }
            // The mask colour itself shows nowhere: no band at the edges.
            for (int y = 0; y < shot.height(); ++y)
                for (int x = 0; x < shot.width(); ++x)
                    ASSERT_NE(shot.pixel(x, y), kMask) << side << ": at " << x << "," << y;
        });
    }
}

TEST_F(ToolPicturesTest, MaskColourFollowsTheDisplayDepth)
{
    const QString note = QStringLiteral("Color Depth Note");
    struct Case {
        int32_t bits;
        gdi::COLORREF mask;
        bool noted;
    };
    // 256 colours: the first palette entry that reads back unchanged and is
    // no standard colour; 16 colours: light grey, with the note.
    for (const Case c : {Case{4, gdi::RGB(192, 192, 192), true},
                         Case{8, gdi::RGB(192, 220, 192), false},
                         Case{32, gdi::RGB(97, 65, 33), false}}) {
        FreeDrawResources();
        gdi::SetDisplayBitsPerPixel(c.bits);
        if (c.noted)
            forms::testing::answerNextMsgBox(forms::vbOK);
        frmTool& d = frmTool::get();
        EXPECT_EQ(gdi::GetBitmapBitsPixel(d.picWork.Image()->Handle()), c.bits);
        EXPECT_EQ(gMaskColor, int32_t(c.mask)) << c.bits;
        const auto& boxes = forms::testing::shownMsgBoxes();
        EXPECT_EQ(!boxes.empty() && boxes.back().title == note, c.noted) << c.bits;
        EXPECT_FALSE(c.bits == 8 && Is16Color(gMaskColor));
        if (c.bits == 4) {   // the light grey cell now paints transparent pixels
            EXPECT_EQ(d.lbPalette(7).BackColor(), gMaskColor);
        }
        d.Unload();
        forms::testing::clearShown();
    }
    FreeDrawResources();
}

}  // namespace

namespace {

// The Pictures tab with a picture loaded, grabbed offscreen; with
// BW_EDITORS_SHOT_DIR set it is written there as tool-pictures.png.
TEST_F(ToolPicturesTest, PicturesTabRenders)
{
    onPicturesTab([&](frmTool& d) {
        forms::testing::processEvents(150);   // the cover-up timer
        const QImage shot = d.window()->window()->grab().toImage();
        ASSERT_GT(shot.width(), 300);
        if (qEnvironmentVariableIsSet("BW_EDITORS_SHOT_DIR")) {
            EXPECT_TRUE(shot.save(QDir(qEnvironmentVariable("BW_EDITORS_SHOT_DIR"))
                                      .filePath(QStringLiteral("tool-pictures.png"))));
        }
    });
}

}  // namespace
