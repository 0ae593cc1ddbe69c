// The shown state picture in and out of the Pictures tab: import from an
// image file, export to a bitmap file, and the screen grab.
#include "barwright/editors/frmTool.h"

#include "barwright/connection/mGlobals.h"
#include "barwright/panel/frmCtlPanel.h"
#include "barwright/panel/frmPreview.h"
#include "barwright/picture/CDraw.h"
#include "barwright/picture/frmGrabPreview.h"
#include "barwright/picture/frmImportImageOption.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/forms/App.h"
#include "platform/forms/LoadPicture.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Conversions.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Text.h"

#include <QFileInfo>

using namespace mDrawParams;

namespace {

constexpr int32_t kCancelError = 32755;
constexpr int32_t kExtensionDifferent = 0x400;
constexpr int32_t kExportGray = 0xC0C0C0;

// Runs a file dialog; false when the developer cancelled it.
bool runFileDialog(forms::CommonDialog& dialog, bool save)
{
    try {
        save ? dialog.ShowSave() : dialog.ShowOpen();
    } catch (const rt::Error& e) {
        if (e.number() == kCancelError)
            return false;
        throw;
    }
    return true;
}

// The windows that leave the screen during a grab, in their fixed order;
// only those that are loaded (a grab must not load the panel).
std::vector<forms::Form*> grabWindows(forms::Form& dialog)
{
    std::vector<forms::Form*> forms;
    for (forms::Form* f : std::initializer_list<forms::Form*>{&frmPreview::get(),
                                                              &frmCtlPanel::get(), &dialog})
        if (f->isLoaded())
            forms.push_back(f);
    return forms;
}

}  // namespace

QString frmTool::ShownStateName()
{
    return mGlobals::StripChar(tabPics.TabCaption(tabPics.Tab()), QStringLiteral("&"));
}

void frmTool::cmdImage_Click()
{
    PopupMenu(mnuImage, forms::vbPopupMenuLeftAlign, cmdImage.Left() + frPicturesTab.Left() +
                                                         tabMain.Left(),
              cmdImage.Top() + cmdImage.Height() + frPicturesTab.Top() + tabMain.Top());
}

// The engine takes the box's new picture as one undoable step.
void frmTool::AfterPictureReplaced(bool refreshPreview)
{
    forms::Screen::setMousePointer(forms::vbHourglass);
    if (CDraw* e = currentEngine()) {
        rt::ResumeNext rn;
        rn([&] { e->ReleaseCurrentSelection(); });
        rn([&] { e->SaveImageToUndo(true); });
        rn([&] { e->RefreshActualPicture(true, true); });
        rn([&] { e->MakeDirty(); });
    }
    forms::DoEvents();
    picCanvas.Refresh();
    if (refreshPreview)
        picPreview.Refresh();
    forms::Screen::setMousePointer(forms::vbDefault);
}

void frmTool::mnuExport_Click()
{
    const QString state = ShownStateName();
    for (;;) {
        ComDlg.DialogTitle =
            QStringLiteral("Export Image For ") + state + QStringLiteral(" State");
        ComDlg.CancelError = true;
        ComDlg.InitDir = sImageDir;
        ComDlg.FileName = QStringLiteral("Untitled.bmp");
        ComDlg.Flags = 2054;
        ComDlg.Filter = QStringLiteral("Bitmap (*.bmp)|*.bmp");
        ComDlg.DefaultExt = QStringLiteral("bmp");
        ComDlg.FilterIndex = 1;
        if (!runFileDialog(ComDlg, true))
            return;
        if (!rt::Trim(ComDlg.FileName).isEmpty())
            break;
        forms::MsgBox(QStringLiteral("Please enter a filename for the exported picture."),
                      forms::vbExclamation, ComDlg.DialogTitle);
    }
    QString fileName = ComDlg.FileName;
    // The runtime's dialog does not report a foreign extension; ask the name.
    if ((ComDlg.Flags & kExtensionDifferent) ||
        QFileInfo(fileName).suffix().compare(u"bmp", Qt::CaseInsensitive) != 0)
        fileName += QStringLiteral(".bmp");
    sImageDir = mGlobals::GetPathPart(fileName);

    const int16_t tab = tabPics.Tab();
    picWork.setAutoSize(false);
    picWork.setPicture(nullptr);
    picWork.setHeight(gPicHeight * forms::Screen::TwipsPerPixelY());
    picWork.setWidth(gPicWidth * forms::Screen::TwipsPerPixelX());
    gdi::BitBlt(picWork.hDC(), 0, 0, gPicWidth, gPicHeight, picActual(tab).hDC(), 0, 0,
                gdi::SRCCOPY);
    ReplaceImageColor(picWork.hDC(), gMaskColor, kExportGray);
    picWork.setAutoSize(true);
    forms::SavePicture(picWork.Image(), fileName);
}

void frmTool::mnuImport_Click()
{
    const QString state = ShownStateName();
    ComDlg.DialogTitle = QStringLiteral("Import Image For ") + state + QStringLiteral(" State");
    ComDlg.CancelError = true;
    ComDlg.InitDir = sImageDir;
    ComDlg.FileName.clear();
    ComDlg.Flags = forms::cdlOFNHideReadOnly;
    ComDlg.Filter = QStringLiteral(
        "All Picture Files|*.bmp;*.dib;*.gif;*.jpg;*.ico;*.cur;*.wmf;*.emf|"
        "Bitmaps (*.bmp;*.dib)|*.bmp;*.dib|GIF Images (*.gif)|*.gif|"
        "JPEG Images (*.jpg)|*.jpg|Metafiles (*.wmf;*.emf)|*.wmf;*.emf|"
        "Icons (*.ico;*.cur)|*.ico;*.cur|All Files (*.*)|*.*");
    ComDlg.FilterIndex = 1;
    if (!runFileDialog(ComDlg, false))
        return;
    sImageDir = mGlobals::GetPathPart(ComDlg.FileName);

    forms::Picture loaded;
    try {
        loaded = forms::LoadPicture(ComDlg.FileName);
    } catch (const rt::Error& e) {
        forms::MsgBox(e.description(), forms::vbExclamation, ComDlg.DialogTitle);
        return;
    }
    if (!loaded || loaded->Handle() == 0)
        return;
    // Transparent parts of the file come in as the mask colour, transparent here too.
    loaded = forms::layOver(loaded, gdi::COLORREF(gMaskColor));
    picWork.setAutoSize(true);
    picWork.setPicture(loaded);
    const int32_t pw = loaded->widthPixels();
    const int32_t ph = loaded->heightPixels();
    forms::PictureBox& target = picActual(tabPics.Tab());

    if (pw > gPicWidth || ph > gPicHeight) {
        auto& option = forms::instance<frmImportImageOption>();
        option.picWork.setPicture(loaded);
        option.Show(forms::vbModal, this);
        if (option.bCanceled) {
            option.Unload();
            return;
        }
        if (option.lResizeSize > 0) {
            gPicWidth = int16_t(option.lResizeSize);
            gPicHeight = int16_t(option.lResizeSize);
            Notify(5);
        }
        rt::ResumeNext rn;
        if (option.bClip && option.bClipCentered) {
            const int32_t sx = pw > gPicWidth ? rt::CLng((pw - gPicWidth) / 2.0) : 0;
            const int32_t sy = ph > gPicHeight ? rt::CLng((ph - gPicHeight) / 2.0) : 0;
            rn([&] {
                gdi::BitBlt(target.hDC(), 0, 0, std::min<int32_t>(pw, gPicWidth),
                            std::min<int32_t>(ph, gPicHeight), picWork.hDC(), sx, sy,
                            gdi::SRCCOPY);
            });
        } else if (option.bClip) {
            rn([&] { target.setPicture(picWork.picture()); });
        } else {
            rn([&] {
                const gdi::HDC dc = target.hDC();
                const int32_t oldMode = gdi::SetStretchBltMode(dc, gdi::COLORONCOLOR);
                gdi::StretchBlt(dc, 0, 0, gPicWidth, gPicHeight, picWork.hDC(), 0, 0, pw, ph,
                                gdi::SRCCOPY);
                gdi::SetStretchBltMode(dc, oldMode);
            });
        }
        option.Unload();
    } else {
        target.setPicture(picWork.picture());
    }
    AfterPictureReplaced(false);
}

void frmTool::cmdGrabImage_Click()
{
    struct Place {
        forms::Form* form;
        float left;
        float top;
    };
    // The windows leave the screen wholly: one that moves itself above the
    // screen's edge would keep a tenth of it in sight under the window manager.
    std::vector<Place> places;
    for (forms::Form* f : grabWindows(*this))
        places.push_back({f, f->Left(), f->Top()});
    for (const Place& p : places)
        p.form->setInSight(false);

    picWork.setAutoSize(false);
    picWork.setPicture(nullptr);
    picWork.setWidth(gPicWidth * forms::Screen::TwipsPerPixelX());
    picWork.setHeight(gPicHeight * forms::Screen::TwipsPerPixelY());
    frmGrabPreview& grab = frmGrabPreview::get();
    grab.ctlDest = &picWork;
    grab.Move(0, 0);
    grab.Show(forms::vbModal, this);

    for (const Place& p : places) {
        p.form->setInSight(true);
        p.form->Move(p.left, p.top);
        p.form->ZOrder(0);
    }
    const bool cancelled = grab.bCanceled;
    grab.ctlDest = nullptr;
    grab.Unload();
    picWork.setAutoSize(true);
    if (cancelled)
        return;
    picActual(tabPics.Tab()).setPicture(picWork.Image());
    AfterPictureReplaced(true);
}
