#include "platform/toolbar/MenuPanel.h"

#include "platform/toolbar/ZentribarWidget.h"

#include <QContextMenuEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace toolbar {

namespace {

constexpr int kFrame = 2;
constexpr int kPad = 3;           // around a row's picture and text
constexpr int kGap = 8;           // picture to name, name to shortcut
constexpr int kArrow = 14;        // a sub-menu's arrow
constexpr int kSeparator = 7;
constexpr QSize kEmpty(80, 22);   // an empty menu still takes drops

}  // namespace

MenuPanel::MenuPanel(ZentribarEditing& editing, std::shared_ptr<Tool> menuTool, size_t depth,
                     bool popup, QWidget* parent)
    : QWidget(parent, popup ? Qt::Popup : Qt::Widget),
      m_editing(editing),
      m_menuTool(std::move(menuTool)),
      m_depth(depth)
{
    if (popup)
        setAttribute(Qt::WA_DeleteOnClose);
    else
        setAcceptDrops(true);
    setFont(editing.widget().font());
    relayout();
}

void MenuPanel::relayout()
{
    const MqZentribar& c = m_editing.control();
    const QFontMetrics fm = fontMetrics();
    int picture = 16, text = 0, shortcut = 0;
    std::vector<std::shared_ptr<Tool>> entries;
    for (const auto& t : *m_menuTool->menu()->tools()) {
        entries.push_back(t);
        if (t->role() == Tool::Role::Separator || !t->Visible())
            continue;
        if (t->picture(PictureState::Normal))
            picture = std::max(picture, pictureSide(*t, c));
        text = std::max(text, fm.horizontalAdvance(captionOf(*t)));
        shortcut = std::max(shortcut, fm.horizontalAdvance(shownShortcut(*t, c)));
    }
    m_pictureColumn = picture;
    const int row = std::max(picture, fm.height()) + 2 * kPad;
    const int width = std::max(kEmpty.width(), 2 * kFrame + 2 * kPad + picture + kGap + text +
                                                   (shortcut ? 2 * kGap + shortcut : 0) + kArrow);
    m_shortcutRight = width - kFrame - kArrow;
    m_rects.clear();
    int y = kFrame;
    for (const auto& t : entries) {
        const bool separator = t->role() == Tool::Role::Separator;
        if (!separator && !t->Visible()) {
            m_rects.emplace_back();
            continue;
        }
        const int height = separator ? kSeparator : row;
        m_rects.emplace_back(kFrame, y, width - 2 * kFrame, height);
        y += height;
    }
    resize(width, std::max(kEmpty.height(), y + kFrame));
    update();
}

EntryLine MenuPanel::line() const
{
    return {m_menuTool->menu()->tools(), true, rect(), m_rects};
}

QRect MenuPanel::entryRect(const std::shared_ptr<Tool>& entry) const
{
    const int32_t index = m_menuTool->menu()->tools()->indexOf(entry->state().get());
    return index > 0 && size_t(index) <= m_rects.size() ? m_rects[size_t(index - 1)] : QRect();
}

std::shared_ptr<Tool> MenuPanel::toolAt(QPoint pos) const
{
    const auto& tools = *m_menuTool->menu()->tools();
    for (size_t i = 0; i < m_rects.size() && i < size_t(tools.Count()); ++i) {
        if (m_rects[i].contains(pos)) {
            auto t = tools.Item(int32_t(i + 1));
            return t->role() == Tool::Role::Separator ? nullptr : t;
        }
    }
    return nullptr;
}

void MenuPanel::placeBeside(QRect anchor, bool below)
{
    QPoint at = below ? anchor.bottomLeft() + QPoint(0, 1) : anchor.topRight() + QPoint(1, 0);
    QRect bounds;
    if (isWindow()) {
        const QScreen* s = screen();
        bounds = s ? s->availableGeometry() : QRect(at, size());
    } else {
        at = parentWidget()->mapFromGlobal(at);
        bounds = parentWidget()->rect();
    }
    // In view as far as it fits, so that every entry can be reached.
    at.setX(std::max(bounds.left(), std::min(at.x(), bounds.right() + 1 - width())));
    at.setY(std::max(bounds.top(), std::min(at.y(), bounds.bottom() + 1 - height())));
    move(at);
    show();
    raise();
}

void MenuPanel::paintEvent(QPaintEvent*)
{
    const MqZentribar& c = m_editing.control();
    const QPalette& pal = palette();
    QPainter p(this);
    p.fillRect(rect(), pal.color(QPalette::Button));
    p.setPen(pal.color(QPalette::Mid));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    size_t i = 0;
    for (const auto& t : *m_menuTool->menu()->tools()) {
        if (i >= m_rects.size())
            break;
        const QRect r = m_rects[i++];
        if (r.isEmpty())
            continue;
        if (t->role() == Tool::Role::Separator) {
            p.setPen(pal.color(QPalette::Mid));
            p.drawLine(r.left() + kPad, r.center().y(), r.right() - kPad, r.center().y());
            continue;
        }
        const QRect pictureBox(r.left() + kPad, r.top() + kPad, m_pictureColumn, m_pictureColumn);
        if (const forms::Picture pic = t->picture(PictureState::Normal)) {
            const int size = pictureSide(*t, c);
            QRect target(0, 0, size, size);
            target.moveCenter(pictureBox.center());
            p.drawImage(target, ZentribarWidget::toolImage(*pic, t->UseMaskColor()));
        }
        if (t->State() == mqChecked &&
            (t->Type() == mqStateButton || t->Type() == mqDropDownStateButton)) {
            p.setPen(pal.color(QPalette::Dark));
            p.drawRect(pictureBox.adjusted(-1, -1, 0, 0));
        }
        p.setPen(t->Enabled() ? pal.color(QPalette::ButtonText)
                              : pal.color(QPalette::Disabled, QPalette::ButtonText));
        const int textLeft = pictureBox.right() + 1 + kGap;
        p.drawText(QRect(textLeft, r.top(), m_shortcutRight - textLeft, r.height()),
                   Qt::AlignVCenter | Qt::AlignLeft, captionOf(*t));
        p.drawText(QRect(r.left(), r.top(), m_shortcutRight - r.left(), r.height()),
                   Qt::AlignVCenter | Qt::AlignRight, shownShortcut(*t, c));
        if (t->Type() == mqMenu) {
            const QPoint a(r.right() - kArrow / 2, r.center().y());
            const QPoint tri[] = {a + QPoint(-2, -4), a + QPoint(2, 0), a + QPoint(-2, 4)};
            p.setBrush(p.pen().color());
            p.drawPolygon(tri, 3);
            p.setBrush(Qt::NoBrush);
        }
    }
    m_editing.paintMark(p, this);
}

void MenuPanel::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = toolAt(event->position().toPoint());
    m_editing.press(this, event->position().toPoint());
}

void MenuPanel::mouseMoveEvent(QMouseEvent* event)
{
    if (m_editing.move(this, event->position().toPoint()))
        m_pressed.reset();
}

void MenuPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const auto pressed = std::move(m_pressed);
    m_pressed.reset();
    if (event->button() == Qt::LeftButton && pressed &&
        toolAt(event->position().toPoint()) == pressed)
        m_editing.menuEntryClicked(this, pressed);
}

void MenuPanel::contextMenuEvent(QContextMenuEvent* event)
{
    m_editing.contextMenu(this, event->pos(), event->globalPos());
}

void MenuPanel::dragEnterEvent(QDragEnterEvent* event)
{
    m_editing.dragMove(this, event, event->position().toPoint());
}

void MenuPanel::dragMoveEvent(QDragMoveEvent* event)
{
    m_editing.dragMove(this, event, event->position().toPoint());
}

void MenuPanel::dragLeaveEvent(QDragLeaveEvent*)
{
    m_editing.dragLeave(this);
}

void MenuPanel::dropEvent(QDropEvent* event)
{
    m_editing.drop(this, event, event->position().toPoint());
}

}  // namespace toolbar
