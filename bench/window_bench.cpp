// The windows as a user drives them, offscreen: one full refresh of the main window (a scroll
// bar change, both files written and read back, both charts redrawn and painted), alone, with
// the dock or with the hemispherical view following it, and the longest sweep of the
// multiple-simulation window.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QStandardPaths>
#include <algorithm>
#include <chrono>
#include <vector>

#include "app/widgets/controls.h"
#include "app/windows/leaf_sweep_window.h"
#include "app/windows/main_window.h"
#include "bench_work_dir.h"

namespace {

using Clock = std::chrono::steady_clock;

// Median and 99th percentile of per-refresh times, as counters in microseconds.
void ReportPercentiles(benchmark::State& state, std::vector<double> microseconds)
{
    if (microseconds.empty()) return;
    std::sort(microseconds.begin(), microseconds.end());
    const auto at = [&](double q) {
        return microseconds[static_cast<std::size_t>(
            q * static_cast<double>(microseconds.size() - 1))];
    };
    state.counters["median_us"] = at(0.5);
    state.counters["p99_us"] = at(0.99);
    state.counters["refreshes"] = static_cast<double>(microseconds.size());
}

// One refresh per iteration: the Cab bar moves one page back and forth, which rewrites
// "VP.dat" and "VS.dat", redraws both charts and paints the window; with `withDock`, the dock
// "Sensor e índices" is open and fills its tables too.
void MeasureMainWindowRefresh(benchmark::State& state, bool withDock)
{
    BenchWorkDir dir;
    tulmera::app::MainWindow window;
    auto* viewDock = window.findChild<QAction*>(QStringLiteral("viewSensorDock"));
    if (viewDock->isChecked() != withDock) viewDock->trigger();
    window.show();
    QApplication::processEvents();
    auto* bar = window.findChild<QScrollBar*>(QStringLiteral("hsbProspect(1)"));
    std::vector<double> times;
    times.reserve(4096);
    bool up = true;
    for (auto _ : state) {
        const auto start = Clock::now();
        bar->triggerAction(up ? QAbstractSlider::SliderPageStepAdd
                              : QAbstractSlider::SliderPageStepSub);
        QApplication::processEvents();  // the charts' paint
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        up = !up;
    }
    ReportPercentiles(state, std::move(times));
}
void BM_MainWindowRefresh(benchmark::State& state) { MeasureMainWindowRefresh(state, false); }
BENCHMARK(BM_MainWindowRefresh)->Iterations(2000)->Unit(benchmark::kMicrosecond);
void BM_MainWindowRefreshWithDock(benchmark::State& state)
{
    MeasureMainWindowRefresh(state, true);
}
BENCHMARK(BM_MainWindowRefreshWithDock)->Iterations(2000)->Unit(benchmark::kMicrosecond);

// One refresh of the main window with the hemispherical view open: the view follows it with
// 1,224 directions (5° steps) at 670 nm through the engine and redraws its map and cut.
void BM_MainWindowRefreshWithHemisphere(benchmark::State& state)
{
    BenchWorkDir dir;
    tulmera::app::MainWindow window;
    window.show();
    window.findChild<QAction*>(QStringLiteral("mnuVistaHemisferica"))->trigger();
    QApplication::processEvents();
    auto* bar = window.findChild<QScrollBar*>(QStringLiteral("hsbSailh(0)"));  // LAI
    bar->setValue(300);
    std::vector<double> times;
    times.reserve(1024);
    bool up = true;
    for (auto _ : state) {
        const auto start = Clock::now();
        bar->triggerAction(up ? QAbstractSlider::SliderSingleStepAdd
                              : QAbstractSlider::SliderSingleStepSub);
        QApplication::processEvents();
        times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
        up = !up;
    }
    ReportPercentiles(state, std::move(times));
}
BENCHMARK(BM_MainWindowRefreshWithHemisphere)->Iterations(200)->Unit(benchmark::kMicrosecond);

// The longest sweep the window allows: Cm from 0.002 to 0.04 by 0.0005 (77 curves), with
// both files, the chart and the legend strip drawn.
void BM_WindowSweep77(benchmark::State& state)
{
    BenchWorkDir dir;
    tulmera::app::LeafSweepWindow window;
    window.show();
    window.findChild<QAbstractButton*>(QStringLiteral("btOption(3)"))->click();
    auto* run = window.findChild<QPushButton*>(QStringLiteral("btok"));
    for (auto _ : state) {
        run->click();
        QApplication::processEvents();
    }
    if (window.valueCount() != 77) state.SkipWithError("the sweep did not run 77 values");
}
BENCHMARK(BM_WindowSweep77)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);  // the dock's settings: not the user's
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
