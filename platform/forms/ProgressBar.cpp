#include "platform/forms/ProgressBar.h"

#include "platform/runtime/Error.h"

#include <QProgressBar>

#include <cmath>

namespace forms {

namespace {
[[noreturn]] void invalid()
{
    rt::raise(380, QStringLiteral("ProgressBar"), QStringLiteral("Invalid property value"));
}
constexpr int kSteps = 10000;   // Qt's bar is integral; the values are not
}  // namespace

QWidget* ProgressBar::createWidget(QWidget* parent)
{
    auto* b = new QProgressBar(parent);
    b->setRange(0, kSteps);
    b->setTextVisible(false);
    return b;
}

void ProgressBar::resetState()
{
    m_min = 0;
    m_max = 100;
    m_value = 0;
}

void ProgressBar::show()
{
    if (auto* b = static_cast<QProgressBar*>(widget()))
        b->setValue(int(std::lround((m_value - m_min) / (m_max - m_min) * kSteps)));
}

void ProgressBar::setMin(float v)
{
    widget();
    if (v >= m_max)
        invalid();
    m_min = v;
    m_value = std::max(m_value, m_min);
    show();
}

void ProgressBar::setMax(float v)
{
    widget();
    if (v <= m_min)
        invalid();
    m_max = v;
    m_value = std::min(m_value, m_max);
    show();
}

void ProgressBar::setValue(float v)
{
    widget();
    if (v < m_min || v > m_max)
        invalid();
    m_value = v;
    show();
}

}  // namespace forms
