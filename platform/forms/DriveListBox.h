#pragma once
// Drive list: the file system roots of the platform ("/" first, then the
// mounted volumes of real devices). Drive is the chosen entry's text;
// setting Drive to a path chooses the root that holds it. Choosing another
// entry, in code or by the user, raises Change.

#include "platform/forms/Control.h"

#include <QStringList>

class QComboBox;

namespace forms {

class DriveListBox final : public Control {
public:
    using Control::Control;

    QString Drive();
    // Chooses the entry that begins the path (the longest one); error 68
    // (device unavailable) when none does.
    void setDrive(const QString& drive);
    int32_t ListCount();
    QString List(int32_t index);   // "" outside the list
    int32_t ListIndex();
    void setListIndex(int32_t index);   // 380 outside 0..count-1
    void choose(int32_t index);         // as the user would

    Event<> Change;

    // The roots listed, in order.
    static QStringList roots();

protected:
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override { m_internal = false; }

private:
    QComboBox* box();
    bool m_internal = false;
};

}  // namespace forms
