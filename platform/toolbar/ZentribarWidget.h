#pragma once
// The on-screen face of a toolbar control: draws its visible toolbars docked
// at the edges (by DockingFlags and PositionState) or floating, lets the
// developer click tools, drag toolbars, and hide or show them (context menu
// or a floating toolbar's close box). It only shows the model; every change
// goes through MqZentribar, which raises the events. A floating toolbar is a
// widget of its own beside this one, above the other controls of the form.
// Placing and arranging tools, and opening menus, is ZentribarEditing's.

#include "platform/toolbar/MqZentribar.h"
#include "platform/toolbar/ToolbarLayout.h"

#include <QHash>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include <memory>
#include <vector>

namespace toolbar {

class ZentribarEditing;

class ZentribarWidget final : public QWidget {
    Q_OBJECT
public:
    explicit ZentribarWidget(std::shared_ptr<MqZentribar> control, QWidget* parent = nullptr);
    ~ZentribarWidget() override;

    const std::shared_ptr<MqZentribar>& control() const { return m_control; }
    QSize sizeHint() const override;

    // Geometry of what is shown (empty rectangles for what is not).
    QRect toolbarRect(const QString& toolbarName) const;
    QRect toolRect(const QString& toolbarName, int32_t index) const;   // 1-based entry
    std::shared_ptr<Tool> toolAt(QPoint pos) const;
    // The More Tools button of a toolbar cut at the end of its line.
    QRect moreToolsRect(const QString& toolbarName) const;
    // What the docked toolbars leave of the widget.
    QRect freeArea() const;
    std::shared_ptr<Toolbar> toolbarAt(QPoint pos) const;
    // Where each entry of the toolbar is, in order (empty for one not shown).
    std::vector<QRect> entryRects(const QString& toolbarName) const;
    // Repaints this widget and its floating toolbars.
    void repaintViews();
    ZentribarEditing& editing() const { return *m_editing; }

    // What the developer's mouse does, callable from code.
    void setToolbarShown(const QString& toolbarName, bool shown);
    // Drags the toolbar by its grip to `to` (widget coordinates): change 9,
    // the move, change 10.
    void dragToolbar(const QString& toolbarName, QPoint to);

    // A tool picture as shown: the W x H image without its mask row, mask
    // colour transparent when the tool uses it.
    static QImage toolImage(const forms::StdPicture& picture, bool useMask);

Q_SIGNALS:
    // The docked toolbars now leave another free area (queued after a layout).
    void freeAreaChanged();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    class FloatingView;

    void scheduleLayout();
    void ensureLayout() const;
    void layoutNow();
    void scheduleFloatingViews();
    void updateFloatingViews();
    const BarItem* barItem(const QString& name) const;
    const BarItem* barAt(QPoint pos) const;
    const ToolItem* toolItemAt(QPoint pos) const;   // a tool, not a separator
    void paintBar(QPainter& p, const BarItem& item);
    void paintTool(QPainter& p, const Toolbar& bar, const ToolItem& item);
    QImage cachedImage(const forms::Picture& picture, bool useMask);
    void beginDrag(const std::shared_ptr<Toolbar>& bar, QPoint at, QPoint grabOffset);
    void endDrag(QPoint at);
    void pressAt(QPoint pos);
    void releaseAt(QPoint pos);
    void showToolbarMenu(QPoint pos, QPoint globalPos);
    void showMoreTools(const BarItem& item);
    // The tip of the tool at pos (widget coordinates) over `over`.
    void showToolTip(QPoint pos, QPoint globalPos, QWidget* over);

    std::shared_ptr<MqZentribar> m_control;
    int32_t m_viewConnection = 0;
    bool m_layoutDirty = true;
    std::vector<BarItem> m_bars;
    QRect m_layoutArea;
    QRect m_free;
    QRect m_announcedFree;
    // Shown pictures by picture object and whether the mask colour is clear:
    // tools that share a picture may differ in UseMaskColor.
    QHash<std::pair<const forms::StdPicture*, bool>, QImage> m_images;
    std::shared_ptr<Tool> m_pressedTool;
    std::shared_ptr<Toolbar> m_dragBar;
    QPoint m_dragOffset;
    std::vector<QPointer<FloatingView>> m_floatingViews;
    bool m_floatingViewsPending = false;
    std::unique_ptr<ZentribarEditing> m_editing;
};

}  // namespace toolbar
