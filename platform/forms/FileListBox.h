#pragma once
// File list: the files of Path that match Pattern (";"-separated wildcards,
// "*.*" meaning every file), sorted without case. Setting Path raises
// PathChange, Pattern PatternChange; choosing an entry raises Click.

#include "platform/forms/Control.h"

#include <QStringList>

class QListWidget;

namespace forms {

class FileListBox final : public Control {
public:
    using Control::Control;

    QString Path();   // starts as the working folder
    void setPath(const QString& path);   // 76 for a missing folder
    QString Pattern() const { return m_pattern; }
    void setPattern(const QString& pattern);
    int32_t ListCount();
    QString List(int32_t index);   // a file name; "" outside the list
    int32_t ListIndex();
    void setListIndex(int32_t index);   // Click on a change; 380 outside -1..count-1
    QString FileName();                 // the chosen entry's name ("" for none)
    // A name of the list chooses it; one with a folder sets Path first; one
    // with wildcards sets Pattern.
    void setFileName(const QString& name);
    void Refresh();

    void clickItem(int32_t index);
    void doubleClickItem(int32_t index);

    Event<> Click;
    Event<> DblClick;
    Event<> PathChange;
    Event<> PatternChange;

protected:
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override;

private:
    QListWidget* list();
    void fill();
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
    bool m_internal = false;
};

}  // namespace forms
