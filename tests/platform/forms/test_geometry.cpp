// Window geometry through the frame: Left, Top, Width and Height are the outer
// rectangle before and after the first show, whatever frame the windows shown
// so far had, so sizes saved at unload come back the same at the next load.
#include "FormsFixture.h"


#include <QWidget>
#include <QWindow>

#include <gmock/gmock.h>

using namespace forms;

namespace {

class frmGeometry final : public Form {
public:
    QString className() const override { return QStringLiteral("frmGeometry"); }

private:
    void Form_Design() override { setDesignSize(4800, 3000); }
};

class frmOwner final : public Form {
public:
    QString className() const override { return QStringLiteral("frmOwner"); }

private:
    void Form_Design() override { setDesignSize(6000, 4500); }
};

frmGeometry& form() { return instance<frmGeometry>(); }

// The frame the platform put around the shown window, pixels.
QMargins realFrame(Form& f)
{
    return f.existingWindow()->windowHandle()->frameMargins();
}

struct Rect {
    float left, top, width, height;
};

Rect outer(Form& f)
{
    return {f.Left(), f.Top(), f.Width(), f.Height()};
}

MATCHER_P(IsRect, r, "")
{
    return arg.left == r.left && arg.top == r.top && arg.width == r.width &&
           arg.height == r.height;
}

using GeometryTest = FormsFixture;

// Assumed frames: none known yet, the real one, one wider than the real one.
class AssumedFrameTest : public GeometryTest, public ::testing::WithParamInterface<int> {};

TEST_P(AssumedFrameTest, OuterRectangleIsKeptThroughTheFirstShow)
{
    const int side = GetParam();
    forms::testing::assumeWindowFrame(side, side * 4, side, side);
    const Rect wanted{600, 450, 5400, 3600};
    form().Move(wanted.left, wanted.top, wanted.width, wanted.height);
    EXPECT_THAT(outer(form()), IsRect(wanted));
    form().Show();
    EXPECT_THAT(outer(form()), IsRect(wanted));
    const QMargins m = realFrame(form());
    EXPECT_EQ(form().ScaleWidth(), wanted.width - float((m.left() + m.right()) * 15));
    EXPECT_EQ(form().ScaleHeight(), wanted.height - float((m.top() + m.bottom()) * 15));
    form().Hide();
    EXPECT_THAT(outer(form()), IsRect(wanted));
}

TEST_P(AssumedFrameTest, SavedSizeComesBackTheSameSessionAfterSession)
{
    const int side = GetParam();
    Rect saved{};
    for (int session = 0; session < 3; ++session) {
        // Each session starts in a new process: nothing learnt of the frame.
        forms::testing::assumeWindowFrame(side, side * 4, side, side);
        if (session > 0)
            form().Move(saved.left, saved.top, saved.width, saved.height);
        form().Show();
        const Rect now = outer(form());
        if (session > 0) {
            EXPECT_THAT(now, IsRect(saved)) << "session " << session;
        }
        saved = now;
        form().Unload();
    }
}

INSTANTIATE_TEST_SUITE_P(Frames, AssumedFrameTest, ::testing::Values(0, 2, 9));

TEST_F(GeometryTest, DesignedSizeIsTheClientAreaAndTheFrameComesOnTop)
{
    forms::testing::assumeWindowFrame(0, 0, 0, 0);
    EXPECT_EQ(form().ScaleWidth(), 4800);
    EXPECT_EQ(form().ScaleHeight(), 3000);
    form().Show();
    const QMargins m = realFrame(form());
    EXPECT_EQ(form().ScaleWidth(), 4800);
    EXPECT_EQ(form().ScaleHeight(), 3000);
    EXPECT_EQ(form().Width(), float(4800 + (m.left() + m.right()) * 15));
    EXPECT_EQ(form().Height(), float(3000 + (m.top() + m.bottom()) * 15));
}

TEST_F(GeometryTest, MinimumTrackSizeTakenAtLoadIsTheOuterSizeOnScreen)
{
    // The outer size read before the show is what the window keeps at least.
    const int32_t w = int32_t(form().Width() / 15);
    const int32_t h = int32_t(form().Height() / 15);
    form().setMinTrackSize(w, h);
    form().Show();
    QWidget* window = form().existingWindow();
    window->resize(w / 2, h / 2);
    forms::testing::processEvents(20);
    EXPECT_EQ(window->frameGeometry().size(), QSize(w, h));
    form().Move(0, 0, 15, 15);
    EXPECT_EQ(form().Width(), float(w * 15));
}

TEST_F(GeometryTest, OwnedFormShowsWhereItWasPut)
{
    frmOwner& owner = instance<frmOwner>();
    owner.Show();
    form().Move(1500, 1200);
    form().Show(vbModeless, &owner);
    EXPECT_EQ(form().Left(), 1500);
    EXPECT_EQ(form().Top(), 1200);
    EXPECT_EQ(form().existingWindow()->frameGeometry().topLeft(), QPoint(100, 80));
}

}  // namespace
