#include "conversion/windows/PathForm.h"

#include "conversion/engine/mConversion.h"
#include "conversion/windows/Centre.h"
#include "conversion/windows/MainForm.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/Error.h"

#include <QDir>

PathForm::PathForm()
{
    Drive1.Change = [this] { Drive1_Change(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
}

void PathForm::Form_Design()
{
    setCaption(QStringLiteral("Get Path"));
    setDesignSize(4800, 4200);
    Drive1.Move(120, 120, 3120, 315);
    Dir1.Move(120, 540, 3120, 3480);
    cmdOK.setCaption(QStringLiteral("OK"));
    cmdOK.setDefault(true);
    cmdOK.Move(3420, 120, 1215, 375);
    cmdCancel.setCaption(QStringLiteral("Cancel"));
    cmdCancel.setCancel(true);
    cmdCancel.Move(3420, 600, 1215, 375);
}

void PathForm::Form_Load()
{
    CentreOnScreen(*this);
    MainForm& main = forms::instance<MainForm>();
    const QString text = main.txtPath.Text();
    if (text.isEmpty())
        return;
    rt::Collection folders;
    mConversion::ParsePathList(text, folders);
    // A folder of the list that is gone leaves the folder list where it was.
    rt::ResumeNext rn;
    if (!rn([&] { Dir1.setPath(folders.Item(1).toString()); }))
        return;
    QString root = Dir1.Path();
    if (root.endsWith(u'/'))
        root.chop(1);
    for (int32_t i = 0; i < Drive1.ListCount(); ++i) {
        if (Drive1.List(i).startsWith(root, Qt::CaseInsensitive)) {
            Drive1.setListIndex(i);
            break;
        }
    }
}

namespace {
// True when the list's root `drive` is the innermost one holding `path`.
bool driveHolds(forms::DriveListBox& drives, const QString& drive, const QString& path)
{
    const auto holds = [&path](const QString& root) {
        return path == root || path.startsWith(root.endsWith(u'/') ? root : root + u'/');
    };
    if (!holds(drive))
        return false;
    for (int32_t i = 0; i < drives.ListCount(); ++i) {
        const QString other = drives.List(i);
        if (other.size() > drive.size() && holds(other))
            return false;
    }
    return true;
}
}  // namespace

void PathForm::Drive1_Change()
{
    // The drive's current folder: the process's own when it lies on that
    // drive, else the drive's root.
    const QString drive = Drive1.Drive();
    const QString current = QDir::currentPath();
    const QString folder = driveHolds(Drive1, drive, current) ? current : drive;
    try {
        Dir1.setPath(folder);
    } catch (const rt::Error& e) {
        forms::MsgBox(e.description(), forms::vbExclamation, QStringLiteral("Error!"));
    }
}

void PathForm::cmdOK_Click()
{
    forms::instance<MainForm>().txtPath.setText(Dir1.Path());
    Unload();
}

void PathForm::cmdCancel_Click() { Unload(); }
