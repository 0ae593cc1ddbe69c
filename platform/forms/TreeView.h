#pragma once
// Tree view: keyed nodes (keys with case; a duplicate raises 35602, a missing
// one 35601) placed relative to other nodes, pictures from an ImageList by
// key or index, per-node and root sorting by text (without case). Setting
// SelectedItem selects without NodeClick, as the original; a user's click
// (or clickNode) raises NodeClick and Click. With OLEDragMode automatic a
// drag offers what OLEStartDrag puts into the data object (text as text).

#include "platform/forms/Control.h"
#include "platform/forms/DataObject.h"
#include "platform/runtime/Variant.h"

#include <QHash>

#include <unordered_map>
#include <vector>

class QTreeWidget;
class QTreeWidgetItem;

namespace forms {

class ImageList;
class TreeView;

namespace detail {
class TreeWidget;
class NodeItem;
template <class View>
class ItemViewWidget;
}  // namespace detail

// Relationship of Nodes.Add.
inline constexpr int16_t tvwFirst = 0;
inline constexpr int16_t tvwLast = 1;
inline constexpr int16_t tvwNext = 2;
inline constexpr int16_t tvwPrevious = 3;
inline constexpr int16_t tvwChild = 4;
// LineStyle.
inline constexpr int16_t tvwTreeLines = 0;
inline constexpr int16_t tvwRootLines = 1;
// Style: what a node shows.
inline constexpr int16_t tvwTextOnly = 0;
inline constexpr int16_t tvwPictureText = 1;
inline constexpr int16_t tvwPlusMinusText = 2;
inline constexpr int16_t tvwPlusPictureText = 3;
inline constexpr int16_t tvwTreelinesText = 4;
inline constexpr int16_t tvwTreelinesPictureText = 5;
inline constexpr int16_t tvwTreelinesPlusMinusText = 6;
inline constexpr int16_t tvwTreelinesPlusMinusPictureText = 7;
// LabelEdit (shared with the list view).
inline constexpr int16_t lvwAutomatic = 0;
inline constexpr int16_t lvwManual = 1;
inline constexpr int16_t tvwAutomatic = 0;
inline constexpr int16_t tvwManual = 1;

// One node; lives until it is removed, the nodes are cleared or the form unloads.
class Node final {
public:
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    const QString& Key() const { return m_key; }
    void setKey(const QString& key);   // 35602 when another node has it
    QString Text() const;
    void setText(const QString& text);
    const QString& Tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

    Node* Parent() const;
    // Moves the node (with its children) under another node; null makes it
    // a root node. 35614 when the new parent is the node or below it.
    void setParent(Node* parent);
    Node* Child() const;   // the first child
    int32_t Children() const;
    Node* Next() const;
    Node* Previous() const;
    Node* FirstSibling() const;
    Node* LastSibling() const;
    Node* Root() const;   // the root node of this node's branch
    int32_t Index() const;   // 1-based, in order of adding
    QString FullPath() const;                   // texts from the root, "\"-joined

    bool Expanded() const;
    void setExpanded(bool on);   // no Expand/Collapse event, as the original
    bool Selected() const;
    void setSelected(bool on);   // no NodeClick
    // Picture key (text) or index (number); Empty for none. A key the image
    // list lacks raises 35601; no image list at all raises 35613.
    const rt::Variant& Image() const { return m_image; }
    void setImage(const rt::Variant& image);
    const rt::Variant& SelectedImage() const { return m_selectedImage; }
    void setSelectedImage(const rt::Variant& image);
    // Children kept sorted by text; setting True sorts them now.
    bool Sorted() const { return m_sorted; }
    void setSorted(bool on);
    bool EnsureVisible();   // expands the ancestors and scrolls to the node
    forms::TreeView& TreeView() const { return *m_tree; }

private:
    friend class NodeCollection;
    friend class forms::TreeView;
    friend class detail::NodeItem;
    Node(forms::TreeView* tree, QString key) : m_tree(tree), m_key(std::move(key)) {}
    void applyIcon();

    forms::TreeView* m_tree;
    detail::NodeItem* m_item = nullptr;
    QString m_key;
    QString m_tag;
    rt::Variant m_image;
    rt::Variant m_selectedImage;
    int32_t m_index = 0;
    bool m_sorted = false;
};

// TreeView::Nodes: the nodes in order of adding (Item(1) is the first added).
class NodeCollection final {
public:
    explicit NodeCollection(forms::TreeView* tree) : m_tree(tree) {}

    // relative "": a root node (first for tvwFirst, else last). Under a
    // sorted parent (or a sorted tree, for roots) the node goes to its
    // place by text. Missing relative: 35601; duplicate key: 35602.
    Node& Add(const QString& relative = {}, int16_t relationship = tvwNext,
              const QString& key = {}, const QString& text = {},
              const rt::Variant& image = {}, const rt::Variant& selectedImage = {});
    Node& Item(const QString& key);   // 35601 when missing
    Node& Item(int32_t index);        // 35600 outside 1..Count
    Node& operator()(const QString& key) { return Item(key); }
    Node& operator()(int32_t index) { return Item(index); }
    bool exists(const QString& key) const;
    void Remove(const QString& key);   // with its children
    void Remove(int32_t index);
    void Clear();
    int32_t Count() const;

private:
    forms::TreeView* m_tree;
};

class TreeView final : public Control {
public:
    TreeView(Container* parent, QString name);
    ~TreeView() override;

    NodeCollection Nodes{this};

    forms::ImageList* ImageList() const { return m_imageList; }
    // Null detaches (nodes keep their picture keys but show none).
    void setImageList(forms::ImageList* list);
    Node* SelectedItem();
    void setSelectedItem(Node* node);   // selects; no NodeClick
    bool Sorted() const { return m_sorted; }
    void setSorted(bool on);            // root nodes by text; True sorts now
    int16_t LabelEdit() const { return m_labelEdit; }
    void setLabelEdit(int16_t mode);
    bool HideSelection() const { return m_hideSelection; }
    void setHideSelection(bool on);
    float Indentation();               // twips
    void setIndentation(float twips);
    int16_t LineStyle() const { return m_lineStyle; }
    void setLineStyle(int16_t style);
    int16_t Style() const { return m_style; }
    void setStyle(int16_t style);
    int16_t OLEDragMode() const { return m_dragMode; }
    void setOLEDragMode(int16_t mode);
    int16_t OLEDropMode() const { return m_dropMode; }
    void setOLEDropMode(int16_t mode);
    // The node whose picture or text is at a point of the control (the units
    // of its mouse events); none on an expand button or beside the text.
    Node* HitTest(float x, float y);

    // As the user would: select a node with the mouse (NodeClick, Click),
    // double-click it (then DblClick), or start a drag from the selected
    // node (returns the text offered; "" when OLEStartDrag allowed nothing).
    void clickNode(Node& node);
    void doubleClickNode(Node& node);
    QString startDrag();

    Event<Node&> NodeClick;
    Event<> Click;
    Event<> DblClick;
    Event<Node&> Expand;
    Event<Node&> Collapse;
    Event<DataObject&, int32_t&> OLEStartDrag;       // Data, AllowedEffects
    Event<int32_t&, bool&> OLEGiveFeedback;          // Effect, DefaultCursors
    Event<int32_t> OLECompleteDrag;                  // Effect
    // Data, Effect, Button, Shift, X, Y, State
    Event<DataObject&, int32_t&, int16_t, int16_t, float, float, int16_t> OLEDragOver;
    Event<DataObject&, int32_t&, int16_t, int16_t, float, float> OLEDragDrop;

protected:
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override;

private:
    friend class Node;
    friend class NodeCollection;
    friend class detail::TreeWidget;
    friend class detail::ItemViewWidget<TreeView>;
    QTreeWidget* tree();
    Node* nodeOf(QTreeWidgetItem* item) const;
    Node* find(const QString& key) const;
    void place(Node& node, Node* relative, int16_t relationship);
    void insertSorted(QTreeWidgetItem* parent, QTreeWidgetItem* item);
    bool isSorted(QTreeWidgetItem* parent) const;
    void forget(Node& node);   // the node and its subtree leave the indexes
    void removeNode(Node& node);
    void renumber();
    QIcon iconOf(const rt::Variant& image) const;
    QSize pictureSize() const;   // of the rows' pictures; empty when none show
    void checkImage(const rt::Variant& image) const;
    void applyStyle();
    // Events of the widget.
    void userPressed(QTreeWidgetItem* item);
    void tookFocus();
    DataObject runStartDrag(int32_t& effects);

    std::unordered_map<const Node*, std::unique_ptr<Node>> m_nodes;
    QHash<QString, Node*> m_keys;
    std::vector<Node*> m_order;
    bool m_orderDirty = false;
    forms::ImageList* m_imageList = nullptr;
    bool m_sorted = false;
    int16_t m_labelEdit = tvwAutomatic;
    bool m_hideSelection = true;
    int16_t m_lineStyle = tvwTreeLines;
    int16_t m_style = tvwTreelinesPlusMinusPictureText;
    int16_t m_dragMode = vbOLEDragManual;
    int16_t m_dropMode = vbOLEDropNone;
    float m_indentation = -1;   // -1: the widget's default
    bool m_internal = false;   // a programmatic change: no events
    bool m_pressing = false;   // a mouse press reports NodeClick itself
};

}  // namespace forms
