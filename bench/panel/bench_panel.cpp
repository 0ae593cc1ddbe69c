// The Tools tab of the control panel on a large working copy: 5,000 tools in
// 40 categories, each with its own 16 x 16 picture. Filling the tree (flat
// and grouped) and rebuilding the whole tab (pictures and tree).
#include "barwright/panel/ProgramHost.h"
#include "barwright/panel/frmCtlPanel.h"
#include "barwright/panel/frmPreview.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

namespace {

constexpr int kTools = 5000;

frmCtlPanel& panelWithLargeCopy()
{
    static std::unique_ptr<ProgramHost> host;
    if (!host) {
        host = std::make_unique<ProgramHost>(QString());
        host->start();
        auto wc = frmPreview::get().tbarPreview.control();
        wc->setRedraw(false);
        for (int i = 0; i < kTools; ++i) {
            auto t = wc->tools()->Add(QStringLiteral("ID_Tool%1").arg(i), int16_t(i % 7));
            t->setName(QStringLiteral("Tool %1").arg(i));
            t->setCategory(QStringLiteral("Category %1").arg(i % 40));
            t->setStateGroupName(QStringLiteral("Group %1").arg(i % 13));
            QImage img(16, 17, QImage::Format_RGB32);
            img.fill(qRgb(97, 65, 33 + i % 100));
            for (int y = 0; y < 16; ++y)
                for (int x = 2; x < 14; ++x)
                    img.setPixel(x, y, qRgb((i * 7 + x) & 255, (i * 3 + y) & 255, i & 255));
            t->setPicture(toolbar::PictureState::Normal, forms::StdPicture::fromImage(img));
        }
        wc->setRedraw(true);
        frmCtlPanel::get().tabMain.setTab(1);   // pictures into the image list
    }
    return frmCtlPanel::get();
}

void BM_LoadToolsIntoTreeview(benchmark::State& state)
{
    frmCtlPanel& panel = panelWithLargeCopy();
    const bool grouped = state.range(0) != 0;
    for (auto _ : state)
        panel.LoadToolsIntoTreeview(grouped, panel.tvTools);
    state.SetLabel(grouped ? "grouped" : "flat");
    if (panel.tvTools.Nodes.Count() < kTools)
        state.SkipWithError("tools missing from the tree");
}
BENCHMARK(BM_LoadToolsIntoTreeview)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// ReloadAllLists: the toolbar list and options (nothing here), then the
// Tools tab's pictures and tree from scratch.
void BM_LoadToolsPage(benchmark::State& state)
{
    frmCtlPanel& panel = panelWithLargeCopy();
    for (auto _ : state)
        panel.ReloadAllLists();
    if (panel.imlstTools.Count() != kTools + 1)
        state.SkipWithError("pictures missing from the image list");
}
BENCHMARK(BM_LoadToolsPage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
