#pragma once
// Design-time editing of the toolbars and menus a ZentribarWidget shows, in
// configuration mode: a tool's ID dropped as text becomes an entry where it
// was dropped (an insertion mark shows where while dragging), an entry
// dragged elsewhere moves there (Ctrl copies) and dragged off every toolbar
// and menu goes, and an entry's context menu puts a separator before it or
// takes it away. It also opens the menus of menu tools (MenuPanel), in
// either mode. The widget, its floating toolbars and the open menus hand
// their drag, mouse and context-menu events here; every change goes through
// the model, which raises ConfigurationModified.

#include "platform/toolbar/MqZentribar.h"

#include <QObject>
#include <QPointer>
#include <QRect>

#include <memory>
#include <vector>

class QDragMoveEvent;
class QMenu;
class QDropEvent;
class QMimeData;
class QPainter;
class QWidget;

namespace toolbar {

class MenuPanel;
class ZentribarWidget;

// A toolbar or an open menu as shown: its entries and where each one is.
struct EntryLine {
    std::shared_ptr<Tools> list;
    bool vertical = false;
    QRect area;
    std::vector<QRect> entries;   // one per entry of list; empty when not shown
};

// The 1-based position a drop at pos takes: before the first shown entry
// whose middle lies past pos, else after the last shown entry.
int32_t dropIndex(const EntryLine& line, QPoint pos);
// Where the insertion mark for that position is drawn: a bar across the
// line in the gap before the entry (after the last one for the end).
QRect insertionMark(const EntryLine& line, int32_t index);

class ZentribarEditing final : public QObject {
public:
    explicit ZentribarEditing(ZentribarWidget& widget);
    ~ZentribarEditing() override;
    ZentribarEditing(const ZentribarEditing&) = delete;
    ZentribarEditing& operator=(const ZentribarEditing&) = delete;

    MqZentribar& control() const;
    ZentribarWidget& widget() const { return m_widget; }

    // A surface is the widget (positions in its coordinates, also for its
    // floating toolbars) or an open menu.
    void dragMove(QWidget* surface, QDragMoveEvent* event, QPoint pos);   // enter and move
    void dragLeave(QWidget* surface);
    void drop(QWidget* surface, QDropEvent* event, QPoint pos);
    void paintMark(QPainter& p, const QWidget* surface) const;
    QRect mark() const { return m_mark; }   // empty while no drop is shown

    // A press on an entry may begin a drag of it (configuration mode);
    // move returns true when that drag ran, and the press is then used up.
    void press(QWidget* surface, QPoint pos);
    bool move(QWidget* surface, QPoint pos);
    // The commands of the entry at pos, added to its context menu
    // (configuration mode); false when pos holds no entry.
    bool addEntryActions(QMenu& menu, QWidget* surface, QPoint pos);
    // An open menu's context menu: the entry's commands.
    void contextMenu(QWidget* surface, QPoint pos, QPoint globalPos);
    // Puts a separator before the entry, or takes the one there away.
    void setGroupStart(const std::shared_ptr<Tool>& entry, bool on);

    // A click on a menu tool of a toolbar opens its menu, or closes it when
    // it is open; a click on an entry of an open menu (a sub-menu opens).
    void menuToolClicked(const std::shared_ptr<Tool>& menuTool);
    void menuEntryClicked(MenuPanel* panel, const std::shared_ptr<Tool>& entry);
    void closeMenus(size_t fromDepth = 0);
    std::vector<MenuPanel*> openMenus() const;

private:
    // Where a drag at pos would go, and whether it may.
    struct Target {
        EntryLine line;
        bool own = false;          // an entry of ours, not a tool ID
        bool acceptable = false;   // own, or the ID of a tool
        bool copy = false;
        bool allowed = false;      // ... at this place
        int32_t index = 0;
        QString definitionId;
    };
    Target targetOf(QWidget* surface, const QDropEvent& event, QPoint pos) const;
    EntryLine lineAt(QWidget* surface, QPoint pos) const;
    std::shared_ptr<ToolState> entryAt(QWidget* surface, QPoint pos) const;
    std::shared_ptr<ToolState> definitionOf(const QMimeData* mime) const;
    bool ownEntryIn(const QMimeData* mime) const;
    void setMark(QWidget* surface, QRect mark);
    void runEntryDrag();
    void openMenu(const std::shared_ptr<Tool>& menuTool, size_t depth);
    void scheduleMenuRefresh();
    void refreshMenus();
    bool placeMenu(MenuPanel& panel) const;

    ZentribarWidget& m_widget;
    int32_t m_viewConnection = 0;
    QPointer<QWidget> m_markSurface;
    QRect m_mark;
    QPointer<QWidget> m_pressSurface;
    QPoint m_pressPos;
    std::shared_ptr<ToolState> m_pressEntry;
    std::shared_ptr<ToolState> m_dragEntry;   // an entry of ours being dragged
    bool m_dragOverLine = false;              // ... last over a toolbar or menu
    std::vector<QPointer<MenuPanel>> m_menus; // by depth
    bool m_menuRefreshPending = false;
};

}  // namespace toolbar
