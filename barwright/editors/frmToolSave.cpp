// The tool dialog's OK: validation in its fixed order, the writes into the
// working copy, and the spreading of a tool's look to its placed copies.
#include "barwright/connection/mGlobals.h"
#include "barwright/connection/mGlobalsControls.h"
#include "barwright/editors/EditorLinks.h"
#include "barwright/editors/frmTool.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Text.h"
#include "platform/toolbar/Tools.h"
#include "platform/toolbar/Toolbar.h"

namespace {

const QString kTitle = QStringLiteral("Halvorbar");
const QString kOtherID = QStringLiteral("Please enter a different ID for this tool.");

// Bits of the change flags: the look every placed copy carries itself.
constexpr uint8_t kNameChanged = 1;
constexpr uint8_t kForecolorChanged = 2;
constexpr uint8_t kForecolorSourceChanged = 4;
constexpr uint8_t kDisplayStyleChanged = 8;
constexpr uint8_t kWidthChanged = 16;

// Menus nest; a damaged configuration must not make the walk endless.
constexpr int kMaxMenuDepth = 64;

bool isStateType(int32_t type)
{
    return type == toolbar::mqStateButton || type == toolbar::mqDropDownStateButton;
}

}  // namespace

int16_t frmTool::WidthOfText(const QString& text)
{
    const double v = rt::Val(text);
    return v < 1 ? int16_t(1) : rt::CInt(v);
}

void frmTool::FailValidation(forms::Control& field, bool selectText)
{
    forms::MsgBox(mGlobals::gMsg, forms::vbExclamation, kTitle);
    rt::ResumeNext rn;
    if (tabMain.Tab() != 0)
        rn([&] { tabMain.setTab(0); });
    if (selectText)
        rn([&] { mGlobals::SelectAllText(txtID); });
    rn([&] { field.SetFocus(); });
}

bool frmTool::ValidateFields()
{
    txtID.setText(rt::Trim(txtID.Text()));
    const QString id = txtID.Text();
    if (id.size() < 1) {
        mGlobals::gMsg = QStringLiteral("Please supply an ID for this tool.");
        FailValidation(txtID, true);
        return false;
    }
    if (id.at(0).isDigit()) {
        mGlobals::gMsg =
            QStringLiteral("The initial character of a Tool ID cannot be numeric.  ") + kOtherID;
        FailValidation(txtID, true);
        return false;
    }
    if (rt::UCase(id) == QStringLiteral("SEPARATOR")) {
        mGlobals::gMsg = QStringLiteral("The tool ID '") + QStringLiteral("separator") +
                         QStringLiteral("' is a special ID reserved for separator tools.  ") +
                         kOtherID;
        FailValidation(txtID, true);
        return false;
    }
    if (!bEditMode || rt::UCase(rt::Trim(id)) != rt::UCase(sLoadedID)) {
        const bool taken = rt::tryStatement([&] {
                               (void)editors::WorkingCopy()->tools()->Item(id)->Name();
                           }) == 0;
        if (taken) {
            mGlobals::gMsg = QStringLiteral("A tool with the ID '") + id +
                             QStringLiteral("' already exists.  ") + kOtherID;
            FailValidation(txtID, true);
            return false;
        }
    }
    const int32_t shortcut = coShortcutKey.ListIndex();
    if (shortcut > 0) {
        QString toolId = bEditMode ? sTool : QString();
        QString ownerId;
        const bool used = FindToolUsingShortcut(shortcut, toolId, ownerId);
        if (bEditMode)
            sTool = toolId;
        if (used) {
            mGlobals::gMsg = QStringLiteral("The shortcut key '") + coShortcutKey.Text() +
                             QStringLiteral("' is being used by tool '") + ownerId +
                             QStringLiteral("'.  ") +
                             QStringLiteral("Please select a different shortcut key.");
            rt::tryStatement([&] { coShortcutKey.setListIndex(iLoadedShortcut); });
            FailValidation(coShortcutKey, false);
            return false;
        }
    }
    return true;
}

bool frmTool::FindToolUsingShortcut(int32_t shortcut, QString& toolId, QString& ownerId)
{
    ownerId.clear();
    toolId = rt::Trim(toolId);
    for (const auto tool : *editors::WorkingCopy()->tools()) {
        if (tool->ShortcutKey() == shortcut && tool->ID() != toolId) {
            ownerId = tool->ID();
            return true;
        }
    }
    return false;
}

void frmTool::cmdOK_Click()
{
    mGlobals::gMsg.clear();
    bool valid = false;
    if (rt::tryStatement([&] { valid = ValidateFields(); }) != 0 || !valid)
        return;

    std::shared_ptr<toolbar::MqZentribar> control;
    std::shared_ptr<toolbar::Tool> tool;
    const int32_t failed = rt::tryStatement([&] {
        control = editors::WorkingCopy();
        tool = bEditMode ? control->tools()->Item(sTool)
                         : control->tools()->Add(txtID.Text());
    });
    if (failed != 0 || !tool) {
        forms::MsgBox(rt::Err().Description, forms::vbOKOnly, kTitle);
        oTool = com::Object();
        return;
    }
    oTool = com::Object(tool);

    CommitPendingItemEdit();
    uint8_t flags = 0;
    if (bEditMode)
        flags = ComputeChangeFlags(*tool);

    rt::tryStatement([&] { control->setRedraw(false); });
    WriteTool(tool);
    if (flags != 0)
        PropagateToolChanges(tool, flags);
    rt::tryStatement([&] { control->setRedraw(true); });
    bCanceled = false;
    Hide();
}

// A pending in-place edit of an item's text ends before the items are read;
// a changed text becomes the default text as a click on the item would make it.
void frmTool::CommitPendingItemEdit()
{
    rt::ResumeNext rn;
    forms::ListItem* item = nullptr;
    rn([&] {
        if (lvComboItems.ListItems.Count() >= 1)
            item = GetSelectedComboListItem(lvComboItems);
    });
    if (!item)
        return;
    bSkipComboEval = true;
    rn([&] { lvComboItems.SetFocus(); });
    const QString before = item->Text();
    rn([&] { EndItemLabelEdit(true); });
    bSkipComboEval = false;
    if (item->Text() != before)
        rn([&] { EvalComboItemSelected(); });
}

uint8_t frmTool::ComputeChangeFlags(const toolbar::Tool& tool)
{
    uint8_t flags = 0;
    rt::ResumeNext rn;
    rn([&] {
        if (tool.Name() != rt::Trim(txtName.Text()))
            flags |= kNameChanged;
    });
    rn([&] {
        if (tool.Forecolor() != picForecolor.BackColor())
            flags |= kForecolorChanged;
    });
    rn([&] {
        if (tool.ForecolorSource() != coForecolorSource.ListIndex())
            flags |= kForecolorSourceChanged;
    });
    rn([&] {
        if (tool.DisplayStyle() != coDisplayStyle.ListIndex())
            flags |= kDisplayStyleChanged;
    });
    rn([&] {
        const int32_t type = coType.ListIndex();
        if ((type == toolbar::mqComboBox && tool.Width() != WidthOfText(txtComboWidth.Text())) ||
            (type == toolbar::mqEdit && tool.Width() != WidthOfText(txtTextboxWidth.Text())))
            flags |= kWidthChanged;
    });
    return flags;
}

void frmTool::WriteTool(const std::shared_ptr<toolbar::Tool>& tool)
{
    toolbar::Tool& t = *tool;
    rt::ResumeNext rn;
    rn([&] { t.setType(int16_t(coType.ListIndex())); });
    rn([&] { t.setDisplayStyle(int16_t(coDisplayStyle.ListIndex())); });
    rn([&] { t.setForecolorSource(int16_t(coForecolorSource.ListIndex())); });
    rn([&] { t.setMenuVisibility(int16_t(coMenuVisibility.ListIndex())); });
    rn([&] { t.setName(rt::Trim(txtName.Text())); });
    rn([&] { t.setID(rt::Trim(txtID.Text())); });
    WriteCategory(tool);
    rn([&] { t.setTooltipText(txtTooltipText.Text()); });
    rn([&] { t.setForecolor(picForecolor.BackColor()); });
    rn([&] {
        const int32_t key = coShortcutKey.ListIndex();
        t.setShortcutKey(int16_t(key > -1 ? key : 0));
    });
    rn([&] { t.setVisible(chVisible.Value() != 0); });
    rn([&] { t.setEnabled(chEnabled.Value() != 0); });
    rn([&] { t.setAutoWrap(chAutoWrap.Value() != 0); });
    rn([&] { t.setCustomizable(chCustomizable.Value() != 0); });
    rn([&] { t.setDescription(txtDescription.Text()); });
    rn([&] { t.setImageSize(mDrawParams::gPicWidth); });
    rn([&] { StoreToolPictures(tool); });
    WriteTypeProperties(tool);
}

// The category keeps the spelling it was first registered with.
void frmTool::WriteCategory(const std::shared_ptr<toolbar::Tool>& tool)
{
    rt::Collection& categories = editors::PanelCategories();
    rt::ResumeNext rn;
    rn([&] { coCategory.setText(rt::Trim(coCategory.Text())); });
    rn([&] {
        if (coCategory.Text().isEmpty())
            coCategory.setText(sLastCategory);
    });
    rn([&] {
        if (rt::UCase(coCategory.Text()) == QStringLiteral("GENERAL"))
            coCategory.setText(QStringLiteral("General"));
    });
    const QString text = coCategory.Text();
    const QString key = rt::UCase(text);
    rn.clear();
    if (!rn([&] { categories.Item(key); }))
        rn([&] { categories.Add(rt::Variant(text), key); });
    rn([&] { tool->setCategory(categories.Item(key).toString()); });
    rn([&] { sLastCategory = tool->Category(); });
}

void frmTool::WriteTypeProperties(const std::shared_ptr<toolbar::Tool>& tool)
{
    toolbar::Tool& t = *tool;
    rt::ResumeNext rn;
    const int32_t type = coType.ListIndex();
    if (isStateType(type)) {
        rn([&] { t.setStateAllowAllUp(chStateAllowAllUp.Value() != 0); });
        rn([&] {
            const QString group = rt::Trim(coStateGroupName.Text());
            t.setStateGroupName(group == QStringLiteral("(None)") ? QString() : group);
        });
        rn([&] { t.setState(int16_t(coState.ListIndex())); });
        QString group;
        rn([&] { group = t.StateGroupName(); });
        if (!group.isEmpty()) {
            rt::Collection& groups = editors::PanelGroups();
            rn.clear();
            if (!rn([&] { groups.Item(group); }))
                rn([&] { groups.Add(rt::Variant(group), group); });
        }
    } else if (type == toolbar::mqComboBox) {
        std::shared_ptr<toolbar::ToolComboBox> combo;
        if (!rn([&] { combo = t.comboBox(); }) || !combo)
            return;
        rn([&] { combo->Clear(); });
        rn([&] { combo->setStyle(int16_t(coComboStyle.ListIndex())); });
        rn([&] { combo->setText(txtComboDefText.Text()); });
        rn([&] { combo->setLocked(chComboLocked.Value() != 0); });
        rn([&] { combo->setSorted(chComboSorted.Value() != 0); });
        const int32_t count = lvComboItems.ListItems.Count();
        for (int32_t i = 1; i <= count; ++i) {
            forms::ListItem& item = lvComboItems.ListItems.Item(i);
            // NewIndex still names the previous item when the add failed.
            if (!rn([&] { combo->AddItem(item.Text()); }))
                continue;
            rn([&] { combo->setItemData(combo->NewIndex(), rt::Variant(item.Tag()).toLong()); });
        }
        rn([&] {
            if (combo->Style() != 1)
                return;
            const QString defText = txtComboDefText.Text();
            for (int16_t j = 0; j < combo->ListCount(); ++j)
                if (combo->List(j) == defText) {
                    combo->setListIndex(j);
                    break;
                }
        });
        rn([&] { t.setWidth(WidthOfText(txtComboWidth.Text())); });
    } else if (type == toolbar::mqEdit) {
        std::shared_ptr<toolbar::ToolEdit> edit;
        if (!rn([&] { edit = t.edit(); }) || !edit)
            return;
        rn([&] { edit->setMaxLength(rt::CInt(rt::Val(txtTextboxMaxLength.Text()))); });
        rn([&] {
            const QString text = txtTextboxText.Text();
            const int16_t n = rt::CInt(rt::Val(txtTextboxMaxLength.Text()));
            edit->setText(edit->MaxLength() != 0 ? rt::Left(text, n) : text);
        });
        rn([&] { edit->setLocked(chTextboxLocked.Value() != 0); });
        rn([&] { t.setWidth(WidthOfText(txtTextboxWidth.Text())); });
        rn([&] {
            const QString pw = txtTextboxPasswordChar.Text();
            edit->setPasswordChar(rt::Trim(pw).isEmpty() ? QString() : pw);
        });
    }
}

// ---- spreading a tool's look to its placed copies -----------------------------

void frmTool::PropagateToolChanges(const std::shared_ptr<toolbar::Tool>& source, uint8_t flags)
{
    const int16_t pointer = forms::Screen::MousePointer();
    forms::Screen::setMousePointer(forms::vbHourglass);
    rt::tryStatement([&] {
        const auto control = editors::WorkingCopy();
        for (const auto& bar : control->toolbars()->items())
            rt::tryStatement([&] { PropagateToolChangesInTools(*bar->tools(), source, flags); });
        for (const auto tool : *control->tools())
            rt::tryStatement([&] {
                if (tool->Type() == toolbar::mqMenu)
                    PropagateToolChangesInTools(*tool->menu()->tools(), source, flags);
            });
    });
    forms::Screen::setMousePointer(pointer);
}

void frmTool::PropagateToolChangesInTools(const toolbar::Tools& tools,
                                          const std::shared_ptr<toolbar::Tool>& source,
                                          uint8_t flags, int depth)
{
    if (depth > kMaxMenuDepth)
        return;
    rt::ResumeNext rn;
    for (const auto tool : tools) {   // walks the list as it was when the loop began
        toolbar::Tool& t = *tool;
        if (tool->state() != source->state() && t.ID() == source->ID()) {
            if (flags & kNameChanged)
                rn([&] { t.setName(source->Name()); });
            if (flags & kForecolorChanged)
                rn([&] { t.setForecolor(source->Forecolor()); });
            if (flags & kForecolorSourceChanged)
                rn([&] { t.setForecolorSource(source->ForecolorSource()); });
            if (flags & kDisplayStyleChanged)
                rn([&] { t.setDisplayStyle(source->DisplayStyle()); });
            if (flags & kWidthChanged)
                rn([&] {
                    const int16_t type = source->Type();
                    if (type == toolbar::mqComboBox || type == toolbar::mqEdit)
                        t.setWidth(source->Width());
                });
        }
        rn([&] {
            if (t.Type() == toolbar::mqMenu && t.existingMenuTools())
                PropagateToolChangesInTools(*t.menu()->tools(), source, flags, depth + 1);
        });
    }
}
