// The screen grab through the form runtime: a painted area of the desktop
// bitmap is grabbed with the finder, and the panel's import option and the
// non-standard colour question decide what happens to its colours.

#include "barwright/connection/mGlobals.h"
#include "barwright/panel/ProgramHost.h"
#include "barwright/panel/frmCtlPanel.h"
#include "barwright/picture/GrabCapture.h"
#include "barwright/picture/frmGrabPreview.h"
#include "barwright/picture/frmNonStdColor.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/forms/Testing.h"
#include "platform/system/KeyState.h"
#include "tests/support/FormTexts.h"

#include <QCursor>
#include <QGuiApplication>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>

namespace {

using mDrawParams::GetClosest16Color;
using ::testing::IsEmpty;

constexpr int32_t Mask = int32_t(gdi::RGB(97, 65, 33));   // not a standard colour
constexpr int32_t AreaX = 300;   // the cursor's hot spot; the block starts at +1
constexpr int32_t AreaY = 200;

class GrabDest final : public forms::Form {
public:
    QString className() const override { return QStringLiteral("GrabDest"); }
    forms::PictureBox picWork{this, QStringLiteral("picWork")};

private:
    void Form_Design() override
    {
        setScaleMode(forms::vbPixels);
        picWork.Move(0, 0, 16, 16);
        picWork.setBorderStyle(0);
        picWork.setAutoRedraw(true);
    }
};

// The colour painted at (x, y) of the grabbed block: mostly non-standard.
int32_t painted(int32_t x, int32_t y)
{
    if (x == 0 && y == 0)
        return Mask;
    if (x == 1 && y == 0)
        return int32_t(gdi::RGB(192, 192, 192));   // button face, standard
    return int32_t(gdi::RGB(uint8_t(x * 13 + 5), uint8_t(y * 11 + 3), uint8_t(x * y + 7)));
}

class GrabTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        forms::testing::enable();
        gdi::SetScreenSize(640, 480);
        m_host = std::make_unique<ProgramHost>(QString());
        m_host->start();   // sets the drawing parameters' start values
        mDrawParams::gPicWidth = mDrawParams::gPicHeight = 16;
        mDrawParams::gMaskColor = Mask;
        // The connection's start values of the run.
        mGlobals::gShowNonStdColorMsg = true;
        mGlobals::gConvertNonStd = false;
        paintScreen(painted);
        dest().picWork.hDC();   // the box's own bitmap is not the grab's
        m_baseline = gdi::CountLiveObjects();
    }
    void TearDown() override
    {
        sys::setKeyState(sys::VK_CONTROL, false);
        sys::setKeyState(sys::VK_LBUTTON, false);
        for (forms::Form* f : forms::Form::loadedForms())
            f->Unload();
        m_host.reset();
        EXPECT_THAT(forms::testing::takeFailures(), IsEmpty());
    }

    static void paintScreen(const std::function<int32_t(int32_t, int32_t)>& colour)
    {
        const gdi::HDC dc = gdi::GetDC(0);
        for (int32_t y = 0; y < 16; ++y)
            for (int32_t x = 0; x < 16; ++x)
                gdi::SetPixelV(dc, AreaX + 1 + x, AreaY + 1 + y, gdi::COLORREF(colour(x, y)));
        gdi::ReleaseDC(0, dc);
    }
    static void setOption(int32_t index)
    {
        frmCtlPanel::get().coImageImportOption.setListIndex(index);
    }
    static int32_t option() { return frmCtlPanel::get().coImageImportOption.ListIndex(); }
    // The question's answer for the next grab: Yes or No, with or without
    // the check box.
    void answerQuestion(bool yes, bool tick)
    {
        m_question = [=] {
            forms::testing::answerNextModal<frmNonStdColor>([=](frmNonStdColor& f) {
                expectWholeAndDistinct(f, QStringLiteral("colour question"));
                if (tick)
                    f.chDontShowMessage.setValue(forms::vbChecked);
                (yes ? f.cmdOK : f.CmdNo).click();
            });
        };
    }
    // Shows the grab window as the tool dialog does and drags the finder
    // from the window to the area's hot spot.
    bool grab(bool ctrl = false)
    {
        frmGrabPreview& g = frmGrabPreview::get();
        std::function<void()> question = std::exchange(m_question, nullptr);
        forms::testing::answerNextModal<frmGrabPreview>([=](frmGrabPreview& f) {
            if (question)
                question();   // queued behind this window's own answer
            expectWholeAndDistinct(f, QStringLiteral("grab"));
            EXPECT_EQ(f.Caption(), QString());   // no internal name as its title
            QCursor::setPos(130, 10);
            f.imgFinder.MouseDown.fire(forms::vbLeftButton, 0, 6, 6);
            QCursor::setPos(AreaX, AreaY);
            f.imgFinder.MouseMove.fire(forms::vbLeftButton, 0, 200, 200);
            sys::setKeyState(sys::VK_CONTROL, ctrl);
            f.imgFinder.MouseUp.fire(forms::vbLeftButton, 0, 200, 200);
        });
        g.ctlDest = &dest().picWork;
        g.setLeft(0);
        g.setTop(0);
        g.Show(forms::vbModal);
        sys::setKeyState(sys::VK_CONTROL, false);
        return g.bCanceled;
    }
    static GrabDest& dest() { return forms::instance<GrabDest>(); }
    static int32_t px(int32_t x, int32_t y)
    {
        return int32_t(gdi::GetPixel(dest().picWork.hDC(), x, y));
    }
    static int shownQuestions()
    {
        return int(forms::testing::shownModalForms().count(QStringLiteral("frmNonStdColor")));
    }
    // Every pixel as grabbed, or converted to its closest standard colour.
    static void expectPixels(bool converted)
    {
        for (int32_t y = 0; y < 16; ++y)
            for (int32_t x = 0; x < 16; ++x) {
                const int32_t c = painted(x, y);
                const int32_t want = converted && c != Mask ? GetClosest16Color(c) : c;
                ASSERT_EQ(px(x, y), want) << "at " << x << "," << y;
            }
    }

    gdi::LiveObjects m_baseline;
    std::function<void()> m_question;

private:
    std::unique_ptr<ProgramHost> m_host;
};

TEST_F(GrabTest, GrabCopiesTheBlockBelowAndRightOfTheHotSpotExactly)
{
    setOption(2);
    EXPECT_FALSE(grab());
    expectPixels(false);
    frmGrabPreview& g = frmGrabPreview::get();
    EXPECT_EQ(g.ctlDest, nullptr);
    EXPECT_FALSE(g.isLoaded());
    EXPECT_EQ(GrabCapture::CurrentCursorResource(), 0);
    // Desktop DC, memory DC and bitmap all released.
    const gdi::LiveObjects now = gdi::CountLiveObjects();
    EXPECT_EQ(now.desktopDcs, m_baseline.desktopDcs);
    EXPECT_EQ(now.dcs, m_baseline.dcs);
    EXPECT_EQ(now.bitmaps, m_baseline.bitmaps);

    // With Ctrl at the release, button-face pixels become transparent.
    grab(true);
    EXPECT_EQ(px(1, 0), Mask);
    EXPECT_EQ(px(2, 0), painted(2, 0));
}

struct OptionCase {
    const char* name;
    int32_t option;
    bool yes;    // the answer, when asked
    bool tick;   // the check box, when asked
    bool asked;
    bool converted;
    int32_t optionAfter;
    bool showAfter;
};

class GrabOptionTest : public GrabTest, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(GrabOptionTest, OptionAndAnswerDecideTheColours)
{
    const OptionCase& c = GetParam();
    setOption(c.option);
    if (c.asked)
        answerQuestion(c.yes, c.tick);
    EXPECT_FALSE(grab());
    EXPECT_EQ(shownQuestions(), c.asked ? 1 : 0);
    expectPixels(c.converted);
    EXPECT_EQ(option(), c.optionAfter);
    EXPECT_EQ(mGlobals::gShowNonStdColorMsg, c.showAfter);
    if (c.asked) {
        EXPECT_EQ(mGlobals::gConvertNonStd, c.yes);
    }
    // A ticked box made the answer the panel's option: not asked again.
    if (c.tick) {
        grab();
        EXPECT_EQ(shownQuestions(), 1);
        expectPixels(c.converted);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Options, GrabOptionTest,
    ::testing::Values(OptionCase{"PromptYes", 0, true, false, true, true, 0, true},
                      OptionCase{"PromptNo", 0, false, false, true, false, 0, true},
                      OptionCase{"PromptYesTicked", 0, true, true, true, true, 1, false},
                      OptionCase{"PromptNoTicked", 0, false, true, true, false, 2, false},
                      OptionCase{"SixteenColor", 1, false, false, false, true, 1, true},
                      OptionCase{"HighColor", 2, false, false, false, false, 2, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GrabTest, StandardColoursAndMaskAreNotAsked)
{
    paintScreen([](int32_t x, int32_t y) {
        return x == y ? Mask : mDrawParams::Get16Color(int16_t((x + y) % 16));
    });
    setOption(0);
    EXPECT_FALSE(grab());
    EXPECT_EQ(shownQuestions(), 0);
    EXPECT_EQ(px(3, 3), Mask);
}

TEST_F(GrabTest, ExitCancelsButNotDuringAGrab)
{
    frmGrabPreview& g = frmGrabPreview::get();
    forms::testing::answerNextModal<frmGrabPreview>([](frmGrabPreview& f) {
        f.imgFinder.MouseDown.fire(forms::vbLeftButton, 0, 6, 6);
        f.cmdExit.click();
        EXPECT_TRUE(f.isLoaded());
        EXPECT_EQ(GrabCapture::CurrentCursorResource(), GrabCapture::FinderCursorId);
        // Shown over every window, acting at the centre of its cross-hair.
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->hotSpot(),
                  CursorResources::LoadResCursor(GrabCapture::FinderCursorId)->hotSpot());
        f.Label1.MouseUp.fire(forms::vbLeftButton, 0, 6, 6);
    });
    g.ctlDest = nullptr;   // a release with nothing to fill still ends the grab
    g.Show(forms::vbModal);
    EXPECT_FALSE(g.bCanceled);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);   // the default again

    forms::testing::answerNextModal<frmGrabPreview>([](frmGrabPreview& f) {
        f.cmdExit.click();
    });
    g.Show(forms::vbModal);
    EXPECT_TRUE(g.bCanceled);
    EXPECT_FALSE(g.isLoaded());
}

TEST_F(GrabTest, TimerTakesTheCaptureBackWhileTheButtonIsDown)
{
    setOption(2);
    forms::testing::answerNextModal<frmGrabPreview>([](frmGrabPreview& f) {
        f.picPreview.MouseDown.fire(forms::vbLeftButton, 0, 6, 6);
        QWidget* host = f.hostWidget();
        ASSERT_TRUE(GrabCapture::HasCapture(host));
        EXPECT_TRUE(f.Timer1.Enabled());
        EXPECT_EQ(f.Timer1.Interval(), 100);
        GrabCapture::ReleaseCapture(host);
        sys::setKeyState(sys::VK_LBUTTON, true);
        EXPECT_TRUE(forms::testing::waitUntil([&] { return GrabCapture::HasCapture(host); }));
        sys::setKeyState(sys::VK_LBUTTON, false);
        f.picPreview.MouseUp.fire(forms::vbLeftButton, 0, 6, 6);
    });
    frmGrabPreview::get().ctlDest = &dest().picWork;
    frmGrabPreview::get().Show(forms::vbModal);
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

struct SizeCase {
    int32_t width, height, wantWidth, wantHeight;
};

class PreviewSizeTest : public GrabTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(PreviewSizeTest, PreviewFitsWholePicturePixels)
{
    frmGrabPreview& g = frmGrabPreview::get();
    g.picPreview.Move(4, 4, float(GetParam().width), float(GetParam().height));
    g.SetPreviewPicSize();
    EXPECT_EQ(g.picPreview.Width(), float(GetParam().wantWidth));
    EXPECT_EQ(g.picPreview.Height(), float(GetParam().wantHeight));
}

INSTANTIATE_TEST_SUITE_P(Sizes, PreviewSizeTest,
                         ::testing::Values(SizeCase{101, 101, 101, 101},
                                           SizeCase{102, 101, 101, 101},
                                           SizeCase{100, 100, 100, 100},
                                           SizeCase{100, 102, 101, 101}));

}  // namespace
