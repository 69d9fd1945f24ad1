// Timing of the whole search for the thinnest passing design of each example
// project, from the smallest thickness upward.
//   build/benchmarks/slabwise-bench --benchmark_filter=Thinnest --benchmark_repetitions=10

#include "model/ExampleProjects.h"
#include "model/ThinnestDesign.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace slabwise;

namespace {

// range(0): 0 the English example, 1 the SI one.
void BM_ThinnestDesign(benchmark::State& state) {
    auto mat = std::make_unique<TMatData>(std::filesystem::path{});
    if (state.range(0) == 0) {
        MakeEnglishExample(*mat);
    } else {
        mat->SetUnitSystem(UnitsSI);
        MakeSIExample(*mat);
    }
    mat->Analyze();
    TThinnestDesign found;
    for (auto _ : state) {
        found = FindThinnestDesign(*mat);
        benchmark::DoNotOptimize(found);
    }
    state.counters["Found"] = found.Found ? 1 : 0;
    state.counters["Thickness"] = static_cast<double>(found.Proposal.Thickness);
    state.counters["Thicknesses"] = found.Thicknesses;
    state.counters["Candidates"] = static_cast<double>(found.Candidates);
}
BENCHMARK(BM_ThinnestDesign)->Arg(0)->Arg(1)->ArgName("SI")->Unit(benchmark::kMillisecond);

} // namespace
