#include "platform/forms/Screen.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace forms {

namespace {
int16_t s_pointer = 0;
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
    if (pointer == s_pointer)
        return;
    if (s_pointer != 0)
        QGuiApplication::restoreOverrideCursor();
    s_pointer = pointer;
    if (pointer == vbHourglass)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else if (pointer != 0)
        QGuiApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
}

}  // namespace forms
