// The form runtime driven the way the system's forms and their tests use it:
// load on first access, modal dialogs answered by the test, message boxes
// recorded, events fired by programmatic changes, timers, unload and reload.
#include "FormsFixture.h"

#include "platform/forms/CheckBox.h"
#include "platform/forms/ComboBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/CommonDialog.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/Testing.h"
#include "platform/forms/TextBox.h"
#include "platform/forms/Timer.h"
#include "platform/forms/Window.h"
#include "platform/runtime/Error.h"

#include <QApplication>

#include <gmock/gmock.h>

using namespace forms;
using ::testing::ElementsAre;

namespace {

class frmAsk final : public Form {
public:
    TextBox txtName{this, "txtName"};
    CommandButton cmdOK{this, "cmdOK"};
    CommandButton cmdCxl{this, "cmdCxl"};
    bool bCanceled = false;   // the form's own variable: survives Unload
    int loads = 0;
    QStringList log;
    bool hideInLoad = false;
    int16_t cancelQuery = 0;
    int16_t lastMode = -1;

    frmAsk()
    {
        cmdOK.Click = [this] { cmdOK_Click(); };
        cmdCxl.Click = [this] { Hide(); };
        txtName.Change = [this] { log << QStringLiteral("Change"); };
    }

private:
    void Form_Design() override
    {
        setCaption(QStringLiteral("Ask"));
        setDesignSize(3000, 1500);
        cmdOK.setCaption(QStringLiteral("OK"));
        cmdOK.setDefault(true);
        cmdCxl.setCancel(true);
        txtName.setText(QStringLiteral("design"));   // no Change while designing
    }
    void Form_Load() override
    {
        ++loads;
        bCanceled = true;
        log << QStringLiteral("Load");
        if (hideInLoad)
            Hide();
    }
    void Form_Activate() override { log << QStringLiteral("Activate"); }
    void Form_QueryUnload(int16_t& Cancel, int16_t UnloadMode) override
    {
        lastMode = UnloadMode;
        Cancel = cancelQuery;
        log << QStringLiteral("QueryUnload");
    }
    void Form_Unload(int16_t&) override { log << QStringLiteral("Unload"); }
    void cmdOK_Click()
    {
        bCanceled = false;
        Hide();
    }
};

class frmLists final : public Form {
public:
    ComboBox coStyle{this, "coStyle", vbComboDropdownList};
    ListBox liTBars{this, "liTBars", vbListBoxCheckbox};
    CheckBox chLarge{this, "chLarge"};
    Timer Timer1{this, "Timer1"};
    PictureBox picWork{this, "picWork"};
    CommonDialog ComDlg{this, "ComDlg"};
    QStringList events;
    int ticks = 0;

    frmLists()
    {
        coStyle.Click = [this] { events << QStringLiteral("coStyle_Click %1").arg(coStyle.ListIndex()); };
        liTBars.ItemCheck = [this](int16_t item) {
            events << QStringLiteral("ItemCheck %1 %2").arg(item).arg(liTBars.Selected(item));
        };
        liTBars.Click = [this] { events << QStringLiteral("liTBars_Click"); };
        chLarge.Click = [this] { events << QStringLiteral("chLarge_Click %1").arg(chLarge.Value()); };
        Timer1.TimerEvent = [this] {
            if (++ticks == 2)
                Timer1.setEnabled(false);
        };
    }

private:
    void Form_Design() override
    {
        for (const char* s : {"0 - Office 97", "1 - Office 2000", "2 - Office XP 2002"})
            coStyle.AddItem(QString::fromLatin1(s));
        Timer1.setEnabled(false);
        picWork.setScaleMode(vbPixels);
        picWork.setBorderStyle(0);   // the whole box is drawing area
        picWork.Move(0, 0, 16 * 15, 17 * 15);
        picWork.setAutoRedraw(true);
    }
};

using FormsTest = FormsFixture;

TEST_F(FormsTest, ModalDialogAnsweredByTheTestReturnsAfterOK)
{
    frmAsk& f = instance<frmAsk>();
    forms::testing::answerNextModal<frmAsk>([](frmAsk& dlg) {
        dlg.txtName.setText(QStringLiteral("Tool3"));
        dlg.cmdOK.click();
    });
    f.Show(vbModal);
    EXPECT_FALSE(f.bCanceled);
    EXPECT_EQ(f.txtName.Text(), QStringLiteral("Tool3"));
    EXPECT_FALSE(f.Visible());
    EXPECT_THAT(f.log, ElementsAre("Load", "Activate", "Change"));
    EXPECT_THAT(forms::testing::shownModalForms(), ElementsAre("frmAsk"));
}

TEST_F(FormsTest, UnansweredModalFormAndMessageBoxFailInsteadOfBlocking)
{
    instance<frmAsk>().Show(vbModal);
    EXPECT_EQ(MsgBox(QStringLiteral("Save?"), vbYesNoCancel | vbDefaultButton3), vbCancel);
    EXPECT_EQ(forms::testing::takeFailures().size(), 2);
}

TEST_F(FormsTest, MessageBoxIsRecordedWithTextStyleAndTitle)
{
    forms::testing::answerNextMsgBox(vbNo);
    const int16_t answer =
        MsgBox(QStringLiteral("Delete it?"), vbYesNo | vbQuestion, QStringLiteral("Confirm"));
    EXPECT_EQ(answer, vbNo);
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    const auto& box = forms::testing::shownMsgBoxes().front();
    EXPECT_EQ(box.text, QStringLiteral("Delete it?"));
    EXPECT_EQ(box.buttons, 36);
    EXPECT_EQ(box.title, QStringLiteral("Confirm"));
}

TEST_F(FormsTest, ErrorInAHandlerIsReportedInAMessageBoxNotThrown)
{
    frmAsk& f = instance<frmAsk>();
    f.cmdCxl.Click = [] { rt::raise(rt::errc::ObjectNotSet); };
    forms::testing::answerNextMsgBox(vbOK);
    EXPECT_NO_THROW(f.cmdCxl.click());
    ASSERT_EQ(forms::testing::shownMsgBoxes().size(), 1u);
    EXPECT_EQ(forms::testing::shownMsgBoxes()[0].text,
              rt::standardDescription(rt::errc::ObjectNotSet));
    f.cmdCxl.Click = [&f] { f.Hide(); };
}

TEST_F(FormsTest, FirstAccessLoadsAndUnloadKeepsTheFormsOwnVariables)
{
    frmAsk& f = instance<frmAsk>();
    f.log.clear();
    const int before = f.loads;
    EXPECT_EQ(f.txtName.Text(), QStringLiteral("design"));   // the access loads it
    EXPECT_EQ(f.loads, before + 1);
    f.txtName.setText(QStringLiteral("typed"));
    f.bCanceled = false;
    EXPECT_TRUE(f.Unload());
    EXPECT_FALSE(f.isLoaded());
    EXPECT_FALSE(f.bCanceled);   // still what it was
    EXPECT_EQ(f.txtName.Text(), QStringLiteral("design"));   // reloaded, controls reset
    EXPECT_EQ(f.loads, before + 2);
    EXPECT_TRUE(f.bCanceled);   // set again by Form_Load
}

TEST_F(FormsTest, QueryUnloadCancelKeepsTheFormLoaded)
{
    frmAsk& f = instance<frmAsk>();
    f.Show();
    f.cancelQuery = 1;
    EXPECT_FALSE(f.Unload());
    EXPECT_TRUE(f.isLoaded());
    EXPECT_EQ(f.lastMode, vbFormCode);
    f.existingWindow()->close();   // the close box
    EXPECT_TRUE(f.isLoaded());
    EXPECT_EQ(f.lastMode, vbFormControlMenu);
    f.cancelQuery = 0;
    EXPECT_TRUE(f.Unload());
    EXPECT_FALSE(f.isLoaded());
}

TEST_F(FormsTest, HiddenInItsOwnLoadEndsAModalShowAtOnce)
{
    frmAsk& f = instance<frmAsk>();
    f.Unload();
    f.hideInLoad = true;
    f.Show(vbModal);   // no answer queued: would fail if it ran modally
    f.hideInLoad = false;
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(forms::testing::pendingModalAnswers(), 0);
}

TEST_F(FormsTest, OwnerUnloadClosesOwnedForms)
{
    frmAsk& owned = instance<frmAsk>();
    frmLists& owner = instance<frmLists>();
    owner.Show();
    owned.Show(vbModeless, &owner);
    EXPECT_TRUE(owner.Unload());
    EXPECT_FALSE(owned.isLoaded());
    EXPECT_EQ(owned.lastMode, vbFormOwner);
}

TEST_F(FormsTest, ModalFormKeptLoadedOutlivesTheFormThatShowedIt)
{
    frmAsk& owned = instance<frmAsk>();
    frmLists& owner = instance<frmLists>();
    owner.Show();
    owned.Move(1500, 1200);
    forms::testing::answerNextModal<frmAsk>([](frmAsk& dlg) { dlg.cmdOK.click(); });
    owned.Show(vbModal, &owner);
    const int loads = owned.loads;
    EXPECT_TRUE(owner.Unload());
    ASSERT_TRUE(owned.isLoaded());
    EXPECT_EQ(owned.Left(), 1500);
    // Shown again, it is the same loaded form, owned by the new window.
    owner.Show();
    forms::testing::answerNextModal<frmAsk>([](frmAsk& dlg) { dlg.cmdCxl.click(); });
    owned.Show(vbModal, &owner);
    EXPECT_EQ(owned.loads, loads);
    owned.Show(vbModeless, &owner);
    EXPECT_TRUE(owner.Unload());
    EXPECT_FALSE(owned.isLoaded());
}

// A question the dialog asks in a modal form of its own.
class frmConfirm final : public Form {
public:
    CommandButton cmdYes{this, "cmdYes"};

private:
    void Form_Design() override { setDesignSize(2400, 900); }
};

TEST_F(FormsTest, ClosingNestedModalFormsGiveTheActivationBackToTheirOwners)
{
    frmLists& owner = instance<frmLists>();
    frmAsk& dialog = instance<frmAsk>();
    frmConfirm& confirm = instance<frmConfirm>();
    owner.Show();
    QApplication::setActiveWindow(owner.window());
    owner.chLarge.SetFocus();
    forms::testing::processEvents();
    ASSERT_TRUE(owner.chLarge.hasFocus());

    // The dialog asks, is answered, then closes: each owner in turn is active.
    QWidget* activeAfterConfirm = nullptr;
    forms::testing::answerNextModal<frmAsk>([&](frmAsk& dlg) {
        dlg.txtName.SetFocus();
        forms::testing::answerNextModal<frmConfirm>([](frmConfirm& c) { c.Hide(); });
        confirm.Show(vbModal, &dlg);
        forms::testing::processEvents();
        activeAfterConfirm = QApplication::activeWindow();
        dlg.cmdOK.click();
    });
    dialog.Show(vbModal, &owner);
    forms::testing::processEvents();
    EXPECT_EQ(activeAfterConfirm, dialog.window());
    EXPECT_EQ(QApplication::activeWindow(), owner.window());
    EXPECT_TRUE(owner.chLarge.hasFocus());

    // The question's answer unloads the dialog that asked it: both go, and
    // the activation passes over the closing dialog to the owner.
    forms::testing::answerNextModal<frmAsk>([&](frmAsk& dlg) {
        forms::testing::answerNextModal<frmConfirm>([&](frmConfirm&) { dlg.Unload(); });
        confirm.Show(vbModal, &dlg);
    });
    dialog.Show(vbModal, &owner);
    forms::testing::processEvents();
    EXPECT_FALSE(dialog.isLoaded());
    EXPECT_FALSE(confirm.isLoaded());
    EXPECT_EQ(QApplication::activeWindow(), owner.window());
    EXPECT_TRUE(owner.chLarge.hasFocus());
}

TEST_F(FormsTest, ProgrammaticChangesFireTheirEvents)
{
    frmLists& f = instance<frmLists>();
    f.events.clear();
    f.coStyle.setListIndex(1);
    f.coStyle.setListIndex(1);   // no change, no event
    f.liTBars.AddItem(QStringLiteral("Main"));
    f.liTBars.setSelected(0, true);
    f.chLarge.setValue(vbChecked);
    EXPECT_THAT(f.events, ElementsAre("coStyle_Click 1", "ItemCheck 0 1", "liTBars_Click",
                                      "chLarge_Click 1"));
    EXPECT_THROW(f.coStyle.setListIndex(3), rt::Error);
    EXPECT_THROW(f.coStyle.setText(QStringLiteral("none such")), rt::Error);
}

TEST_F(FormsTest, TimerFiresUntilDisabled)
{
    frmLists& f = instance<frmLists>();
    f.ticks = 0;
    f.Timer1.setInterval(5);
    f.Timer1.setEnabled(true);
    EXPECT_TRUE(forms::testing::waitUntil([&] { return f.ticks >= 2; }));
    forms::testing::processEvents(30);
    EXPECT_EQ(f.ticks, 2);
}

TEST_F(FormsTest, CancelledFileDialogRaises32755OnlyWithCancelError)
{
    frmLists& f = instance<frmLists>();
    f.ComDlg.FileName = QStringLiteral("keep.qrv");
    forms::testing::cancelNextFileDialog();
    f.ComDlg.ShowOpen();   // no CancelError: nothing happens
    EXPECT_EQ(f.ComDlg.FileName, QStringLiteral("keep.qrv"));

    f.ComDlg.CancelError = true;
    forms::testing::cancelNextFileDialog();
    try {
        f.ComDlg.ShowOpen();
        ADD_FAILURE() << "no error";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.number(), 32755);
    }
    // A name typed without an extension gets the default one.
    f.ComDlg.DefaultExt = QStringLiteral("qrv");
    forms::testing::answerNextFileDialog(QStringLiteral("/tmp/a.d/b"));
    f.ComDlg.ShowSave();
    EXPECT_EQ(f.ComDlg.FileName, QStringLiteral("/tmp/a.d/b.qrv"));
    EXPECT_EQ(f.ComDlg.FileTitle, QStringLiteral("b.qrv"));
}

TEST_F(FormsTest, PictureBoxPixelsRoundTripThroughHdc)
{
    frmLists& f = instance<frmLists>();
    f.picWork.setBackColor(int32_t(gdi::RGB(192, 192, 192)));
    const gdi::HDC dc = f.picWork.hDC();
    gdi::SetPixelV(dc, 3, 4, gdi::RGB(255, 0, 128));
    EXPECT_EQ(gdi::GetPixel(dc, 3, 4), gdi::RGB(255, 0, 128));
    EXPECT_EQ(f.picWork.Point(3, 4), int32_t(gdi::RGB(255, 0, 128)));

    const Picture image = f.picWork.Image();
    EXPECT_EQ(image->widthPixels(), 16);
    EXPECT_EQ(image->heightPixels(), 17);
    EXPECT_EQ(image->toImage().pixel(3, 4), qRgb(255, 0, 128));

    f.picWork.setBackColor(int32_t(gdi::RGB(0, 0, 255)));   // clears the image
    EXPECT_EQ(gdi::GetPixel(f.picWork.hDC(), 3, 4), gdi::RGB(0, 0, 255));
    f.picWork.setPicture(image);                             // background picture
    EXPECT_EQ(gdi::GetPixel(f.picWork.hDC(), 3, 4), gdi::RGB(255, 0, 128));
}

TEST_F(FormsTest, ResizingAPictureBoxKeepsWhatWasDrawn)
{
    frmLists& f = instance<frmLists>();
    const auto grey = gdi::RGB(192, 192, 192);
    f.picWork.setBackColor(int32_t(grey));
    gdi::SetPixelV(f.picWork.hDC(), 0, 0, gdi::RGB(0, 0, 255));
    gdi::SetPixelV(f.picWork.hDC(), 3, 4, gdi::RGB(255, 0, 0));
    f.picWork.Move(f.picWork.Left(), f.picWork.Top(), 40 * 15, 48 * 15);
    const gdi::HDC dc = f.picWork.hDC();
    EXPECT_EQ(gdi::GetPixel(dc, 0, 0), gdi::RGB(0, 0, 255));
    EXPECT_EQ(gdi::GetPixel(dc, 3, 4), gdi::RGB(255, 0, 0));
    EXPECT_EQ(gdi::GetPixel(dc, 1, 1), grey);
    EXPECT_EQ(gdi::GetPixel(dc, 30, 40), grey);   // the new part has the back colour
    f.picWork.Move(f.picWork.Left(), f.picWork.Top(), 12 * 15, 12 * 15);
    EXPECT_EQ(gdi::GetPixel(f.picWork.hDC(), 3, 4), gdi::RGB(255, 0, 0));
    EXPECT_EQ(gdi::GetPixel(f.picWork.hDC(), 0, 0), gdi::RGB(0, 0, 255));
}

intptr_t minSizeProc(int32_t hwnd, uint32_t msg, intptr_t w, intptr_t l)
{
    if (msg == WM_GETMINMAXINFO) {
        auto* mmi = reinterpret_cast<MINMAXINFO*>(l);
        mmi->ptMinTrackSize = {300, 200};
        return 0;
    }
    return CallWindowProcA(ClassWindowProc(), hwnd, msg, w, l);
}

TEST_F(FormsTest, WindowProcedureSetsTheMinimumTrackSize)
{
    frmAsk& f = instance<frmAsk>();
    const int32_t hwnd = f.hWnd();
    EXPECT_EQ(SetWindowProc(hwnd, &minSizeProc), ClassWindowProc());
    EXPECT_TRUE(SetPropA(hwnd, QStringLiteral("Owner"), 42));
    f.Show();
    EXPECT_EQ(GetPropA(hwnd, QStringLiteral("owner")), 42);
    f.Move(0, 0, 100 * 15, 100 * 15);
    EXPECT_EQ(f.Width(), 300 * 15);
    f.Unload();
    EXPECT_FALSE(IsWindow(hwnd));
}

}  // namespace
