// Timing of the analysis and every design check of a strip whose twelve point
// loads stand on columns, against the same strip without columns.
//   build/benchmarks/slabwise-bench --benchmark_filter=Punching --benchmark_repetitions=10

#include "model/DesignChecks.h"
#include "model/ExampleProjects.h"
#include "model/PunchingShear.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace slabwise;

namespace {

struct TPunchingStrip {
    Real L, T, k, Fc;
    uint8_t noTension;
};
// The initial-parameter form, the decaying form, and soil that takes no
// tension with the strip lifting off at its ends.
constexpr TPunchingStrip PunchingStrips[] = {
    {48, 2.5L, 100, 4, 0},
    {120, 1.5L, 300, 3, 0},
    {48, 2.5L, 100, 4, 1},
};

std::unique_ptr<TMatData> StripWithColumns(const TPunchingStrip& s, bool columns) {
    auto mat = std::make_unique<TMatData>(std::filesystem::path{});
    MakeEnglishExample(*mat);
    mat->StripLength = s.L, mat->Thickness = s.T, mat->SubgradeModulus = s.k, mat->Fc = s.Fc;
    mat->SoilTakesNoTension = s.noTension;
    for (int m = 0; m < PointLoadCount; ++m) {
        mat->PointLoads[m] = {s.L * (m + Real(0.5)) / PointLoadCount, Real(40 + 10 * m)};
        mat->Columns[m] = columns ? TColumn{Real(16 + 2 * m), 20} : TColumn{0, 0};
    }
    for (int n = 0; n < MomentCount; ++n) mat->Moments[n] = {Real(5 + 11 * n), Real(n % 2 ? -50 : 50)};
    // Uplift at the ends lifts them off soil that takes no tension.
    if (s.noTension) mat->PointLoads[0] = {0, -30}, mat->PointLoads[PointLoadCount - 1] = {s.L, -30};
    return mat;
}

// range(0): the strip; range(1): 1 with columns, 0 without.
void BM_PunchingAnalyzeAndCheck(benchmark::State& state) {
    auto mat = StripWithColumns(PunchingStrips[state.range(0)], state.range(1) != 0);
    for (auto _ : state) {
        mat->Analyze();
        const TCheckResults checks = EvaluateChecks(*mat);
        benchmark::DoNotOptimize(checks);
    }
    state.counters["BetaL"] = static_cast<double>(mat->BetaL);
}
BENCHMARK(BM_PunchingAnalyzeAndCheck)
    ->ArgsProduct({{0, 1, 2}, {0, 1}})
    ->ArgNames({"strip", "columns"})
    ->Unit(benchmark::kMicrosecond);

// The punching check of twelve columns alone, on an analysed strip.
void BM_PunchingEvaluate(benchmark::State& state) {
    auto mat = StripWithColumns(PunchingStrips[state.range(0)], true);
    mat->Analyze();
    for (auto _ : state) {
        const TPunchingResults results = EvaluatePunching(*mat);
        benchmark::DoNotOptimize(results);
    }
}
BENCHMARK(BM_PunchingEvaluate)->DenseRange(0, 2)->ArgName("strip")->Unit(benchmark::kMicrosecond);

} // namespace
