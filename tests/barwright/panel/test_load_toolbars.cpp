// The toolbar copy dialog: toolbars come with their tools and separators,
// one menu bar per control, the toolbar question and its answers, Cancel
// half-way, and files it cannot load.
#include "CopyDialogFixture.h"

#include "barwright/panel/frmLoadToolbars.h"
#include "tests/support/FormTexts.h"

#include <QFile>

using namespace toolbar;

namespace {

class LoadToolbarsTest : public CopyDialogTest {
protected:
    // Queues the user's part: select the named toolbars and press OK. The
    // answers to the questions this raises are queued after it.
    static void play(const QStringList& names)
    {
        forms::testing::answerNextModal<frmLoadToolbars>([names](frmLoadToolbars& d) {
            for (int32_t i = 0; i < d.liToolbars.ListCount(); ++i)
                d.liToolbars.setSelected(i, names.contains(d.liToolbars.List(i)));
            EXPECT_TRUE(d.cmdOK.Enabled());
            d.cmdOK.click();
        });
    }
    // Shows the dialog on file; returns bCanceled.
    static bool show(const QString& file)
    {
        frmLoadToolbars& d = frmLoadToolbars::get();
        d.ConfigFileName = file;
        d.Show(forms::vbModal);
        const bool cancelled = d.bCanceled;
        d.Unload();
        return cancelled;
    }
    static bool run(const QString& file, const QStringList& names)
    {
        play(names);
        return show(file);
    }
    // A file toolbar with entries A, separator, B (tools of category "new").
    void sourceBar(const QString& name, const QStringList& ids = {"A", "|", "B"})
    {
        auto bar = source.toolbars()->Add(name);
        bar->setDockingFlags(mqDockBottom);
        for (const QString& id : ids) {
            if (id == u"|") {
                bar->tools()->Add("separator", mqSeparator);
                continue;
            }
            if (!source.tools()->find(id))
                addTool(source, id, "new");
            bar->tools()->Add(id)->setName("entry " + id);
        }
    }
};

TEST_F(LoadToolbarsTest, ToolbarBringsItsMissingToolsAndSeparators)
{
    sourceBar("Edit", {"A", "|", "B", "|", "C"});
    addTool(*wc, "B", "old");
    play({"Edit"});
    answerTool(3);   // keep the working copy's B
    EXPECT_FALSE(show(saveSource()));
    EXPECT_EQ(entriesOf(*wc, "Edit"), (QStringList{"A", "|", "B", "|", "C"}));
    EXPECT_EQ(categoryOf(*wc, "A"), "new");
    EXPECT_EQ(categoryOf(*wc, "B"), "old");
    const auto bar = wc->toolbars()->find("Edit");
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->DockingFlags(), mqDockBottom);
    EXPECT_TRUE(bar->Configured());
    // Entry looks come along only for tools this copy wrote.
    EXPECT_EQ(bar->tools()->Item(1)->Name(), "entry A");
    EXPECT_NE(bar->tools()->Item(3)->Name(), "entry B");
    EXPECT_TRUE(wc->Redraw());
}

struct BarAnswers {
    const char* name;
    std::vector<int32_t> answers;   // to the toolbar questions, in order
    QStringList replaced;           // the toolbars that hold the file's entries afterwards
};

void PrintTo(const BarAnswers& c, std::ostream* os)
{
    *os << c.name;
}

class ToolbarAnswers : public LoadToolbarsTest,
                       public ::testing::WithParamInterface<BarAnswers> {};

TEST_P(ToolbarAnswers, DecideWhichToolbarsAreReplaced)
{
    const QStringList names{"One", "Two", "Three"};
    for (const QString& name : names) {
        sourceBar(name, {name + "New"});
        addTool(*wc, name + "Old", "old");
        wc->toolbars()->Add(name)->tools()->Add(name + "Old");
    }
    play(names);
    for (const int32_t code : GetParam().answers)
        answerToolbar(code);
    EXPECT_FALSE(show(saveSource()));
    for (const QString& name : names) {
        const bool replaced = GetParam().replaced.contains(name);
        // A replaced toolbar loses its old entries; the definitions stay.
        EXPECT_EQ(entriesOf(*wc, name), QStringList{name + (replaced ? "New" : "Old")});
        EXPECT_TRUE(wc->tools()->find(name + "Old"));
    }
    EXPECT_EQ(forms::testing::pendingModalAnswers(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ToolbarAnswers,
    ::testing::Values(BarAnswers{"YesNoYes", {1, 3, 1}, {"One", "Three"}},
                      BarAnswers{"NoToAll", {4}, {}},
                      BarAnswers{"NoThenYesToAll", {3, 2}, {"Two", "Three"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadToolbarsTest, CancelKeepsEarlierToolbarsWithTheirSeparators)
{
    sourceBar("First", {"A", "|", "B"});
    sourceBar("Second", {"C", "|", "X", "D"});
    addTool(*wc, "X", "old");
    play({"First", "Second"});
    answerTool(5);
    EXPECT_FALSE(show(saveSource()));
    EXPECT_EQ(entriesOf(*wc, "First"), (QStringList{"A", "|", "B"}));
    EXPECT_EQ(entriesOf(*wc, "Second"), (QStringList{"C", "|"}));
    EXPECT_FALSE(wc->tools()->find("D"));
    EXPECT_EQ(categoryOf(*wc, "X"), "old");
    EXPECT_TRUE(wc->Redraw());
}

TEST_F(LoadToolbarsTest, SecondMenuBarIsRefusedWithTheThreePartMessage)
{
    source.toolbars()->Add("Menu", 1)->tools()->Add(addTool(source, "File", "new")->ID());
    wc->toolbars()->Add("Main Menu", 1);
    forms::testing::answerNextMsgBox(forms::vbOK);
    EXPECT_FALSE(run(saveSource(), {"Menu"}));
    const auto& box = forms::testing::shownMsgBoxes().at(0);
    EXPECT_EQ(box.text, "Can't load Menu bar 'Menu'.\r\n\r\nThe control already has a Menu bar "
                        "defined ('Main Menu'), and only 1 Menu bar per control is allowed."
                        "\r\n\r\n'Menu' (and its tools) will be skipped.");
    EXPECT_EQ(box.buttons, forms::vbExclamation);
    EXPECT_EQ(box.title, "Load Toolbars From Configuration");
    EXPECT_FALSE(wc->toolbars()->find("Menu"));
    EXPECT_FALSE(wc->tools()->find("File"));
}

TEST_F(LoadToolbarsTest, ToolbarQuestionShowsBothSidesAndClosingItCancels)
{
    sourceBar("First", {"F"});
    sourceBar("Edit", {"A", "|"});
    sourceBar("Last", {"L"});
    wc->toolbars()->Add("Edit");
    play({"First", "Edit", "Last"});
    forms::testing::answerNextModal<frmLoadToolbarConflict>([](frmLoadToolbarConflict& d) {
        expectWholeAndDistinct(d, QStringLiteral("toolbar question"));
        EXPECT_EQ(d.lbMain.Caption(), "The control already contains a toolbar called 'Edit'.");
        EXPECT_EQ(d.txtOldStyle.Text(), "0 - Standard Toolbar");
        ASSERT_EQ(d.lvOld.ListItems.Count(), 1);
        EXPECT_EQ(d.lvOld.ListItems.Item(1).Text(), "<No Tools>");
        ASSERT_EQ(d.lvNew.ListItems.Count(), 2);
        EXPECT_EQ(d.lvNew.ListItems.Item(1).SubItems(1), "entry A");
        EXPECT_EQ(d.lvNew.ListItems.Item(1).SubItems(2), "new");
        d.Unload(forms::vbFormControlMenu);   // the close box answers Cancel
    });
    EXPECT_FALSE(show(saveSource()));
    EXPECT_EQ(entriesOf(*wc, "First"), QStringList{"F"});
    EXPECT_TRUE(entriesOf(*wc, "Edit").isEmpty());
    EXPECT_FALSE(wc->toolbars()->find("Last"));
}

TEST_F(LoadToolbarsTest, DamagedFileIsReportedAndChangesNothing)
{
    wc->toolbars()->Add("Main");
    const QByteArray before = wc->SaveConfigurationEx();
    const QString damaged = tempPath("damaged.qrv");
    QFile f(damaged);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a configuration");
    f.close();
    forms::testing::answerNextMsgBox(forms::vbOK);
    EXPECT_TRUE(show(damaged));
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    EXPECT_EQ(forms::testing::shownMsgBoxes().at(0).title, "Load Toolbars From Configuration");
    EXPECT_EQ(wc->SaveConfigurationEx(), before);
}

}  // namespace
