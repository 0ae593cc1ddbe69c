#pragma once
// Pellumar's one window: a seven-step wizard that reads a toolset and its
// bitmap strip, lets the user choose the states, the inner image area and the
// tool size, and builds the tools and one toolbar in a hidden toolbar control
// that saves them as a configuration file.

#include "pellumar/wizard/CDraw.h"
#include "pellumar/wizard/CToolInfo.h"
#include "platform/forms/CheckBox.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/CommonDialog.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/ListView.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/ProgressBar.h"
#include "platform/forms/TextBox.h"
#include "platform/runtime/Collection.h"
#include "platform/toolbar/MqZentribar.h"

#include <array>
#include <memory>
#include <vector>

// Controls of one name spread over several containers (one per step frame).
template <class C>
class SpreadControls {
public:
    void add(forms::Container* parent, const QString& name, int16_t index)
    {
        m_items.resize(std::max<size_t>(m_items.size(), size_t(index) + 1));
        m_items[size_t(index)] = std::make_unique<C>(parent, name);
        m_items[size_t(index)]->setIndex(index);
    }
    C& operator()(int i) { return *m_items.at(size_t(i)); }

private:
    std::vector<std::unique_ptr<C>> m_items;
};

class frmWizard final : public forms::Form {
public:
    static constexpr int16_t StepCount = 7;
    static constexpr int16_t NavHelp = 0;
    static constexpr int16_t NavCancel = 1;
    static constexpr int16_t NavBack = 2;
    static constexpr int16_t NavNext = 3;
    static constexpr int16_t NavFinish = 4;

    forms::ControlArray<forms::Frame> fraStep{this, "fraStep", StepCount};
    SpreadControls<forms::Label> lblStep;
    SpreadControls<forms::PictureBox> imgStep;
    SpreadControls<forms::Label> lblNote;    // the further texts of a step

    // Select Toolset
    forms::TextBox txtSelectedToolsetFileName{&fraStep(1), "txtSelectedToolsetFileName"};
    forms::CommandButton cmdBrowseForToolset{&fraStep(1), "cmdBrowseForToolset"};
    forms::PictureBox picToolsetSummary{&fraStep(1), "picToolsetSummary"};
    forms::Label lblToolSizeCaption{&picToolsetSummary, "lblToolSizeCaption"};
    forms::Label lblToolSize{&picToolsetSummary, "lblToolSize"};
    forms::Label lblToolsetNameCaption{&picToolsetSummary, "lblToolsetNameCaption"};
    forms::Label lblToolsetName{&picToolsetSummary, "lblToolsetName"};
    forms::Label lblToolsCaption{&picToolsetSummary, "lblToolsCaption"};
    forms::ListView lvTools{&picToolsetSummary, "lvTools"};
    // Select Images
    forms::CheckBox chUp{&fraStep(2), "chUp"};
    forms::CheckBox chDown{&fraStep(2), "chDown"};
    forms::CheckBox chUpDisabled{&fraStep(2), "chUpDisabled"};
    forms::CheckBox chDownDisabled{&fraStep(2), "chDownDisabled"};
    forms::Label lblStateInfo{&fraStep(2), "lblStateInfo"};
    // Image areas (steps 3 and 4)
    SpreadControls<forms::PictureBox> picCanvas;
    SpreadControls<forms::PictureBox> picActual;
    // Select Tool Size
    forms::ComboBox coSize{&fraStep(5), "coSize", forms::vbComboDropdownList};
    // Ready To Convert!
    forms::Label lblPlacement{&fraStep(6), "lblPlacement"};
    forms::Label lbNewFilename{&fraStep(6), "lbNewFilename"};
    forms::Label lbProgress{&fraStep(6), "lbProgress"};
    forms::ProgressBar ProgressBar1{&fraStep(6), "ProgressBar1"};
    // Navigation
    forms::PictureBox picNav{this, "picNav"};
    forms::ControlArray<forms::CommandButton> cmdNav{&picNav, "cmdNav", 5};
    // Never shown
    forms::PictureBox picSegmented{this, "picSegmented"};
    forms::PictureBox picWork{this, "picWork"};
    forms::CommonDialog CommonDialog1{this, "CommonDialog1"};
    std::shared_ptr<toolbar::MqZentribar> tbarMain = std::make_shared<toolbar::MqZentribar>();

    // Window state
    int16_t iCurrentStep = 0;
    bool bReadyToConvert = false;
    bool bImagesAvailable = false;
    bool bToolSizeSet = false;
    float iCanvasDesignWidth = 0;
    float iCanvasDesignHeight = 0;
    rt::Collection colTools;   // CToolInfo records keyed by ID, in reading order
    int16_t ButtonWidth = 0;
    int16_t ButtonHeight = 0;
    int16_t NumBtnStates = 0;
    QString sOutputPath;
    QString sOutputFileName;
    std::array<std::unique_ptr<pellumar::CDraw>, 2> Engines;

    frmWizard();
    static frmWizard& get() { return forms::instance<frmWizard>(); }

    // Wizard flow
    void ShowStep(int16_t target);
    void UpdateNavButtons(int16_t step);
    void DisableNavButtons();
    void UpdateCaption(int16_t step);
    void SetStepFocus(int16_t step);
    void ShowStepHelp();
    void ResetWizard();
    int16_t FindStepIndex(const QString& caption);
    QString StepCaption(int16_t step);

    // Toolset reading and conversion
    bool LoadToolset(const QString& path);
    void GenerateOutputFileName();
    bool ConvertToolset();
    void ConvertToolImages(int16_t k, const std::shared_ptr<toolbar::Tool>& tool);
    void ConvertStateImage(int16_t state, int16_t k, const std::shared_ptr<toolbar::Tool>& tool);
    void ClearToolbarControl();
    void MarkMaskPixel(gdi::HDC dc, int32_t row);
    std::shared_ptr<CToolInfo> toolInfo(int32_t index);   // 1-based, in reading order

    // Image areas and tool size
    void InitImageArea(int16_t area);
    void SetCanvasSize(int16_t area);
    void InitActualImage(int16_t area);
    void InitToolSize();
    void FillToolSizeCombo();
    void ReleaseAreaEngines();

    // Handlers
    void cmdNav_Click(int16_t Index);
    void cmdBrowseForToolset_Click();
    void txtSelectedToolsetFileName_Change();
    void picCanvas_MouseDown(int16_t Index, int16_t Button, int16_t Shift, float X, float Y);
    void picCanvas_MouseMove(int16_t Index, int16_t Button, int16_t Shift, float X, float Y);
    void picCanvas_MouseUp(int16_t Index, int16_t Button, int16_t Shift, float X, float Y);

private:
    void Form_Design() override;
    void Form_Load() override;
    void Form_Unload(int16_t& Cancel) override;
    void designSteps();
    void designSummary();
    void nextStep();
    void backStep();
    // Reading and conversion errors: the critical report, then on.
    void reportReadError(const rt::Error& e);
    void reportConvertError(const rt::Error& e);
    QString readValue(const QString& section, const QString& key, bool& present,
                      const QString& path);
    bool readGeneral(const QString& key, int16_t& target, const QString& path);
    void readTool(const QString& path, const QString& section, const QString& toolsetName);
    QString m_toolsetPath;
};
