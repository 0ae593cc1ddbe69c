#pragma once
// The ToolClick code skeleton: a Visual Basic "Select Case Tool.ID" block with
// one case per tool of the working copy, placed on the clipboard for the
// developer to paste into the control's ToolClick event handler.

#include "platform/automation/Dispatch.h"

#include <QString>

namespace toolbar {
class MqZentribar;
}

namespace mGlobals {

// The skeleton for a Tools collection of the toolbar control, in collection
// order; separators are left out, state buttons get a nested State block.
// Lines end in CR LF. Tools whose Type or ID cannot be read are left out.
QString ToolClickCode(const com::Object& tools);

// Replaces whatever the clipboard held with ToolClickCode(tools) as text.
void GenerateToolClickCode(const com::Object& tools);
// The same for the control's own control-wide Tools collection.
void GenerateToolClickCode(toolbar::MqZentribar& control);

}  // namespace mGlobals
