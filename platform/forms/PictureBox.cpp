#include "platform/forms/PictureBox.h"

#include <QFrame>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace forms {

namespace {
class PictureWidget final : public QFrame {
public:
    PictureWidget(QWidget* parent, PictureBox* box) : QFrame(parent), m_box(box)
    {
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(0);
    }
    void detach() { m_box = nullptr; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (m_box)
            m_box->paintTo(this);
    }
    void resizeEvent(QResizeEvent* e) override
    {
        QFrame::resizeEvent(e);
        if (m_box)
            m_box->bitmap();   // resizes the persistent image
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QFrame::mouseReleaseEvent(e);
        if (m_box && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            m_box->Click.fire();
    }

private:
    PictureBox* m_box;
};
}  // namespace

PictureBox::PictureBox(Container* parent, QString name) : Control(parent, std::move(name)) {}

PictureBox::~PictureBox()
{
    if (auto* w = static_cast<PictureWidget*>(existingWidget()))
        w->detach();
    freeGdi();
}

QWidget* PictureBox::createWidget(QWidget* parent)
{
    return new PictureWidget(parent, this);
}

void PictureBox::freeGdi()
{
    if (m_dc) {
        gdi::SelectObject(m_dc, m_oldBitmap);
        gdi::DeleteDC(m_dc);
    }
    if (m_bitmap)
        gdi::DeleteObject(m_bitmap);
    m_dc = 0;
    m_bitmap = 0;
    m_oldBitmap = 0;
}

void PictureBox::resetState()
{
    freeGdi();
    m_picture.reset();
    m_autoRedraw = false;
    m_autoSize = false;
    m_scaleMode = vbTwips;
    m_borderStyle = 1;
}

void PictureBox::ensureBitmap()
{
    QWidget* w = widget();
    if (!w)
        return;
    const int width = std::max(1, w->width());
    const int height = std::max(1, w->height());
    int32_t bw = 0, bh = 0;
    if (m_bitmap && gdi::GetBitmapSize(m_bitmap, &bw, &bh) && bw == width && bh == height)
        return;
    // Compatible with the display, as the original's persistent image: its
    // depth is the display's (what the picture editor's mask colour reads).
    const gdi::HBITMAP fresh = gdi::CreateCompatibleBitmap(0, width, height);
    if (!fresh)
        return;
    if (!m_dc) {
        m_dc = gdi::CreateCompatibleDC(0);
        m_oldBitmap = gdi::SelectObject(m_dc, fresh);
    }
    const gdi::HBITMAP old = m_bitmap;
    m_bitmap = fresh;
    clearImage();
    if (old) {
        // Keep what was drawn, as the persistent image of the original grows.
        // The old bitmap leaves the box's DC first: a bitmap is in one DC at a time.
        gdi::SelectObject(m_dc, fresh);
        const gdi::HDC src = gdi::CreateCompatibleDC(0);
        const gdi::HGDIOBJ prev = gdi::SelectObject(src, old);
        gdi::BitBlt(m_dc, 0, 0, std::min(bw, width), std::min(bh, height), src, 0, 0,
                    gdi::SRCCOPY);
        gdi::SelectObject(src, prev);
        gdi::DeleteDC(src);
        gdi::DeleteObject(old);
    }
    gdi::SelectObject(m_dc, fresh);
}

void PictureBox::clearImage()
{
    if (!m_bitmap)
        return;
    uint32_t* px = gdi::BitmapPixels(m_bitmap);
    int32_t w = 0, h = 0;
    if (!px || !gdi::GetBitmapSize(m_bitmap, &w, &h))
        return;
    const QColor q = toQColor(BackColor());
    const uint32_t fill = gdi::RGB(uint8_t(q.red()), uint8_t(q.green()), uint8_t(q.blue()));
    std::fill(px, px + size_t(w) * size_t(h), fill);
    if (m_picture && m_picture->Handle()) {
        const uint32_t* src = gdi::BitmapPixels(m_picture->Handle());
        const int32_t pw = m_picture->widthPixels();
        const int32_t ph = m_picture->heightPixels();
        if (src)
            for (int32_t y = 0; y < std::min(h, ph); ++y)
                for (int32_t x = 0; x < std::min(w, pw); ++x)
                    px[size_t(y) * size_t(w) + size_t(x)] = src[size_t(y) * size_t(pw) + size_t(x)];
    }
}

gdi::HBITMAP PictureBox::bitmap()
{
    ensureBitmap();
    return m_bitmap;
}

void PictureBox::paintTo(QWidget* w)
{
    if (m_painting)
        return;
    m_painting = true;
    ensureBitmap();
    if (!m_autoRedraw) {
        clearImage();
        Paint.fire();
    }
    QPainter p(w);
    p.drawImage(0, 0, bitmapToImage(m_bitmap));
    m_painting = false;
}

Picture PictureBox::picture()
{
    widget();
    return m_picture;
}

void PictureBox::setPicture(Picture picture)
{
    QWidget* w = widget();
    m_picture = std::move(picture);
    if (w && m_autoSize && m_picture && m_picture->Handle())
        w->resize(m_picture->widthPixels(), m_picture->heightPixels());
    ensureBitmap();
    clearImage();
    if (w)
        w->update();
}

Picture PictureBox::Image()
{
    ensureBitmap();
    return StdPicture::fromBitmap(gdi::CopyBitmap(m_bitmap));
}

gdi::HDC PictureBox::hDC()
{
    ensureBitmap();
    return m_dc;
}

void PictureBox::setAutoRedraw(bool on)
{
    widget();
    m_autoRedraw = on;
}

void PictureBox::setAutoSize(bool on)
{
    QWidget* w = widget();
    m_autoSize = on;
    if (w && on && m_picture && m_picture->Handle())
        w->resize(m_picture->widthPixels(), m_picture->heightPixels());
}

void PictureBox::setBackColor(int32_t color)
{
    Control::setBackColor(color);
    ensureBitmap();
    clearImage();
    if (QWidget* w = existingWidget())
        w->update();
}

void PictureBox::setScaleMode(int16_t mode)
{
    widget();
    m_scaleMode = mode == vbPixels ? vbPixels : vbTwips;
}

float PictureBox::ScaleWidth()
{
    QWidget* w = widget();
    return w ? float(w->width() * unitsPerPixelX()) : 0.f;
}

float PictureBox::ScaleHeight()
{
    QWidget* w = widget();
    return w ? float(w->height() * unitsPerPixelY()) : 0.f;
}

void PictureBox::setBorderStyle(int16_t style)
{
    m_borderStyle = style;
    if (auto* f = static_cast<QFrame*>(widget()))
        f->setLineWidth(0);
}

void PictureBox::Cls()
{
    ensureBitmap();
    clearImage();
    if (QWidget* w = existingWidget())
        w->update();
}

int32_t PictureBox::Point(float x, float y)
{
    ensureBitmap();
    const int px = int(std::lround(x / unitsPerPixelX()));
    const int py = int(std::lround(y / unitsPerPixelY()));
    const gdi::COLORREF c = gdi::GetPixel(m_dc, px, py);
    return c == gdi::CLR_INVALID ? -1 : int32_t(c);
}

void PictureBox::PSet(float x, float y, int32_t color)
{
    ensureBitmap();
    gdi::SetPixelV(m_dc, int(std::lround(x / unitsPerPixelX())),
                   int(std::lround(y / unitsPerPixelY())), gdi::COLORREF(color));
    if (QWidget* w = existingWidget())
        w->update();
}

}  // namespace forms
