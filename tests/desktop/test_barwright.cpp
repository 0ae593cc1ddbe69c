// Barwright on a real desktop: a tool typed into the tool dialog and a stroke
// drawn on its picture, both read back from the configuration file that Apply
// writes.
#include "BarwrightFixture.h"

#include <QFile>
#include <QImage>

using namespace desktop;

namespace {

TEST_F(BarwrightDesktop, EveryTypedCharacterReachesTheToolsNameAndId)
{
    ASSERT_NE(newTool(), 0u);
    d->key(QStringLiteral("alt+n"));   // "&Name:" hands the focus to the name
    const QString name = QStringLiteral("X ") + printableText();
    d->type(name);
    // The ID follows the name without its blanks and ampersands.
    QString id = QStringLiteral("ID_") + name;
    id.remove(u' ');
    id.remove(u'&');
    const QJsonObject tool = okAndApply(id);
    ASSERT_FALSE(tool.isEmpty()) << "no tool " << id.toStdString();
    EXPECT_EQ(tool[QStringLiteral("Name")].toString(), name.trimmed());
}

TEST_F(BarwrightDesktop, AFullDiskIsSaidAndApplyStaysToTryAgain)
{
    endSession();
    QFile file(config);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    file.close();
    // A file size limit below the configuration's size refuses its writes
    // as a full disk does. The signal that comes with it is ignored: a full
    // disk sends none.
    panel = launch(QStringLiteral("/bin/sh"),
                   {QStringLiteral("-c"),
                    QStringLiteral("trap '' XFSZ; exec prlimit --fsize=%1 \"$0\" \"$@\"")
                        .arg(saved.size() / 2),
                    programPath(QStringLiteral("barwright")), config},
                   kPanel, &process);
    ASSERT_NE(panel, 0u);
    ASSERT_NE(newTool(), 0u);
    d->type(QStringLiteral("Full"));
    d->key(QStringLiteral("Return"));
    ASSERT_TRUE(d->waitForNoWindow(kNewTool));
    for (int attempt = 1; attempt <= 2; ++attempt) {   // Apply is still there to try again
        SCOPED_TRACE(attempt);
        d->activate(panel);
        d->key(QStringLiteral("alt+a"));
        ASSERT_NE(appeared(QStringLiteral("^Save Control Properties$")), 0u);
        d->key(QStringLiteral("Return"));
        ASSERT_TRUE(d->waitForNoWindow(QStringLiteral("^Save Control Properties$")));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), saved);
        file.close();
    }
    process->kill();
}

TEST_F(BarwrightDesktop, AStrokeDrawnOnTheCanvasReachesThePicture)
{
    const WindowId dialog = newTool();
    ASSERT_NE(dialog, 0u);
    d->key(QStringLiteral("alt+n"));
    d->type(QStringLiteral("Stroke"));
    const QRect client = d->clientRect(dialog);
    const QImage general = d->grab(client);
    d->key(QStringLiteral("alt+p"));   // the Pictures tab, the pencil chosen
    ASSERT_TRUE(waitFor([&] { return d->grab(client) != general; }, kPatience));
    // The canvas is centred in the state tabs (twips 210, 1050, 5040 x 4680
    // of the client area, below their captions): a stroke across its middle.
    const QPoint centre = client.topLeft() + QPoint((210 + 2520) / 15, (1050 + 2520) / 15);
    stroke(centre - QPoint(90, 0), centre + QPoint(90, 0));

    const QJsonObject tool = okAndApply(QStringLiteral("ID_Stroke"));
    ASSERT_FALSE(tool.isEmpty());
    const QImage picture = normalPicture(tool);
    ASSERT_FALSE(picture.isNull()) << "no Normal picture";
    ASSERT_EQ(picture.size(), QSize(16, 17));
    const QRgb mask = picture.pixel(0, 16);
    // One row holds the stroke, a run of at least ten drawn pixels; every
    // other pixel of the picture is transparent.
    int strokeRow = -1;
    for (int y = 0; y < 16; ++y) {
        int drawn = 0;
        for (int x = 0; x < 16; ++x)
            drawn += picture.pixel(x, y) != mask;
        if (drawn >= 10)
            strokeRow = y;
        else
            EXPECT_EQ(drawn, 0) << "row " << y;
    }
    EXPECT_GE(strokeRow, 5);
    EXPECT_LE(strokeRow, 10);
}

TEST_F(BarwrightDesktop, ThreeSessionsSaveTheSameWindowSizes)
{
    std::vector<QRect> panels, previews;
    for (int session = 0; session < 3; ++session) {
        if (session > 0)
            startSession();
        // What is saved is the outer rectangle the window manager shows.
        const QRect frame = d->frameRect(panel);
        endSession();
        panels.push_back(storedRect(QStringLiteral("ControlPanel")));
        previews.push_back(storedRect(QStringLiteral("Preview")));
        EXPECT_EQ(panels.back().size(), frame.size() * 15) << "session " << session;
    }
    EXPECT_EQ(panels[1], panels[0]);
    EXPECT_EQ(panels[2], panels[0]);
    EXPECT_EQ(previews[1], previews[0]);
    EXPECT_EQ(previews[2], previews[0]);
}

TEST_F(BarwrightDesktop, ThePanelKeepsItsLoadedSizeAsItsSmallest)
{
    const QRect loaded = d->frameRect(panel);
    // The frame's bottom right corner dragged out grows the window ...
    QPoint corner = loaded.bottomRight() - QPoint(2, 2);
    d->drag(corner, corner + QPoint(60, 40), 6);
    // The whole drag, not only its first step: the next starts at the corner.
    const QSize grown = loaded.size() + QSize(60, 40);
    ASSERT_TRUE(waitFor([&] { return d->frameRect(panel).size() == grown; }, kPatience))
        << "the corner drag did not reach the window manager";
    // ... and dragged far in stops at the loaded size.
    corner = d->frameRect(panel).bottomRight() - QPoint(2, 2);
    d->drag(corner, corner - QPoint(460, 390), 10);
    waitFor([&] { return d->frameRect(panel).width() <= loaded.width(); }, kPatience);
    EXPECT_EQ(d->frameRect(panel).size(), loaded.size());
    d->resizeWindow(panel, QSize(200, 150));
    waitFor([&] { return d->frameRect(panel).width() < loaded.width(); }, 1000);
    EXPECT_EQ(d->frameRect(panel).size(), loaded.size());
}

TEST_F(BarwrightDesktop, TheCanvasShowsNoMaskColourOutsideTheMaskCells)
{
    const WindowId dialog = newToolOnPictures();
    ASSERT_NE(dialog, 0u);
    const QRect client = d->clientRect(dialog);
    const QRgb mask = qRgb(97, 65, 33);   // the mask colour of a true-colour display
    const auto count = [&](const QRect& area) {
        const QImage shot = d->grab(area.translated(client.topLeft()));
        int n = 0;
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                n += shot.pixel(x, y) == mask;
        return n;
    };
    // The new picture is all mask cells, which the canvas hatches; only the
    // actual-size boxes show the colour itself.
    EXPECT_GT(count(kActualBoxes), 100);
    EXPECT_EQ(count(kStateTabs), 0);
}

TEST_F(BarwrightDesktop, TheCanvasPointerIsTheChosenToolsCursor)
{
    const WindowId dialog = newToolOnPictures();
    ASSERT_NE(dialog, 0u);
    const QRect client = d->clientRect(dialog);
    const QPoint canvas = client.topLeft() + kStateTabs.center();
    QPoint hot;
    d->moveMouse(canvas);
    ASSERT_TRUE(waitFor(
        [&] {
            const QImage pointer = d->pointerImage(&hot);
            return pointer.size() == QSize(32, 32) && hot == QPoint(1, 30);
        },
        kPatience))
        << "the pencil's pointer is not shown; hot spot " << hot.x() << "," << hot.y();
    d->click(client.topLeft() + QPoint((5340 + 570) / 15, (1050 + 630) / 15));   // fill
    d->moveMouse(canvas);
    EXPECT_TRUE(waitFor(
        [&] {
            const QImage pointer = d->pointerImage(&hot);
            return pointer.size() == QSize(32, 32) && hot == QPoint(3, 27);
        },
        kPatience))
        << "the fill tool's pointer is not shown; hot spot " << hot.x() << "," << hot.y();
    d->moveMouse(client.topLeft() + QPoint(5, 5));   // off the canvas: the standard arrow
    EXPECT_TRUE(waitFor([&] { return d->pointerImage(&hot).size() != QSize(32, 32); }, kPatience));
}

}  // namespace
