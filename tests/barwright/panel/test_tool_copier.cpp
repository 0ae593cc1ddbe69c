// The tool copier: new tools go in without a question, existing ones only as
// the user answers, answers are remembered for the operation, a menu brings
// its sub-tools, and Cancel stops with what was copied kept.
#include "CopyDialogFixture.h"

#include "barwright/panel/CToolCopier.h"
#include "tests/support/FormTexts.h"

using namespace toolbar;
using forms::testing::shownModalForms;
using ::testing::ElementsAre;

namespace {

class ToolCopierTest : public CopyDialogTest {
protected:
    void SetUp() override
    {
        CopyDialogTest::SetUp();
        copier.setSourceControl(com::Object(src));
        copier.setDestinationControl(com::Object(wc));
    }
    bool copy(const QString& id, bool* cancelled = nullptr)
    {
        bool cancel = false;
        const bool r = copier.CopyCtlTool(com::Object(src->tools()->Item(id)), cancel);
        if (cancelled)
            *cancelled = cancel;
        return r;
    }

    std::shared_ptr<MqZentribar> src = std::make_shared<MqZentribar>();
    CToolCopier copier;
};

struct AnswerCase {
    const char* name;
    std::vector<int32_t> answers;   // to the questions, in order
    const char* a;                  // category of A and B afterwards
    const char* b;
    bool cancelled;
};

void PrintTo(const AnswerCase& c, std::ostream* os)
{
    *os << c.name;
}

class ReplaceAnswers : public ToolCopierTest,
                       public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(ReplaceAnswers, DecideWhatIsReplaced)
{
    for (const char* id : {"A", "B"}) {
        addTool(*wc, id, "old");
        addTool(*src, id, "new");
    }
    addTool(*src, "C", "new");
    QString question;   // the first one's
    for (size_t i = 0; i < GetParam().answers.size(); ++i)
        answerTool(GetParam().answers[i], i == 0 ? &question : nullptr);

    bool cancelled = false;
    copy("C");
    for (const char* id : {"A", "B"}) {
        copy(id, &cancelled);
        if (cancelled)
            break;
    }
    EXPECT_EQ(question, "The control already contains a tool called 'A'.");
    EXPECT_EQ(categoryOf(*wc, "A"), GetParam().a);
    EXPECT_EQ(categoryOf(*wc, "B"), GetParam().b);
    EXPECT_EQ(cancelled, GetParam().cancelled);
    EXPECT_EQ(categoryOf(*wc, "C"), "new");   // copied before any answer: stays
    EXPECT_EQ(forms::testing::pendingModalAnswers(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, ReplaceAnswers,
    ::testing::Values(AnswerCase{"Yes", {1, 3}, "new", "old", false},
                      AnswerCase{"YesToAll", {2}, "new", "new", false},
                      AnswerCase{"No", {3, 1}, "old", "new", false},
                      AnswerCase{"NoToAll", {4}, "old", "old", false},
                      AnswerCase{"Cancel", {5}, "old", "old", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ToolCopierTest, AnswersAreRememberedPerIdAndNewToolsAreNotWrittenTwice)
{
    for (const char* id : {"X", "Y"}) {
        addTool(*wc, id, "old");
        addTool(*src, id, "new");
    }
    wc->toolbars()->Add("Main")->tools()->Add("X");
    addTool(*src, "N", "new")->setTooltipText("tip");
    answerTool(1);
    answerTool(3);
    EXPECT_TRUE(copy("X"));
    EXPECT_FALSE(copy("Y"));
    EXPECT_TRUE(copy("N"));
    wc->tools()->find("X")->setCategory("edited");
    wc->tools()->find("N")->setCategory("edited");
    EXPECT_TRUE(copy("X"));    // replaced again, not asked
    EXPECT_FALSE(copy("Y"));
    EXPECT_FALSE(copy("N"));   // this copier's own: left alone
    EXPECT_EQ(categoryOf(*wc, "X"), "new");
    EXPECT_EQ(categoryOf(*wc, "Y"), "old");
    EXPECT_EQ(categoryOf(*wc, "N"), "edited");
    EXPECT_EQ(wc->tools()->find("N")->TooltipText(), "tip");
    EXPECT_EQ(shownModalForms().size(), 2);
    // Replaced in place: the entry that refers to X stays.
    EXPECT_EQ(entriesOf(*wc, "Main"), QStringList{"X"});
}

TEST_F(ToolCopierTest, MenuBringsItsSubToolsFirstAndCancelInOneStopsTheMenu)
{
    addTool(*src, "S1", "new");
    addTool(*src, "S2", "new");
    auto menu = addTool(*src, "M", "new", mqMenu);
    menu->menu()->tools()->Add("S1");
    menu->menu()->tools()->Add("sep", mqSeparator);
    menu->menu()->tools()->Add("S2");
    addTool(*wc, "S2", "old");

    answerTool(5);
    bool cancelled = false;
    EXPECT_FALSE(copy("M", &cancelled));
    EXPECT_TRUE(cancelled);
    EXPECT_TRUE(wc->tools()->find("S1"));   // copied before the Cancel: stays
    EXPECT_FALSE(wc->tools()->find("M"));

    CToolCopier again;
    again.setSourceControl(com::Object(src));
    again.setDestinationControl(com::Object(wc));
    answerTool(4);   // S1 (copied before) and S2 both stay as they are
    EXPECT_TRUE(again.CopyCtlTool(com::Object(menu), cancelled));
    const auto copied = wc->tools()->find("M");
    ASSERT_TRUE(copied);
    QStringList sub;
    for (const auto& t : *copied->menu()->tools())
        sub << (t->Type() == mqSeparator ? QStringLiteral("|") : t->ID());
    EXPECT_EQ(sub, (QStringList{"S1", "|", "S2"}));
    EXPECT_EQ(categoryOf(*wc, "S2"), "old");
}

TEST_F(ToolCopierTest, CancelAsksForConfirmationAndNoKeepsTheQuestionOpen)
{
    addTool(*wc, "X", "old", mqComboBox);
    addTool(*src, "X", "new");
    forms::testing::answerNextModal<frmLoadToolConflict>([](frmLoadToolConflict& d) {
        expectWholeAndDistinct(d, QStringLiteral("tool question"));
        EXPECT_EQ(d.txtOldType.Text(), "4 - ComboBox");
        EXPECT_EQ(d.txtNewType.Text(), "0 - Button");
        EXPECT_EQ(d.txtNewDesc.Text(), "new X");
        EXPECT_FALSE(d.picOld.Visible());   // combo boxes show no picture
        EXPECT_TRUE(d.picNew.Visible());
        forms::testing::answerNextMsgBox(forms::vbNo);
        d.cmdCxl.click();
        EXPECT_TRUE(d.Visible());
        EXPECT_EQ(d.ReturnCode, 0);
        d.cmdYes.click();
    });
    EXPECT_TRUE(copy("X"));
    const auto& box = forms::testing::shownMsgBoxes().at(0);
    EXPECT_EQ(box.text, "Not all requested tools and/or toolbars have been copied.  "
                        "Are you sure you want to cancel?");
    EXPECT_EQ(box.buttons, 308);
    EXPECT_EQ(box.title, "Load Tools");
}

TEST_F(ToolCopierTest, ClosingTheQuestionIsACancelNeverAReplace)
{
    addTool(*wc, "X", "old");
    addTool(*src, "X", "new");
    forms::testing::answerNextModal<frmLoadToolConflict>([](frmLoadToolConflict& d) {
        forms::testing::answerNextMsgBox(forms::vbYes);
        d.Unload(forms::vbFormControlMenu);
    });
    bool cancelled = false;
    EXPECT_FALSE(copy("X", &cancelled));
    EXPECT_TRUE(cancelled);
    EXPECT_EQ(categoryOf(*wc, "X"), "old");
}

}  // namespace
