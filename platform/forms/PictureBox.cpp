#include "platform/forms/PictureBox.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace forms {

namespace {

// The drawing area: shows the persistent image and takes the mouse.
class PictureClient final : public QWidget {
public:
    PictureClient(QWidget* parent, PictureBox* box) : QWidget(parent), m_box(box) {}
    void detach() { m_box = nullptr; }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (m_box)
            m_box->paintTo(this);
    }
    void resizeEvent(QResizeEvent* e) override
    {
        QWidget::resizeEvent(e);
        if (m_box)
            m_box->bitmap();   // resizes the persistent image
    }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        QWidget::mouseReleaseEvent(e);
        if (m_box && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
            m_box->Click.fire();
    }

private:
    PictureBox* m_box;
};

// The box: a sunken 3-D border of `border` pixels around the drawing area.
class PictureWidget final : public QWidget {
public:
    PictureWidget(QWidget* parent, PictureBox* box) : QWidget(parent)
    {
        m_client = new PictureClient(this, box);
        m_client->setObjectName(QStringLiteral("client"));
    }
    // Laid out on every use: a hidden widget gets its resize events late.
    PictureClient* client()
    {
        layoutClient();
        return m_client;
    }
    void detach() { m_client->detach(); }
    void setBorder(int border)
    {
        m_border = border;
        layoutClient();
        update();
    }

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        QWidget::resizeEvent(e);
        layoutClient();
    }
    void paintEvent(QPaintEvent*) override
    {
        if (m_border == 0)
            return;
        // Outer ring shadow over highlight, inner ring dark shadow over light.
        QPainter p(this);
        auto ring = [&](int inset, int32_t topLeft, int32_t bottomRight) {
            const int r = width() - 1 - inset;
            const int b = height() - 1 - inset;
            p.setPen(toQColor(topLeft));
            p.drawLine(inset, inset, r - 1, inset);
            p.drawLine(inset, inset, inset, b - 1);
            p.setPen(toQColor(bottomRight));
            p.drawLine(inset, b, r, b);
            p.drawLine(r, inset, r, b);
        };
        ring(0, int32_t(gdi::SystemColor(gdi::COLOR_BTNSHADOW)),
             int32_t(gdi::SystemColor(gdi::COLOR_BTNHIGHLIGHT)));
        ring(1, int32_t(gdi::SystemColor(gdi::COLOR_3DDKSHADOW)),
             int32_t(gdi::SystemColor(gdi::COLOR_3DLIGHT)));
    }

private:
    void layoutClient()
    {
        m_client->setGeometry(m_border, m_border, std::max(0, width() - 2 * m_border),
                              std::max(0, height() - 2 * m_border));
    }
    PictureClient* m_client;
    int m_border = 0;
};

// Border width in pixels of each BorderStyle: fixed single is the 3-D edge.
int borderPixels(int16_t style)
{
    return style == 1 ? 2 : 0;
}

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
    auto* w = new PictureWidget(parent, this);
    w->setBorder(borderPixels(m_borderStyle));
    return w;
}

QWidget* PictureBox::hostWidget()
{
    auto* w = static_cast<PictureWidget*>(widget());
    return w ? w->client() : nullptr;
}

QWidget* PictureBox::inputWidget()
{
    return clientWidget();
}

QWidget* PictureBox::clientWidget() const
{
    auto* w = static_cast<PictureWidget*>(existingWidget());
    return w ? w->client() : nullptr;
}

void PictureBox::fitToPicture()
{
    QWidget* w = existingWidget();
    if (!w || !m_autoSize || !m_picture || !m_picture->Handle())
        return;
    const int border = 2 * borderPixels(m_borderStyle);
    w->resize(m_picture->widthPixels() + border, m_picture->heightPixels() + border);
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
    widget();
    QWidget* w = clientWidget();
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
        // Transparent pixels of the picture leave the background.
        if (src)
            for (int32_t y = 0; y < std::min(h, ph); ++y)
                for (int32_t x = 0; x < std::min(w, pw); ++x)
                    if (!m_picture->isTransparent(x, y))
                        px[size_t(y) * size_t(w) + size_t(x)] =
                            src[size_t(y) * size_t(pw) + size_t(x)];
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
    widget();
    m_picture = std::move(picture);
    fitToPicture();
    ensureBitmap();
    clearImage();
    if (QWidget* c = clientWidget())
        c->update();
}

Picture PictureBox::Image()
{
    ensureBitmap();
    return StdPicture::fromBitmap(gdi::CopyBitmap(m_bitmap));
}

gdi::HDC PictureBox::hDC()
{
    ensureBitmap();
    // Whoever takes the DC may draw into the persistent image: with
    // AutoRedraw the screen shows it at the next pass of the event loop. A box
    // without it keeps its Paint contract (a repaint starts from the background).
    if (m_autoRedraw)
        if (QWidget* c = clientWidget())
            c->update();
    return m_dc;
}

void PictureBox::setAutoRedraw(bool on)
{
    widget();
    m_autoRedraw = on;
}

void PictureBox::setAutoSize(bool on)
{
    widget();
    m_autoSize = on;
    fitToPicture();
}

void PictureBox::setBackColor(int32_t color)
{
    Control::setBackColor(color);
    ensureBitmap();
    clearImage();
    if (QWidget* c = clientWidget())
        c->update();
}

void PictureBox::setScaleMode(int16_t mode)
{
    widget();
    m_scaleMode = mode == vbPixels ? vbPixels : vbTwips;
}

// The drawing area inside the border.
float PictureBox::ScaleWidth()
{
    QWidget* c = hostWidget();
    return c ? float(c->width() * unitsPerPixelX()) : 0.f;
}

float PictureBox::ScaleHeight()
{
    QWidget* c = hostWidget();
    return c ? float(c->height() * unitsPerPixelY()) : 0.f;
}

void PictureBox::setBorderStyle(int16_t style)
{
    auto* w = static_cast<PictureWidget*>(widget());
    m_borderStyle = style == 1 ? int16_t(1) : int16_t(0);
    if (w) {
        w->setBorder(borderPixels(m_borderStyle));
        fitToPicture();
    }
}

void PictureBox::Cls()
{
    ensureBitmap();
    clearImage();
    if (QWidget* c = clientWidget())
        c->update();
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
    if (QWidget* c = clientWidget())
        c->update();
}

}  // namespace forms
