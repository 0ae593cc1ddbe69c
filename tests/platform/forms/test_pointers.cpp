// Mouse pointers: the standard shapes by number on forms, controls and the
// screen, and the custom pointer 99 drawn from a MouseIcon with its hot spot.
#include "FormsFixture.h"

#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/MousePointer.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/Screen.h"
#include "platform/forms/Testing.h"
#include "platform/runtime/Error.h"

#include <QGuiApplication>
#include <QPainter>
#include <QWidget>

#include <gmock/gmock.h>

using namespace forms;

namespace {

class frmPointers final : public Form {
public:
    QString className() const override { return QStringLiteral("frmPointers"); }
    CommandButton cmdGo{this, "cmdGo"};
    PictureBox picCanvas{this, "picCanvas"};

private:
    void Form_Design() override
    {
        setDesignSize(4800, 3600);
        picCanvas.Move(600, 600, 1500, 1500);
    }
};

frmPointers& form() { return instance<frmPointers>(); }

// A 32 x 32 cross with its hot spot at (3, 28).
Picture cursorPicture()
{
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter(&image).fillRect(0, 24, 8, 8, Qt::black);
    return StdPicture::fromCursor(image, QPoint(3, 28));
}

bool hasOwnCursor(const QWidget* w)
{
    return w->testAttribute(Qt::WA_SetCursor);
}

class PointerTest : public FormsFixture {
protected:
    void TearDown() override
    {
        FormsFixture::TearDown();
        Screen::setMousePointer(vbDefault);
        Screen::setMouseIcon(nullptr);
    }
};

TEST_F(PointerTest, StandardNumbersShowTheirShapes)
{
    const std::pair<int16_t, Qt::CursorShape> shapes[] = {
        {vbArrow, Qt::ArrowCursor},          {vbCrosshair, Qt::CrossCursor},
        {vbIbeam, Qt::IBeamCursor},          {vbSizePointer, Qt::SizeAllCursor},
        {vbSizeNESW, Qt::SizeBDiagCursor},   {vbSizeNS, Qt::SizeVerCursor},
        {vbSizeNWSE, Qt::SizeFDiagCursor},   {vbSizeWE, Qt::SizeHorCursor},
        {vbUpArrow, Qt::UpArrowCursor},      {vbHourglass, Qt::WaitCursor},
        {vbNoDrop, Qt::ForbiddenCursor},     {vbArrowHourglass, Qt::BusyCursor},
        {vbArrowQuestion, Qt::WhatsThisCursor}, {vbSizeAll, Qt::SizeAllCursor}};
    QWidget* button = form().cmdGo.widget();
    for (const auto& [number, shape] : shapes) {
        form().cmdGo.setMousePointer(number);
        EXPECT_EQ(button->cursor().shape(), shape) << number;
        form().setMousePointer(number);
        EXPECT_EQ(form().existingWindow()->cursor().shape(), shape) << number;
    }
    form().cmdGo.setMousePointer(vbDefault);
    EXPECT_FALSE(hasOwnCursor(button));
    EXPECT_EQ(form().cmdGo.MousePointer(), vbDefault);
}

TEST_F(PointerTest, CustomPointerShowsTheIconWithItsHotSpot)
{
    PictureBox& canvas = form().picCanvas;
    QWidget* area = canvas.widget()->childAt(5, 5);   // inside the border
    ASSERT_NE(area, nullptr);
    canvas.setMousePointer(vbCustom);
    EXPECT_FALSE(hasOwnCursor(area));   // no icon yet: the default
    const Picture icon = cursorPicture();
    canvas.setMouseIcon(icon);
    EXPECT_EQ(canvas.MouseIcon(), icon);
    const QCursor shown = area->cursor();
    EXPECT_EQ(shown.shape(), Qt::BitmapCursor);
    EXPECT_EQ(shown.hotSpot(), QPoint(3, 28));
    EXPECT_EQ(shown.pixmap().toImage().convertToFormat(QImage::Format_ARGB32),
              icon->cursorImage());
    // On the drawing area; the border keeps the box's surroundings' pointer.
    EXPECT_FALSE(hasOwnCursor(canvas.widget()));

    canvas.setMousePointer(vbSizeAll);
    EXPECT_EQ(area->cursor().shape(), Qt::SizeAllCursor);
    canvas.setMousePointer(vbCustom);
    EXPECT_EQ(area->cursor().hotSpot(), QPoint(3, 28));
}

TEST_F(PointerTest, NumbersThatAreNoPointerAreRefused)
{
    form().cmdGo.setMousePointer(vbHourglass);
    for (int16_t bad : {int16_t(-1), int16_t(16), int16_t(98), int16_t(100)}) {
        EXPECT_THROW(form().cmdGo.setMousePointer(bad), rt::Error) << bad;
        EXPECT_THROW(form().setMousePointer(bad), rt::Error) << bad;
        EXPECT_THROW(Screen::setMousePointer(bad), rt::Error) << bad;
    }
    EXPECT_EQ(form().cmdGo.MousePointer(), vbHourglass);
}

TEST_F(PointerTest, UnloadPutsTheDesignedPointerBack)
{
    form().picCanvas.setMouseIcon(cursorPicture());
    form().picCanvas.setMousePointer(vbCustom);
    form().setMousePointer(vbHourglass);
    form().Unload();
    EXPECT_EQ(form().picCanvas.MousePointer(), vbDefault);
    EXPECT_EQ(form().picCanvas.MouseIcon(), nullptr);
    EXPECT_EQ(form().MousePointer(), vbDefault);
    form().Load();
    EXPECT_FALSE(hasOwnCursor(form().existingWindow()));
}

TEST_F(PointerTest, ScreenPointerIsShownOverEveryWindow)
{
    Screen::setMousePointer(vbHourglass);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Screen::setMouseIcon(cursorPicture());
    Screen::setMousePointer(vbCustom);
    EXPECT_EQ(QGuiApplication::overrideCursor()->hotSpot(), QPoint(3, 28));
    Screen::setMousePointer(vbDefault);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
