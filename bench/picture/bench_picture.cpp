// Drawing engine timings: composing the zoomed canvas and a pencil stroke.
#include "barwright/picture/CDraw.h"
#include "barwright/picture/mDrawParams.h"
#include "platform/forms/Form.h"
#include "platform/forms/Label.h"
#include "platform/forms/PictureBox.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

class BenchHost final : public forms::Form {
public:
    QString className() const override { return QStringLiteral("BenchHost"); }
    forms::PictureBox picCanvas{this, QStringLiteral("picCanvas")};
    forms::PictureBox picActual{this, QStringLiteral("picActual")};
    forms::PictureBox picPreview{this, QStringLiteral("picPreview")};
    forms::Label lbColor{this, QStringLiteral("lbColor")};
};

// A 32 x 32 picture on a 512 x 512 canvas, half of it mask-coloured.
std::unique_ptr<CDraw> makeEngine()
{
    using namespace mDrawParams;
    gPicWidth = gPicHeight = 32;
    gMaskColor = int32_t(gdi::RGB(97, 65, 33));
    gForeColor = int32_t(gdi::RGB(255, 0, 0));
    gBackColor = int32_t(gdi::RGB(0, 0, 255));
    CreateBackgroundBrushes();
    BenchHost& host = forms::instance<BenchHost>();
    for (forms::PictureBox* box : {&host.picCanvas, &host.picActual, &host.picPreview})
        box->setBorderStyle(0);
    host.picCanvas.Move(0, 0, 512 * 15, 512 * 15);
    host.picActual.Move(530 * 15, 0, 32 * 15, 33 * 15);
    host.picPreview.Move(530 * 15, 600, 42 * 15, 42 * 15);
    host.picActual.setBackColor(gMaskColor);
    auto engine = std::make_unique<CDraw>();
    engine->SetControls(&host.picCanvas, &host.picActual, &host.picPreview, &host.lbColor);
    engine->RefreshActualPicture(false, false);
    gCurrentToolID = QStringLiteral("id_filledbox");
    engine->MouseDown(1, 0, 0, 0);
    engine->MouseUp(1, 0, 511, 255);
    return engine;
}

void BM_PaintCanvas(benchmark::State& state)
{
    auto engine = makeEngine();
    for (auto _ : state)
        engine->PaintCanvas();
}
BENCHMARK(BM_PaintCanvas)->Unit(benchmark::kMillisecond);

void BM_PencilStroke100Moves(benchmark::State& state)
{
    auto engine = makeEngine();
    mDrawParams::gCurrentToolID = QStringLiteral("id_pencil");
    for (auto _ : state) {
        engine->MouseDown(1, 0, 8, 8);
        for (int16_t i = 0; i < 100; ++i)
            engine->MouseMove(1, 0, int16_t(8 + i * 5), int16_t(8 + (i * 13) % 500));
        engine->MouseUp(1, 0, 500, 500);
    }
}
BENCHMARK(BM_PencilStroke100Moves)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
