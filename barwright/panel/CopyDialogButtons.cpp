#include "barwright/panel/CopyDialogButtons.h"

void CopyDialogButtons::design(float left, const std::array<float, 4>& tops, float width,
                               float height) const
{
    const std::array<std::pair<forms::CommandButton*, const char*>, 4> buttons{{
        {&ok, "OK"}, {&cancel, "Cancel"}, {&selectAll, "Select &All"},
        {&clearAll, "&Clear All"}}};
    for (size_t i = 0; i < buttons.size(); ++i) {
        buttons[i].first->Move(left, tops[i], width, height);
        buttons[i].first->setCaption(QLatin1String(buttons[i].second));
    }
    ok.setDefault(true);
    cancel.setCancel(true);
    ok.setEnabled(false);
    clearAll.setEnabled(false);
}

void CopyDialogButtons::align(float left, float width) const
{
    for (forms::CommandButton* b : {&ok, &cancel, &selectAll, &clearAll}) {
        b->setLeft(left);
        b->setWidth(width);
    }
}
