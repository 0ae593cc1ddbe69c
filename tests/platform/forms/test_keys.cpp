// Keys as a desktop delivers them: every character reaches the text with the
// key codes the original platform reports, handlers may change or cancel a
// character, and Alt+letter runs the access keys of menus and controls.
#include "platform/forms/App.h"
#include "platform/forms/CheckBox.h"
#include "platform/forms/CommandButton.h"
#include "platform/forms/CommandLine.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/Menu.h"
#include "platform/forms/TabStrip.h"
#include "platform/forms/Testing.h"
#include "platform/forms/TextBox.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTimer>

#include <gmock/gmock.h>

using namespace forms;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

struct KeyRecord {
    int16_t code;
    int16_t shift;
    bool operator==(const KeyRecord&) const = default;
};

class frmKeys final : public Form {
public:
    Menu mnuFile{this, "mnuFile"};
    Menu mnuExit{this, "mnuExit", &mnuFile};
    Label lbName{this, "lbName"};
    TextBox txtName{this, "txtName"};
    TextBox txtOther{this, "txtOther"};
    CommandButton cmdFind{this, "cmdFind"};
    CommandButton cmdBrowse{this, "cmdBrowse"};
    CheckBox chSub{this, "chSub"};
    CommandButton cmdTwinA{this, "cmdTwinA"};
    CommandButton cmdTwinB{this, "cmdTwinB"};
    CommandButton cmdOff{this, "cmdOff"};
    TabStrip tabMain{this, "tabMain"};

    std::vector<KeyRecord> downs;
    QString pressed;
    QStringList clicks;
    std::function<void(int16_t&)> onKeyPress;
    std::function<void(int16_t&)> onKeyDown;

    frmKeys()
    {
        txtName.KeyDown = [this](int16_t& k, int16_t s) {
            downs.push_back({k, s});
            if (onKeyDown)
                onKeyDown(k);
        };
        txtName.KeyPress = [this](int16_t& k) {
            if (onKeyPress)
                onKeyPress(k);
            if (k)
                pressed += QChar(char16_t(k));
        };
        mnuExit.Click = [this] { clicks << QStringLiteral("exit"); };
        cmdFind.Click = [this] { clicks << QStringLiteral("find"); };
        cmdBrowse.Click = [this] { clicks << QStringLiteral("browse"); };
        cmdTwinA.Click = [this] { clicks << QStringLiteral("twinA"); };
        cmdTwinB.Click = [this] { clicks << QStringLiteral("twinB"); };
        cmdOff.Click = [this] { clicks << QStringLiteral("off"); };
        tabMain.Click = [this](int16_t prev) { clicks << QStringLiteral("tab%1").arg(prev); };
    }

private:
    void Form_Design() override
    {
        setCaption(QStringLiteral("Keys"));
        setDesignSize(6000, 4000);
        mnuFile.setCaption(QStringLiteral("&File"));
        mnuExit.setCaption(QStringLiteral("E&xit"));
        lbName.setCaption(QStringLiteral("&Name:"));
        lbName.Move(60, 60, 900, 300);
        txtName.Move(1000, 60, 3000, 300);
        txtOther.Move(1000, 420, 3000, 300);
        cmdFind.setCaption(QStringLiteral("&Find"));
        cmdFind.Move(4200, 60, 1200, 360);
        cmdBrowse.setCaption(QStringLiteral("&Browse..."));
        cmdBrowse.Move(4200, 480, 1200, 360);
        chSub.setCaption(QStringLiteral("Include subfolder&s"));   // the key at the end
        chSub.Move(1000, 780, 3000, 300);
        cmdTwinA.setCaption(QStringLiteral("&Twin"));
        cmdTwinA.Move(60, 1200, 1200, 360);
        cmdTwinB.setCaption(QStringLiteral("&Twin too"));
        cmdTwinB.Move(1400, 1200, 1200, 360);
        cmdOff.setCaption(QStringLiteral("&Off && on"));
        cmdOff.Move(2800, 1200, 1200, 360);
        tabMain.Move(60, 1700, 5000, 1800);
        tabMain.setTabCaption(0, QStringLiteral("&General"));
        tabMain.setTabCaption(1, QStringLiteral("&Pictures"));
    }
};

frmKeys& keys()
{
    return instance<frmKeys>();
}

// What a keyboard on a US layout sends for a character: the key Qt names it
// by, Shift for the upper row, the character as text.
void typeCharacter(QWidget* w, QChar ch)
{
    static const QString shifted = QStringLiteral("~!@#$%^&*()_+{}|:\"<>?");
    Qt::KeyboardModifiers mods;
    if (ch.isUpper() || shifted.contains(ch))
        mods |= Qt::ShiftModifier;
    const int key = ch == u' ' ? int(Qt::Key_Space) : int(ch.toUpper().unicode());
    QKeyEvent press(QEvent::KeyPress, key, mods, QString(ch));
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, QString(ch));
    QApplication::sendEvent(w, &release);
}

void typeText(QWidget* w, const QString& text)
{
    for (const QChar ch : text)
        typeCharacter(w, ch);
}

class KeysTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        forms::testing::enable();
        keys().downs.clear();
        keys().pressed.clear();
        keys().clicks.clear();
        keys().onKeyPress = nullptr;
        keys().onKeyDown = nullptr;
    }
    void TearDown() override
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
        for (Form* f : Form::loadedForms())
            f->Unload();
        EXPECT_THAT(forms::testing::takeFailures(), IsEmpty());
    }
    // The form on screen and active, the focus in txtName.
    static void showWithFocusInName()
    {
        keys().Show();
        QApplication::setActiveWindow(keys().window());
        keys().txtName.SetFocus();
        forms::testing::processEvents();
    }
    static void altKey(Qt::Key key)
    {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target ? target : keys().window(), key, Qt::AltModifier);
        forms::testing::processEvents();
    }
};

TEST_F(KeysTest, EveryPrintableAndAccentedCharacterReachesTheText)
{
    QString all;
    for (char16_t c = 32; c < 127; ++c)
        all += QChar(c);
    all += QStringLiteral("éÉßøЖ");
    keys().Show();
    typeText(keys().txtName.widget(), all);
    EXPECT_EQ(keys().txtName.Text(), all);
    EXPECT_EQ(keys().pressed, all);   // KeyPress saw each character once
}

struct KeyCase {
    QChar ch;
    int16_t code;
    int16_t shift;
};

class KeyCodes : public KeysTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(KeyCodes, KeyDownReportsTheKeyOfTheUsKeyboard)
{
    const KeyCase c = GetParam();
    keys().Show();
    typeCharacter(keys().txtName.widget(), c.ch);
    EXPECT_THAT(keys().downs, ElementsAre(KeyRecord{c.code, c.shift}));
}

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyCodes,
    ::testing::Values(KeyCase{u'a', 'A', 0}, KeyCase{u'A', 'A', vbShiftMask},
                      KeyCase{u'7', '7', 0}, KeyCase{u'!', '1', vbShiftMask},
                      KeyCase{u'(', '9', vbShiftMask}, KeyCase{u')', '0', vbShiftMask},
                      KeyCase{u';', 186, 0}, KeyCase{u':', 186, vbShiftMask},
                      KeyCase{u'=', 187, 0}, KeyCase{u'+', 187, vbShiftMask},
                      KeyCase{u',', 188, 0}, KeyCase{u'<', 188, vbShiftMask},
                      KeyCase{u'-', 189, 0}, KeyCase{u'_', 189, vbShiftMask},
                      KeyCase{u'.', 190, 0}, KeyCase{u'>', 190, vbShiftMask},
                      KeyCase{u'/', 191, 0}, KeyCase{u'?', 191, vbShiftMask},
                      KeyCase{u'`', 192, 0}, KeyCase{u'~', 192, vbShiftMask},
                      KeyCase{u'[', 219, 0}, KeyCase{u'{', 219, vbShiftMask},
                      KeyCase{u'\\', 220, 0}, KeyCase{u'|', 220, vbShiftMask},
                      KeyCase{u']', 221, 0}, KeyCase{u'}', 221, vbShiftMask},
                      KeyCase{u'\'', 222, 0}, KeyCase{u'"', 222, vbShiftMask},
                      KeyCase{u' ', 32, 0}, KeyCase{QChar(0xE9), 231, 0}));

TEST_F(KeysTest, KeypadAndEditingKeysHaveTheirOwnCodes)
{
    keys().Show();
    QWidget* w = keys().txtName.widget();
    QTest::keyClick(w, Qt::Key_5, Qt::KeypadModifier);
    QTest::keyClick(w, Qt::Key_Asterisk, Qt::KeypadModifier);
    QTest::keyClick(w, Qt::Key_Delete);
    QTest::keyClick(w, Qt::Key_F2);
    QTest::keyClick(w, Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_THAT(keys().downs, ElementsAre(KeyRecord{101, 0}, KeyRecord{106, 0},
                                          KeyRecord{46, 0}, KeyRecord{113, 0},
                                          KeyRecord{16, vbShiftMask},
                                          KeyRecord{36, vbShiftMask}));
}

TEST_F(KeysTest, KeyPressMayReplaceOrCancelTheCharacter)
{
    keys().onKeyPress = [](int16_t& k) {
        if (k >= 'a' && k <= 'z')
            k = int16_t(k - 32);   // upper case
        else if (k >= '0' && k <= '9')
            k = 0;                 // no digits
    };
    keys().Show();
    typeText(keys().txtName.widget(), QStringLiteral("a1b2-c"));
    EXPECT_EQ(keys().txtName.Text(), "AB-C");
    EXPECT_EQ(keys().pressed, "AB-C");
}

TEST_F(KeysTest, DeleteTypesNothingAndACancelledKeyDownIsSwallowed)
{
    // A KeyPress filter that refuses everything but digits must not see
    // Delete, which X reports with the text "\x7f".
    keys().onKeyPress = [](int16_t& k) {
        if (k < '0' || k > '9')
            k = 0;
    };
    keys().Show();
    keys().txtName.setText(QStringLiteral("123"));
    auto* edit = static_cast<QLineEdit*>(keys().txtName.widget());
    edit->setCursorPosition(0);
    QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier, QStringLiteral("\x7f"));
    QApplication::sendEvent(edit, &del);
    EXPECT_EQ(keys().txtName.Text(), "23");
    EXPECT_EQ(keys().pressed, "");

    keys().onKeyDown = [](int16_t& k) {
        if (k == 46)
            k = 0;
    };
    QApplication::sendEvent(edit, &del);
    EXPECT_EQ(keys().txtName.Text(), "23");
}

TEST_F(KeysTest, AltLetterOpensTheMenuBeforeAButtonWithTheSameKey)
{
    showWithFocusInName();
    keys().txtName.setText(QStringLiteral("x"));
    altKey(Qt::Key_F);
    auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup, keys().mnuFile.menu());
    QTest::keyClick(popup, Qt::Key_X);   // the item's own access key, no Alt
    forms::testing::processEvents();
    EXPECT_THAT(keys().clicks, ElementsAre("exit"));
    EXPECT_EQ(keys().txtName.Text(), "x");   // nothing typed
    EXPECT_EQ(keys().pressed, "");
}

TEST_F(KeysTest, AltLetterRunsButtonsCheckBoxesLabelsAndTabs)
{
    showWithFocusInName();
    altKey(Qt::Key_B);
    EXPECT_THAT(keys().clicks, ElementsAre("browse"));
    EXPECT_TRUE(keys().cmdBrowse.hasFocus());

    altKey(Qt::Key_S);
    EXPECT_EQ(keys().chSub.Value(), vbChecked);

    // The label hands the focus to the next control that can take it.
    keys().txtName.setEnabled(false);
    altKey(Qt::Key_N);
    EXPECT_TRUE(keys().txtOther.hasFocus());

    altKey(Qt::Key_P);
    EXPECT_EQ(keys().tabMain.Tab(), 1);
    EXPECT_THAT(keys().clicks, ElementsAre("browse", "tab0"));
    EXPECT_EQ(keys().txtOther.Text(), "");
}

TEST_F(KeysTest, SharedDisabledAndDoubledAccessKeys)
{
    showWithFocusInName();
    // Two buttons share T: each press moves the focus on, none is clicked.
    altKey(Qt::Key_T);
    EXPECT_TRUE(keys().cmdTwinA.hasFocus());
    altKey(Qt::Key_T);
    EXPECT_TRUE(keys().cmdTwinB.hasFocus());
    EXPECT_THAT(keys().clicks, IsEmpty());

    // "&&" is a literal ampersand; a disabled button has no access key.
    altKey(Qt::Key_O);
    EXPECT_THAT(keys().clicks, ElementsAre("off"));
    keys().cmdOff.setEnabled(false);
    altKey(Qt::Key_O);
    EXPECT_THAT(keys().clicks, ElementsAre("off"));

    // With the menu hidden, its key falls to the button.
    keys().mnuFile.setVisible(false);
    altKey(Qt::Key_F);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_THAT(keys().clicks, ElementsAre("off", "find"));
}

TEST_F(KeysTest, LabelsShowTheirAccessKeyAndKeepTheCaption)
{
    keys().Show();
    EXPECT_EQ(keys().lbName.Caption(), "&Name:");
    auto* label = static_cast<QLabel*>(keys().lbName.widget());
    // The text keeps the marker so that the letter is drawn underlined, and
    // the shown width is that of "Name:" alone.
    EXPECT_EQ(label->text(), "&Name:");
    const QFontMetrics fm = label->fontMetrics();
    EXPECT_NEAR(label->sizeHint().width(), fm.horizontalAdvance(QStringLiteral("Name:")), 2);
    EXPECT_LT(label->sizeHint().width(), fm.horizontalAdvance(QStringLiteral("&Name:")));
}

// ---- where a key goes: the focused control once, the focus the Part gives ---

// A button in a frame on a tab's page, a multi-line box on the next page; the
// form previews the keys. Every key event is logged with who raised it.
class frmNested final : public Form {
public:
    TabStrip tabMain{this, "tabMain"};
    Frame frPage{tabMain.page(0), "frPage"};
    Frame frInner{&frPage, "frInner"};
    CommandButton cmdChange{&frInner, "cmdChange"};
    TextBox txtDescription{tabMain.page(1), "txtDescription", MultiLineText};
    CommandButton cmdOK{this, "cmdOK"};
    CommandButton cmdCancel{this, "cmdCancel"};
    TextBox txtHidden{this, "txtHidden"};
    QStringList log;

    frmNested()
    {
        const auto logKeys = [this](auto& who, const QString& name) {
            who.KeyDown = [this, name](int16_t& k, int16_t) { log << name + ".down" + QString::number(k); };
            who.KeyPress = [this, name](int16_t& k) { log << name + ".press" + QString::number(k); };
            who.KeyUp = [this, name](int16_t& k, int16_t) { log << name + ".up" + QString::number(k); };
        };
        logKeys(*this, QStringLiteral("form"));
        logKeys(tabMain, QStringLiteral("tabMain"));
        logKeys(frPage, QStringLiteral("frPage"));
        logKeys(frInner, QStringLiteral("frInner"));
        logKeys(cmdChange, QStringLiteral("cmdChange"));
        tabMain.Click = [this](int16_t) {
            if (tabMain.Tab() == 1)
                txtDescription.SetFocus();
        };
    }

private:
    void Form_Design() override
    {
        setCaption(QStringLiteral("Nested"));
        setDesignSize(6000, 4500);
        setKeyPreview(true);
        tabMain.Move(60, 60, 5800, 3600);
        tabMain.setTabCaption(0, QStringLiteral("&General"));
        tabMain.setTabCaption(1, QStringLiteral("&Description"));
        frPage.Move(60, 480, 5600, 3000);
        frInner.Move(60, 60, 5000, 2000);
        cmdChange.setCaption(QStringLiteral("Change"));
        cmdChange.Move(60, 300, 1200, 360);
        txtDescription.Move(60, 480, 5600, 3000);
        cmdOK.setCaption(QStringLiteral("OK"));
        cmdOK.Move(3400, 3900, 1200, 360);
        cmdCancel.setCaption(QStringLiteral("Cancel"));
        cmdCancel.Move(4700, 3900, 1200, 360);
        txtHidden.setVisible(false);
    }
};

frmNested& nested()
{
    return instance<frmNested>();
}

void showNested()
{
    nested().Show();
    QApplication::setActiveWindow(nested().window());
    forms::testing::processEvents();
}

// A key as a desktop delivers it: to the widget that has the focus.
void keyToFocus(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    QTest::keyClick(focus, key, modifiers);
    forms::testing::processEvents();
}

TEST_F(KeysTest, EachKeyEventFiresOnceForTheFocusedControlWhateverItsNesting)
{
    showNested();
    nested().cmdChange.SetFocus();
    ASSERT_TRUE(nested().cmdChange.hasFocus());
    // Ctrl+Z and a letter: the button leaves both alone, so Qt hands them up
    // through the frames and the tab strip.
    keyToFocus(Qt::Key_Z, Qt::ControlModifier);
    keyToFocus(Qt::Key_Q);
    EXPECT_EQ(nested().log.join(u' '),
              "form.down17 cmdChange.down17 form.down90 cmdChange.down90 form.press122 "
              "cmdChange.press122 form.up90 cmdChange.up90 form.up17 cmdChange.up17 "
              "form.down81 cmdChange.down81 form.press113 cmdChange.press113 form.up81 "
              "cmdChange.up81");

    // The tab strip itself, focused: its own events, once.
    nested().log.clear();
    nested().tabMain.SetFocus();
    ASSERT_TRUE(nested().tabMain.hasFocus());
    keyToFocus(Qt::Key_F5);
    EXPECT_EQ(nested().log.join(u' '), "form.down116 tabMain.down116 form.up116 tabMain.up116");
}

TEST_F(KeysTest, AnAccessKeyToATabKeepsTheFocusItsClickGives)
{
    showNested();
    nested().cmdChange.SetFocus();
    keyToFocus(Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(nested().tabMain.Tab(), 1);
    EXPECT_TRUE(nested().txtDescription.hasFocus());
    // A Click that sets no focus leaves it on the tab strip.
    keyToFocus(Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(nested().tabMain.Tab(), 0);
    EXPECT_TRUE(nested().tabMain.hasFocus());
    // The focused strip marks its current tab.
    QWidget* bar = QApplication::focusWidget();
    const QImage focused = bar->grab().toImage();
    nested().cmdOK.SetFocus();
    EXPECT_NE(bar->grab().toImage(), focused);
}

TEST_F(KeysTest, TabMovesOnFromAMultiLineBoxAndOnlyThroughShownControls)
{
    showNested();
    nested().tabMain.setTab(1);
    nested().txtDescription.SetFocus();
    typeText(QApplication::focusWidget(), QStringLiteral("x"));
    keyToFocus(Qt::Key_Tab);
    EXPECT_EQ(nested().txtDescription.Text(), "x");
    EXPECT_TRUE(nested().cmdOK.hasFocus());
    // From the last button round to the tab strip: neither the hidden box
    // nor the window itself is a stop.
    keyToFocus(Qt::Key_Tab);
    EXPECT_TRUE(nested().cmdCancel.hasFocus());
    keyToFocus(Qt::Key_Tab);
    EXPECT_TRUE(nested().tabMain.hasFocus());
}

// ---- the window of a form, and the program's end ---------------------------

class frmTip final : public Form {
public:
    Label lblText{this, "lblText"};

private:
    void Form_Design() override { setDesignSize(1500, 300); }
    void Form_Load() override
    {
        window()->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
        window()->resize(120, 24);
        lblText.setCaption(QStringLiteral("tip"));
    }
};

TEST_F(KeysTest, AnOwnedTipWindowKeepsItsTypeAndItsText)
{
    keys().Show();
    frmTip& tip = instance<frmTip>();
    tip.Show(vbModeless, &keys());
    QWidget* top = tip.window();
    EXPECT_TRUE(top->isWindow());
    EXPECT_EQ(top->windowType(), Qt::ToolTip);
    EXPECT_EQ(tip.lblText.widget()->window(), top);   // the label is inside it
    EXPECT_TRUE(tip.lblText.widget()->isVisible());
    EXPECT_EQ(top->size(), QSize(120, 24));
}

TEST_F(KeysTest, TheProgramEndsWhenItsLastFormUnloads)
{
    EXPECT_EQ(App::run(), 0);   // nothing loaded: nothing to run
    keys().Show();
    instance<frmTip>().Load();
    QTimer::singleShot(10, [] { keys().Unload(); });
    QTimer::singleShot(40, [] { instance<frmTip>().Unload(); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(App::run(), 0);
    EXPECT_GE(clock.elapsed(), 30);   // the hidden form kept it running
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
}

TEST(CommandLine, HelpWrongOptionsAndQtOptions)
{
    const auto read = [](std::vector<const char*> args, int maxFiles) {
        std::vector<char*> argv;
        for (const char* a : args)
            argv.push_back(const_cast<char*>(a));
        return readCommandLine(int(argv.size()), argv.data(), "", maxFiles);
    };
    EXPECT_EQ(read({"prog", "--help"}, 0).exitStatus, 0);
    EXPECT_EQ(read({"prog", "x.qrv", "-?"}, 1).exitStatus, 0);
    EXPECT_EQ(read({"prog", "-x"}, 1).exitStatus, 2);
    EXPECT_EQ(read({"prog", "a.qrv", "b.qrv"}, 1).exitStatus, 2);
    EXPECT_EQ(read({"prog", "a.qrv"}, 0).exitStatus, 2);
    const CommandLine ok =
        read({"prog", "-platform", "offscreen", "-style=fusion", "-reverse", "a.qrv"}, 1);
    EXPECT_EQ(ok.exitStatus, -1);
    EXPECT_EQ(ok.files, QStringList{QStringLiteral("a.qrv")});
    EXPECT_EQ(read({"prog", "--", "-odd.qrv"}, 1).files, QStringList{QStringLiteral("-odd.qrv")});
}

}  // namespace
