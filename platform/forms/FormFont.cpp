#include "platform/forms/FormFont.h"

#include <QApplication>
#include <QFont>

namespace forms::detail {

void useFormFont()
{
    static bool done = false;
    if (done || !qApp)
        return;
    done = true;
    // Pixels, not points: the forms map 15 twips to a pixel whatever the dpi.
    QFont font = QApplication::font();
    font.setPixelSize(11);
    QApplication::setFont(font);
}

}  // namespace forms::detail
