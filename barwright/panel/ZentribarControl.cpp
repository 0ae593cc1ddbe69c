#include "barwright/panel/ZentribarControl.h"

#include "platform/toolbar/ZentribarWidget.h"

ZentribarControl::ZentribarControl(forms::Container* parent, QString name)
    : forms::Control(parent, std::move(name))
{
}

ZentribarControl::~ZentribarControl()
{
    detach();
}

const std::shared_ptr<toolbar::MqZentribar>& ZentribarControl::control()
{
    widget();   // a placed control exists while its form is loaded
    if (!m_control) {
        m_control = std::make_shared<toolbar::MqZentribar>();
        attach();
    }
    return m_control;
}

QWidget* ZentribarControl::createWidget(QWidget* parent)
{
    if (!m_control) {
        m_control = std::make_shared<toolbar::MqZentribar>();
        attach();
    }
    auto* widget = new toolbar::ZentribarWidget(m_control, parent);
    QObject::connect(widget, &toolbar::ZentribarWidget::freeAreaChanged, widget,
                     [this] { raise(FreeAreaChanged); });
    return widget;
}

QRectF ZentribarControl::FreeArea()
{
    const auto* w = static_cast<toolbar::ZentribarWidget*>(widget());
    const QRect free = w->freeArea();
    const double ux = container()->unitsPerPixelX();
    const double uy = container()->unitsPerPixelY();
    return {Left() + free.left() * ux, Top() + free.top() * uy, free.width() * ux,
            free.height() * uy};
}

void ZentribarControl::attach()
{
    // The events run under the form runtime's handler rules: an error stops
    // at the handler and never unwinds into the control.
    m_modifiedId = m_control->ConfigurationModified.connect(
        [this](int32_t change, com::Object bar, com::Object tool) {
            raise(ConfigurationModified, change, bar, tool);
        });
    m_clickId = m_control->ToolClick.connect([this](com::Object tool) {
        raise(ToolClick, tool);
    });
}

void ZentribarControl::detach()
{
    if (!m_control)
        return;
    m_control->ConfigurationModified.disconnect(m_modifiedId);
    m_control->ToolClick.disconnect(m_clickId);
    m_modifiedId = m_clickId = 0;
}

void ZentribarControl::resetState()
{
    detach();
    m_control.reset();
}
