#include "platform/forms/AccessKeys.h"

#include "platform/forms/Control.h"
#include "platform/forms/Form.h"
#include "platform/forms/Menu.h"

#include <QAction>
#include <QApplication>
#include <QHash>
#include <QKeyEvent>
#include <QMenuBar>

#include <algorithm>
#include <vector>

namespace forms::detail {

QChar accessKeyOf(const QString& caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != u'&')
            continue;
        if (caption[i + 1] == u'&') {
            ++i;
            continue;
        }
        return caption[i + 1].toCaseFolded();
    }
    return {};
}

QChar accessKeyRequested(const QKeyEvent* e)
{
    const Qt::KeyboardModifiers m = e->modifiers();
    if (!(m & Qt::AltModifier) || (m & (Qt::ControlModifier | Qt::MetaModifier)))
        return {};
    const QString text = e->text();
    if (!text.isEmpty() && text[0].isPrint() && !text[0].isSpace())
        return text[0].toCaseFolded();
    const int key = e->key();
    if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        return QChar(key).toCaseFolded();
    return {};
}

namespace {

bool openMenu(Form& form, QChar key)
{
    QMenuBar* bar = form.existingMenuBar();
    if (!bar || !bar->isVisible())
        return false;
    for (Menu* m : form.menus()) {
        if (!m->isTopLevel())
            continue;
        QAction* a = m->action();
        if (a && a->isVisible() && a->isEnabled() && accessKeyOf(a->text()) == key) {
            bar->setActiveAction(a);
            return true;
        }
    }
    return false;
}

// The widgets of a window in tab order, starting after `after` (from the
// beginning when it is not one of them).
std::vector<QWidget*> tabOrderAfter(QWidget* top, QWidget* after)
{
    std::vector<QWidget*> chain;
    for (QWidget* w = top->nextInFocusChain(); w && w != top && chain.size() < 100000;
         w = w->nextInFocusChain())
        if (w->window() == top)
            chain.push_back(w);
    const auto at = std::find(chain.begin(), chain.end(), after);
    if (at != chain.end())
        std::rotate(chain.begin(), at + 1, chain.end());
    return chain;
}

// The form's controls that answer the key, in tab order from the focus on.
std::vector<Control*> candidates(Form& form, QChar key)
{
    QWidget* top = form.existingWindow();
    if (!top)
        return {};
    QHash<QWidget*, Control*> byWidget;
    for (Control* c : form.controls())
        if (QWidget* w = c->existingWidget())
            byWidget.insert(w, c);
    std::vector<Control*> found;
    for (QWidget* w : tabOrderAfter(top, QApplication::focusWidget())) {
        Control* c = byWidget.value(w);
        if (c && w->isVisible() && w->isEnabled() && c->hasAccessKey(key))
            found.push_back(c);
    }
    return found;
}

class AccessKeyOverride final : public QObject {
public:
    using QObject::QObject;

protected:
    // Accepting the override makes Qt deliver Alt+key as a key press, which
    // the form's controls then treat as an access key.
    bool eventFilter(QObject* obj, QEvent* ev) override
    {
        if (ev->type() != QEvent::ShortcutOverride)
            return false;
        auto* w = qobject_cast<QWidget*>(obj);
        auto* e = static_cast<QKeyEvent*>(ev);
        if (!w || QApplication::activePopupWidget() || accessKeyRequested(e).isNull())
            return false;
        if (!Form::fromWindow(w->window()))
            return false;
        e->accept();
        return true;
    }
};

}  // namespace

bool runAccessKey(Form& form, QChar key)
{
    if (key.isNull())
        return false;
    if (openMenu(form, key))
        return true;
    const std::vector<Control*> found = candidates(form, key);
    if (found.empty())
        return false;
    // Several controls with one key: the next one only gets the focus.
    found.front()->pressAccessKey(key, found.size() == 1);
    return true;
}

void focusNextAfter(QWidget* from)
{
    if (!from)
        return;
    QWidget* top = from->window();
    for (QWidget* w : tabOrderAfter(top, from)) {
        if (w == from)
            return;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && w->isEnabled()) {
            w->setFocus(Qt::ShortcutFocusReason);
            return;
        }
    }
}

void installAccessKeyOverride()
{
    static bool installed = false;
    if (installed || !qApp)
        return;
    installed = true;
    qApp->installEventFilter(new AccessKeyOverride(qApp));
}

}  // namespace forms::detail
