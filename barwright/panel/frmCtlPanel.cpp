// The control panel's window: design, load order, Options tab, command
// states, resize layout and unload. The configuration exchange, the dirty
// flag and the exit are in frmCtlPanelExchange.cpp.
#include "barwright/panel/frmCtlPanel.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/panel/CImagelist.h"
#include "barwright/connection/mGlobalsControls.h"
#include "barwright/connection/mRegistry.h"
#include "barwright/panel/frmPreview.h"
#include "barwright/panel/mSubclassCtlPanel.h"
#include "platform/forms/App.h"
#include "platform/forms/Screen.h"
#include "platform/forms/Window.h"
#include "platform/runtime/Conversions.h"
#include "platform/toolbar/MqZentribar.h"

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QString kApp = QStringLiteral("ConfigUtility");
const QString kSection = QStringLiteral("ControlPanel");
const QString kCategoryPicture = QStringLiteral("##RYX##Category");
const QString kCategoryPrefix = QStringLiteral("@CATEGORY@");
// The executable name under which the window procedure stays out.
const QString kNoSubclassExe = QStringLiteral("ZentribarConfig");
constexpr int32_t kWhite = 0xFFFFFF;

// Designed inner size of the panel and its main command column (pixels).
constexpr float kDesignWidth = 520;
constexpr float kDesignHeight = 380;
constexpr float kCmdsMainWidth = 100;

float savedOr(const QString& key, float current)
{
    const QString text = mRegistry::GetRegSetting(kApp, kSection, key, rt::numberText(current));
    return float(rt::Val(text));
}

// A frame that only groups buttons: no border, no caption.
void borderless(forms::Frame& frame)
{
    if (auto* g = qobject_cast<QGroupBox*>(frame.widget())) {
        g->setFlat(true);
        g->setStyleSheet(QStringLiteral("QGroupBox { border: 0; margin: 0; padding: 0; }"));
    }
}

// The folder picture of category nodes (white is the mask colour).
forms::Picture folderPicture()
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setPen(QColor(0x80, 0x60, 0x00));
    p.setBrush(QColor(0xf0, 0xc8, 0x40));
    p.drawRect(1, 4, 13, 9);
    p.drawRect(1, 2, 5, 2);
    p.end();
    return forms::StdPicture::fromImage(img);
}

}  // namespace

frmCtlPanel::frmCtlPanel()
{
    cmdApply.Click = [this] { cmdApply_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCxl.Click = [this] { cmdCxl_Click(); };
    Timer1.TimerEvent = [this] { Timer1_Timer(); };
    chLargeIcons.Click = [this] {
        optionCheck_Click(chLargeIcons, toolbar::dispid::LargeIcons, false);
    };
    chShowTooltips.Click = [this] {
        optionCheck_Click(chShowTooltips, toolbar::dispid::ShowTooltips, false);
    };
    chShowShortcuts.Click = [this] {
        optionCheck_Click(chShowShortcuts, toolbar::dispid::ShowShortcuts, false);
    };
    chActiveColors.Click = [this] {
        optionCheck_Click(chActiveColors, toolbar::dispid::ActiveColors, true);
    };
    coFontSource.Click = [this] { optionCombo_Click(coFontSource, toolbar::dispid::FontSource); };
    coMenuAnimations.Click = [this] {
        optionCombo_Click(coMenuAnimations, toolbar::dispid::MenuAnimations);
    };
    coPersonalizedMenus.Click = [this] {
        optionCombo_Click(coPersonalizedMenus, toolbar::dispid::PersonalizedMenus);
    };
    coStyle.Click = [this] { optionCombo_Click(coStyle, toolbar::dispid::Style); };
    txtFloatingTBFadeDelay.Change = [this] { txtFloatingTBFadeDelay_Change(); };
    chDisplayByCategory.Click = [this] { chDisplayByCategory_Click(); };
}

frmCtlPanel::~frmCtlPanel() = default;

com::Object frmCtlPanel::workingCopy()
{
    return frmPreview::get().tbarPreview.object();
}

// ---- design ------------------------------------------------------------------

void frmCtlPanel::Form_Design()
{
    setCaption(QStringLiteral("Configuration Control Panel"));
    setScaleMode(forms::vbPixels);
    setDesignSize(kDesignWidth * 15, kDesignHeight * 15);
    Move(3000, 7200);   // first run: below the preview window

    tabMain.setTabs(3);
    tabMain.setTabCaption(0, QStringLiteral("&Toolbars"));
    tabMain.setTabCaption(1, QStringLiteral("Tool&s"));
    tabMain.setTabCaption(2, QStringLiteral("&Options"));
    tabMain.Move(6, 6, kDesignWidth - kCmdsMainWidth - 6, kDesignHeight - 12);
    designToolbarsTab();
    designToolsTab();
    designOptionsTab();
    designMainCommands();

    Timer1.setEnabled(false);
    Timer1.setInterval(50);
    Timer2.setEnabled(false);
    Timer2.setInterval(50);
    for (forms::PictureBox* hidden : {&picWork, &imgCursorCopy, &imgCursorNodrop}) {
        hidden->setVisible(false);
        hidden->Move(0, 0, 32, 32);
    }
    // White is the tree pictures' transparent colour: the category folder is
    // drawn on white, and the tool pictures are laid over it.
    imlstTools.MaskColor = kWhite;
    imlstTools.Add(0, kCategoryPicture, folderPicture());
    setHelpContextID(kHelpToolbars);   // the Toolbars tab is current at start

    mnu_Tbar.setCaption(QStringLiteral("ToolbarMenu"));
    mnu_Tbar.setVisible(false);
    mnu_newTbar.setCaption(QStringLiteral("&New Toolbar..."));
    mnu_editTbar.setCaption(QStringLiteral("&Edit Toolbar..."));
    mnu_deleteTbar.setCaption(QStringLiteral("&Delete Toolbar..."));
    mnu_Sep1.setCaption(QStringLiteral("-"));
    mnu_LoadTbar.setCaption(QStringLiteral("&Load Toolbar(s) From a Configuration File..."));
    mnu_Tool.setCaption(QStringLiteral("Tool Menu"));
    mnu_Tool.setVisible(false);
    mnu_newTool.setCaption(QStringLiteral("&New Tool..."));
    mnu_editTool.setCaption(QStringLiteral("&Edit Tool..."));
    mnu_deleteTool.setCaption(QStringLiteral("&Delete Tool..."));
    mnu_Sep2.setCaption(QStringLiteral("-"));
    mnu_LoadTool.setCaption(QStringLiteral("&Load Tool(s) From a Configuration File..."));
    mnu_Sep3.setCaption(QStringLiteral("-"));
    mnu_CopyToolIDs.setCaption(
        QStringLiteral("&Copy Tool IDs To Clipboard As VB 'Select' Statement"));
}

void frmCtlPanel::layoutTabCommandFrame(forms::Frame& frame,
                                        const std::array<forms::CommandButton*, 4>& buttons)
{
    frame.setLeft(45);
    frame.setWidth(3690);
    const std::array<std::pair<float, float>, 4> places{
        {{0, 840}, {840, 825}, {1665, 840}, {2505, 1170}}};
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->setLeft(places[i].first);
        buttons[i]->setWidth(places[i].second);
    }
}

void frmCtlPanel::designListCommands(forms::Frame& frame,
                                     const std::array<forms::CommandButton*, 4>& buttons,
                                     const std::array<QString, 4>& tips)
{
    frame.Move(45, 4740, 3690, 420);
    borderless(frame);
    const std::array<QString, 4> captions{QStringLiteral("&New..."), QStringLiteral("&Edit..."),
                                          QStringLiteral("&Delete..."),
                                          QStringLiteral("&Load...")};
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->setCaption(captions[i]);
        buttons[i]->setToolTipText(tips[i]);
        buttons[i]->Move(0, 15, 840, 375);
    }
    layoutTabCommandFrame(frame, buttons);
}

void frmCtlPanel::designToolbarsTab()
{
    liTBars.Move(90, 480, 6105, 4170);
    designListCommands(frCmdsToolbars, {&cmdNewTBar, &cmdEditTBar, &cmdDeleteTBar, &cmdLoadTBar},
                       {QStringLiteral("Create a New Toolbar"),
                        QStringLiteral("Edit an Existing Toolbar"),
                        QStringLiteral("Delete a Toolbar"),
                        QStringLiteral("Load Toolbar(s) From a Configuration File")});
}

void frmCtlPanel::designToolsTab()
{
    tvTools.Move(90, 480, 6105, 3840);
    tvTools.setOLEDragMode(forms::vbOLEDragAutomatic);   // a tool drags out as its ID
    // A tool clicked in the preview shows selected here while the preview
    // keeps the focus.
    tvTools.setHideSelection(false);
    chDisplayByCategory.setCaption(QStringLiteral("Display Tools By &Category"));
    chDisplayByCategory.Move(120, 4380, 4000, 300);
    designListCommands(frCmdsTools, {&cmdNewTool, &cmdEditTool, &cmdDeleteTool, &cmdLoadTool},
                       {QStringLiteral("Create a New Tool"),
                        QStringLiteral("Edit an Existing Tool"), QStringLiteral("Delete a Tool"),
                        QStringLiteral("Load Tool(s) From a Configuration File")});
}

void frmCtlPanel::designOptionsTab()
{
    frOptions.Move(90, 450, 6105, 4710);
    const std::array<std::pair<forms::CheckBox*, QString>, 4> checks{{
        {&chLargeIcons, QStringLiteral("&Large Icons")},
        {&chShowTooltips, QStringLiteral("Sho&w tooltips on toolbars")},
        {&chShowShortcuts, QStringLiteral("Show shortcut &keys in tooltips")},
        {&chActiveColors, QStringLiteral("Acti&ve Colors")}}};
    float top = 180;
    for (const auto& [box, caption] : checks) {
        box->setCaption(caption);
        box->Move(180, top, 5700, 300);
        top += 330;
    }
    struct Row {
        forms::Label* label;
        forms::ComboBox* combo;
        QString caption;
        QStringList items;
    };
    const std::array<Row, 5> rows{{
        {&lbFontSource, &coFontSource, QStringLiteral("&Font Source"),
         {QStringLiteral("0 - Use System Font"), QStringLiteral("1 - Use Control Font")}},
        {&lbMenuAnimations, &coMenuAnimations, QStringLiteral("&Menu Animations"),
         {QStringLiteral("0 - None"), QStringLiteral("1 - Random"), QStringLiteral("2 - Unfold"),
          QStringLiteral("3 - Slide"), QStringLiteral("4 - Explode"),
          QStringLiteral("5 - FadeIn")}},
        {&lbPersonalizedMenus, &coPersonalizedMenus, QStringLiteral("&Personalized Menus"),
         {QStringLiteral("0 - Disabled"), QStringLiteral("1 - Display On Hover"),
          QStringLiteral("2 - Display On Click")}},
        {&lbStyle, &coStyle, QStringLiteral("&Style"),
         {QStringLiteral("0 - Office 97"), QStringLiteral("1 - Office 2000"),
          QStringLiteral("2 - Office XP 2002")}},
        {&lbImageImportOption, &coImageImportOption,
         QStringLiteral("&Image Import Color Options"),
         {QStringLiteral("Prompt"), QStringLiteral("16 Color"), QStringLiteral("High Color")}},
    }};
    top += 150;
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        if (i == 4) {
            // The fade delay sits between the control's options and the
            // utility's own import option.
            lbFloatingTBFadeDelay.setCaption(
                QStringLiteral("Floating Toolbar Fade Delay (XP Style only)"));
            lbFloatingTBFadeDelay.Move(180, top + 60, 4350, 255);
            txtFloatingTBFadeDelay.Move(4620, top, 900, 345);
            top += 480;
        }
        r.label->setCaption(r.caption);
        r.label->Move(180, top + 60, 2640, 255);
        r.combo->Move(2880, top, 3000, 345);
        r.combo->Clear();
        for (const QString& item : r.items)
            r.combo->AddItem(item);
        top += 450;
    }
    frOptions.setCaption(QString());
}

void frmCtlPanel::designMainCommands()
{
    frCmdsMain.Move(kDesignWidth - kCmdsMainWidth, 6, kCmdsMainWidth, kDesignHeight - 12);
    borderless(frCmdsMain);
    const std::array<std::tuple<forms::CommandButton*, QString, float>, 6> b{{
        {&cmdOK, QStringLiteral("OK"), 450},
        {&cmdCxl, QStringLiteral("Cancel"), 900},
        {&cmdApply, QStringLiteral("&Apply"), 1350},
        {&cmdImport, QStringLiteral("&Import..."), 2100},
        {&cmdExport, QStringLiteral("E&xport..."), 2550},
        {&cmdHelp, QStringLiteral("&Help"), 3300}}};
    for (const auto& [button, caption, top] : b) {
        button->setCaption(caption);
        button->Move(75, top, 1275, 375);
    }
    cmdOK.setDefault(true);
}

// ---- load --------------------------------------------------------------------

void frmCtlPanel::Form_Load()
{
    // 1-2. The designed size is the smallest the panel may be dragged to.
    mSubclassCtlPanel::gMinTrackWidth = rt::CLng(Width() / forms::Screen::TwipsPerPixelX());
    mSubclassCtlPanel::gMinTrackHeight = rt::CLng(Height() / forms::Screen::TwipsPerPixelY());
    if (forms::App::EXEName() != kNoSubclassExe)
        mSubclassCtlPanel::Install(hWnd());

    // 3-5. Saved place and size; the move lays the controls out.
    m_refWidth = int32_t(std::lround(ScaleWidth()));
    m_refHeight = int32_t(std::lround(ScaleHeight()));
    Move(savedOr(QStringLiteral("Left"), Left()), savedOr(QStringLiteral("Top"), Top()),
         savedOr(QStringLiteral("Width"), Width()), savedOr(QStringLiteral("Height"), Height()));
    Form_Resize();   // the runtime reports the move only once the window shows
    mGlobals::KeepFormOnScreen(*this);

    // 6-8.
    if (m_importExportDir.isEmpty())
        m_importExportDir = mRegistry::GetRegSetting(kApp, kSection,
                                                     QStringLiteral("ImportExportDir"),
                                                     QDir::currentPath());
    // Any number but 0 checks the box: a damaged setting must not stop the load.
    chDisplayByCategory.setValue(
        rt::Val(mRegistry::GetRegSetting(kApp, kSection, QStringLiteral("DisplayByCategory"),
                                         QStringLiteral("0"))) != 0
            ? forms::vbChecked
            : forms::vbUnchecked);
    m_dirty = m_applied = false;
    m_toolPicturesLoaded = m_toolTreeLoaded = false;
    m_listRecheckGuard = m_listClickGuard = m_treeClickGuard = false;
    m_snapshotPending = false;

    // 9. The combo items are part of the design; the import option starts
    // at "Prompt" every time.
    coImageImportOption.setListIndex(0);

    // 10. The category picture: drawn over itself with white transparent.
    prepareCategoryPicture();

    // 11-13. Copy the client's configuration into the working copy.
    forms::DoEvents();
    forms::Screen::setMousePointer(forms::vbHourglass);
    const com::Object wc = workingCopy();
    LoadControlProperties(mGlobals::gControl, wc);
    m_wcVisibleAtLoad = wc.get(toolbar::dispid::Visible).toBool();
    wc.let(toolbar::dispid::Visible, true);

    // 14-16.
    LoadScreenFields();
    wc.call(toolbar::dispid::SwitchConfigMode, {rt::Variant(toolbar::ConfigModeAccessCode)});
    m_dirty = false;
    SetCmdBtnsEnabledStatus();

    // 17. One pixel wider makes the preview lay out its toolbars; its width
    // then goes back, or the saved width would grow a pixel every session.
    frmPreview& preview = frmPreview::get();
    const float previewWidth = preview.Width();
    preview.setWidth(previewWidth + forms::Screen::TwipsPerPixelX());
    preview.setWidth(previewWidth);

    // 18. Not the designed font: fit the tab to the command column.
    if (FontName() != QStringLiteral("MS Sans Serif")) {
        tabMain.setWidth(ScaleWidth() - frCmdsMain.Width() - tabMain.Left() + 5);
        frCmdsMain.setLeft(ScaleWidth() - frCmdsMain.Width() + 5);
        layoutTabCommandFrame(frCmdsToolbars, {&cmdNewTBar, &cmdEditTBar, &cmdDeleteTBar,
                                               &cmdLoadTBar});
    }

    // 19-22.
    if (liTBars.ListCount() > 0 && liTBars.ListIndex() == -1)
        liTBars.setListIndex(0);
    m_treeContainerFlag = false;
    forms::Screen::setMousePointer(forms::vbDefault);
    const int32_t txt = txtFloatingTBFadeDelay.hWnd();
    forms::SetWindowLongA(txt, forms::GWL_STYLE,
                          forms::GetWindowLongA(txt, forms::GWL_STYLE) | forms::ES_NUMBER);
}

void frmCtlPanel::prepareCategoryPicture()
{
    ImageListWork.MaskColor = kWhite;
    ImageListWork.Clear();
    if (!imlstTools.exists(kCategoryPicture))
        return;
    const forms::Picture folder = imlstTools.Item(kCategoryPicture).picture;
    ImageListWork.Add(0, QStringLiteral("1"), folder);
    ImageListWork.Add(0, QStringLiteral("2"), folder);
    imlstTools.Remove(kCategoryPicture);
    const forms::Picture overlay = ImageListWork.Overlay(QStringLiteral("1"),
                                                         QStringLiteral("2"));
    imlstTools.Add(0, kCategoryPicture, overlay ? overlay : folder);
}

// ---- fields ----------------------------------------------------------------

void frmCtlPanel::LoadToolbarsIntoListbox(forms::ListBox& list)
{
    list.Clear();
    const com::Object bars =
        com::Object::fromVariant(workingCopy().get(toolbar::dispid::Toolbars));
    const int32_t count = bars.get(QStringLiteral("Count")).toLong();
    for (int32_t i = 1; i <= count; ++i) {
        const com::Object bar =
            com::Object::fromVariant(bars.get(QStringLiteral("Item"), {rt::Variant(i)}));
        list.AddItem(bar.get(QStringLiteral("Name")).toString());
        if (bar.get(QStringLiteral("Visible")).toBool())
            list.setSelected(list.NewIndex(), true);
    }
    if (list.ListCount() > 0)
        list.setListIndex(-1);
}

QString frmCtlPanel::FormatToolDisplayString(const QString& ID, const QString& Name)
{
    QString text = ID.trimmed();
    if (!Name.trimmed().isEmpty())
        text += QStringLiteral("  [") + Name.trimmed() + QStringLiteral("]");
    return text;
}

bool frmCtlPanel::IsToolNode(const QString& key)
{
    return !key.isEmpty() && !key.trimmed().startsWith(kCategoryPrefix);
}

void frmCtlPanel::LoadScreenFields()
{
    LoadToolbarsIntoListbox(liTBars);
    const com::Object wc = workingCopy();
    auto check = [&](forms::CheckBox& box, int32_t dispid) {
        box.setValue(wc.get(dispid).toBool() ? forms::vbChecked : forms::vbUnchecked);
    };
    check(chLargeIcons, toolbar::dispid::LargeIcons);
    check(chShowTooltips, toolbar::dispid::ShowTooltips);
    check(chShowShortcuts, toolbar::dispid::ShowShortcuts);
    check(chActiveColors, toolbar::dispid::ActiveColors);
    auto combo = [&](forms::ComboBox& box, int32_t dispid) {
        box.setListIndex(wc.get(dispid).toLong());
    };
    combo(coFontSource, toolbar::dispid::FontSource);
    combo(coMenuAnimations, toolbar::dispid::MenuAnimations);
    combo(coPersonalizedMenus, toolbar::dispid::PersonalizedMenus);
    combo(coStyle, toolbar::dispid::Style);
    txtFloatingTBFadeDelay.setText(
        QString::number(wc.get(toolbar::dispid::FloatingTBFadeDelay).toInteger()));
}

void frmCtlPanel::SetCmdBtnsEnabledStatus()
{
    using mGlobals::SetEnabled;
    SetEnabled(cmdApply, IsDirty());
    if (tabMain.Tab() == 0) {
        const bool current = liTBars.ListIndex() != -1;
        SetEnabled(cmdEditTBar, current);
        SetEnabled(cmdDeleteTBar, current);
        SetEnabled(mnu_editTbar, current);
        SetEnabled(mnu_deleteTbar, current);
    } else if (tabMain.Tab() == 1) {
        const bool tool = IsToolNode(tvTools.SelectedItem());
        SetEnabled(cmdEditTool, tool);
        SetEnabled(cmdDeleteTool, tool);
        SetEnabled(mnu_editTool, tool);
        SetEnabled(mnu_deleteTool, tool);
    }
    frmPreview& preview = frmPreview::get();
    const com::Object bars =
        com::Object::fromVariant(workingCopy().get(toolbar::dispid::Toolbars));
    const bool none = bars.get(QStringLiteral("Count")).toLong() < 1;
    if (preview.picDummyToolbar.Visible() != none) {
        preview.picDummyToolbar.setVisible(none);
        preview.LayoutBanner();
    }
}

// ---- Options tab -------------------------------------------------------------

void frmCtlPanel::optionCheck_Click(forms::CheckBox& box, int32_t dispid, bool ignoreErrors)
{
    const bool on = box.Value() != forms::vbUnchecked;
    if (ignoreErrors)
        rt::tryStatement([&] { workingCopy().let(dispid, on); });
    else
        workingCopy().let(dispid, on);
    MakeDirty(true);
}

void frmCtlPanel::optionCombo_Click(forms::ComboBox& box, int32_t dispid)
{
    workingCopy().let(dispid, rt::Variant(int32_t(box.ListIndex())));
    MakeDirty(true);
}

void frmCtlPanel::txtFloatingTBFadeDelay_Change()
{
    if (m_refusingFadeDelay)
        return;
    if (txtFloatingTBFadeDelay.Text().isEmpty())
        txtFloatingTBFadeDelay.setText(QStringLiteral("0"));   // runs this handler again
    const QString typed = txtFloatingTBFadeDelay.Text();
    // Digits only (a pasted "1e3" would show one number and store another).
    const bool digits = std::all_of(typed.begin(), typed.end(), [](QChar c) {
        return c >= u'0' && c <= u'9';
    });
    const bool taken = digits && rt::tryStatement([&] {
        workingCopy().let(toolbar::dispid::FloatingTBFadeDelay,
                          rt::Variant(rt::CInt(rt::Variant(typed))));
    }) == 0;
    if (taken) {
        MakeDirty(true);
        return;
    }
    // A value the property does not take (past 32767) is refused on the
    // spot, without an error box per keystroke: the box goes back to the
    // working copy's value, with the caret where it was before the key.
    rt::Err().Clear();
    const QString kept =
        QString::number(workingCopy().get(toolbar::dispid::FloatingTBFadeDelay).toInteger());
    const int32_t caret = txtFloatingTBFadeDelay.SelStart() - int32_t(typed.size() - kept.size());
    QApplication::beep();
    m_refusingFadeDelay = true;
    txtFloatingTBFadeDelay.setText(kept);
    m_refusingFadeDelay = false;
    txtFloatingTBFadeDelay.setSelStart(std::clamp(caret, 0, int32_t(kept.size())));
}

void frmCtlPanel::chDisplayByCategory_Click()
{
    LoadToolsIntoTreeview(chDisplayByCategory.Value() == forms::vbChecked, tvTools);
    SetCmdBtnsEnabledStatus();
}

// ---- layout --------------------------------------------------------------------

void frmCtlPanel::Form_Resize()
{
    if (WindowState() == forms::vbMinimized)
        return;
    const int32_t w = int32_t(std::lround(ScaleWidth()));
    const int32_t h = int32_t(std::lround(ScaleHeight()));
    const int32_t dx = w - m_refWidth;
    const int32_t dy = h - m_refHeight;
    if (dx == 0 && dy == 0)
        return;
    const float tx = forms::Screen::TwipsPerPixelX();
    const float ty = forms::Screen::TwipsPerPixelY();
    frCmdsMain.setLeft(frCmdsMain.Left() + float(dx));
    frCmdsToolbars.setTop(frCmdsToolbars.Top() + float(dy) * ty);
    frCmdsTools.setTop(frCmdsTools.Top() + float(dy) * ty);
    chDisplayByCategory.setTop(chDisplayByCategory.Top() + float(dy) * ty);
    tabMain.setWidth(tabMain.Width() + float(dx));
    tabMain.setHeight(tabMain.Height() + float(dy));
    liTBars.setWidth(liTBars.Width() + float(dx) * tx);
    liTBars.setHeight(liTBars.Height() + float(dy) * ty);
    tvTools.setWidth(tvTools.Width() + float(dx) * tx);
    tvTools.setHeight(tvTools.Height() + float(dy) * ty);
    m_refWidth = w;
    m_refHeight = h;
}

// ---- unload ----------------------------------------------------------------------

void frmCtlPanel::Form_Unload(int16_t& Cancel)
{
    (void)Cancel;
    if (!m_wcVisibleAtLoad && m_applied && !mGlobals::gControl.isNothing())
        mGlobals::gControl.let(QStringLiteral("Visible"), false);
    auto save = [](const QString& key, const QString& value) {
        mRegistry::SaveRegSetting(kApp, kSection, key, value);
    };
    save(QStringLiteral("Left"), rt::numberText(Left()));
    save(QStringLiteral("Top"), rt::numberText(Top()));
    save(QStringLiteral("Width"), rt::numberText(Width()));
    save(QStringLiteral("Height"), rt::numberText(Height()));
    save(QStringLiteral("ImportExportDir"), m_importExportDir);
    save(QStringLiteral("DisplayByCategory"),
         chDisplayByCategory.Value() == forms::vbUnchecked ? QStringLiteral("0")
                                                           : QStringLiteral("1"));
    if (m_toolPictureList) {
        m_toolPictureList->Cleanup();
        m_toolPictureList.reset();
    }
    tvTools.setImageList(nullptr);
    while (imlstTools.Count() > 0)
        imlstTools.Remove(1);
}
