#include "conversion/windows/MainForm.h"

#include "conversion/engine/mConversion.h"
#include "conversion/windows/AboutForm.h"
#include "conversion/windows/Centre.h"
#include "conversion/windows/PathForm.h"
#include "conversion/windows/ResultsForm.h"
#include "platform/forms/App.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Error.h"
#include "platform/system/ProgramSettings.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kApp = QStringLiteral("Marquell Conversion Utility");
const QString kSection = QStringLiteral("Startup");
const QString kFind = QStringLiteral("&Find");
const QString kStop = QStringLiteral("&Stop");
constexpr int16_t kEscape = 27;
}  // namespace

MainForm::MainForm()
{
    KeyDown = [this](int16_t& KeyCode, int16_t Shift) { Form_KeyDown(KeyCode, Shift); };
    cboProduct.Click = [this] { cboProduct_Click(); };
    txtPath.Change = [this] { txtPath_Change(); };
    cmdBrowse.Click = [this] { cmdBrowse_Click(); };
    cmdFind.Click = [this] { cmdFind_Click(); };
    cmdConvert.Click = [this] { cmdConvert_Click(); };
    List1.Click = [this] { List1_Click(); };
    mFileOpen.Click = [this] { mFileOpen_Click(); };
    mFileExit.Click = [this] { mFileExit_Click(); };
    mActionFind.Click = [this] { cmdFind_Click(); };
    mActionConvert.Click = [this] { cmdConvert_Click(); };
    mActionCheckAll.Click = [this] { mActionCheckAll_Click(); };
    mActionUncheckAll.Click = [this] { mActionUncheckAll_Click(); };
    mActionClear.Click = [this] { mActionClear_Click(); };
    mHelpAbout.Click = [this] { mHelpAbout_Click(); };
}

void MainForm::Form_Design()
{
    setCaption(QStringLiteral("Quenbrix VB Control Conversion Utility"));
    setDesignSize(7500, 5400);
    setKeyPreview(true);   // Esc must reach the window from any control

    mFile.setCaption(QStringLiteral("&File"));
    mFileOpen.setCaption(QStringLiteral("&Open"));
    mFileExit.setCaption(QStringLiteral("E&xit"));
    mAction.setCaption(QStringLiteral("&Action"));
    mActionFind.setCaption(kFind);
    mActionConvert.setCaption(QStringLiteral("&Convert"));
    mActionSep.setCaption(QStringLiteral("-"));
    mActionCheckAll.setCaption(QStringLiteral("Check &All"));
    mActionUncheckAll.setCaption(QStringLiteral("&Uncheck All"));
    mActionClear.setCaption(QStringLiteral("C&lear"));
    mHelp.setCaption(QStringLiteral("&Help"));
    mHelpAbout.setCaption(QStringLiteral("&About"));

    Frame1(0).Move(0, 0, 7500, 90);
    Label4.setCaption(QStringLiteral("Convert:"));
    Label4.Move(120, 270, 840, 255);
    cboProduct.Move(1000, 210, 4160, 315);
    cmdFind.setCaption(kFind);
    cmdFind.setDefault(true);
    cmdFind.Move(5400, 200, 1300, 375);
    Label1.setCaption(QStringLiteral("Look in:"));
    Label1.Move(120, 690, 840, 255);
    txtPath.Move(1000, 630, 4160, 315);
    cmdBrowse.setCaption(QStringLiteral("&Browse..."));
    cmdBrowse.Move(5400, 620, 1300, 375);
    chkSubFolders.setCaption(QStringLiteral("Include &subfolders"));
    chkSubFolders.Move(1000, 1050, 2600, 285);
    cmdConvert.setCaption(QStringLiteral("&Convert"));
    cmdConvert.Move(5400, 1040, 1300, 375);
    Label2.setCaption(QStringLiteral("Only checked files will be converted. "
                                     "Backup files are created with a .BAK extension."));
    Label2.setWordWrap(true);
    Label2.Move(120, 1500, 6600, 420);
    Label3.setCaption(QStringLiteral("Files to convert:"));
    Label3.Move(120, 1980, 2400, 255);
    List1.Move(120, 2250, 7150, 2400);

    // Nothing to search for or convert yet.
    cmdFind.setEnabled(false);
    mActionFind.setEnabled(false);
    cmdConvert.setEnabled(false);
    mActionConvert.setEnabled(false);
}

void MainForm::Form_Load()
{
    CentreOnScreen(*this);
    mConversion::FillProductList(cboProduct);
    mConversion::sCurrentRow = QStringLiteral("-1");
    m_closedDuringSearch = false;
    GetSettings();
}

void MainForm::GetSettings()
{
    auto number = [](const char* key, const char* fallback) {
        return rt::Val(sys::GetSetting(kApp, kSection, QString::fromLatin1(key),
                                       QString::fromLatin1(fallback)));
    };
    // Values out of range (a hand-edited store) fall back rather than fail.
    const double product = number("Product", "0");
    cboProduct.setListIndex(product >= 0 && product < cboProduct.ListCount() ? int32_t(product)
                                                                             : 0);
    txtPath.setText(sys::GetSetting(kApp, kSection, QStringLiteral("InitFolder"), QString()));
    const double sub = number("SubFolders", "1");
    chkSubFolders.setValue(sub >= 0 && sub < 2 ? int16_t(sub) : int16_t(1));
}

void MainForm::SaveSettings()
{
    // A settings store that cannot be written must not keep the window open.
    rt::ResumeNext rn;
    rn([&] {
        sys::SaveSetting(kApp, kSection, QStringLiteral("Product"),
                         QString::number(cboProduct.ListIndex()));
    });
    rn([&] { sys::SaveSetting(kApp, kSection, QStringLiteral("InitFolder"), txtPath.Text()); });
    rn([&] {
        sys::SaveSetting(kApp, kSection, QStringLiteral("SubFolders"),
                         QString::number(chkSubFolders.Value()));
    });
}

void MainForm::Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode)
{
    (void)Cancel;
    (void)UnloadMode;
    // A search still running must end without touching the unloaded window,
    // or its next access would load the window again.
    if (m_searching) {
        m_closedDuringSearch = true;
        bStopFind = true;
    }
}

void MainForm::Form_Unload(int16_t& Cancel)
{
    (void)Cancel;
    SaveSettings();
}

void MainForm::Form_Resize()
{
    if (WindowState() == forms::vbMinimized)
        return;
    const float minHeight = Label3.Top() + Label3.Height() + 1500;
    const float minWidth = cmdFind.Left() + cmdFind.Width() + 750;
    float height = Height();
    float width = Width();
    if (height < minHeight) {
        height = minHeight;
        setHeight(height);
    }
    if (width < minWidth) {
        width = minWidth;
        setWidth(width);
    }
    List1.setHeight(height - minHeight + 750);
    List1.setWidth(width - 350);
    Frame1(0).setWidth(width);
}

void MainForm::Form_KeyDown(int16_t& KeyCode, int16_t Shift)
{
    (void)Shift;
    if (KeyCode == kEscape && bContinueFind) {
        bContinueFind = false;
        // Esc ends the whole search, as Stop does: left to the level that
        // sees it, the search would go on behind a "&Find" caption.
        if (m_searching)
            bStopFind = true;
    }
}

void MainForm::cboProduct_Click()
{
    mConversion::SetupConversion(int16_t(cboProduct.ListIndex()));
    ClearListBox();
}

void MainForm::txtPath_Change()
{
    cmdFind.setEnabled(!txtPath.Text().isEmpty());
    mActionFind.setEnabled(cmdFind.Enabled());
}

void MainForm::SetConvertEnabled(bool on)
{
    cmdConvert.setEnabled(on);
    mActionConvert.setEnabled(on);
}

void MainForm::ClearListBox()
{
    List1.Clear();
    // The converted indexes named entries of the emptied list.
    cConverted.clear();
    SetConvertEnabled(false);
}

void MainForm::ResetFindOperation()
{
    cmdFind.setCaption(kFind);
    mActionFind.setEnabled(true);
    forms::Screen::setMousePointer(forms::vbDefault);
    bContinueFind = true;
}

void MainForm::cmdFind_Click()
{
    bStopFind = false;
    if (cmdFind.Caption() == kStop) {
        bContinueFind = false;
        bStopFind = true;
        return;
    }
    forms::Screen::setMousePointer(forms::vbHourglass);
    cmdFind.setCaption(kStop);
    bContinueFind = true;
    mActionFind.setEnabled(false);
    const bool subFolders = chkSubFolders.Value() == forms::vbChecked;
    rt::Collection folders;
    mConversion::ParsePathList(txtPath.Text(), folders);
    m_searching = true;
    m_closedDuringSearch = false;
    for (const rt::Variant& folder : folders) {
        TraverseDir(folder.toString(), subFolders);
        forms::DoEvents();
    }
    m_searching = false;
    if (m_closedDuringSearch)
        return;
    ResetFindOperation();
    if (List1.ListCount() == 0)
        forms::MsgBox(QStringLiteral("No files found in Find operation!"), forms::vbExclamation,
                      QStringLiteral("Find Results"));
}

QString MainForm::TrimTrailingBackslash(const QString& s)
{
    return s.endsWith(u'/') ? s.left(s.size() - 1) : s;
}

namespace {
// The same project reached through another folder text or a link is one
// project: converting it twice would back up the converted file over its
// original's backup.
QString projectKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}
}  // namespace

bool MainForm::IsListed(const QString& path)
{
    const int32_t count = List1.ListCount();
    if (count != m_listedCount) {
        m_listed.clear();
        for (int32_t i = 0; i < count; ++i)
            m_listed.insert(projectKey(List1.List(i)));
        m_listedCount = count;
    }
    return m_listed.contains(projectKey(path));
}

// Only after IsListed said no.
void MainForm::AddProject(const QString& path)
{
    List1.AddItem(path);
    m_listed.insert(projectKey(path));
    ++m_listedCount;
    List1.setSelected(List1.NewIndex(), true);
}

bool MainForm::IsAlreadyInList(const QString& sFilename, const QString& sFolder)
{
    return IsListed(sFolder + u'/' + sFilename);
}

void MainForm::TraverseDir(QString sDirPath, bool bSubDirs)
{
    if (sDirPath.isEmpty())
        return;
    sDirPath = TrimTrailingBackslash(sDirPath);
    const QDir dir(sDirPath.isEmpty() ? QStringLiteral("/") : sDirPath);
    // Escape ends the search and resets the window, unless it is closing;
    // a stop request only ends it.
    const auto searchEnded = [this] {
        if (!bContinueFind) {
            if (!m_closedDuringSearch)
                ResetFindOperation();
            return true;
        }
        return bStopFind;
    };

    // One reading of the folder gives both its projects and its subfolders.
    // Linked folders are not followed: a link to a parent would never end.
    QFileInfoList files;
    QStringList subFolders;
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                          QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& entry : entries) {
        if (entry.isDir()) {
            if (bSubDirs && !entry.isSymLink())
                subFolders.append(sDirPath + u'/' + entry.fileName());
        } else if (entry.fileName().endsWith(QLatin1String(".vbp"), Qt::CaseInsensitive)) {
            files.append(entry);
        }
    }
    for (const QFileInfo& file : files) {
        forms::DoEvents();
        if (searchEnded())
            return;
        // Regular files only: a pipe or device named like a project would
        // block the read, and the window with it.
        if (!file.isFile())
            continue;
        const QString name = file.fileName();
        if (mConversion::ProjectUsesProduct(sDirPath + u'/' + name)
            && !IsAlreadyInList(name, sDirPath))
            AddProject(sDirPath + u'/' + name);
    }
    forms::DoEvents();
    if (searchEnded())
        return;

    for (const QString& folder : subFolders) {
        if (searchEnded())
            return;
        TraverseDir(folder, bSubDirs);
    }
}

void MainForm::cmdConvert_Click()
{
    QStringList failures;
    for (int32_t i = 0; i < List1.ListCount(); ++i) {
        if (List1.Selected(i)) {
            // A project that could not be converted stays checked, is not
            // listed as converted, and is named with its reason below.
            QString why;
            if (mConversion::ConvertProject(List1.List(i), &why)) {
                List1.setSelected(i, false);
                cConverted.Add(rt::Variant(i));
            } else {
                failures << List1.List(i) + QStringLiteral(": ") + why;
            }
        }
        forms::DoEvents();
    }
    if (!failures.isEmpty()) {
        const QString crlf = QStringLiteral("\r\n");
        forms::MsgBox(QStringLiteral("These projects could not be converted and are left as "
                                     "they were:")
                          + crlf + crlf + failures.join(crlf),
                      forms::vbExclamation, QStringLiteral("Convert Results"));
    }
    forms::instance<ResultsForm>().Show(forms::vbModal, this);
}

void MainForm::List1_Click()
{
    // Click follows each check set by code, so the entry just changed is
    // looked at first and the rest from the end: checking or unchecking a
    // whole list then costs one look per entry, not a pass over the list.
    const int32_t current = List1.ListIndex();
    bool anyChecked = current >= 0 && List1.Selected(current);
    for (int32_t i = List1.ListCount() - 1; i >= 0 && !anyChecked; --i)
        anyChecked = List1.Selected(i);
    SetConvertEnabled(anyChecked);
}

void MainForm::CheckAllItems(bool bCheckAll)
{
    for (int32_t i = 0; i < List1.ListCount(); ++i) {
        List1.setSelected(i, bCheckAll);
        forms::DoEvents();
    }
}

void MainForm::mActionCheckAll_Click() { CheckAllItems(true); }

void MainForm::mActionUncheckAll_Click() { CheckAllItems(false); }

void MainForm::mActionClear_Click() { ClearListBox(); }

void MainForm::mFileExit_Click() { Unload(); }

void MainForm::cmdBrowse_Click() { forms::instance<PathForm>().Show(forms::vbModal, this); }

void MainForm::mHelpAbout_Click() { forms::instance<AboutForm>().Show(forms::vbModal, this); }

void MainForm::mFileOpen_Click()
{
    QString file;
    try {
        CommonDialog1.Flags = forms::cdlOFNFileMustExist | forms::cdlOFNPathMustExist
                              | forms::cdlOFNHideReadOnly;
        CommonDialog1.CancelError = true;
        CommonDialog1.Filter =
            QStringLiteral("VB Project Files (*.vbp)|*.vbp|All Files (*.*)|*.*");
        CommonDialog1.FileName.clear();
        CommonDialog1.ShowOpen();
        file = CommonDialog1.FileName;
    } catch (const rt::Error& e) {
        if (e.number() == rt::errc::CancelSelected)
            return;
        file = CommonDialog1.FileName;   // other errors are passed over
    }
    if (file.isEmpty())
        return;
    const QString title = QStringLiteral("ERROR - Project does not contain ")
                          + mConversion::sSourceName + QStringLiteral(" Controls");
    // Said apart from a project without the controls: the size is the cause.
    if (const QString tooLarge = mConversion::ProjectSizeProblem(QFileInfo(file).size());
        !tooLarge.isEmpty()) {
        forms::MsgBox(QStringLiteral("ERROR: ") + file + QStringLiteral(" cannot be a project: ")
                          + tooLarge,
                      forms::vbExclamation | forms::vbOKCancel, title);
        return;
    }
    if (mConversion::ProjectUsesProduct(file)) {
        // The folder the dialog chose, as the process's current folder would
        // be after the dialog.
        const QString entry = QFileInfo(file).absolutePath() + u'/' + CommonDialog1.FileTitle;
        if (!IsListed(entry))
            AddProject(entry);
    } else {
        forms::MsgBox(QStringLiteral("ERROR: No ") + mConversion::sSourceName
                          + QStringLiteral(" controls detected in ") + file,
                      forms::vbExclamation | forms::vbOKCancel, title);
    }
}
