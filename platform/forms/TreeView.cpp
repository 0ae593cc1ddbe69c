#include "platform/forms/TreeView.h"

#include "platform/forms/ImageList.h"
#include "platform/forms/ItemView.h"
#include "platform/runtime/Error.h"

#include <QDrag>
#include <QFocusEvent>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QAbstractItemDelegate>
#include <QStyleOptionViewItem>
#include <QTreeWidget>

#include <algorithm>
#include <cmath>

namespace forms {

namespace {

const QString kSource = QStringLiteral("TreeView");

[[noreturn]] void notFound()
{
    rt::raise(35601, kSource, QStringLiteral("Element not found"));
}

[[noreturn]] void notUnique()
{
    rt::raise(35602, kSource, QStringLiteral("Key is not unique in collection"));
}

bool textLess(const QString& a, const QString& b)
{
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
}

}  // namespace

namespace detail {

// The Qt item of a node: knows its node and sorts by text without case.
class NodeItem final : public QTreeWidgetItem {
public:
    explicit NodeItem(Node* node) : QTreeWidgetItem(UserType), node(node) {}
    bool operator<(const QTreeWidgetItem& other) const override
    {
        return textLess(text(0), other.text(0));
    }
    Node* node;
};

// The widget: mouse events in viewport coordinates, drag start and drop.
class TreeWidget final : public ItemViewWidget<TreeView> {
public:
    using ItemViewWidget::ItemViewWidget;

    // The node's picture and text, where a press hits the node itself: not
    // its expand button, its indent, nor the empty rest of its row.
    bool onLabel(QTreeWidgetItem* item, QPoint at) const
    {
        const QModelIndex index = indexFromItem(item);
        const QRect row = visualRect(index);
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.rect = row;
        const int width = itemDelegateForIndex(index)->sizeHint(option, index).width();
        return row.contains(at) && at.x() < row.left() + width;
    }

protected:
    // Only a press on the node's own row selects; expanding does not.
    bool reportsPress(QTreeWidgetItem* hit) const override { return currentItem() == hit; }
    // A press selects for itself; any other way in selects the current node
    // when none is selected, so that the keys act on it at once.
    void focusInEvent(QFocusEvent* e) override
    {
        {
            const QScopedValueRollback quiet(m_owner->m_internal, true);
            QTreeWidget::focusInEvent(e);
        }
        if (e->reason() != Qt::MouseFocusReason)
            m_owner->tookFocus();
    }
    void startDrag(Qt::DropActions) override
    {
        int32_t effects = vbDropEffectNone;
        const DataObject data = m_owner->runStartDrag(effects);
        if (effects == vbDropEffectNone)
            return;
        auto* drag = new QDrag(this);
        drag->setMimeData(data.toMimeData().release());
        Qt::DropActions actions;
        if (effects & vbDropEffectCopy)
            actions |= Qt::CopyAction;
        if (effects & vbDropEffectMove)
            actions |= Qt::MoveAction;
        const Qt::DropAction done = drag->exec(actions, Qt::CopyAction);
        m_owner->OLECompleteDrag.fire(done == Qt::CopyAction   ? vbDropEffectCopy
                                      : done == Qt::MoveAction ? vbDropEffectMove
                                                               : vbDropEffectNone);
    }
    void dragEnterEvent(QDragEnterEvent* e) override { dragOver(e, vbEnter); }
    void dragMoveEvent(QDragMoveEvent* e) override { dragOver(e, vbOver); }
    void dropEvent(QDropEvent* e) override
    {
        if (m_owner->m_dropMode != vbOLEDropManual)
            return e->ignore();
        DataObject data = DataObject::fromMimeData(e->mimeData());
        int32_t effect = vbDropEffectCopy;
        const QPointF p = e->position();
        m_owner->OLEDragDrop.fire(data, effect, vbLeftButton, int16_t(0),
                                  float(p.x() * m_owner->mouseUnitsX()),
                                  float(p.y() * m_owner->mouseUnitsY()));
        e->setDropAction(effect & vbDropEffectMove ? Qt::MoveAction : Qt::CopyAction);
        e->accept();
    }

private:
    void dragOver(QDragMoveEvent* e, int16_t state)
    {
        if (m_owner->m_dropMode != vbOLEDropManual)
            return e->ignore();
        DataObject data = DataObject::fromMimeData(e->mimeData());
        int32_t effect = vbDropEffectCopy;
        const QPointF p = e->position();
        m_owner->OLEDragOver.fire(data, effect, vbLeftButton, int16_t(0),
                                  float(p.x() * m_owner->mouseUnitsX()),
                                  float(p.y() * m_owner->mouseUnitsY()), state);
        if (effect == vbDropEffectNone)
            return e->ignore();
        e->setDropAction(effect & vbDropEffectMove ? Qt::MoveAction : Qt::CopyAction);
        e->accept();
    }
};

}  // namespace detail

// ---- Node ------------------------------------------------------------------

void Node::setKey(const QString& key)
{
    if (key == m_key)
        return;
    if (!key.isEmpty() && m_tree->m_keys.contains(key))
        notUnique();
    if (!m_key.isEmpty())
        m_tree->m_keys.remove(m_key);
    m_key = key;
    if (!m_key.isEmpty())
        m_tree->m_keys.insert(m_key, this);
}

QString Node::Text() const
{
    return m_item->text(0);
}

void Node::setText(const QString& text)
{
    m_item->setText(0, text);
}

Node* Node::Parent() const
{
    return m_tree->nodeOf(m_item->parent());
}

void Node::setParent(Node* parent)
{
    for (Node* p = parent; p; p = p->Parent())
        if (p == this)
            rt::raise(35614, kSource, QStringLiteral("This would introduce a cycle"));
    if (parent == Parent())
        return;
    QTreeWidget* t = m_tree->tree();
    const bool wasCurrent = t->currentItem() == m_item;
    const QScopedValueRollback g(m_tree->m_internal, true);
    if (QTreeWidgetItem* old = m_item->parent())
        old->removeChild(m_item);
    else
        t->takeTopLevelItem(t->indexOfTopLevelItem(m_item));
    m_tree->place(*this, parent, parent ? tvwChild : tvwLast);
    if (wasCurrent)
        t->setCurrentItem(m_item);
}

Node* Node::Child() const
{
    return m_item->childCount() ? m_tree->nodeOf(m_item->child(0)) : nullptr;
}

int32_t Node::Children() const
{
    return m_item->childCount();
}

namespace {
QTreeWidgetItem* parentOrRoot(QTreeWidgetItem* item)
{
    return item->parent() ? item->parent() : item->treeWidget()->invisibleRootItem();
}
}  // namespace

Node* Node::Next() const
{
    QTreeWidgetItem* p = parentOrRoot(m_item);
    return m_tree->nodeOf(p->child(p->indexOfChild(m_item) + 1));
}

Node* Node::Previous() const
{
    QTreeWidgetItem* p = parentOrRoot(m_item);
    return m_tree->nodeOf(p->child(p->indexOfChild(m_item) - 1));
}

Node* Node::FirstSibling() const
{
    return m_tree->nodeOf(parentOrRoot(m_item)->child(0));
}

Node* Node::LastSibling() const
{
    QTreeWidgetItem* p = parentOrRoot(m_item);
    return m_tree->nodeOf(p->child(p->childCount() - 1));
}

Node* Node::Root() const
{
    QTreeWidgetItem* i = m_item;
    while (i->parent())
        i = i->parent();
    return m_tree->nodeOf(i);
}

int32_t Node::Index() const
{
    m_tree->renumber();
    return m_index;
}

QString Node::FullPath() const
{
    QString path = Text();
    for (Node* p = Parent(); p; p = p->Parent())
        path = p->Text() + QLatin1Char('\\') + path;
    return path;
}

bool Node::Expanded() const
{
    return m_item->isExpanded();
}

void Node::setExpanded(bool on)
{
    const QScopedValueRollback g(m_tree->m_internal, true);
    m_item->setExpanded(on);
}

bool Node::Selected() const
{
    return m_item->isSelected();
}

void Node::setSelected(bool on)
{
    if (on) {
        m_tree->setSelectedItem(this);
        return;
    }
    const QScopedValueRollback g(m_tree->m_internal, true);
    m_item->setSelected(false);
}

void Node::setImage(const rt::Variant& image)
{
    m_tree->checkImage(image);
    m_image = image;
    applyIcon();
}

void Node::setSelectedImage(const rt::Variant& image)
{
    m_tree->checkImage(image);
    m_selectedImage = image;
    applyIcon();
}

void Node::applyIcon()
{
    // Qt has one icon per item: the selected picture is shown in the
    // selected state through QIcon's modes.
    QIcon icon = m_tree->iconOf(m_image);
    if (!m_selectedImage.isEmpty()) {
        const QIcon sel = m_tree->iconOf(m_selectedImage);
        if (!sel.isNull()) {
            QIcon both = icon;
            for (const QSize& s : sel.availableSizes())
                both.addPixmap(sel.pixmap(s), QIcon::Selected);
            icon = both;
        }
    }
    m_item->setIcon(0, icon);
}

void Node::setSorted(bool on)
{
    m_sorted = on;
    if (on) {
        const QScopedValueRollback g(m_tree->m_internal, true);
        m_item->sortChildren(0, Qt::AscendingOrder);
    }
}

bool Node::EnsureVisible()
{
    const QScopedValueRollback g(m_tree->m_internal, true);
    for (QTreeWidgetItem* p = m_item->parent(); p; p = p->parent())
        p->setExpanded(true);
    m_tree->tree()->scrollToItem(m_item);
    return true;
}

// ---- NodeCollection ----------------------------------------------------------

Node& NodeCollection::Add(const QString& relative, int16_t relationship, const QString& key,
                          const QString& text, const rt::Variant& image,
                          const rt::Variant& selectedImage)
{
    TreeView& t = *m_tree;
    QTreeWidget* w = t.tree();
    if (!w)
        rt::raise(rt::errc::ObjectNotSet, kSource);
    if (relationship < tvwFirst || relationship > tvwChild)
        rt::raise(rt::errc::InvalidCall, kSource);
    Node* rel = nullptr;
    if (!relative.isEmpty() && !(rel = t.find(relative)))
        notFound();
    if (!key.isEmpty() && t.m_keys.contains(key))
        notUnique();
    t.checkImage(image);
    t.checkImage(selectedImage);

    std::unique_ptr<Node> owned(new Node(&t, key));
    Node& node = *owned;
    node.m_item = new detail::NodeItem(&node);
    node.m_item->setText(0, text);
    node.m_image = image;
    node.m_selectedImage = selectedImage;
    if (!image.isEmpty() || !selectedImage.isEmpty())
        node.applyIcon();
    t.m_nodes.emplace(&node, std::move(owned));
    if (!key.isEmpty())
        t.m_keys.insert(key, &node);
    t.m_order.push_back(&node);
    node.m_index = int32_t(t.m_order.size());
    const QScopedValueRollback g(t.m_internal, true);
    t.place(node, rel, rel ? relationship : relationship == tvwFirst ? tvwFirst : tvwLast);
    return node;
}

Node& NodeCollection::Item(const QString& key)
{
    m_tree->tree();
    Node* n = m_tree->find(key);
    if (!n)
        notFound();
    return *n;
}

Node& NodeCollection::Item(int32_t index)
{
    m_tree->tree();
    m_tree->renumber();
    if (index < 1 || size_t(index) > m_tree->m_order.size())
        rt::raise(35600, kSource, QStringLiteral("Index out of bounds"));
    return *m_tree->m_order[size_t(index - 1)];
}

bool NodeCollection::exists(const QString& key) const
{
    m_tree->tree();
    return m_tree->find(key) != nullptr;
}

void NodeCollection::Remove(const QString& key)
{
    m_tree->removeNode(Item(key));
}

void NodeCollection::Remove(int32_t index)
{
    m_tree->removeNode(Item(index));
}

void NodeCollection::Clear()
{
    QTreeWidget* w = m_tree->tree();
    if (!w)
        return;
    const QScopedValueRollback g(m_tree->m_internal, true);
    w->clear();
    m_tree->m_keys.clear();
    m_tree->m_order.clear();
    m_tree->m_nodes.clear();
}

int32_t NodeCollection::Count() const
{
    m_tree->tree();
    return int32_t(m_tree->m_nodes.size());
}

// ---- TreeView ----------------------------------------------------------------

TreeView::TreeView(Container* parent, QString name) : Control(parent, std::move(name)) {}

TreeView::~TreeView() = default;

QWidget* TreeView::createWidget(QWidget* parent)
{
    auto* t = new detail::TreeWidget(this, parent);
    t->setColumnCount(1);
    t->header()->hide();
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setUniformRowHeights(true);   // keeps big trees fast
    t->setSortingEnabled(false);
    QObject::connect(t, &QTreeWidget::currentItemChanged, [this](QTreeWidgetItem* cur) {
        // Keyboard moves select as clicks do; mouse presses report themselves.
        if (!m_internal && !m_pressing && cur)
            if (Node* n = nodeOf(cur))
                NodeClick.fire(*n);
    });
    QObject::connect(t, &QTreeWidget::itemExpanded, [this](QTreeWidgetItem* i) {
        if (!m_internal)
            if (Node* n = nodeOf(i))
                Expand.fire(*n);
    });
    QObject::connect(t, &QTreeWidget::itemCollapsed, [this](QTreeWidgetItem* i) {
        if (!m_internal)
            if (Node* n = nodeOf(i))
                Collapse.fire(*n);
    });
    return t;
}

void TreeView::resetState()
{
    m_nodes.clear();
    m_keys.clear();
    m_order.clear();
    m_orderDirty = false;
    m_imageList = nullptr;
    m_sorted = false;
    m_labelEdit = tvwAutomatic;
    m_hideSelection = true;
    m_lineStyle = tvwTreeLines;
    m_style = tvwTreelinesPlusMinusPictureText;
    m_dragMode = vbOLEDragManual;
    m_dropMode = vbOLEDropNone;
    m_indentation = -1;
    m_internal = false;
}

QTreeWidget* TreeView::tree()
{
    auto* t = static_cast<QTreeWidget*>(widget());
    if (t && !t->property("bw_styled").toBool()) {
        t->setProperty("bw_styled", true);
        applyStyle();
    }
    return t;
}

Node* TreeView::nodeOf(QTreeWidgetItem* item) const
{
    if (!item || item->type() != QTreeWidgetItem::UserType)
        return nullptr;
    return static_cast<detail::NodeItem*>(item)->node;
}

Node* TreeView::find(const QString& key) const
{
    return key.isEmpty() ? nullptr : m_keys.value(key, nullptr);
}

bool TreeView::isSorted(QTreeWidgetItem* parent) const
{
    if (Node* n = nodeOf(parent))
        return n->m_sorted;
    return m_sorted;
}

void TreeView::insertSorted(QTreeWidgetItem* parent, QTreeWidgetItem* item)
{
    // Binary search for the place after equal texts: adding n nodes costs
    // n log n comparisons, never a full re-sort.
    int lo = 0;
    int hi = parent->childCount();
    const QString text = item->text(0);
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (textLess(text, parent->child(mid)->text(0)))
            hi = mid;
        else
            lo = mid + 1;
    }
    parent->insertChild(lo, item);
}

void TreeView::place(Node& node, Node* rel, int16_t relationship)
{
    QTreeWidget* t = tree();
    QTreeWidgetItem* item = node.m_item;
    QTreeWidgetItem* parent = t->invisibleRootItem();
    int at = -1;   // -1: the end
    if (rel) {
        if (relationship == tvwChild) {
            parent = rel->m_item;
        } else {
            parent = parentOrRoot(rel->m_item);
            const int relAt = parent->indexOfChild(rel->m_item);
            at = relationship == tvwFirst      ? 0
                 : relationship == tvwLast     ? -1
                 : relationship == tvwNext     ? relAt + 1
                                               : relAt;
        }
    } else if (relationship == tvwFirst) {
        at = 0;
    }
    if (isSorted(parent))
        insertSorted(parent, item);
    else if (at < 0)
        parent->addChild(item);
    else
        parent->insertChild(at, item);
}

void TreeView::forget(Node& node)
{
    std::vector<QTreeWidgetItem*> stack{node.m_item};
    while (!stack.empty()) {
        QTreeWidgetItem* i = stack.back();
        stack.pop_back();
        for (int c = 0; c < i->childCount(); ++c)
            stack.push_back(i->child(c));
        Node* n = nodeOf(i);
        if (!n)
            continue;
        if (!n->m_key.isEmpty())
            m_keys.remove(n->m_key);
        m_nodes.erase(n);   // deletes it; the sweep below compares addresses only
    }
    std::erase_if(m_order, [this](Node* n) { return !m_nodes.count(n); });
    m_orderDirty = true;
}

void TreeView::removeNode(Node& node)
{
    QTreeWidgetItem* item = node.m_item;
    const QScopedValueRollback g(m_internal, true);
    forget(node);
    delete item;
}

void TreeView::renumber()
{
    if (!m_orderDirty)
        return;
    for (size_t i = 0; i < m_order.size(); ++i)
        m_order[i]->m_index = int32_t(i + 1);
    m_orderDirty = false;
}

void TreeView::checkImage(const rt::Variant& image) const
{
    if (image.isEmpty())
        return;
    if (!m_imageList)
        rt::raise(35613, kSource,
                  QStringLiteral("ImageList must be initialized before it can be used"));
    if (image.isString())
        m_imageList->Item(image.toString());   // raises 35601 when missing
    else
        m_imageList->Item(image.toLong());
}

QIcon TreeView::iconOf(const rt::Variant& image) const
{
    if (image.isEmpty() || !m_imageList || !(m_style & 1))
        return {};
    if (image.isString())
        return m_imageList->exists(image.toString())
                   ? m_imageList->icon(m_imageList->Item(image.toString()))
                   : QIcon();
    const int32_t i = image.toLong();
    return i >= 1 && i <= m_imageList->Count() ? m_imageList->icon(m_imageList->Item(i))
                                               : QIcon();
}

QSize TreeView::pictureSize() const
{
    if (!m_imageList || !(m_style & 1))
        return {};
    return QSize(m_imageList->ImageWidth, m_imageList->ImageHeight);
}

void TreeView::setImageList(forms::ImageList* list)
{
    QTreeWidget* t = tree();
    m_imageList = list;
    if (!t)
        return;
    if (list && list->ImageWidth > 0)
        t->setIconSize(QSize(list->ImageWidth, list->ImageHeight));
    for (auto& [p, n] : m_nodes)
        if (!n->m_image.isEmpty() || !n->m_selectedImage.isEmpty())
            n->applyIcon();
}

Node* TreeView::SelectedItem()
{
    QTreeWidget* t = tree();
    if (!t)
        return nullptr;
    QTreeWidgetItem* cur = t->currentItem();
    return cur && cur->isSelected() ? nodeOf(cur) : nullptr;
}

void TreeView::setSelectedItem(Node* node)
{
    QTreeWidget* t = tree();
    if (!t)
        return;
    const QScopedValueRollback g(m_internal, true);
    if (!node) {
        t->clearSelection();
        t->setCurrentItem(nullptr);
        return;
    }
    t->setCurrentItem(node->m_item);
    node->m_item->setSelected(true);
}

void TreeView::setSorted(bool on)
{
    QTreeWidget* t = tree();
    m_sorted = on;
    if (t && on) {
        const QScopedValueRollback g(m_internal, true);
        t->invisibleRootItem()->sortChildren(0, Qt::AscendingOrder);
    }
}

void TreeView::setLabelEdit(int16_t mode)
{
    m_labelEdit = mode;
    applyStyle();
}

void TreeView::setHideSelection(bool on)
{
    m_hideSelection = on;
    applyStyle();
}

float TreeView::Indentation()
{
    QTreeWidget* t = tree();
    return t ? float(t->indentation() * 15) : 0.f;
}

void TreeView::setIndentation(float twips)
{
    m_indentation = std::max(0.f, twips);
    applyStyle();
}

void TreeView::setLineStyle(int16_t style)
{
    m_lineStyle = style;
    applyStyle();
}

void TreeView::setStyle(int16_t style)
{
    const bool pictures = (m_style & 1) != (style & 1);
    m_style = std::clamp<int16_t>(style, tvwTextOnly, tvwTreelinesPlusMinusPictureText);
    applyStyle();
    if (pictures)
        for (auto& [p, n] : m_nodes)
            n->applyIcon();
}

void TreeView::setOLEDragMode(int16_t mode)
{
    m_dragMode = mode;
    applyStyle();
}

void TreeView::setOLEDropMode(int16_t mode)
{
    m_dropMode = mode;
    applyStyle();
}

void TreeView::applyStyle()
{
    auto* t = static_cast<QTreeWidget*>(existingWidget());
    if (!t)
        return;
    t->setRootIsDecorated(m_lineStyle == tvwRootLines);
    if (m_indentation >= 0)
        t->setIndentation(int(std::lround(m_indentation / 15.0)));
    t->setEditTriggers(m_labelEdit == tvwAutomatic ? QAbstractItemView::SelectedClicked |
                                                         QAbstractItemView::EditKeyPressed
                                                   : QAbstractItemView::NoEditTriggers);
    t->setDragEnabled(m_dragMode == vbOLEDragAutomatic);
    t->setAcceptDrops(m_dropMode == vbOLEDropManual);
    t->viewport()->setAcceptDrops(m_dropMode == vbOLEDropManual);
    t->setDragDropMode(m_dropMode == vbOLEDropManual ? QAbstractItemView::DragDrop
                       : m_dragMode == vbOLEDragAutomatic ? QAbstractItemView::DragOnly
                                                          : QAbstractItemView::NoDragDrop);
    detail::applyHideSelection(*t, m_hideSelection);
}

Node* TreeView::HitTest(float x, float y)
{
    QTreeWidget* t = tree();
    if (!t)
        return nullptr;
    const QPoint p(int(std::lround(x / mouseUnitsX())), int(std::lround(y / mouseUnitsY())));
    QTreeWidgetItem* item = t->itemAt(p);
    return item && static_cast<detail::TreeWidget*>(t)->onLabel(item, p) ? nodeOf(item) : nullptr;
}

void TreeView::userPressed(QTreeWidgetItem* item)
{
    if (Node* n = nodeOf(item))
        NodeClick.fire(*n);
}

void TreeView::tookFocus()
{
    QTreeWidget* t = tree();
    if (!t || SelectedItem())
        return;
    QTreeWidgetItem* item = t->currentItem() ? t->currentItem() : t->topLevelItem(0);
    Node* node = nodeOf(item);
    if (!node)
        return;
    {
        const QScopedValueRollback g(m_internal, true);
        t->setCurrentItem(item);
        item->setSelected(true);
    }
    NodeClick.fire(*node);
}

void TreeView::clickNode(Node& node)
{
    QTreeWidget* t = tree();
    if (!t || !t->isEnabled())
        return;
    {
        const QScopedValueRollback g(m_internal, true);
        t->setCurrentItem(node.m_item);
        node.m_item->setSelected(true);
    }
    NodeClick.fire(node);
    Click.fire();
}

void TreeView::doubleClickNode(Node& node)
{
    clickNode(node);
    DblClick.fire();
}

DataObject TreeView::runStartDrag(int32_t& effects)
{
    DataObject data;
    effects = vbDropEffectCopy | vbDropEffectMove;
    OLEStartDrag.fire(data, effects);
    if (!data.GetFormat(vbCFText))
        effects = vbDropEffectNone;
    return data;
}

QString TreeView::startDrag()
{
    if (!tree())
        return {};
    int32_t effects = vbDropEffectNone;
    const DataObject data = runStartDrag(effects);
    if (effects == vbDropEffectNone)
        return {};
    const QString text = data.GetData(vbCFText).toString();
    OLECompleteDrag.fire(vbDropEffectCopy);
    return text;
}

}  // namespace forms
