// The control panel's views of the working copy: the tool tree in its flat
// and grouped form with the category and state-group collections, the tool
// pictures, the lazy filling of the Tools tab, the full reload after the
// configuration was replaced, and the tab switch.
#include "barwright/panel/frmCtlPanel.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/panel/CImagelist.h"
#include "barwright/panel/frmPreview.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Error.h"
#include "platform/toolbar/MqZentribar.h"

namespace {

const QString kCategoryPicture = QStringLiteral("##RYX##Category");
const QString kCategoryPrefix = QStringLiteral("@CATEGORY@");
const QString kGeneral = QStringLiteral("General");

std::shared_ptr<toolbar::Tools> workingCopyTools()
{
    return frmPreview::get().tbarPreview.control()->tools();
}

// The tools in collection order (none when the working copy is missing), as
// typed views: reading thousands of tools needs no late-bound objects.
std::vector<std::shared_ptr<toolbar::Tool>> toolsOf(const std::shared_ptr<toolbar::Tools>& tools)
{
    std::vector<std::shared_ptr<toolbar::Tool>> out;
    if (tools) {
        out.reserve(size_t(tools->Count()));
        for (const auto& state : tools->states())
            out.push_back(toolbar::Tool::view(state));
    }
    return out;
}

bool hasNormalPicture(const toolbar::Tool& tool)
{
    const forms::Picture picture = tool.picture(toolbar::PictureState::Normal);
    return mGlobals::IsNotNothing(com::Object(picture)) && mGlobals::HasPicture(picture);
}

// A picture key the tree can show, else none. A key its image list lacks
// (or a tree without image list) would make the node's addition fail, and
// the tool would be missing from the tree; it is shown without picture.
rt::Variant shownPicture(const forms::TreeView& tree, const QString& key)
{
    if (!tree.ImageList() || !tree.ImageList()->exists(key))
        return {};
    return rt::Variant(key);
}

rt::Variant pictureKeyOf(const forms::TreeView& tree, const toolbar::Tool& tool)
{
    return hasNormalPicture(tool) ? shownPicture(tree, tool.ID()) : rt::Variant();
}

void addToCollection(rt::Collection& collection, const QString& item, const QString& key)
{
    if (!collection.contains(key))
        collection.Add(rt::Variant(item), key);
}

}  // namespace

bool frmCtlPanel::IsToolNode(const forms::Node* node)
{
    return node && IsToolNode(node->Key());
}

void frmCtlPanel::LoadToolsIntoTreeview(bool bGroupByCategory, forms::TreeView& tree)
{
    forms::Screen::setMousePointer(forms::vbHourglass);
    mGlobals::ClearCollection(cCategories);
    mGlobals::ClearCollection(cGroups);
    std::shared_ptr<toolbar::Tools> tools;
    rt::tryStatement([&] { tools = workingCopyTools(); });

    rt::ResumeNext rn;
    if (!bGroupByCategory) {
        rn([&] {
            tree.setStyle(forms::tvwPictureText);
            tree.setLineStyle(forms::tvwTreeLines);
        });
        rn([&] { tree.Nodes.Clear(); });
        rn([&] { tree.setSorted(false); });
        for (const std::shared_ptr<toolbar::Tool>& tool : toolsOf(tools)) {
            const QString category = tool->Category();
            addToCollection(cCategories, category, category.toUpper());
            rn([&] {
                tree.Nodes.Add({}, forms::tvwLast, tool->ID(),
                               FormatToolDisplayString(tool->ID(), tool->Name()),
                               pictureKeyOf(tree, *tool));
            });
            const QString group = tool->StateGroupName().trimmed();
            if (!group.isEmpty() && tool->Type() == toolbar::mqStateButton)
                addToCollection(cGroups, group, group);
        }
        rn([&] { tree.setSorted(true); });
    } else {
        rn([&] {
            tree.setStyle(forms::tvwTreelinesPlusMinusPictureText);
            tree.setLineStyle(forms::tvwRootLines);
        });
        rn([&] { tree.Nodes.Clear(); });
        rn([&] { tree.setSorted(false); });
        int32_t categoryNodes = 0;
        QString lastCategoryKey;
        for (const std::shared_ptr<toolbar::Tool>& tool : toolsOf(tools)) {
            const QString category = tool->Category();
            const QString categoryKey = kCategoryPrefix + category.toUpper();
            if (!cCategories.contains(category.toUpper())) {
                cCategories.Add(rt::Variant(category), category.toUpper());
                rn([&] {
                    tree.Nodes.Add({}, forms::tvwLast, categoryKey, category,
                                   shownPicture(tree, kCategoryPicture));
                });
                lastCategoryKey = categoryKey;
                ++categoryNodes;
            }
            rn([&] {
                tree.Nodes.Add(categoryKey, forms::tvwChild, tool->ID(),
                               FormatToolDisplayString(tool->ID(), tool->Name()),
                               pictureKeyOf(tree, *tool));
            });
            const QString group = tool->StateGroupName().trimmed();
            if (!group.isEmpty())
                addToCollection(cGroups, group, group);
        }
        // Tools sorted inside every category; the categories keep the order
        // in which they first occur.
        rn([&] {
            forms::Node* first = nullptr;
            for (int32_t i = 1; i <= tree.Nodes.Count() && !first; ++i)
                if (!tree.Nodes.Item(i).Parent())
                    first = &tree.Nodes.Item(i);
            for (forms::Node* n = first ? first->FirstSibling() : nullptr; n; n = n->Next())
                n->setSorted(true);
        });
        if (categoryNodes == 1)
            rn([&] { tree.Nodes.Item(lastCategoryKey).setExpanded(true); });
    }
    addToCollection(cCategories, kGeneral, kGeneral.toUpper());
    rn.clear();
    forms::Screen::setMousePointer(forms::vbDefault);
}

void frmCtlPanel::ClearToolImages()
{
    rt::ResumeNext rn;
    rn([&] { tvTools.setImageList(nullptr); });
    // Every image but the first; from the end, which keeps each removal cheap.
    while (imlstTools.Count() >= 2)
        if (!rn([&] { imlstTools.Remove(imlstTools.Count()); }))
            break;
    rn([&] { tvTools.setImageList(&imlstTools); });
    rn.clear();
}

void frmCtlPanel::LoadToolsPage()
{
    rt::ResumeNext rn;
    if (!m_toolPicturesLoaded) {
        rn([&] { setMousePointer(forms::vbHourglass); });
        if (!m_toolPictureList)
            m_toolPictureList = std::make_unique<CImagelist>();
        rn([&] { m_toolPictureList->SetControls(imlstTools, ImageListWork, picWork); });
        ClearToolImages();
        std::shared_ptr<toolbar::Tools> tools;
        rn([&] { tools = workingCopyTools(); });
        for (const std::shared_ptr<toolbar::Tool>& tool : toolsOf(tools))
            if (hasNormalPicture(*tool))
                rn([&] {
                    m_toolPictureList->AddToolPicture(
                        tool->ID(), tool->picture(toolbar::PictureState::Normal));
                });
        rn([&] { setMousePointer(forms::vbDefault); });
        m_toolPicturesLoaded = true;
    }
    if (!m_toolTreeLoaded) {
        LoadToolsIntoTreeview(chDisplayByCategory.Value() == forms::vbChecked, tvTools);
        m_toolTreeLoaded = true;
    }
    rn([&] { SetCmdBtnsEnabledStatus(); });
    rn.clear();
}

void frmCtlPanel::ReloadAllLists()
{
    LoadScreenFields();
    rt::tryStatement([&] { tvTools.Nodes.Clear(); });
    if (m_toolPictureList) {
        m_toolPictureList->Cleanup();
        m_toolPictureList.reset();
    }
    m_toolPicturesLoaded = false;
    m_toolTreeLoaded = false;
    LoadToolsPage();
}

void frmCtlPanel::tabMain_Click(int16_t PreviousTab)
{
    auto enter = [&](int16_t tab) {
        switch (tab) {
        case 0:
            frCmdsToolbars.setEnabled(true);
            setHelpContextID(kHelpToolbars);
            break;
        case 1:
            frCmdsTools.setEnabled(true);
            LoadToolsPage();
            setHelpContextID(kHelpTools);
            m_treeContainerFlag = true;
            break;
        case 2:
            frOptions.setEnabled(true);
            setHelpContextID(kHelpOptions);
            break;
        default:
            break;
        }
    };
    auto leave = [&](int16_t tab) {
        switch (tab) {
        case 0:
            frCmdsToolbars.setEnabled(false);
            break;
        case 1:
            frCmdsTools.setEnabled(false);
            m_treeContainerFlag = false;
            break;
        case 2:
            frOptions.setEnabled(false);
            break;
        default:
            break;
        }
    };
    const int16_t current = tabMain.Tab();
    enter(current);
    if (PreviousTab != current)
        leave(PreviousTab);

    if (FontName() != QStringLiteral("MS Sans Serif")) {
        if (current == 0)
            layoutTabCommandFrame(frCmdsToolbars,
                                  {&cmdNewTBar, &cmdEditTBar, &cmdDeleteTBar, &cmdLoadTBar});
        else if (current == 1)
            layoutTabCommandFrame(frCmdsTools,
                                  {&cmdNewTool, &cmdEditTool, &cmdDeleteTool, &cmdLoadTool});
    }
}

void frmCtlPanel::liTBars_Click()
{
    if (m_listRecheckGuard)
        return;
    liTBars.Refresh();
    SetCmdBtnsEnabledStatus();
}

void frmCtlPanel::tvTools_Collapse()
{
    SetCmdBtnsEnabledStatus();
}

void frmCtlPanel::tvTools_NodeClick()
{
    SetCmdBtnsEnabledStatus();
}

bool frmCtlPanel::wireListsAndFiles()
{
    tabMain.Click = [this](int16_t previous) { tabMain_Click(previous); };
    liTBars.Click = [this] { liTBars_Click(); };
    tvTools.Collapse = [this](forms::Node&) { tvTools_Collapse(); };
    tvTools.NodeClick = [this](forms::Node&) { tvTools_NodeClick(); };
    cmdImport.Click = [this] { cmdImport_Click(); };
    cmdExport.Click = [this] { cmdExport_Click(); };
    cmdHelp.Click = [this] { cmdHelp_Click(); };
    cmdLoadTBar.Click = [this] { cmdLoadTBar_Click(); };
    cmdLoadTool.Click = [this] { cmdLoadTool_Click(); };
    return true;
}
