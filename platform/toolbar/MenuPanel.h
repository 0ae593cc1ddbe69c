#pragma once
// An open menu of a menu tool: its entries one under the other with their
// pictures, names and (ShowShortcuts) shortcut keys; a menu entry shows an
// arrow and opens its own menu. In configuration mode it is a child of the
// form that stays open while tools are dragged into it, out of it and within
// it; otherwise it is a pop-up that closes on a click elsewhere. What the
// mouse does goes to the ZentribarEditing that opened it.

#include "platform/toolbar/ZentribarEditing.h"

#include <QWidget>

namespace toolbar {

class MenuPanel final : public QWidget {
public:
    // The menu of menuTool (an entry of a toolbar or of the menu at depth - 1).
    MenuPanel(ZentribarEditing& editing, std::shared_ptr<Tool> menuTool, size_t depth,
              bool popup, QWidget* parent);

    const std::shared_ptr<Tool>& menuTool() const { return m_menuTool; }
    size_t depth() const { return m_depth; }
    // Its entries as shown, in its own coordinates.
    EntryLine line() const;
    QRect entryRect(const std::shared_ptr<Tool>& entry) const;
    // Lays the entries out again and takes the size they need.
    void relayout();
    // Shows it beside anchor (global coordinates): below it, or right of it.
    void placeBeside(QRect anchor, bool below);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    std::shared_ptr<Tool> toolAt(QPoint pos) const;

    ZentribarEditing& m_editing;
    std::shared_ptr<Tool> m_menuTool;
    size_t m_depth;
    std::vector<QRect> m_rects;   // per entry; empty for one not shown
    int m_pictureColumn = 16;
    int m_shortcutRight = 0;   // shortcuts end here, the arrow follows
    std::shared_ptr<Tool> m_pressed;
};

}  // namespace toolbar
