// The control panel's exchange of the configuration with the client control:
// load at start, Apply and OK through a temporary file, the dirty flag kept
// from the working copy's change events, Cancel with its save question, the
// close box, and the exit that ends the connection.
#include "barwright/panel/frmCtlPanel.h"

#include "barwright/connection/RYXMain.h"
#include "barwright/connection/mGlobals.h"
#include "barwright/panel/frmPreview.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Error.h"
#include "platform/system/TempFiles.h"
#include "platform/toolbar/MqZentribar.h"

#include <QFile>

namespace {

constexpr int32_t kNameLength = 260;
const QString kMarker = QStringLiteral("!KTWD!");
constexpr int32_t kNoTempFile = int32_t(0x80040001u);
const QString kNoTempFileText = QStringLiteral("Unable to create temporary file.");

// Toolbar and position-state names in the order the drag snapshot keeps them.
constexpr std::array<int, 7> kSnapshotOrder{3, 2, 1, 5, 6, 7, 4};

std::array<int32_t, 7> readPositionState(const com::Object& bar)
{
    std::array<int32_t, 7> values{};
    for (size_t i = 0; i < kSnapshotOrder.size(); ++i)
        values[i] = bar.get(QStringLiteral("PositionState%1").arg(kSnapshotOrder[i])).toLong();
    return values;
}

}  // namespace

bool frmCtlPanel::LoadControlProperties(const com::Object& ctlFrom, const com::Object& ctlTo)
{
    using mGlobals::gConfigFile;
    rt::ResumeNext rn;
    int32_t failed = 0;
    rt::ErrObject noted;
    auto note = [&] {
        if (rn.failed() && failed == 0) {
            failed = rn.number();
            noted = rt::Err();
        }
    };
    if (!gConfigFile.trimmed().isEmpty()) {
        rn([&] { ctlTo.call(QStringLiteral("LoadConfiguration"), {rt::Variant(gConfigFile)}); });
        note();
        // The pending file is the control's hand-over copy: it goes, loaded or not.
        QFile::remove(gConfigFile);
    } else {
        rn([&] {
            const rt::Variant config = ctlFrom.call(QStringLiteral("SaveConfigurationEx"));
            ctlTo.call(QStringLiteral("LoadConfigurationEx"), {config});
        });
        note();
    }
    rn.clear();
    if (failed != 0) {
        forms::MsgBox(noted.Description, forms::vbOKOnly,
                      QStringLiteral("Load Control Properties"));
        return false;
    }
    return true;
}

bool frmCtlPanel::SaveControlProperties(const com::Object& ctlFrom, const com::Object& ctlTo,
                                        bool bImmediate)
{
    QString name(kNameLength, QChar(0));
    QString made;   // the temporary file, until the client has it
    rt::ErrObject noted;
    try {
        QString tempPath(kNameLength, QChar(0));
        const uint32_t len = sys::GetTempPathA(kNameLength, tempPath);
        if (len == 0 || len > uint32_t(kNameLength))
            rt::raise(kNoTempFile, QStringLiteral("SaveControlProperties"), kNoTempFileText);
        if (sys::GetTempFileNameA(tempPath.left(len), QStringLiteral("~MQ"), 0, name) == 0)
            rt::raise(kNoTempFile, QStringLiteral("SaveControlProperties"), kNoTempFileText);
        // The name travels as the whole NUL-padded buffer, as the client expects.
        name = name.leftJustified(kNameLength, QChar(0), true);
        made = name.left(name.indexOf(QChar(0)));
        ctlFrom.call(QStringLiteral("SaveConfiguration"), {rt::Variant(name)});
        if (bImmediate) {
            const qsizetype nul = name.indexOf(QChar(0));
            if (nul >= 0 && nul + 1 + kMarker.size() + 1 <= kNameLength)
                name.replace(nul + 1, kMarker.size() + 1, kMarker + QChar(0));
        }
        made.clear();   // handed over: the client's from here on
        ctlTo.call(QStringLiteral("LoadConfiguration"), {rt::Variant(name)});
    } catch (...) {
        noted.set(rt::toError(std::current_exception()));
    }
    // A file that could not be written is never handed over: nobody else
    // would remove it.
    if (!made.isEmpty())
        QFile::remove(made);
    if (noted.Number != 0) {
        forms::MsgBox(noted.Description, forms::vbOKOnly,
                      QStringLiteral("Save Control Properties"));
        return false;
    }
    m_applied = true;
    return true;
}

void frmCtlPanel::ApplyChanges(bool bImmediate)
{
    forms::Screen::setMousePointer(forms::vbHourglass);
    if (SaveControlProperties(workingCopy(), mGlobals::gControl, bImmediate))
        MakeDirty(false);
    forms::Screen::setMousePointer(forms::vbDefault);
}

void frmCtlPanel::MakeDirty(bool bDirty)
{
    m_dirty = bDirty;
    SetCmdBtnsEnabledStatus();
}

void frmCtlPanel::cmdApply_Click()
{
    ApplyChanges(true);
}

void frmCtlPanel::cmdOK_Click()
{
    ApplyChanges(false);
    ExitPanel();
}

void frmCtlPanel::cmdCxl_Click()
{
    using namespace mGlobals;
    if (!IsDirty()) {
        ExitPanel();
        return;
    }
    gMsg = QStringLiteral("You have made changes to the control's configuration that "
                          "haven't been saved.  ") +
           gCRLF + gCRLF + QStringLiteral("Would you like to save these changes now?");
    gAnswer = forms::MsgBox(gMsg, forms::vbYesNoCancel | forms::vbQuestion |
                                      forms::vbDefaultButton3,
                            QStringLiteral("Halvorbar"));
    if (gAnswer == forms::vbYes) {
        ApplyChanges(false);
        ExitPanel();
    } else if (gAnswer == forms::vbNo) {
        ExitPanel();
    }
}

void frmCtlPanel::Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode)
{
    if (UnloadMode == forms::vbFormControlMenu) {
        Cancel = 1;
        routeCloseToCancel();
    }
}

void frmCtlPanel::routeCloseToCancel()
{
    Timer1.setInterval(50);
    Timer1.setEnabled(true);
}

void frmCtlPanel::Timer1_Timer()
{
    Timer1.setEnabled(false);
    cmdCxl.setValue(true);
}

void frmCtlPanel::ExitPanel()
{
    workingCopy().call(toolbar::dispid::SwitchConfigMode,
                       {rt::Variant(toolbar::ConfigModeAccessCode)});
    forms::Unload(frmPreview::get());
    if (mGlobals::gRYXMain)
        mGlobals::gRYXMain->NotifyExiting();
}

void frmCtlPanel::ToolBarModified(int32_t Change, com::Object Toolbar, com::Object Tool)
{
    rt::ResumeNext rn;
    bool flagOn = true;
    rn([&] { flagOn = workingCopy().get(toolbar::dispid::ContainerFlag).toBool(); });
    if (!flagOn && Change != toolbar::change::Hidden)
        return;

    rn([&] {
        if (Change == toolbar::change::ToolSelected && tabMain.Tab() != 1)
            tabMain.setTab(1);
        else if (Change == toolbar::change::DragBegins && tabMain.Tab() != 0)
            tabMain.setTab(0);
    });

    switch (Change) {
    case 0: case 3: case 4: case 5: case 6: case 7: case 8:
        rn([&] { MakeDirty(true); });
        break;
    case toolbar::change::DragBegins:
        m_snapshotPending = true;
        rn([&] { m_snapshot = readPositionState(Toolbar); });
        break;
    case toolbar::change::DragEnds:
        if (m_snapshotPending) {
            rn([&] {
                if (readPositionState(Toolbar) != m_snapshot)
                    MakeDirty(true);
            });
            m_snapshotPending = false;
        }
        break;
    default:
        break;
    }

    if (Change == toolbar::change::ToolSelected && !Tool.isNothing()) {
        rn([&] {
            const QString id = Tool.get(QStringLiteral("ID")).toString();
            if (tvTools.Nodes.exists(id)) {
                forms::Node& node = tvTools.Nodes.Item(id);
                node.EnsureVisible();
                tvTools.setSelectedItem(&node);
                SetCmdBtnsEnabledStatus();
            }
        });
    } else if ((Change == toolbar::change::Hidden || Change == toolbar::change::Shown ||
                Change == toolbar::change::DragBegins) &&
               !Toolbar.isNothing()) {
        rn([&] {
            const QString name = Toolbar.get(QStringLiteral("Name")).toString().trimmed().toUpper();
            for (int32_t i = 0; i < liTBars.ListCount(); ++i) {
                if (liTBars.List(i).trimmed().toUpper() != name)
                    continue;
                liTBars.setListIndex(i);
                if (Change == toolbar::change::Hidden)
                    liTBars.setSelected(i, false);
                else if (Change == toolbar::change::Shown)
                    liTBars.setSelected(i, true);
                SetCmdBtnsEnabledStatus();
                return;
            }
        });
    }
    rn.clear();
}
