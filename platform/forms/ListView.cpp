#include "platform/forms/ListView.h"

#include "platform/forms/ImageList.h"
#include "platform/forms/ItemView.h"
#include "platform/runtime/Error.h"

#include <QHeaderView>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>

namespace forms {

namespace {

const QString kSource = QStringLiteral("ListView");

[[noreturn]] void notFound()
{
    rt::raise(35601, kSource, QStringLiteral("Element not found"));
}

[[noreturn]] void notUnique()
{
    rt::raise(35602, kSource, QStringLiteral("Key is not unique in collection"));
}

[[noreturn]] void outOfBounds()
{
    rt::raise(35600, kSource, QStringLiteral("Index out of bounds"));
}

Qt::Alignment alignmentOf(int16_t a)
{
    return Qt::AlignVCenter | (a == lvwColumnRight    ? Qt::AlignRight
                               : a == lvwColumnCenter ? Qt::AlignHCenter
                                                      : Qt::AlignLeft);
}

}  // namespace

namespace detail {

class ListViewItem final : public QTreeWidgetItem {
public:
    ListViewItem(ListView* view, ListItem* item)
        : QTreeWidgetItem(UserType), view(view), item(item)
    {
    }
    bool operator<(const QTreeWidgetItem& other) const override
    {
        return view->less(*this, other);
    }
    ListView* view;
    ListItem* item;
    bool checked = false;   // the last known check, to tell check changes from edits
};

}  // namespace detail

// ---- ColumnHeader -----------------------------------------------------------

QString ColumnHeader::Text() const
{
    QTreeWidget* t = m_view->tree();
    return t ? t->headerItem()->text(m_index - 1) : QString();
}

void ColumnHeader::setText(const QString& text)
{
    if (QTreeWidget* t = m_view->tree())
        t->headerItem()->setText(m_index - 1, text);
}

float ColumnHeader::Width() const
{
    QTreeWidget* t = m_view->tree();
    return t ? float(t->header()->sectionSize(m_index - 1) * 15) : 0.f;
}

void ColumnHeader::setWidth(float twips)
{
    if (QTreeWidget* t = m_view->tree())
        t->header()->resizeSection(m_index - 1, std::max(0, int(std::lround(twips / 15.0))));
}

void ColumnHeader::setAlignment(int16_t alignment)
{
    m_alignment = alignment;
    QTreeWidget* t = m_view->tree();
    if (!t)
        return;
    const int c = m_index - 1;
    t->headerItem()->setTextAlignment(c, alignmentOf(alignment));
    for (int i = 0; i < t->topLevelItemCount(); ++i)
        t->topLevelItem(i)->setTextAlignment(c, alignmentOf(alignment));
}

// ---- ColumnHeaderCollection --------------------------------------------------

ColumnHeader& ColumnHeaderCollection::Add(int32_t index, const QString& key,
                                          const QString& text, float width,
                                          int16_t alignment)
{
    ListView& v = *m_view;
    QTreeWidget* t = v.tree();
    if (!t)
        rt::raise(rt::errc::ObjectNotSet, kSource);
    if (index < 0 || size_t(index) > v.m_columns.size() + 1)
        outOfBounds();
    if (!key.isEmpty())
        for (const auto& c : v.m_columns)
            if (c->m_key == key)
                notUnique();
    const size_t at = index == 0 ? v.m_columns.size() : size_t(index - 1);
    // Columns hold the item text and sub-items by position; a column added
    // in the middle moves the later sub-items along, as the original's do.
    QStringList texts;
    for (const auto& c : v.m_columns)
        texts << t->headerItem()->text(c->m_index - 1);
    texts.insert(qsizetype(at), text);
    v.m_columns.insert(v.m_columns.begin() + ptrdiff_t(at),
                       std::unique_ptr<ColumnHeader>(new ColumnHeader(&v, key)));
    ColumnHeader& col = *v.m_columns[at];
    v.renumberColumns();
    t->setColumnCount(int(v.m_columns.size()));
    t->setHeaderLabels(texts);
    if (at + 1 < v.m_columns.size())
        for (int i = 0; i < t->topLevelItemCount(); ++i) {
            QTreeWidgetItem* it = t->topLevelItem(i);
            for (int c = int(v.m_columns.size()) - 1; c > int(at); --c)
                it->setText(c, it->text(c - 1));
            it->setText(int(at), at == 0 ? it->text(0) : QString());
        }
    if (width >= 0)
        col.setWidth(width);
    col.setAlignment(alignment);
    v.applyStyle();
    return col;
}

ColumnHeader& ColumnHeaderCollection::Item(const QString& key)
{
    m_view->tree();
    for (const auto& c : m_view->m_columns)
        if (!key.isEmpty() && c->m_key == key)
            return *c;
    notFound();
}

ColumnHeader& ColumnHeaderCollection::Item(int32_t index)
{
    m_view->tree();
    if (index < 1 || size_t(index) > m_view->m_columns.size())
        outOfBounds();
    return *m_view->m_columns[size_t(index - 1)];
}

void ColumnHeaderCollection::Remove(int32_t index)
{
    ListView& v = *m_view;
    QTreeWidget* t = v.tree();
    Item(index);
    const int c = index - 1;
    QStringList texts;
    for (const auto& h : v.m_columns)
        texts << t->headerItem()->text(h->m_index - 1);
    texts.removeAt(c);
    for (int i = 0; i < t->topLevelItemCount(); ++i) {
        QTreeWidgetItem* it = t->topLevelItem(i);
        for (int k = c; k + 1 < int(v.m_columns.size()); ++k)
            it->setText(k, it->text(k + 1));
    }
    v.m_columns.erase(v.m_columns.begin() + c);
    v.renumberColumns();
    t->setColumnCount(std::max(1, int(v.m_columns.size())));
    t->setHeaderLabels(texts);
}

void ColumnHeaderCollection::Clear()
{
    QTreeWidget* t = m_view->tree();
    m_view->m_columns.clear();
    if (t) {
        t->setColumnCount(1);
        t->setHeaderLabels({QString()});
    }
}

int32_t ColumnHeaderCollection::Count() const
{
    m_view->tree();
    return int32_t(m_view->m_columns.size());
}

// ---- ListItem ----------------------------------------------------------------

void ListItem::setKey(const QString& key)
{
    if (key == m_key)
        return;
    if (!key.isEmpty() && m_view->m_keys.contains(key))
        notUnique();
    if (!m_key.isEmpty())
        m_view->m_keys.remove(m_key);
    m_key = key;
    if (!m_key.isEmpty())
        m_view->m_keys.insert(m_key, this);
}

QString ListItem::Text() const
{
    return m_item->text(0);
}

void ListItem::setText(const QString& text)
{
    const QScopedValueRollback g(m_view->m_internal, true);
    m_item->setText(0, text);
}

QString ListItem::SubItems(int32_t index) const
{
    if (index < 1 || size_t(index) >= std::max<size_t>(1, m_view->m_columns.size()))
        rt::raise(380, kSource, QStringLiteral("Invalid property value"));
    return m_item->text(index);
}

void ListItem::setSubItems(int32_t index, const QString& text)
{
    if (index < 1 || size_t(index) >= std::max<size_t>(1, m_view->m_columns.size()))
        rt::raise(380, kSource, QStringLiteral("Invalid property value"));
    const QScopedValueRollback g(m_view->m_internal, true);
    m_item->setText(index, text);
}

void ListItem::setIcon(const rt::Variant& image)
{
    m_view->checkImage(m_view->m_icons, image);
    m_icon = image;
    applyIcon();
}

void ListItem::setSmallIcon(const rt::Variant& image)
{
    m_view->checkImage(m_view->m_smallIcons, image);
    m_smallIcon = image;
    applyIcon();
}

void ListItem::applyIcon()
{
    const QScopedValueRollback g(m_view->m_internal, true);
    m_item->setIcon(0, m_view->m_view == lvwIcon ? m_view->iconOf(m_view->m_icons, m_icon)
                                                 : m_view->iconOf(m_view->m_smallIcons,
                                                                  m_smallIcon));
}

bool ListItem::Selected() const
{
    return m_item->isSelected();
}

void ListItem::setSelected(bool on)
{
    QTreeWidget* t = m_view->tree();
    const QScopedValueRollback g(m_view->m_internal, true);
    if (on && !m_view->m_multiSelect)
        t->setCurrentItem(m_item);
    m_item->setSelected(on);
}

bool ListItem::Checked() const
{
    return m_item->checkState(0) == Qt::Checked;
}

void ListItem::setChecked(bool on)
{
    const QScopedValueRollback g(m_view->m_internal, true);
    m_item->checked = on;
    m_item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
}

int32_t ListItem::Index() const
{
    return m_view->tree()->indexOfTopLevelItem(m_item) + 1;
}

bool ListItem::EnsureVisible()
{
    m_view->tree()->scrollToItem(m_item);
    return true;
}

// ---- ListItemCollection --------------------------------------------------------

ListItem& ListItemCollection::Add(int32_t index, const QString& key, const QString& text,
                                  const rt::Variant& icon, const rt::Variant& smallIcon)
{
    ListView& v = *m_view;
    QTreeWidget* t = v.tree();
    if (!t)
        rt::raise(rt::errc::ObjectNotSet, kSource);
    if (index < 0 || index > t->topLevelItemCount() + 1)
        outOfBounds();
    if (!key.isEmpty() && v.m_keys.contains(key))
        notUnique();
    v.checkImage(v.m_icons, icon);
    v.checkImage(v.m_smallIcons, smallIcon);

    std::unique_ptr<ListItem> owned(new ListItem(&v, key));
    ListItem& item = *owned;
    item.m_item = new detail::ListViewItem(&v, &item);
    item.m_item->setText(0, text);
    for (const auto& c : v.m_columns)
        if (c->Alignment() != lvwColumnLeft)
            item.m_item->setTextAlignment(c->Index() - 1, alignmentOf(c->Alignment()));
    if (v.m_checkboxes) {
        item.m_item->setFlags(item.m_item->flags() | Qt::ItemIsUserCheckable);
        item.m_item->setCheckState(0, Qt::Unchecked);
    }
    if (v.m_labelEdit == 0)
        item.m_item->setFlags(item.m_item->flags() | Qt::ItemIsEditable);
    item.m_icon = icon;
    item.m_smallIcon = smallIcon;
    if (!icon.isEmpty() || !smallIcon.isEmpty())
        item.applyIcon();
    v.m_items.emplace(&item, std::move(owned));
    if (!key.isEmpty())
        v.m_keys.insert(key, &item);
    const QScopedValueRollback g(v.m_internal, true);
    const int at = v.m_sorted ? v.insertPlace(item.m_item)
                   : index == 0 ? t->topLevelItemCount()
                                : index - 1;
    t->insertTopLevelItem(at, item.m_item);
    return item;
}

ListItem& ListItemCollection::Item(const QString& key)
{
    m_view->tree();
    ListItem* i = key.isEmpty() ? nullptr : m_view->m_keys.value(key, nullptr);
    if (!i)
        notFound();
    return *i;
}

ListItem& ListItemCollection::Item(int32_t index)
{
    QTreeWidget* t = m_view->tree();
    if (!t || index < 1 || index > t->topLevelItemCount())
        outOfBounds();
    return *m_view->itemOf(t->topLevelItem(index - 1));
}

bool ListItemCollection::exists(const QString& key) const
{
    m_view->tree();
    return !key.isEmpty() && m_view->m_keys.contains(key);
}

void ListItemCollection::Remove(const QString& key)
{
    m_view->removeItem(Item(key));
}

void ListItemCollection::Remove(int32_t index)
{
    m_view->removeItem(Item(index));
}

void ListItemCollection::Clear()
{
    QTreeWidget* t = m_view->tree();
    if (!t)
        return;
    const QScopedValueRollback g(m_view->m_internal, true);
    t->clear();
    m_view->m_keys.clear();
    m_view->m_items.clear();
}

int32_t ListItemCollection::Count() const
{
    m_view->tree();
    return int32_t(m_view->m_items.size());
}

// ---- ListView ------------------------------------------------------------------

ListView::ListView(Container* parent, QString name) : Control(parent, std::move(name)) {}

ListView::~ListView() = default;

QWidget* ListView::createWidget(QWidget* parent)
{
    auto* t = new detail::ItemViewWidget<ListView>(this, parent);
    t->setColumnCount(1);
    t->setHeaderLabels({QString()});
    t->setRootIsDecorated(false);
    t->setUniformRowHeights(true);
    t->setSortingEnabled(false);
    t->header()->setSectionsClickable(true);
    t->header()->setSortIndicatorShown(false);
    QObject::connect(t->header(), &QHeaderView::sectionClicked, [this](int section) {
        if (section >= 0 && size_t(section) < m_columns.size())
            ColumnClick.fire(*m_columns[size_t(section)]);
    });
    QObject::connect(t, &QTreeWidget::currentItemChanged, [this](QTreeWidgetItem* cur) {
        if (!m_internal && !m_pressing && cur)
            if (ListItem* i = itemOf(cur))
                ItemClick.fire(*i);
    });
    QObject::connect(t, &QTreeWidget::itemChanged, [this](QTreeWidgetItem* it, int column) {
        auto* li = static_cast<detail::ListViewItem*>(it);
        if (m_internal || column != 0 || it->type() != QTreeWidgetItem::UserType)
            return;
        const bool now = it->checkState(0) == Qt::Checked;
        if (m_checkboxes && now != li->checked) {
            li->checked = now;
            ItemCheck.fire(*li->item);
        }
    });
    return t;
}

void ListView::resetState()
{
    m_columns.clear();
    m_items.clear();
    m_keys.clear();
    m_icons = nullptr;
    m_smallIcons = nullptr;
    m_view = lvwIcon;
    m_sorted = false;
    m_sortKey = 0;
    m_sortOrder = lvwAscending;
    m_multiSelect = false;
    m_checkboxes = false;
    m_hideSelection = true;
    m_labelEdit = 0;
    m_fullRowSelect = false;
    m_internal = false;
    m_pressing = false;
}

QTreeWidget* ListView::tree()
{
    auto* t = static_cast<QTreeWidget*>(widget());
    if (t && !t->property("bw_styled").toBool()) {
        t->setProperty("bw_styled", true);
        applyStyle();
    }
    return t;
}

ListItem* ListView::itemOf(QTreeWidgetItem* item) const
{
    if (!item || item->type() != QTreeWidgetItem::UserType)
        return nullptr;
    return static_cast<detail::ListViewItem*>(item)->item;
}

void ListView::renumberColumns()
{
    for (size_t i = 0; i < m_columns.size(); ++i)
        m_columns[i]->m_index = int32_t(i + 1);
}

bool ListView::less(const QTreeWidgetItem& a, const QTreeWidgetItem& b) const
{
    return QString::compare(a.text(m_sortKey), b.text(m_sortKey), Qt::CaseInsensitive) < 0;
}

int ListView::insertPlace(QTreeWidgetItem* item) const
{
    // After equal texts, so items of the same text keep the order of adding.
    auto* t = static_cast<QTreeWidget*>(existingWidget());
    int lo = 0;
    int hi = t->topLevelItemCount();
    const bool desc = m_sortOrder == lvwDescending;
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        const QTreeWidgetItem* m = t->topLevelItem(mid);
        if (desc ? less(*m, *item) : less(*item, *m))
            hi = mid;
        else
            lo = mid + 1;
    }
    return lo;
}

void ListView::sortNow()
{
    QTreeWidget* t = tree();
    if (!t)
        return;
    const QScopedValueRollback g(m_internal, true);
    t->invisibleRootItem()->sortChildren(
        m_sortKey, m_sortOrder == lvwDescending ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void ListView::removeItem(ListItem& item)
{
    QTreeWidgetItem* it = item.m_item;
    const QScopedValueRollback g(m_internal, true);
    if (!item.m_key.isEmpty())
        m_keys.remove(item.m_key);
    m_items.erase(&item);
    delete it;
}

void ListView::checkImage(forms::ImageList* list, const rt::Variant& image) const
{
    if (image.isEmpty())
        return;
    if (!list)
        rt::raise(35613, kSource,
                  QStringLiteral("ImageList must be initialized before it can be used"));
    if (image.isString())
        list->Item(image.toString());
    else
        list->Item(image.toLong());
}

QIcon ListView::iconOf(forms::ImageList* list, const rt::Variant& image) const
{
    if (image.isEmpty() || !list)
        return {};
    if (image.isString())
        return list->exists(image.toString()) ? list->icon(list->Item(image.toString()))
                                              : QIcon();
    const int32_t i = image.toLong();
    return i >= 1 && i <= list->Count() ? list->icon(list->Item(i)) : QIcon();
}

void ListView::setView(int16_t view)
{
    m_view = std::clamp<int16_t>(view, lvwIcon, lvwReport);
    applyStyle();
    for (auto& [p, i] : m_items)
        i->applyIcon();
}

void ListView::setIcons(forms::ImageList* list)
{
    tree();
    m_icons = list;
    applyStyle();
    for (auto& [p, i] : m_items)
        i->applyIcon();
}

void ListView::setSmallIcons(forms::ImageList* list)
{
    tree();
    m_smallIcons = list;
    applyStyle();
    for (auto& [p, i] : m_items)
        i->applyIcon();
}

ListItem* ListView::SelectedItem()
{
    QTreeWidget* t = tree();
    if (!t)
        return nullptr;
    QTreeWidgetItem* cur = t->currentItem();
    if (cur && cur->isSelected())
        return itemOf(cur);
    const QList<QTreeWidgetItem*> sel = t->selectedItems();
    return sel.isEmpty() ? nullptr : itemOf(sel.first());
}

void ListView::setSelectedItem(ListItem* item)
{
    QTreeWidget* t = tree();
    if (!t)
        return;
    const QScopedValueRollback g(m_internal, true);
    if (!item) {
        t->clearSelection();
        t->setCurrentItem(nullptr);
        return;
    }
    t->setCurrentItem(item->m_item);
    item->m_item->setSelected(true);
}

void ListView::setSorted(bool on)
{
    m_sorted = on;
    if (on)
        sortNow();
}

void ListView::setSortKey(int16_t key)
{
    m_sortKey = std::max<int16_t>(0, key);
    if (m_sorted)
        sortNow();
}

void ListView::setSortOrder(int16_t order)
{
    m_sortOrder = order == lvwDescending ? lvwDescending : lvwAscending;
    if (m_sorted)
        sortNow();
}

void ListView::setMultiSelect(bool on)
{
    m_multiSelect = on;
    applyStyle();
}

void ListView::setCheckboxes(bool on)
{
    QTreeWidget* t = tree();
    m_checkboxes = on;
    if (!t)
        return;
    const QScopedValueRollback g(m_internal, true);
    for (int i = 0; i < t->topLevelItemCount(); ++i) {
        QTreeWidgetItem* it = t->topLevelItem(i);
        if (on) {
            it->setFlags(it->flags() | Qt::ItemIsUserCheckable);
            it->setCheckState(0, static_cast<detail::ListViewItem*>(it)->checked
                                     ? Qt::Checked
                                     : Qt::Unchecked);
        } else {
            it->setFlags(it->flags() & ~Qt::ItemIsUserCheckable);
            it->setData(0, Qt::CheckStateRole, QVariant());
        }
    }
}

void ListView::setHideSelection(bool on)
{
    m_hideSelection = on;
    applyStyle();
}

void ListView::setLabelEdit(int16_t mode)
{
    m_labelEdit = mode;
    applyStyle();
}

void ListView::setFullRowSelect(bool on)
{
    m_fullRowSelect = on;
    applyStyle();
}

QSize ListView::pictureSize() const
{
    const forms::ImageList* list = m_view == lvwIcon ? m_icons : m_smallIcons;
    return list ? QSize(list->ImageWidth, list->ImageHeight) : QSize();
}

void ListView::applyStyle()
{
    auto* t = static_cast<QTreeWidget*>(existingWidget());
    if (!t)
        return;
    const bool report = m_view == lvwReport;
    t->setHeaderHidden(!report);
    for (int c = 1; c < t->columnCount(); ++c)
        t->setColumnHidden(c, !report);
    forms::ImageList* list = m_view == lvwIcon ? m_icons : m_smallIcons;
    const int side = m_view == lvwIcon ? 32 : 16;
    t->setIconSize(list && list->ImageWidth > 0 ? QSize(list->ImageWidth, list->ImageHeight)
                                                : QSize(side, side));
    t->setSelectionMode(m_multiSelect ? QAbstractItemView::ExtendedSelection
                                      : QAbstractItemView::SingleSelection);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setAllColumnsShowFocus(m_fullRowSelect);
    t->setEditTriggers(m_labelEdit == 0 ? QAbstractItemView::SelectedClicked |
                                              QAbstractItemView::EditKeyPressed
                                        : QAbstractItemView::NoEditTriggers);
    detail::applyHideSelection(*t, m_hideSelection);
}

ListItem* ListView::HitTest(float x, float y)
{
    QTreeWidget* t = tree();
    if (!t)
        return nullptr;
    const QPoint p(int(std::lround(x / mouseUnitsX())), int(std::lround(y / mouseUnitsY())));
    return itemOf(t->itemAt(p));
}

void ListView::userPressed(QTreeWidgetItem* item)
{
    if (ListItem* i = itemOf(item))
        ItemClick.fire(*i);
}

void ListView::clickItem(ListItem& item)
{
    QTreeWidget* t = tree();
    if (!t || !t->isEnabled())
        return;
    {
        const QScopedValueRollback g(m_internal, true);
        t->clearSelection();
        t->setCurrentItem(item.m_item);
        item.m_item->setSelected(true);
    }
    ItemClick.fire(item);
    Click.fire();
}

void ListView::doubleClickItem(ListItem& item)
{
    clickItem(item);
    DblClick.fire();
}

void ListView::clickColumn(int32_t index)
{
    QTreeWidget* t = tree();
    if (t && t->isEnabled() && index >= 1 && size_t(index) <= m_columns.size())
        ColumnClick.fire(*m_columns[size_t(index - 1)]);
}

void ListView::toggleCheck(ListItem& item)
{
    QTreeWidget* t = tree();
    if (!t || !t->isEnabled() || !m_checkboxes)
        return;
    // Goes through the widget as the user's click on the box does.
    item.m_item->setCheckState(0, item.Checked() ? Qt::Unchecked : Qt::Checked);
}

}  // namespace forms
