#include "barwright/panel/frmLoadToolbars.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/connection/mGlobalsControls.h"
#include "barwright/panel/CToolCopier.h"
#include "barwright/panel/CopyDestination.h"
#include "barwright/panel/CopyDialogButtons.h"
#include "barwright/panel/LoadWorkConfiguration.h"
#include "barwright/panel/CopyProperties.h"
#include "barwright/panel/frmLoadToolbarConflict.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Error.h"
#include "platform/toolbar/MqZentribar.h"

#include <vector>

using mGlobals::gCRLF;
using mGlobals::gMsg;

namespace {

const QString kTitle = QStringLiteral("Load Toolbars From Configuration");
constexpr int16_t kMenuBarStyle = 1;
constexpr int16_t kSeparatorType = 8;

com::Object toolbarsOf(const com::Object& control)
{
    return com::Object::fromVariant(control.get(toolbar::dispid::Toolbars));
}

com::Object member(const com::Object& owner, const QString& name)
{
    return com::Object::fromVariant(owner.get(name));
}

com::Object item(const com::Object& collection, const rt::Variant& key)
{
    return com::Object::fromVariant(collection.get(QStringLiteral("Item"), {key}));
}

// The name of the control's first menu bar, or an empty text.
QString menuBarName(const com::Object& control)
{
    rt::ResumeNext rn;
    com::Object bars;
    int32_t count = 0;
    rn([&] { bars = toolbarsOf(control); });
    rn([&] { count = bars.get(QStringLiteral("Count")).toLong(); });
    for (int32_t i = 1; i <= count; ++i) {
        QString name;
        int16_t style = 0;
        if (rn([&] {
                const com::Object bar = item(bars, i);
                style = bar.get(QStringLiteral("Style")).toInteger();
                name = bar.get(QStringLiteral("Name")).toString();
            }) &&
            style == kMenuBarStyle)
            return name;
    }
    return {};
}

// A control left out of the Tab order can still be clicked.
void setTabStop(forms::Control& control, bool on)
{
    if (QWidget* w = control.widget())
        w->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
}

}  // namespace

frmLoadToolbars::frmLoadToolbars()
{
    liToolbars.Click = [this] { liToolbars_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCxl.Click = [this] { cmdCxl_Click(); };
    cmdSelectAll.Click = [this] { selectAll(true); };
    cmdClearAll.Click = [this] { selectAll(false); };
}

void frmLoadToolbars::Form_Design()
{
    setCaption(kTitle);
    setDesignSize(6000, 4560);
    tbarWork.Move(0, 0, 150, 150);
    tbarWork.setVisible(false);
    lbLoadingLit.Move(120, 120, 3000, 240);
    lbLoadingLit.setCaption(QStringLiteral("Configuration File"));
    txtLoadingFrom.Move(120, 390, 5760, 300);
    txtLoadingFrom.setLocked(true);
    Label1.Move(120, 840, 3600, 240);
    Label1.setCaption(QStringLiteral("&Select The Toolbars To Load"));
    liToolbars.Move(120, 1110, 4200, 3330);

    buttons().design(4440, {1110, 1560, 2280, 2730}, 1440, 375);
}

void frmLoadToolbars::Form_Load()
{
    bCanceled = true;
    forms::Screen::setMousePointer(forms::vbHourglass);
    bLoaded = LoadConfiguration();
    if (!bLoaded)
        Hide();
    forms::Screen::setMousePointer(forms::vbDefault);
    setTabStop(cmdOK, false);
    if (FontName() != u"MS Sans Serif") {
        const float left = liToolbars.Left() + liToolbars.Width() + 60;
        const float width = ScaleWidth() - (liToolbars.Left() + liToolbars.Width() + 120);
        buttons().align(left, width);
    }
}

void frmLoadToolbars::Form_Activate()
{
    if (!bLoaded)
        Unload();
}

bool frmLoadToolbars::LoadConfiguration()
{
    txtLoadingFrom.setText(ConfigFileName);
    const com::Object work = tbarWork.object();
    if (!LoadWorkConfiguration(work, ConfigFileName, kTitle))
        return false;
    rt::ResumeNext rn;
    rn([&] { work.let(toolbar::dispid::Visible, false); });
    com::Object bars;
    int32_t count = 0;
    rn([&] { bars = toolbarsOf(work); });
    rn([&] { count = bars.get(QStringLiteral("Count")).toLong(); });
    for (int32_t i = 1; i <= count; ++i)
        rn([&] { liToolbars.AddItem(item(bars, i).get(QStringLiteral("Name")).toString()); });
    return true;
}

void frmLoadToolbars::liToolbars_Click()
{
    const bool any = liToolbars.SelCount() > 0;
    mGlobals::SetEnabled(cmdOK, any);
    setTabStop(cmdOK, any);
    mGlobals::SetEnabled(cmdClearAll, any);
}

void frmLoadToolbars::selectAll(bool on)
{
    const int32_t count = liToolbars.ListCount();
    for (int32_t i = 0; i < count; ++i)
        liToolbars.setSelected(i, on);
    // An empty list raises no selection change; the buttons follow all the same.
    if (count == 0)
        liToolbars_Click();
}

void frmLoadToolbars::cmdCxl_Click()
{
    bCanceled = true;
    Hide();
}

void frmLoadToolbars::cmdOK_Click()
{
    CopyDestination::copyWithoutRedraw([this] { LoadSelectedToolbars(); });
    bCanceled = false;
    Hide();
}

bool frmLoadToolbars::LoadSelectedToolbars()
{
    const com::Object wc = CopyDestination::workingCopy();
    const com::Object work = tbarWork.object();
    CToolCopier copier;
    copier.setDestinationControl(wc);
    copier.setSourceControl(work);
    // Toolbar-level answers, apart from the copier's tool-level ones.
    bool yesToAll = false;
    bool noToAll = false;
    struct SeparatorPlace {
        com::Object toolbar;
        int32_t position;
    };
    std::vector<SeparatorPlace> cSeparators;

    // The names first: a question's modal loop must not see the list change
    // under an index.
    QStringList names;
    for (int32_t i = 0; i < liToolbars.ListCount(); ++i) {
        if (liToolbars.Selected(i))
            names << liToolbars.List(i);
    }

    rt::ResumeNext rn;
    bool finished = true;
    for (const QString& name : names) {
        com::Object fileBar;
        int16_t style = 0;
        rn([&] { fileBar = item(toolbarsOf(work), name); });
        // Without the file's toolbar there is nothing to put in place of the
        // working copy's.
        if (fileBar.isNothing())
            continue;
        rn([&] { style = fileBar.get(QStringLiteral("Style")).toInteger(); });

        // One menu bar per control: the working copy keeps its own.
        if (style == kMenuBarStyle) {
            const QString existingMenuBar = menuBarName(wc);
            if (!existingMenuBar.isEmpty()) {
                gMsg = QStringLiteral("Can't load Menu bar '") + name + QStringLiteral("'.") + gCRLF + gCRLF +
                       QStringLiteral("The control already has a Menu bar defined ('") + existingMenuBar +
                       QStringLiteral("'), and only 1 Menu bar per control is allowed.") + gCRLF + gCRLF +
                       QStringLiteral("'") + name + QStringLiteral("' (and its tools) will be skipped.");
                forms::MsgBox(gMsg, forms::vbExclamation, kTitle);
                continue;
            }
        }

        com::Object old;
        rn([&] { old = item(toolbarsOf(wc), name); });
        const bool exists = !old.isNothing();
        if (exists && !yesToAll && !noToAll) {
            frmLoadToolbarConflict& dlg = frmLoadToolbarConflict::get();
            forms::Screen::setMousePointer(forms::vbDefault);
            dlg.ToolBarName = name;
            dlg.OldTbar = old;
            dlg.NewTBar = fileBar;
            dlg.ReturnCode = 0;
            rn([&] { dlg.Show(forms::vbModal); });
            rn([&] { dlg.Unload(); });
            const int32_t answer = dlg.ReturnCode;
            forms::Screen::setMousePointer(forms::vbHourglass);
            if (answer == CToolCopier::YesToAll) {
                yesToAll = true;
            } else if (answer == CToolCopier::No) {
                continue;
            } else if (answer == CToolCopier::NoToAll) {
                noToAll = true;
                continue;
            } else if (answer != CToolCopier::Yes) {
                finished = false;
                break;
            }
        } else if (exists && noToAll) {
            continue;
        }

        // The old toolbar goes with its entries; the tool definitions stay.
        if (exists)
            rn([&] { toolbarsOf(wc).call(QStringLiteral("Remove"), {name}); });
        com::Object dest;
        rn([&] {
            dest = com::Object::fromVariant(
                toolbarsOf(wc).call(QStringLiteral("Add"), {name, style}));
        });
        mGlobals::CopyToolbarProperties(fileBar, dest);

        com::Object entries;
        int32_t count = 0;
        rn([&] { entries = member(fileBar, QStringLiteral("Tools")); });
        rn([&] { count = entries.get(QStringLiteral("Count")).toLong(); });
        bool cancel = false;
        for (int32_t k = 1; k <= count && !cancel; ++k) {
            com::Object entry;
            int16_t type = 0;
            if (!rn([&] { entry = item(entries, k); }))
                continue;
            rn([&] { type = entry.get(QStringLiteral("Type")).toInteger(); });
            if (type == kSeparatorType) {
                rn([&] {
                    cSeparators.push_back({dest, entry.get(QStringLiteral("Index")).toLong()});
                });
                continue;
            }
            const bool copied = copier.CopyCtlTool(entry, cancel);
            if (cancel)
                break;
            // Added whatever the copier decided: an entry of a tool answered
            // No refers to the working copy's own definition of that ID.
            com::Object added;
            rn([&] {
                added = com::Object::fromVariant(member(dest, QStringLiteral("Tools"))
                                                     .call(QStringLiteral("Add"),
                                                           {entry.get(QStringLiteral("ID"))}));
            });
            if (copied)
                mGlobals::CopyToolProperties(true, entry, added);
        }
        if (cancel) {
            finished = false;
            break;
        }
    }

    // Last, so every separator lands at its place in the file's toolbar. A
    // Cancel keeps what was copied, separators included: each one remembered
    // stood before the entry the copy stopped at.
    for (const SeparatorPlace& s : cSeparators) {
        rn([&] {
            member(s.toolbar, QStringLiteral("Tools"))
                .call(QStringLiteral("Add"),
                      {QStringLiteral("separator"), kSeparatorType, s.position});
        });
    }
    return finished;
}
