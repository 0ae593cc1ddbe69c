#include "barwright/panel/AnswerButtons.h"

void LayoutAnswerButtons(forms::Form& dialog, forms::CommandButton& yes,
                         forms::CommandButton& yesAll, forms::CommandButton& no,
                         forms::CommandButton& noAll, forms::CommandButton& cancel)
{
    const float w = dialog.ScaleWidth() / 5 - 5;
    yes.setLeft(5);
    for (forms::CommandButton* b : {&yes, &yesAll, &no, &cancel})
        b->setWidth(w);
    noAll.setWidth(w + 13);
    forms::CommandButton* previous = &yes;
    for (forms::CommandButton* b : {&yesAll, &no, &noAll, &cancel}) {
        b->setLeft(previous->Left() + previous->Width() + 1);
        previous = b;
    }
}
