#include "barwright/picture/CursorResources.h"

#include "barwright/picture/mDrawParams.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include <functional>
#include <initializer_list>

namespace CursorResources {

namespace {

constexpr int kSide = 32;
constexpr QPoint kCrossHot(15, 15);   // the centre of the cross-hair cursors

// Draws every shape twice: a white halo first, then in black (or the given
// fill), so the cursor shows on any picture.
class Ink {
public:
    explicit Ink(QImage& image) : m_p(&image) {}

    void line(QPoint a, QPoint b)
    {
        halo([&] { m_p.drawLine(a, b); });
        m_p.setPen(Qt::black);
        m_p.drawLine(a, b);
    }
    void dot(QPoint a)
    {
        halo([&] { m_p.drawPoint(a); });
        m_p.setPen(Qt::black);
        m_p.drawPoint(a);
    }
    // A closed outline (rectangle, ellipse, polygon) filled with `fill`.
    void shape(const QPainterPath& path, const QBrush& fill)
    {
        halo([&] { m_p.drawPath(path); });
        m_p.setPen(Qt::black);
        m_p.setBrush(fill);
        m_p.drawPath(path);
        m_p.setBrush(Qt::NoBrush);
    }
    QPainter& painter() { return m_p; }

private:
    void halo(const std::function<void()>& draw)
    {
        m_p.setPen(QPen(Qt::white, 3, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
        m_p.setBrush(Qt::NoBrush);
        draw();
    }
    QPainter m_p;
};

QImage blank()
{
    QImage image(kSide, kSide, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

// A cross-hair whose centre pixel is the hot spot, its arms `reach` pixels
// long from the centre, open around it.
void crossHair(Ink& ink, int reach)
{
    const int c = kCrossHot.x();
    ink.line({c, c - reach}, {c, c - 3});
    ink.line({c, c + 3}, {c, c + reach});
    ink.line({c - reach, c}, {c - 3, c});
    ink.line({c + 3, c}, {c + reach, c});
    ink.dot(kCrossHot);
}

QPainterPath rectPath(const QRect& r)
{
    QPainterPath path;
    path.addRect(r);
    return path;
}

QPainterPath ellipsePath(const QRect& r)
{
    QPainterPath path;
    path.addEllipse(r);
    return path;
}

// The glyph box of the cross-hair cursors.
const QRect kGlyph(19, 20, 11, 9);

QImage shapeCursor(int32_t id)
{
    QImage image = blank();
    Ink ink(image);
    crossHair(ink, 10);   // the tool's glyph goes below and right of it
    const QBrush grey(QColor(128, 128, 128));
    using namespace mDrawParams;
    switch (id) {
    case ToolSelect: {
        ink.shape(rectPath(kGlyph), Qt::NoBrush);
        // Dotted: every other pixel of the outline shows white.
        QPainter& p = ink.painter();
        p.setPen(Qt::white);
        for (int x = kGlyph.left() + 1; x < kGlyph.right() + 1; x += 2) {
            p.drawPoint(x, kGlyph.top());
            p.drawPoint(x, kGlyph.bottom() + 1);
        }
        for (int y = kGlyph.top() + 1; y < kGlyph.bottom() + 1; y += 2) {
            p.drawPoint(kGlyph.left(), y);
            p.drawPoint(kGlyph.right() + 1, y);
        }
        break;
    }
    case ToolLine: ink.line({19, 29}, {29, 19}); break;
    case ToolDither: {
        ink.shape(rectPath(kGlyph), Qt::white);
        QPainter& p = ink.painter();
        p.setPen(Qt::black);
        for (int y = kGlyph.top() + 1; y <= kGlyph.bottom(); ++y)
            for (int x = kGlyph.left() + 1; x <= kGlyph.right(); ++x)
                if ((x + y) % 2 == 0)
                    p.drawPoint(x, y);
        break;
    }
    case ToolFrameBox: ink.shape(rectPath(kGlyph), Qt::NoBrush); break;
    case ToolFrameFilledBox: ink.shape(rectPath(kGlyph), grey); break;
    case ToolFilledBox: ink.shape(rectPath(kGlyph), Qt::black); break;
    case ToolFrameCircle: ink.shape(ellipsePath(kGlyph), Qt::NoBrush); break;
    case ToolFrameFilledCircle: ink.shape(ellipsePath(kGlyph), grey); break;
    case ToolFilledCircle: ink.shape(ellipsePath(kGlyph), Qt::black); break;
    default: break;
    }
    return image;
}

QPainterPath polygonPath(std::initializer_list<QPoint> points)
{
    QPainterPath path;
    path.addPolygon(QPolygon(QList<QPoint>(points)));
    path.closeSubpath();
    return path;
}

// A cursor acting at `hot`: that pixel is black, whatever was drawn there.
forms::Picture cursorAt(QImage& image, Ink& ink, QPoint hot)
{
    ink.painter().setPen(Qt::black);
    ink.painter().drawPoint(hot);
    ink.painter().end();
    return forms::StdPicture::fromCursor(image, hot);
}

// A pencil lying from the top right down to its tip at the bottom left.
forms::Picture pencil()
{
    QImage image = blank();
    Ink ink(image);
    const QPoint tip(1, 30);
    ink.shape(polygonPath({{6, 21}, {24, 3}, {28, 7}, {10, 25}}), QColor(255, 220, 0));
    ink.shape(polygonPath({tip, {6, 21}, {10, 25}}), QColor(230, 200, 150));
    ink.line({21, 6}, {25, 10});   // the ferrule
    ink.line(tip, {3, 28});        // the lead
    return cursorAt(image, ink, tip);
}

// A pipette: a thin tube down to its tip at the bottom left, a bulb on top.
forms::Picture pipette()
{
    QImage image = blank();
    Ink ink(image);
    const QPoint tip(1, 30);
    ink.shape(polygonPath({tip, {17, 12}, {19, 14}, {2, 31}}), Qt::white);
    ink.shape(ellipsePath(QRect(19, 4, 8, 8)), Qt::black);
    ink.line({15, 10}, {21, 16});   // the collar
    return cursorAt(image, ink, tip);
}

// A tipped bucket pouring paint, which runs down to a point at the left: the
// pixel the fill starts from.
forms::Picture bucket()
{
    QImage image = blank();
    Ink ink(image);
    ink.shape(polygonPath({{13, 10}, {22, 2}, {30, 11}, {21, 19}}), Qt::white);
    ink.line({17, 6}, {26, 15});   // the rim's shadow
    const QPoint drip(3, 27);
    ink.shape(polygonPath({{13, 10}, {8, 12}, {5, 18}, drip, {7, 20}, {10, 15}}), Qt::black);
    return cursorAt(image, ink, drip);
}

// The screen grab's finder: a cross-hair in a circle.
forms::Picture finder()
{
    QImage image = blank();
    Ink ink(image);
    ink.shape(ellipsePath(QRect(5, 5, 20, 20)), Qt::NoBrush);
    crossHair(ink, 14);
    return cursorAt(image, ink, kCrossHot);
}

forms::Picture make(int32_t id)
{
    using namespace mDrawParams;
    switch (id) {
    case ToolPencil: return pencil();
    case ToolPickup: return pipette();
    case ToolFill: return bucket();
    case FinderCursor: return finder();
    default:
        if (id >= FirstDrawCursor && id <= LastDrawCursor)
            return forms::StdPicture::fromCursor(shapeCursor(id), kCrossHot);
        return forms::StdPicture::fromBitmap(0);
    }
}

}  // namespace

forms::Picture LoadResCursor(int32_t id)
{
    static QHash<int32_t, forms::Picture> loaded;
    forms::Picture& p = loaded[id];
    if (!p)
        p = make(id);
    return p;
}

}  // namespace CursorResources
