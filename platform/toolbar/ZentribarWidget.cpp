#include "platform/toolbar/ZentribarWidget.h"

#include "platform/toolbar/Guarded.h"
#include "platform/toolbar/ZentribarEditing.h"

#include <QContextMenuEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace toolbar {

Q_LOGGING_CATEGORY(lcToolbarView, "bw.toolbar.view", QtInfoMsg)

namespace {

constexpr int kPad = ToolbarLayout::kPad;
constexpr int kTitle = ToolbarLayout::kTitle;
constexpr int kDockSnap = 24;    // a drop this close to an edge docks there

// System colours 0x800000nn to palette roles; colour references as they are.
QColor colorOf(int32_t value, const QPalette& pal)
{
    const uint32_t u = uint32_t(value);
    if ((u & 0xFFFFFF00u) == 0x80000000u) {
        switch (u & 0xFF) {
        case 5: return pal.color(QPalette::Base);
        case 8: return pal.color(QPalette::Text);
        case 15: return pal.color(QPalette::Button);
        case 17: return pal.color(QPalette::Disabled, QPalette::Text);
        default: return pal.color(QPalette::ButtonText);
        }
    }
    return QColor(int(u & 0xFF), int((u >> 8) & 0xFF), int((u >> 16) & 0xFF));
}

}  // namespace

// A floating toolbar's own widget, beside the control's widget in the same
// parent and raised above the other controls there, as a floating toolbar
// window is. The control's widget lays it out, draws it and takes its mouse.
class ZentribarWidget::FloatingView final : public QWidget {
public:
    FloatingView(ZentribarWidget* owner, QWidget* parent) : QWidget(parent), m_owner(owner)
    {
        setAcceptDrops(true);
    }

    std::shared_ptr<Toolbar> bar;

protected:
    void paintEvent(QPaintEvent*) override
    {
        m_owner->ensureLayout();
        for (const auto& item : m_owner->m_bars) {
            if (item.bar == bar && bar->dockArea() == DockArea::Floating) {
                QPainter p(this);
                p.translate(-item.rect.topLeft());
                m_owner->paintBar(p, item);
                m_owner->m_editing->paintMark(p, m_owner);
            }
        }
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            m_owner->pressAt(ownerPos(event->position()));
    }
    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (m_owner->m_editing->move(m_owner, ownerPos(event->position())))
            m_owner->m_pressedTool.reset();
        event->accept();
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            m_owner->releaseAt(ownerPos(event->position()));
    }
    void contextMenuEvent(QContextMenuEvent* event) override
    {
        m_owner->showToolbarMenu(ownerPos(event->pos()), event->globalPos());
    }
    // Drops on a floating toolbar are the owner's, in its coordinates.
    void dragEnterEvent(QDragEnterEvent* event) override { dragMoveEvent(event); }
    void dragMoveEvent(QDragMoveEvent* event) override
    {
        m_owner->m_editing->dragMove(m_owner, event, ownerPos(event->position()));
    }
    void dragLeaveEvent(QDragLeaveEvent*) override { m_owner->m_editing->dragLeave(m_owner); }
    void dropEvent(QDropEvent* event) override
    {
        m_owner->m_editing->drop(m_owner, event, ownerPos(event->position()));
    }
    bool event(QEvent* event) override
    {
        if (event->type() != QEvent::ToolTip)
            return QWidget::event(event);
        const auto* help = static_cast<QHelpEvent*>(event);
        m_owner->showToolTip(m_owner->mapFromGlobal(help->globalPos()), help->globalPos(), this);
        return true;
    }

private:
    QPoint ownerPos(QPointF local) const
    {
        return m_owner->mapFromGlobal(mapToGlobal(local.toPoint()));
    }

    ZentribarWidget* m_owner;
};

ZentribarWidget::ZentribarWidget(std::shared_ptr<MqZentribar> control, QWidget* parent)
    : QWidget(parent), m_control(std::move(control))
{
    setMouseTracking(false);
    // The free area shows what lies beneath the control, as a form's own
    // area does beside its docked toolbars.
    setAutoFillBackground(false);
    setAcceptDrops(true);
    m_viewConnection = m_control->ViewChanged.connect([this] { scheduleLayout(); });
    m_editing = std::make_unique<ZentribarEditing>(*this);
}

ZentribarWidget::~ZentribarWidget()
{
    m_editing.reset();
    m_control->ViewChanged.disconnect(m_viewConnection);
    for (const auto& view : m_floatingViews)
        delete view.data();
}

QImage ZentribarWidget::toolImage(const forms::StdPicture& picture, bool useMask)
{
    const QImage source = picture.toImage();
    if (source.isNull())
        return {};
    // The stored picture is W x (H + 1): the bottom row carries the mask
    // colour in its first pixel and is not part of the image.
    const int w = source.width();
    const int size = std::clamp(w, 16, 32);
    const int h = source.height() > size ? source.height() - 1 : source.height();
    const QRgb mask = source.pixel(0, source.height() - 1);
    QImage image = source.copy(0, 0, w, h).convertToFormat(QImage::Format_ARGB32);
    if (useMask) {
        for (int y = 0; y < h; ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < w; ++x) {
                if ((line[x] & 0xFFFFFF) == (mask & 0xFFFFFF))
                    line[x] = 0;
            }
        }
    }
    return image;
}

QImage ZentribarWidget::cachedImage(const forms::Picture& picture, bool useMask)
{
    const auto key = std::make_pair(static_cast<const forms::StdPicture*>(picture.get()), useMask);
    const auto it = m_images.constFind(key);
    if (it != m_images.cend())
        return *it;
    const QImage image = toolImage(*picture, useMask);
    m_images.insert(key, image);
    return image;
}

void ZentribarWidget::scheduleLayout()
{
    m_layoutDirty = true;
    update();
}

void ZentribarWidget::ensureLayout() const
{
    // A hidden widget learns of a resize only when shown.
    if (m_layoutDirty || m_layoutArea != rect())
        const_cast<ZentribarWidget*>(this)->layoutNow();
}

void ZentribarWidget::layoutNow()
{
    m_layoutDirty = false;
    m_images.clear();
    m_layoutArea = rect();
    ToolbarLayout layout(*m_control, fontMetrics(), m_layoutArea);
    m_bars = std::move(layout.bars());
    m_free = layout.freeArea();
    scheduleFloatingViews();
}

QRect ZentribarWidget::freeArea() const
{
    ensureLayout();
    return m_free;
}

QSize ZentribarWidget::sizeHint() const
{
    return {480, 240};
}

void ZentribarWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_layoutDirty = true;
    scheduleFloatingViews();
}

void ZentribarWidget::moveEvent(QMoveEvent* event)
{
    QWidget::moveEvent(event);
    scheduleFloatingViews();
}

void ZentribarWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    scheduleFloatingViews();
}

void ZentribarWidget::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    scheduleFloatingViews();
}

void ZentribarWidget::scheduleFloatingViews()
{
    if (m_floatingViewsPending)
        return;
    m_floatingViewsPending = true;
    QMetaObject::invokeMethod(this, [this] { updateFloatingViews(); }, Qt::QueuedConnection);
}

void ZentribarWidget::updateFloatingViews()
{
    ensureLayout();
    m_floatingViewsPending = false;
    QWidget* host = parentWidget() ? parentWidget() : this;
    const QPoint origin = host == this ? QPoint(0, 0) : pos();
    size_t n = 0;
    for (const auto& item : m_bars) {
        if (item.bar->dockArea() != DockArea::Floating)
            continue;
        if (n == m_floatingViews.size())
            m_floatingViews.emplace_back();
        auto& view = m_floatingViews[n++];
        if (!view)
            view = new FloatingView(this, host);
        view->bar = item.bar;
        view->setFont(font());
        view->setGeometry(item.rect.translated(origin));
        view->setVisible(!isHidden());
        view->raise();
        view->update();
    }
    for (; n < m_floatingViews.size(); ++n) {
        if (const auto& view = m_floatingViews[n]) {
            view->hide();
            view->bar.reset();
        }
    }
    if (m_free != m_announcedFree) {
        m_announcedFree = m_free;
        Q_EMIT freeAreaChanged();
    }
}

const BarItem* ZentribarWidget::barItem(const QString& name) const
{
    ensureLayout();
    for (const auto& item : m_bars) {
        if (item.bar->Name().compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return &item;
    }
    return nullptr;
}

const BarItem* ZentribarWidget::barAt(QPoint pos) const
{
    ensureLayout();
    for (auto it = m_bars.rbegin(); it != m_bars.rend(); ++it) {   // floating ones on top
        if (it->rect.contains(pos))
            return &*it;
    }
    return nullptr;
}

QRect ZentribarWidget::toolbarRect(const QString& name) const
{
    const BarItem* item = barItem(name);
    return item ? item->rect : QRect();
}

QRect ZentribarWidget::toolRect(const QString& name, int32_t index) const
{
    const BarItem* item = barItem(name);
    if (!item || index < 1 || index > item->bar->tools()->Count())
        return {};
    const auto tool = item->bar->tools()->Item(index);
    for (const auto& t : item->tools) {
        if (t.tool == tool)
            return t.rect;
    }
    return {};
}

const ToolItem* ZentribarWidget::toolItemAt(QPoint pos) const
{
    const BarItem* item = barAt(pos);
    if (!item)
        return nullptr;
    for (const auto& t : item->tools) {
        if (t.rect.contains(pos) && t.tool->role() != Tool::Role::Separator)
            return &t;
    }
    return nullptr;
}

std::shared_ptr<Tool> ZentribarWidget::toolAt(QPoint pos) const
{
    const ToolItem* item = toolItemAt(pos);
    return item ? item->tool : nullptr;
}

QRect ZentribarWidget::moreToolsRect(const QString& name) const
{
    const BarItem* item = barItem(name);
    return item ? item->moreTools : QRect();
}

bool ZentribarWidget::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    showToolTip(help->pos(), help->globalPos(), this);
    return true;
}

void ZentribarWidget::showToolTip(QPoint pos, QPoint globalPos, QWidget* over)
{
    if (!m_control->ShowTooltips()) {
        QToolTip::hideText();
        return;
    }
    const ToolItem* found = toolItemAt(pos);
    if (!found) {
        QToolTip::hideText();
        return;
    }
    const Tool& t = *found->tool;
    QString tip = t.TooltipText().isEmpty() ? captionOf(t) : t.TooltipText();
    const QString keys = shownShortcut(t, *m_control);
    if (!keys.isEmpty())
        tip += QStringLiteral(" (") + keys + QLatin1Char(')');
    // Shown while the pointer stays over the tool.
    const QRect area(over->mapFromGlobal(mapToGlobal(found->rect.topLeft())), found->rect.size());
    QToolTip::showText(globalPos, tip, over, area);
}

std::shared_ptr<Toolbar> ZentribarWidget::toolbarAt(QPoint pos) const
{
    const BarItem* item = barAt(pos);
    return item ? item->bar : nullptr;
}

std::vector<QRect> ZentribarWidget::entryRects(const QString& name) const
{
    const BarItem* item = barItem(name);
    if (!item)
        return {};
    std::vector<QRect> rects;
    auto shown = item->tools.begin();   // the shown ones, in the same order
    for (const auto& state : item->bar->tools()->states()) {
        const bool here = shown != item->tools.end() && shown->tool->state() == state;
        rects.push_back(here ? (shown++)->rect : QRect());
    }
    return rects;
}

void ZentribarWidget::repaintViews()
{
    update();
    for (const auto& view : m_floatingViews) {
        if (view)
            view->update();
    }
}

void ZentribarWidget::paintEvent(QPaintEvent*)
{
    ensureLayout();
    QPainter p(this);
    if (m_control->Visible()) {
        const QRegion docks = QRegion(rect()).subtracted(m_free);
        for (const QRect& r : docks)
            p.fillRect(r, palette().color(QPalette::Window));
    }
    for (const auto& item : m_bars) {
        if (item.bar->dockArea() != DockArea::Floating)   // drawn by its own view
            paintBar(p, item);
    }
    m_editing->paintMark(p, this);
}

void ZentribarWidget::paintBar(QPainter& p, const BarItem& item)
{
    const QPalette& pal = palette();
    const Toolbar& bar = *item.bar;
    p.fillRect(item.rect, pal.color(QPalette::Button));
    p.setPen(pal.color(QPalette::Mid));
    p.drawRect(item.rect.adjusted(0, 0, -1, -1));
    if (bar.dockArea() == DockArea::Floating) {
        p.fillRect(item.grip, pal.color(QPalette::Highlight));
        p.setPen(pal.color(QPalette::HighlightedText));
        p.drawText(item.grip.adjusted(3, 0, -kTitle, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   displayText(bar.Name()));
        if (!item.closeBox.isEmpty()) {
            p.drawLine(item.closeBox.topLeft(), item.closeBox.bottomRight());
            p.drawLine(item.closeBox.topRight(), item.closeBox.bottomLeft());
        }
    } else if (bar.DisplayGrabHandles() && bar.Style() != 1) {
        p.setPen(pal.color(QPalette::Dark));
        const QRect g = item.grip.adjusted(2, 3, -2, -3);
        for (int k = 0; k < 2; ++k) {
            if (item.vertical)
                p.drawLine(g.left(), g.top() + 2 * k, g.right(), g.top() + 2 * k);
            else
                p.drawLine(g.left() + 2 * k, g.top(), g.left() + 2 * k, g.bottom());
        }
    }
    for (const auto& t : item.tools)
        paintTool(p, bar, t);
    if (!item.moreTools.isEmpty()) {   // a chevron pointing along the toolbar
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(pal.color(QPalette::ButtonText));
        const QPoint c = item.moreTools.center();
        for (int k = 0; k < 2; ++k) {
            const int d = 4 * k - 3;
            if (item.vertical) {
                p.drawLine(c + QPoint(-3, d), c + QPoint(0, d + 3));
                p.drawLine(c + QPoint(0, d + 3), c + QPoint(3, d));
            } else {
                p.drawLine(c + QPoint(d, -3), c + QPoint(d + 3, 0));
                p.drawLine(c + QPoint(d + 3, 0), c + QPoint(d, 3));
            }
        }
        p.restore();
    }
}

void ZentribarWidget::paintTool(QPainter& p, const Toolbar& bar, const ToolItem& item)
{
    const QPalette& pal = palette();
    const Tool& t = *item.tool;
    const QRect r = item.rect;
    if (t.role() == Tool::Role::Separator) {
        p.setPen(pal.color(QPalette::Mid));
        if (r.width() > r.height())
            p.drawLine(r.left() + 2, r.center().y(), r.right() - 2, r.center().y());
        else
            p.drawLine(r.center().x(), r.top() + 2, r.center().x(), r.bottom() - 2);
        return;
    }
    const bool enabled = t.Enabled();
    const bool checked = t.State() == mqChecked &&
                         (t.Type() == mqStateButton || t.Type() == mqDropDownStateButton);
    const QColor text = !enabled ? pal.color(QPalette::Disabled, QPalette::ButtonText)
                        : t.ForecolorSource() == 1 ? colorOf(t.Forecolor(), pal)
                                                   : pal.color(QPalette::ButtonText);
    const QString caption = captionOf(t);
    if (bar.Style() == 1) {
        p.setPen(text);
        p.drawText(r, Qt::AlignCenter, caption);
        return;
    }
    const int16_t type = t.Type();
    if (type == mqComboBox || type == mqEdit) {
        const QRect box = r.adjusted(1, 2, -1, -2);
        p.fillRect(box, pal.color(QPalette::Base));
        p.setPen(pal.color(QPalette::Mid));
        p.drawRect(box.adjusted(0, 0, -1, -1));
        QString value = type == mqComboBox ? t.comboBox()->Text() : t.edit()->Text();
        if (type == mqEdit && !t.edit()->PasswordChar().isEmpty())
            value = QString(value.size(), t.edit()->PasswordChar().at(0));
        p.setPen(text);
        const int arrow = type == mqComboBox ? 12 : 0;
        p.drawText(box.adjusted(3, 0, -arrow - 2, 0), Qt::AlignVCenter | Qt::AlignLeft, value);
        if (arrow) {
            const QRect a(box.right() - arrow, box.top(), arrow, box.height());
            p.fillRect(a.adjusted(1, 1, 0, -1), pal.color(QPalette::Button));
            const QPoint c = a.center();
            const QPoint tri[] = {c + QPoint(-3, -1), c + QPoint(3, -1), c + QPoint(0, 2)};
            p.setBrush(text);
            p.drawPolygon(tri, 3);
            p.setBrush(Qt::NoBrush);
        }
        return;
    }
    if (checked) {
        p.fillRect(r, pal.color(QPalette::Midlight));
        p.setPen(pal.color(QPalette::Dark));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
    QRect content = r.adjusted(kPad, kPad, -kPad, -kPad);
    if (type == mqDropDown || type == mqDropDownStateButton || type == mqMenu) {
        const QPoint c(content.right() - 4, content.center().y());
        const QPoint tri[] = {c + QPoint(-3, -1), c + QPoint(3, -1), c + QPoint(0, 2)};
        p.setPen(text);
        p.setBrush(text);
        p.drawPolygon(tri, 3);
        p.setBrush(Qt::NoBrush);
        content.setRight(content.right() - 10);
    }
    QRect textRect = content;
    if (showsImage(t) && type != mqLabel) {
        PictureState state = checked ? PictureState::Pressed : PictureState::Normal;
        if (!enabled)
            state = checked ? PictureState::DisabledPressed : PictureState::Disabled;
        forms::Picture pic = t.picture(state);
        if (!pic && checked && enabled)
            pic = t.picture(PictureState::Normal);
        bool grey = false;
        if (!pic) {
            pic = t.picture(PictureState::Normal);
            grey = !enabled;
        }
        const int size = pictureSide(t, *m_control);
        QRect imageRect(content.topLeft(), QSize(size, size));
        const bool withText = showsText(t);
        if (withText) {
            switch (bar.CaptionAlignment()) {
            case 0:   // text above the image
                imageRect.moveBottom(content.bottom());
                textRect.setBottom(imageRect.top() - 2);
                break;
            case 1:
                textRect.setTop(imageRect.bottom() + 2);
                break;
            case 2:
                imageRect.moveRight(content.right());
                textRect.setRight(imageRect.left() - 4);
                break;
            default:
                textRect.setLeft(imageRect.right() + 4);
                break;
            }
            if (bar.CaptionAlignment() <= 1)
                imageRect.moveLeft(content.center().x() - size / 2);
        } else {
            imageRect.moveCenter(content.center());
        }
        QImage image = cachedImage(pic, t.UseMaskColor());
        if (grey) {   // grey, with the transparency of the picture it comes from
            QImage greyed = image.convertToFormat(QImage::Format_Grayscale8)
                                .convertToFormat(QImage::Format_ARGB32);
            greyed.setAlphaChannel(image.convertToFormat(QImage::Format_Alpha8));
            image = std::move(greyed);
        }
        p.drawImage(imageRect, image);
        if (!withText)
            return;
    }
    p.setPen(text);
    p.drawText(textRect, Qt::AlignCenter, caption);
}

void ZentribarWidget::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        pressAt(event->position().toPoint());
}

void ZentribarWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (m_editing->move(this, event->position().toPoint()))
        m_pressedTool.reset();   // the press began a drag of the entry
    else if (m_dragBar)
        event->accept();
}

void ZentribarWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        releaseAt(event->position().toPoint());
}

void ZentribarWidget::pressAt(QPoint pos)
{
    m_editing->press(this, pos);
    const BarItem* item = barAt(pos);
    if (!item)
        return;
    if (!item->closeBox.isEmpty() && item->closeBox.contains(pos)) {
        const QString name = item->bar->Name();
        guarded([&] { setToolbarShown(name, false); });
        return;
    }
    if (item->grip.contains(pos) && !(item->bar->DockingFlags() & mqLocked)) {
        const auto bar = item->bar;
        const QPoint offset = pos - item->rect.topLeft();
        guarded([&] { beginDrag(bar, pos, offset); });
        return;
    }
    if (item->moreTools.contains(pos)) {
        showMoreTools(*item);
        return;
    }
    m_pressedTool = toolAt(pos);
}

void ZentribarWidget::releaseAt(QPoint pos)
{
    if (m_dragBar) {
        guarded([&] { endDrag(pos); });
        return;
    }
    const auto pressed = std::move(m_pressedTool);
    m_pressedTool.reset();
    if (!pressed || toolAt(pos) != pressed) {
        if (!pressed)
            m_editing->closeMenus();   // a click beside the tools
        return;
    }
    if (pressed->Type() == mqMenu) {
        m_editing->menuToolClicked(pressed);
        return;
    }
    m_editing->closeMenus();
    guarded([&] { m_control->clickTool(pressed); });
}

void ZentribarWidget::showMoreTools(const BarItem& item)
{
    // The entries past the end of the toolbar, as a menu below the button.
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const auto& entry : item.hidden) {
        if (entry->role() == Tool::Role::Separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(captionOf(*entry));
        if (const forms::Picture pic = entry->picture(PictureState::Normal); pic && showsImage(*entry))
            action->setIcon(QPixmap::fromImage(cachedImage(pic, entry->UseMaskColor())));
        action->setEnabled(entry->Enabled() || m_control->configMode());
        const std::weak_ptr<Tool> weak = entry;
        connect(action, &QAction::triggered, this, [this, weak] {
            if (const auto tool = weak.lock())
                guarded([&] { m_control->clickTool(tool); });
        });
    }
    const QRect r = item.moreTools;
    menu->popup(mapToGlobal(item.vertical ? r.topRight() + QPoint(1, 0)
                                          : r.bottomLeft() + QPoint(0, 1)));
}

void ZentribarWidget::contextMenuEvent(QContextMenuEvent* event)
{
    showToolbarMenu(event->pos(), event->globalPos());
}

void ZentribarWidget::dragEnterEvent(QDragEnterEvent* event)
{
    m_editing->dragMove(this, event, event->position().toPoint());
}

void ZentribarWidget::dragMoveEvent(QDragMoveEvent* event)
{
    m_editing->dragMove(this, event, event->position().toPoint());
}

void ZentribarWidget::dragLeaveEvent(QDragLeaveEvent*)
{
    m_editing->dragLeave(this);
}

void ZentribarWidget::dropEvent(QDropEvent* event)
{
    m_editing->drop(this, event, event->position().toPoint());
}

void ZentribarWidget::showToolbarMenu(QPoint pos, QPoint globalPos)
{
    QMenu menu(this);
    // An entry's own commands first (configuration mode), then the toolbars.
    if (m_editing->addEntryActions(menu, this, pos))
        menu.addSeparator();
    for (const auto& bar : *m_control->toolbars()) {
        if (bar->Style() == 1)
            continue;
        QAction* action = menu.addAction(displayText(bar->Name()));
        action->setCheckable(true);
        action->setChecked(bar->Visible());
        action->setEnabled(!bar->Visible() || bar->AllowHiding());
        const QString name = bar->Name();
        connect(action, &QAction::toggled, this, [this, name](bool on) {
            guarded([&] { setToolbarShown(name, on); });
        });
    }
    if (!menu.isEmpty())
        menu.exec(globalPos);
}

void ZentribarWidget::setToolbarShown(const QString& name, bool shown)
{
    const auto bar = m_control->toolbars()->Item(name);
    if (!shown && !bar->AllowHiding())
        return;
    bar->setVisible(shown);   // raises 3 or 0
}

void ZentribarWidget::beginDrag(const std::shared_ptr<Toolbar>& bar, QPoint, QPoint grabOffset)
{
    m_dragBar = bar;
    m_dragOffset = grabOffset;
    m_control->raise(change::DragBegins, bar, nullptr);
}

void ZentribarWidget::endDrag(QPoint at)
{
    const auto bar = std::move(m_dragBar);
    m_dragBar.reset();
    if (!bar)
        return;
    ensureLayout();
    const int flags = bar->DockingFlags();
    const QPoint topLeft = at - m_dragOffset;
    DockArea area = bar->dockArea();
    if (at.y() < kDockSnap && (flags & mqDockTop))
        area = DockArea::Top;
    else if (at.y() > height() - kDockSnap && (flags & mqDockBottom))
        area = DockArea::Bottom;
    else if (at.x() < kDockSnap && (flags & mqDockLeft))
        area = DockArea::Left;
    else if (at.x() > width() - kDockSnap && (flags & mqDockRight))
        area = DockArea::Right;
    else if (flags & mqFloating)
        area = DockArea::Floating;
    if (bar->Style() == 1 && area == DockArea::Floating)
        area = bar->dockArea();   // the menu bar stays docked
    int16_t row = 0;
    int32_t offset = 0;
    int32_t left = bar->positionState(4), top = bar->positionState(5);
    const QRect current = toolbarRect(bar->Name());
    const int rowThickness = std::max(current.height(), 8);
    switch (area) {
    case DockArea::Top: row = int16_t(std::max(0, at.y()) / rowThickness); break;
    case DockArea::Bottom: row = int16_t(std::max(0, height() - at.y()) / rowThickness); break;
    case DockArea::Left: row = int16_t(std::max(0, at.x()) / rowThickness); break;
    case DockArea::Right: row = int16_t(std::max(0, width() - at.x()) / rowThickness); break;
    case DockArea::Floating:
        left = topLeft.x();
        top = topLeft.y();
        break;
    }
    if (area != DockArea::Floating) {
        // A drop past the last row of the area opens one new row there.
        std::vector<int16_t> rows;
        for (const auto& other : *m_control->toolbars()) {
            if (other != bar && other->Visible() && other->dockArea() == area &&
                std::find(rows.begin(), rows.end(), other->PositionState2()) == rows.end())
                rows.push_back(other->PositionState2());
        }
        row = std::min<int16_t>(row, int16_t(rows.size()));
        offset = area == DockArea::Left || area == DockArea::Right ? topLeft.y() : topLeft.x();
    }
    bar->moveTo(area, row, offset, left, top);
    m_control->raise(change::DragEnds, bar, nullptr);
}

void ZentribarWidget::dragToolbar(const QString& name, QPoint to)
{
    const auto bar = m_control->toolbars()->Item(name);
    const BarItem* item = barItem(name);
    if (!item || (bar->DockingFlags() & mqLocked))
        return;
    const QPoint grab = item->grip.center();
    beginDrag(bar, grab, grab - item->rect.topLeft());
    endDrag(to);
}

}  // namespace toolbar
