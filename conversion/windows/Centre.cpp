#include "conversion/windows/Centre.h"

#include "platform/forms/Form.h"
#include "platform/forms/Screen.h"

#include <algorithm>

void CentreOnScreen(forms::Form& form)
{
    const float left = (forms::Screen::Width() - form.Width()) / 2;
    const float top = (forms::Screen::Height() - form.Height()) / 2;
    form.Move(std::max(left, 0.0f), std::max(top, 0.0f));
}
