#pragma once
// Menu items of a form. A top item (no parent item) sits in the form's menu
// bar while Visible; an invisible top item serves as a pop-up menu
// (Form::PopupMenu). A caption of "-" makes a separator. Click of a top item
// runs when its menu opens, before the items show.

#include "platform/forms/Control.h"

#include <QPointer>
#include <QString>

#include <vector>

class QAction;
class QMenu;
class QMenuBar;

namespace forms {

class Form;

class Menu {
public:
    Menu(Form* form, QString name, Menu* parent = nullptr);
    ~Menu();
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    const QString& Name() const { return m_name; }
    Menu* parentItem() const { return m_parent; }
    Form& form() const { return *m_form; }

    QString Caption();
    void setCaption(const QString& caption);
    bool Enabled();
    void setEnabled(bool on);
    bool Checked();
    void setChecked(bool on);
    bool Visible();
    void setVisible(bool on);
    QString Tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

    // Clicks the item as the user would (runs Click when enabled).
    void click();

    Event<> Click;

    // ---- runtime side ---------------------------------------------------
    void create(QMenuBar* bar);   // the form is loading
    void destroyed();
    QAction* action();
    QMenu* menu();                // the drop-down of an item with children
    bool isTopLevel() const { return m_parent == nullptr; }

private:
    void ensure();
    Form* m_form;
    Menu* m_parent;
    QString m_name;
    QString m_tag;
    std::vector<Menu*> m_children;
    QPointer<QAction> m_action;
    QPointer<QMenu> m_menu;
};

}  // namespace forms
