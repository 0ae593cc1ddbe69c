#include "platform/forms/CommandButton.h"

#include "platform/forms/Form.h"

#include <QPushButton>

namespace forms {

QWidget* CommandButton::createWidget(QWidget* parent)
{
    auto* b = new QPushButton(parent);
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
