// The control panel's file commands: export and import of whole
// configurations, the copy-from-file commands, and help at the topic of the
// current tab. Every file dialog opens in the folder of
// the last file chosen.
#include "barwright/panel/frmCtlPanel.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/panel/frmLoadToolbars.h"
#include "barwright/panel/frmLoadTools.h"
#include "platform/forms/App.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Error.h"
#include "platform/toolbar/MqZentribar.h"

namespace {

const QString kProduct = QStringLiteral("Halvorbar");
constexpr int32_t kOpenFlags = forms::cdlOFNFileMustExist | forms::cdlOFNHideReadOnly;
constexpr int32_t kSaveFlags =
    forms::cdlOFNPathMustExist | forms::cdlOFNHideReadOnly | forms::cdlOFNOverwritePrompt;
const QString kImportTitle = QStringLiteral("Import ToolBar Configuration");
const QString kExportTitle = QStringLiteral("Export ToolBar Configuration");

QString openFilter()
{
    return kProduct + QStringLiteral(" Configuration Files (*.qrv)|*.qrv|")
           + QStringLiteral("All Files (*.*)|*.*");
}

QString exportFilter()
{
    return kProduct + QStringLiteral(" Configuration Files (*.qrv)|*.qrv");
}

int32_t countOf(const com::Object& control, int32_t dispid)
{
    return com::Object::fromVariant(control.get(dispid)).get(QStringLiteral("Count")).toLong();
}

// Shows a copy dialog on the file; after a copy the views are rebuilt and
// the configuration counts as changed. False when the dialog was cancelled.
template <class Dialog>
bool runCopyDialog(Dialog& dialog, const QString& file)
{
    frmCtlPanel& panel = frmCtlPanel::get();
    dialog.ConfigFileName = file;
    dialog.Show(forms::vbModal, &panel);
    const bool canceled = dialog.bCanceled;
    dialog.Unload();
    if (canceled)
        return false;
    panel.ReloadAllLists();
    panel.MakeDirty(true);
    return true;
}

}  // namespace

QString frmCtlPanel::GetConfigFileName(const QString& title)
{
    QString result;
    ComDlg.DialogTitle = title;
    ComDlg.CancelError = true;
    ComDlg.InitDir = m_importExportDir;
    ComDlg.FileName.clear();
    ComDlg.Flags = kOpenFlags;
    ComDlg.Filter = openFilter();
    ComDlg.FilterIndex = 1;
    if (rt::tryStatement([&] { ComDlg.ShowOpen(); }) == rt::errc::CancelSelected) {
        rt::Err().Clear();
        return {};
    }
    if (!ComDlg.FileName.trimmed().isEmpty()) {
        m_importExportDir = mGlobals::GetPathPart(ComDlg.FileName);
        result = ComDlg.FileName;
    }
    rt::Err().Clear();
    return result;
}

void frmCtlPanel::cmdExport_Click()
{
    ComDlg.DialogTitle = kExportTitle;
    ComDlg.CancelError = true;
    ComDlg.InitDir = m_importExportDir;
    ComDlg.FileName = QStringLiteral("Untitled.qrv");
    ComDlg.Flags = kSaveFlags;
    ComDlg.Filter = exportFilter();
    ComDlg.FilterIndex = 1;
    if (rt::tryStatement([&] { ComDlg.ShowSave(); }) == rt::errc::CancelSelected)
        return;
    const QString file = ComDlg.FileName;
    if (file.trimmed().isEmpty())
        return;
    m_importExportDir = mGlobals::GetPathPart(file);

    rt::ResumeNext rn;
    rn([&] { Refresh(); });
    forms::Screen::setMousePointer(forms::vbHourglass);
    rn([&] {
        workingCopy().call(toolbar::dispid::SaveConfiguration, {rt::Variant(file)});
    });
    forms::Screen::setMousePointer(forms::vbDefault);
    if (rn.failed()) {
        const QString text = rt::Err().Description;
        rn.clear();
        forms::MsgBox(text, forms::vbOKOnly, kExportTitle);
    }
}

void frmCtlPanel::cmdImport_Click()
{
    const QString file = GetConfigFileName(kImportTitle);
    if (file.trimmed().isEmpty())
        return;

    const com::Object wc = workingCopy();
    bool holdsSomething = IsDirty();
    rt::tryStatement([&] {
        holdsSomething = holdsSomething || countOf(wc, toolbar::dispid::Tools) > 0
                         || countOf(wc, toolbar::dispid::Toolbars) > 0;
    });
    if (holdsSomething) {
        const int16_t answer = forms::MsgBox(
            QStringLiteral("Importing this configuration will overlay the current "
                           "configuration.  Do you want to continue?"),
            forms::vbYesNo | forms::vbQuestion, kImportTitle);
        if (answer == forms::vbNo)
            return;
    }

    rt::ResumeNext rn;
    rn([&] { Refresh(); });
    forms::Screen::setMousePointer(forms::vbHourglass);
    const rt::Variant code(toolbar::ConfigModeAccessCode);
    rn([&] { wc.call(toolbar::dispid::SwitchConfigMode, {code}); });
    rn([&] { wc.call(toolbar::dispid::LoadConfiguration, {rt::Variant(file)}); });
    rn([&] { wc.call(toolbar::dispid::SwitchConfigMode, {code}); });
    forms::Screen::setMousePointer(forms::vbDefault);
    if (rn.failed()) {
        rn.clear();
        forms::MsgBox(QStringLiteral("Error while loading configuration - invalid or damaged "
                                     "configuration file."),
                      forms::vbOKOnly, kImportTitle);
    }

    // Whatever the control took in, the views show it and it counts as a change.
    ReloadAllLists();
    MakeDirty(true);
    if (liTBars.ListCount() > 0 && liTBars.ListIndex() == -1)
        liTBars.setListIndex(0);
}

void frmCtlPanel::cmdLoadTBar_Click()
{
    const QString file = GetConfigFileName(QStringLiteral("Load ToolBars From Configuration"));
    if (file.trimmed().isEmpty())
        return;
    if (!runCopyDialog(frmLoadToolbars::get(), file))
        return;
    if (liTBars.ListCount() > 0 && liTBars.ListIndex() == -1)
        liTBars.setListIndex(0);
}

void frmCtlPanel::cmdLoadTool_Click()
{
    const QString file = GetConfigFileName(QStringLiteral("Load Tools From Configuration"));
    if (file.trimmed().isEmpty())
        return;
    runCopyDialog(frmLoadTools::get(), file);
}

void frmCtlPanel::cmdHelp_Click()
{
    const QString helpFile = forms::App::HelpFile();
    if (helpFile.isEmpty())
        return;
    ComDlg.HelpFile = helpFile;
    ComDlg.HelpCommand = forms::cdlHelpContext;
    ComDlg.HelpContext = HelpContextID();
    ComDlg.ShowHelp();
}
