#pragma once
// The drive list and folder list of the folder picker. The drive list holds
// the file system roots of the platform; the folder list shows a folder's
// ancestors and its subfolders and opens one on a double-click.

#include "platform/forms/Control.h"

#include <QString>
#include <QStringList>

class QComboBox;
class QListWidget;

namespace conv {

class DriveListBox final : public forms::Control {
public:
    using Control::Control;

    QString Drive();                     // the chosen entry's text
    // Chooses the first entry beginning with `drive` (ignoring case); error 68
    // (device unavailable) when none does.
    void setDrive(const QString& drive);
    int32_t ListCount();
    QString List(int32_t index);         // "" outside the list
    int32_t ListIndex();
    void setListIndex(int32_t index);    // Change fires when the choice changes
    void choose(int32_t index) { setListIndex(index); }

    forms::Event<> Change;

protected:
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override;

private:
    QComboBox* box();
    QStringList m_roots;
    int32_t m_index = -1;
    bool m_internal = false;
};

class DirListBox final : public forms::Control {
public:
    using Control::Control;

    QString Path();
    // Opens a folder (Change fires on a change); error 76 when it is none.
    void setPath(const QString& path);
    int32_t ListCount();                 // the subfolders of Path
    QString List(int32_t index);         // full path of a subfolder, "" outside
    // Opens the entry as a double-click would: rows are the ancestors from
    // the root down to Path, then the subfolders.
    void openRow(int32_t row);

    forms::Event<> Change;

protected:
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override;

private:
    QListWidget* list();
    void refresh();
    QString m_path;
    QStringList m_rows;                  // full paths, as listed
    QStringList m_subFolders;
};

}  // namespace conv
