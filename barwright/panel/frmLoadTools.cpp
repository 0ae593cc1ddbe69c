#include "barwright/panel/frmLoadTools.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/connection/mGlobalsControls.h"
#include "barwright/panel/CImagelist.h"
#include "barwright/panel/CToolCopier.h"
#include "barwright/panel/CopyDestination.h"
#include "barwright/panel/CopyDialogButtons.h"
#include "barwright/panel/LoadWorkConfiguration.h"
#include "barwright/panel/ToolListRows.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Error.h"
#include "platform/toolbar/MqZentribar.h"

namespace {
const QString kTitle = QStringLiteral("Load Tools From Configuration");
}

frmLoadTools::frmLoadTools()
{
    lvTools.Click = [this] { SetCmdBtnsEnabledStatus(); };
    lvTools.ItemClick = [this](forms::ListItem&) { SetCmdBtnsEnabledStatus(); };
    lvTools.ColumnClick = [this](forms::ColumnHeader& column) {
        lvTools.setSortKey(int16_t(column.Index() - 1));
    };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCxl.Click = [this] { cmdCxl_Click(); };
    cmdSelectAll.Click = [this] { selectAll(true); };
    cmdClearAll.Click = [this] { selectAll(false); };
}

void frmLoadTools::Form_Design()
{
    setCaption(kTitle);
    setScaleMode(forms::vbPixels);
    setDesignSize(520 * 15, 340 * 15);
    tbarWork.Move(0, 0, 10, 10);
    tbarWork.setVisible(false);
    lbLoadingLit.Move(8, 8, 200, 16);
    lbLoadingLit.setCaption(QStringLiteral("Configuration File"));
    txtLoadingFrom.Move(8, 26, 504, 20);
    txtLoadingFrom.setLocked(true);
    Label1.Move(8, 56, 300, 16);
    Label1.setCaption(QStringLiteral("&Select The Tools To Load"));
    lvTools.Move(8, 74, 400, 258);
    DesignToolColumns(lvTools, 130 * 15, 150 * 15, 110 * 15);
    lvTools.setMultiSelect(true);
    lvTools.setHideSelection(false);
    lvTools.setSmallIcons(&ImageList1);
    lvTools.setSorted(true);   // by ID until a column header is clicked
    picWork.Move(0, 0, 16, 17);
    picWork.setScaleMode(forms::vbPixels);
    picWork.setBorderStyle(0);
    picWork.setAutoRedraw(true);
    picWork.setVisible(false);

    buttons().design(414, {74, 104, 152, 182}, 98, 26);
}

void frmLoadTools::Form_Load()
{
    bCanceled = true;
    forms::Screen::setMousePointer(forms::vbHourglass);
    bLoaded = LoadConfiguration();
    if (!bLoaded)
        Hide();
    forms::Screen::setMousePointer(forms::vbDefault);
    if (isLoaded() && FontName() != u"MS Sans Serif") {
        const float left = lvTools.Left() + lvTools.Width() + 2;
        const float width = ScaleWidth() - (lvTools.Left() + lvTools.Width() + 4);
        buttons().align(left, width);
    }
}

void frmLoadTools::Form_Activate()
{
    if (!bLoaded)
        Unload();
}

bool frmLoadTools::LoadConfiguration()
{
    txtLoadingFrom.setText(ConfigFileName);
    const com::Object work = tbarWork.object();
    if (!LoadWorkConfiguration(work, ConfigFileName, kTitle))
        return false;
    rt::tryStatement([&] { work.let(toolbar::dispid::Visible, false); });
    LoadListviewWithTools();
    return true;
}

void frmLoadTools::LoadListviewWithTools()
{
    CImagelist pictures;
    pictures.SetControls(ImageList1, ImageList2, picWork);
    rt::ResumeNext rn;
    rn([&] { ImageList1.Clear(); });
    com::Object tools;
    rn([&] { tools = com::Object::fromVariant(tbarWork.object().get(toolbar::dispid::Tools)); });
    AddToolRows(lvTools, pictures, tools);
}

bool frmLoadTools::ItemSelected(forms::ListView& ctlList)
{
    const int32_t count = ctlList.ListItems.Count();
    for (int32_t i = 1; i <= count; ++i) {
        if (ctlList.ListItems.Item(i).Selected())
            return true;
    }
    return false;
}

void frmLoadTools::SetCmdBtnsEnabledStatus()
{
    const bool any = ItemSelected(lvTools);
    mGlobals::SetEnabled(cmdOK, any);
    mGlobals::SetEnabled(cmdClearAll, any);
}

void frmLoadTools::selectAll(bool on)
{
    const int32_t count = lvTools.ListItems.Count();
    for (int32_t i = 1; i <= count; ++i)
        lvTools.ListItems.Item(i).setSelected(on);
    lvTools.Click.fire();
}

void frmLoadTools::cmdCxl_Click()
{
    bCanceled = true;
    Hide();
}

void frmLoadTools::cmdOK_Click()
{
    CopyDestination::copyWithoutRedraw([this] { LoadSelectedTools(); });
    bCanceled = false;
    Hide();
}

bool frmLoadTools::LoadSelectedTools()
{
    CToolCopier copier;
    copier.setDestinationControl(CopyDestination::workingCopy());
    copier.setSourceControl(tbarWork.object());

    // The IDs first: a question's modal loop must not see the list change
    // under an index.
    QStringList ids;
    const int32_t count = lvTools.ListItems.Count();
    for (int32_t i = 1; i <= count; ++i) {
        const forms::ListItem& item = lvTools.ListItems.Item(i);
        if (item.Selected())
            ids << item.Text();
    }
    com::Object sourceTools;
    rt::tryStatement(
        [&] { sourceTools = com::Object::fromVariant(tbarWork.object().get(toolbar::dispid::Tools)); });
    for (const QString& id : ids) {
        com::Object tool;
        if (rt::tryStatement([&] {
                tool = com::Object::fromVariant(sourceTools.get(QStringLiteral("Item"), {id}));
            }) != 0)
            continue;
        bool cancel = false;
        copier.CopyCtlTool(tool, cancel);
        if (cancel)
            return false;
    }
    return true;
}

void frmLoadTools::Form_Unload(int16_t& Cancel)
{
    (void)Cancel;
    lvTools.setSmallIcons(nullptr);
    while (ImageList1.Count() > 0)
        ImageList1.Remove(1);
}
