#include "platform/forms/Timer.h"

#include "platform/forms/Form.h"

#include <QTimer>

namespace forms {

Timer::Timer(Container* parent, QString name) : Control(parent, std::move(name)) {}

Timer::~Timer()
{
    delete m_timer.data();
}

QWidget* Timer::createWidget(QWidget* parent)
{
    m_timer = new QTimer(parent);
    QObject::connect(m_timer, &QTimer::timeout, [this] { TimerEvent.fire(); });
    apply();
    return nullptr;
}

void Timer::resetState()
{
    if (m_timer) {
        m_timer->stop();
        m_timer->blockSignals(true);
    }
    m_timer = nullptr;
    m_interval = 0;
    m_enabled = true;
}

void Timer::apply()
{
    if (!m_timer)
        return;
    if (m_enabled && m_interval > 0)
        m_timer->start(m_interval);
    else
        m_timer->stop();
}

int32_t Timer::Interval()
{
    form().ensureLoaded();
    return m_interval;
}

void Timer::setInterval(int32_t ms)
{
    form().ensureLoaded();
    m_interval = std::max(0, ms);
    apply();
}

bool Timer::Enabled()
{
    form().ensureLoaded();
    return m_enabled;
}

void Timer::setEnabled(bool on)
{
    form().ensureLoaded();
    m_enabled = on;
    apply();
}

}  // namespace forms
