#include "platform/forms/TabStrip.h"

#include "platform/forms/AccessKeys.h"
#include "platform/forms/FocusMark.h"
#include "platform/forms/Form.h"
#include "platform/runtime/Error.h"

#include <QResizeEvent>
#include <QTabBar>

namespace forms {

namespace {
// The focus sits on the current tab and shows there.
class TabBar final : public QTabBar {
public:
    using QTabBar::QTabBar;

protected:
    void paintEvent(QPaintEvent* e) override
    {
        QTabBar::paintEvent(e);
        if (currentIndex() >= 0)
            detail::paintFocusMark(this, tabRect(currentIndex()).adjusted(3, 3, -4, -3));
    }
};

class TabWidget final : public QWidget {
public:
    explicit TabWidget(QWidget* parent) : QWidget(parent)
    {
        bar = new TabBar(this);
        bar->setDrawBase(true);
        setFocusProxy(bar);   // the focus sits on the current tab and shows there
    }
    QTabBar* bar;

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        QWidget::resizeEvent(e);
        bar->setGeometry(0, 0, width(), bar->sizeHint().height());
        for (QObject* o : children())
            if (auto* w = qobject_cast<QWidget*>(o); w && w != bar)
                w->setGeometry(rect());
        bar->raise();
    }
};
}  // namespace

Form& TabPage::form()
{
    return m_strip->form();
}

QWidget* TabPage::hostWidget()
{
    return m_strip->pageWidget(m_index);
}

QWidget* TabStrip::createWidget(QWidget* parent)
{
    auto* w = new TabWidget(parent);
    QObject::connect(w->bar, &QTabBar::currentChanged, [this](int index) {
        showPage(int16_t(index));
        if (m_internal)
            return;
        const int16_t prev = m_previous;
        m_previous = int16_t(index);
        Click.fire(prev);
    });
    return w;
}

QWidget* TabStrip::inputWidget()
{
    auto* w = static_cast<TabWidget*>(existingWidget());
    return w ? w->bar : nullptr;
}

QTabBar* TabStrip::bar()
{
    auto* w = static_cast<TabWidget*>(widget());
    return w ? w->bar : nullptr;
}

Container* TabStrip::page(int16_t index)
{
    while (int16_t(m_pages.size()) <= index)
        m_pages.emplace_back(this, int16_t(m_pages.size()));
    return &m_pages[size_t(index)];
}

QWidget* TabStrip::pageWidget(int16_t index)
{
    QWidget* w = widget();
    if (!w)
        return nullptr;
    const QString name = QStringLiteral("page%1").arg(index);
    auto* p = w->findChild<QWidget*>(name, Qt::FindDirectChildrenOnly);
    if (!p) {
        p = new QWidget(w);
        p->setObjectName(name);
        p->setGeometry(w->rect());
        p->setVisible(index == Tab());
        static_cast<TabWidget*>(w)->bar->raise();
    }
    return p;
}

void TabStrip::showPage(int16_t index)
{
    QWidget* w = existingWidget();
    if (!w)
        return;
    for (QObject* o : w->children())
        if (auto* p = qobject_cast<QWidget*>(o); p && p->objectName().startsWith(u"page"))
            p->setVisible(p->objectName() == QStringLiteral("page%1").arg(index));
}

int16_t TabStrip::Tab()
{
    QTabBar* b = bar();
    return b ? int16_t(std::max(0, b->currentIndex())) : 0;
}

void TabStrip::setTab(int16_t index)
{
    QTabBar* b = bar();
    if (!b)
        return;
    if (index < 0 || index >= b->count())
        rt::raise(380, Name(), QStringLiteral("Invalid property value"));
    if (index == b->currentIndex())
        return;
    const int16_t prev = int16_t(b->currentIndex());
    {
        m_internal = true;
        b->setCurrentIndex(index);
        m_internal = false;
    }
    m_previous = index;
    raise(Click, prev);
}

int16_t TabStrip::Tabs()
{
    QTabBar* b = bar();
    return b ? int16_t(b->count()) : 0;
}

void TabStrip::setTabs(int16_t count)
{
    QTabBar* b = bar();
    if (!b)
        return;
    m_internal = true;
    while (b->count() < count)
        b->addTab(QString());
    while (b->count() > count && count >= 1)
        b->removeTab(b->count() - 1);
    m_internal = false;
    showPage(Tab());
}

QString TabStrip::TabCaption(int16_t index)
{
    QTabBar* b = bar();
    return b ? b->tabText(index) : QString();
}

void TabStrip::setTabCaption(int16_t index, const QString& caption)
{
    if (Tabs() <= index)
        setTabs(int16_t(index + 1));
    if (QTabBar* b = bar())
        b->setTabText(index, caption);
}

bool TabStrip::TabEnabled(int16_t index)
{
    QTabBar* b = bar();
    return b && b->isTabEnabled(index);
}

void TabStrip::setTabEnabled(int16_t index, bool on)
{
    if (QTabBar* b = bar())
        b->setTabEnabled(index, on);
}

bool TabStrip::hasAccessKey(QChar key)
{
    return accessTab(key) >= 0;
}

void TabStrip::pressAccessKey(QChar key, bool)
{
    const int16_t tab = accessTab(key);
    if (tab < 0)
        return;
    // The tab bar takes the focus first: the Click handler may send it on.
    if (QTabBar* b = bar())
        b->setFocus(Qt::ShortcutFocusReason);
    setTab(tab);
}

int16_t TabStrip::accessTab(QChar key)
{
    QTabBar* b = bar();
    for (int i = 0; b && i < b->count(); ++i)
        if (b->isTabEnabled(i) && detail::accessKeyOf(b->tabText(i)) == key)
            return int16_t(i);
    return -1;
}

}  // namespace forms
