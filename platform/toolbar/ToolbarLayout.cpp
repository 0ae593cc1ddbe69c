#include "platform/toolbar/ToolbarLayout.h"

#include "platform/toolbar/ShortcutKeys.h"

#include <algorithm>
#include <climits>
#include <map>

namespace toolbar {

namespace {

constexpr int kGrip = 8;        // grab handle
constexpr int kSeparator = 6;
constexpr int kMoreTools = 11;  // the More Tools button along its toolbar

int lengthOf(const QRect& r, bool vertical)
{
    return vertical ? r.height() : r.width();
}

}  // namespace

QString displayText(const QString& name)
{
    QString s = name;
    s.remove(QLatin1Char('&'));
    return s;
}

QString captionOf(const Tool& t)
{
    return displayText(t.Name().isEmpty() ? t.ID() : t.Name());
}

bool showsImage(const Tool& t)
{
    return t.DisplayStyle() != 1 && t.picture(PictureState::Normal) != nullptr;
}

bool showsText(const Tool& t)
{
    return t.DisplayStyle() == 1 || t.DisplayStyle() == 3 || !showsImage(t);
}

int pictureSide(const Tool& t, const MqZentribar& control)
{
    return control.LargeIcons() ? 32 : t.ImageSize();
}

QString shownShortcut(const Tool& t, const MqZentribar& control)
{
    return control.ShowShortcuts() && t.ShortcutKey() > 0 ? shortcutKeyName(t.ShortcutKey())
                                                         : QString();
}

void BarItem::moveBy(QPoint by)
{
    rect.translate(by);
    grip.translate(by);
    closeBox.translate(by);
    moreTools.translate(by);
    for (auto& t : tools)
        t.rect.translate(by);
}

ToolbarLayout::ToolbarLayout(const MqZentribar& control, const QFontMetrics& metrics,
                             QRect area)
    : m_control(control), m_metrics(metrics), m_area(area), m_free(area)
{
    if (!control.Visible())
        return;
    // The shown toolbars by area and row; the menu bar leads its area.
    std::map<std::pair<int, int>, std::vector<std::shared_ptr<Toolbar>>> rows;
    std::vector<std::shared_ptr<Toolbar>> floating;
    for (const auto& bar : *control.toolbars()) {
        if (!bar->Visible())
            continue;
        const DockArea dock = bar->dockArea();
        if (dock == DockArea::Floating)
            floating.push_back(bar);
        else
            rows[{int(dock), bar->Style() == 1 ? -1 : bar->PositionState2()}].push_back(bar);
    }
    for (const DockArea dock : {DockArea::Top, DockArea::Bottom, DockArea::Left, DockArea::Right}) {
        std::vector<std::vector<std::shared_ptr<Toolbar>>> areaRows;
        for (auto& [key, bars] : rows) {
            if (key.first != int(dock))
                continue;
            std::stable_sort(bars.begin(), bars.end(), [](const auto& a, const auto& b) {
                return a->positionState(3) < b->positionState(3);
            });
            areaRows.push_back(std::move(bars));
        }
        dockArea(dock, areaRows);
    }
    m_free.setWidth(std::max(0, m_free.width()));
    m_free.setHeight(std::max(0, m_free.height()));
    for (const auto& bar : floating)
        placeFloating(bar);
}

void ToolbarLayout::dockArea(DockArea area,
                             std::vector<std::vector<std::shared_ptr<Toolbar>>>& rows)
{
    const bool vertical = area == DockArea::Left || area == DockArea::Right;
    std::vector<BarItem> line;
    int along = 0, thick = 0;
    bool full = false;
    // Docks the toolbars gathered so far as one line at the area's edge of
    // the free area. A line the free area has no room for is left out, and
    // so are the lines after it: a toolbar is shown whole or not at all.
    const auto dockLine = [&] {
        if (line.empty())
            return;
        full = full || thick > (vertical ? m_free.width() : m_free.height());
        if (full) {
            line.clear();
            along = thick = 0;
            return;
        }
        QPoint base;
        switch (area) {
        case DockArea::Top: base = m_free.topLeft(); m_free.setTop(m_free.top() + thick); break;
        case DockArea::Bottom:
            base = QPoint(m_free.left(), m_free.bottom() + 1 - thick);
            m_free.setBottom(m_free.bottom() - thick);
            break;
        case DockArea::Left: base = m_free.topLeft(); m_free.setLeft(m_free.left() + thick); break;
        case DockArea::Right:
            base = QPoint(m_free.right() + 1 - thick, m_free.top());
            m_free.setRight(m_free.right() - thick);
            break;
        case DockArea::Floating: break;
        }
        for (auto& item : line) {
            item.moveBy(base);
            m_bars.push_back(std::move(item));
        }
        line.clear();
        along = thick = 0;
    };
    const auto add = [&](BarItem item, int offset) {
        item.moveBy(vertical ? QPoint(0, offset) : QPoint(offset, 0));
        along = offset + lengthOf(item.rect, vertical);
        thick = std::max(thick, vertical ? item.rect.width() : item.rect.height());
        line.push_back(std::move(item));
    };
    for (const auto& row : rows) {
        const int span = std::max(0, vertical ? m_free.height() : m_free.width());
        for (const auto& bar : row) {
            // A stretched toolbar fills a line of its own.
            if (bar->DockingFlags() & mqStretch) {
                dockLine();
                BarItem item = layoutBar(bar, vertical, span, span);
                if (lengthOf(item.rect, vertical) <= span) {
                    add(std::move(item), 0);
                    dockLine();
                }
                continue;
            }
            BarItem item = layoutBar(bar, vertical, 0, 0);
            const int length = lengthOf(item.rect, vertical);
            int offset = std::max(along, int(bar->positionState(3)));
            if (!line.empty() && offset + length > span) {
                dockLine();
                offset = std::max(0, int(bar->positionState(3)));
            }
            if (offset + length > span) {
                offset = std::max(0, span - length);
                if (length > span)
                    item = layoutBar(bar, vertical, 0, span);
            }
            if (lengthOf(item.rect, vertical) <= span)   // else not even its button fits
                add(std::move(item), offset);
        }
        dockLine();
    }
}

void ToolbarLayout::placeFloating(const std::shared_ptr<Toolbar>& bar)
{
    BarItem item = layoutBar(bar, false, 0, m_area.width());
    // Where it was dropped, moved back into the area as far as it fits, so
    // that it can always be dragged again.
    const int left = std::clamp(bar->positionState(4), 0,
                                std::max(0, m_area.width() - item.rect.width()));
    const int top = std::clamp(bar->positionState(5), 0,
                               std::max(0, m_area.height() - item.rect.height()));
    item.moveBy(m_area.topLeft() + QPoint(left, top));
    m_bars.push_back(std::move(item));
}

BarItem ToolbarLayout::layoutBar(const std::shared_ptr<Toolbar>& bar, bool vertical,
                                 int stretchTo, int maxLength) const
{
    BarItem item{bar, {}, {}, {}, {}, vertical, {}, {}};
    const bool floating = bar->dockArea() == DockArea::Floating;
    const int lead = floating ? 0 : (bar->DisplayGrabHandles() ? kGrip : 2);
    const int top = floating ? kTitle : 0;
    const int more = bar->DisplayMoreToolsButton() ? kMoreTools : 0;
    int thick = 16 + 2 * kPad;
    std::vector<std::pair<std::shared_ptr<Tool>, int>> entries;   // with their lengths
    int natural = lead + 4;
    for (const auto& t : *bar->tools()) {
        if (t->role() != Tool::Role::Separator && !t->Visible())
            continue;   // takes no space
        const QSize s = toolSize(*t, *bar, vertical);
        entries.emplace_back(t, vertical ? s.height() : s.width());
        natural += entries.back().second + 1;
        thick = std::max(thick, vertical ? s.width() : s.height());
    }
    const int limit = maxLength > 0 ? std::max(maxLength, lead + 4 + more) : INT_MAX;
    const bool cut = natural > limit;
    const int end = cut ? limit - 2 - more : INT_MAX;
    int along = lead + 2;
    for (const auto& [t, length] : entries) {
        if (!item.hidden.empty() || along + length > end) {
            item.hidden.push_back(t);
            continue;
        }
        item.tools.push_back({t, vertical ? QRect(2, top + along, thick, length)
                                          : QRect(along, top + 2, length, thick)});
        along += length + 1;
    }
    along = cut ? limit : std::max(along + 2, std::min(stretchTo, limit));
    if (cut && more) {
        item.moreTools = vertical ? QRect(2, top + along - 2 - more, thick, more)
                                  : QRect(along - 2 - more, top + 2, more, thick);
    }
    item.rect = vertical ? QRect(QPoint(), QSize(thick + 4, along))
                         : QRect(QPoint(), QSize(along, thick + 4 + top));
    if (floating) {
        item.rect.setWidth(std::max(item.rect.width(), 60));
        item.grip = QRect(item.rect.topLeft(), QSize(item.rect.width(), kTitle));
        item.closeBox = bar->AllowHiding()
                            ? QRect(item.grip.right() - kTitle + 2, item.grip.top() + 2,
                                    kTitle - 4, kTitle - 4)
                            : QRect();
    } else {
        item.grip = vertical ? QRect(QPoint(), QSize(thick + 4, lead))
                             : QRect(QPoint(), QSize(lead, thick + 4));
    }
    return item;
}

QSize ToolbarLayout::toolSize(const Tool& t, const Toolbar& bar, bool vertical) const
{
    const QFontMetrics& fm = m_metrics;
    if (t.role() == Tool::Role::Separator)
        return vertical ? QSize(0, kSeparator) : QSize(kSeparator, 0);
    if (bar.Style() == 1)   // menu bar: captions
        return {fm.horizontalAdvance(captionOf(t)) + 12, fm.height() + 6};
    const int16_t type = t.Type();
    const int image = pictureSide(t, m_control);
    if (type == mqComboBox || type == mqEdit)
        return {std::max<int>(t.Width(), 24), std::max(fm.height() + 6, 22)};
    QSize size(0, 0);
    if (showsImage(t))
        size = QSize(image, image);
    if (showsText(t) || type == mqLabel) {
        const QSize ts(fm.horizontalAdvance(captionOf(t)), fm.height());
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

}  // namespace toolbar
