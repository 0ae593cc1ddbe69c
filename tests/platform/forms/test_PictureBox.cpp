// Picture boxes as the picture editor and the wizard use them: the persistent
// image in the display's format, the border and the drawing area inside it.
#include "FormsFixture.h"

#include "platform/forms/PictureBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include <gmock/gmock.h>

using namespace forms;

namespace {

class frmBoxes final : public Form {
public:
    QString className() const override { return QStringLiteral("frmBoxes"); }
    PictureBox picBox{this, "picBox"};
    PictureBox picInner{&picBox, "picInner"};

private:
    void Form_Design() override
    {
        setDesignSize(6000, 6000);
        picBox.setAutoRedraw(true);
        picBox.Move(150, 150, 100 * 15, 60 * 15);
        picInner.setVisible(false);
    }
};

frmBoxes& boxes() { return instance<frmBoxes>(); }

class PictureBoxTest : public FormsFixture {
protected:
    void TearDown() override
    {
        FormsFixture::TearDown();
        gdi::SetDisplayBitsPerPixel(32);
    }
};

class DisplayDepthTest : public PictureBoxTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(DisplayDepthTest, ImageHasTheDisplaysFormat)
{
    const int32_t bits = GetParam();
    gdi::SetDisplayBitsPerPixel(bits);
    PictureBox& box = boxes().picBox;
    EXPECT_EQ(gdi::GetBitmapBitsPixel(box.Image()->Handle()), bits);
    // What is drawn reads back as the display shows it.
    const gdi::COLORREF brown = gdi::RGB(97, 65, 33);
    gdi::SetPixel(box.hDC(), 1, 1, brown | gdi::PaletteRelative);
    const gdi::COLORREF shown = gdi::GetPixel(box.hDC(), 1, 1);
    EXPECT_EQ(shown, gdi::GetNearestColor(box.hDC(), brown));
    EXPECT_EQ(shown == brown, bits == 32);
    // A box resized later keeps following the display.
    box.setWidth(120 * 15);
    EXPECT_EQ(gdi::GetBitmapBitsPixel(box.Image()->Handle()), bits);
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 1, 1), shown);
}

INSTANTIATE_TEST_SUITE_P(Depths, DisplayDepthTest, ::testing::Values(4, 8, 32));

QColor sysColor(int32_t index)
{
    return toQColor(int32_t(gdi::SystemColor(index)));
}

TEST_F(PictureBoxTest, FixedSingleBorderIsASunkenEdgeOutsideTheDrawingArea)
{
    PictureBox& box = boxes().picBox;
    ASSERT_EQ(box.BorderStyle(), 1);   // the default, as designed boxes have
    EXPECT_EQ(box.Width(), 100 * 15);
    EXPECT_EQ(box.ScaleWidth(), 96 * 15);
    EXPECT_EQ(box.ScaleHeight(), 56 * 15);
    EXPECT_EQ(box.Image()->widthPixels(), 96);
    EXPECT_EQ(box.Image()->heightPixels(), 56);

    box.setBackColor(int32_t(gdi::RGB(255, 255, 255)));
    gdi::SetPixelV(box.hDC(), 0, 0, gdi::RGB(255, 0, 0));
    gdi::SetPixelV(box.hDC(), 95, 55, gdi::RGB(0, 0, 255));
    const QImage shot = box.widget()->grab().toImage();
    ASSERT_EQ(shot.size(), QSize(100, 60));
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(255, 0, 0));     // drawing (0, 0)
    EXPECT_EQ(shot.pixelColor(97, 57), QColor(0, 0, 255));   // drawing (95, 55)
    EXPECT_EQ(shot.pixelColor(0, 30), sysColor(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(shot.pixelColor(1, 30), sysColor(gdi::COLOR_3DDKSHADOW));
    EXPECT_EQ(shot.pixelColor(99, 30), sysColor(gdi::COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(shot.pixelColor(98, 30), sysColor(gdi::COLOR_3DLIGHT));
    EXPECT_EQ(shot.pixelColor(50, 0), sysColor(gdi::COLOR_BTNSHADOW));
    EXPECT_EQ(shot.pixelColor(50, 59), sysColor(gdi::COLOR_BTNHIGHLIGHT));
}

TEST_F(PictureBoxTest, ControlsAndMouseCountFromInsideTheBorder)
{
    PictureBox& box = boxes().picBox;
    PictureBox& inner = boxes().picInner;
    inner.Move(600, 450, 150, 150);
    EXPECT_EQ(inner.widget()->mapTo(box.widget(), QPoint(0, 0)), QPoint(42, 32));

    std::vector<QPointF> presses;
    box.MouseDown = [&](int16_t, int16_t, float x, float y) { presses.emplace_back(x, y); };
    QWidget* area = box.widget()->childAt(10, 10);
    ASSERT_NE(area, nullptr);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(8, 8), area->mapToGlobal(QPointF(8, 8)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(area, &press);
    EXPECT_THAT(presses, ::testing::ElementsAre(QPointF(8 * 15, 8 * 15)));
    EXPECT_EQ(area->mapTo(box.widget(), QPoint(8, 8)), QPoint(10, 10));
}

TEST_F(PictureBoxTest, NoBorderAndAutoSizeCountTheBorderToo)
{
    PictureBox& box = boxes().picBox;
    box.setBorderStyle(0);
    EXPECT_EQ(box.ScaleWidth(), box.Width());
    EXPECT_EQ(box.Image()->widthPixels(), 100);

    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::green);
    box.setAutoSize(true);
    box.setPicture(StdPicture::fromImage(picture));
    EXPECT_EQ(box.Width(), 30 * 15);
    box.setBorderStyle(1);   // the box grows by the border, the picture fits
    EXPECT_EQ(box.Width(), 34 * 15);
    EXPECT_EQ(box.Height(), 24 * 15);
    EXPECT_EQ(box.ScaleWidth(), 30 * 15);
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 29, 19), gdi::RGB(0, 255, 0));
}

}  // namespace
