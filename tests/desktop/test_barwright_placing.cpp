// Building toolbars and menus in Barwright's preview with a real mouse: a
// tool dragged out of the tool tree lands where it was dropped, an entry
// dragged to another toolbar moves and dragged off every toolbar goes, a
// separator comes from an entry's menu, and a menu opens on a click and takes
// a tool. Each is read back from the file that Apply writes.
#include "PreviewFixture.h"

using namespace desktop;

namespace {

constexpr int kTreePicture = 12;   // the tree shows pictures a little smaller

// A tool of one colour: its Normal picture is the one at that index.
QJsonObject colouredTool(const QString& id, int pictureIndex, int type = 0)
{
    return QJsonObject{{"ID", id}, {"Type", type},
                       {"Pictures", QJsonObject{{"Normal", pictureIndex}}}};
}

QJsonArray entries(const QStringList& ids)
{
    QJsonArray list;
    for (const QString& id : ids)
        list.append(QJsonObject{{"ID", id}});
    return list;
}

// "Upper" holds Red and Green, "Lower" the menu tool, whose menu holds
// Yellow; Blue is on no toolbar.
QByteArray configuration()
{
    QJsonObject menu = colouredTool("ID_Menu", 4, 7);
    menu["Menu"] = entries({"ID_Yellow"});
    const auto bar = [](const QString& name, int row, const QStringList& ids) {
        return QJsonObject{{"Name", name}, {"DockingFlags", 31},
                           {"PositionState", QJsonArray{0, row, 0, 0, 0, 0, 0}},
                           {"Tools", entries(ids)}};
    };
    const QJsonObject config{
        {"format", "Zentribar configuration"},
        {"version", 1},
        {"tools", QJsonArray{colouredTool("ID_Red", 0), colouredTool("ID_Green", 1),
                             colouredTool("ID_Blue", 2), colouredTool("ID_Yellow", 3), menu}},
        {"toolbars", QJsonArray{bar("Upper", 0, {"ID_Red", "ID_Green"}),
                                bar("Lower", 1, {"ID_Menu"})}},
        {"pictures", QJsonArray{picture(kRed), picture(kGreen), picture(kBlue),
                                picture(kYellow), picture(kMagenta)}},
    };
    return QJsonDocument(config).toJson();
}

// The IDs of a list of entries as the file holds them ("|" a separator).
QStringList ids(const QJsonArray& list)
{
    QStringList out;
    for (const QJsonValue e : list)
        out << (e[QStringLiteral("Separator")].toBool() ? QStringLiteral("|")
                                                        : e[QStringLiteral("ID")].toString());
    return out;
}

class BarwrightPlacing : public BarwrightPreviewDesktop {
protected:
    void SetUp() override
    {
        BarwrightPreviewDesktop::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        preview = start(configuration());
        ASSERT_NE(preview, 0u);
        // The Tools tab: the tree shows each tool with its picture.
        d->activate(panel);
        d->key(QStringLiteral("alt+s"));
        ASSERT_FALSE(waitForColour(panel, kBlue, kTreePicture).isEmpty())
            << "no Blue in the tool tree";
    }

    // Where the colour shows, side pixels or more each way, in the window
    // (in screen pixels), waiting for it; empty if it does not.
    QRect waitForColour(WindowId w, QRgb colour, int side = 16)
    {
        QRect box;
        waitFor(
            [&] {
                const QRect client = d->clientRect(w);
                box = find(d->grab(client), colour).box;
                if (!box.isEmpty())
                    box.translate(client.topLeft());
                return box.width() >= side && box.height() >= side;
            },
            kPatience);
        return box;
    }

    // Presses at from and drags to to, as a hand does: the drag begins on the
    // way, and the hand stays at the end until shown() holds there (moving a
    // pixel to and fro, so that the target hears of the place) before it lets
    // go.
    void dragTo(QPoint from, QPoint to, const std::function<bool()>& shown)
    {
        d->moveMouse(from);
        d->press();
        const QPoint start = from + QPoint(20, 0);
        for (int i = 1; i <= 4; ++i)
            d->moveMouse(from + (start - from) * i / 4);
        for (int i = 1; i <= 10; ++i)
            d->moveMouse(start + (to - start) * i / 10);
        for (int i = 0; i < kPatience / 100 && !waitFor(shown, 100); ++i)
            d->moveMouse(to + QPoint(0, (i + 1) % 2));
        d->release();
    }
    // The hand stays until the screen near `at` changes: the insertion mark.
    std::function<bool()> markNear(QPoint at)
    {
        const QRect around(at - QPoint(12, 12), QSize(25, 25));
        auto before = std::make_shared<QImage>(d->grab(around));
        return [this, around, before] { return d->grab(around) != *before; };
    }
    // The hand stays until the pointer shows another shape: the drag runs.
    std::function<bool()> dragging()
    {
        auto arrow = std::make_shared<QImage>(d->pointerImage());
        return [this, arrow] { return d->pointerImage() != *arrow; };
    }

    // Apply in the panel, then the file's configuration once pred holds for it.
    QJsonObject applyUntil(const std::function<bool(const QJsonObject&)>& pred)
    {
        d->activate(panel);
        d->key(QStringLiteral("alt+a"));
        QJsonObject written;
        waitFor(
            [&] {
                written = readConfiguration(config);
                return pred(written);
            },
            kPatience);
        return written;
    }
    static QStringList toolbarTools(const QJsonObject& config, const QString& name)
    {
        for (const QJsonValue bar : config[QStringLiteral("toolbars")].toArray())
            if (bar[QStringLiteral("Name")].toString() == name)
                return ids(bar[QStringLiteral("Tools")].toArray());
        return {QStringLiteral("<no toolbar>")};
    }
    // Waits for the toolbar's tools in the written file; what it holds last.
    QStringList appliedTools(const QString& bar, const QStringList& expected)
    {
        return toolbarTools(applyUntil([&](const QJsonObject& c) {
                                return toolbarTools(c, bar) == expected;
                            }),
                            bar);
    }

    WindowId preview = 0;
};

TEST_F(BarwrightPlacing, AToolFromTheTreeLandsBetweenTheEntriesAndASeparatorGoesBeforeOne)
{
    const QRect red = waitForColour(preview, kRed), green = waitForColour(preview, kGreen);
    ASSERT_FALSE(red.isEmpty());
    ASSERT_FALSE(green.isEmpty());
    const QRect blue = waitForColour(panel, kBlue, kTreePicture);
    // Between Red and Green, nearer Green's left edge than Red's right one.
    const QPoint gap((red.right() + 2 * green.left()) / 3, green.center().y());
    dragTo(blue.center(), gap, markNear(gap));
    EXPECT_EQ(appliedTools("Upper", {"ID_Red", "ID_Blue", "ID_Green"}),
              QStringList({"ID_Red", "ID_Blue", "ID_Green"}));

    // Green's menu in the preview: its first item, "Begin a Group", puts a
    // separator before it (the toolbars to show or hide follow).
    d->activate(preview);
    const QRect moved = waitForColour(preview, kGreen);
    const std::vector<QRect> before = d->unmanagedWindows();   // a drag's leftovers
    d->click(moved.center(), 3);
    QRect menu;
    ASSERT_TRUE(waitFor(
        [&] {
            for (const QRect& r : d->unmanagedWindows())
                if (std::find(before.begin(), before.end(), r) == before.end())
                    menu = r;
            return !menu.isEmpty();
        },
        kPatience))
        << "no menu";
    d->click(QPoint(menu.center().x(), menu.top() + 12));   // its first item
    EXPECT_EQ(appliedTools("Upper", {"ID_Red", "ID_Blue", "|", "ID_Green"}),
              QStringList({"ID_Red", "ID_Blue", "|", "ID_Green"}));
}

TEST_F(BarwrightPlacing, AnEntryDraggedToAnotherToolbarMovesAndDraggedOffEveryToolbarGoes)
{
    const QRect red = waitForColour(preview, kRed);
    const QRect menuTool = waitForColour(preview, kMagenta);
    ASSERT_FALSE(red.isEmpty());
    ASSERT_FALSE(menuTool.isEmpty());
    // Right of the menu tool on "Lower": after it.
    const QPoint after(menuTool.right() + 14, menuTool.center().y());
    dragTo(red.center(), after, markNear(after));
    const QJsonObject moved = applyUntil([](const QJsonObject& c) {
        return toolbarTools(c, "Lower") == QStringList({"ID_Menu", "ID_Red"});
    });
    EXPECT_EQ(toolbarTools(moved, "Lower"), QStringList({"ID_Menu", "ID_Red"}));
    EXPECT_EQ(toolbarTools(moved, "Upper"), QStringList({"ID_Green"}));

    // Green into the middle of the preview, where no toolbar is.
    d->activate(preview);
    const QRect green = waitForColour(preview, kGreen);
    d->moveMouse(green.center());
    dragTo(green.center(), d->clientRect(preview).center(), dragging());
    EXPECT_EQ(appliedTools("Upper", {}), QStringList());
}

TEST_F(BarwrightPlacing, AMenuToolOpensItsMenuOnAClickAndATreeToolDroppedThereIsInIt)
{
    d->activate(preview);
    const QRect menuTool = waitForColour(preview, kMagenta);
    ASSERT_FALSE(menuTool.isEmpty());
    d->click(menuTool.center());
    const QRect yellow = waitForColour(preview, kYellow);
    ASSERT_FALSE(yellow.isEmpty()) << "the menu did not open";
    EXPECT_GT(yellow.top(), menuTool.bottom()) << "not below its tool";

    // Blue from the tree, onto the lower half of Yellow's row: after it.
    const QRect blue = waitForColour(panel, kBlue, kTreePicture);
    const QPoint below(yellow.center().x() + 20, yellow.bottom() + 1);
    dragTo(blue.center(), below, markNear(below));
    const QJsonObject written = applyUntil([](const QJsonObject& c) {
        return toolById(c, "ID_Menu")["Menu"].toArray().size() == 2;
    });
    EXPECT_EQ(ids(toolById(written, "ID_Menu")["Menu"].toArray()),
              QStringList({"ID_Yellow", "ID_Blue"}));
}

}  // namespace
