#include "barwright/editors/EditorLinks.h"

#include "barwright/panel/frmCtlPanel.h"
#include "barwright/panel/frmPreview.h"
#include "platform/runtime/Error.h"

namespace editors {
namespace {
WorkingCopySource g_source;
rt::Collection* g_categories = nullptr;
rt::Collection* g_groups = nullptr;
}  // namespace

std::shared_ptr<toolbar::MqZentribar> WorkingCopy()
{
    std::shared_ptr<toolbar::MqZentribar> control =
        g_source ? g_source() : frmPreview::get().tbarPreview.control();
    if (!control)
        rt::raise(rt::errc::ObjectNotSet, QStringLiteral("tbarPreview"));
    return control;
}

void setWorkingCopySource(WorkingCopySource source)
{
    g_source = std::move(source);
}

rt::Collection& PanelCategories()
{
    return g_categories ? *g_categories : frmCtlPanel::get().cCategories;
}

rt::Collection& PanelGroups()
{
    return g_groups ? *g_groups : frmCtlPanel::get().cGroups;
}

void setPanelLists(rt::Collection* categories, rt::Collection* groups)
{
    g_categories = categories;
    g_groups = groups;
}

}  // namespace editors
