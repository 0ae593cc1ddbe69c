#include "platform/forms/Control.h"

#include "platform/forms/AccessKeys.h"
#include "platform/forms/Form.h"
#include "platform/forms/Window.h"
#include "platform/forms/Input.h"
#include "platform/forms/MousePointer.h"

#include "platform/gdi/Gdi.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include <cmath>

namespace forms {

Control::Control(Container* parent, QString name)
    : m_form(&parent->form()), m_parent(parent), m_name(std::move(name))
{
    m_form->registerControl(this);
}

Control::~Control()
{
    m_form->unregisterControl(this);
    detail::detachInput(this, m_inputWidget);
    delete m_widget.data();
}

bool Control::hasAccessKey(QChar key)
{
    return !key.isNull() && detail::accessKeyOf(accessCaption()) == key;
}

bool Control::quiet() const
{
    return m_form->designing();
}

QWidget* Control::widget()
{
    m_form->ensureLoaded();
    if (!m_widget && m_form->isLoaded())
        create();
    return m_widget;
}

void Control::create()
{
    if (m_widget)
        return;
    QWidget* host = m_parent->hostWidget();
    QWidget* w = createWidget(host);
    if (!w)
        return;
    m_widget = w;
    w->setObjectName(m_name);
    if (QWidget* in = inputWidget()) {
        detail::attachInput(this, in);
        m_inputWidget = in;
    }
    w->show();
}

void Control::destroyed()
{
    // The widget may outlive this unload (deleted later) or this object.
    detail::detachInput(this, m_inputWidget);
    m_inputWidget = nullptr;
    if (m_widget) {
        const QList<QWidget*> all = m_widget->findChildren<QWidget*>();
        for (QWidget* c : all)
            c->blockSignals(true);
        m_widget->blockSignals(true);
    }
    m_widget = nullptr;
    m_hwnd = 0;
    m_tag.clear();
    m_backColor = -1;
    m_foreColor = -1;
    m_mousePointer = 0;
    m_mouseIcon.reset();
    resetState();
}

namespace {
int toPixels(float v, double unitsPerPixel)
{
    return int(std::lround(double(v) / unitsPerPixel));
}
}  // namespace

float Control::Left()
{
    QWidget* w = widget();
    return w ? float(w->x() * m_parent->unitsPerPixelX()) : 0.f;
}

float Control::Top()
{
    QWidget* w = widget();
    return w ? float(w->y() * m_parent->unitsPerPixelY()) : 0.f;
}

float Control::Width()
{
    QWidget* w = widget();
    return w ? float(w->width() * m_parent->unitsPerPixelX()) : 0.f;
}

float Control::Height()
{
    QWidget* w = widget();
    return w ? float(w->height() * m_parent->unitsPerPixelY()) : 0.f;
}

void Control::setLeft(float v)
{
    if (QWidget* w = widget())
        w->move(toPixels(v, m_parent->unitsPerPixelX()), w->y());
}

void Control::setTop(float v)
{
    if (QWidget* w = widget())
        w->move(w->x(), toPixels(v, m_parent->unitsPerPixelY()));
}

void Control::setWidth(float v)
{
    if (QWidget* w = widget())
        w->resize(std::max(0, toPixels(v, m_parent->unitsPerPixelX())), w->height());
}

void Control::setHeight(float v)
{
    if (QWidget* w = widget())
        w->resize(w->width(), std::max(0, toPixels(v, m_parent->unitsPerPixelY())));
}

void Control::Move(float left, float top, float width, float height)
{
    QWidget* w = widget();
    if (!w)
        return;
    const double ux = m_parent->unitsPerPixelX();
    const double uy = m_parent->unitsPerPixelY();
    w->setGeometry(toPixels(left, ux), toPixels(top, uy),
                   width < 0 ? w->width() : toPixels(width, ux),
                   height < 0 ? w->height() : toPixels(height, uy));
}

bool Control::Enabled()
{
    QWidget* w = widget();
    return w && w->isEnabledTo(w->parentWidget());
}

void Control::setEnabled(bool on)
{
    if (QWidget* w = widget())
        w->setEnabled(on);
}

bool Control::Visible()
{
    QWidget* w = widget();
    return w && !w->isHidden();
}

void Control::setVisible(bool on)
{
    if (QWidget* w = widget())
        w->setHidden(!on);
}

QString Control::ToolTipText()
{
    QWidget* w = widget();
    return w ? w->toolTip() : QString();
}

void Control::setToolTipText(const QString& text)
{
    if (QWidget* w = widget())
        w->setToolTip(text);
}

bool Control::canFocus()
{
    QWidget* w = widget();
    if (!w || !w->isEnabled())
        return false;
    // Hidden on purpose somewhere below the window; a window not yet shown
    // keeps its controls in sight.
    for (const QWidget* p = w; p && !p->isWindow(); p = p->parentWidget())
        if (p->isHidden() && p->testAttribute(Qt::WA_WState_ExplicitShowHide))
            return false;
    return true;
}

void Control::SetFocus()
{
    if (QWidget* w = widget(); w && canFocus()) {
        QWidget* in = inputWidget() ? inputWidget() : w;
        in->setFocus(Qt::OtherFocusReason);
    }
}

bool Control::hasFocus()
{
    QWidget* w = widget();
    if (!w)
        return false;
    QWidget* in = inputWidget() ? inputWidget() : w;
    return in->hasFocus();
}

void Control::Refresh()
{
    if (QWidget* w = widget())
        w->repaint();
}

void Control::ZOrder(int16_t position)
{
    if (QWidget* w = widget()) {
        if (position == 0)
            w->raise();
        else
            w->lower();
    }
}

QColor toQColor(int32_t color)
{
    const gdi::COLORREF c = gdi::TranslateColor(int64_t(uint32_t(color)));
    return QColor(gdi::GetRValue(c), gdi::GetGValue(c), gdi::GetBValue(c));
}

int32_t Control::BackColor()
{
    QWidget* w = widget();
    if (m_backColor >= 0)
        return int32_t(uint32_t(m_backColor));
    return w && qobject_cast<QLabel*>(w) ? int32_t(0x8000000F) : int32_t(0x80000005);
}

void Control::setBackColor(int32_t color)
{
    QWidget* w = widget();
    m_backColor = int64_t(uint32_t(color));
    if (!w)
        return;
    QPalette p = w->palette();
    const QColor q = toQColor(color);
    p.setColor(QPalette::Window, q);
    p.setColor(QPalette::Base, q);
    p.setColor(QPalette::Button, q);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

int32_t Control::ForeColor()
{
    widget();
    return m_foreColor >= 0 ? int32_t(uint32_t(m_foreColor)) : int32_t(0x80000012);
}

void Control::setForeColor(int32_t color)
{
    QWidget* w = widget();
    m_foreColor = int64_t(uint32_t(color));
    if (!w)
        return;
    QPalette p = w->palette();
    const QColor q = toQColor(color);
    p.setColor(QPalette::WindowText, q);
    p.setColor(QPalette::Text, q);
    p.setColor(QPalette::ButtonText, q);
    w->setPalette(p);
}

void Control::setMousePointer(int16_t pointer)
{
    checkMousePointer(pointer);
    widget();
    m_mousePointer = pointer;
    showPointer();
}

void Control::setMouseIcon(Picture icon)
{
    widget();
    m_mouseIcon = std::move(icon);
    showPointer();
}

// Over the part that takes the mouse: a picture box's drawing area.
void Control::showPointer()
{
    QWidget* in = inputWidget();
    applyMousePointer(in ? in : m_widget.data(), m_mousePointer, m_mouseIcon);
}

int32_t Control::hWnd()
{
    QWidget* w = widget();
    if (!w)
        return 0;
    if (!m_hwnd)
        m_hwnd = hwndOf(w);
    return m_hwnd;
}

}  // namespace forms
