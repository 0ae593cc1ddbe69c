// Picture boxes as the picture editor and the wizard use them: the persistent
// image in the display's format, the border and the drawing area inside it.
#include "platform/forms/Form.h"
#include "platform/forms/PictureBox.h"
#include "platform/forms/Testing.h"

#include <gmock/gmock.h>

using namespace forms;

namespace {

class frmBoxes final : public Form {
public:
    QString className() const override { return QStringLiteral("frmBoxes"); }
    PictureBox picBox{this, "picBox"};

private:
    void Form_Design() override
    {
        setDesignSize(6000, 6000);
        picBox.setAutoRedraw(true);
        picBox.Move(150, 150, 100 * 15, 60 * 15);
    }
};

frmBoxes& boxes() { return instance<frmBoxes>(); }

class PictureBoxTest : public ::testing::Test {
protected:
    void SetUp() override { forms::testing::enable(); }
    void TearDown() override
    {
        for (Form* f : Form::loadedForms())
            f->Unload();
        gdi::SetDisplayBitsPerPixel(32);
        EXPECT_THAT(forms::testing::takeFailures(), ::testing::IsEmpty());
    }
};

class DisplayDepthTest : public PictureBoxTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(DisplayDepthTest, ImageHasTheDisplaysFormat)
{
    const int32_t bits = GetParam();
    gdi::SetDisplayBitsPerPixel(bits);
    PictureBox& box = boxes().picBox;
    EXPECT_EQ(gdi::GetBitmapBitsPixel(box.Image()->Handle()), bits);
    // What is drawn reads back as the display shows it.
    const gdi::COLORREF brown = gdi::RGB(97, 65, 33);
    gdi::SetPixel(box.hDC(), 1, 1, brown | gdi::PaletteRelative);
    const gdi::COLORREF shown = gdi::GetPixel(box.hDC(), 1, 1);
    EXPECT_EQ(shown, gdi::GetNearestColor(box.hDC(), brown));
    EXPECT_EQ(shown == brown, bits == 32);
    // A box resized later keeps following the display.
    box.setWidth(120 * 15);
    EXPECT_EQ(gdi::GetBitmapBitsPixel(box.Image()->Handle()), bits);
    EXPECT_EQ(gdi::GetPixel(box.hDC(), 1, 1), shown);
}

INSTANTIATE_TEST_SUITE_P(Depths, DisplayDepthTest, ::testing::Values(4, 8, 32));

}  // namespace
