#include "PictureFixture.h"

#include "platform/forms/Clipboard.h"
#include "platform/forms/Testing.h"
#include "platform/system/KeyState.h"

using namespace mDrawParams;

namespace picturetest {

void PictureHost::layout(int32_t canvasSide, int32_t picSide)
{
    for (forms::PictureBox* box : {&picCanvas, &picActual, &picPreview})
        box->setBorderStyle(0);
    picCanvas.Move(0, 0, float(canvasSide * 15), float(canvasSide * 15));
    picActual.Move(float((canvasSide + 10) * 15), 0, float(picSide * 15),
                   float((picSide + 1) * 15));
    picPreview.Move(float((canvasSide + 10) * 15), 600, float((picSide + 10) * 15),
                    float((picSide + 10) * 15));
    picActual.setBackColor(Mask);
}

Owner::Owner()
{
    defineMethod(QStringLiteral("Notify"), com::DispidUnknown, [this](com::Args& args) {
        codes.push_back(args.at(0).toInteger());
        if (onNotify)
            onNotify(codes.back());
        return rt::Variant();
    });
}

void EngineTest::SetUp()
{
    forms::testing::enable();
    forms::Clipboard::Clear();
    gPicWidth = 16;
    gPicHeight = 16;
    gMaskColor = Mask;
    gForeColor = Left;
    gBackColor = Right;
    gCurrentToolID = QStringLiteral("id_pencil");
    CreateBackgroundBrushes();
    owner = std::make_shared<Owner>();
    makeEngine();
}

void EngineTest::TearDown()
{
    engine.reset();
    forms::instance<PictureHost>().Unload();
    sys::setKeyState(sys::VK_SHIFT, false);
    sys::setKeyState(sys::VK_CONTROL, false);
    forms::Clipboard::Clear();
    EXPECT_THAT(forms::testing::takeFailures(), ::testing::IsEmpty());
}

PictureHost& EngineTest::host()
{
    return forms::instance<PictureHost>();
}

void EngineTest::makeEngine(int32_t canvasSide)
{
    engine.reset();
    host().layout(canvasSide, gPicWidth);
    zoom = canvasSide / gPicWidth;
    engine = std::make_unique<CDraw>();
    engine->SetControls(&host().picCanvas, &host().picActual, &host().picPreview,
                        &host().lbColor);
    engine->Advise(com::Object(owner));
    engine->PicType(0);
    engine->RefreshActualPicture(false, false);
}

void EngineTest::down(int16_t x, int16_t y, int16_t button)
{
    engine->MouseDown(button, 0, int16_t(x * zoom + zoom / 2), int16_t(y * zoom + zoom / 2));
}

void EngineTest::move(int16_t x, int16_t y, int16_t button)
{
    engine->MouseMove(button, 0, int16_t(x * zoom + zoom / 2), int16_t(y * zoom + zoom / 2));
}

void EngineTest::up(int16_t x, int16_t y, int16_t button)
{
    engine->MouseUp(button, 0, int16_t(x * zoom + zoom / 2), int16_t(y * zoom + zoom / 2));
}

void EngineTest::drag(const char* tool, int16_t x1, int16_t y1, int16_t x2, int16_t y2,
                      int16_t button)
{
    gCurrentToolID = QString::fromLatin1(tool);
    down(x1, y1, button);
    move(x2, y2, button);
    up(x2, y2, button);
}

void EngineTest::click(const char* tool, int16_t x, int16_t y, int16_t button)
{
    gCurrentToolID = QString::fromLatin1(tool);
    down(x, y, button);
    up(x, y, button);
}

int32_t EngineTest::px(int32_t x, int32_t y) const
{
    return int32_t(gdi::GetPixel(engine->ImageDC(), x, y));
}

std::vector<std::string> EngineTest::rows(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const
{
    std::vector<std::string> out;
    for (int32_t y = y0; y <= y1; ++y) {
        std::string row;
        for (int32_t x = x0; x <= x1; ++x) {
            const int32_t c = px(x, y);
            row += c == Mask ? '.' : c == Left ? 'L' : c == Right ? 'R' : '?';
        }
        out.push_back(row);
    }
    return out;
}

int EngineTest::countNot(int32_t color) const
{
    int n = 0;
    for (int32_t y = 0; y < gPicHeight; ++y) {
        for (int32_t x = 0; x < gPicWidth; ++x)
            n += px(x, y) != color;
    }
    return n;
}

}  // namespace picturetest
