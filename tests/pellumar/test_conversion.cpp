// The wizard from start to the written configuration file, the cut-out of
// the pictures, conversion errors, navigation and the settings file.
#include "WizardFixture.h"

#include "barwright/common/DrawingParameters.h"
#include "pellumar/wizard/frmTooltip.h"
#include "platform/toolbar/Tool.h"
#include "platform/runtime/SaveFile.h"
#include "platform/toolbar/Toolbar.h"
#include "tests/support/PictureFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>

#include <cerrno>

using ::testing::ElementsAre;

namespace {
constexpr gdi::COLORREF kGrey = gdi::RGB(192, 192, 192);
constexpr gdi::COLORREF kBlack = gdi::RGB(0, 0, 0);
}  // namespace

TEST_F(WizardTest, AWholeRunWritesTheToolsAToolbarAndThePictures)
{
    frmWizard& w = wizard();
    w.Load();
    EXPECT_EQ(w.Caption(), "Quenbrix Toolset Conversion Wizard - Introduction");
    EXPECT_FALSE(w.cmdNav(frmWizard::NavBack).Enabled());
    next();
    EXPECT_EQ(stepCaption(), "Select Toolset");
    EXPECT_FALSE(w.cmdNav(frmWizard::NavNext).Enabled());
    chooseToolset(path("Sample.bm$"));
    EXPECT_EQ(w.sOutputFileName, "Sample.qrv");
    EXPECT_TRUE(w.cmdNav(frmWizard::NavNext).Enabled());
    next();
    EXPECT_EQ(stepCaption(), "Select Images");
    w.chDown.setValue(forms::vbChecked);
    next();
    EXPECT_EQ(stepCaption(), "Select Tool Up Image Area");
    ASSERT_TRUE(w.Engines[0]);
    // The inner square of the Up cells: 12 x 12 from (6, 5).
    dragArea(0, 17, 16, 6, 5);   // from bottom right to top left
    int32_t l, t, r, b;
    w.Engines[0]->GetSelection(l, t, r, b);
    EXPECT_THAT((std::vector<int32_t>{l, t, r, b}), ElementsAre(6, 5, 17, 16));
    next();
    EXPECT_EQ(stepCaption(), "Select Tool Down Image Area");
    next();   // no Down area chosen: the whole cell
    EXPECT_EQ(stepCaption(), "Select Tool Size");
    EXPECT_EQ(w.coSize.ListIndex(), 0);   // 12 x 12 proposes 16 x 16
    next();
    EXPECT_EQ(stepCaption(), "Ready To Convert!");
    EXPECT_TRUE(w.cmdNav(frmWizard::NavFinish).Enabled());
    EXPECT_FALSE(w.cmdNav(frmWizard::NavNext).Enabled());
    forms::testing::answerNextMsgBox(forms::vbNo);
    w.cmdNav(frmWizard::NavFinish).click();
    ASSERT_THAT(titles(), ElementsAre("Quenbrix Toolset Conversion Wizard"));
    EXPECT_TRUE(forms::testing::shownMsgBoxes()[0].text.startsWith(
        QStringLiteral("The toolset has been successfully converted!")));
    EXPECT_FALSE(w.isLoaded());

    toolbar::MqZentribar control;
    control.LoadConfiguration(path("Sample.qrv"));
    ASSERT_EQ(control.tools()->Count(), 4);
    ASSERT_EQ(control.toolbars()->Count(), 1);
    const auto bar = control.toolbars()->Item(QStringLiteral("Toolbar1"));
    QStringList entries;
    for (const auto tool : *bar->tools())
        entries << (tool->Type() == 8 ? QStringLiteral("|") : tool->ID());
    EXPECT_EQ(entries.join(u' '), "ID_Bold | ID_Left ID_Right | ID_Print");

    const auto left = control.tools()->Item(QStringLiteral("ID_Left"));
    EXPECT_EQ(left->Type(), 1);
    EXPECT_EQ(left->Category(), "Sample Tools");
    EXPECT_EQ(left->Description(), "Align left");
    EXPECT_EQ(left->TooltipText(), "Left");
    EXPECT_EQ(left->StateGroupName(), "Group<2>");
    EXPECT_FALSE(left->StateAllowAllUp());
    EXPECT_TRUE(left->UseMaskColor());
    EXPECT_EQ(left->ImageSize(), 16);
    EXPECT_EQ(control.tools()->Item(QStringLiteral("ID_Print"))->Type(), 0);
    EXPECT_EQ(control.tools()->Item(QStringLiteral("ID_Bold"))->StateGroupName(), "");

    const forms::Picture up = left->picture(toolbar::PictureState::Normal);
    ASSERT_TRUE(up);
    EXPECT_EQ(up->widthPixels(), 16);
    EXPECT_EQ(up->heightPixels(), 17);
    EXPECT_EQ(pixelOf(up, 0, 0), kGrey);                      // border of mask colour
    EXPECT_EQ(pixelOf(up, 2, 2), kBlack);                     // the area's top-left pixel
    EXPECT_EQ(pixelOf(up, 3, 2), gdi::RGB(0, 128, 0));        // the second tool's colour
    EXPECT_EQ(pixelOf(up, 13, 13), gdi::RGB(0, 128, 0));
    EXPECT_EQ(pixelOf(up, 14, 14), kGrey);
    EXPECT_EQ(pixelOf(up, 0, 16), kGrey);                     // the mask pixel
    // The whole 24 x 22 Down cell centred on 16: shifted by (-4, -3).
    const forms::Picture down = left->picture(toolbar::PictureState::Pressed);
    ASSERT_TRUE(down);
    EXPECT_EQ(pixelOf(down, 3, 3), kBlack);
    EXPECT_FALSE(left->picture(toolbar::PictureState::Disabled));
}

// A strip with an alpha channel: its transparent pixels (black, as such files
// hold them) are cut out as the mask colour.
TEST_F(WizardTest, TransparentPixelsOfTheStripBecomeTheMaskColour)
{
    write("Sample.bmp", bwtest::bmpAlphaFile(96, 88, [](int x, int y) {
              return (x < 3 && y < 2) ? 0x00000000u : 0xFF00C000u;
          }));
    frmWizard& w = wizard();
    w.txtSelectedToolsetFileName.setText(path("Sample.bm$"));
    ASSERT_TRUE(w.bImagesAvailable);
    w.InitImageArea(0);
    w.ClearToolbarControl();
    w.coSize.setListIndex(8);   // 24: the 24 x 22 cell lands one row down
    const auto tool = w.tbarMain->tools()->Add(QStringLiteral("T"));
    w.ConvertStateImage(0, 0, tool);
    const forms::Picture pic = tool->picture(toolbar::PictureState::Normal);
    ASSERT_TRUE(pic);
    EXPECT_EQ(pixelOf(pic, 2, 2), kGrey);
    EXPECT_EQ(pixelOf(pic, 3, 2), gdi::RGB(0, 192, 0));
    EXPECT_EQ(pixelOf(pic, 2, 3), gdi::RGB(0, 192, 0));
    EXPECT_EQ(pixelOf(pic, 0, 0), kGrey);   // the border row
}

struct CutCase {
    const char* name;
    int areaWidth;    // from x = 6
    int areaHeight;   // from y = 5
    int size;         // S
    int markX;        // where the area's top-left pixel lands
    int markY;
};

class PictureCut : public WizardTest, public ::testing::WithParamInterface<CutCase> {};

TEST_P(PictureCut, CentresTheAreaWithHalvesToEven)
{
    frmWizard& w = wizard();
    w.txtSelectedToolsetFileName.setText(path("Sample.bm$"));
    w.InitImageArea(0);
    w.ClearToolbarControl();
    dragArea(0, 6, 5, 6 + GetParam().areaWidth - 1, 5 + GetParam().areaHeight - 1);
    w.coSize.setListIndex(GetParam().size - 16);
    const auto tool = w.tbarMain->tools()->Add(QStringLiteral("T"));
    w.ConvertStateImage(0, 0, tool);
    const forms::Picture pic = tool->picture(toolbar::PictureState::Normal);
    ASSERT_TRUE(pic);
    EXPECT_EQ(pic->widthPixels(), GetParam().size);
    EXPECT_EQ(tool->ImageSize(), GetParam().size);
    const int dy = GetParam().markY;
    if (GetParam().markX >= 0)
        EXPECT_EQ(pixelOf(pic, GetParam().markX, dy), kBlack);
    else
        EXPECT_EQ(pixelOf(pic, 0, dy), gdi::RGB(255, 0, 0));   // the mark was clipped
    EXPECT_EQ(pixelOf(pic, 0, GetParam().size), kGrey);
}

INSTANTIATE_TEST_SUITE_P(Pellumar, PictureCut,
                         // Halves go to the even side across and down alike.
                         ::testing::Values(CutCase{"Width13", 13, 9, 16, 2, 4},
                                           CutCase{"Width11", 11, 14, 16, 2, 1},
                                           CutCase{"Width18Clipped", 18, 12, 16, -1, 2},
                                           CutCase{"Size23AsObject", 12, 9, 23, 6, 7},
                                           CutCase{"Size24AsHandle", 12, 12, 24, 6, 6}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(WizardTest, AConversionErrorIsReportedAndTheFileIsNotWritten)
{
    frmWizard& w = wizard();
    w.txtSelectedToolsetFileName.setText(path("Sample.bm$"));
    w.GenerateOutputFileName();
    w.InitImageArea(0);
    w.chDown.setValue(forms::vbChecked);   // but the Down area was never chosen
    answerOk(4);                           // one per tool
    forms::testing::answerNextMsgBox(forms::vbNo);
    EXPECT_FALSE(w.ConvertToolset());
    const auto& shown = forms::testing::shownMsgBoxes();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].title, "Error While Converting Toolset");
    EXPECT_EQ(shown[0].buttons, forms::vbCritical);
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("Error #91 - '")));
    EXPECT_TRUE(shown[4].text.startsWith(QStringLiteral("An error was encountered")));
    EXPECT_FALSE(QFileInfo::exists(w.sOutputPath));
    // Every tool still went in, with its Up picture.
    ASSERT_EQ(w.tbarMain->tools()->Count(), 4);
    EXPECT_TRUE(w.tbarMain->tools()->Item(4)->picture(toolbar::PictureState::Normal));
}

TEST_F(WizardTest, AFullDiskIsReportedWithItsCauseAndNoFileIsWritten)
{
    frmWizard& w = wizard();
    const auto convert = [&](int answers) {
        w.txtSelectedToolsetFileName.setText(path("Sample.bm$"));
        w.GenerateOutputFileName();
        w.InitImageArea(0);
        forms::testing::reset();
        answerOk(answers);
        forms::testing::answerNextMsgBox(forms::vbNo);
        return w.ConvertToolset();
    };
    EXPECT_FALSE(convert(0));
    const QString written = w.sOutputPath;
    const qint64 size = QFileInfo(written).size();
    ASSERT_GT(size, 0);
    ASSERT_TRUE(QFile::remove(written));
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);

    // The disk fills at the last byte of the same file.
    rt::testing::failSaveWrites(ENOSPC, size - 1);
    EXPECT_FALSE(convert(1));
    rt::testing::failSaveWrites(0);
    const auto& shown = forms::testing::shownMsgBoxes();
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0].title, "Error While Converting Toolset");
    EXPECT_EQ(shown[0].buttons, forms::vbCritical);
    EXPECT_TRUE(shown[0].text.contains(QStringLiteral("No space left on device")))
        << shown[0].text.toStdString();
    EXPECT_TRUE(shown[1].text.startsWith(QStringLiteral("An error was encountered")));
    EXPECT_EQ(w.sOutputPath, written);
    EXPECT_FALSE(QFileInfo::exists(written));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
}

TEST_F(WizardTest, WithoutAStripTheImageStepsAreSkipped)
{
    QFile::remove(path("Sample.bmp"));
    frmWizard& w = wizard();
    w.Load();
    next();
    answerOk(1);
    chooseToolset(path("Sample.bm$"));
    next();
    EXPECT_EQ(stepCaption(), "Select Tool Size");
    next();
    EXPECT_EQ(stepCaption(), "Ready To Convert!");
    back();
    back();
    EXPECT_EQ(stepCaption(), "Select Toolset");
}

TEST_F(WizardTest, SettingsRememberTheFolderAndAWrongFileIsRefused)
{
    frmWizard& w = wizard();
    w.Load();
    next();
    write("Other.txt", "x");
    forms::testing::answerNextFileDialog(path("Other.txt"));
    answerOk(1);
    chooseToolset(path("Sample.bm$"));
    ASSERT_THAT(titles(), ElementsAre("Select Kelvory Toolset"));
    EXPECT_EQ(forms::testing::shownMsgBoxes()[0].text,
              "The file you have selected, 'Other.txt', is not a valid Kelvory Toolset File!  "
              "Please reselect.");
    EXPECT_EQ(w.txtSelectedToolsetFileName.Text(), path("Sample.bm$"));
    EXPECT_EQ(modWizard::ReadToolsetDirectory(), dir.path());
    QFile ini(path("Pellumar.ini"));
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("[Settings]"));

    w.CommonDialog1.InitDir.clear();
    forms::testing::cancelNextFileDialog();
    w.cmdBrowseForToolset.click();
    EXPECT_EQ(w.CommonDialog1.InitDir, dir.path());
    EXPECT_EQ(w.txtSelectedToolsetFileName.Text(), path("Sample.bm$"));   // cancel keeps it
}

TEST_F(WizardTest, AreaEngineSelectsProposesAndPicksTheMask)
{
    frmWizard& w = wizard();
    w.txtSelectedToolsetFileName.setText(path("Sample.bm$"));
    w.InitImageArea(0);
    pellumar::CDraw& e = *w.Engines[0];
    // (pixels - 5) of the canvas is a whole number of cells; inside its
    // border that leaves the cells and the closing grid line.
    EXPECT_EQ((int32_t(w.picCanvas(0).Width() / 15) - 5) % 24, 0);
    EXPECT_EQ((int32_t(w.picCanvas(0).Height() / 15) - 5) % 22, 0);
    EXPECT_EQ((e.CanvasWidth() - 1) % 24, 0);
    EXPECT_EQ((e.CanvasHeight() - 1) % 22, 0);
    dragArea(0, 3, 3, 3, 3);   // a click: one pixel, which counts as no area
    EXPECT_EQ(frmTooltip::get().Text(), "Selection Size: 1x1");
    w.InitToolSize();
    EXPECT_EQ(w.coSize.ListIndex(), 24 - 16);   // the whole cell: max(24, 22)

    w.bToolSizeSet = false;
    dragArea(0, 0, 0, 19, 13);   // 20 x 14 proposes 20
    w.InitToolSize();
    EXPECT_EQ(w.coSize.ListIndex(), 4);

    // A right click on the inner square picks its colour; outside the cell nothing.
    const int16_t x = e.XActualToCanvas(8), y = e.YActualToCanvas(8);
    w.picCanvas_MouseDown(0, forms::vbRightButton, 0, x * 15.f, y * 15.f);
    EXPECT_EQ(mDrawParams::gMaskColor, int32_t(gdi::RGB(255, 0, 0)));
    w.picCanvas_MouseDown(0, forms::vbRightButton, 0, float(e.CanvasWidth() + 40) * 15.f, 15.f);
    EXPECT_EQ(mDrawParams::gMaskColor, int32_t(gdi::RGB(255, 0, 0)));
}

TEST_F(WizardTest, TheSelectionTipIsAWindowOfItsOwnShowingItsText)
{
    frmWizard& w = wizard();
    w.Show();
    w.txtSelectedToolsetFileName.setText(path("Sample.bm$"));
    w.InitImageArea(0);
    pellumar::CDraw& e = *w.Engines[0];
    const float x = float(e.XActualToCanvas(2) + 1) * 15.f;
    const float y = float(e.YActualToCanvas(2) + 1) * 15.f;
    w.picCanvas_MouseDown(0, 1, 0, x, y);
    frmTooltip& tip = frmTooltip::get();
    QWidget* top = tip.window();
    ASSERT_TRUE(tip.isLoaded());
    EXPECT_EQ(top->windowType(), Qt::ToolTip);
    EXPECT_TRUE(top->isVisible());
    QWidget* label = tip.lblSize.widget();
    EXPECT_EQ(label->window(), top);
    EXPECT_TRUE(label->isVisible());
    const QFontMetrics fm(label->font());
    EXPECT_EQ(top->width(), fm.horizontalAdvance(QStringLiteral("Selection Size: 99x99")) + 8);
    EXPECT_EQ(top->height(), fm.height() + 6);
    EXPECT_EQ(tip.lblSize.Caption(), "Selection Size: 1x1");
    w.picCanvas_MouseUp(0, 1, 0, x, y);
    EXPECT_FALSE(tip.isLoaded());
}
