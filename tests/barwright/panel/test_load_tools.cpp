// The tool copy dialog: what it lists, its buttons, copying the selected
// tools with their questions, Cancel, and files it cannot load.
#include "CopyDialogFixture.h"

#include "barwright/panel/frmLoadTools.h"

#include <QFile>

using namespace toolbar;
using ::testing::ElementsAre;

namespace {

class LoadToolsTest : public CopyDialogTest {
protected:
    // Shows the dialog on file; play acts as the user. Returns bCanceled.
    bool run(const QString& file, std::function<void(frmLoadTools&)> play = {})
    {
        frmLoadTools& d = frmLoadTools::get();
        d.ConfigFileName = file;
        if (play)
            forms::testing::answerNextModal<frmLoadTools>(std::move(play));
        d.Show(forms::vbModal);
        const bool cancelled = d.bCanceled;
        d.Unload();
        return cancelled;
    }
    static void select(frmLoadTools& d, const QStringList& ids)
    {
        for (int32_t i = 1; i <= d.lvTools.ListItems.Count(); ++i) {
            forms::ListItem& item = d.lvTools.ListItems.Item(i);
            item.setSelected(ids.contains(item.Text()));
        }
        d.lvTools.Click.fire();
    }
};

TEST_F(LoadToolsTest, ListsEveryDefinitionAndEnablesOkOnlyWithASelection)
{
    addTool(source, "Zoom", "view")->setName("Zoom in");
    addTool(source, "Cut", "edit");
    const QString file = saveSource();
    EXPECT_TRUE(run(file, [&](frmLoadTools& d) {
        EXPECT_EQ(d.txtLoadingFrom.Text(), file);
        ASSERT_EQ(d.lvTools.ListItems.Count(), 2);
        EXPECT_EQ(d.lvTools.ListItems.Item(2).Text(), "Zoom");   // sorted by ID
        EXPECT_EQ(d.lvTools.ListItems.Item(2).SubItems(1), "Zoom in");
        EXPECT_EQ(d.lvTools.ListItems.Item(2).SubItems(2), "view");
        EXPECT_FALSE(d.cmdOK.Enabled());
        d.cmdSelectAll.click();
        EXPECT_TRUE(d.cmdOK.Enabled() && d.cmdClearAll.Enabled());
        d.cmdClearAll.click();
        EXPECT_FALSE(d.cmdOK.Enabled() || d.cmdClearAll.Enabled());
        d.lvTools.clickItem(d.lvTools.ListItems.Item(1));
        EXPECT_TRUE(d.cmdOK.Enabled());
        d.cmdCxl.click();
    }));
    EXPECT_EQ(wc->tools()->Count(), 0);
}

TEST_F(LoadToolsTest, OkCopiesTheSelectedToolsOnlyAndReportsNotCancelled)
{
    addTool(source, "Cut", "file");
    addTool(source, "Copy", "file");
    addTool(source, "Paste", "file");
    EXPECT_FALSE(run(saveSource(), [](frmLoadTools& d) {
        select(d, {"Cut", "Paste"});
        d.cmdOK.click();
    }));
    EXPECT_EQ(categoryOf(*wc, "Cut"), "file");
    EXPECT_EQ(categoryOf(*wc, "Paste"), "file");
    EXPECT_FALSE(wc->tools()->find("Copy"));
    EXPECT_EQ(wc->toolbars()->Count(), 0);   // definitions only
    EXPECT_TRUE(wc->Redraw());
}

TEST_F(LoadToolsTest, CancelInAQuestionStopsButKeepsWhatWasCopied)
{
    for (const char* id : {"A", "B", "C"})
        addTool(source, id, "new");
    addTool(*wc, "B", "old");
    bool redrawDuringQuestion = true;
    forms::testing::answerNextModal<frmLoadTools>([](frmLoadTools& d) {
        select(d, {"A", "B", "C"});
        d.cmdOK.click();
    });
    forms::testing::answerNextModal<frmLoadToolConflict>([&](frmLoadToolConflict& d) {
        redrawDuringQuestion = wc->Redraw();
        forms::testing::answerNextMsgBox(forms::vbYes);
        d.cmdCxl.click();
    });
    EXPECT_FALSE(run(saveSource()));
    EXPECT_FALSE(redrawDuringQuestion);
    EXPECT_EQ(categoryOf(*wc, "A"), "new");
    EXPECT_EQ(categoryOf(*wc, "B"), "old");
    EXPECT_FALSE(wc->tools()->find("C"));
    EXPECT_TRUE(wc->Redraw());
}

TEST_F(LoadToolsTest, CancelOrADamagedFileChangesNothing)
{
    addTool(source, "A", "new");
    addTool(*wc, "B", "old");
    const QByteArray before = wc->SaveConfigurationEx();
    EXPECT_TRUE(run(saveSource(), [](frmLoadTools& d) {
        d.cmdSelectAll.click();
        d.cmdCxl.click();
    }));

    const QString file = tempPath("damaged.qrv");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("{\"format\": 1, \"too");
    f.close();
    forms::testing::answerNextMsgBox(forms::vbOK);
    EXPECT_TRUE(run(file));   // closes itself: no answer for the dialog
    EXPECT_THAT(forms::testing::shownMsgBoxes(),
                ElementsAre(::testing::Field(
                    &forms::testing::ShownMsgBox::text,
                    "Error while loading configuration - invalid or damaged configuration "
                    "file.")));
    EXPECT_EQ(forms::testing::shownMsgBoxes().at(0).title, "Load Tools From Configuration");
    EXPECT_EQ(wc->SaveConfigurationEx(), before);
    EXPECT_EQ(forms::testing::shownModalForms(), QStringList{"frmLoadTools"});
}

}  // namespace
