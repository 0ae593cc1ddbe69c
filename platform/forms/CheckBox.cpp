#include "platform/forms/CheckBox.h"

#include "platform/runtime/Error.h"

#include <QCheckBox>
#include <QRadioButton>

namespace forms {

namespace {
// Cycles cleared/grayed -> checked -> cleared, as the original box does.
class TwoWayCheckBox final : public QCheckBox {
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override
    {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

int16_t valueOf(Qt::CheckState s)
{
    return s == Qt::Checked ? vbChecked : s == Qt::PartiallyChecked ? vbGrayed : vbUnchecked;
}
}  // namespace

QWidget* CheckBox::createWidget(QWidget* parent)
{
    auto* b = new TwoWayCheckBox(parent);
    QObject::connect(b, &QCheckBox::clicked, [this] { Click.fire(); });
    return b;
}

QString CheckBox::Caption()
{
    auto* b = static_cast<QCheckBox*>(widget());
    return b ? b->text() : QString();
}

void CheckBox::setCaption(const QString& caption)
{
    if (auto* b = static_cast<QCheckBox*>(widget()))
        b->setText(caption);
}

int16_t CheckBox::Value()
{
    auto* b = static_cast<QCheckBox*>(widget());
    return b ? valueOf(b->checkState()) : 0;
}

void CheckBox::setValue(int16_t value)
{
    if (value < 0 || value > 2)
        rt::raise(380, Name(), QStringLiteral("Invalid property value"));
    auto* b = static_cast<QCheckBox*>(widget());
    if (!b || valueOf(b->checkState()) == value)
        return;
    b->setCheckState(value == vbChecked   ? Qt::Checked
                     : value == vbGrayed ? Qt::PartiallyChecked
                                         : Qt::Unchecked);
    raise(Click);
}

void CheckBox::click()
{
    auto* b = static_cast<QCheckBox*>(widget());
    if (b && b->isEnabled() && !b->isHidden())
        b->click();
}

QWidget* OptionButton::createWidget(QWidget* parent)
{
    auto* b = new QRadioButton(parent);
    QObject::connect(b, &QRadioButton::clicked, [this] { Click.fire(); });
    return b;
}

QString OptionButton::Caption()
{
    auto* b = static_cast<QRadioButton*>(widget());
    return b ? b->text() : QString();
}

void OptionButton::setCaption(const QString& caption)
{
    if (auto* b = static_cast<QRadioButton*>(widget()))
        b->setText(caption);
}

bool OptionButton::Value()
{
    auto* b = static_cast<QRadioButton*>(widget());
    return b && b->isChecked();
}

void OptionButton::setValue(bool on)
{
    auto* b = static_cast<QRadioButton*>(widget());
    if (!b || b->isChecked() == on)
        return;
    b->setChecked(on);
    if (on)
        raise(Click);
}

void OptionButton::click()
{
    auto* b = static_cast<QRadioButton*>(widget());
    if (b && b->isEnabled() && !b->isHidden())
        b->click();
}

}  // namespace forms
