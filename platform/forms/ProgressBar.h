#pragma once
// Progress bar: Value between Min and Max (380 outside, as the original).

#include "platform/forms/Control.h"

class QProgressBar;

namespace forms {

class ProgressBar final : public Control {
public:
    using Control::Control;

    float Min() const { return m_min; }
    void setMin(float v);   // 380 when not below Max
    float Max() const { return m_max; }
    void setMax(float v);   // 380 when not above Min
    float Value() const { return m_value; }
    void setValue(float v);

protected:
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override;

private:
    void show();
    float m_min = 0;
    float m_max = 100;
    float m_value = 0;
};

}  // namespace forms
