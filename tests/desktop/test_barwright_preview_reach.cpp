// Everything of the preview in reach on a real desktop: the banner never
// covers a docked toolbar, a toolbar longer than the window lists the rest
// in its More Tools button, an invisible tool leaves no trace, a greyed
// picture stays transparent, a tool shows its tip, and a tool clicked shows
// selected in the tree.
#include "PreviewFixture.h"

using namespace desktop;

namespace {

// A configuration of toolbars (name, dock area, row, tool IDs) whose tools
// each show one of `pictures`; `tools` adds settings to a tool by ID.
struct Bar {
    QString name;
    int area;
    int row;
    QStringList tools;
};

QByteArray configuration(const std::vector<std::pair<QString, int>>& toolPictures,
                         const QStringList& pictures, const std::vector<Bar>& bars,
                         const QJsonObject& settings = {})
{
    QJsonArray tools;
    for (const auto& [id, index] : toolPictures) {
        QJsonObject tool = settings[id].toObject();
        tool.insert("ID", id);
        tool.insert("Pictures", QJsonObject{{"Normal", index}});
        tools.append(tool);
    }
    QJsonArray toolbars;
    for (const Bar& bar : bars) {
        QJsonArray entries;
        for (const QString& id : bar.tools)
            entries.append(QJsonObject{{"ID", id}});
        toolbars.append(QJsonObject{{"Name", bar.name},
                                    {"PositionState", QJsonArray{bar.area, bar.row, 0, 0, 0, 0, 0}},
                                    {"Tools", entries}});
    }
    return QJsonDocument(QJsonObject{{"format", "Zentribar configuration"},
                                     {"version", 1},
                                     {"tools", tools},
                                     {"toolbars", toolbars},
                                     {"pictures", QJsonArray::fromStringList(pictures)}})
        .toJson();
}

bool bluish(QRgb p)
{
    return qBlue(p) > qRed(p) + 60;
}

TEST_F(BarwrightPreviewDesktop, AtASmallSizeTheBannerCoversNoDockedToolbar)
{
    const WindowId preview = start(configuration(
        {{"ID_Red", 0}, {"ID_Green", 1}, {"ID_Yellow", 2}, {"ID_Magenta", 3}, {"ID_Orange", 4},
         {"ID_Cyan", 5}},
        {picture(kRed), picture(kGreen), picture(kYellow), picture(kMagenta), picture(kOrange),
         picture(kCyan)},
        {{"A", 0, 0, {"ID_Red", "ID_Green"}}, {"B", 0, 1, {"ID_Yellow"}},
         {"L", 2, 0, {"ID_Magenta", "ID_Orange"}}, {"R", 3, 0, {"ID_Cyan"}}}));
    ASSERT_NE(preview, 0u);
    d->resizeWindow(preview, QSize(260, 130));
    ASSERT_TRUE(waitFor([&] { return d->clientRect(preview).height() < 200; }, kPatience));
    for (const QRgb colour : {kRed, kGreen, kYellow, kMagenta, kOrange, kCyan}) {
        SCOPED_TRACE(qPrintable(QColor(colour).name()));
        EXPECT_EQ(waitForColour(preview, colour, [](const QRect&) { return true; }).count,
                  kPicturePixels)
            << "a docked toolbar is covered";
    }
    // The banner shows in what the toolbars leave.
    const QImage shot = d->grabWindow(preview);
    const QRect free(QPoint(find(shot, kOrange).box.right() + 4, find(shot, kYellow).box.bottom() + 4),
                     QPoint(find(shot, kCyan).box.left() - 4, shot.height() - 1));
    ASSERT_FALSE(free.isEmpty());
    EXPECT_TRUE(bluish(shot.pixel(free.center()))) << "no banner in the free area";
}

TEST_F(BarwrightPreviewDesktop, AToolbarLongerThanTheWindowListsTheRestInItsMoreToolsButton)
{
    std::vector<std::pair<QString, int>> tools;
    QStringList entries;
    for (int i = 1; i <= 30; ++i) {
        tools.emplace_back(QStringLiteral("ID_%1").arg(i), 0);
        entries << tools.back().first;
    }
    tools.emplace_back("ID_Last", 1);
    entries << "ID_Last";
    const WindowId preview = start(
        configuration(tools, {picture(kRed), picture(kYellow)}, {{"Long", 0, 0, entries}}));
    ASSERT_NE(preview, 0u);
    const QRect client = d->clientRect(preview);
    ASSERT_TRUE(waitFor([&] { return find(d->grabWindow(preview), kRed).count > 0; }, kPatience));
    const QImage shot = d->grabWindow(preview);
    const Found red = find(shot, kRed);
    EXPECT_EQ(find(shot, kYellow).count, 0) << "the last entry shows";
    EXPECT_LT(red.box.right(), client.width() - 11) << "entries run to the window's edge";

    // The button at the toolbar's end lists what is past it.
    d->click(client.topLeft() + QPoint(client.width() - 8, red.box.center().y()));
    Found listed;
    EXPECT_TRUE(waitFor(
        [&] {
            for (const QRect& popup : d->unmanagedWindows()) {
                listed = find(d->grab(popup), kYellow);
                if (listed.count > 0)
                    return true;
            }
            return false;
        },
        kPatience))
        << "no list with the last entry";
    d->key("Escape");
}

TEST_F(BarwrightPreviewDesktop, AnInvisibleToolLeavesNoPixelsAndAGreyedOneStaysTransparent)
{
    const WindowId preview = start(configuration(
        {{"ID_Red", 0}, {"ID_Hidden", 1}, {"ID_Grey", 2}, {"ID_Green", 3}},
        {picture(kRed), picture(kMagenta), picture(qRgb(0, 0, 200), 8), picture(kGreen)},
        {{"Gap", 0, 0, {"ID_Red", "ID_Hidden", "ID_Grey", "ID_Green"}}},
        QJsonObject{{"ID_Hidden", QJsonObject{{"Visible", false}}},
                    {"ID_Grey", QJsonObject{{"Enabled", false}}}}));
    ASSERT_NE(preview, 0u);
    const Found red = waitForColour(preview, kRed, [](const QRect&) { return true; });
    const Found green = waitForColour(preview, kGreen, [](const QRect&) { return true; });
    ASSERT_EQ(red.count, kPicturePixels);
    const QImage shot = d->grabWindow(preview);
    EXPECT_EQ(find(shot, kMagenta).count, 0) << "the invisible tool is drawn";
    EXPECT_EQ(green.box.left() - red.box.left(), 2 * 23) << "the invisible tool takes room";

    // The disabled tool between them: its masked half shows the toolbar.
    const QRgb toolbar = shot.pixel(red.box.right() + 2, red.box.center().y());
    const QPoint image(red.box.left() + 23, red.box.top());
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const QRgb p = shot.pixel(image + QPoint(x, y));
            if (x < 8) {
                ASSERT_EQ(p, toolbar) << "masked pixel " << x << "," << y << " is not transparent";
            } else {
                ASSERT_NE(p, toolbar) << x << "," << y;
                ASSERT_TRUE(qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)) << "not grey";
            }
        }
    }
}

TEST_F(BarwrightPreviewDesktop, AToolShowsItsTipUnderThePointer)
{
    const WindowId preview = start(configuration(
        {{"ID_Red", 0}}, {picture(kRed)}, {{"Main", 0, 0, {"ID_Red"}}},
        QJsonObject{{"ID_Red", QJsonObject{{"TooltipText", "Red tool"}}}}));
    ASSERT_NE(preview, 0u);
    const Found red = waitForColour(preview, kRed, [](const QRect&) { return true; });
    ASSERT_EQ(red.count, kPicturePixels);
    const QPoint over = d->clientRect(preview).topLeft() + red.box.center();
    d->moveMouse(over + QPoint(-1, 0));
    d->moveMouse(over);
    QRect tip;
    EXPECT_TRUE(waitFor(
        [&] {
            for (const QRect& r : d->unmanagedWindows())
                if ((r.center() - over).manhattanLength() < 120 && r.height() < 60)
                    tip = r;
            return !tip.isEmpty();
        },
        kPatience))
        << "no tip shows";
}

TEST_F(BarwrightPreviewDesktop, AToolClickedInThePreviewShowsSelectedInTheTree)
{
    const WindowId preview = start(configuration(
        {{"ID_Red", 0}, {"ID_Green", 1}}, {picture(kRed), picture(kGreen)},
        {{"Main", 0, 0, {"ID_Red", "ID_Green"}}}));
    ASSERT_NE(preview, 0u);
    const QRect client = d->clientRect(preview);
    const Found red = waitForColour(preview, kRed, [](const QRect&) { return true; });
    const Found green = waitForColour(preview, kGreen, [](const QRect&) { return true; });
    ASSERT_EQ(red.count + green.count, 2 * kPicturePixels);

    // The top of the highlighted row of the panel: a band of highlight at
    // least 10 rows high; -1 when none shows.
    const auto highlightTop = [&] {
        const QImage shot = d->grabWindow(panel);
        int run = 0;
        for (int y = 0; y < shot.height(); ++y) {
            int n = 0;
            for (int x = 0; x < shot.width(); ++x)
                n += bluish(shot.pixel(x, y)) ? 1 : 0;
            run = n > 60 ? run + 1 : 0;
            if (run == 10)
                return y - 9;
        }
        return -1;
    };
    int redRow = -1, greenRow = -1;
    d->click(client.topLeft() + red.box.center());
    EXPECT_TRUE(waitFor([&] { return (redRow = highlightTop()) >= 0; }, kPatience))
        << "no row of the tree shows selected";
    d->click(client.topLeft() + green.box.center());
    EXPECT_TRUE(waitFor(
        [&] {
            greenRow = highlightTop();
            return greenRow >= 0 && greenRow != redRow;
        },
        kPatience))
        << "the selection does not follow the click";
}

}  // namespace
