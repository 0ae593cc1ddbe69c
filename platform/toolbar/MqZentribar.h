#pragma once
// The stand-in toolbar control "Zentribar.MqZentribar": its control-wide
// options, its Tools and Toolbars, loading and saving of configurations
// (.qrv, see FORMAT.md) and its two events. Typed C++ members, and every
// member also late-bound by name (and by the dispatch ids the utility uses).
// Make one with std::make_shared; ZentribarWidget shows it on screen.
//
//     auto bar = std::make_shared<toolbar::MqZentribar>();
//     bar->tools()->Add("ID_Open")->setName("&Open");
//     bar->toolbars()->Add("Main")->tools()->Add("ID_Open");
//     const int32_t id = bar->ConfigurationModified.connect(
//         [](int32_t change, com::Object toolbar, com::Object tool) { ... });
//     bar->ConfigurationModified.disconnect(id);
//
// ConfigurationModified(Change, Toolbar, Tool) follows every change. Codes:
//
//   code  meaning                                   Toolbar          Tool
//   ----  ----------------------------------------  ---------------  -------------------
//    0    a toolbar was hidden                      the toolbar      Nothing
//    1    a tool's State was toggled by a click     its toolbar/Nothing  the tool clicked
//    2    text was typed into a combo or edit tool  its toolbar/Nothing  the tool
//    3    a toolbar was shown                       the toolbar      Nothing
//    4    something was added: a toolbar; a tool    the toolbar or   the tool or
//         definition; an entry on a toolbar/menu    Nothing          Nothing
//    5    something was removed (as 4); both        as 4             as 4
//         Nothing after Tools.Clear/Toolbars.Clear
//    6    a toolbar property changed                the toolbar      Nothing
//    7    a tool property changed (an entry's own   the entry's      the tool or entry
//         look: the entry and its toolbar)          toolbar/Nothing
//    8    a control-wide option changed, or the     Nothing          Nothing
//         whole configuration was loaded
//    9    the developer begins to drag a toolbar    the toolbar      Nothing
//   10    the drag ended (PositionState updated)    the toolbar      Nothing
//   11    the developer selected a tool             its toolbar/Nothing  the tool
//
// 1, 2 and 11 are not configuration changes. A write of the value a
// property already holds raises nothing. Redraw False only stops repaints;
// events are raised all the same.

#include "platform/toolbar/Signal.h"
#include "platform/toolbar/Toolbar.h"

#include <QByteArray>

namespace toolbar {

namespace change {
inline constexpr int32_t Hidden = 0;
inline constexpr int32_t StateToggled = 1;
inline constexpr int32_t TextEntered = 2;
inline constexpr int32_t Shown = 3;
inline constexpr int32_t Added = 4;
inline constexpr int32_t Removed = 5;
inline constexpr int32_t ToolbarChanged = 6;
inline constexpr int32_t ToolChanged = 7;
inline constexpr int32_t ControlChanged = 8;
inline constexpr int32_t DragBegins = 9;
inline constexpr int32_t DragEnds = 10;
inline constexpr int32_t ToolSelected = 11;
}  // namespace change

// Dispatch ids the utility calls the control by.
namespace dispid {
inline constexpr int32_t Redraw = 1009;
inline constexpr int32_t Tools = 1024;
inline constexpr int32_t Visible = 1025;
inline constexpr int32_t ActiveColors = 1045;
inline constexpr int32_t FontSource = 1056;
inline constexpr int32_t MenuAnimations = 1057;
inline constexpr int32_t ShowShortcuts = 1058;
inline constexpr int32_t ShowTooltips = 1059;
inline constexpr int32_t Toolbars = 1060;
inline constexpr int32_t SwitchConfigMode = 1062;
inline constexpr int32_t LoadConfiguration = 1065;
inline constexpr int32_t SaveConfiguration = 1068;
inline constexpr int32_t LargeIcons = 1095;
inline constexpr int32_t PersonalizedMenus = 1127;
inline constexpr int32_t Style = 1133;
inline constexpr int32_t FloatingTBFadeDelay = 1136;
// The container's Boolean extender flag.
inline constexpr int32_t ContainerFlag = int32_t(0x8001000Du);
}  // namespace dispid

// The code SwitchConfigMode accepts.
inline constexpr int16_t ConfigModeAccessCode = 2358;

// The control-wide options, saved with the configuration.
struct ControlOptions {
    bool visible = true;
    bool activeColors = true;
    int32_t fontSource = 0;          // 0 system font, 1 control font
    int32_t menuAnimations = 0;      // 0 to 5
    bool showShortcuts = false;
    bool showTooltips = true;
    bool largeIcons = false;
    int32_t personalizedMenus = 0;   // 0 to 2
    int32_t style = 0;               // 0 to 2
    int16_t floatingFadeDelay = 0;   // 0 or more
    bool operator==(const ControlOptions&) const = default;
};

class MqZentribar : public ModelObject {
public:
    MqZentribar();
    ~MqZentribar() override;
    MqZentribar(const MqZentribar&) = delete;
    MqZentribar& operator=(const MqZentribar&) = delete;
    QString className() const override { return QStringLiteral("MqZentribar"); }

    std::shared_ptr<toolbar::Tools> tools() const { return m_tools; }          // Tools
    std::shared_ptr<toolbar::Toolbars> toolbars() const { return m_toolbars; }  // Toolbars

    bool Redraw() const { return m_redraw; }
    void setRedraw(bool v);          // True again repaints once
    bool Visible() const { return m_options.visible; }
    void setVisible(bool v);
    bool ActiveColors() const { return m_options.activeColors; }
    void setActiveColors(bool v);
    int32_t FontSource() const { return m_options.fontSource; }
    void setFontSource(int32_t v);
    int32_t MenuAnimations() const { return m_options.menuAnimations; }
    void setMenuAnimations(int32_t v);
    bool ShowShortcuts() const { return m_options.showShortcuts; }
    void setShowShortcuts(bool v);
    bool ShowTooltips() const { return m_options.showTooltips; }
    void setShowTooltips(bool v);
    bool LargeIcons() const { return m_options.largeIcons; }
    void setLargeIcons(bool v);
    int32_t PersonalizedMenus() const { return m_options.personalizedMenus; }
    void setPersonalizedMenus(int32_t v);
    int32_t Style() const { return m_options.style; }
    void setStyle(int32_t v);
    int16_t FloatingTBFadeDelay() const { return m_options.floatingFadeDelay; }
    void setFloatingTBFadeDelay(int16_t v);
    const ControlOptions& options() const { return m_options; }
    void setOptions(const ControlOptions& options);   // validated, one event 8

    // Configuration mode: toggled by SwitchConfigMode with the access code
    // (any other code is refused). In it a click selects a tool (change 11)
    // instead of clicking it.
    void SwitchConfigMode(int16_t code);
    bool configMode() const { return m_configMode; }
    // The container's extender flag (dispatch id 0x8001000D), True at start.
    bool containerFlag() const { return m_containerFlag; }
    void setContainerFlag(bool v) { m_containerFlag = v; }

    // File names may carry a NUL and anything after it (the utility pads its
    // names to 260 characters); the name ends at the first NUL.
    virtual void LoadConfiguration(const QString& file);
    void SaveConfiguration(const QString& file) const;
    QByteArray SaveConfigurationEx() const;
    void LoadConfigurationEx(const rt::Variant& value);   // a Byte array
    void loadDocument(const QByteArray& document, const QString& origin = {});

    bool CallerIsVBTestPgm() const { return m_callerIsTestProgram; }
    void setCallerIsVBTestPgm(bool v) { m_callerIsTestProgram = v; }
    void ConfigUtilityExiting();

    // Events.
    Signal<com::Object> ToolClick;
    Signal<int32_t, com::Object, com::Object> ConfigurationModified;
    Signal<> UtilityExiting;         // ConfigUtilityExiting was called
    Signal<> ViewChanged;            // repaint needed (not raised while Redraw is False)

    // What the control's widget and the model call.
    void raise(int32_t change, const std::shared_ptr<Toolbar>& bar,
               const std::shared_ptr<Tool>& tool);
    // The same for a tool's data: its object is made only when someone listens.
    void raiseState(int32_t change, const std::shared_ptr<Toolbar>& bar,
                    const std::shared_ptr<ToolState>& tool);
    void touched();                  // content changed: repaint unless Redraw is False
    // A click on a tool (entry or definition) in the control's view: in
    // configuration mode change 11; else a state tool toggles (change 1)
    // and ToolClick is raised.
    void clickTool(const std::shared_ptr<Tool>& tool);
    // Removes a definition's entries from every toolbar and menu.
    void removeEntriesOf(const ToolState* definition);
    Link link() const { return m_link; }

    // Replaces the whole configuration by another control's (which is left
    // empty); one change 8.
    void takeConfiguration(MqZentribar& other);

private:
    void publish();
    template <class T>
    void writeOption(T& field, const T& value);

    Link m_link;
    std::shared_ptr<toolbar::Tools> m_tools;
    std::shared_ptr<toolbar::Toolbars> m_toolbars;
    ControlOptions m_options;
    bool m_redraw = true;
    bool m_configMode = false;
    bool m_containerFlag = true;
    bool m_callerIsTestProgram = false;
};

// The file name part of a NUL-padded name.
QString fileNameOfArgument(const QString& argument);

}  // namespace toolbar
