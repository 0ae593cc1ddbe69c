#include "platform/toolbar/ZentribarWidget.h"

#include "platform/toolbar/Guarded.h"
#include "platform/toolbar/ZentribarEditing.h"

#include <QContextMenuEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <map>

namespace toolbar {

Q_LOGGING_CATEGORY(lcToolbarView, "bw.toolbar.view", QtInfoMsg)

namespace {

constexpr int kPad = 3;          // around a tool's picture
constexpr int kGrip = 8;         // grab handle
constexpr int kTitle = 14;       // floating toolbar title
constexpr int kSeparator = 6;
constexpr int kDockSnap = 24;    // a drop this close to an edge docks there

QString displayText(const QString& name)
{
    QString s = name;
    s.remove(QLatin1Char('&'));
    return s;
}

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

bool showsImage(const Tool& t)
{
    return t.DisplayStyle() != 1 && t.picture(PictureState::Normal) != nullptr;
}

bool showsText(const Tool& t)
{
    return t.DisplayStyle() == 1 || t.DisplayStyle() == 3 || !showsImage(t);
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
    setAutoFillBackground(true);
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
    const auto it = m_images.constFind(picture.get());
    if (it != m_images.cend())
        return *it;
    const QImage image = toolImage(*picture, useMask);
    m_images.insert(picture.get(), image);
    return image;
}

void ZentribarWidget::scheduleLayout()
{
    m_layoutDirty = true;
    update();
}

void ZentribarWidget::ensureLayout() const
{
    if (m_layoutDirty)
        const_cast<ZentribarWidget*>(this)->layoutNow();
}

QSize ZentribarWidget::toolSize(const Tool& t, const Toolbar& bar, bool vertical) const
{
    const QFontMetrics fm = fontMetrics();
    if (t.role() == Tool::Role::Separator)
        return vertical ? QSize(0, kSeparator) : QSize(kSeparator, 0);
    if (bar.Style() == 1) {   // menu bar: captions
        return {fm.horizontalAdvance(displayText(t.Name().isEmpty() ? t.ID() : t.Name())) + 12,
                fm.height() + 6};
    }
    const int16_t type = t.Type();
    const int image = m_control->LargeIcons() ? 32 : t.ImageSize();
    if (type == mqComboBox || type == mqEdit)
        return {std::max<int>(t.Width(), 24), std::max(fm.height() + 6, 22)};
    QSize size(0, 0);
    if (showsImage(t))
        size = QSize(image, image);
    if (showsText(t) || type == mqLabel) {
        const QString text = displayText(t.Name().isEmpty() ? t.ID() : t.Name());
        const QSize ts(fm.horizontalAdvance(text), fm.height());
        if (size.isEmpty()) {
            size = ts;
        } else if (bar.CaptionAlignment() <= 1) {   // text above or below the image
            size = QSize(std::max(size.width(), ts.width()), size.height() + ts.height() + 2);
        } else {
            size = QSize(size.width() + ts.width() + 4, std::max(size.height(), ts.height()));
        }
    }
    size += QSize(2 * kPad, 2 * kPad);
    if (type == mqDropDown || type == mqDropDownStateButton || type == mqMenu)
        size.rwidth() += 10;
    return size;
}

void ZentribarWidget::layoutBar(BarItem& item, bool vertical, int stretchTo) const
{
    const Toolbar& bar = *item.bar;
    item.vertical = vertical;
    item.tools.clear();
    const bool floating = bar.dockArea() == DockArea::Floating;
    const int lead = floating ? 0 : (bar.DisplayGrabHandles() ? kGrip : 2);
    const int top = floating ? kTitle : 0;
    int along = lead + 2;
    int thick = 16 + 2 * kPad;
    std::vector<QSize> sizes;
    for (const auto& t : *bar.tools()) {
        const QSize s = t->role() == Tool::Role::Separator || t->Visible()
                            ? toolSize(*t, bar, vertical) : QSize();
        sizes.push_back(s);
        thick = std::max(thick, vertical ? s.width() : s.height());
    }
    size_t i = 0;
    for (const auto& t : *bar.tools()) {
        const QSize s = sizes[i++];
        if (s.isNull())
            continue;
        const int length = vertical ? s.height() : s.width();
        QRect r = vertical ? QRect(2, top + along, thick, length)
                           : QRect(along, top + 2, length, thick);
        item.tools.push_back({t, r});
        along += length + 1;
    }
    along += 2;
    if (stretchTo > along)
        along = stretchTo;
    item.rect = vertical ? QRect(QPoint(), QSize(thick + 4, along))
                         : QRect(QPoint(), QSize(along, thick + 4 + top));
    if (floating) {
        item.rect.setWidth(std::max(item.rect.width(), 60));
        item.grip = QRect(item.rect.topLeft(), QSize(item.rect.width(), kTitle));
        item.closeBox = bar.AllowHiding()
                            ? QRect(item.grip.right() - kTitle + 2, item.grip.top() + 2,
                                    kTitle - 4, kTitle - 4)
                            : QRect();
    } else {
        item.grip = vertical ? QRect(QPoint(), QSize(thick + 4, lead))
                             : QRect(QPoint(), QSize(lead, thick + 4));
        item.closeBox = QRect();
    }
}

void ZentribarWidget::moveItem(BarItem& item, QPoint by)
{
    item.rect.translate(by);
    item.grip.translate(by);
    item.closeBox.translate(by);
    for (auto& t : item.tools)
        t.rect.translate(by);
}

void ZentribarWidget::layoutNow()
{
    m_layoutDirty = false;
    m_bars.clear();
    m_images.clear();
    scheduleFloatingViews();
    if (!m_control->Visible())
        return;
    // Group the visible toolbars by area and row; a row keeps its toolbars
    // in offset order. The menu bar leads the top area.
    std::map<std::pair<int, int>, std::vector<std::shared_ptr<Toolbar>>> rows;
    std::vector<std::shared_ptr<Toolbar>> floating;
    for (const auto& bar : *m_control->toolbars()) {
        if (!bar->Visible())
            continue;
        const DockArea area = bar->dockArea();
        if (area == DockArea::Floating) {
            floating.push_back(bar);
            continue;
        }
        const int row = bar->Style() == 1 ? -1 : bar->PositionState2();
        rows[{int(area), row}].push_back(bar);
    }
    for (auto& [key, bars] : rows) {
        std::stable_sort(bars.begin(), bars.end(), [](const auto& a, const auto& b) {
            return a->positionState(3) < b->positionState(3);
        });
    }

    QRect free = rect();
    for (const auto& [key, bars] : rows) {
        const auto area = DockArea(key.first);
        const bool vertical = area == DockArea::Left || area == DockArea::Right;
        const int span = vertical ? free.height() : free.width();
        std::vector<BarItem> line;
        int along = 0, thick = 0;
        // Docks the toolbars gathered so far as one line at the area's edge
        // of the free space.
        const auto dockLine = [&] {
            if (line.empty())
                return;
            QPoint base;
            switch (area) {
            case DockArea::Top: base = free.topLeft(); free.setTop(free.top() + thick); break;
            case DockArea::Bottom:
                base = QPoint(free.left(), free.bottom() + 1 - thick);
                free.setBottom(free.bottom() - thick);
                break;
            case DockArea::Left: base = free.topLeft(); free.setLeft(free.left() + thick); break;
            case DockArea::Right:
                base = QPoint(free.right() + 1 - thick, free.top());
                free.setRight(free.right() - thick);
                break;
            case DockArea::Floating: break;
            }
            for (auto& item : line) {
                moveItem(item, base);
                m_bars.push_back(std::move(item));
            }
            line.clear();
            along = thick = 0;
        };
        for (const auto& bar : bars) {
            // A stretched toolbar fills a line of its own, and a toolbar that
            // would start past the end of a line begins the next one: every
            // docked toolbar stays in view.
            const bool stretch = (bar->DockingFlags() & mqStretch) != 0;
            int offset = std::max(along, int(bar->positionState(3)));
            if (!line.empty() && (stretch || offset >= span)) {
                dockLine();
                offset = std::max(0, int(bar->positionState(3)));
            }
            BarItem item{bar, {}, {}, {}, vertical, {}};
            layoutBar(item, vertical, 0);
            const auto length = [&] { return vertical ? item.rect.height() : item.rect.width(); };
            if (offset >= span)
                offset = std::max(0, span - length());
            if (stretch)
                layoutBar(item, vertical, span - offset);
            moveItem(item, vertical ? QPoint(0, offset) : QPoint(offset, 0));
            along = offset + length();
            thick = std::max(thick, vertical ? item.rect.width() : item.rect.height());
            line.push_back(std::move(item));
            if (stretch)
                dockLine();
        }
        dockLine();
    }
    for (const auto& bar : floating) {
        BarItem item{bar, {}, {}, {}, false, {}};
        layoutBar(item, false, 0);
        // Where it was dropped, moved back into view as far as it fits, so
        // that it can always be dragged again.
        const int left = std::clamp(bar->positionState(4), 0,
                                    std::max(0, width() - item.rect.width()));
        const int top = std::clamp(bar->positionState(5), 0,
                                   std::max(0, height() - item.rect.height()));
        moveItem(item, QPoint(left, top));
        m_bars.push_back(std::move(item));
    }
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
}

const ZentribarWidget::BarItem* ZentribarWidget::barItem(const QString& name) const
{
    ensureLayout();
    for (const auto& item : m_bars) {
        if (item.bar->Name().compare(name.trimmed(), Qt::CaseInsensitive) == 0)
            return &item;
    }
    return nullptr;
}

const ZentribarWidget::BarItem* ZentribarWidget::barAt(QPoint pos) const
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

std::shared_ptr<Tool> ZentribarWidget::toolAt(QPoint pos) const
{
    const BarItem* item = barAt(pos);
    if (!item)
        return nullptr;
    for (const auto& t : item->tools) {
        if (t.rect.contains(pos) && t.tool->role() != Tool::Role::Separator)
            return t.tool;
    }
    return nullptr;
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
    const QString caption = displayText(t.Name().isEmpty() ? t.ID() : t.Name());
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
        const int size = m_control->LargeIcons() ? 32 : t.ImageSize();
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
        if (grey)
            image = image.convertToFormat(QImage::Format_Grayscale8)
                        .convertToFormat(QImage::Format_ARGB32);
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
