// Reading toolsets: the sample, damaged values, a damaged or mismatching
// strip, missing keys and duplicates, and the output name.
#include "WizardFixture.h"

#include "barwright/common/DrawingParameters.h"
#include "platform/forms/CheckBox.h"
#include "tests/support/FifoWatch.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QFile>

#include <sys/resource.h>
#include <unistd.h>

using ::testing::ElementsAre;

TEST_F(WizardTest, ReadsTheSampleToolsetWithItsStrip)
{
    wizard().txtSelectedToolsetFileName.setText(path("Sample.bm$"));
    EXPECT_TRUE(forms::testing::shownMsgBoxes().empty());
    frmWizard& w = wizard();
    ASSERT_EQ(w.colTools.Count(), 4);
    EXPECT_TRUE(w.bImagesAvailable);
    EXPECT_EQ(w.ButtonWidth, 24);
    EXPECT_EQ(w.ButtonHeight, 22);
    EXPECT_EQ(mDrawParams::gPicWidth, 24);
    EXPECT_EQ(w.lblToolSize.Caption(), "24x22");
    EXPECT_EQ(w.lblToolsetName.Caption(), "Sample Tools");
    EXPECT_TRUE(w.chUpDisabled.Visible());
    EXPECT_TRUE(w.chDownDisabled.Visible());

    const auto left = w.colTools.Item(QStringLiteral("id_left")).as<CToolInfo>();
    ASSERT_TRUE(left);
    EXPECT_EQ(left->ID, "ID_Left");
    EXPECT_EQ(left->Description, "Align left");
    EXPECT_EQ(left->HelpText, "Left");
    EXPECT_EQ(left->ToolType, 1);
    EXPECT_FALSE(left->AllowAllUp);
    EXPECT_EQ(left->Group, 2);
    EXPECT_EQ(left->Mnemonic, "L");
    EXPECT_TRUE(left->Exclusive);
    const auto print = w.toolInfo(4);
    EXPECT_EQ(print->ID, "ID_Print");
    EXPECT_TRUE(print->AllowAllUp);   // defaults where keys are absent
    EXPECT_EQ(print->Group, 1);
    EXPECT_FALSE(w.toolInfo(3)->AllowAllUp);   // "0" is False
    EXPECT_EQ(w.lvTools.ListItems.Count(), 4);
    EXPECT_EQ(w.lvTools.ListItems.Item(2).SubItems(1), "Align left");
}

// Toolsets were written in the Western Windows code page, not Latin-1.
TEST_F(WizardTest, AWindowsCodePageToolsetKeepsItsPunctuation)
{
    write("Code.bm$", "[General]\r\nToolsetName=\x93Smart\x94 \x96 Tools\x85\r\nButtonWidth=16\r\n"
                      "ButtonHeight=16\r\nNumBtnStates=2\r\nNumTools=1\r\n"
                      "[TOOL0000]\r\nID=ID_Euro\x80\r\nDescription=It\x92s more\x85\r\n");
    answerOk(1);
    wizard().txtSelectedToolsetFileName.setText(path("Code.bm$"));
    EXPECT_THAT(titles(), ElementsAre("Toolset Image File Missing"));
    EXPECT_EQ(wizard().lblToolsetName.Caption(),
              QStringLiteral("\u201cSmart\u201d \u2013 Tools\u2026"));
    const auto tool = wizard().toolInfo(1);
    ASSERT_TRUE(tool);
    EXPECT_EQ(tool->ID, QStringLiteral("ID_Euro\u20ac"));
    EXPECT_EQ(tool->Description, QStringLiteral("It\u2019s more\u2026"));
}

TEST_F(WizardTest, ABadValueIsReportedAndTheRestIsRead)
{
    write("Bad.bm$", "[General]\nButtonWidth=16\nButtonHeight=16\nNumBtnStates=2\nNumTools=3\n"
                     "[TOOL0000]\nID=A\nType=abc\nGroup=7\n"
                     "[TOOL0001]\nDescription=no id\n"
                     "[TOOL0002]\nID=a\n");
    answerOk(3);
    wizard().txtSelectedToolsetFileName.setText(path("Bad.bm$"));
    EXPECT_THAT(titles(), ElementsAre("Toolset Image File Missing", "Error While Reading Toolset",
                                      "Duplicate Tool ID"));
    const auto& shown = forms::testing::shownMsgBoxes();
    EXPECT_EQ(shown[1].buttons, forms::vbCritical);
    EXPECT_TRUE(shown[1].text.contains(QStringLiteral("Error #13 - '")));
    EXPECT_TRUE(shown[2].text.startsWith(QStringLiteral("Duplicate tool 'a' encountered")));
    ASSERT_EQ(wizard().colTools.Count(), 1);
    EXPECT_EQ(wizard().toolInfo(1)->ToolType, 0);   // the failed value left the default
    EXPECT_EQ(wizard().toolInfo(1)->Group, 7);
    EXPECT_FALSE(wizard().bImagesAvailable);
    EXPECT_FALSE(wizard().chUpDisabled.Visible());
    EXPECT_FALSE(wizard().chDownDisabled.Visible());
}

struct RejectCase {
    const char* name;
    const char* content;
    const char* lastMessageEnd;
    int boxes;
};

class RejectedToolsets : public WizardTest, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(RejectedToolsets, LeaveTheWizardWithoutAToolset)
{
    write("Rej.bm$", GetParam().content);
    answerOk(GetParam().boxes);
    forms::testing::answerNextFileDialog(path("Rej.bm$"));
    wizard().cmdBrowseForToolset.click();
    ASSERT_FALSE(forms::testing::shownMsgBoxes().empty());
    EXPECT_TRUE(forms::testing::shownMsgBoxes().back().text.endsWith(
        QLatin1String(GetParam().lastMessageEnd)));
    EXPECT_EQ(wizard().txtSelectedToolsetFileName.Text(), "<none>");
    EXPECT_FALSE(wizard().picToolsetSummary.Visible());
}

INSTANTIATE_TEST_SUITE_P(
    Pellumar, RejectedToolsets,
    ::testing::Values(
        RejectCase{"NoNumTools", "[General]\nButtonWidth=20\nButtonHeight=18\nNumBtnStates=2\n",
                   "[NumTools]", 1},
        RejectCase{"NoWidth", "[general]\nbuttonheight=18\n", "[ButtonWidth]", 1},
        RejectCase{"NoTools",
                   "[General]\nButtonWidth=16\nButtonHeight=16\nNumBtnStates=2\nNumTools=0\n",
                   "has no valid tools defined!", 2},
        RejectCase{"OnlyToolsWithoutId",
                   "[General]\nButtonWidth=16\nButtonHeight=16\nNumBtnStates=2\nNumTools=1\n"
                   "[TOOL0000]\nDescription=x\n",
                   "has no valid tools defined!", 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(WizardTest, MissingNumToolsKeepsTheValuesReadBefore)
{
    write("Half.bm$", "[General]\nButtonWidth=20\nButtonHeight=18\nNumBtnStates=3\n");
    answerOk(1);
    EXPECT_FALSE(wizard().LoadToolset(path("Half.bm$")));
    EXPECT_EQ(wizard().ButtonWidth, 20);
    EXPECT_EQ(wizard().ButtonHeight, 18);
    EXPECT_EQ(wizard().NumBtnStates, 3);
}

TEST_F(WizardTest, APipeChosenAsTheToolsetIsRefusedWithoutWaiting)
{
    const QString pipe = path("Pipe.bm$");
    ASSERT_TRUE(bwtest::makeFifo(pipe.toStdString()));
    answerOk(1);
    {
        bwtest::FifoWatch watch(pipe.toStdString());
        wizard().txtSelectedToolsetFileName.setText(pipe);
        EXPECT_FALSE(watch.released()) << "reading the pipe blocked";
    }
    ASSERT_THAT(titles(), ElementsAre("Load Toolset Data"));
    EXPECT_TRUE(forms::testing::shownMsgBoxes()[0].text.endsWith(QLatin1String("[ButtonWidth]")));
    EXPECT_EQ(wizard().txtSelectedToolsetFileName.Text(), "<none>");
    EXPECT_EQ(wizard().colTools.Count(), 0);
}

TEST_F(WizardTest, AToolsetFarLargerThanAnyIsRefusedAtOnceNamingItsSize)
{
    const QString huge = path("Huge.bm$");
    write("Huge.bm$", "[General]\r\nButtonWidth=16\r\n");
    ASSERT_EQ(::truncate(QFile::encodeName(huge).constData(), off_t(1) << 31), 0);
    answerOk(1);
    rusage before {};
    getrusage(RUSAGE_SELF, &before);
    QElapsedTimer timer;
    timer.start();
    wizard().txtSelectedToolsetFileName.setText(huge);
    EXPECT_LT(timer.elapsed(), 1000);
    rusage after {};
    getrusage(RUSAGE_SELF, &after);
    EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 32 * 1024) << "kilobytes";
    ASSERT_THAT(titles(), ElementsAre("Load Toolset Data"));
    const QString text = forms::testing::shownMsgBoxes()[0].text;
    EXPECT_TRUE(text.contains(huge) && text.contains(QLatin1String("2147483648 bytes")))
        << text.toStdString();
    EXPECT_EQ(wizard().txtSelectedToolsetFileName.Text(), "<none>");
}

TEST_F(WizardTest, AStripOnePixelOffOrDamagedGoesOnWithoutImages)
{
    QFile::remove(path("Sample.bmp"));
    QImage strip(97, 88, QImage::Format_RGB32);   // one pixel too wide
    strip.fill(Qt::gray);
    ASSERT_TRUE(strip.save(path("Sample.bmp"), "BMP"));
    answerOk(1);
    wizard().txtSelectedToolsetFileName.setText(path("Sample.bm$"));
    EXPECT_THAT(titles(), ElementsAre("Toolset Image Data Inconsistent"));
    EXPECT_FALSE(wizard().bImagesAvailable);
    EXPECT_EQ(wizard().colTools.Count(), 4);

    // A strip one byte short of its last row: refused, never filled up.
    forms::testing::clearShown();
    QImage whole(96, 88, QImage::Format_RGB32);
    whole.fill(Qt::gray);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && whole.save(&buffer, "BMP"));
    write("Sample.bmp", bytes.left(bytes.size() - 1));
    wizard().txtSelectedToolsetFileName.setText(QStringLiteral("<none>"));
    answerOk(1);
    wizard().txtSelectedToolsetFileName.setText(path("Sample.bm$"));
    ASSERT_THAT(titles(), ElementsAre("Error While Reading Toolset"));
    EXPECT_EQ(forms::testing::shownMsgBoxes()[0].buttons, forms::vbCritical);
    EXPECT_TRUE(forms::testing::shownMsgBoxes()[0].text.contains(QStringLiteral("Error #481")));
    EXPECT_TRUE(forms::testing::shownMsgBoxes()[0].text.contains(
        QStringLiteral("The file ends before its pixels do")));
    EXPECT_FALSE(wizard().picSegmented.picture());
    EXPECT_FALSE(wizard().bImagesAvailable);
    EXPECT_EQ(wizard().colTools.Count(), 4);
    EXPECT_NE(wizard().txtSelectedToolsetFileName.Text(), "<none>");
}

TEST_F(WizardTest, AStripWhoseNameDiffersOnlyInCaseIsFound)
{
    // "TOOLS.BM$" asks for "TOOLS.BMp"; the strip on disk is "TOOLS.BMP".
    ASSERT_TRUE(QFile::copy(path("Sample.bm$"), path("TOOLS.BM$")));
    ASSERT_TRUE(QFile::copy(path("Sample.bmp"), path("TOOLS.BMP")));
    wizard().txtSelectedToolsetFileName.setText(path("TOOLS.BM$"));
    EXPECT_TRUE(forms::testing::shownMsgBoxes().empty());
    EXPECT_TRUE(wizard().bImagesAvailable);

    // The exact name wins over one that differs in case.
    QImage wrong(10, 10, QImage::Format_RGB32);
    wrong.fill(Qt::gray);
    ASSERT_TRUE(QFile::copy(path("Sample.bm$"), path("Other.bm$")));
    ASSERT_TRUE(QFile::copy(path("Sample.bmp"), path("Other.bmp")));
    ASSERT_TRUE(wrong.save(path("Other.BMP"), "BMP"));
    wizard().txtSelectedToolsetFileName.setText(QStringLiteral("<none>"));
    wizard().txtSelectedToolsetFileName.setText(path("Other.bm$"));
    EXPECT_TRUE(forms::testing::shownMsgBoxes().empty());
    EXPECT_TRUE(wizard().bImagesAvailable);
}

TEST_F(WizardTest, OutputNameSkipsExistingFiles)
{
    ASSERT_TRUE(QFile::copy(path("Sample.bm$"), path("Toolset.BM$")));
    write("Toolset.qrv", "");
    write("Toolset1.qrv", "");
    answerOk(1);   // no strip beside it
    wizard().txtSelectedToolsetFileName.setText(path("Toolset.BM$"));
    wizard().GenerateOutputFileName();
    EXPECT_EQ(wizard().sOutputFileName, "Toolset2.qrv");
    EXPECT_EQ(wizard().sOutputPath, path("Toolset2.qrv"));
    EXPECT_EQ(wizard().lbNewFilename.Caption(), "Toolset2.qrv");
    EXPECT_EQ(modWizard::InStrLast(QStringLiteral("a.b.c"), QStringLiteral(".")), 4);
    EXPECT_EQ(modWizard::InStrLast(QStringLiteral("abc"), QStringLiteral("/")), -1);
}
