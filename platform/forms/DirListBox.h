#pragma once
// Folder list: the current folder (Path) with its parents above it and its
// subfolders below, indexed as the original: List(-1) is Path itself, -2 its
// parent and so on up to the root; 0 .. ListCount-1 are the subfolders (full
// paths, sorted without case). Setting Path raises Change; clicking an entry
// raises Click; double-clicking one opens it (Path, then Change).

#include "platform/forms/Control.h"

#include <QStringList>

class QListWidget;

namespace forms {

class DirListBox final : public Control {
public:
    using Control::Control;

    QString Path();   // starts as the working folder
    // Error 76 (path not found) for a missing folder; nothing changes then.
    void setPath(const QString& path);
    int32_t ListCount();             // the subfolders
    QString List(int32_t index);     // "" outside -(parents + 1) .. ListCount-1
    int32_t ListIndex();             // the highlighted entry; -1: Path
    void setListIndex(int32_t index);   // Click on a change
    void Refresh();                  // reads the folder again

    // As the user would.
    void clickItem(int32_t listIndex);         // highlight: Click
    void doubleClickItem(int32_t listIndex);   // open: Path, Change

    Event<> Change;
    Event<> Click;

protected:
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override;

private:
    QListWidget* list();
    void fill();
    int rowOf(int32_t listIndex) const;
    QString m_path;
    QStringList m_parents;   // the root first, Path last
    QStringList m_subs;
    bool m_internal = false;
};

}  // namespace forms
