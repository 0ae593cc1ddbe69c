#include "platform/forms/CommandButton.h"

#include "platform/forms/FocusMark.h"
#include "platform/forms/Form.h"

#include <QKeyEvent>
#include <QPushButton>

namespace forms {

namespace {
// Return presses the focused button as Space does, and the focus shows as a
// dotted frame inside it: the style marks focus and default button alike.
class PushButton final : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
        if (!enter || (e->modifiers() & ~Qt::KeypadModifier))
            return QPushButton::keyPressEvent(e);
        if (!e->isAutoRepeat())
            click();
    }
    void paintEvent(QPaintEvent* e) override
    {
        QPushButton::paintEvent(e);
        detail::paintFocusMark(this, rect().adjusted(4, 4, -5, -5));
    }
};
}  // namespace

QWidget* CommandButton::createWidget(QWidget* parent)
{
    auto* b = new PushButton(parent);
    b->setAutoDefault(false);
    QObject::connect(b, &QPushButton::clicked, [this] { Click.fire(); });
    return b;
}

void CommandButton::resetState()
{
    m_default = false;
    m_cancel = false;
    m_picture.reset();
}

QString CommandButton::Caption()
{
    auto* b = static_cast<QPushButton*>(widget());
    return b ? b->text() : QString();
}

void CommandButton::setCaption(const QString& caption)
{
    if (auto* b = static_cast<QPushButton*>(widget()))
        b->setText(caption);
}

void CommandButton::setDefault(bool on)
{
    auto* b = static_cast<QPushButton*>(widget());
    m_default = on;
    if (b)
        b->setDefault(on);
    if (on)
        form().setDefaultButton(this, [this] { click(); });
    else
        form().setDefaultButton(nullptr, {});
}

void CommandButton::setCancel(bool on)
{
    widget();
    m_cancel = on;
    if (on)
        form().setCancelButton(this, [this] { click(); });
    else
        form().setCancelButton(nullptr, {});
}

void CommandButton::setValue(bool on)
{
    widget();
    if (on)
        raise(Click);
}

void CommandButton::setPicture(Picture picture)
{
    auto* b = static_cast<QPushButton*>(widget());
    m_picture = std::move(picture);
    if (!b)
        return;
    if (m_picture && m_picture->Handle()) {
        const QImage img = m_picture->toImage();
        b->setIcon(QIcon(QPixmap::fromImage(img)));
        b->setIconSize(img.size());
    } else {
        b->setIcon(QIcon());
    }
}

void CommandButton::click()
{
    QWidget* w = widget();
    if (!w || !w->isEnabled() || w->isHidden())
        return;
    Click.fire();
}

}  // namespace forms
