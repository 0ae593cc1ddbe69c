#pragma once
// A tool of the toolbar control. One class serves the three roles a tool
// plays: a definition in the control-wide Tools (keyed by ID), an entry on a
// toolbar or in a menu (it shares its definition's settings and keeps only
// its own look: Name, DisplayStyle, Forecolor, ForecolorSource, Width), and a
// separator entry (type 8). ComboBox, Edit and Menu are its sub-objects.

#include "platform/forms/StdPicture.h"
#include "platform/toolbar/ModelObject.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace toolbar {

class Tool;
class Tools;
class Toolbar;
struct ToolState;

// Tool types; 8 only for separators.
inline constexpr int16_t mqButton = 0;
inline constexpr int16_t mqStateButton = 1;
inline constexpr int16_t mqDropDown = 2;
inline constexpr int16_t mqDropDownStateButton = 3;
inline constexpr int16_t mqComboBox = 4;
inline constexpr int16_t mqEdit = 5;
inline constexpr int16_t mqLabel = 6;
inline constexpr int16_t mqMenu = 7;
inline constexpr int16_t mqSeparator = 8;
inline constexpr int16_t mqUnchecked = 0;
inline constexpr int16_t mqChecked = 1;

// The four state pictures, in the order every caller indexes them.
enum class PictureState : int { Normal = 0, Pressed = 1, Disabled = 2, DisabledPressed = 3 };
inline constexpr int PictureStateCount = 4;
QString pictureStateName(PictureState state);   // "Normal", "Pressed", ...

// Largest picture the control accepts (either side, pixels).
inline constexpr int32_t MaxPictureSide = 1024;

class ToolComboBox final : public ModelObject {
public:
    struct Item {
        QString text;
        int32_t data = 0;
        bool operator==(const Item&) const = default;
    };
    ToolComboBox();
    QString className() const override { return QStringLiteral("ComboBox"); }

    int32_t ItemData(int16_t index) const;
    void setItemData(int16_t index, int32_t data);
    QString List(int16_t index) const;
    void setList(int16_t index, const QString& text);
    int16_t ListCount() const { return int16_t(m_items.size()); }
    int16_t ListIndex() const { return m_listIndex; }
    void setListIndex(int16_t index);
    bool Locked() const { return m_locked; }
    void setLocked(bool v);
    int16_t NewIndex() const { return m_newIndex; }
    bool Sorted() const { return m_sorted; }
    void setSorted(bool v);          // sorting on sorts the items there are
    int16_t Style() const { return m_style; }
    void setStyle(int16_t v);        // 0 dropdown combo, 1 dropdown list
    QString Text() const { return m_text; }
    void setText(const QString& v);
    // Appends, inserts before index, or (Sorted) inserts in text order.
    void AddItem(const QString& text, std::optional<int16_t> index = std::nullopt);
    void RemoveItem(int16_t index);
    void Clear();

    const std::vector<Item>& items() const { return m_items; }
    void assign(const ToolComboBox& other);   // whole content, one change

private:
    friend class Tool;
    void changed();
    void checkIndex(int16_t index, const char* what) const;
    std::weak_ptr<ToolState> m_tool;   // the definition
    std::vector<Item> m_items;
    int16_t m_listIndex = -1;
    int16_t m_newIndex = -1;
    bool m_locked = false;
    bool m_sorted = false;
    int16_t m_style = 0;
    QString m_text;
};

class ToolEdit final : public ModelObject {
public:
    ToolEdit();
    QString className() const override { return QStringLiteral("Edit"); }
    bool Locked() const { return m_locked; }
    void setLocked(bool v);
    int16_t MaxLength() const { return m_maxLength; }
    void setMaxLength(int16_t v);    // 0 = no limit
    QString Text() const { return m_text; }
    void setText(const QString& v);
    QString PasswordChar() const { return m_passwordChar; }
    void setPasswordChar(const QString& v);   // empty or one character
    void assign(const ToolEdit& other);

private:
    friend class Tool;
    void changed();
    std::weak_ptr<ToolState> m_tool;   // the definition
    bool m_locked = false;
    int16_t m_maxLength = 0;
    QString m_text;
    QString m_passwordChar;
};

class ToolMenu final : public ModelObject {
public:
    ToolMenu();
    QString className() const override { return QStringLiteral("Menu"); }
    std::shared_ptr<Tools> tools() const { return m_tools; }   // Tools

private:
    friend class Tool;
    std::shared_ptr<Tools> m_tools;
};

class Tool final : public ModelObject {
public:
    enum class Role { Definition, Entry, Separator };

    // The late-bound object over a tool's data: the one alive, or a new one.
    static std::shared_ptr<Tool> of(const std::shared_ptr<ToolState>& state);
    // A short-lived typed view that publishes no late-bound members (for
    // bulk work inside the control; never handed out).
    static std::shared_ptr<Tool> view(const std::shared_ptr<ToolState>& state);
    Tool(const Tool&) = delete;
    Tool& operator=(const Tool&) = delete;

    QString className() const override { return QStringLiteral("Tool"); }
    Role role() const;
    bool isDefinition() const { return role() == Role::Definition; }
    const std::shared_ptr<ToolState>& state() const { return m_s; }
    // The definition this tool stands for (itself for a definition).
    std::shared_ptr<Tool> definition();
    std::shared_ptr<const Tool> definition() const;
    // The toolbar whose Tools holds this entry; null otherwise.
    std::shared_ptr<Toolbar> toolbar() const;

    // Shared by a definition and its entries.
    QString ID() const;
    void setID(const QString& id);   // trimmed; unique among the definitions
    int16_t Type() const;
    void setType(int16_t v);
    QString Category() const;
    void setCategory(const QString& v);
    QString Description() const;
    void setDescription(const QString& v);
    QString TooltipText() const;
    void setTooltipText(const QString& v);
    int16_t ShortcutKey() const;
    void setShortcutKey(int16_t v);  // 0 to 79
    int16_t State() const;
    void setState(int16_t v);        // mqUnchecked, mqChecked
    QString StateGroupName() const;
    void setStateGroupName(const QString& v);
    bool StateAllowAllUp() const;
    void setStateAllowAllUp(bool v);
    int16_t MenuVisibility() const;
    void setMenuVisibility(int16_t v);   // 0, 1
    bool AutoWrap() const;
    void setAutoWrap(bool v);
    bool Customizable() const;
    void setCustomizable(bool v);
    bool Enabled() const;
    void setEnabled(bool v);
    bool Visible() const;
    void setVisible(bool v);
    rt::Variant Tag() const;
    void setTag(const rt::Variant& v);   // any value but an object
    int16_t ImageSize() const;
    void setImageSize(int16_t v);        // 16 to 32
    bool UseMaskColor() const;
    void setUseMaskColor(bool v);
    int32_t Index() const;               // 1-based position in its collection

    // The look each entry keeps on its own.
    QString Name() const;
    void setName(const QString& v);
    int16_t DisplayStyle() const;
    void setDisplayStyle(int16_t v);     // 0 to 3
    int32_t Forecolor() const;
    void setForecolor(int32_t v);
    int16_t ForecolorSource() const;
    void setForecolorSource(int16_t v);  // 0 control, 1 tool
    int16_t Width() const;
    void setWidth(int16_t v);            // 1 or more

    // Pictures: a picture object or null (Nothing).
    forms::Picture picture(PictureState state) const;
    void setPicture(PictureState state, forms::Picture picture);
    // Late-bound form: a picture object, Nothing/Empty, or a bitmap handle
    // (the control keeps its own copy of a handed bitmap).
    void setPictureValue(PictureState state, const rt::Variant& value);
    int32_t pictureHandle(PictureState state) const;

    // Made on first use; most tools never need them.
    std::shared_ptr<ToolComboBox> comboBox() const;   // ComboBox
    std::shared_ptr<ToolEdit> edit() const;           // Edit
    std::shared_ptr<ToolMenu> menu() const;           // Menu
    const ToolComboBox* existingComboBox() const;     // null when never used
    const ToolEdit* existingEdit() const;
    const Tools* existingMenuTools() const;

    // Copies every setting of another definition (not ID, not menu entries).
    void assignSettings(const Tool& other);

private:
    explicit Tool(std::shared_ptr<ToolState> state);
    void publish();
    void changed();                      // raises "tool changed" on the control
    template <class T>
    void write(T& field, const T& value);
    template <class T>
    void writeLook(T& field, const T& value);

    std::shared_ptr<ToolState> m_s;
};

}  // namespace toolbar
