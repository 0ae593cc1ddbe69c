// The wizard window: its design, the steps and the navigation buttons, help,
// the choice of the toolset file, start, finish, cancel and close.
#include "pellumar/wizard/frmWizard.h"

#include "barwright/common/NothingAndCollections.h"
#include "pellumar/wizard/mDrawParams.h"
#include "pellumar/wizard/modWizard.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Error.h"

#include <QApplication>
#include <QFileInfo>
#include <QStyle>

namespace {

const QString kTitle = QStringLiteral("Quenbrix Toolset Conversion Wizard");
const QString kNone = QStringLiteral("<none>");
const QString kCRLF = QStringLiteral("\r\n");
const QString kPara = kCRLF + kCRLF;

constexpr float kFrameWidth = 8400;
constexpr float kFrameHeight = 5520;
constexpr float kNavHeight = 660;
constexpr float kContentLeft = 2040;
constexpr float kContentWidth = kFrameWidth - kContentLeft - 180;
constexpr float kOutOfSight = -10000;

const char* const kStepCaptions[frmWizard::StepCount] = {
    "Introduction",
    "Select Toolset",
    "Select Images",
    "Select Tool Up Image Area",
    "Select Tool Down Image Area",
    "Select Tool Size",
    "Ready To Convert!",
};

QString stepName(int i)
{
    return QString::fromLatin1(kStepCaptions[i]);
}

}  // namespace

frmWizard::frmWizard()
{
    for (int16_t i = 0; i < StepCount; ++i) {
        lblStep.add(&fraStep(i), QStringLiteral("lblStep"), i);
        imgStep.add(&fraStep(i), QStringLiteral("imgStep"), i);
        lblNote.add(&fraStep(i), QStringLiteral("lblNote"), i);
    }
    for (int16_t area = 0; area < 2; ++area) {
        picCanvas.add(&fraStep(3 + area), QStringLiteral("picCanvas"), area);
        picActual.add(&fraStep(3 + area), QStringLiteral("picActual"), area);
        picCanvas(area).MouseDown = [this, area](int16_t b, int16_t s, float x, float y) {
            picCanvas_MouseDown(area, b, s, x, y);
        };
        picCanvas(area).MouseMove = [this, area](int16_t b, int16_t s, float x, float y) {
            picCanvas_MouseMove(area, b, s, x, y);
        };
        picCanvas(area).MouseUp = [this, area](int16_t b, int16_t s, float x, float y) {
            picCanvas_MouseUp(area, b, s, x, y);
        };
    }
    for (int16_t i = 0; i < 5; ++i)
        cmdNav(i).Click = [this, i] { cmdNav_Click(i); };
    cmdBrowseForToolset.Click = [this] { cmdBrowseForToolset_Click(); };
    txtSelectedToolsetFileName.Change = [this] { txtSelectedToolsetFileName_Change(); };
}

// ---- Design ----------------------------------------------------------------

void frmWizard::Form_Design()
{
    setCaption(kTitle);
    setDesignSize(kFrameWidth, kFrameHeight + kNavHeight);
    designSteps();
    designSummary();

    picNav.setBorderStyle(0);
    picNav.Move(0, kFrameHeight, kFrameWidth, kNavHeight);
    const char* const navCaptions[5] = {"&Help", "Cancel", "< &Back", "&Next >", "&Finish"};
    const float navLeft[5] = {180, 2640, 4080, 5400, 6960};
    for (int16_t i = 0; i < 5; ++i) {
        cmdNav(i).setCaption(QString::fromLatin1(navCaptions[i]));
        cmdNav(i).Move(navLeft[i], 150, 1260, 390);
    }
    cmdNav(NavNext).setDefault(true);

    for (forms::PictureBox* hidden : {&picSegmented, &picWork}) {
        hidden->setVisible(false);
        hidden->setBorderStyle(0);
        hidden->setScaleMode(forms::vbPixels);
        hidden->setAutoRedraw(true);
    }
    picSegmented.setAutoSize(true);
    picSegmented.Move(0, 0, 15, 15);
    picWork.Move(0, 0, 16 * 15, 17 * 15);
}

void frmWizard::designSteps()
{
    const QString instruction[StepCount] = {
        QStringLiteral("Welcome to the Marquell Toolset Conversion Wizard!"),
        QStringLiteral("&Select the Kelvory Toolset you would like to convert (toolset files "
                       "have the extension '.bm$'):"),
        QStringLiteral("Choose the state images you would like the wizard to convert by "
                       "checking the appropriate options below."),
        QStringLiteral("Below is the 'Up' image from the first tool in the toolset."),
        QStringLiteral("Below is the 'Down' image from the first tool in the toolset."),
        QStringLiteral("&Please select a size for the converted tools."),
        QStringLiteral("The wizard is now ready to convert the Toolset and create an Zentribar "
                       "Plus Configuration file."),
    };
    const QString areaNote =
        QStringLiteral("Use the mouse to select the 'inner' area within the borders && bevels "
                       "that the wizard should preserve.")
        + QStringLiteral("\n\nClick 'Help' for more information");
    const QString note[StepCount] = {
        QStringLiteral("This wizard will walk you through the steps required to convert a "
                       "Kelvory Toolset to an Zentribar Plus Configuration File that contains "
                       "all the tools and images from the Toolset.\n\nNote: This wizard will "
                       "only convert Kelvory TOOLSETS - it cannot convert Kelvory toolbars that "
                       "you've created with the KV Toolbar Designer.\n\nAfter running this "
                       "wizard, use the Zentribar Configuration Plus Utility to manually "
                       "rebuild your toolbars using the tools generated by this wizard. (Note "
                       "that as a convenience, the wizard will automatically create a single "
                       "toolbar containing all the generated tools)"),
        QString(),
        QStringLiteral("Tip:  If you choose to convert only the 'Up' state, Zentribar Plus "
                       "(unlike Kelvory) will  dynamically generate the images for the 'Down', "
                       "'Up Disabled' and 'Down Disabled' states at runtime."),
        areaNote,
        areaNote,
        QStringLiteral("Note: The wizard has defaulted the selection to the size that most "
                       "closely matches the dimensions (after removal of the bevels/borders) "
                       "of the existing toolset images."),
        QStringLiteral("Click 'Finish' to complete the conversion."),
    };
    const gdi::COLORREF stepColors[StepCount] = {
        gdi::RGB(0, 64, 128),  gdi::RGB(0, 96, 128), gdi::RGB(0, 112, 96), gdi::RGB(64, 96, 0),
        gdi::RGB(96, 80, 0),   gdi::RGB(112, 48, 0), gdi::RGB(96, 0, 64)};
    for (int16_t i = 0; i < StepCount; ++i) {
        forms::Frame& f = fraStep(i);
        f.setCaption(stepName(i));
        f.Move(kOutOfSight, 0, kFrameWidth, kFrameHeight);
        imgStep(i).setBorderStyle(0);
        imgStep(i).Move(180, 300, kContentLeft - 360, kFrameHeight - 480);
        imgStep(i).setBackColor(int32_t(stepColors[i]));
        lblStep(i).setWordWrap(true);
        lblStep(i).setCaption(instruction[i]);
        const bool oneLine = i == 0 || i == 3 || i == 4;
        lblStep(i).Move(kContentLeft, 300, kContentWidth, oneLine ? 300 : 660);
        lblNote(i).setWordWrap(true);
        lblNote(i).setCaption(note[i]);
    }
    lblNote(0).Move(kContentLeft, 720, kContentWidth, 4200);
    lblNote(1).setVisible(false);
    lblNote(2).Move(kContentLeft, 3360, kContentWidth, 900);
    lblNote(5).Move(kContentLeft, 1920, kContentWidth, 900);
    lblNote(6).Move(kContentLeft, 2520, kContentWidth, 420);

    chUp.setCaption(QStringLiteral("Up (required)"));
    chUp.setValue(forms::vbChecked);
    chUp.setEnabled(false);
    chDown.setCaption(QStringLiteral("&Down"));
    chUpDisabled.setCaption(QStringLiteral("&Up Disabled"));
    chDownDisabled.setCaption(QStringLiteral("Do&wn Disabled"));
    forms::CheckBox* boxes[4] = {&chUp, &chDown, &chUpDisabled, &chDownDisabled};
    for (int i = 0; i < 4; ++i)
        boxes[i]->Move(kContentLeft + 240, 1080 + float(i) * 360, 3000, 300);
    lblStateInfo.setWordWrap(true);
    lblStateInfo.Move(kContentLeft, 2580, kContentWidth, 600);

    for (int16_t area = 0; area < 2; ++area) {
        lblNote(3 + area).Move(kContentLeft, 660, kContentWidth, 900);
        forms::PictureBox& canvas = picCanvas(area);
        canvas.setBorderStyle(1);   // whole cells and the closing grid line inside
        canvas.setAutoRedraw(true);
        canvas.Move(kContentLeft, 1620, 3750, 3630);
        forms::PictureBox& actual = picActual(area);
        actual.setBorderStyle(0);
        actual.setAutoRedraw(true);
        actual.setScaleMode(forms::vbPixels);
        actual.Move(kContentLeft + 3750 + 240, 1620, 16 * 15, 17 * 15);
    }

    coSize.Move(kContentLeft + 240, 1080, 1800, 315);

    lblPlacement.setWordWrap(true);
    lblPlacement.setCaption(QStringLiteral("The Configuration File will be placed in the same "
                                           "directory as the toolset, with the name:"));
    lblPlacement.Move(kContentLeft, 1020, kContentWidth, 480);
    lbNewFilename.Move(kContentLeft + 240, 1620, kContentWidth - 240, 420);
    lbProgress.Move(kContentLeft, 3600, kContentWidth, 300);
    lbProgress.setVisible(false);
    ProgressBar1.Move(kContentLeft, 3960, kContentWidth, 300);
    ProgressBar1.setVisible(false);
}

void frmWizard::designSummary()
{
    txtSelectedToolsetFileName.Move(kContentLeft, 1080, kContentWidth - 480, 315);
    // Shows the chosen toolset: every change loads it, so a typed character
    // would load (and reject) a partial path; "..." chooses.
    txtSelectedToolsetFileName.setLocked(true);
    cmdBrowseForToolset.setCaption(QStringLiteral("..."));
    cmdBrowseForToolset.setToolTipText(QStringLiteral("Browse For Toolset..."));
    cmdBrowseForToolset.Move(kContentLeft + kContentWidth - 420, 1080, 420, 315);
    picToolsetSummary.setBorderStyle(0);
    picToolsetSummary.Move(kContentLeft, 1560, kContentWidth, 3780);
    lblToolSizeCaption.setCaption(QStringLiteral("Tool width/height:"));
    lblToolSizeCaption.Move(0, 0, 1800, 270);
    lblToolSize.Move(1860, 0, 2400, 270);
    lblToolsetNameCaption.setCaption(QStringLiteral("Toolset Name:"));
    lblToolsetNameCaption.Move(0, 330, 1800, 270);
    lblToolsetName.Move(1860, 330, kContentWidth - 1860, 270);
    lblToolsCaption.setCaption(QStringLiteral("Tools"));
    lblToolsCaption.Move(0, 720, 1800, 270);
    lvTools.setView(forms::lvwReport);
    lvTools.Move(0, 990, kContentWidth, 2760);
    lvTools.ColumnHeaders.Add(1, QString(), QStringLiteral("Tool ID"), 1800);
    lvTools.ColumnHeaders.Add(2, QString(), QStringLiteral("Description"), 2400);
}

// ---- Load and unload -------------------------------------------------------

void frmWizard::Form_Load()
{
    iCurrentStep = 0;   // the window variables outlive an unload
    ResetWizard();
    for (int16_t i = 0; i < StepCount; ++i)
        fraStep(i).setLeft(kOutOfSight);
    iCanvasDesignWidth = picCanvas(0).Width();
    iCanvasDesignHeight = picCanvas(0).Height();
    FillToolSizeCombo();
    mDrawParams::CreateBackgroundBrushes();
    const int scrollBar = QApplication::style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    lvTools.ColumnHeaders.Item(2).setWidth(lvTools.Width() - lvTools.ColumnHeaders.Item(1).Width()
                                           - 1.5f * float(scrollBar) * 15.f);
    ShowStep(0);
}

void frmWizard::Form_Unload(int16_t& Cancel)
{
    (void)Cancel;
    ReleaseAreaEngines();
    mDrawParams::FreeDrawResources();
}

// ---- Steps -----------------------------------------------------------------

QString frmWizard::StepCaption(int16_t step)
{
    return fraStep(step).Caption();
}

int16_t frmWizard::FindStepIndex(const QString& caption)
{
    for (int16_t i = 0; i < StepCount; ++i) {
        if (StepCaption(i) == caption)
            return i;
    }
    forms::MsgBox(QStringLiteral("Error locating next wizard frame!"), forms::vbCritical, kTitle);
    return 0;
}

void frmWizard::ShowStep(int16_t target)
{
    bReadyToConvert = false;
    const QString caption = StepCaption(target);
    if (caption == stepName(2)) {
        lblStateInfo.setCaption(
            NumBtnStates >= 4
                ? QString()
                : QStringLiteral("(Note: the image associated with the selected toolset only "
                                 "contains %1 states)")
                      .arg(NumBtnStates));
    } else if (caption == stepName(3)) {
        InitImageArea(0);
    } else if (caption == stepName(4)) {
        InitImageArea(1);
    } else if (caption == stepName(5)) {
        InitToolSize();
    } else if (caption == stepName(6)) {
        bReadyToConvert = true;
    }
    fraStep(iCurrentStep).setEnabled(false);
    fraStep(target).setLeft(0);
    if (target != iCurrentStep)
        fraStep(iCurrentStep).setLeft(kOutOfSight);
    fraStep(target).setEnabled(true);
    UpdateCaption(target);
    UpdateNavButtons(target);
    SetStepFocus(target);
}

void frmWizard::UpdateNavButtons(int16_t step)
{
    iCurrentStep = step;
    cmdNav(NavBack).setEnabled(step != 0);
    cmdNav(NavNext).setEnabled(step != StepCount - 1);
    cmdNav(NavFinish).setEnabled(bReadyToConvert);
    if (StepCaption(step) == stepName(1))
        cmdNav(NavNext).setEnabled(txtSelectedToolsetFileName.Text() != kNone);
    cmdNav(NavHelp).setEnabled(true);
    cmdNav(NavCancel).setEnabled(true);
}

void frmWizard::DisableNavButtons()
{
    for (int16_t i = 0; i < 5; ++i)
        cmdNav(i).setEnabled(false);
}

void frmWizard::UpdateCaption(int16_t step)
{
    setCaption(kTitle + QStringLiteral(" - ") + StepCaption(step));
}

void frmWizard::SetStepFocus(int16_t step)
{
    const QString caption = StepCaption(step);
    rt::tryStatement([&] {
        if (caption == stepName(1))
            cmdBrowseForToolset.SetFocus();
        else if (caption == stepName(2))
            chDown.SetFocus();
        else if (caption == stepName(5))
            coSize.SetFocus();
    });
}

void frmWizard::ResetWizard()
{
    bReadyToConvert = false;
    bImagesAvailable = false;
    txtSelectedToolsetFileName.setText(kNone);
    ReleaseAreaEngines();
}

void frmWizard::nextStep()
{
    const QString caption = StepCaption(iCurrentStep);
    if (caption == stepName(1)) {
        ShowStep(bImagesAvailable ? int16_t(iCurrentStep + 1) : FindStepIndex(stepName(5)));
    } else if (caption == stepName(3)) {
        const bool down = chDown.Value() == forms::vbChecked
                          || chDownDisabled.Value() == forms::vbChecked;
        ShowStep(down ? int16_t(iCurrentStep + 1) : FindStepIndex(stepName(5)));
    } else {
        ShowStep(int16_t(iCurrentStep + 1));
    }
}

void frmWizard::backStep()
{
    if (StepCaption(iCurrentStep) == stepName(5)) {
        if (!bImagesAvailable) {
            ShowStep(FindStepIndex(stepName(1)));
            return;
        }
        const bool down = chDown.Value() == forms::vbChecked
                          || chDownDisabled.Value() == forms::vbChecked;
        ShowStep(down ? int16_t(iCurrentStep - 1) : FindStepIndex(stepName(3)));
    } else {
        ShowStep(int16_t(iCurrentStep - 1));
    }
}

void frmWizard::cmdNav_Click(int16_t Index)
{
    switch (Index) {
    case NavHelp:
        ShowStepHelp();
        break;
    case NavCancel:
        QApplication::beep();
        if (forms::MsgBox(QStringLiteral("Are you sure you want to cancel the wizard?"),
                          forms::vbYesNo | forms::vbInformation, kTitle)
            == forms::vbYes)
            Unload();
        break;
    case NavBack:
        backStep();
        break;
    case NavNext:
        nextStep();
        break;
    case NavFinish:
        DisableNavButtons();
        if (ConvertToolset()) {
            ResetWizard();
            ShowStep(1);
        } else {
            Unload();
        }
        break;
    default:
        break;
    }
}

void frmWizard::ShowStepHelp()
{
    const QString caption = StepCaption(iCurrentStep);
    QString text;
    if (caption == stepName(0)) {
        text = QStringLiteral("Click 'Next' to select a toolset to convert.");
    } else if (caption == stepName(1)) {
        text = QStringLiteral("Click the '...' button to browse for a toolset file.") + kPara
               + QStringLiteral("After you have selected a toolset file, the wizard will show "
                                "you a summary of the tools contained in the toolset.");
    } else if (caption == stepName(2)) {
        text = QStringLiteral("The .bmp image file associated with each toolset can contain 2, "
                              "3 or 4 button state images for each tool in the toolset.")
               + kPara
               + QStringLiteral("Kelvory Toolsets were REQUIRED to have images for at least 2 "
                                "states ('Up' and 'Down'), ")
               + QStringLiteral("but Zentribar Plus requires only the 'Up' image.") + kPara
               + QStringLiteral("This frame lets you decide which images should be converted. "
                                " Note that you will only see checkboxes for the 'Up Disabled' "
                                "and 'Down Disabled' images if they exist.")
               + kPara
               + QStringLiteral("You may want to consider converting only the 'Up' image since "
                                "Zentribar Plus has the ability to dynamically generate images "
                                "for the other button states at runtime.  This will save space "
                                "on your form (and resulting .exe) since Zentribar Plus will "
                                "store only 1 image for each tool.");
    } else if (caption == stepName(3) || caption == stepName(4)) {
        QString states;
        if (caption == stepName(3)) {
            states = chUpDisabled.Value() == forms::vbChecked
                         ? QStringLiteral("'Up' and 'Up Disabled' images only.")
                         : QStringLiteral("'Up' image only.");
        } else {
            const bool down = chDown.Value() == forms::vbChecked;
            const bool downDisabled = chDownDisabled.Value() == forms::vbChecked;
            if (down)
                states += QStringLiteral("'Down'");
            if (down && downDisabled)
                states += QStringLiteral(" and ");
            if (downDisabled)
                states += QStringLiteral("'Down Disabled'");
            states += (down && downDisabled) ? QStringLiteral(" images only.")
                                             : QStringLiteral(" image only.");
        }
        text = QStringLiteral("Since Zentribar Plus automatically draws the borders and bevels "
                              "for each tool, you will probably want the wizard to strip the "
                              "bevels and borders from each Toolset image.")
               + kPara
               + QStringLiteral("Use the mouse to select the 'inner' area within the "
                                "borders/bevels that the wizard should preserve when converting "
                                "the tool image.  If you don't select an area, the wizard will "
                                "preserve the entire tool image.")
               + kPara + QStringLiteral("Note: The area you select in this step will affect the ")
               + states + kCRLF + kCRLF + kCRLF
               + QStringLiteral("TIP: To force the wizard to use a particular color in the tool "
                                "image as the maskcolor, use the mouse to right-click on the "
                                "desired color in the image.")
               + QStringLiteral("  By default, the wizard will use 'light grey' [i.e., RGB(192, "
                                "192, 192)] as the maskcolor.");
    } else if (caption == stepName(5)) {
        text = QStringLiteral("The converted tool images will be centered in an area that is "
                              "sized based on the selection you make here.")
               + kPara
               + QStringLiteral("If the images are larger than this area in either dimension, "
                                "the 'excess' will be clipped.  If the images are smaller than "
                                "this area in either dimension, the 'shortfall' will be filled "
                                "with the maskcolor.")
               + kPara
               + QStringLiteral("Note that you can only select 'square' (equal-sided) sizes from "
                                "16x16 to 32x32.  Since Kelvory allowed non-square sizes, you "
                                "may have to tweak your images (using the Zentribar Plus "
                                "Configuration Utility) once the configuration file generated by "
                                "this wizard is imported into your Zentribar Plus toolbar.");
    } else if (caption == stepName(6)) {
        text = QStringLiteral("Click 'Finish' to start the conversion process.");
    }
    forms::MsgBox(text, forms::vbInformation, kTitle + QStringLiteral(" - Help"));
}

// ---- Choosing a toolset ----------------------------------------------------

void frmWizard::cmdBrowseForToolset_Click()
{
    for (;;) {
        rt::ResumeNext rn;
        rn([&] {
            const QString folder = modWizard::ReadToolsetDirectory();
            if (!folder.isEmpty())
                CommonDialog1.InitDir = folder;
        });
        bool cancelled = false;
        rn([&] {
            CommonDialog1.CancelError = true;
            CommonDialog1.DialogTitle = QStringLiteral("Select Kelvory Toolset");
            CommonDialog1.Filter = QStringLiteral("Kelvory Toolset Files (*.bm$)|*.bm$");
            CommonDialog1.DefaultExt = QStringLiteral("bm$");
            CommonDialog1.Flags = 0x81004;
            CommonDialog1.FileName.clear();
            try {
                CommonDialog1.ShowOpen();
            } catch (const rt::Error&) {
                cancelled = true;
            }
        });
        if (cancelled)
            return;
        const QString chosen = CommonDialog1.FileName;
        // What the open dialog reports as "extension differs from the default".
        if (QFileInfo(chosen).suffix().compare(CommonDialog1.DefaultExt, Qt::CaseInsensitive)
            != 0) {
            forms::MsgBox(QStringLiteral("The file you have selected, '")
                              + QFileInfo(chosen).fileName()
                              + QStringLiteral("', is not a valid Kelvory Toolset File!  Please "
                                               "reselect."),
                          forms::vbCritical, QStringLiteral("Select Kelvory Toolset"));
            continue;
        }
        rn([&] { txtSelectedToolsetFileName.setText(chosen); });
        rn([&] { GenerateOutputFileName(); });
        rn([&] {
            const int32_t slash = modWizard::InStrLast(chosen, QStringLiteral("/"));
            modWizard::SaveToolsetDirectory(slash > 0 ? chosen.left(slash - 1) : QString());
        });
        return;
    }
}

void frmWizard::txtSelectedToolsetFileName_Change()
{
    ReleaseAreaEngines();
    mGlobals::ClearCollection(colTools);
    bToolSizeSet = false;
    const QString text = txtSelectedToolsetFileName.Text();
    if (text == kNone) {
        picToolsetSummary.setVisible(false);
        cmdNav(NavNext).setEnabled(false);
        return;
    }
    const int16_t pointer = forms::Screen::MousePointer();
    forms::Screen::setMousePointer(forms::vbHourglass);
    if (LoadToolset(text)) {
        picToolsetSummary.setVisible(true);
        cmdNav(NavNext).setEnabled(true);
    } else {
        txtSelectedToolsetFileName.setText(kNone);
        picToolsetSummary.setVisible(false);
        cmdNav(NavNext).setEnabled(false);
    }
    forms::Screen::setMousePointer(pointer);
}
