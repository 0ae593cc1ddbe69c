#pragma once
// List view: keyed items (keys with case; a duplicate raises 35602, a missing
// one 35601) with sub-item texts under column headers, icons from two image
// lists, sorting by the item text or a sub-item (text order without case),
// check boxes and multiple selection. Report view shows the columns; the
// icon, small icon and list views show one column of pictures and texts.
// Setting Selected, Checked or SelectedItem raises no event; user-like
// clicks (clickItem, clickColumn, toggleCheck) do, as a user's would.

#include "platform/forms/Control.h"
#include "platform/runtime/Variant.h"

#include <QHash>

#include <deque>
#include <memory>
#include <unordered_map>

class QTreeWidget;
class QTreeWidgetItem;

namespace forms {

class ImageList;
class ListView;

namespace detail {
class ListViewItem;
template <class View>
class ItemViewWidget;
}  // namespace detail

inline constexpr int16_t lvwIcon = 0;
inline constexpr int16_t lvwSmallIcon = 1;
inline constexpr int16_t lvwList = 2;
inline constexpr int16_t lvwReport = 3;
inline constexpr int16_t lvwAscending = 0;
inline constexpr int16_t lvwDescending = 1;
inline constexpr int16_t lvwColumnLeft = 0;
inline constexpr int16_t lvwColumnRight = 1;
inline constexpr int16_t lvwColumnCenter = 2;

class ColumnHeader final {
public:
    const QString& Key() const { return m_key; }
    QString Text() const;
    void setText(const QString& text);
    float Width() const;   // twips
    void setWidth(float twips);
    int16_t Alignment() const { return m_alignment; }
    void setAlignment(int16_t alignment);
    int32_t Index() const { return m_index; }   // 1-based
    // The sub-item this column shows (0: the item text).
    int32_t SubItemIndex() const { return m_index - 1; }
    const QString& Tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }

private:
    friend class ColumnHeaderCollection;
    friend class ListView;
    ColumnHeader(ListView* view, QString key) : m_view(view), m_key(std::move(key)) {}
    ListView* m_view;
    QString m_key;
    QString m_tag;
    int16_t m_alignment = lvwColumnLeft;
    int32_t m_index = 0;
};

class ColumnHeaderCollection final {
public:
    explicit ColumnHeaderCollection(ListView* view) : m_view(view) {}
    // index 0 appends; width below 0 keeps the default.
    ColumnHeader& Add(int32_t index = 0, const QString& key = {}, const QString& text = {},
                      float width = -1, int16_t alignment = lvwColumnLeft);
    ColumnHeader& Item(const QString& key);   // 35601 when missing
    ColumnHeader& Item(int32_t index);        // 35600 outside 1..Count
    void Remove(int32_t index);
    void Clear();
    int32_t Count() const;

private:
    ListView* m_view;
};

class ListItem final {
public:
    ListItem(const ListItem&) = delete;
    ListItem& operator=(const ListItem&) = delete;

    const QString& Key() const { return m_key; }
    void setKey(const QString& key);   // 35602 when another item has it
    QString Text() const;
    void setText(const QString& text);
    // Sub-item i (1 .. columns - 1); 380 outside.
    QString SubItems(int32_t index) const;
    void setSubItems(int32_t index, const QString& text);
    const rt::Variant& Icon() const { return m_icon; }
    void setIcon(const rt::Variant& image);        // a key or index of Icons
    const rt::Variant& SmallIcon() const { return m_smallIcon; }
    void setSmallIcon(const rt::Variant& image);   // of SmallIcons
    const QString& Tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }
    bool Selected() const;
    void setSelected(bool on);   // no event
    bool Checked() const;
    void setChecked(bool on);    // no event
    int32_t Index() const;       // 1-based position in the current order
    bool EnsureVisible();
    forms::ListView& ListView() const { return *m_view; }

private:
    friend class ListItemCollection;
    friend class forms::ListView;
    ListItem(forms::ListView* view, QString key) : m_view(view), m_key(std::move(key)) {}
    void applyIcon();

    forms::ListView* m_view;
    detail::ListViewItem* m_item = nullptr;
    QString m_key;
    QString m_tag;
    rt::Variant m_icon;
    rt::Variant m_smallIcon;
};

class ListItemCollection final {
public:
    explicit ListItemCollection(forms::ListView* view) : m_view(view) {}
    // index 0 appends (a sorted list puts the item at its place).
    ListItem& Add(int32_t index = 0, const QString& key = {}, const QString& text = {},
                  const rt::Variant& icon = {}, const rt::Variant& smallIcon = {});
    ListItem& Item(const QString& key);   // 35601 when missing
    ListItem& Item(int32_t index);        // 35600 outside 1..Count
    ListItem& operator()(const QString& key) { return Item(key); }
    ListItem& operator()(int32_t index) { return Item(index); }
    bool exists(const QString& key) const;
    void Remove(const QString& key);
    void Remove(int32_t index);
    void Clear();
    int32_t Count() const;

private:
    forms::ListView* m_view;
};

class ListView final : public Control {
public:
    ListView(Container* parent, QString name);
    ~ListView() override;

    ColumnHeaderCollection ColumnHeaders{this};
    ListItemCollection ListItems{this};

    int16_t View() const { return m_view; }
    void setView(int16_t view);
    forms::ImageList* Icons() const { return m_icons; }
    void setIcons(forms::ImageList* list);
    forms::ImageList* SmallIcons() const { return m_smallIcons; }
    void setSmallIcons(forms::ImageList* list);
    ListItem* SelectedItem();
    void setSelectedItem(ListItem* item);   // no event
    bool Sorted() const { return m_sorted; }
    void setSorted(bool on);                // True sorts now and keeps it sorted
    int16_t SortKey() const { return m_sortKey; }
    void setSortKey(int16_t key);           // re-sorts when Sorted
    int16_t SortOrder() const { return m_sortOrder; }
    void setSortOrder(int16_t order);
    bool MultiSelect() const { return m_multiSelect; }
    void setMultiSelect(bool on);
    bool Checkboxes() const { return m_checkboxes; }
    void setCheckboxes(bool on);
    bool HideSelection() const { return m_hideSelection; }
    void setHideSelection(bool on);
    int16_t LabelEdit() const { return m_labelEdit; }
    void setLabelEdit(int16_t mode);
    bool FullRowSelect() const { return m_fullRowSelect; }
    void setFullRowSelect(bool on);
    ListItem* HitTest(float x, float y);

    // As the user would.
    void clickItem(ListItem& item);     // selects it alone: ItemClick, Click
    void doubleClickItem(ListItem& item);
    void clickColumn(int32_t index);    // ColumnClick with the header
    void toggleCheck(ListItem& item);   // ItemCheck

    Event<ListItem&> ItemClick;
    Event<ColumnHeader&> ColumnClick;
    Event<ListItem&> ItemCheck;
    Event<> Click;
    Event<> DblClick;

protected:
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override;

private:
    friend class ColumnHeader;
    friend class ColumnHeaderCollection;
    friend class ListItem;
    friend class ListItemCollection;
    friend class detail::ItemViewWidget<ListView>;
    friend class detail::ListViewItem;
    QTreeWidget* tree();
    ListItem* itemOf(QTreeWidgetItem* item) const;
    void renumberColumns();
    void applyColumns();
    void applyStyle();
    void sortNow();
    int insertPlace(QTreeWidgetItem* item) const;
    bool less(const QTreeWidgetItem& a, const QTreeWidgetItem& b) const;
    void removeItem(ListItem& item);
    QIcon iconOf(forms::ImageList* list, const rt::Variant& image) const;
    QSize pictureSize() const;   // of the rows' pictures; empty when none show
    void checkImage(forms::ImageList* list, const rt::Variant& image) const;
    void userPressed(QTreeWidgetItem* item);

    std::deque<std::unique_ptr<ColumnHeader>> m_columns;
    std::unordered_map<const ListItem*, std::unique_ptr<ListItem>> m_items;
    QHash<QString, ListItem*> m_keys;
    forms::ImageList* m_icons = nullptr;
    forms::ImageList* m_smallIcons = nullptr;
    int16_t m_view = lvwIcon;
    bool m_sorted = false;
    int16_t m_sortKey = 0;
    int16_t m_sortOrder = lvwAscending;
    bool m_multiSelect = false;
    bool m_checkboxes = false;
    bool m_hideSelection = true;
    int16_t m_labelEdit = 0;
    bool m_fullRowSelect = false;
    bool m_internal = false;
    bool m_pressing = false;
};

}  // namespace forms
