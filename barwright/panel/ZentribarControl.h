#pragma once
// A toolbar control placed on a form: the form runtime's wrapper around the
// stand-in control MqZentribar and its widget. The control object lives while
// its form is loaded (a fresh, empty one at each load, as a placed control
// is); ConfigurationModified is passed on as the form's event.

#include "platform/automation/Dispatch.h"
#include "platform/forms/Control.h"
#include "platform/toolbar/MqZentribar.h"

#include <QRectF>

#include <memory>

namespace toolbar {
class ZentribarWidget;
}

class ZentribarControl final : public forms::Control {
public:
    ZentribarControl(forms::Container* parent, QString name);
    ~ZentribarControl() override;

    // The control (loads the form).
    const std::shared_ptr<toolbar::MqZentribar>& control();
    // The same control for late-bound calls.
    com::Object object() { return com::Object(control()); }

    // What the docked toolbars leave of the control, in its container's
    // units; FreeAreaChanged follows every change of it.
    QRectF FreeArea();

    forms::Event<int32_t, com::Object, com::Object> ConfigurationModified;
    forms::Event<com::Object> ToolClick;
    forms::Event<> FreeAreaChanged;

protected:
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override;

private:
    void attach();
    void detach();

    std::shared_ptr<toolbar::MqZentribar> m_control;
    int32_t m_modifiedId = 0;
    int32_t m_clickId = 0;
};
