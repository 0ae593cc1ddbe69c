#include "barwright/panel/frmPreview.h"

#include "barwright/connection/mGlobalsControls.h"
#include "barwright/connection/mRegistry.h"
#include "barwright/panel/frmCtlPanel.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Conversions.h"

#include <QLinearGradient>
#include <QPainter>

namespace {

const QString kApp = QStringLiteral("ConfigUtility");
const QString kSection = QStringLiteral("Preview");

// The product banner: drawn once, shown as the banner picture.
forms::Picture bannerPicture()
{
    QImage img(320, 64, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, img.width(), 0);
    g.setColorAt(0, QColor(0x1f, 0x3a, 0x68));
    g.setColorAt(1, QColor(0x4a, 0x7c, 0xb8));
    p.fillRect(img.rect(), g);
    p.setPen(Qt::white);
    QFont big = p.font();
    big.setPixelSize(26);
    big.setBold(true);
    p.setFont(big);
    p.drawText(QRect(16, 6, 300, 34), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Halvorbar"));
    QFont small = p.font();
    small.setPixelSize(12);
    small.setBold(false);
    p.setFont(small);
    p.setPen(QColor(0xdd, 0xe8, 0xf6));
    p.drawText(QRect(18, 38, 300, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Toolbar configuration preview"));
    p.end();
    return forms::StdPicture::fromImage(img);
}

float savedOr(const QString& key, float current)
{
    const QString text = mRegistry::GetRegSetting(kApp, kSection, key, rt::numberText(current));
    return float(rt::Val(text));
}

}  // namespace

frmPreview::frmPreview()
{
    tbarPreview.ConfigurationModified = [this](int32_t change, com::Object bar,
                                                com::Object tool) {
        tbarPreview_ConfigurationModified(change, bar, tool);
    };
    tbarPreview.FreeAreaChanged = [this] {
        if (WindowState() != forms::vbMinimized)
            LayoutBanner();
    };
}

void frmPreview::Form_Design()
{
    setCaption(QStringLiteral("Halvorbar Configuration Preview"));
    setDesignSize(8400, 4800);
    Move(1800, 1200);   // first run: near the top left, the panel below it
    tbarPreview.Move(0, 0, 8400, 4800);
    tbarPreview.ZOrder(1);
    picDummyToolbar.setBorderStyle(0);
    picDummyToolbar.setBackColor(int32_t(0x8000000Fu));   // button face
    picDummyToolbar.Move(0, 0, 8400, 420);
    lbNoToolbars.setCaption(QStringLiteral("<No Toolbars Currently Defined>"));
    lbNoToolbars.setAlignment(2);
    lbNoToolbars.Move(0, 105, 8400, 240);
    picDummyToolbar.setVisible(false);
    imgBanner.setBorderStyle(0);
    imgBanner.setAutoSize(true);
    imgBanner.setPicture(bannerPicture());
    imgBanner.Move(0, 0, 320 * 15, 64 * 15);
    // Docked toolbars lie above the banner and the placeholder; the control
    // shows them through its free area.
    tbarPreview.ZOrder(0);
}

void frmPreview::Form_Load()
{
    forms::Screen::setMousePointer(forms::vbHourglass);
    Move(savedOr(QStringLiteral("Left"), Left()), savedOr(QStringLiteral("Top"), Top()),
         savedOr(QStringLiteral("Width"), Width()), savedOr(QStringLiteral("Height"), Height()));
    mGlobals::KeepFormOnScreen(*this);
}

void frmPreview::Form_Resize()
{
    if (WindowState() == forms::vbMinimized)
        return;
    LayoutBanner();
}

void frmPreview::LayoutBanner()
{
    const float w = ScaleWidth();
    const float h = ScaleHeight();
    tbarPreview.Move(0, 0, w, h);
    picDummyToolbar.setWidth(w);
    lbNoToolbars.setWidth(w);
    // The inner area is what the docked toolbars leave free.
    QRectF free = tbarPreview.FreeArea();
    if (picDummyToolbar.Visible())
        free.setTop(free.top() + picDummyToolbar.Height());
    const double left = free.left() + (free.width() - imgBanner.Width()) / 2;
    const double top = free.top() + (free.height() - imgBanner.Height()) / 2;
    imgBanner.Move(float(rt::roundHalfEven(left)), float(rt::roundHalfEven(top)));
}

void frmPreview::Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode)
{
    // The close box ends the session like the panel's Cancel does, with its
    // save question, instead of leaving the client without an end.
    if (UnloadMode == forms::vbFormControlMenu && frmCtlPanel::get().isLoaded()) {
        Cancel = 1;
        frmCtlPanel::get().routeCloseToCancel();
    }
}

void frmPreview::Form_Unload(int16_t& Cancel)
{
    (void)Cancel;
    mRegistry::SaveRegSetting(kApp, kSection, QStringLiteral("Left"), rt::numberText(Left()));
    mRegistry::SaveRegSetting(kApp, kSection, QStringLiteral("Top"), rt::numberText(Top()));
    mRegistry::SaveRegSetting(kApp, kSection, QStringLiteral("Width"), rt::numberText(Width()));
    mRegistry::SaveRegSetting(kApp, kSection, QStringLiteral("Height"),
                              rt::numberText(Height()));
}

void frmPreview::tbarPreview_ConfigurationModified(int32_t Change, com::Object Toolbar,
                                                   com::Object Tool)
{
    // Only a loaded panel tracks changes; an event must not load it.
    if (frmCtlPanel::get().isLoaded())
        frmCtlPanel::get().ToolBarModified(Change, Toolbar, Tool);
}
