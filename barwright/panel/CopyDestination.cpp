#include "barwright/panel/CopyDestination.h"

#include "barwright/panel/frmPreview.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Error.h"
#include "platform/toolbar/MqZentribar.h"

namespace CopyDestination {

namespace {
com::Object& replacement()
{
    static com::Object control;
    return control;
}
}  // namespace

com::Object workingCopy()
{
    if (!replacement().isNothing())
        return replacement();
    return frmPreview::get().tbarPreview.object();
}

void setWorkingCopy(const com::Object& control)
{
    replacement() = control;
}

void copyWithoutRedraw(const std::function<void()>& copy)
{
    const com::Object wc = workingCopy();
    rt::tryStatement([&] { wc.let(toolbar::dispid::Redraw, false); });
    forms::Screen::setMousePointer(forms::vbHourglass);
    copy();
    forms::Screen::setMousePointer(forms::vbDefault);
    rt::tryStatement([&] { wc.let(toolbar::dispid::Redraw, true); });
}

}  // namespace CopyDestination
