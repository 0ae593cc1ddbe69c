#include "platform/forms/Menu.h"

#include "platform/forms/Form.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace forms {

Menu::Menu(Form* form, QString name, Menu* parent)
    : m_form(form), m_parent(parent), m_name(std::move(name))
{
    if (m_parent)
        m_parent->m_children.push_back(this);
    m_form->registerMenu(this);
}

Menu::~Menu()
{
    m_form->unregisterMenu(this);
    if (m_parent) {
        auto& c = m_parent->m_children;
        c.erase(std::remove(c.begin(), c.end(), this), c.end());
    }
}

void Menu::create(QMenuBar* bar)
{
    if (m_action)
        return;
    QWidget* owner = bar;
    if (m_parent) {
        m_parent->create(bar);
        owner = m_parent->menu();
    }
    if (!m_children.empty() || !m_parent) {
        m_menu = new QMenu(m_name, owner);
        m_action = m_menu->menuAction();
        QObject::connect(m_menu, &QMenu::aboutToShow, [this] {
            if (!m_parent)
                Click.fire();
        });
    } else {
        m_action = new QAction(m_name, owner);
        QObject::connect(m_action, &QAction::triggered, [this] { Click.fire(); });
    }
    if (m_parent)
        m_parent->menu()->addAction(m_action);
    else
        bar->addAction(m_action);
}

void Menu::destroyed()
{
    if (m_action)
        m_action->blockSignals(true);
    if (m_menu)
        m_menu->blockSignals(true);
    m_action = nullptr;
    m_menu = nullptr;
    m_tag.clear();
}

void Menu::ensure()
{
    m_form->ensureLoaded();
}

QAction* Menu::action()
{
    ensure();
    return m_action;
}

QMenu* Menu::menu()
{
    ensure();
    return m_menu;
}

QString Menu::Caption()
{
    QAction* a = action();
    return a ? (a->isSeparator() ? QStringLiteral("-") : a->text()) : QString();
}

void Menu::setCaption(const QString& caption)
{
    if (QAction* a = action()) {
        // A separator's text would be drawn beside its line.
        const bool separator = caption == QLatin1String("-");
        a->setSeparator(separator);
        a->setText(separator ? QString() : caption);
    }
}

bool Menu::Enabled()
{
    QAction* a = action();
    return a && a->isEnabled();
}

void Menu::setEnabled(bool on)
{
    if (QAction* a = action())
        a->setEnabled(on);
}

bool Menu::Checked()
{
    QAction* a = action();
    return a && a->isChecked();
}

void Menu::setChecked(bool on)
{
    if (QAction* a = action()) {
        a->setCheckable(on || a->isCheckable());
        a->setChecked(on);
    }
}

bool Menu::Visible()
{
    QAction* a = action();
    return a && a->isVisible();
}

void Menu::setVisible(bool on)
{
    if (QAction* a = action())
        a->setVisible(on);
    if (!m_parent)
        m_form->layoutMenuBar();
}

void Menu::click()
{
    QAction* a = action();
    if (!a || !a->isEnabled())
        return;
    if (m_menu && !m_parent)
        Click.fire();
    else if (!m_menu)
        Click.fire();
}

}  // namespace forms
