#pragma once
// Places a form in the middle of the screen, as the conversion windows open.

namespace forms {
class Form;
}

void CentreOnScreen(forms::Form& form);
