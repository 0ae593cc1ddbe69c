#pragma once
// Where the shown toolbars of a control go in its area. Docked toolbars lie
// in lines along the edges: a row (PositionState2) keeps its toolbars in
// offset order, a toolbar that does not fit the rest of its line begins the
// next line, and one longer than its whole line is cut at the line's end,
// its entries past the end behind a More Tools button when it shows one.
// A toolbar is shown whole or not at all: lines past what the area holds are
// left out until the control grows.
// Floating toolbars lie where they were dropped, moved into the area. What
// the docked lines leave is the free area.

#include "platform/toolbar/MqZentribar.h"

#include <QFontMetrics>
#include <QRect>

#include <memory>
#include <vector>

namespace toolbar {

struct ToolItem {
    std::shared_ptr<Tool> tool;
    QRect rect;
};

struct BarItem {
    std::shared_ptr<Toolbar> bar;
    QRect rect;
    QRect grip;        // drag handle (floating: the title)
    QRect closeBox;    // floating toolbars that may hide
    QRect moreTools;   // empty while every entry shows
    bool vertical = false;
    std::vector<ToolItem> tools;                  // the entries shown
    std::vector<std::shared_ptr<Tool>> hidden;    // entries past the end

    void moveBy(QPoint by);
};

class ToolbarLayout final {
public:
    static constexpr int kTitle = 14;   // height of a floating toolbar's title
    static constexpr int kPad = 3;      // around a tool's picture

    ToolbarLayout(const MqZentribar& control, const QFontMetrics& metrics, QRect area);

    // Docked toolbars first, floating ones last (on top).
    std::vector<BarItem>& bars() { return m_bars; }
    const std::vector<BarItem>& bars() const { return m_bars; }
    QRect freeArea() const { return m_free; }

private:
    void dockArea(DockArea area, std::vector<std::vector<std::shared_ptr<Toolbar>>>& rows);
    void placeFloating(const std::shared_ptr<Toolbar>& bar);
    // Lays the toolbar out at (0, 0): as long as its entries, or `stretchTo`
    // when that is longer, and never longer than `maxLength`.
    BarItem layoutBar(const std::shared_ptr<Toolbar>& bar, bool vertical, int stretchTo,
                      int maxLength) const;
    QSize toolSize(const Tool& tool, const Toolbar& bar, bool vertical) const;

    const MqZentribar& m_control;
    QFontMetrics m_metrics;
    QRect m_area;
    QRect m_free;
    std::vector<BarItem> m_bars;
};

// A caption without its access-key marks.
QString displayText(const QString& name);
// What an entry shows as its caption: its name, or its ID when it has none.
QString captionOf(const Tool& tool);
bool showsImage(const Tool& tool);
bool showsText(const Tool& tool);
// The side of the tool's picture as shown: LargeIcons makes every one 32.
int pictureSide(const Tool& tool, const MqZentribar& control);
// The name of the tool's shortcut key while ShowShortcuts is on; else empty.
QString shownShortcut(const Tool& tool, const MqZentribar& control);

}  // namespace toolbar
