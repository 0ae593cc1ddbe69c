#include "platform/forms/ContextHelp.h"

#include "platform/forms/App.h"
#include "platform/forms/CommonDialog.h"
#include "platform/forms/Form.h"

namespace forms::detail {

bool pressHelpKey(Form& form, const Control* focused)
{
    const QString file = App::HelpFile();
    int32_t id = focused ? focused->HelpContextID() : 0;
    if (id == 0)
        id = form.HelpContextID();
    if (file.isEmpty() || id == 0)
        return false;
    runHandler([&] { help::run(file, cdlHelpContext, id); });
    return true;
}

}  // namespace forms::detail
