// The control panel's toolbar commands: new, edit and delete through the
// toolbar dialog, showing and hiding toolbars by their entries' checks, the
// Del key and the list's pop-up menu.
#include "barwright/panel/frmCtlPanel.h"

#include "barwright/editors/frmTBar.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Window.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Error.h"
#include "platform/toolbar/MqZentribar.h"

#include <QAbstractScrollArea>
#include <QListWidget>

#include <cmath>

#include <vector>

namespace {

constexpr int16_t kDelKey = 46;
constexpr int16_t kMenuBarStyle = 1;

com::Object workingCopyToolbars()
{
    return com::Object::fromVariant(frmCtlPanel::workingCopy().get(toolbar::dispid::Toolbars));
}

// Sets a Boolean back however the scope is left.
class FlagRestorer final {
public:
    explicit FlagRestorer(bool& flag) : m_flag(flag), m_old(flag) { m_flag = true; }
    ~FlagRestorer() { m_flag = m_old; }
    FlagRestorer(const FlagRestorer&) = delete;
    FlagRestorer& operator=(const FlagRestorer&) = delete;

private:
    bool& m_flag;
    bool m_old;
};

// The working copy's container flag is off while the toolbar dialog runs, and
// on again afterwards even when the dialog ends in an error.
class ContainerFlagOff final {
public:
    explicit ContainerFlagOff(com::Object wc) : m_wc(std::move(wc))
    {
        m_wc.let(toolbar::dispid::ContainerFlag, false);
    }
    ~ContainerFlagOff()
    {
        rt::tryStatement([&] { m_wc.let(toolbar::dispid::ContainerFlag, true); });
    }
    ContainerFlagOff(const ContainerFlagOff&) = delete;
    ContainerFlagOff& operator=(const ContainerFlagOff&) = delete;

private:
    com::Object m_wc;
};

}  // namespace

bool frmCtlPanel::wireToolbarCommands()
{
    cmdNewTBar.Click = [this] { cmdNewTBar_Click(); };
    cmdEditTBar.Click = [this] { cmdEditTBar_Click(); };
    cmdDeleteTBar.Click = [this] { cmdDeleteTBar_Click(); };
    liTBars.ItemCheck = [this](int16_t item) { liTBars_ItemCheck(item); };
    liTBars.KeyUp = [this](int16_t& key, int16_t shift) { liTBars_KeyUp(key, shift); };
    liTBars.MouseUp = [this](int16_t b, int16_t s, float x, float y) {
        liTBars_MouseUp(b, s, x, y);
    };
    mnu_Tbar.Click = [this] { mnu_Tbar_Click(); };
    mnu_newTbar.Click = [this] { cmdNewTBar.setValue(true); };
    mnu_editTbar.Click = [this] { cmdEditTBar.setValue(true); };
    mnu_deleteTbar.Click = [this] { cmdDeleteTBar.setValue(true); };
    mnu_LoadTbar.Click = [this] { cmdLoadTBar.setValue(true); };
    return true;
}

void frmCtlPanel::sendLeftButtonUpDown(forms::Control& view, float X, float Y)
{
    // The messages go to the client area, where the view's mouse events are
    // measured, not to the frame around it.
    QWidget* target = view.widget();
    if (auto* area = qobject_cast<QAbstractScrollArea*>(target))
        target = area->viewport();
    forms::Container* units = view.container();
    const int32_t position = rt::CLng(double(Y) / units->unitsPerPixelY() * 65536.0 +
                                      double(X) / units->unitsPerPixelX());
    const int32_t hwnd = forms::hwndOf(target);
    forms::SendMessageA(hwnd, forms::WM_LBUTTONUP, forms::MK_LBUTTON, position);
    forms::SendMessageA(hwnd, forms::WM_LBUTTONDOWN, forms::MK_LBUTTON, position);
}

QString frmCtlPanel::GetNewToolbarName()
{
    const com::Object bars = workingCopyToolbars();
    for (int n = 1; n <= 500; ++n) {
        const QString name = QStringLiteral("ToolBar") + QString::number(n);
        const int32_t missing = rt::tryStatement([&] {
            com::Object::fromVariant(bars.get(QStringLiteral("Item"), {rt::Variant(name)}))
                .get(QStringLiteral("Name"));
        });
        if (missing != 0) {
            rt::Err().Clear();
            return name;
        }
    }
    return {};
}

void frmCtlPanel::cmdNewTBar_Click()
{
    frmTBar& dlg = frmTBar::get();
    dlg.bEditMode = false;
    dlg.sToolbarName = GetNewToolbarName();
    dlg.Show(forms::vbModal, this);
    if (dlg.bCanceled || dlg.oTbar.isNothing()) {
        dlg.Unload();
        return;
    }
    const com::Object bar = dlg.oTbar;
    liTBars.AddItem(bar.get(QStringLiteral("Name")).toString());
    if (bar.get(QStringLiteral("Visible")).toBool())
        liTBars.setSelected(liTBars.NewIndex(), true);
    MakeDirty(true);
    dlg.Unload();
}

void frmCtlPanel::cmdEditTBar_Click()
{
    const int32_t index = liTBars.ListIndex();
    if (index == -1)
        return;
    frmTBar& dlg = frmTBar::get();
    dlg.bEditMode = true;
    dlg.sToolbarName = liTBars.List(index);
    {
        // Changes the dialog writes are not to move the list meanwhile.
        const ContainerFlagOff flagOff(workingCopy());
        dlg.Show(forms::vbModal, this);
    }
    if (dlg.bCanceled || dlg.oTbar.isNothing()) {
        dlg.Unload();
        return;
    }
    const com::Object bar = dlg.oTbar;
    liTBars.setList(index, bar.get(QStringLiteral("Name")).toString());
    liTBars.setSelected(index, bar.get(QStringLiteral("Visible")).toBool());
    MakeDirty(true);
    dlg.Unload();
}

void frmCtlPanel::cmdDeleteTBar_Click()
{
    const int32_t index = liTBars.ListIndex();
    if (index == -1)
        return;
    const QString text = liTBars.List(index);
    const int16_t answer = forms::MsgBox(
        QStringLiteral("Are you sure you want to delete toolbar '") + text + QStringLiteral("'?"),
        forms::vbYesNo | forms::vbQuestion, QStringLiteral("Confirm Delete Toolbar"));
    if (answer == forms::vbNo)
        return;
    if (rt::tryStatement([&] {
            workingCopyToolbars().call(QStringLiteral("Remove"),
                                       {rt::Variant(text.trimmed())});
        }) != 0) {
        const QString description = rt::Err().Description;
        rt::Err().Clear();
        forms::MsgBox(description, forms::vbOKOnly, QStringLiteral("Delete Toolbar"));
        return;
    }
    liTBars.RemoveItem(index);
    MakeDirty(true);
    if (liTBars.ListCount() > 0 && liTBars.ListIndex() == -1)
        liTBars.setListIndex(0);
}

void frmCtlPanel::liTBars_ItemCheck(int16_t Item)
{
    if (m_listClickGuard)
        return;
    rt::ResumeNext rn;
    rn([&] {
        const com::Object bar = com::Object::fromVariant(
            workingCopyToolbars().get(QStringLiteral("Item"), {rt::Variant(liTBars.List(Item))}));
        const bool checked = liTBars.Selected(Item);
        if (bar.get(QStringLiteral("Visible")).toBool() == checked)
            return;
        if (bar.get(QStringLiteral("Style")).toLong() != kMenuBarStyle) {
            // The dirty flag follows from the working copy's change event.
            bar.let(QStringLiteral("Visible"), checked);
        } else if (!checked) {
            // A menu bar stays as it is; its entry is checked again.
            const FlagRestorer guard(m_listRecheckGuard);
            liTBars.setSelected(Item, true);
        }
    });
    rn.clear();
}

void frmCtlPanel::liTBars_KeyUp(int16_t& KeyCode, int16_t Shift)
{
    (void)Shift;
    if (KeyCode == kDelKey)
        cmdDeleteTBar.setValue(true);
}

void frmCtlPanel::liTBars_MouseUp(int16_t Button, int16_t Shift, float X, float Y)
{
    (void)Shift;
    if (Button != forms::vbRightButton)
        return;
    const int32_t count = liTBars.ListCount();
    std::vector<bool> checks;
    checks.reserve(size_t(count));
    for (int32_t i = 0; i < count; ++i)
        checks.push_back(liTBars.Selected(i));

    {
        // The simulated click may land on a check box: no entry's toolbar
        // may change, on the release as little as on the press.
        const FlagRestorer guard(m_listClickGuard);
        sendLeftButtonUpDown(liTBars, X, Y);
        int32_t current = liTBars.ListIndex();
        // A press on a check box itself leaves the current entry where it
        // was in this list; the entry under the mouse becomes current all the same.
        if (auto* list = qobject_cast<QListWidget*>(liTBars.widget())) {
            forms::Container* units = liTBars.container();
            const QPoint at(int(std::lround(X / units->unitsPerPixelX())),
                            int(std::lround(Y / units->unitsPerPixelY())));
            const int32_t hit = list->indexAt(at).row();
            if (hit >= 0)
                current = hit;
        }
        const FlagRestorer recheck(m_listRecheckGuard);
        for (int32_t i = 0; i < count && i < liTBars.ListCount(); ++i)
            if (liTBars.Selected(i) != checks[size_t(i)])
                liTBars.setSelected(i, checks[size_t(i)]);
        if (liTBars.ListIndex() != current)
            liTBars.setListIndex(current);
    }

    SetCmdBtnsEnabledStatus();
    liTBars.Refresh();
    PopupMenu(mnu_Tbar);   // its Click sets the item captions
}

void frmCtlPanel::mnu_Tbar_Click()
{
    const QString text = liTBars.Text();
    mnu_editTbar.setCaption(mnu_editTbar.Enabled()
                                ? QStringLiteral("&Edit Toolbar '") + text + QStringLiteral("'...")
                                : QStringLiteral("&Edit Toolbar..."));
    mnu_deleteTbar.setCaption(mnu_deleteTbar.Enabled() ? QStringLiteral("&Delete Toolbar '") +
                                                             text + QStringLiteral("'...")
                                                       : QStringLiteral("&Delete Toolbar..."));
}
