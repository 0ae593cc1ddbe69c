#pragma once
// Combo box (style fixed at construction: 0 drop-down combo, 1 simple combo,
// 2 drop-down list) and list box (plain, multi-select, or with check boxes,
// where Selected is an entry's check). Setting ListIndex fires Click;
// setting Text fires Change; setting Selected fires Click, or on a check-box
// list (where it also makes the entry current) ItemCheck and then Click at
// every change of the check. Indexes are 0-based; -1 is "none".

#include "platform/forms/Control.h"

class QComboBox;
class QListWidget;

namespace forms {

inline constexpr int16_t vbComboDropdown = 0;
inline constexpr int16_t vbComboSimple = 1;
inline constexpr int16_t vbComboDropdownList = 2;

class ComboBox final : public Control {
public:
    ComboBox(Container* parent, QString name, int16_t style = vbComboDropdown)
        : Control(parent, std::move(name)), m_style(style)
    {
    }

    int16_t Style() const { return m_style; }
    // Adds at index (-1: at the end, or at the sorted place when Sorted).
    void AddItem(const QString& text, int32_t index = -1);
    void RemoveItem(int32_t index);   // error 5 for a bad index
    void Clear();
    QString List(int32_t index);      // "" outside the list
    void setList(int32_t index, const QString& text);
    int32_t ListCount();
    int32_t ListIndex();
    void setListIndex(int32_t index);   // error 380 outside -1..count-1
    int32_t ItemData(int32_t index);
    void setItemData(int32_t index, int32_t data);
    int32_t NewIndex() const { return m_newIndex; }
    bool Sorted() const { return m_sorted; }
    void setSorted(bool on);
    bool Locked();
    void setLocked(bool on);
    QString Text();
    // Styles 0 and 1: the edit text (Change fires). Style 2: selects the
    // entry with that text (error 383 when there is none).
    void setText(const QString& text);
    int32_t SelStart();
    void setSelStart(int32_t start);
    int32_t SelLength();
    void setSelLength(int32_t length);

    // Picks an entry as the user would (Click fires, also for the same entry).
    void choose(int32_t index);

    Event<> Click;
    Event<> Change;
    Event<> DropDown;

protected:
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override;

private:
    QComboBox* box();
    int16_t m_style;
    bool m_sorted = false;
    int32_t m_newIndex = -1;
    bool m_internal = false;
};

inline constexpr int16_t vbListBoxStandard = 0;
inline constexpr int16_t vbListBoxCheckbox = 1;
inline constexpr int16_t vbMultiSelectNone = 0;
inline constexpr int16_t vbMultiSelectSimple = 1;
inline constexpr int16_t vbMultiSelectExtended = 2;

class ListBox final : public Control {
public:
    ListBox(Container* parent, QString name, int16_t style = vbListBoxStandard,
            int16_t multiSelect = vbMultiSelectNone)
        : Control(parent, std::move(name)), m_style(style), m_multiSelect(multiSelect)
    {
    }

    int16_t Style() const { return m_style; }
    int16_t MultiSelect() const { return m_multiSelect; }
    void AddItem(const QString& text, int32_t index = -1);
    void RemoveItem(int32_t index);
    void Clear();
    QString List(int32_t index);
    void setList(int32_t index, const QString& text);
    int32_t ListCount();
    int32_t ListIndex();
    void setListIndex(int32_t index);
    int32_t ItemData(int32_t index);
    void setItemData(int32_t index, int32_t data);
    int32_t NewIndex() const { return m_newIndex; }
    bool Selected(int32_t index);
    void setSelected(int32_t index, bool on);
    int32_t SelCount();
    int32_t TopIndex();
    void setTopIndex(int32_t index);
    bool Sorted() const { return m_sorted; }
    void setSorted(bool on);
    QString Text();   // the current entry's text

    // As the user would: click an entry (Click), toggle its check box
    // (ItemCheck, then Click), double-click it (DblClick).
    void clickItem(int32_t index);
    void toggleCheck(int32_t index);
    void doubleClickItem(int32_t index);

    Event<> Click;
    Event<> DblClick;
    Event<int16_t> ItemCheck;   // Item

protected:
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override;

private:
    QListWidget* list();
    int32_t insertPlace(const QString& text);
    int16_t m_style;
    int16_t m_multiSelect;
    bool m_sorted = false;
    int32_t m_newIndex = -1;
    bool m_internal = false;
};

}  // namespace forms
