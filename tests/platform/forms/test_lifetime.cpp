// Lifetime of a form's widgets against its control objects: an unloaded
// window is deleted later, and nothing it does then may reach a control,
// neither one that now wraps a new widget nor one that no longer exists.
#include "platform/forms/CommandButton.h"
#include "platform/forms/Form.h"
#include "platform/forms/Testing.h"
#include "platform/forms/TextBox.h"

#include <gmock/gmock.h>

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>

#include <memory>

using namespace forms;

namespace {

class frmFocus final : public Form {
public:
    TextBox txtA{this, "txtA"};
    CommandButton cmdOK{this, "cmdOK"};
    int lostFocus = 0;
    int keyDowns = 0;
    int keyPresses = 0;

    frmFocus()
    {
        txtA.LostFocus = [this] { ++lostFocus; };
        cmdOK.LostFocus = [this] { ++lostFocus; };
        txtA.KeyDown = [this](int16_t&, int16_t) {
            ++keyDowns;
            Unload();   // the key's own control goes away under it
        };
        txtA.KeyPress = [this](int16_t&) { ++keyPresses; };
    }
};

void flushDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class LifetimeTest : public ::testing::Test {
protected:
    void SetUp() override { forms::testing::enable(); }
    void TearDown() override
    {
        flushDeletes();
        EXPECT_THAT(forms::testing::takeFailures(), ::testing::IsEmpty());
    }

    // Shown and unloaded at once, as a modal dialog answered by a test: the
    // window's activation arrives after it was hidden, so a control's widget
    // in the unloaded window holds the application's focus until deleted.
    static std::unique_ptr<frmFocus> unloadedWithFocusLeftBehind()
    {
        auto f = std::make_unique<frmFocus>();
        f->Show();
        QWidget* old = f->existingWindow();
        f->Unload();
        QCoreApplication::processEvents();
        EXPECT_TRUE(QApplication::focusWidget() && old->isAncestorOf(QApplication::focusWidget()));
        return f;
    }
};

TEST_F(LifetimeTest, PendingWindowOfADeletedFormReachesNoControl)
{
    auto f = unloadedWithFocusLeftBehind();
    f.reset();        // as at exit: the form object goes first
    flushDeletes();   // the focused widget's focus-out must go nowhere
    EXPECT_EQ(QApplication::focusWidget(), nullptr);
}

TEST_F(LifetimeTest, UnloadedWindowRaisesNothingOnTheReloadedControl)
{
    auto f = unloadedWithFocusLeftBehind();
    f->Load();   // txtA now wraps a new widget
    f->lostFocus = 0;
    flushDeletes();
    EXPECT_EQ(f->lostFocus, 0);
    f->Unload();
}

TEST_F(LifetimeTest, KeyThatUnloadsItsFormGoesNoFurther)
{
    auto f = std::make_unique<frmFocus>();
    f->Show();
    QWidget* box = f->txtA.widget();
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(box, &key);
    EXPECT_EQ(f->keyDowns, 1);
    EXPECT_EQ(f->keyPresses, 0);   // its window is gone: the key goes no further
    EXPECT_FALSE(f->isLoaded());
    f.reset();
}

}  // namespace
