#include "barwright/editors/frmColors.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/gdi/Gdi.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Text.h"

namespace {

constexpr int16_t kSystemColorCount = 25;

const char* const kSystemColorNames[kSystemColorCount] = {
    "Scroll Bars",          "Desktop",          "Active Title Bar",
    "Inactive Title Bar",   "Menu Bar",         "Window Background",
    "Window Frame",         "Menu Text",        "Window Text",
    "Active Title Bar Text", "Active Border",   "Inactive Border",
    "Application Workspace", "Highlight",       "Highlight Text",
    "Button Face",          "Button Shadow",    "Disabled Text",
    "Button Text",          "Inactive Title Bar Text", "Button Highlight",
    "Button Dark Shadow",   "Button Light Shadow", "Tooltip Text",
    "Tooltip"};

}  // namespace

frmColors::frmColors()
{
    for (int i = 0; i < lbPalette.Count(); ++i)
        lbPalette(i).Click = [this, i] { lbPalette_Click(i); };
    lvSysColors.Click = [this] { lvSysColors_Click(); };
    lvSysColors.KeyPress = [this](int16_t& k) { lvSysColors_KeyPress(k); };
    tabMain.Click = [this](int16_t) { tabMain_Click(); };
    Timer1.TimerEvent = [this] { Timer1_Timer(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCxl.Click = [this] { Hide(); };
}

void frmColors::Form_Design()
{
    setCaption(QStringLiteral("Select Color"));
    setScaleMode(forms::vbPixels);
    setDesignSize(300 * 15, 248 * 15);

    tabMain.Move(3, 3, 294, 206);
    tabMain.setTabs(2);
    tabMain.setTabCaption(0, QStringLiteral("&Palette"));
    tabMain.setTabCaption(1, QStringLiteral("&System"));
    // Four rows of four cells, in twips on the tab page.
    for (int i = 0; i < lbPalette.Count(); ++i) {
        lbPalette(i).Move(float(960 + (i % 4) * 630), float(540 + (i / 4) * 630), 540, 540);
        const int32_t colour = mDrawParams::StandardColor(int16_t(i));
        lbPalette(i).setToolTipText(mGlobals::FormatColorHex(colour));
    }
    lvSysColors.Move(120, 480, 4170, 2520);
    lvSysColors.setView(forms::lvwList);
    lvSysColors.setHideSelection(false);
    lvSysColors.setLabelEdit(1);
    picWork.Move(0, 0, 16, 16);
    picWork.setBorderStyle(0);
    picWork.setVisible(false);
    Timer1.setEnabled(false);
    cmdOK.setCaption(QStringLiteral("OK"));
    cmdOK.setDefault(true);
    cmdOK.Move(140, 216, 75, 25);
    cmdCxl.setCaption(QStringLiteral("Cancel"));
    cmdCxl.setCancel(true);
    cmdCxl.Move(222, 216, 75, 25);
}

void frmColors::Form_Load()
{
    for (int i = 0; i < lbPalette.Count(); ++i)
        lbPalette(i).setBackColor(mDrawParams::StandardColor(int16_t(i)));
    LoadSystemColors();
    m_activated = false;
    tabMain.setLeft(-tabMain.Width() - 10);   // shown once its tab is chosen
}

void frmColors::Form_Activate()
{
    if (m_activated)
        return;
    Timer1.setInterval(10);
    Timer1.setEnabled(true);
    m_activated = true;
}

// The first showing opens the tab of the caller's colour; later showings keep
// the tab and row of the last use.
void frmColors::Timer1_Timer()
{
    Timer1.setEnabled(false);
    const QString text = SourceControlText ? SourceControlText->Text() : QString();
    if (text.left(3) == QStringLiteral("&H8")) {
        tabMain.setTab(1);
        m_selecting = true;
        rt::tryStatement([&] {
            lvSysColors.SetFocus();
            const int32_t n = int32_t(rt::Val(QStringLiteral("&H") + text.mid(8, 2)));
            if (n >= 0 && n + 1 <= lvSysColors.ListItems.Count()) {
                forms::ListItem& row = lvSysColors.ListItems.Item(n + 1);
                lvSysColors.setSelectedItem(&row);
                row.EnsureVisible();
            }
        });
        m_selecting = false;
    } else {
        tabMain.setTab(0);
    }
    tabMain.setLeft(3);
}

void frmColors::placeAt(int32_t left, int32_t top)
{
    Move(float(left) * 15.f, float(top) * 15.f);
}

QString frmColors::MakeColorIconKey(int32_t colour)
{
    const QString key = QStringLiteral("@@") + QString::number(colour);
    rt::tryStatement([&] {
        if (imlstColors.exists(key))
            return;
        picWork.setBackColor(colour);
        const gdi::HDC dc = picWork.hDC();
        const gdi::HPEN pen = gdi::CreatePen(gdi::PS_SOLID, 1, mDrawParams::PaletteColor(0));
        const gdi::HGDIOBJ oldPen = gdi::SelectObject(dc, pen);
        const gdi::HGDIOBJ oldBrush = gdi::SelectObject(dc, gdi::GetStockObject(gdi::NULL_BRUSH));
        const int32_t w = int32_t(picWork.Width());
        const int32_t h = int32_t(picWork.Height());
        if (w == 16)
            gdi::Rectangle(dc, 0, 0, 16, 16);
        else
            gdi::Rectangle(dc, 0, 0, w + 1, h + 1);
        gdi::SelectObject(dc, oldBrush);
        gdi::SelectObject(dc, oldPen);
        gdi::DeleteObject(pen);
        imlstColors.Add(0, key, picWork.Image());
        picWork.setPicture(nullptr);
    });
    return key;
}

void frmColors::LoadSystemColors()
{
    lvSysColors.setSmallIcons(&imlstColors);
    for (int16_t i = 0; i < kSystemColorCount; ++i) {
        const QString key = MakeColorIconKey(int32_t(gdi::GetSysColor(i)));
        forms::ListItem& row = lvSysColors.ListItems.Add(
            0, {}, QLatin1String(kSystemColorNames[i]), {},
            imlstColors.exists(key) ? rt::Variant(key) : rt::Variant());
        row.setTag(QString::number(i));
    }
}

void frmColors::lbPalette_Click(int index)
{
    if (!SourceControlPic || !SourceControlText)
        return;
    const int32_t colour = lbPalette(index).BackColor();
    SourceControlPic->setBackColor(colour);
    SourceControlText->setText(mGlobals::FormatColorHex(colour));
    Hide();
}

bool frmColors::SystemRowChosen()
{
    return tabMain.Tab() == 1 && lvSysColors.SelectedItem() != nullptr;
}

void frmColors::ChooseSystemColor()
{
    forms::ListItem* row = lvSysColors.SelectedItem();
    if (!row || !SourceControlPic || !SourceControlText)
        return;
    QString t = rt::Hex(int32_t(row->Tag().toInt()));
    if (t.size() < 2)
        t.prepend(u'0');
    QString text = QStringLiteral("&H800000") + t + QStringLiteral("&");
    SourceControlText->setText(text);
    int32_t colour = 0;
    if (mGlobals::ParseColorText(text, colour))
        SourceControlPic->setBackColor(colour);
    Hide();
}

void frmColors::lvSysColors_Click()
{
    if (m_selecting)
        return;
    ChooseSystemColor();
}

void frmColors::lvSysColors_KeyPress(int16_t& KeyAscii)
{
    if (KeyAscii == 13 && SystemRowChosen()) {
        KeyAscii = 0;   // chosen here; OK must not choose again
        ChooseSystemColor();
    }
}

void frmColors::tabMain_Click()
{
    if (tabMain.Tab() == 1)
        rt::tryStatement([&] { lvSysColors.SetFocus(); });
}

void frmColors::cmdOK_Click()
{
    if (SystemRowChosen())
        ChooseSystemColor();
}

void frmColors::Form_Unload(int16_t& Cancel)
{
    (void)Cancel;
    lvSysColors.ListItems.Clear();
    lvSysColors.setSmallIcons(nullptr);
    imlstColors.Clear();
    SourceControlPic = nullptr;
    SourceControlText = nullptr;
}
