// Find over a generated tree of 50,000 files in 2,000 folders (3,000 projects,
// 2,000 of them using the source product), against `grep -rl` of the same
// reference lines over the same tree, then Check All and Uncheck All over the
// 2,000 entries found, in a shown window. The ratios are printed at the end.
#include "conversion/engine/mConversion.h"
#include "conversion/windows/MainForm.h"
#include "platform/forms/Testing.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

constexpr int kTopFolders = 50;
constexpr int kSubFolders = 39;          // 50 + 50 * 39 = 2,000 folders
constexpr int kFilesPerFolder = 25;      // 50,000 files
constexpr int kOtherEvery = 2;           // every second folder also holds a project
                                         // without the source
constexpr int16_t kRow = 2;              // Zentribar 1.0 to Zentribar 2.0
constexpr double kCheckBudget = 0.5;     // seconds for Check All or Uncheck All

std::unique_ptr<QTemporaryDir> g_tree;
int g_expected = 0;
double g_findSeconds = 0;
double g_grepSeconds = 0;
double g_checkAllSeconds = 0;
double g_uncheckAllSeconds = 0;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

QByteArray projectText(int n, bool uses)
{
    QByteArray t = "Type=Exe\r\n";
    t += "Object={0D6E2B14-91C4-4A7E-B2F0-3C5A8E17D920}#1.2#0; GRIDLITE.OCX\r\n";
    if (uses)
        t += QByteArray(mConversion::conversionTable()[kRow].oldLines[0]) + "\r\n";
    for (int i = 0; i < 8; ++i)
        t += "Form=frm" + QByteArray::number(n) + "_" + QByteArray::number(i) + ".frm\r\n";
    t += "Name=\"Project" + QByteArray::number(n) + "\"\r\nMajorVer=1\r\nMinorVer=0\r\n";
    return t;
}

QByteArray sourceText(int n)
{
    QByteArray t = "VERSION 5.00\r\nBegin VB.Form frm" + QByteArray::number(n) + "\r\n";
    for (int i = 0; i < 30; ++i)
        t += "   Caption = \"Line " + QByteArray::number(i) + "\"\r\n";
    return t + "End\r\n";
}

void generateTree()
{
    g_tree = std::make_unique<QTemporaryDir>();
    const QString root = g_tree->path();
    int folder = 0;
    int projects = 0;
    auto fill = [&](const QString& dir) {
        QDir().mkpath(dir);
        int files = 0;
        writeFile(dir + "/App" + QString::number(projects) + ".vbp", projectText(projects, true));
        ++g_expected;
        ++projects;
        ++files;
        if (folder++ % kOtherEvery == 0) {
            writeFile(dir + "/Other" + QString::number(projects) + ".vbp",
                      projectText(projects, false));
            ++projects;
            ++files;
        }
        for (; files < kFilesPerFolder; ++files)
            writeFile(dir + "/Module" + QString::number(files) + ".frm", sourceText(files));
    };
    for (int t = 0; t < kTopFolders; ++t) {
        const QString top = root + "/Group" + QString::number(t);
        fill(top);
        for (int s = 0; s < kSubFolders; ++s)
            fill(top + "/Part" + QString::number(s));
    }
}

MainForm& form() { return forms::instance<MainForm>(); }

double secondsSince(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void BM_Find(benchmark::State& state)
{
    form().Show();
    form().cboProduct.setListIndex(kRow);
    form().txtPath.setText(g_tree->path());
    form().chkSubFolders.setValue(1);
    for (auto _ : state) {
        form().ClearListBox();
        const auto t0 = std::chrono::steady_clock::now();
        form().cmdFind.click();
        g_findSeconds = secondsSince(t0);
        if (form().List1.ListCount() != g_expected)
            state.SkipWithError("Find listed the wrong number of projects");
    }
    state.counters["projects"] = form().List1.ListCount();
}

void BM_GrepRl(benchmark::State& state)
{
    mConversion::sCurrentRow = QStringLiteral("-1");
    mConversion::SetupConversion(kRow);
    QStringList args{"-rlF"};
    for (int16_t k = 0; k < mConversion::nPairs; ++k) {
        const QString& line = mConversion::sOldLines[k];
        args << "-e" << line.left(line.indexOf(u';') + 1);
    }
    args << g_tree->path();
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        QProcess grep;
        grep.start("grep", args);
        grep.waitForFinished(-1);
        g_grepSeconds = secondsSince(t0);
        const auto found = grep.readAllStandardOutput().count('\n');
        if (found != g_expected)
            state.SkipWithError("grep listed the wrong number of files");
    }
}

// Runs after BM_Find, on the entries it left in the list.
void checkEvery(benchmark::State& state, bool on, double& seconds)
{
    for (auto _ : state) {
        state.PauseTiming();
        (on ? form().mActionUncheckAll : form().mActionCheckAll).click();
        state.ResumeTiming();
        const auto t0 = std::chrono::steady_clock::now();
        (on ? form().mActionCheckAll : form().mActionUncheckAll).click();
        seconds = secondsSince(t0);
        if (form().List1.SelCount() != (on ? g_expected : 0)
            || form().cmdConvert.Enabled() != on)
            state.SkipWithError("the checks or the Convert command are wrong");
    }
    state.counters["entries"] = form().List1.ListCount();
}

void BM_CheckAll(benchmark::State& state) { checkEvery(state, true, g_checkAllSeconds); }
void BM_UncheckAll(benchmark::State& state) { checkEvery(state, false, g_uncheckAllSeconds); }

BENCHMARK(BM_Find)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_GrepRl)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CheckAll)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_UncheckAll)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settings;
    qputenv("BW_REGISTRY_FILE", settings.filePath("registry.json").toUtf8());
    QApplication app(argc, argv);
    forms::testing::enable();
    generateTree();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (g_grepSeconds > 0)
        std::printf("Find %.1f ms, grep -rl %.1f ms: Find takes %.2fx grep's time\n",
                    g_findSeconds * 1000, g_grepSeconds * 1000, g_findSeconds / g_grepSeconds);
    for (const auto& [what, seconds] : {std::pair{"Check All", g_checkAllSeconds},
                                        std::pair{"Uncheck All", g_uncheckAllSeconds}})
        if (seconds > 0)
            std::printf("%s over %d entries %.1f ms: %.2fx the %.1f s allowed\n", what,
                        g_expected, seconds * 1000, seconds / kCheckBudget, kCheckBudget);
    form().Unload();
    return 0;
}
