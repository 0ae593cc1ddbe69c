#pragma once
// The control the copy-from-file dialogs write into: the working copy
// frmPreview.tbarPreview, unless another control was put in its place (a
// test's own control, so the dialogs can run without the preview window).

#include "platform/automation/Dispatch.h"

#include <functional>

namespace CopyDestination {

com::Object workingCopy();
// Nothing goes back to frmPreview.tbarPreview.
void setWorkingCopy(const com::Object& control);

// Runs a copy into the working copy with its redrawing off and the hourglass
// showing, then turns both back.
void copyWithoutRedraw(const std::function<void()>& copy);

}  // namespace CopyDestination
