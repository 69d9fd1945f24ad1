// Timing of the three diagrams the main window redraws after every committed
// field, at the size of its picture boxes.
//   build/benchmarks/slabwise-draw-bench --benchmark_repetitions=10

#include "model/ExampleProjects.h"
#include "model/FloatFault.h"
#include "views/DiagramDraw.h"

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>

#include <memory>

using namespace slabwise;

namespace {

// The example project, or the same strip with every load slot in use and
// loads of both signs, so every lane and label is drawn.
std::unique_ptr<TMatData> Project(bool allLoads) {
    auto mat = std::make_unique<TMatData>(std::filesystem::path{});
    MakeEnglishExample(*mat);
    if (allLoads) {
        for (int n = 0; n < DistLoadCount; ++n)
            mat->DistLoads[n] = {Real(2 + 6 * n), Real(9 + 6 * n), Real(n % 2 ? -1.5 : 1.5), 0};
        for (int m = 0; m < PointLoadCount; ++m)
            mat->PointLoads[m] = {Real(1.5 + 3.8 * m), Real(m % 3 ? 40 + 10 * m : -30)};
        for (int n = 0; n < MomentCount; ++n) mat->Moments[n] = {Real(5 + 11 * n), Real(n % 2 ? -50 : 50)};
    }
    try {
        mat->Analyze();
    } catch (const EFloatFault&) {
    }
    return mat;
}

void BM_Draw(benchmark::State& state) {
    const auto kind = static_cast<TDiagramKind>(state.range(0));
    const auto mat = Project(state.range(1) != 0);
    for (auto _ : state) {
        QImage picture(550, 337, QImage::Format_RGB32);
        DrawDiagramToBitmap(picture, *mat, kind);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
// Kind 0 plan and section, 1 loading, 2 reinforcement; example or all loads.
BENCHMARK(BM_Draw)
    ->ArgsProduct({{dkPlanSection, dkLoading, dkReinforcement}, {0, 1}})
    ->ArgNames({"kind", "allLoads"})
    ->Unit(benchmark::kMicrosecond);

// All three, as one redraw of the main window.
void BM_DrawAllThree(benchmark::State& state) {
    const auto mat = Project(state.range(0) != 0);
    for (auto _ : state)
        for (const TDiagramKind kind : {dkPlanSection, dkLoading, dkReinforcement}) {
            QImage picture(550, 337, QImage::Format_RGB32);
            DrawDiagramToBitmap(picture, *mat, kind);
            benchmark::DoNotOptimize(picture.constBits());
        }
}
BENCHMARK(BM_DrawAllThree)->Arg(0)->Arg(1)->ArgName("allLoads")->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QGuiApplication::setFont(QFont("DejaVu Sans", 9));
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
