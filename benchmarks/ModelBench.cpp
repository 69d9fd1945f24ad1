// Timing of the analysis that runs after every committed field.
//   build/benchmarks/slabwise-bench --benchmark_repetitions=10

#include "model/ExampleProjects.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace slabwise;

namespace {

// Every one of the 23 load groups carries a non-zero load, so no step is
// cheaper than in the worst case.
void FillAllLoads(TMatData& mat) {
    MakeEnglishExample(mat);
    for (int n = 0; n < DistLoadCount; ++n) mat.DistLoads[n] = {Real(2 + 6 * n), Real(6 + 6 * n), 1.5L, 1.5L};
    for (int m = 0; m < PointLoadCount; ++m) mat.PointLoads[m] = {Real(1.5 + 3.8 * m), Real(40 + 10 * m)};
    for (int n = 0; n < MomentCount; ++n) mat.Moments[n] = {Real(5 + 11 * n), Real(n % 2 ? -50 : 50)};
}

// Strips from rigid to the stiffest the inputs allow, all with every load.
struct TStrip {
    Real L, T, k, Fc;
};
constexpr TStrip Strips[] = {
    {48, 2.5L, 100, 4},   // the example, beta L about 4: the initial-parameter form
    {120, 1.5L, 300, 3},  // beta L about 21: just into the decaying form
    {400, 2.5L, 100, 4},  // beta L about 36
    {500, 0.67L, 999, 2}, // beta L about 233
};

void BM_Analyze(benchmark::State& state) {
    auto mat = std::make_unique<TMatData>(std::filesystem::path{});
    FillAllLoads(*mat);
    const TStrip& s = Strips[state.range(0)];
    mat->StripLength = s.L, mat->Thickness = s.T, mat->SubgradeModulus = s.k, mat->Fc = s.Fc;
    for (auto _ : state) {
        mat->Analyze();
        benchmark::DoNotOptimize(mat->MaxMoment);
    }
    state.counters["BetaL"] = static_cast<double>(mat->BetaL);
}
BENCHMARK(BM_Analyze)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

void BM_LoadAndAnalyze(benchmark::State& state) {
    const auto folder = std::filesystem::temp_directory_path() / "slabwise-bench";
    std::filesystem::create_directories(folder);
    const auto file = folder / "all-loads.ksw";
    auto mat = std::make_unique<TMatData>(std::filesystem::path{});
    FillAllLoads(*mat);
    mat->SaveToFile(file);
    for (auto _ : state) {
        mat->LoadFromFile(file);
        mat->Analyze();
        benchmark::DoNotOptimize(mat->MaxMoment);
    }
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LoadAndAnalyze)->Unit(benchmark::kMicrosecond);

// Soil that takes no tension with the strip lifting between two columns: the
// contact zones settle in eight steps after the linear analysis.
void BM_AnalyzeLiftOff(benchmark::State& state) {
    auto mat = std::make_unique<TMatData>(std::filesystem::path{});
    MakeSIExample(*mat);
    mat->FullUniformLoad = 0;
    for (TDistLoad& d : mat->DistLoads) d = {0, 0, 0, 0};
    for (TAppliedMoment& m : mat->Moments) m = {0, 0};
    for (TPointLoad& p : mat->PointLoads) p = {0, 0};
    mat->StripLength = 20, mat->StripWidth = 2.5L, mat->Thickness = 0.5L, mat->SubgradeModulus = 30000;
    mat->Fc = 30;
    mat->PointLoads[0] = {1.5L, 700}, mat->PointLoads[1] = {18.5L, 700}, mat->PointLoads[2] = {10, -100};
    mat->SoilTakesNoTension = 1;
    for (auto _ : state) {
        mat->Analyze();
        benchmark::DoNotOptimize(mat->MaxMoment);
    }
    state.counters["ContactPct"] = static_cast<double>(mat->BearingAreaPct);
}
BENCHMARK(BM_AnalyzeLiftOff)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
