// Find and Convert through the main window, on a copy of the sample tree.
#include "ConversionFixture.h"

#include "conversion/engine/mConversion.h"
#include "conversion/windows/ResultsForm.h"
#include "platform/forms/MsgBox.h"

#include <QCoreApplication>
#include <QFile>
#include <QKeyEvent>
#include <QTimer>

using testing::ElementsAre;
using testing::IsEmpty;
using testing::UnorderedElementsAreArray;

struct FindCase {
    int row;
    QStringList projects;   // relative to the sample root
};

class FindOverTree : public ConversionWindow,
                     public testing::WithParamInterface<FindCase> {};

TEST_P(FindOverTree, ListsAndChecksExactlyTheProjectsUsingTheSource)
{
    find(GetParam().row, root());
    QStringList expected;
    for (const QString& p : GetParam().projects)
        expected << at(p);
    EXPECT_THAT(listed(), UnorderedElementsAreArray(expected));
    EXPECT_THAT(checked(), UnorderedElementsAreArray(expected));
    EXPECT_EQ(main().cmdFind.Caption(), "&Find");
    EXPECT_TRUE(main().mActionFind.Enabled());
    // Checking a found entry makes it the list's current one, and that Click
    // is what enables the convert commands.
    EXPECT_EQ(main().List1.ListIndex(), main().List1.ListCount() - 1);
    EXPECT_TRUE(main().cmdConvert.Enabled());
    EXPECT_TRUE(main().mActionConvert.Enabled());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FindOverTree,
    testing::Values(FindCase{0, {"Billing/Legacy/Orders.vbp"}},
                    FindCase{1, {"Billing/Legacy/Old16/BILLING16.VBP"}},
                    FindCase{2, {"Inventory/Inventory.vbp"}},
                    FindCase{4, {"Billing/Billing.vbp"}},
                    FindCase{7, {"Tools/Viewer/Trevalon Demo.vbp"}},
                    FindCase{8, {"Tools/Viewer/Viewer.vbp"}},
                    FindCase{9, {"Inventory/Reports/Reports.vbp"}}));

TEST_F(ConversionWindow, FindWithoutSubfoldersReportsNothingFound)
{
    forms::testing::answerNextMsgBox(forms::vbOK);
    find(2, root() + "/", false);
    EXPECT_THAT(listed(), IsEmpty());
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    const auto& box = forms::testing::shownMsgBoxes()[0];
    EXPECT_EQ(box.text, "No files found in Find operation!");
    EXPECT_EQ(box.buttons, 48);
    EXPECT_EQ(box.title, "Find Results");
}

TEST_F(ConversionWindow, FindingTwiceAddsOnlyNewProjects)
{
    find(9, at("Inventory"));
    ASSERT_EQ(listed().size(), 1);
    // A second project appears; the list keeps its entry and gains the new one.
    QFile::copy(at("Inventory/Reports/Reports.vbp"), at("Inventory/Reports2.vbp"));
    main().List1.setSelected(0, false);
    main().cmdFind.click();
    EXPECT_THAT(listed(), ElementsAre(at("Inventory/Reports/Reports.vbp"),
                                      at("Inventory/Reports2.vbp")));
    EXPECT_THAT(checked(), ElementsAre(at("Inventory/Reports2.vbp")));
    EXPECT_THAT(forms::testing::shownMsgBoxes(), IsEmpty());
}

TEST_F(ConversionWindow, ChangingTheConversionEmptiesTheList)
{
    find(2, root());
    ASSERT_TRUE(main().cmdConvert.Enabled());
    main().cboProduct.setListIndex(3);
    EXPECT_THAT(listed(), IsEmpty());
    EXPECT_FALSE(main().cmdConvert.Enabled());
    EXPECT_FALSE(main().mActionConvert.Enabled());
    EXPECT_EQ(mConversion::sSourceName, "Zentribar 2.0");
}

TEST_F(ConversionWindow, StopEndsTheWholeSearch)
{
    main().cboProduct.setListIndex(2);
    // Stop is pressed as soon as the search first lets events run.
    QTimer::singleShot(0, [] {
        EXPECT_EQ(main().cmdFind.Caption(), "&Stop");
        EXPECT_FALSE(main().mActionFind.Enabled());
        main().cmdFind.click();
    });
    forms::testing::answerNextMsgBox(forms::vbOK);
    find(2, at("Inventory") + ";" + root() + ";" + root());
    EXPECT_THAT(listed(), IsEmpty());
    EXPECT_EQ(main().cmdFind.Caption(), "&Find");
    EXPECT_TRUE(main().mActionFind.Enabled());
    EXPECT_EQ(forms::testing::shownMsgBoxes().size(), 1u);

    // The next search runs in full.
    main().cmdFind.click();
    EXPECT_THAT(listed(), ElementsAre(at("Inventory/Inventory.vbp")));
}

TEST_F(ConversionWindow, EscEndsTheSearchLikeStop)
{
    main().cboProduct.setListIndex(2);
    QTimer::singleShot(0, [] {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QCoreApplication::sendEvent(main().txtPath.widget(), &press);
    });
    forms::testing::answerNextMsgBox(forms::vbOK);
    find(2, root() + ";" + root());
    EXPECT_THAT(listed(), IsEmpty());
    EXPECT_EQ(main().cmdFind.Caption(), "&Find");
    EXPECT_TRUE(main().bContinueFind);
}

TEST_F(ConversionWindow, ConvertRewritesTheCheckedProjectsAndKeepsBackups)
{
    const QString reports = at("Inventory/Reports/Reports.vbp");
    const QString copy = at("Tools/Reports Copy.vbp");
    QFile::copy(reports, copy);
    const QByteArray original = bwtest::fileBytes(reports);
    ASSERT_TRUE(original.contains("\r\n"));

    find(9, root());
    ASSERT_THAT(listed(), ElementsAre(reports, copy));
    main().List1.toggleCheck(1);                 // leave the copy as it is
    ASSERT_TRUE(main().cmdConvert.Enabled());

    forms::testing::answerNextModal<ResultsForm>([&](ResultsForm& results) {
        EXPECT_EQ(results.Caption(), "Converted Files");
        ASSERT_EQ(results.List1.ListCount(), 1);
        EXPECT_EQ(results.List1.List(0), reports);
        // Converted entries stay, unchecked, until OK.
        EXPECT_THAT(listed(), ElementsAre(reports, copy));
        EXPECT_THAT(checked(), IsEmpty());
        // Unchecking the converted entry moved the current entry: Click saw
        // nothing left checked.
        EXPECT_FALSE(main().cmdConvert.Enabled());
        EXPECT_FALSE(main().mActionConvert.Enabled());
        results.cmdOK.click();
    });
    main().cmdConvert.click();

    EXPECT_THAT(listed(), ElementsAre(copy));
    EXPECT_EQ(main().cConverted.Count(), 0);
    const QByteArray toolbar4 = mConversion::conversionTable()[9].oldLines[0];
    const QByteArray tab4 = mConversion::conversionTable()[9].oldLines[1];
    QByteArray expected = original;
    expected.replace(toolbar4, mConversion::conversionTable()[9].newLines[0]);
    expected.replace(tab4, mConversion::conversionTable()[9].newLines[1]);
    ASSERT_NE(expected, original);
    EXPECT_EQ(bwtest::fileBytes(reports), expected);
    EXPECT_EQ(bwtest::fileBytes(at("Inventory/Reports/Reports.bak")), original);
    EXPECT_EQ(bwtest::fileBytes(copy), original);
    EXPECT_FALSE(QFile::exists(at("Tools/Reports Copy.bak")));
}

TEST_F(ConversionWindow, ResultsClosedWithoutOkThenConvertedAgainRemovesEachOnce)
{
    const QString a = at("Tools/A.vbp");
    const QString b = at("Tools/B.vbp");
    QFile::copy(at("Inventory/Inventory.vbp"), a);
    QFile::copy(at("Inventory/Inventory.vbp"), b);
    find(2, at("Tools"));
    ASSERT_THAT(listed(), ElementsAre(a, b));
    main().List1.setSelected(1, false);
    ASSERT_TRUE(main().cmdConvert.Enabled());

    forms::testing::answerNextModal<ResultsForm>([](ResultsForm& r) { r.Unload(); });
    main().cmdConvert.click();
    main().List1.toggleCheck(0);                 // the same project once more
    forms::testing::answerNextModal<ResultsForm>([](ResultsForm& r) {
        EXPECT_EQ(r.List1.ListCount(), 2);   // listed twice, removed once
        r.cmdOK.click();
    });
    main().cmdConvert.click();
    EXPECT_THAT(listed(), ElementsAre(b));
}

TEST_F(ConversionWindow, ClosingTheWindowDuringASearchEndsItWithoutReopening)
{
    main().cboProduct.setListIndex(2);
    QTimer::singleShot(0, [] { main().mFileExit.click(); });
    find(2, root() + ";" + root());
    EXPECT_FALSE(main().isLoaded());
    EXPECT_THAT(forms::testing::shownMsgBoxes(), IsEmpty());
}

TEST_F(ConversionWindow, ConvertCommandsFollowEveryChangeOfTheChecks)
{
    const auto convertEnabled = [] {
        EXPECT_EQ(main().cmdConvert.Enabled(), main().mActionConvert.Enabled());
        return main().cmdConvert.Enabled();
    };
    QFile::copy(at("Inventory/Inventory.vbp"), at("Tools/A.vbp"));
    QFile::copy(at("Inventory/Inventory.vbp"), at("Tools/B.vbp"));
    // One entry: converting unchecks it without moving the current entry.
    find(2, at("Inventory"));
    ASSERT_THAT(listed(), ElementsAre(at("Inventory/Inventory.vbp")));
    ASSERT_TRUE(convertEnabled());
    forms::testing::answerNextModal<ResultsForm>([&](ResultsForm& results) {
        EXPECT_FALSE(convertEnabled());
        results.cmdOK.click();
    });
    main().cmdConvert.click();
    EXPECT_THAT(listed(), IsEmpty());
    EXPECT_FALSE(convertEnabled());

    // Uncheck All ends on the last entry, the current one already.
    find(2, at("Tools"));
    ASSERT_THAT(listed(), ElementsAre(at("Tools/A.vbp"), at("Tools/B.vbp")));
    main().mActionUncheckAll.click();
    EXPECT_FALSE(convertEnabled());
    main().mActionCheckAll.click();
    EXPECT_TRUE(convertEnabled());
    main().List1.setSelected(0, false);
    EXPECT_TRUE(convertEnabled());
    main().List1.setSelected(1, false);
    EXPECT_FALSE(convertEnabled());
    main().List1.toggleCheck(0);
    EXPECT_TRUE(convertEnabled());
}

TEST_F(ConversionWindow, AProjectReachedTwiceIsListedAndConvertedOnce)
{
    const QString project = at("Inventory/Inventory.vbp");
    const QByteArray original = bwtest::fileBytes(project);
    ASSERT_TRUE(QFile::link(project, at("Tools/Link.vbp")));

    find(2, root() + ";" + root() + "/Tools/../Inventory/");
    EXPECT_THAT(listed(), ElementsAre(project));
    forms::testing::answerNextFileDialog(project);
    main().mFileOpen.click();
    forms::testing::answerNextFileDialog(at("Tools/Link.vbp"));
    main().mFileOpen.click();
    EXPECT_THAT(listed(), ElementsAre(project));

    forms::testing::answerNextModal<ResultsForm>([](ResultsForm& results) {
        EXPECT_EQ(results.List1.ListCount(), 1);
        results.cmdOK.click();
    });
    main().cmdConvert.click();
    EXPECT_EQ(bwtest::fileBytes(at("Inventory/Inventory.bak")), original);
    EXPECT_NE(bwtest::fileBytes(project), original);

    // Once off the list, the project may be listed again.
    forms::testing::answerNextFileDialog(project);
    main().cboProduct.setListIndex(3);
    main().cboProduct.setListIndex(2);
    forms::testing::answerNextMsgBox(forms::vbOK);   // no longer uses the source
    main().mFileOpen.click();
    EXPECT_THAT(listed(), IsEmpty());
}
