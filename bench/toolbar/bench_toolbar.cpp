// Loading and saving a large configuration: 5,000 tools with 16 x 16
// pictures (each its own picture) on 200 toolbars of 25 entries.
#include "platform/toolbar/MqZentribar.h"

#include <QGuiApplication>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

using namespace toolbar;

namespace {

std::shared_ptr<MqZentribar> buildLarge()
{
    auto c = std::make_shared<MqZentribar>();
    c->setRedraw(false);
    for (int i = 0; i < 5000; ++i) {
        auto t = c->tools()->Add(QStringLiteral("ID_Tool%1").arg(i), int16_t(i % 7));
        t->setName(QStringLiteral("Tool %1").arg(i));
        t->setCategory(QStringLiteral("Category %1").arg(i % 40));
        t->setDescription(QStringLiteral("The tool number %1").arg(i));
        t->setTooltipText(QStringLiteral("Tool %1").arg(i));
        QImage img(16, 17, QImage::Format_RGB32);
        img.fill(qRgb(97, 65, 33));
        for (int y = 0; y < 16; ++y)
            for (int x = 2; x < 14; ++x)
                img.setPixel(x, y, qRgb((i * 7 + x) & 255, (i * 3 + y) & 255, i & 255));
        t->setPicture(PictureState::Normal, forms::StdPicture::fromImage(img));
    }
    for (int b = 0; b < 200; ++b) {
        auto bar = c->toolbars()->Add(QStringLiteral("Toolbar%1").arg(b));
        for (int k = 0; k < 25; ++k)
            bar->tools()->Add(QStringLiteral("ID_Tool%1").arg(b * 25 + k));
    }
    c->setRedraw(true);
    return c;
}

void BM_SaveConfiguration(benchmark::State& state)
{
    const auto c = buildLarge();
    QTemporaryDir dir;
    const QString file = dir.filePath("large.qrv");
    for (auto _ : state)
        c->SaveConfiguration(file);
    state.counters["bytes"] = double(QFileInfo(file).size());
}

void BM_LoadConfiguration(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("large.qrv");
    buildLarge()->SaveConfiguration(file);
    auto c = std::make_shared<MqZentribar>();
    for (auto _ : state) {
        c->LoadConfiguration(file);
        benchmark::DoNotOptimize(c->tools()->Count());
    }
}

void BM_SaveConfigurationEx(benchmark::State& state)
{
    const auto c = buildLarge();
    for (auto _ : state)
        benchmark::DoNotOptimize(c->SaveConfigurationEx());
}

BENCHMARK(BM_SaveConfiguration)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_LoadConfiguration)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SaveConfigurationEx)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);   // image codecs need an application
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
