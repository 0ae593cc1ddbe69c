#include "platform/forms/CheckBox.h"

#include "platform/runtime/Error.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace forms {

namespace {
// A caption wider than the box wraps onto the lines its height holds, beside
// the indicator, as the original draws it; one that fits draws as Qt does.
template <class Button, QStyle::ControlElement Element, QStyle::SubElement Contents>
class WrappingButton : public Button {
public:
    using Button::Button;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QStyleOptionButton opt;
        this->initStyleOption(&opt);
        const QRect text = this->style()->subElementRect(Contents, &opt, this);
        static const QRegularExpression accessMark(QStringLiteral("&(?!&)"));
        QString plain = this->text();
        plain.remove(accessMark);
        if (this->fontMetrics().horizontalAdvance(plain) <= text.width()) {
            Button::paintEvent(e);
            return;
        }
        QStylePainter p(this);
        opt.text.clear();
        p.drawControl(Element, opt);
        p.drawItemText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap
                                 | Qt::TextShowMnemonic,
                       opt.palette, this->isEnabled(), this->text(), QPalette::WindowText);
    }
};

using WrappingCheckBox =
    WrappingButton<QCheckBox, QStyle::CE_CheckBox, QStyle::SE_CheckBoxContents>;

// Cycles cleared/grayed -> checked -> cleared, as the original box does.
class TwoWayCheckBox final : public WrappingCheckBox {
public:
    using WrappingCheckBox::WrappingCheckBox;

protected:
    void nextCheckState() override
    {
        setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
};

using WrappingOptionButton =
    WrappingButton<QRadioButton, QStyle::CE_RadioButton, QStyle::SE_RadioButtonContents>;

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
    auto* b = new WrappingOptionButton(parent);
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
