#include "platform/toolbar/ZentribarEditing.h"

#include "platform/toolbar/Guarded.h"
#include "platform/toolbar/MenuPanel.h"
#include "platform/toolbar/ZentribarWidget.h"

#include <QApplication>
#include <QDrag>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>

#include <algorithm>

namespace toolbar {

namespace {

// Marks a drag of an entry of this process's control (the text is its ID).
const QString kEntryFormat = QStringLiteral("application/x-zentribar-entry");
constexpr int kMark = 3;   // the insertion mark's thickness

bool isSeparator(const ToolState& s)
{
    return s.role == Tool::Role::Separator;
}

// Whether a separator stands right before the entry at the 1-based index.
bool startsGroup(const Tools& list, int32_t index)
{
    return index > 1 && isSeparator(*list.states()[size_t(index - 2)]);
}

}  // namespace

int32_t dropIndex(const EntryLine& line, QPoint pos)
{
    const int at = line.vertical ? pos.y() : pos.x();
    int32_t last = 0;   // the last shown entry before pos, 1-based
    for (size_t i = 0; i < line.entries.size(); ++i) {
        const QRect& r = line.entries[i];
        if (r.isEmpty())
            continue;
        const int middle = line.vertical ? r.top() + r.height() / 2 : r.left() + r.width() / 2;
        if (at < middle)
            return int32_t(i + 1);
        last = int32_t(i + 1);
    }
    return last > 0 ? last + 1 : int32_t(line.entries.size()) + 1;
}

QRect insertionMark(const EntryLine& line, int32_t index)
{
    const size_t at = std::clamp<size_t>(size_t(std::max(index, 1) - 1), 0, line.entries.size());
    const QRect* before = nullptr;   // the shown entry the new one goes before
    for (size_t i = at; i < line.entries.size() && !before; ++i)
        before = line.entries[i].isEmpty() ? nullptr : &line.entries[i];
    const QRect* after = nullptr;    // ... or the one it follows
    for (size_t i = at; i-- > 0 && !after;)
        after = line.entries[i].isEmpty() ? nullptr : &line.entries[i];
    const QRect across = before ? *before : after ? *after : line.area.adjusted(2, 2, -2, -2);
    if (line.vertical) {
        const int y = before ? before->top() - 2 : after ? after->bottom() : across.top() + 2;
        return QRect(across.left(), y, across.width(), kMark);
    }
    const int x = before ? before->left() - 2 : after ? after->right() : across.left() + 2;
    return QRect(x, across.top(), kMark, across.height());
}

ZentribarEditing::ZentribarEditing(ZentribarWidget& widget) : m_widget(widget)
{
    m_viewConnection = control().ViewChanged.connect([this] { scheduleMenuRefresh(); });
}

ZentribarEditing::~ZentribarEditing()
{
    control().ViewChanged.disconnect(m_viewConnection);
    for (const auto& panel : m_menus)
        delete panel.data();
}

MqZentribar& ZentribarEditing::control() const
{
    return *m_widget.control();
}

EntryLine ZentribarEditing::lineAt(QWidget* surface, QPoint pos) const
{
    if (auto* panel = dynamic_cast<MenuPanel*>(surface))
        return panel->rect().contains(pos) ? panel->line() : EntryLine{};
    const auto bar = surface == &m_widget ? m_widget.toolbarAt(pos) : nullptr;
    if (!bar)
        return {};
    const DockArea area = bar->dockArea();
    return {bar->tools(), area == DockArea::Left || area == DockArea::Right,
            m_widget.toolbarRect(bar->Name()), m_widget.entryRects(bar->Name())};
}

std::shared_ptr<ToolState> ZentribarEditing::entryAt(QWidget* surface, QPoint pos) const
{
    const EntryLine line = lineAt(surface, pos);
    for (size_t i = 0; i < line.entries.size(); ++i) {
        if (line.entries[i].contains(pos))
            return line.list->states()[i];
    }
    return nullptr;
}

bool ZentribarEditing::ownEntryIn(const QMimeData* mime) const
{
    return m_dragEntry && mime && mime->hasFormat(kEntryFormat);
}

// The tool whose ID is the dragged text; null for any other text.
std::shared_ptr<ToolState> ZentribarEditing::definitionOf(const QMimeData* mime) const
{
    if (!mime || !mime->hasText())
        return nullptr;
    const QString id = mime->text().trimmed();
    const auto tool = id.isEmpty() ? nullptr : control().tools()->find(id);
    return tool ? tool->state() : nullptr;
}

ZentribarEditing::Target ZentribarEditing::targetOf(QWidget* surface, const QDropEvent& event,
                                                    QPoint pos) const
{
    Target t;
    t.own = ownEntryIn(event.mimeData());
    const auto definition = t.own ? nullptr : definitionOf(event.mimeData());
    t.acceptable = control().configMode() && (t.own || definition);
    if (!t.acceptable)
        return t;
    t.line = lineAt(surface, pos);
    t.copy = t.own && (event.modifiers() & Qt::ControlModifier);
    if (!t.line.list)
        return t;
    if (t.own) {
        t.allowed = isSeparator(*m_dragEntry) ||
                    (!t.copy && m_dragEntry->owner.lock() == t.line.list) ||
                    t.line.list->canHold(*m_dragEntry->definition);
    } else {
        t.definitionId = definition->shared().id;
        t.allowed = t.line.list->canHold(*definition);
    }
    t.index = dropIndex(t.line, pos);
    return t;
}

void ZentribarEditing::dragMove(QWidget* surface, QDragMoveEvent* event, QPoint pos)
{
    const Target t = targetOf(surface, *event, pos);
    if (t.own)
        m_dragOverLine = t.line.list != nullptr;
    if (!t.allowed) {
        setMark(nullptr, {});
        // Something that may go elsewhere keeps the moves coming.
        if (event->type() == QEvent::DragEnter && t.acceptable)
            event->accept();
        else
            event->ignore();
        return;
    }
    setMark(surface, insertionMark(t.line, t.index));
    event->setDropAction(t.own && !t.copy ? Qt::MoveAction : Qt::CopyAction);
    event->accept();
}

void ZentribarEditing::dragLeave(QWidget* surface)
{
    if (surface == m_markSurface)
        setMark(nullptr, {});
    m_dragOverLine = false;
}

void ZentribarEditing::drop(QWidget* surface, QDropEvent* event, QPoint pos)
{
    setMark(nullptr, {});
    const Target t = targetOf(surface, *event, pos);
    bool placed = false;
    if (t.allowed) {
        guarded([&] {
            if (t.own)
                t.line.list->placeEntry(m_dragEntry, t.index, t.copy);
            else
                t.line.list->Add(t.definitionId, std::nullopt, t.index);
            placed = true;
        });
    }
    if (!placed)
        return event->ignore();
    event->setDropAction(t.own && !t.copy ? Qt::MoveAction : Qt::CopyAction);
    event->accept();
}

void ZentribarEditing::setMark(QWidget* surface, QRect mark)
{
    if (m_markSurface == surface && m_mark == mark)
        return;
    const auto repaint = [this](QWidget* w) {
        if (w == &m_widget)
            m_widget.repaintViews();
        else if (w)
            w->update();
    };
    repaint(m_markSurface);
    m_markSurface = surface;
    m_mark = surface ? mark : QRect();
    repaint(m_markSurface);
}

void ZentribarEditing::paintMark(QPainter& p, const QWidget* surface) const
{
    if (surface == m_markSurface && !m_mark.isEmpty())
        p.fillRect(m_mark, m_widget.palette().color(QPalette::Text));
}

void ZentribarEditing::press(QWidget* surface, QPoint pos)
{
    m_pressEntry = control().configMode() ? entryAt(surface, pos) : nullptr;
    m_pressSurface = surface;
    m_pressPos = pos;
}

bool ZentribarEditing::move(QWidget* surface, QPoint pos)
{
    if (!m_pressEntry || surface != m_pressSurface ||
        (pos - m_pressPos).manhattanLength() < QApplication::startDragDistance())
        return false;
    runEntryDrag();
    return true;
}

void ZentribarEditing::runEntryDrag()
{
    const auto entry = std::move(m_pressEntry);
    m_pressEntry.reset();
    auto* mime = new QMimeData;
    mime->setData(kEntryFormat, QByteArray());
    if (!isSeparator(*entry))
        mime->setText(entry->shared().id);
    // Owned by the widget: an open menu it started from may close meanwhile.
    auto* drag = new QDrag(&m_widget);
    drag->setMimeData(mime);
    m_dragEntry = entry;
    m_dragOverLine = false;
    const Qt::DropAction done = drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
    m_dragEntry.reset();
    setMark(nullptr, {});
    // Dropped outside every toolbar and menu: the entry goes (a copy does not).
    const bool copy = QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier;
    const auto list = entry->owner.lock();
    if (done == Qt::IgnoreAction && !m_dragOverLine && !copy && list) {
        guarded([&] { list->Remove(rt::Variant(list->indexOf(entry.get()))); });
    }
}

bool ZentribarEditing::addEntryActions(QMenu& menu, QWidget* surface, QPoint pos)
{
    if (!control().configMode())
        return false;
    const auto state = entryAt(surface, pos);
    if (!state || state->role != Tool::Role::Entry)
        return false;
    const auto list = state->owner.lock();
    const int32_t index = list->indexOf(state.get());
    QAction* group = menu.addAction(QStringLiteral("Begin a &Group"));
    group->setCheckable(true);
    group->setEnabled(index > 1);
    group->setChecked(startsGroup(*list, index));
    const std::weak_ptr<ToolState> entry = state;
    connect(group, &QAction::triggered, this, [this, entry](bool on) {
        if (const auto s = entry.lock())
            guarded([&] { setGroupStart(Tool::of(s), on); });
    });
    return true;
}

void ZentribarEditing::contextMenu(QWidget* surface, QPoint pos, QPoint globalPos)
{
    QMenu menu(surface);
    if (addEntryActions(menu, surface, pos))
        menu.exec(globalPos);
}

void ZentribarEditing::setGroupStart(const std::shared_ptr<Tool>& entry, bool on)
{
    const auto list = entry->state()->owner.lock();
    if (!list || entry->role() != Tool::Role::Entry)
        return;
    const int32_t index = list->indexOf(entry->state().get());
    const bool grouped = startsGroup(*list, index);
    if (on && !grouped && index > 1)
        list->Add(QString(), mqSeparator, index);
    else if (!on && grouped)
        list->Remove(rt::Variant(index - 1));
}

// ---- menus ------------------------------------------------------------------

void ZentribarEditing::menuToolClicked(const std::shared_ptr<Tool>& menuTool)
{
    const bool wasOpen = !m_menus.empty() && m_menus[0] && m_menus[0]->isVisible() &&
                         m_menus[0]->menuTool() == menuTool;
    closeMenus();
    guarded([&] { control().clickTool(menuTool); });
    if (!wasOpen)
        openMenu(menuTool, 0);
}

void ZentribarEditing::menuEntryClicked(MenuPanel* panel, const std::shared_ptr<Tool>& entry)
{
    const size_t depth = panel->depth() + 1;
    const bool wasOpen = m_menus.size() > depth && m_menus[depth] &&
                         m_menus[depth]->isVisible() && m_menus[depth]->menuTool() == entry;
    guarded([&] { control().clickTool(entry); });
    if (entry->Type() == mqMenu) {
        closeMenus(depth);
        if (!wasOpen)
            openMenu(entry, depth);
    } else {
        closeMenus(control().configMode() ? depth : 0);
    }
}

void ZentribarEditing::openMenu(const std::shared_ptr<Tool>& menuTool, size_t depth)
{
    // In configuration mode the menu stays open beside the toolbars, so that
    // tools can be dragged into it from elsewhere; otherwise it is a pop-up.
    const bool popup = !control().configMode();
    QWidget* host = m_widget.parentWidget() ? m_widget.parentWidget() : &m_widget;
    auto* panel = new MenuPanel(*this, menuTool, depth, popup, popup ? &m_widget : host);
    closeMenus(depth);
    m_menus.emplace_back(panel);
    if (!placeMenu(*panel))
        closeMenus(depth);
}

bool ZentribarEditing::placeMenu(MenuPanel& panel) const
{
    const auto& tool = panel.menuTool();
    if (tool->Type() != mqMenu)
        return false;
    QRect anchor;
    bool below = false;
    if (panel.depth() == 0) {
        const auto bar = tool->toolbar();
        if (!bar)
            return false;
        const QRect r = m_widget.toolRect(bar->Name(), tool->Index());
        anchor = QRect(m_widget.mapToGlobal(r.topLeft()), r.size());
        below = bar->dockArea() != DockArea::Left && bar->dockArea() != DockArea::Right;
    } else {
        const MenuPanel* parent = m_menus[panel.depth() - 1];
        const QRect r = parent ? parent->entryRect(tool) : QRect();
        anchor = r.isEmpty() ? QRect() : QRect(parent->mapToGlobal(r.topLeft()), r.size());
    }
    if (anchor.isEmpty())
        return false;
    panel.placeBeside(anchor, below);
    return true;
}

void ZentribarEditing::closeMenus(size_t fromDepth)
{
    while (m_menus.size() > fromDepth) {
        if (MenuPanel* panel = m_menus.back()) {
            panel->hide();
            panel->deleteLater();
        }
        m_menus.pop_back();
    }
}

std::vector<MenuPanel*> ZentribarEditing::openMenus() const
{
    std::vector<MenuPanel*> open;
    for (const auto& panel : m_menus) {
        if (panel && panel->isVisible())
            open.push_back(panel);
    }
    return open;
}

void ZentribarEditing::scheduleMenuRefresh()
{
    if (m_menuRefreshPending || m_menus.empty())
        return;
    m_menuRefreshPending = true;
    QMetaObject::invokeMethod(this, [this] { refreshMenus(); }, Qt::QueuedConnection);
}

// After a change of the model: each open menu shows its entries again, beside
// its menu tool where that is now; a menu whose tool went closes.
void ZentribarEditing::refreshMenus()
{
    m_menuRefreshPending = false;
    for (size_t depth = 0; depth < m_menus.size(); ++depth) {
        MenuPanel* panel = m_menus[depth];
        if (!panel || !panel->isVisible()) {
            closeMenus(depth);
            return;
        }
        panel->relayout();
        if (!placeMenu(*panel)) {
            closeMenus(depth);
            return;
        }
    }
}

}  // namespace toolbar
