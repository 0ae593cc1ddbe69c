#pragma once
// Picture box: a container with a persistent GDI bitmap. Picture is the
// background picture; the persistent image starts as BackColor with Picture
// drawn at (0, 0), takes whatever is drawn through hDC, and is what Image
// returns (a copy). Setting BackColor or Picture, and Cls, clear the image
// to that background. Qt only shows the bitmap: with AutoRedraw, drawing
// through hDC shows at the next pass of the event loop; without it the
// background is restored before each Paint event.

#include "platform/forms/Control.h"
#include "platform/forms/StdPicture.h"
#include "platform/gdi/Gdi.h"

namespace forms {

class PictureBox final : public Control, public Container {
public:
    PictureBox(Container* parent, QString name);
    ~PictureBox() override;

    Picture picture();
    void setPicture(Picture picture);   // Nothing clears it
    Picture Image();                    // a copy of the persistent image
    gdi::HDC hDC();                     // a memory DC holding the persistent image
    bool AutoRedraw() const { return m_autoRedraw; }
    void setAutoRedraw(bool on);
    bool AutoSize() const { return m_autoSize; }
    void setAutoSize(bool on);
    void setBackColor(int32_t color) override;
    int16_t ScaleMode() const { return m_scaleMode; }
    void setScaleMode(int16_t mode);   // vbTwips or vbPixels
    float ScaleWidth();
    float ScaleHeight();
    int16_t BorderStyle() const { return m_borderStyle; }
    // 0 none; 1 fixed single: a 2-pixel sunken 3-D edge that the drawing area
    // (ScaleWidth, ScaleHeight, hDC, child controls, mouse events) lies inside.
    void setBorderStyle(int16_t style);
    void Cls();
    // The colour at (x, y) in scale units (-1 outside), like Point.
    int32_t Point(float x, float y);
    void PSet(float x, float y, int32_t color);

    Event<> Click;
    Event<> Paint;

    // Container: the drawing area inside the border.
    Form& form() override { return Control::form(); }
    QWidget* hostWidget() override;
    double unitsPerPixelX() override { return m_scaleMode == vbPixels ? 1.0 : 15.0; }
    double unitsPerPixelY() override { return unitsPerPixelX(); }

    // Runtime side: the bitmap shown (sized to the box).
    gdi::HBITMAP bitmap();
    void paintTo(QWidget* widget);   // from the widget's paint event

protected:
    QWidget* createWidget(QWidget* parent) override;
    void resetState() override;
    QWidget* inputWidget() override;
    double mouseUnitsX() override { return unitsPerPixelX(); }
    double mouseUnitsY() override { return unitsPerPixelY(); }

private:
    void freeGdi();
    void ensureBitmap();
    void clearImage();
    QWidget* clientWidget() const;   // the drawing area, if made
    void fitToPicture();             // AutoSize: the picture and the border
    Picture m_picture;
    gdi::HBITMAP m_bitmap = 0;
    gdi::HDC m_dc = 0;
    gdi::HBITMAP m_oldBitmap = 0;
    bool m_autoRedraw = false;
    bool m_autoSize = false;
    bool m_painting = false;
    int16_t m_scaleMode = vbTwips;
    int16_t m_borderStyle = 1;
};

}  // namespace forms
