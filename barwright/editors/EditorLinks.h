#pragma once
// What the property editors reach outside their folder: the working copy they
// edit and the control panel's category and state-group lists. Each goes
// through one replaceable source, so tests can hand the dialogs their own.

#include "platform/runtime/Collection.h"
#include "platform/toolbar/MqZentribar.h"

#include <functional>
#include <memory>

namespace editors {

using WorkingCopySource = std::function<std::shared_ptr<toolbar::MqZentribar>()>;

// The working copy (frmPreview.tbarPreview unless a source was set); error 91
// when there is none.
std::shared_ptr<toolbar::MqZentribar> WorkingCopy();
// An empty source goes back to frmPreview.tbarPreview.
void setWorkingCopySource(WorkingCopySource source);

// frmCtlPanel.cCategories and frmCtlPanel.cGroups unless lists were set.
rt::Collection& PanelCategories();
rt::Collection& PanelGroups();
// Null pointers go back to the panel's lists.
void setPanelLists(rt::Collection* categories, rt::Collection* groups);

}  // namespace editors
