// Barwright's picture views on a real desktop: the import options preview,
// the actual-size boxes while the engine draws, and the screen grab.
#include "BarwrightFixture.h"
#include "tests/support/PictureFiles.h"

#include <QFile>
#include <QImage>

#include <algorithm>

using namespace desktop;

namespace {

const QRgb kMask = qRgb(97, 65, 33);   // the mask colour of a true-colour display
const QString kPreview = QStringLiteral("^Halvorbar Configuration Preview$");
const QString kImportOptions = QStringLiteral("^Select Image Import Option$");
const QString kImportDialog = QStringLiteral("^Import Image For Normal State$");
const QRect kScreen(0, 0, 1280, 1024);   // the test server's screen

// Client pixels of the tool dialog: the state tab captions, the preview box's
// holder, and the actual-size box of state picture i (16 x 17 pixels).
const QRect kStateCaptions(210 / 15, 1050 / 15, 5040 / 15, 420 / 15);
const QRect kPreviewHolder(5340 / 15, 3150 / 15, 1200 / 15, 1200 / 15);
QRect actualBox(int i)
{
    return QRect(kActualBoxes.x() + i % 2 * 36, kActualBoxes.y() + i / 2 * 38, 16, 17);
}

// A picture every pixel of which has a colour of its own, none the mask's.
QRgb gradient(int x, int y)
{
    return qRgb(40 + 5 * x, 20 + 7 * y, 230);
}

// Where the block of the picture lies in the shot: its top-left pixel, found
// by the picture's pixel (sx, sy) and checked over w x h; (-1, -1) if nowhere.
QPoint findBlock(const QImage& shot, int sx, int sy, int w, int h)
{
    for (int y = 0; y + h <= shot.height(); ++y)
        for (int x = 0; x + w <= shot.width(); ++x) {
            if (shot.pixel(x, y) != gradient(sx, sy))
                continue;
            bool all = true;
            for (int j = 0; j < h && all; ++j)
                for (int i = 0; i < w && all; ++i)
                    all = shot.pixel(x + i, y + j) == gradient(sx + i, sy + j);
            if (all)
                return {x, y};
        }
    return {-1, -1};
}

class BarwrightPictures : public BarwrightDesktop {
protected:
    // A bitmap file of the gradient, w x h.
    QString pictureFile(int w, int h)
    {
        QImage picture(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                picture.setPixel(x, y, gradient(x, y));
        const QString file = d->path(QStringLiteral("picture.bmp"));
        EXPECT_TRUE(picture.save(file, "BMP"));
        return file;
    }
    // A new tool's Pictures tab, then "I&mage...", "&Import Image From
    // File..." of a w x h picture, larger than the tool's: the options window.
    void askToImport(int w, int h)
    {
        const QString file = pictureFile(w, h);
        dialog = newToolOnPictures();
        ASSERT_NE(dialog, 0u);
        ASSERT_NO_FATAL_FAILURE(importFile(file));
        options = d->waitForWindow(kImportOptions, kAppear);
        ASSERT_NE(options, 0u);
        d->waitForPainted(options, kAppear);
        ASSERT_TRUE(d->waitForActive(options));
    }
    // "I&mage...", "&Import Image From File...", the file typed into the dialog.
    void importFile(const QString& file)
    {
        d->key(QStringLiteral("alt+m"));
        d->key(QStringLiteral("i"));
        const WindowId open = d->waitForWindow(kImportDialog, kAppear);
        ASSERT_NE(open, 0u);
        d->waitForPainted(open, kAppear);
        ASSERT_TRUE(d->waitForActive(open));
        d->type(file);
        d->key(QStringLiteral("Return"));
    }
    // Waits until the window shows the part of the picture: its shot and
    // where the part lies in it.
    bool waitForBlock(WindowId w, const QRect& part, QImage& shot, QPoint& at)
    {
        return waitFor(
            [&] {
                shot = d->grabWindow(w);
                at = findBlock(shot, part.x(), part.y(), part.width(), part.height());
                return at.x() >= 0;
            },
            kPatience);
    }
    // Pixels of the picture rows (not the mask row) of a state's box that
    // are not the mask colour.
    int drawnPixels(const QRect& client, int state)
    {
        const QImage box = d->grab(actualBox(state).translated(client.topLeft()));
        int n = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                n += box.pixel(x, y) != kMask;
        return n;
    }
    // Every pixel of the screen outside the given rectangles is the bare
    // desktop (the server's black and white weave); the first other one.
    QPoint windowPixel(const std::vector<QRect>& allowed)
    {
        const QImage screen = d->grab(kScreen);
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x) {
                const QRgb p = screen.pixel(x, y);
                if (p == qRgb(0, 0, 0) || p == qRgb(255, 255, 255))
                    continue;
                if (std::none_of(allowed.begin(), allowed.end(),
                                 [&](const QRect& r) { return r.contains(x, y); }))
                    return {x, y};
            }
        return {-1, -1};
    }

    WindowId dialog = 0;    // the tool dialog
    WindowId options = 0;   // the import options window
};

// The preview around a side x side block at `at`: a 4-pixel margin of one
// colour inside a raised one-pixel frame (light top and left, dark bottom and
// right).
void expectFramedPreview(const QImage& shot, QPoint at, int side = 16)
{
    const QRect margin(at - QPoint(4, 4), QSize(side + 8, side + 8));
    const QRect frame = margin.adjusted(-1, -1, 1, 1);
    const QRgb face = shot.pixel(margin.topLeft());
    const QRgb light = shot.pixel(frame.topLeft());
    const QRgb dark = shot.pixel(frame.bottomRight());
    for (int i = 0; i < margin.width(); ++i) {
        EXPECT_EQ(shot.pixel(margin.left() + i, margin.top()), face) << "margin " << i;
        EXPECT_EQ(shot.pixel(margin.left() + i, margin.bottom()), face) << "margin " << i;
        EXPECT_EQ(shot.pixel(margin.left(), margin.top() + i), face) << "margin " << i;
        EXPECT_EQ(shot.pixel(margin.right(), margin.top() + i), face) << "margin " << i;
    }
    for (int i = 0; i < frame.width() - 1; ++i) {
        EXPECT_EQ(shot.pixel(frame.left() + i, frame.top()), light) << "frame " << i;
        EXPECT_EQ(shot.pixel(frame.left(), frame.top() + i), light) << "frame " << i;
        EXPECT_EQ(shot.pixel(frame.left() + 1 + i, frame.bottom()), dark) << "frame " << i;
        EXPECT_EQ(shot.pixel(frame.right(), frame.top() + 1 + i), dark) << "frame " << i;
    }
    EXPECT_GT(qGray(light), qGray(face));
    EXPECT_LT(qGray(dark), qGray(face));
}

TEST_F(BarwrightPictures, TheImportOptionsPreviewShowsTheChosenPartOfThePicture)
{
    ASSERT_NO_FATAL_FAILURE(askToImport(40, 30));

    // The centred clip: the 16 x 16 block from (12, 7), framed.
    QImage shot;
    QPoint block;
    ASSERT_TRUE(waitForBlock(options, QRect(12, 7, 16, 16), shot, block))
        << "the preview does not show the centred 16x16 block";
    expectFramedPreview(shot, block);

    // Shrink: the whole picture in the same place, its corners kept.
    d->key(QStringLiteral("alt+s"));
    ASSERT_TRUE(waitFor(
        [&] {
            shot = d->grabWindow(options);
            return shot.pixel(block) == gradient(0, 0);
        },
        kPatience))
        << "the preview does not follow the option";
    expectFramedPreview(shot, block);

    // OK imports the shrunk picture: the Normal box shows it at once.
    d->key(QStringLiteral("Return"));
    ASSERT_TRUE(d->waitForNoWindow(kImportOptions));
    const QRect client = d->clientRect(dialog);
    EXPECT_TRUE(waitFor(
        [&] {
            return d->grab(actualBox(0).translated(client.topLeft())).pixel(0, 0) ==
                   gradient(0, 0);
        },
        kPatience));
    EXPECT_EQ(drawnPixels(client, 0), 256);
}

TEST_F(BarwrightPictures, AnEnlargingImportReachesTheNormalBoxAtOnce)
{
    ASSERT_NO_FATAL_FAILURE(askToImport(24, 20));

    // Enlarge: the whole picture unscaled in the 24 x 24 preview.
    d->key(QStringLiteral("alt+e"));
    QImage shot;
    QPoint block;
    ASSERT_TRUE(waitForBlock(options, QRect(0, 0, 24, 20), shot, block))
        << "the preview does not show the whole picture";
    expectFramedPreview(shot, block, 24);

    // The file's picture is stretched over the new 24 x 24 one: no mask pixel
    // is left in the Normal box, and its top row is the file's.
    d->key(QStringLiteral("Return"));
    ASSERT_TRUE(d->waitForNoWindow(kImportOptions));
    const QRect box = QRect(actualBox(0).topLeft(), QSize(24, 24))
                          .translated(d->clientRect(dialog).topLeft());
    const auto enlarged = [&] {
        const QImage shot = d->grab(box);
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 24; ++x)
                if (shot.pixel(x, y) == kMask || (y == 0 && shot.pixel(x, y) != gradient(x, 0)))
                    return false;
        return true;
    };
    EXPECT_TRUE(waitFor(enlarged, kPatience))
        << "the Normal box does not show the enlarged picture";
}

TEST_F(BarwrightPictures, TheActualSizeBoxFollowsEveryChangeAtOnce)
{
    dialog = newToolOnPictures();
    ASSERT_NE(dialog, 0u);
    const QRect client = d->clientRect(dialog);
    ASSERT_EQ(drawnPixels(client, 1), 0);

    // A click on the preview shows the Pressed picture.
    const QRect captions = kStateCaptions.translated(client.topLeft());
    const QImage normal = d->grab(captions);
    d->click(client.topLeft() + kPreviewHolder.center());
    ASSERT_TRUE(waitFor([&] { return d->grab(captions) != normal; }, kPatience))
        << "the Pressed picture is not shown";

    const QPoint centre = client.topLeft() + kStateTabs.center();
    stroke(centre - QPoint(90, 0), centre + QPoint(90, 0));
    EXPECT_TRUE(waitFor([&] { return drawnPixels(client, 1) >= 10; }, kPatience))
        << "the stroke did not reach the Pressed box: " << drawnPixels(client, 1);
    EXPECT_EQ(drawnPixels(client, 0), 0);

    d->key(QStringLiteral("ctrl+shift+Delete"));   // Clear Image
    EXPECT_TRUE(waitFor([&] { return drawnPixels(client, 1) == 0; }, kPatience))
        << "the cleared picture did not reach the Pressed box";
}

TEST_F(BarwrightPictures, TheScreenGrabTakesTheWindowsWhollyOffTheScreen)
{
    const WindowId preview = d->waitForWindow(kPreview, kAppear);
    ASSERT_NE(preview, 0u);
    dialog = newToolOnPictures();
    ASSERT_NE(dialog, 0u);
    const std::vector<QRect> before{d->frameRect(preview), d->frameRect(panel),
                                    d->frameRect(dialog)};

    d->key(QStringLiteral("alt+b"));   // "Gra&b..."
    // The grab window at the top-left corner is all that is left in sight.
    WindowId grabber = 0;
    ASSERT_TRUE(waitFor(
        [&] {
            for (const WindowId w : d->windows(QString()))
                if (w != preview && w != panel && w != dialog &&
                    d->frameRect(w).topLeft() == QPoint(0, 0))
                    grabber = w;
            return grabber != 0;
        },
        kAppear))
        << "no grab window";
    d->waitForPainted(grabber, kAppear);
    const std::vector<QRect> allowed{d->frameRect(grabber)};
    QPoint stray;
    waitFor(
        [&] {
            stray = windowPixel(allowed);
            return stray.x() < 0;
        },
        kPatience);
    EXPECT_EQ(stray, QPoint(-1, -1)) << "a window's pixel on the screen";

    d->click(d->clientRect(grabber).topLeft() + QPoint(156, 94));   // "Exit": cancelled
    ASSERT_TRUE(waitFor([&] { return !d->windows(kNewTool).empty(); }, kAppear));
    EXPECT_TRUE(waitFor(
        [&] {
            return d->frameRect(preview) == before[0] && d->frameRect(panel) == before[1] &&
                   d->frameRect(dialog) == before[2];
        },
        kPatience))
        << "the windows are not back in their places";
    EXPECT_TRUE(d->waitForActive(dialog))
        << "the tool dialog is not active again";
}

}  // namespace

// A GIF with a transparent index, imported through the real file dialog: the
// saved picture holds the mask colour exactly where the file is transparent.
TEST_F(BarwrightPictures, AnImportedTransparentGifIsSavedWithTheMaskColour)
{
    const QRgb ink = qRgb(200, 30, 40);
    const auto clear = [](int x, int y) { return x + y < 2 || (x == 5 && y == 4); };
    std::vector<int> indices;
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x)
            indices.push_back(clear(x, y) ? 3 : 1);
    const QString file = d->path(QStringLiteral("clear.gif"));
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bwtest::gifFile(6, 5, {0, ink, 0, qRgb(0, 255, 0)}, indices, 3));
    }
    dialog = newTool();
    ASSERT_NE(dialog, 0u);
    d->key(QStringLiteral("alt+n"));
    d->type(QStringLiteral("Clear"));
    const QRect client = d->clientRect(dialog);
    const QImage general = d->grab(client);
    d->key(QStringLiteral("alt+p"));
    ASSERT_TRUE(waitFor([&] { return d->grab(client) != general; }, kPatience));
    ASSERT_NO_FATAL_FAILURE(importFile(file));
    ASSERT_TRUE(d->waitForNoWindow(kImportDialog));
    // The Normal box shows the picture before OK is pressed.
    const QRect box = actualBox(0).translated(client.topLeft());
    ASSERT_TRUE(waitFor([&] { return d->grab(box).pixel(2, 0) == ink; }, kPatience))
        << "the import did not reach the Normal box";
    // The focus is on "I&mage...", which Return would press: OK by the mouse.
    d->click(client.topLeft() + QPoint((5130 + 1215 / 2) / 15, (5940 + 375 / 2) / 15));
    const QJsonObject tool = applyAndRead(QStringLiteral("ID_Clear"));
    ASSERT_FALSE(tool.isEmpty());
    const QImage picture = normalPicture(tool);
    ASSERT_EQ(picture.size(), QSize(16, 17));
    const QRgb mask = picture.pixel(0, 16);
    EXPECT_EQ(mask, kMask);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(picture.pixel(x, y), x < 6 && y < 5 && !clear(x, y) ? ink : mask)
                << x << "," << y;
}
