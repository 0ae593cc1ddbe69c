// Barwright's tool tree under a real mouse and keys: a right-click's menu
// acts on the node it selected, a double-click on a node that was not
// selected edits that tool, a click on a category's expand button opens the
// category, and the tree tabbed into selects a node for the keys.
#include "BarwrightFixture.h"

#include <QImage>
#include <QThread>

using namespace desktop;

namespace {

const QString kEditTool = QStringLiteral("^Edit Tool$");

// Where the tree's rows show, from the tree's left edge: the expand button
// of a root node, the text of a root node, the text of a child node.
constexpr int kButtonX = 11;
constexpr int kRootTextX = 60;
constexpr int kChildTextX = 80;

bool isWhite(QRgb p)
{
    return qRed(p) > 245 && qGreen(p) > 245 && qBlue(p) > 245;
}

class BarwrightTree : public BarwrightDesktop {
protected:
    void SetUp() override
    {
        BarwrightDesktop::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        const QRect client = d->clientRect(panel);
        const QImage before = d->grab(client);
        d->key(QStringLiteral("alt+s"));   // the Tools tab, the tree flat
        ASSERT_TRUE(waitFor([&] { return d->grab(client) != before; }, kPatience));
        findTree();
        ASSERT_FALSE(tree.isEmpty()) << "no tree on the Tools tab";
    }

    // The tree's white inside, in screen pixels: the first white box down a
    // column right of every text.
    void findTree()
    {
        const QRect client = d->clientRect(panel);
        const QImage shot = d->grab(client);
        const int x = client.width() * 3 / 5;
        const QPoint inside = whiteBoxAt(shot, x, 30, 40);
        if (inside.y() < 0)
            return;
        int top = inside.y(), bottom = inside.y(), left = x, right = x;
        while (top > 0 && isWhite(shot.pixel(x, top - 1)))
            --top;
        while (bottom + 1 < shot.height() && isWhite(shot.pixel(x, bottom + 1)))
            ++bottom;
        while (left > 0 && isWhite(shot.pixel(left - 1, top)))
            --left;
        while (right + 1 < shot.width() && isWhite(shot.pixel(right + 1, top)))
            ++right;
        tree = QRect(QPoint(left, top), QPoint(right, bottom)).translated(client.topLeft());
    }

    // Whether the tree shows something (a button, picture or text) in the
    // left half of row i (counted from its top).
    bool rowShows(const QImage& shot, int i) const
    {
        const int middle = first + i * pitch - tree.top();
        for (int y = middle - pitch / 4; y <= middle + pitch / 4; ++y)
            for (int x = 0; y >= 0 && y < shot.height() && x < shot.width() / 2; ++x)
                if (!isWhite(shot.pixel(x, y)))
                    return true;
        return false;
    }
    // Waits until the tree shows count rows, one under the other.
    bool waitForRows(int count)
    {
        return waitFor(
            [&] {
                const QImage shot = d->grab(tree);
                int shown = 0;
                while (shown <= count && rowShows(shot, shown))
                    ++shown;
                return shown == count;
            },
            kPatience);
    }
    QPoint at(int x, int row) const { return QPoint(tree.left() + x, first + row * pitch); }

    // "Display Tools By Category": the three categories, collapsed. Their
    // rows, which hold no text below the line, give the rows' places.
    void grouped()
    {
        d->key(QStringLiteral("alt+c"));
        std::vector<int> middles;
        waitFor(
            [&] {
                const QImage shot = d->grab(tree);
                middles.clear();
                int start = -1;
                for (int y = 0; y <= shot.height(); ++y) {
                    bool ink = false;
                    for (int x = 0; y < shot.height() && x < shot.width() / 2 && !ink; ++x)
                        ink = !isWhite(shot.pixel(x, y));
                    if (ink && start < 0)
                        start = y;
                    if (!ink && start >= 0) {
                        middles.push_back(tree.top() + (start + y - 1) / 2);
                        start = -1;
                    }
                }
                return middles.size() == 3;
            },
            kPatience);
        ASSERT_EQ(middles.size(), 3u) << "the categories do not show";
        first = middles[0];
        pitch = middles[1] - middles[0];
        ASSERT_GT(pitch, 8);
    }
    // "Format" selected and opened: File, Format, ID_Bold, ID_Font,
    // ID_FormatMenu, ID_Italic, ID_Underline, View.
    void formatOpenAndSelected()
    {
        // Right acts on the selected node: the click has to show first.
        const QRect row(tree.left(), first + pitch / 2, tree.width(), pitch);
        const QImage before = d->grab(row);
        d->click(at(kRootTextX, 1));
        ASSERT_TRUE(waitFor([&] { return d->grab(row) != before; }, kPatience))
            << "Format is not selected";
        d->key(QStringLiteral("Right"));
        ASSERT_TRUE(waitForRows(8)) << "Format did not open";
    }

    // The open tool dialog names its tool "Edited"; OK, then Apply in the
    // panel: the name the file holds for the tool with that ID.
    QString renameAndApply(const QString& id)
    {
        d->key(QStringLiteral("alt+n"));
        d->key(QStringLiteral("ctrl+a"));
        d->type(QStringLiteral("Edited"));
        d->key(QStringLiteral("Return"));
        EXPECT_TRUE(d->waitForNoWindow(kEditTool));
        d->activate(panel);
        d->key(QStringLiteral("alt+a"));
        QString name;
        waitFor(
            [&] {
                name = toolById(readConfiguration(config), id)[QStringLiteral("Name")].toString();
                return name == QStringLiteral("Edited");
            },
            kPatience);
        return name;
    }

    QRect tree;
    int first = 0;   // the middle of the first row
    int pitch = 0;   // the rows' height
};

TEST_F(BarwrightTree, TheMenuOfARightClickedToolEditsThatTool)
{
    ASSERT_NO_FATAL_FAILURE(grouped());
    ASSERT_NO_FATAL_FAILURE(formatOpenAndSelected());
    d->click(at(kChildTextX, 5), 3);
    ASSERT_TRUE(waitFor([&] { return !d->unmanagedWindows().empty(); }, kPatience)) << "no menu";
    d->key(QStringLiteral("e"));   // "&Edit Tool 'ID_Italic'..."
    ASSERT_NE(appeared(kEditTool), 0u) << "Edit Tool did not open";
    EXPECT_EQ(renameAndApply(QStringLiteral("ID_Italic")), QStringLiteral("Edited"));
}

TEST_F(BarwrightTree, ADoubleClickOnANodeNotSelectedEditsItsTool)
{
    ASSERT_NO_FATAL_FAILURE(grouped());
    ASSERT_NO_FATAL_FAILURE(formatOpenAndSelected());
    d->doubleClick(at(kChildTextX, 5));
    ASSERT_NE(appeared(kEditTool, kPatience), 0u) << "one double-click did not open Edit Tool";
    EXPECT_EQ(renameAndApply(QStringLiteral("ID_Italic")), QStringLiteral("Edited"));
}

TEST_F(BarwrightTree, HomeInATreeTabbedIntoSelectsANodeThatAltEEdits)
{
    // From the Tools tab on to the tree, where no node is selected yet: the
    // first node is, so Home and Alt+E act at once.
    d->key(QStringLiteral("Tab"));
    d->key(QStringLiteral("Home"));
    d->key(QStringLiteral("alt+e"));
    ASSERT_NE(appeared(kEditTool), 0u) << "Alt+E did not open Edit Tool";
    EXPECT_EQ(renameAndApply(QStringLiteral("ID_Bold")), QStringLiteral("Edited"));
}

TEST_F(BarwrightTree, AClickOnACollapsedCategorysButtonOpensIt)
{
    ASSERT_NO_FATAL_FAILURE(grouped());
    d->click(at(kButtonX, 1));   // "Format", not selected: its five tools show
    EXPECT_TRUE(waitForRows(8)) << "Format did not open";
    // A second click, not so soon that it makes a double-click, closes it.
    QThread::msleep(700);
    d->click(at(kButtonX, 1));
    EXPECT_TRUE(waitForRows(3)) << "Format did not close";
}

}  // namespace
