// Cost of opening a project whose logo is a few kilobytes of progressive JPEG
// that claims the largest picture and the most scans a logo may have.
//   build/benchmarks/slabwise-logo-bench --benchmark_repetitions=10
//   build/benchmarks/slabwise-logo-bench --write FOLDER   writes the projects,
//     for a memory reading: /usr/bin/time -v build/tools/slabwise-analyze FOLDER/ycbcr.ksw

#include "model/ExampleProjects.h"
#include "support/InflatedJpeg.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

using namespace slabwise;

namespace {

struct TLogoCase {
    const char* name;
    int components;
};
constexpr TLogoCase Cases[] = {{"ycbcr", 3}, {"cmyk", 4}};

// The English example with the logo bytes as they come from a file.
std::string ProjectWithLogo(int components) {
    TMatData mat{std::filesystem::path{}};
    MakeEnglishExample(mat);
    std::ostringstream plain;
    mat.SaveToStream(plain);
    const std::string bytes = plain.str();
    // Without a logo the block is an int64 0 after the header and the
    // organisation text.
    const size_t logoAt = 64 + 2 + mat.Organization.size();
    const std::vector<uint8_t> logo = test::InflatedProgressiveJpeg(4096, 1024, 64, components);
    std::string size(8, '\0');
    for (size_t i = 0; i < 8; ++i) size[i] = static_cast<char>(uint64_t{logo.size()} >> (8 * i) & 0xFF);
    return bytes.substr(0, logoAt) + size + std::string(logo.begin(), logo.end()) + bytes.substr(logoAt + 8);
}

void BM_OpenProjectWithLogo(benchmark::State& state) {
    const std::string bytes = ProjectWithLogo(Cases[state.range(0)].components);
    TMatData mat{std::filesystem::path{}};
    for (auto _ : state) {
        std::istringstream in(bytes);
        mat.LoadFromStream(in);
        benchmark::DoNotOptimize(mat.Logo);
    }
    state.SetLabel(Cases[state.range(0)].name);
    state.counters["FileBytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_OpenProjectWithLogo)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

// The window and the report decode the logo again to show it.
void BM_DecodeLogo(benchmark::State& state) {
    const std::string bytes = ProjectWithLogo(Cases[state.range(0)].components);
    TMatData mat{std::filesystem::path{}};
    std::istringstream in(bytes);
    mat.LoadFromStream(in);
    for (auto _ : state) benchmark::DoNotOptimize(mat.Logo->Decode());
    state.SetLabel(Cases[state.range(0)].name);
}
BENCHMARK(BM_DecodeLogo)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write") == 0) {
        for (const TLogoCase& c : Cases) {
            const std::filesystem::path file =
                std::filesystem::path(argv[2]) / (std::string(c.name) + ".ksw");
            std::ofstream(file, std::ios::binary) << ProjectWithLogo(c.components);
            std::cout << file.string() << '\n';
        }
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
