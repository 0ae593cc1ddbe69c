#include "platform/forms/Screen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace forms {

namespace {
int16_t s_pointer = 0;
// Never destroyed: a picture must not outlive the GDI table at exit.
Picture& s_icon = *new Picture;
QSize screenSize()
{
    QScreen* s = QGuiApplication::primaryScreen();
    return s ? s->geometry().size() : QSize(1024, 768);
}
}  // namespace

float Screen::Width()
{
    return float(screenSize().width() * 15);
}

float Screen::Height()
{
    return float(screenSize().height() * 15);
}

int16_t Screen::MousePointer()
{
    return s_pointer;
}

void Screen::setMousePointer(int16_t pointer)
{
    checkMousePointer(pointer);
    if (pointer == s_pointer)
        return;
    if (s_pointer != vbDefault)
        QGuiApplication::restoreOverrideCursor();
    s_pointer = pointer;
    if (pointer != vbDefault)
        QGuiApplication::setOverrideCursor(
            cursorOf(pointer, s_icon).value_or(QCursor(Qt::ArrowCursor)));
}

Picture Screen::MouseIcon()
{
    return s_icon;
}

void Screen::setMouseIcon(Picture icon)
{
    s_icon = std::move(icon);
    if (s_pointer == vbCustom)
        QGuiApplication::changeOverrideCursor(
            cursorOf(vbCustom, s_icon).value_or(QCursor(Qt::ArrowCursor)));
}

}  // namespace forms
