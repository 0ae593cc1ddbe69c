#include "platform/forms/Label.h"

#include "platform/forms/AccessKeys.h"
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>

namespace forms {

namespace {
class ClickLabel final : public QLabel {
public:
    ClickLabel(QWidget* parent, Event<>* click) : QLabel(parent), m_click(click) {}

protected:
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QLabel::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            m_click->fire();
    }

private:
    Event<>* m_click;
};

}  // namespace

QWidget* Label::createWidget(QWidget* parent)
{
    auto* l = new ClickLabel(parent, &Click);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setTextFormat(Qt::PlainText);
    l->setWordWrap(true);   // a label of a fixed size breaks its text at its width
    l->setBuddy(l);   // so "&" underlines its letter; the runtime runs the key
    return l;
}

void Label::resetState()
{
    m_caption.clear();
    m_alignment = 0;
    m_autoSize = false;
    m_wordWrap = false;
}

void Label::setCaption(const QString& caption)
{
    auto* l = static_cast<QLabel*>(widget());
    m_caption = caption;
    if (!l)
        return;
    l->setText(caption);
    if (m_autoSize)
        l->adjustSize();
}

void Label::setAlignment(int16_t alignment)
{
    auto* l = static_cast<QLabel*>(widget());
    m_alignment = alignment;
    if (l)
        l->setAlignment((alignment == 1   ? Qt::AlignRight
                         : alignment == 2 ? Qt::AlignHCenter
                                          : Qt::AlignLeft) |
                        Qt::AlignTop);
}

void Label::setAutoSize(bool on)
{
    auto* l = static_cast<QLabel*>(widget());
    m_autoSize = on;
    if (l)
        l->setWordWrap(m_wordWrap || !on);
    if (l && on)
        l->adjustSize();
}

void Label::setWordWrap(bool on)
{
    auto* l = static_cast<QLabel*>(widget());
    m_wordWrap = on;
    if (l)
        l->setWordWrap(on || !m_autoSize);
}

QWidget* Frame::createWidget(QWidget* parent)
{
    return new QGroupBox(parent);
}

QString Frame::Caption()
{
    auto* g = static_cast<QGroupBox*>(widget());
    return g ? g->title() : QString();
}

void Frame::setCaption(const QString& caption)
{
    if (auto* g = static_cast<QGroupBox*>(widget()))
        g->setTitle(caption);
}

void Label::pressAccessKey(QChar, bool)
{
    detail::focusNextAfter(widget());
}

void Frame::pressAccessKey(QChar, bool)
{
    detail::focusNextAfter(widget());
}

}  // namespace forms
