// The window helpers: keeping a window on the screen and applying typed
// colour text to its swatch.
#include "ConnectionFixture.h"

#include "barwright/connection/mGlobalsControls.h"
#include "platform/forms/Screen.h"

namespace {

class frmHost final : public forms::Form {
public:
    forms::TextBox txtColor{this, "txtColor"};
    forms::PictureBox picColor{this, "picColor"};
};

}  // namespace

TEST(WindowHelpers, KeepFormOnScreenCorrectsLeftTopThenRightBottom)
{
    const float sw = forms::Screen::Width();
    const float sh = forms::Screen::Height();
    ASSERT_GT(sw, 3000.f);
    ASSERT_GT(sh, 3000.f);
    struct Case {
        float left, top, width, height, wantLeft, wantTop;
    };
    const Case cases[] = {
        {300, 450, 1500, 1200, 300, 450},                    // already on the screen
        {-600, -300, 1500, 1200, 0, 0},                      // off the top left
        {sw - 750, sh - 600, 1500, 1200, sw - 1500, sh - 1200},
        // Larger than the screen: flush with the right and bottom edges.
        {-600, -300, sw + 1500, sh + 1200, -1500, -1200},
    };
    frmHost form;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.left << "," << c.top);
        form.Move(c.left, c.top, c.width, c.height);
        mGlobals::KeepFormOnScreen(form);
        EXPECT_FLOAT_EQ(form.Left(), c.wantLeft);
        EXPECT_FLOAT_EQ(form.Top(), c.wantTop);
        EXPECT_FLOAT_EQ(form.Width(), c.width);
        EXPECT_FLOAT_EQ(form.Height(), c.height);
    }
    form.Unload();
}

TEST(WindowHelpers, ApplyColorTextTakesValidTextAndRestoresInvalidText)
{
    frmHost form;
    form.picColor.setBackColor(0x00123456);
    form.txtColor.setText(QStringLiteral(" &h800000ff& "));   // index above 24
    mGlobals::ApplyColorText(form.txtColor, form.picColor);
    EXPECT_EQ(form.txtColor.Text(), QStringLiteral("&H00123456&"));
    EXPECT_EQ(form.picColor.BackColor(), 0x00123456);

    form.txtColor.setText(QStringLiteral(" &h00ff00aa& "));
    mGlobals::ApplyColorText(form.txtColor, form.picColor);
    EXPECT_EQ(form.txtColor.Text(), QStringLiteral("&H00FF00AA&"));
    EXPECT_EQ(form.picColor.BackColor(), 0x00FF00AA);
    form.Unload();
}
