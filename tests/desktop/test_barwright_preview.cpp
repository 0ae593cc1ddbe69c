// Barwright's preview on a real desktop: every shown toolbar is drawn, and a
// toolbar dragged off its dock floats above the banner where it was dropped.
#include "PreviewFixture.h"

using namespace desktop;

namespace {

QJsonObject toolbar(const QString& name, const QString& tool, int dockingFlags, int row)
{
    return QJsonObject{{"Name", name},
                       {"DockingFlags", dockingFlags},
                       {"PositionState", QJsonArray{0, row, 0, 0, 0, 0, 0}},
                       {"Tools", QJsonArray{QJsonObject{{"ID", tool}}}}};
}

// Two toolbars of one tool each, docked at the top: "Wide" with a green
// picture, then "Standard" with a red one.
QByteArray configuration(int wideFlags, int standardRow)
{
    const QJsonObject config{
        {"format", "Zentribar configuration"},
        {"version", 1},
        {"tools", QJsonArray{QJsonObject{{"ID", "ID_Green"}, {"Pictures", QJsonObject{{"Normal", 0}}}},
                             QJsonObject{{"ID", "ID_Red"}, {"Pictures", QJsonObject{{"Normal", 1}}}}}},
        {"toolbars", QJsonArray{toolbar("Wide", "ID_Green", wideFlags, 0),
                                toolbar("Standard", "ID_Red", 31, standardRow)}},
        {"pictures", QJsonArray{picture(kGreen), picture(kRed)}},
    };
    return QJsonDocument(config).toJson();
}

TEST_F(BarwrightPreviewDesktop, AToolbarAfterAStretchedOneIsDrawnOnTheNextRow)
{
    // Both in row 0, the stretched toolbar first in the collection.
    const WindowId preview = start(configuration(31 | 32, 0));
    ASSERT_NE(preview, 0u);
    const Found green = waitForColour(preview, kGreen, [](const QRect&) { return true; });
    EXPECT_EQ(green.count, kPicturePixels) << "the stretched toolbar is not drawn";
    const Found red = waitForColour(preview, kRed, [&](const QRect& box) {
        return box.top() > green.box.bottom();
    });
    EXPECT_EQ(red.count, kPicturePixels) << "the toolbar after the stretched one is not drawn";
    EXPECT_GT(red.box.top(), green.box.bottom()) << "not on a row of its own";
}

TEST_F(BarwrightPreviewDesktop, AToolbarDraggedOffTheDockFloatsAboveTheBannerAndDocksAgain)
{
    const WindowId preview = start(configuration(31, 1));
    ASSERT_NE(preview, 0u);
    const QRect client = d->clientRect(preview);
    const Found docked = waitForColour(preview, kRed, [](const QRect&) { return true; });
    ASSERT_EQ(docked.count, kPicturePixels);

    // The grab handle left of the tool, dropped in the middle of the
    // preview: on the banner.
    const QPoint handle = client.topLeft() + QPoint(docked.box.left() - 10, docked.box.center().y());
    const QPoint middle = client.center();
    const QRgb banner = d->grab(QRect(middle, QSize(1, 1))).pixel(0, 0);
    EXPECT_LT(qRed(banner), qBlue(banner)) << "no banner under the drop";
    d->drag(handle, middle, 10);
    const QPoint dropped = middle - client.topLeft();
    const Found floating = waitForColour(preview, kRed, [&](const QRect& box) {
        return (box.center() - dropped).manhattanLength() < 40;
    });
    EXPECT_EQ(floating.count, kPicturePixels) << "the floating toolbar is hidden";
    EXPECT_LT((floating.box.center() - dropped).manhattanLength(), 40)
        << "not where it was dropped: " << floating.box.x() << "," << floating.box.y();

    // Its title, dragged to the top edge, docks it there again.
    const QPoint title = client.topLeft() + QPoint(floating.box.left() + 5, floating.box.top() - 12);
    d->drag(title, client.topLeft() + QPoint(client.width() / 2, 4), 10);
    const Found back = waitForColour(preview, kRed, [](const QRect& box) { return box.top() < 40; });
    EXPECT_EQ(back.count, kPicturePixels);
    EXPECT_LT(back.box.top(), 40) << "not docked at the top";
    EXPECT_EQ(find(d->grabWindow(preview), kGreen).count, kPicturePixels);
}

}  // namespace
