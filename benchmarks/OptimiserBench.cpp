// Timing of the whole search for the thinnest passing design of each example
// project, from the smallest thickness upward.
//   build/benchmarks/slabwise-bench --benchmark_filter=Thinnest --benchmark_repetitions=10
// The English example (project:0) must stay well under a second.

#include "model/ExampleProjects.h"
#include "model/ThinnestDesign.h"

#include <benchmark/benchmark.h>

#include <memory>

using namespace slabwise;

namespace {

// range(0): 0 the English example, 1 the SI one, 2 the English example on
// soil whose qa only thick strips keep, where the computed counts then miss
// the minimum steel: no thickness passes, every one is analysed and most have
// their bars judged.
void BM_ThinnestDesign(benchmark::State& state) {
    auto mat = std::make_unique<TMatData>(std::filesystem::path{});
    if (state.range(0) == 1) {
        MakeSIExample(*mat);
    } else {
        MakeEnglishExample(*mat);
    }
    if (state.range(0) == 2) mat->AllowableBearing = 2.1L;
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
BENCHMARK(BM_ThinnestDesign)->Arg(0)->Arg(1)->Arg(2)->ArgName("project")->Unit(benchmark::kMillisecond);

} // namespace
