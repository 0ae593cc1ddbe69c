#pragma once
// The answer row shared by the two replace questions: Yes, Yes To All, No,
// No To All and Cancel side by side across the dialog's inner width (the
// fourth a little wider for its longer caption), in the dialog's scale units.

#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"

void LayoutAnswerButtons(forms::Form& dialog, forms::CommandButton& yes,
                         forms::CommandButton& yesAll, forms::CommandButton& no,
                         forms::CommandButton& noAll, forms::CommandButton& cancel);
