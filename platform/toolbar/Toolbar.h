#pragma once
// A toolbar of the toolbar control and the control's Toolbars collection
// (keyed by name without case). A control has at most one menu bar
// (style 1); the style is fixed when the toolbar is added.

#include "platform/toolbar/Tools.h"

#include <QHash>

namespace toolbar {

// DockingFlags bits.
inline constexpr int32_t mqDockTop = 1;
inline constexpr int32_t mqDockBottom = 2;
inline constexpr int32_t mqDockLeft = 4;
inline constexpr int32_t mqDockRight = 8;
inline constexpr int32_t mqFloating = 16;
inline constexpr int32_t mqStretch = 32;
inline constexpr int32_t mqLocked = 64;

// Where a toolbar sits, kept in PositionState1.
enum class DockArea : int16_t { Top = 0, Bottom = 1, Left = 2, Right = 3, Floating = 4 };

class Toolbar final : public ModelObject {
public:
    static std::shared_ptr<Toolbar> create(const Link& link, const QString& name,
                                           int16_t style);
    QString className() const override { return QStringLiteral("Toolbar"); }

    QString Name() const { return m_name; }
    void setName(const QString& v);          // trimmed, not empty, unique
    int16_t Style() const { return m_style; }
    bool Visible() const { return m_visible; }
    void setVisible(bool v);                 // raises 3 or 0
    bool AllowCustomize() const { return m_allowCustomize; }
    void setAllowCustomize(bool v);
    bool AllowHiding() const { return m_allowHiding; }
    void setAllowHiding(bool v);
    int32_t CaptionAlignment() const { return m_captionAlignment; }
    void setCaptionAlignment(int32_t v);     // 0 top, 1 bottom, 2 left, 3 right of image
    bool DisplayGrabHandles() const { return m_grabHandles; }
    void setDisplayGrabHandles(bool v);
    bool DisplayMoreToolsButton() const { return m_moreTools; }
    void setDisplayMoreToolsButton(bool v);
    int32_t DockingFlags() const { return m_dockingFlags; }
    void setDockingFlags(int32_t v);         // 0 to 127
    int32_t Font3D() const { return m_font3D; }
    void setFont3D(int32_t v);               // 0 to 5
    bool Configured() const { return m_configured; }
    void setConfigured(bool v);
    int32_t Index() const;

    // Position state: 1 the dock area (DockArea), 2 the row in that area,
    // 3 the offset along the row in pixels, 4 and 5 the floating left and
    // top in the control's area, 6 the floating width in pixels (0: one
    // row), 7 kept as written.
    int16_t PositionState1() const { return m_ps1; }
    void setPositionState1(int16_t v);
    int16_t PositionState2() const { return m_ps2; }
    void setPositionState2(int16_t v);
    int32_t positionState(int n) const;      // 1 to 7
    void setPositionState(int n, int32_t v);

    // What a drag of the developer does: moves the toolbar to the area,
    // row and offset (floating: left and top) without an event of its own;
    // the drag's change 10 reports it.
    void moveTo(DockArea area, int16_t row, int32_t offset, int32_t floatLeft,
                int32_t floatTop);

    std::shared_ptr<Tools> tools() const { return m_tools; }   // Tools
    DockArea dockArea() const;   // PositionState1, or the first area DockingFlags allow

    // Every setting but Name, Style and Tools.
    void assignSettings(const Toolbar& other);

private:
    friend class Toolbars;
    friend class MqZentribar;
    Toolbar(Link link, const QString& name, int16_t style);
    void publish();
    void changed(int32_t change = 6);
    template <class T>
    void write(T& field, const T& value);

    Link m_link;
    std::weak_ptr<class Toolbars> m_owner;
    std::shared_ptr<Tools> m_tools;
    QString m_name;
    int16_t m_style = 0;
    bool m_visible = true;
    bool m_allowCustomize = true;
    bool m_allowHiding = true;
    int32_t m_captionAlignment = 3;
    bool m_grabHandles = true;
    bool m_moreTools = true;
    int32_t m_dockingFlags = mqDockTop | mqDockBottom | mqDockLeft | mqDockRight | mqFloating;
    int32_t m_font3D = 0;
    bool m_configured = false;
    int16_t m_ps1 = 0;
    int16_t m_ps2 = 0;
    std::array<int32_t, 5> m_ps3to7{};
};

class Toolbars final : public ModelObject {
public:
    static std::shared_ptr<Toolbars> create(Link link);
    QString className() const override { return QStringLiteral("Toolbars"); }

    // style 1 (menu bar) is refused while the control has one.
    std::shared_ptr<Toolbar> Add(const QString& name, int16_t style = 0);
    std::shared_ptr<Toolbar> Item(const rt::Variant& indexOrKey) const;
    std::shared_ptr<Toolbar> Item(const QString& name) const;
    std::shared_ptr<Toolbar> Item(int32_t index) const;
    std::shared_ptr<Toolbar> find(const QString& name) const;   // null, no error
    std::shared_ptr<Toolbar> menuBar() const;
    void Remove(const rt::Variant& indexOrKey);
    int32_t Count() const { return int32_t(m_items.size()); }
    void Clear();

    using List = std::vector<std::shared_ptr<Toolbar>>;
    List::const_iterator begin() const { return m_items.cbegin(); }
    List::const_iterator end() const { return m_items.cend(); }
    const List& items() const { return m_items; }
    int32_t indexOf(const Toolbar* bar) const;

private:
    friend class Toolbar;
    friend class MqZentribar;
    explicit Toolbars(Link link);
    void publish();
    void insert(const std::shared_ptr<Toolbar>& bar);
    void rekey(const Toolbar& bar, const QString& newName);

    Link m_link;
    List m_items;
    QHash<QString, std::shared_ptr<Toolbar>> m_byName;
};

}  // namespace toolbar
