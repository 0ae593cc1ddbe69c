#include "platform/forms/ComboBox.h"

#include "platform/forms/ItemViewMouse.h"
#include "platform/runtime/Error.h"

#include <QAbstractItemView>
#include <QBasicTimer>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>

#include <algorithm>
#include <functional>

namespace forms {

namespace {
constexpr int kItemData = Qt::UserRole + 1;

void badIndex(const QString& name)
{
    rt::raise(rt::errc::InvalidCall, name);
}

// Sorted lists order texts without case, as the original.
int32_t sortedPlace(int32_t count, const std::function<QString(int32_t)>& textAt,
                    const QString& text)
{
    int32_t i = 0;
    while (i < count && QString::compare(textAt(i), text, Qt::CaseInsensitive) <= 0)
        ++i;
    return i;
}
}  // namespace

// ---- ComboBox --------------------------------------------------------------

QWidget* ComboBox::createWidget(QWidget* parent)
{
    auto* c = new QComboBox(parent);
    c->setEditable(m_style != vbComboDropdownList);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setCurrentIndex(-1);
    QObject::connect(c, &QComboBox::activated, [this] {
        if (!m_internal)
            Click.fire();
    });
    if (c->lineEdit())
        QObject::connect(c->lineEdit(), &QLineEdit::textChanged, [this] { raise(Change); });
    return c;
}

void ComboBox::resetState()
{
    m_sorted = false;
    m_newIndex = -1;
    m_internal = false;
}

QComboBox* ComboBox::box()
{
    return static_cast<QComboBox*>(widget());
}

void ComboBox::AddItem(const QString& text, int32_t index)
{
    QComboBox* c = box();
    if (!c)
        return;
    if (index < -1 || index > c->count())
        badIndex(Name());
    if (index == -1)
        index = m_sorted ? sortedPlace(c->count(), [c](int32_t i) { return c->itemText(i); },
                                       text)
                         : c->count();
    const QScopedValueRollback g(m_internal, true);
    const QString keep = c->isEditable() ? c->currentText() : QString();
    const int cur = c->currentIndex();
    c->insertItem(index, text);
    c->setItemData(index, 0, kItemData);
    // Qt selects the first item added to an empty box; the original does not.
    if (cur < 0 && c->currentIndex() >= 0) {
        c->setCurrentIndex(-1);
        if (c->isEditable())
            c->setEditText(keep);
    }
    m_newIndex = index;
}

void ComboBox::RemoveItem(int32_t index)
{
    QComboBox* c = box();
    if (!c || index < 0 || index >= c->count())
        badIndex(Name());
    const QScopedValueRollback g(m_internal, true);
    const bool wasCurrent = c->currentIndex() == index;
    const QString keep = c->isEditable() ? c->currentText() : QString();
    c->removeItem(index);
    if (wasCurrent) {
        c->setCurrentIndex(-1);
        if (c->isEditable())
            c->setEditText(keep);
    }
}

void ComboBox::Clear()
{
    QComboBox* c = box();
    if (!c)
        return;
    const QScopedValueRollback g(m_internal, true);
    c->clear();
    if (c->isEditable())
        c->setEditText(QString());
}

QString ComboBox::List(int32_t index)
{
    QComboBox* c = box();
    return c && index >= 0 && index < c->count() ? c->itemText(index) : QString();
}

void ComboBox::setList(int32_t index, const QString& text)
{
    QComboBox* c = box();
    if (!c || index < 0 || index >= c->count())
        badIndex(Name());
    c->setItemText(index, text);
}

int32_t ComboBox::ListCount()
{
    QComboBox* c = box();
    return c ? c->count() : 0;
}

int32_t ComboBox::ListIndex()
{
    QComboBox* c = box();
    if (!c)
        return -1;
    // Typing a text that is no entry leaves no current entry.
    if (c->isEditable() && c->currentIndex() >= 0 &&
        c->currentText() != c->itemText(c->currentIndex()))
        return -1;
    return c->currentIndex();
}

void ComboBox::setListIndex(int32_t index)
{
    QComboBox* c = box();
    if (!c)
        return;
    if (index < -1 || index >= c->count())
        rt::raise(380, Name(), QStringLiteral("Invalid property value"));
    const int32_t old = ListIndex();
    {
        const QScopedValueRollback g(m_internal, true);
        c->setCurrentIndex(index);
        if (index < 0 && c->isEditable())
            c->setEditText(QString());
    }
    if (old != index)
        raise(Click);
}

int32_t ComboBox::ItemData(int32_t index)
{
    QComboBox* c = box();
    if (!c || index < 0 || index >= c->count())
        badIndex(Name());
    return c->itemData(index, kItemData).toInt();
}

void ComboBox::setItemData(int32_t index, int32_t data)
{
    QComboBox* c = box();
    if (!c || index < 0 || index >= c->count())
        badIndex(Name());
    c->setItemData(index, data, kItemData);
}

void ComboBox::setSorted(bool on)
{
    QComboBox* c = box();
    m_sorted = on;
    if (!c || !on)
        return;
    const QScopedValueRollback g(m_internal, true);
    const QString cur = c->currentIndex() >= 0 ? c->currentText() : QString();
    c->model()->sort(0);
    if (!cur.isEmpty())
        c->setCurrentIndex(c->findText(cur));
}

bool ComboBox::Locked()
{
    QComboBox* c = box();
    return c && c->lineEdit() && c->lineEdit()->isReadOnly();
}

void ComboBox::setLocked(bool on)
{
    QComboBox* c = box();
    if (c && c->lineEdit())
        c->lineEdit()->setReadOnly(on);
}

QString ComboBox::Text()
{
    QComboBox* c = box();
    if (!c)
        return {};
    if (c->isEditable())
        return c->currentText();
    return c->currentIndex() >= 0 ? c->currentText() : QString();
}

void ComboBox::setText(const QString& text)
{
    QComboBox* c = box();
    if (!c)
        return;
    if (c->isEditable()) {
        c->setEditText(text);
        return;
    }
    const int i = c->findText(text, Qt::MatchFixedString);
    if (i < 0)
        rt::raise(383, Name(), QStringLiteral("'Text' property is read-only"));
    setListIndex(i);
}

int32_t ComboBox::SelStart()
{
    QComboBox* c = box();
    if (!c || !c->lineEdit())
        return 0;
    QLineEdit* e = c->lineEdit();
    return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

void ComboBox::setSelStart(int32_t start)
{
    QComboBox* c = box();
    if (c && c->lineEdit()) {
        c->lineEdit()->deselect();
        c->lineEdit()->setCursorPosition(
            std::clamp<int32_t>(start, 0, int32_t(c->currentText().size())));
    }
}

int32_t ComboBox::SelLength()
{
    QComboBox* c = box();
    return c && c->lineEdit() ? int32_t(c->lineEdit()->selectedText().size()) : 0;
}

void ComboBox::setSelLength(int32_t length)
{
    QComboBox* c = box();
    if (!c || !c->lineEdit())
        return;
    const int32_t start = SelStart();
    const int32_t len = int32_t(c->currentText().size());
    c->lineEdit()->setSelection(start, std::clamp(length, 0, len - start));
}

void ComboBox::choose(int32_t index)
{
    QComboBox* c = box();
    if (!c || !c->isEnabled() || index < 0 || index >= c->count())
        return;
    {
        const QScopedValueRollback g(m_internal, true);
        c->setCurrentIndex(index);
    }
    Click.fire();
}

// ---- ListBox ---------------------------------------------------------------

namespace {
// Entries all have one line of text in one font, so the view lays them out
// with one size: a list of thousands then costs nothing per entry added (a
// view that measures every entry re-measures them all after each addition).
// That one size is measured on the widest text the list has held, so the
// horizontal scroll range still reaches the end of the longest entry.
class ListBoxDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Asked at each layout, that is after each entry added.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!m_size.isValid()) {   // a font change forgets it (changeEvent)
            const QScopedValueRollback g(m_measuring, true);
            m_size = QStyledItemDelegate::sizeHint(option, index);
        }
        return m_size;
    }

    void note(const QString& text, const QFontMetrics& metrics)
    {
        const int width = metrics.horizontalAdvance(text);
        if (width <= m_widestWidth)
            return;
        m_widestWidth = width;
        m_widest = text;
        m_size = QSize();
    }
    void forget()
    {
        m_widest.clear();
        m_widestWidth = -1;
        m_size = QSize();
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (m_measuring)
            option->text = m_widest;
    }

private:
    QString m_widest;
    int m_widestWidth = -1;
    mutable bool m_measuring = false;
    mutable QSize m_size;
};

// Clicks arrive at the list's viewport, which the control's input filter on
// the list never sees, so the list reports its mouse events itself. As the
// original: MouseDown before the press selects (Click), MouseUp after the
// release has toggled a check box (ItemCheck, Click).
class ListBoxWidget final : public QListWidget {
public:
    ListBoxWidget(ListBox* owner, QWidget* parent)
        : QListWidget(parent), m_owner(owner), m_delegate(new ListBoxDelegate(this))
    {
        setItemDelegate(m_delegate);
        setUniformItemSizes(true);
    }

    // Makes the row current and brings it into view a moment later, once:
    // code that checks a whole list must not scroll (and on a real display
    // ask the server for the pointer) at every entry.
    void makeCurrent(int row)
    {
        const bool autoScroll = hasAutoScroll();
        setAutoScroll(false);
        setCurrentRow(row);
        setAutoScroll(autoScroll);
        if (!m_scrollLater.isActive())
            m_scrollLater.start(kScrollLaterMs, this);
    }

    // After an entry's text was set (the view lays itself out again then).
    void noteText(const QString& text) { m_delegate->note(text, fontMetrics()); }
    void forgetTexts() { m_delegate->forget(); }

protected:
    // A check changes no entry's size: the list view would lay out the whole
    // list again for it, once per check of a Check All.
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles) override
    {
        if (roles == QList<int>{Qt::CheckStateRole})
            QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
        else
            QListWidget::dataChanged(topLeft, bottomRight, roles);
    }
    void timerEvent(QTimerEvent* e) override
    {
        if (e->timerId() != m_scrollLater.timerId()) {
            QListWidget::timerEvent(e);
            return;
        }
        m_scrollLater.stop();
        if (QListWidgetItem* current = currentItem())
            scrollToItem(current);
    }
    void changeEvent(QEvent* e) override
    {
        QListWidget::changeEvent(e);
        if (e->type() == QEvent::FontChange) {
            m_delegate->forget();
            for (int i = 0; i < count(); ++i)
                m_delegate->note(item(i)->text(), fontMetrics());
            scheduleDelayedItemsLayout();
        }
    }
    void mousePressEvent(QMouseEvent* e) override
    {
        fire(m_owner->MouseDown, e, e->button());
        QListWidget::mousePressEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QListWidget::mouseReleaseEvent(e);
        fire(m_owner->MouseUp, e, e->button());
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        fire(m_owner->MouseMove, e, e->buttons());
        QListWidget::mouseMoveEvent(e);
    }

private:
    void fire(const Event<int16_t, int16_t, float, float>& ev, const QMouseEvent* e,
              Qt::MouseButtons buttons) const
    {
        Container* c = m_owner->container();
        detail::fireMouse(ev, e, buttons, c->unitsPerPixelX(), c->unitsPerPixelY());
    }

    static constexpr int kScrollLaterMs = 40;

    ListBox* m_owner;
    ListBoxDelegate* m_delegate;
    QBasicTimer m_scrollLater;
};

ListBoxWidget* listBoxWidget(QListWidget* l)
{
    return static_cast<ListBoxWidget*>(l);
}
}  // namespace

QWidget* ListBox::createWidget(QWidget* parent)
{
    auto* l = new ListBoxWidget(this, parent);
    l->setSelectionMode(m_style == vbListBoxCheckbox ? QAbstractItemView::SingleSelection
                        : m_multiSelect == vbMultiSelectSimple
                            ? QAbstractItemView::MultiSelection
                        : m_multiSelect == vbMultiSelectExtended
                            ? QAbstractItemView::ExtendedSelection
                            : QAbstractItemView::SingleSelection);
    QObject::connect(l, &QListWidget::currentRowChanged, [this] {
        if (!m_internal)
            Click.fire();
    });
    QObject::connect(l, &QListWidget::itemChanged, [this, l](QListWidgetItem* item) {
        if (m_internal || m_style != vbListBoxCheckbox)
            return;
        ItemCheck.fire(int16_t(l->row(item)));
        Click.fire();
    });
    QObject::connect(l, &QListWidget::itemDoubleClicked, [this] { DblClick.fire(); });
    return l;
}

void ListBox::resetState()
{
    m_sorted = false;
    m_newIndex = -1;
    m_internal = false;
}

QListWidget* ListBox::list()
{
    return static_cast<QListWidget*>(widget());
}

int32_t ListBox::insertPlace(const QString& text)
{
    QListWidget* l = list();
    return sortedPlace(l->count(), [l](int32_t i) { return l->item(i)->text(); }, text);
}

void ListBox::AddItem(const QString& text, int32_t index)
{
    QListWidget* l = list();
    if (!l)
        return;
    if (index < -1 || index > l->count())
        badIndex(Name());
    if (index == -1)
        index = m_sorted ? insertPlace(text) : l->count();
    const QScopedValueRollback g(m_internal, true);
    auto* item = new QListWidgetItem(text);
    item->setData(kItemData, 0);
    if (m_style == vbListBoxCheckbox) {
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    l->insertItem(index, item);
    listBoxWidget(l)->noteText(text);
    m_newIndex = index;
}

void ListBox::RemoveItem(int32_t index)
{
    QListWidget* l = list();
    if (!l || index < 0 || index >= l->count())
        badIndex(Name());
    const QScopedValueRollback g(m_internal, true);
    const bool wasCurrent = l->currentRow() == index;
    delete l->takeItem(index);
    if (wasCurrent)
        l->setCurrentRow(-1);
}

void ListBox::Clear()
{
    if (QListWidget* l = list()) {
        const QScopedValueRollback g(m_internal, true);
        l->clear();
        listBoxWidget(l)->forgetTexts();
    }
}

QString ListBox::List(int32_t index)
{
    QListWidget* l = list();
    return l && index >= 0 && index < l->count() ? l->item(index)->text() : QString();
}

void ListBox::setList(int32_t index, const QString& text)
{
    QListWidget* l = list();
    if (!l || index < 0 || index >= l->count())
        badIndex(Name());
    const QScopedValueRollback g(m_internal, true);
    l->item(index)->setText(text);
    listBoxWidget(l)->noteText(text);
}

int32_t ListBox::ListCount()
{
    QListWidget* l = list();
    return l ? l->count() : 0;
}

int32_t ListBox::ListIndex()
{
    QListWidget* l = list();
    return l ? l->currentRow() : -1;
}

void ListBox::setListIndex(int32_t index)
{
    QListWidget* l = list();
    if (!l)
        return;
    if (index < -1 || index >= l->count())
        rt::raise(380, Name(), QStringLiteral("Invalid property value"));
    if (l->currentRow() == index)
        return;
    {
        const QScopedValueRollback g(m_internal, true);
        if (index < 0) {
            l->setCurrentRow(-1);
            l->clearSelection();
        } else {
            l->setCurrentRow(index);
        }
    }
    raise(Click);
}

int32_t ListBox::ItemData(int32_t index)
{
    QListWidget* l = list();
    if (!l || index < 0 || index >= l->count())
        badIndex(Name());
    return l->item(index)->data(kItemData).toInt();
}

void ListBox::setItemData(int32_t index, int32_t data)
{
    QListWidget* l = list();
    if (!l || index < 0 || index >= l->count())
        badIndex(Name());
    const QScopedValueRollback g(m_internal, true);
    l->item(index)->setData(kItemData, data);
}

bool ListBox::Selected(int32_t index)
{
    QListWidget* l = list();
    if (!l || index < 0 || index >= l->count())
        badIndex(Name());
    QListWidgetItem* item = l->item(index);
    return m_style == vbListBoxCheckbox ? item->checkState() == Qt::Checked
                                        : item->isSelected();
}

void ListBox::setSelected(int32_t index, bool on)
{
    QListWidget* l = list();
    if (!l || index < 0 || index >= l->count())
        badIndex(Name());
    QListWidgetItem* item = l->item(index);
    if (m_style == vbListBoxCheckbox) {
        // As the original: the entry also becomes the current one, and every
        // change of a check by code raises ItemCheck and then Click, as a
        // change by hand does.
        if ((item->checkState() == Qt::Checked) == on)
            return;
        {
            const QScopedValueRollback g(m_internal, true);
            listBoxWidget(l)->makeCurrent(index);
            item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
        }
        raise(ItemCheck, int16_t(index));
        raise(Click);
        return;
    }
    if (item->isSelected() == on)
        return;
    {
        const QScopedValueRollback g(m_internal, true);
        if (m_multiSelect == vbMultiSelectNone) {
            l->setCurrentRow(on ? index : -1);
            if (!on)
                l->clearSelection();
        } else {
            item->setSelected(on);
            if (on)
                l->setCurrentRow(index, QItemSelectionModel::NoUpdate);
        }
    }
    raise(Click);
}

int32_t ListBox::SelCount()
{
    QListWidget* l = list();
    if (!l)
        return 0;
    int32_t n = 0;
    for (int i = 0; i < l->count(); ++i)
        n += Selected(i) ? 1 : 0;
    return n;
}

int32_t ListBox::TopIndex()
{
    QListWidget* l = list();
    if (!l || l->count() == 0)
        return 0;
    const QModelIndex top = l->indexAt(QPoint(2, 2));
    return top.isValid() ? top.row() : 0;
}

void ListBox::setTopIndex(int32_t index)
{
    QListWidget* l = list();
    if (l && index >= 0 && index < l->count())
        l->scrollToItem(l->item(index), QAbstractItemView::PositionAtTop);
}

void ListBox::setSorted(bool on)
{
    QListWidget* l = list();
    m_sorted = on;
    if (l && on) {
        const QScopedValueRollback g(m_internal, true);
        l->sortItems();
    }
}

QString ListBox::Text()
{
    QListWidget* l = list();
    return l && l->currentItem() ? l->currentItem()->text() : QString();
}

void ListBox::clickItem(int32_t index)
{
    QListWidget* l = list();
    if (!l || !l->isEnabled() || index < 0 || index >= l->count())
        return;
    {
        const QScopedValueRollback g(m_internal, true);
        l->setCurrentRow(index);
    }
    Click.fire();
}

void ListBox::toggleCheck(int32_t index)
{
    QListWidget* l = list();
    if (!l || !l->isEnabled() || index < 0 || index >= l->count() ||
        m_style != vbListBoxCheckbox)
        return;
    QListWidgetItem* item = l->item(index);
    {
        const QScopedValueRollback g(m_internal, true);
        l->setCurrentRow(index);
        item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    }
    ItemCheck.fire(int16_t(index));
    Click.fire();
}

void ListBox::doubleClickItem(int32_t index)
{
    clickItem(index);
    DblClick.fire();
}

}  // namespace forms
