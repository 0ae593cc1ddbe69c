// Settings, layout, the folder picker, File Open and the about box.
#include "ConversionFixture.h"
#include "tests/support/FormTexts.h"

#include "conversion/engine/mConversion.h"
#include "conversion/windows/AboutForm.h"
#include "conversion/windows/PathForm.h"
#include "platform/forms/MsgBox.h"
#include "platform/system/ProgramSettings.h"

#include <QDir>
#include <QFile>

using testing::ElementsAre;
using testing::IsEmpty;

namespace {
const QString kApp = QStringLiteral("Marquell Conversion Utility");
QString setting(const QString& key)
{
    return sys::GetSetting(kApp, QStringLiteral("Startup"), key, QStringLiteral("<none>"));
}
}  // namespace

TEST_F(ConversionWindow, StartsWithDefaultsAndKeepsTheChoicesForTheNextStart)
{
    EXPECT_EQ(main().Caption(), "Quenbrix VB Control Conversion Utility");
    expectWholeAndDistinct(main(), QStringLiteral("main"));
    EXPECT_EQ(main().cboProduct.ListCount(), 12);
    EXPECT_EQ(main().cboProduct.ListIndex(), 0);
    EXPECT_EQ(main().chkSubFolders.Value(), 1);
    EXPECT_EQ(main().txtPath.Text(), "");
    EXPECT_FALSE(main().cmdFind.Enabled());
    EXPECT_FALSE(main().mActionFind.Enabled());
    EXPECT_FALSE(main().cmdConvert.Enabled());

    main().cboProduct.setListIndex(10);
    main().txtPath.setText(root());
    EXPECT_TRUE(main().cmdFind.Enabled());
    EXPECT_TRUE(main().mActionFind.Enabled());
    main().chkSubFolders.setValue(0);
    main().mFileExit.click();
    ASSERT_FALSE(main().isLoaded());
    EXPECT_EQ(setting("Product"), "10");
    EXPECT_EQ(setting("InitFolder"), root());
    EXPECT_EQ(setting("SubFolders"), "0");

    EXPECT_EQ(main().cboProduct.ListIndex(), 10);   // loads again
    EXPECT_EQ(main().txtPath.Text(), root());
    EXPECT_EQ(main().chkSubFolders.Value(), 0);
    EXPECT_EQ(mConversion::sSourceName, "Orvelle Plus");
}

TEST_F(ConversionWindow, StoredValuesOutOfRangeFallBack)
{
    const QString section = QStringLiteral("Startup");
    sys::SaveSetting(kApp, section, QStringLiteral("Product"), QStringLiteral("12"));
    sys::SaveSetting(kApp, section, QStringLiteral("SubFolders"), QStringLiteral("2"));
    EXPECT_EQ(main().cboProduct.ListIndex(), 0);
    EXPECT_EQ(main().chkSubFolders.Value(), 1);
    main().Unload();
    sys::SaveSetting(kApp, section, QStringLiteral("Product"), QStringLiteral("-3"));
    sys::SaveSetting(kApp, section, QStringLiteral("SubFolders"), QStringLiteral("junk"));
    EXPECT_EQ(main().cboProduct.ListIndex(), 0);
    EXPECT_EQ(main().chkSubFolders.Value(), 0);   // a text without a number reads 0
}

TEST_F(ConversionWindow, ANarrowOrLowWindowSnapsBack)
{
    main().Show();
    const float minWidth = main().cmdFind.Left() + main().cmdFind.Width() + 750;
    const float minHeight = main().Label3.Top() + main().Label3.Height() + 1500;
    main().setWidth(1500);
    main().setHeight(900);
    forms::testing::processEvents(50);
    EXPECT_GE(main().Width(), minWidth - 15);
    EXPECT_GE(main().Height(), minHeight - 15);
    main().Move(0, 0, 9000, 7000);
    forms::testing::processEvents(50);
    EXPECT_NEAR(main().List1.Width(), main().Width() - 350, 15);
    EXPECT_NEAR(main().List1.Height(), main().Height() - minHeight + 750, 15);
    EXPECT_NEAR(main().Frame1(0).Width(), main().Width(), 15);
}

TEST_F(ConversionWindow, PathFormStartsAtTheFirstFolderAndReplacesTheList)
{
    main().txtPath.setText(at("Inventory") + ";" + at("Tools"));
    forms::testing::answerNextModal<PathForm>([&](PathForm& picker) {
        EXPECT_EQ(picker.Caption(), "Get Path");
        expectWholeAndDistinct(picker, QStringLiteral("path"));
        EXPECT_EQ(picker.Dir1.Path(), at("Inventory"));
        ASSERT_EQ(picker.Dir1.ListCount(), 1);
        EXPECT_EQ(picker.Dir1.List(0), at("Inventory/Reports"));
        picker.Dir1.setPath(picker.Dir1.List(0));
        picker.cmdOK.click();
    });
    main().cmdBrowse.click();
    EXPECT_EQ(main().txtPath.Text(), at("Inventory/Reports"));

    forms::testing::answerNextModal<PathForm>([](PathForm& picker) {
        picker.cmdCancel.click();
    });
    main().cmdBrowse.click();
    EXPECT_EQ(main().txtPath.Text(), at("Inventory/Reports"));
}

TEST_F(ConversionWindow, PathFormPreselectsTheDriveOfARoot)
{
    main().txtPath.setText(QStringLiteral("/"));
    forms::testing::answerNextModal<PathForm>([](PathForm& picker) {
        ASSERT_GE(picker.Drive1.ListCount(), 1);
        EXPECT_EQ(picker.Drive1.ListIndex(), 0);
        EXPECT_EQ(picker.Dir1.Path(), "/");
        picker.cmdOK.click();
    });
    main().cmdBrowse.click();
    EXPECT_EQ(main().txtPath.Text(), "/");
}

TEST_F(ConversionWindow, OpenAddsAProjectThatUsesTheSource)
{
    main().cboProduct.setListIndex(2);
    forms::testing::answerNextFileDialog(at("Inventory/Inventory.vbp"));
    main().mFileOpen.click();
    EXPECT_THAT(checked(), ElementsAre(at("Inventory/Inventory.vbp")));
    EXPECT_TRUE(main().cmdConvert.Enabled());

    forms::testing::cancelNextFileDialog();
    main().mFileOpen.click();
    EXPECT_EQ(listed().size(), 1);
}

TEST_F(ConversionWindow, OpenRefusesAProjectWithoutTheSource)
{
    main().cboProduct.setListIndex(3);
    forms::testing::answerNextFileDialog(at("Tools/Calc.vbp"));
    forms::testing::answerNextMsgBox(forms::vbOK);
    main().mFileOpen.click();
    EXPECT_THAT(listed(), IsEmpty());
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    const auto& box = forms::testing::shownMsgBoxes()[0];
    EXPECT_EQ(box.text, "ERROR: No Zentribar 2.0 controls detected in " + at("Tools/Calc.vbp"));
    EXPECT_EQ(box.buttons, 49);
    EXPECT_EQ(box.title, "ERROR - Project does not contain Zentribar 2.0 Controls");

    // A file one byte past a project's size is refused for its size.
    const QString over = at("Tools/Over.vbp");
    ASSERT_TRUE(QFile::copy(at("Inventory/Inventory.vbp"), over));
    ASSERT_TRUE(QFile::resize(over, mConversion::kMaxProjectBytes + 1));
    main().cboProduct.setListIndex(2);
    forms::testing::answerNextFileDialog(over);
    forms::testing::answerNextMsgBox(forms::vbOK);
    main().mFileOpen.click();
    EXPECT_THAT(listed(), IsEmpty());
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 2u);
    EXPECT_EQ(forms::testing::shownMsgBoxes()[1].text,
              "ERROR: " + over + " cannot be a project: it is 4194305 bytes, more than a "
              "project file can be (4194304 bytes)");
}

TEST_F(ConversionWindow, CheckAllUncheckAllAndClear)
{
    QFile::copy(at("Inventory/Inventory.vbp"), at("Tools/Copy.vbp"));
    find(2, root());
    main().mActionUncheckAll.click();
    EXPECT_THAT(checked(), IsEmpty());
    main().mActionCheckAll.click();
    EXPECT_EQ(checked().size(), 2);
    main().List1.clickItem(0);
    EXPECT_TRUE(main().mActionConvert.Enabled());
    main().mActionClear.click();
    EXPECT_THAT(listed(), IsEmpty());
    EXPECT_FALSE(main().cmdConvert.Enabled());
}

TEST_F(ConversionWindow, AboutBox)
{
    forms::testing::answerNextModal<AboutForm>([](AboutForm& about) {
        EXPECT_EQ(about.Caption(), "   About VB Control Conversion");
        expectWholeAndDistinct(about, QStringLiteral("about"));
        EXPECT_EQ(about.BuildLabel.Caption(), "Version 1.00");
        EXPECT_TRUE(about.AboutLabel.Caption().startsWith("A utility to convert Visual Basic"));
        about.Command1.click();
        EXPECT_FALSE(about.isLoaded());
    });
    main().mHelpAbout.click();
}
