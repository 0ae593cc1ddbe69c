#pragma once
// Timer control: while its form is loaded, Enabled and Interval > 0, the
// Timer event fires every Interval milliseconds.

#include "platform/forms/Control.h"

class QTimer;

namespace forms {

class Timer final : public Control {
public:
    Timer(Container* parent, QString name);
    ~Timer() override;

    int32_t Interval();
    void setInterval(int32_t ms);   // 0 stops it
    bool Enabled();
    void setEnabled(bool on);

    Event<> TimerEvent;   // the Timer event

protected:
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override;

private:
    void apply();
    QPointer<QTimer> m_timer;
    int32_t m_interval = 0;
    bool m_enabled = true;
};

}  // namespace forms
