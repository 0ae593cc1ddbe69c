#pragma once
// Internal to the item views (tree view, list view): the Qt widget they share,
// which reports the viewport's mouse events through its view, its rows' height,
// and the palette rule of HideSelection.

#include "platform/forms/ItemViewMouse.h"

#include <QApplication>
#include <QPalette>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include <algorithm>
#include <functional>

namespace forms::detail {

// Every row as high as a row with a picture of the image list, whether this
// row has one or not: the views keep one row height, the first row's.
class PictureRowDelegate final : public QStyledItemDelegate {
public:
    PictureRowDelegate(QObject* parent, std::function<QSize()> pictureSize)
        : QStyledItemDelegate(parent), m_pictureSize(std::move(pictureSize))
    {
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        const QSize picture = m_pictureSize();
        if (picture.isEmpty())
            return size;
        QStyleOptionViewItem withPicture = option;
        initStyleOption(&withPicture, index);
        withPicture.features |= QStyleOptionViewItem::HasDecoration;
        withPicture.decorationSize = picture;
        const QWidget* w = option.widget;
        const QStyle* style = w ? w->style() : QApplication::style();
        const QSize full = style->sizeFromContents(QStyle::CT_ItemViewItem, &withPicture, {}, w);
        size.setHeight(std::max(size.height(), full.height()));
        return size;
    }

private:
    std::function<QSize()> m_pictureSize;
};

// The view reports MouseDown, MouseUp, MouseMove, Click and DblClick, and a left
// or right press on an item through its userPressed; the selection change the
// press causes is flagged by the view's m_pressing, so it is not reported twice.
// A right press selects too, and is reported before MouseUp, whose handlers
// (a pop-up menu) go by the selection.
template <class View>
class ItemViewWidget : public QTreeWidget {
public:
    ItemViewWidget(View* owner, QWidget* parent) : QTreeWidget(parent), m_owner(owner)
    {
        setItemDelegate(new PictureRowDelegate(this, [owner] { return owner->pictureSize(); }));
    }

protected:
    // Whether a left press on hit is the view's to report.
    virtual bool reportsPress(QTreeWidgetItem* hit) const
    {
        (void)hit;
        return true;
    }

    void mousePressEvent(QMouseEvent* e) override
    {
        fireMouse(m_owner->MouseDown, e, e->button());
        QTreeWidgetItem* hit = itemAt(e->position().toPoint());
        {
            const QScopedValueRollback pressing(m_owner->m_pressing, true);
            QTreeWidget::mousePressEvent(e);
        }
        if (hit && (e->button() & (Qt::LeftButton | Qt::RightButton)) && reportsPress(hit))
            m_owner->userPressed(hit);
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QTreeWidget::mouseReleaseEvent(e);
        if (e->button() == Qt::LeftButton)
            m_owner->Click.fire();
        fireMouse(m_owner->MouseUp, e, e->button());
    }
    void mouseMoveEvent(QMouseEvent* e) override
    {
        fireMouse(m_owner->MouseMove, e, e->buttons());
        QTreeWidget::mouseMoveEvent(e);
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override
    {
        QTreeWidget::mouseDoubleClickEvent(e);
        if (e->button() == Qt::LeftButton)
            m_owner->DblClick.fire();
    }

    View* m_owner;

private:
    void fireMouse(const Event<int16_t, int16_t, float, float>& ev, QMouseEvent* e,
                   Qt::MouseButtons buttons)
    {
        detail::fireMouse(ev, e, buttons, m_owner->mouseUnitsX(), m_owner->mouseUnitsY());
    }
};

// With HideSelection the selection goes unmarked while the view has no focus.
inline void applyHideSelection(QTreeWidget& t, bool hideSelection)
{
    QPalette p = t.palette();
    p.setColor(QPalette::Inactive, QPalette::Highlight,
               hideSelection ? p.color(QPalette::Inactive, QPalette::Base)
                             : p.color(QPalette::Active, QPalette::Highlight));
    p.setColor(QPalette::Inactive, QPalette::HighlightedText,
               hideSelection ? p.color(QPalette::Inactive, QPalette::Text)
                             : p.color(QPalette::Active, QPalette::HighlightedText));
    t.setPalette(p);
}

}  // namespace forms::detail
