#pragma once
// The two routines that know the whole list of toolbar and tool properties a
// configuration is made of, and the order they are written in. They copy
// from an object of one toolbar control onto an object of another.

#include "platform/automation/Dispatch.h"

namespace mGlobals {

// Writes every settable toolbar property of src into dst (not Name, Style or
// the tool entries) and marks dst Configured. Each write stands on its own:
// one the destination refuses is skipped. Nothing is reported.
void CopyToolbarProperties(const com::Object& src, const com::Object& dst);

// bInstanceOnly: only the look a toolbar entry keeps on its own (DisplayStyle,
// Forecolor, ForecolorSource, Name). Otherwise the whole definition, with
// combo-box items, edit settings and a menu's sub-tool entries, whose
// definitions must already exist in dst's control. Not ID, Index, the combo
// box's ListIndex or the edit's password character. Each write stands on its
// own; nothing is reported.
void CopyToolProperties(bool bInstanceOnly, const com::Object& src, const com::Object& dst);

}  // namespace mGlobals
