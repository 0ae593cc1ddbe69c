#include "barwright/panel/frmLoadToolConflict.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/panel/AnswerButtons.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/Error.h"

#include <QApplication>

#include <algorithm>

namespace {

constexpr int32_t SysButtonFace = int32_t(0x80000000u | gdi::COLOR_BTNFACE);
// Yes/No, exclamation icon, No the default button.
constexpr int32_t kConfirmCancelStyle = forms::vbYesNo | forms::vbExclamation |
                                        forms::vbDefaultButton2;

}  // namespace

frmLoadToolConflict::frmLoadToolConflict()
{
    cmdYes.Click = [this] { answer(1); };
    cmdYesAll.Click = [this] { answer(2); };
    CmdNo.Click = [this] { answer(3); };
    cmdNoAll.Click = [this] { answer(4); };
    cmdCxl.Click = [this] { cmdCxl_Click(); };
}

void frmLoadToolConflict::Form_Design()
{
    setCaption(QStringLiteral("Confirm Tool Replace"));
    setScaleMode(forms::vbPixels);
    setDesignSize(520 * 15, 276 * 15);

    lbMain.Move(8, 8, 504, 16);
    lbReplace.Move(8, 30, 504, 16);
    lbReplace.setCaption(QStringLiteral("Would you like to replace the existing tool"));
    lbWithThis.Move(8, 132, 504, 16);
    lbWithThis.setCaption(QStringLiteral("with this one?"));

    struct Side {
        forms::PictureBox* pic;
        forms::Label* labels[3];
        forms::TextBox* fields[3];
        float top;
    };
    const Side sides[] = {
        {&picOld, {&lbOldType, &lbOldCategory, &lbOldDesc},
         {&txtOldType, &txtOldCategory, &txtOldDesc}, 52},
        {&picNew, {&lbNewType, &lbNewCategory, &lbNewDesc},
         {&txtNewType, &txtNewCategory, &txtNewDesc}, 154},
    };
    const char* captions[3] = {"Type:", "Category:", "Description:"};
    for (const Side& s : sides) {
        s.pic->Move(12, s.top, 26, 26);
        s.pic->setScaleMode(forms::vbPixels);
        s.pic->setBorderStyle(0);
        s.pic->setAutoRedraw(true);
        for (int i = 0; i < 3; ++i) {
            s.labels[i]->Move(56, s.top + 3 + float(i) * 24, 70, 16);
            s.labels[i]->setCaption(QLatin1String(captions[i]));
            s.fields[i]->Move(128, s.top + float(i) * 24, 384, 20);
            s.fields[i]->setLocked(true);
        }
    }
    picWork.Move(0, 0, 16, 17);
    picWork.setScaleMode(forms::vbPixels);
    picWork.setBorderStyle(0);
    picWork.setAutoRedraw(true);
    picWork.setVisible(false);

    const std::pair<forms::CommandButton*, const char*> buttons[] = {
        {&cmdYes, "&Yes"}, {&cmdYesAll, "Y&es To All"}, {&CmdNo, "&No"},
        {&cmdNoAll, "N&o To All"}, {&cmdCxl, "Cancel"}};
    float left = 5;
    for (const auto& [button, caption] : buttons) {
        button->Move(left, 240, 100, 26);
        button->setCaption(QLatin1String(caption));
        left += 103;
    }
    cmdYes.setDefault(true);
    cmdCxl.setCancel(true);
}

void frmLoadToolConflict::Form_Load()
{
    QApplication::beep();
    ReturnCode = 0;
    mGlobals::gMsg =
        QStringLiteral("The control already contains a tool called '") + ToolID + QStringLiteral("'.");
    lbMain.setCaption(mGlobals::gMsg);
    showTool(OldTool, txtOldType, txtOldCategory, txtOldDesc, picOld);
    showTool(NewTool, txtNewType, txtNewCategory, txtNewDesc, picNew);
    if (FontName() != u"MS Sans Serif")
        LayoutAnswerButtons(*this, cmdYes, cmdYesAll, CmdNo, cmdNoAll, cmdCxl);
}

void frmLoadToolConflict::showTool(const com::Object& tool, forms::TextBox& type,
                                   forms::TextBox& category, forms::TextBox& description,
                                   forms::PictureBox& pic)
{
    int16_t toolType = 0;
    rt::tryStatement([&] { toolType = tool.get(QStringLiteral("Type")).toInteger(); });
    type.setText(mGlobals::ToolTypeName(toolType, false));
    rt::tryStatement([&] { category.setText(tool.get(QStringLiteral("Category")).toString()); });
    rt::tryStatement(
        [&] { description.setText(tool.get(QStringLiteral("Description")).toString()); });
    // Combo boxes, edits, labels and menus show no picture on a toolbar.
    if (toolType >= 4 && toolType <= 7)
        pic.setVisible(false);
    else
        ShowToolPicture(pic, tool);
}

void frmLoadToolConflict::ShowToolPicture(forms::PictureBox& pic, const com::Object& tool)
{
    pic.setBackColor(SysButtonFace);
    pic.setWidth(26);
    pic.setHeight(26);

    forms::Picture picture;
    rt::tryStatement([&] {
        picture = com::Object::fromVariant(tool.get(QStringLiteral("PictureNormal")))
                      .as<forms::StdPicture>();
    });
    int32_t W = 0;
    int32_t H = 0;
    if (!picture || !picture->Handle() || !gdi::GetBitmapSize(picture->Handle(), &W, &H) ||
        W <= 0 || H <= 0) {
        mDrawParams::Draw3DBorder(pic, false);
        pic.Refresh();
        return;
    }
    const int32_t size = std::clamp(W, 16, 32);
    const bool tall = H > size;

    picWork.Move(0, 0, float(W), float(H));
    picWork.setPicture(picture);
    // The stored picture's extra bottom row carries the mask colour.
    gdi::COLORREF mask = gdi::GetPixel(picWork.hDC(), 0, H - 1);
    if (mask == gdi::CLR_INVALID) {
        if (const uint32_t* px = gdi::BitmapPixels(picture->Handle()))
            mask = px[size_t(H - 1) * size_t(W)];
    }

    pic.setWidth(float(size + 10));
    pic.setHeight(float(size + 10));
    mDrawParams::Draw3DBorder(pic, false);
    const gdi::HDC dc = pic.hDC();
    gdi::StretchBlt(dc, 5, 5, size, size, picWork.hDC(), 0, 0, W, tall ? H - 1 : H,
                    gdi::SRCCOPY);
    const gdi::COLORREF face =
        mDrawParams::PaletteColor(int32_t(gdi::GetSysColor(gdi::COLOR_BTNFACE)));
    for (int32_t x = 5; x <= size + 4; ++x) {
        for (int32_t y = 0; y <= size + 4; ++y) {
            if (gdi::GetPixel(dc, x, y) == mask)
                gdi::SetPixelV(dc, x, y, face);
        }
    }
    pic.Refresh();
}

void frmLoadToolConflict::answer(int32_t code)
{
    ReturnCode = code;
    Hide();
}

bool frmLoadToolConflict::confirmCancel()
{
    mGlobals::gAnswer = forms::MsgBox(
        QStringLiteral("Not all requested tools and/or toolbars have been copied.  "
                       "Are you sure you want to cancel?"),
        kConfirmCancelStyle, QStringLiteral("Load Tools"));
    return mGlobals::gAnswer != forms::vbNo;
}

void frmLoadToolConflict::cmdCxl_Click()
{
    if (confirmCancel())
        answer(5);
}

void frmLoadToolConflict::Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode)
{
    // The close box asks as Cancel does, so a closed question never reads as
    // permission to replace.
    if (UnloadMode != forms::vbFormControlMenu || ReturnCode != 0)
        return;
    if (confirmCancel())
        ReturnCode = 5;
    else
        Cancel = 1;
}

void frmLoadToolConflict::Form_Unload(int16_t& Cancel)
{
    (void)Cancel;
    NewTool = com::Object();
    OldTool = com::Object();
}
