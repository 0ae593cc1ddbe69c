#include "barwright/panel/frmLoadToolbarConflict.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/panel/AnswerButtons.h"
#include "barwright/panel/CImagelist.h"
#include "barwright/panel/ToolListRows.h"
#include "platform/runtime/Error.h"

#include <QApplication>

frmLoadToolbarConflict::frmLoadToolbarConflict()
{
    cmdYes.Click = [this] { answer(1); };
    cmdYesAll.Click = [this] { answer(2); };
    CmdNo.Click = [this] { answer(3); };
    cmdNoAll.Click = [this] { answer(4); };
    cmdCxl.Click = [this] { answer(5); };
}

void frmLoadToolbarConflict::Form_Design()
{
    setCaption(QStringLiteral("Confirm Toolbar Replace"));
    setScaleMode(forms::vbPixels);
    setDesignSize(520 * 15, 380 * 15);

    lbMain.Move(8, 8, 504, 16);
    lbReplace.Move(8, 30, 504, 16);
    lbReplace.setCaption(QStringLiteral("Would you like to replace the existing toolbar"));
    lbWithThis.Move(8, 188, 504, 16);
    lbWithThis.setCaption(QStringLiteral("with this one?"));

    struct Side {
        forms::Label* styleLabel;
        forms::TextBox* style;
        forms::Label* toolsLabel;
        forms::ListView* list;
        forms::ImageList* images;
        float top;
    };
    const Side sides[] = {
        {&lbOldStyle, &txtOldStyle, &lbOldTools, &lvOld, &imlstOld, 52},
        {&lbNewStyle, &txtNewStyle, &lbNewTools, &lvNew, &imlstNew, 210},
    };
    for (const Side& s : sides) {
        s.styleLabel->Move(12, s.top + 3, 44, 16);
        s.styleLabel->setCaption(QStringLiteral("Style:"));
        s.style->Move(60, s.top, 200, 20);
        s.style->setLocked(true);
        s.toolsLabel->Move(12, s.top + 27, 44, 16);
        s.toolsLabel->setCaption(QStringLiteral("Tools:"));
        s.list->Move(60, s.top + 26, 452, 100);
        DesignToolColumns(*s.list, 110 * 15, 190 * 15, 130 * 15);
        s.list->setSmallIcons(s.images);
    }
    picWork.Move(0, 0, 16, 17);
    picWork.setScaleMode(forms::vbPixels);
    picWork.setBorderStyle(0);
    picWork.setAutoRedraw(true);
    picWork.setVisible(false);

    const std::pair<forms::CommandButton*, const char*> buttons[] = {
        {&cmdYes, "&Yes"}, {&cmdYesAll, "Y&es To All"}, {&CmdNo, "&No"},
        {&cmdNoAll, "N&o To All"}, {&cmdCxl, "Cancel"}};
    for (const auto& [button, caption] : buttons) {
        button->Move(5, 346, 100, 26);
        button->setCaption(QLatin1String(caption));
    }
    cmdYes.setDefault(true);
    cmdCxl.setCancel(true);
}

void frmLoadToolbarConflict::Form_Load()
{
    QApplication::beep();
    ReturnCode = 0;
    mGlobals::gMsg = QStringLiteral("The control already contains a toolbar called '") +
                     ToolBarName + QStringLiteral("'.");
    lbMain.setCaption(mGlobals::gMsg);
    int16_t oldStyle = 0;
    int16_t newStyle = 0;
    rt::tryStatement([&] { oldStyle = OldTbar.get(QStringLiteral("Style")).toInteger(); });
    rt::tryStatement([&] { newStyle = NewTBar.get(QStringLiteral("Style")).toInteger(); });
    txtOldStyle.setText(mGlobals::ToolbarTypeName(oldStyle));
    txtNewStyle.setText(mGlobals::ToolbarTypeName(newStyle));
    LoadListviewWithTools(lvOld, imlstOld, OldTbar);
    LoadListviewWithTools(lvNew, imlstNew, NewTBar);
    // Laid out whatever the font: the captions need the room.
    LayoutAnswerButtons(*this, cmdYes, cmdYesAll, CmdNo, cmdNoAll, cmdCxl);
}

void frmLoadToolbarConflict::LoadListviewWithTools(forms::ListView& ctlList,
                                                   forms::ImageList& ctlImlst,
                                                   const com::Object& tbar)
{
    CImagelist pictures;
    pictures.SetControls(ctlImlst, ImageListWork, picWork);
    ctlImlst.Clear();
    com::Object entries;
    rt::tryStatement(
        [&] { entries = com::Object::fromVariant(tbar.get(QStringLiteral("Tools"))); });
    AddToolRows(ctlList, pictures, entries);
    if (ctlList.ListItems.Count() == 0)
        ctlList.ListItems.Add(0, QString(), QStringLiteral("<No Tools>"));
}

void frmLoadToolbarConflict::answer(int32_t code)
{
    ReturnCode = code;
    Hide();
}

void frmLoadToolbarConflict::Form_Unload(int16_t& Cancel)
{
    (void)Cancel;
    // Closed through the title bar: Cancel.
    if (ReturnCode == 0)
        ReturnCode = 5;
    NewTBar = com::Object();
    OldTbar = com::Object();
}
