#include "platform/forms/FormPalette.h"

#include "platform/forms/Control.h"

#include <QApplication>
#include <QPalette>

namespace forms::detail {

void useFormPalette()
{
    static bool done = false;
    if (done || !qApp)
        return;
    done = true;
    QPalette palette = QApplication::palette();
    const QColor grey = toQColor(int32_t(0x80000011));   // grey text
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, grey);
    QApplication::setPalette(palette);
}

}  // namespace forms::detail
