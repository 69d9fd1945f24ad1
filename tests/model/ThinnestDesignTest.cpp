#include "model/ThinnestDesign.h"
#include "model/DesignChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

using namespace slabwise;
namespace fs = std::filesystem;

namespace {

std::unique_ptr<TMatData> Load(const fs::path& file) {
    auto mat = std::make_unique<TMatData>(fs::path{});
    const TReadReport report = mat->LoadFromFile(file);
    EXPECT_TRUE(report.NotRead.empty()) << file;
    mat->Analyze();
    return mat;
}

const fs::path EnglishExample = fs::path(SLABWISE_SOURCE_DATA) / "Example English Units.ksw";
const fs::path SIExample = fs::path(SLABWISE_SOURCE_DATA) / "Example SI Units.ksw";

// The English example under a heavy line load on soil that allows little more
// than the load spreads to: only a stiffer strip keeps the peak under qa.
std::unique_ptr<TMatData> BearingBound() {
    auto mat = Load(EnglishExample);
    mat->FullUniformLoad = 12;
    mat->AllowableBearing = 3.4L;
    mat->Analyze();
    return mat;
}

// The English example with its four loads on 3 in columns.
std::unique_ptr<TMatData> PunchingBound() {
    auto mat = Load(EnglishExample);
    for (int i = 0; i < 4; ++i) mat->Columns[static_cast<size_t>(i)] = {3, 3};
    mat->Analyze();
    return mat;
}

struct TProject {
    std::string Name;
    std::function<std::unique_ptr<TMatData>()> Make;
    // The check the proposal must be governed by, when the fixture is built
    // for one.
    std::optional<TCheck> Governing;
};

std::vector<TProject> Projects() {
    std::vector<TProject> projects;
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(SLABWISE_SOURCE_DATA))
        if (entry.path().extension() == ".ksw") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    projects.reserve(files.size() + 3);
    for (const fs::path& file : files)
        projects.push_back({file.filename().string(), [file] { return Load(file); }, std::nullopt});
    // A table with empty rows, whose bar numbers are no US ones.
    projects.push_back({"SI example with Canadian bars",
                        [] {
                            auto mat = Load(SIExample);
                            mat->BarSystem = BarSystemCanadian;
                            mat->TopBarSize = mat->BottomBarSize = 20;
                            mat->Analyze();
                            return mat;
                        },
                        std::nullopt});
    projects.push_back({"governed by bearing", BearingBound, TCheck::Bearing});
    projects.push_back({"governed by punching", PunchingBound, TCheck::Punching});
    return projects;
}

std::vector<int32_t> BarSizes(const TMatData& mat) {
    std::vector<int32_t> sizes;
    for (const TBarRow& row : MakeBarTable(mat.BarSystem, mat.UnitSystem))
        if (row.Bar != 0) sizes.push_back(row.Bar);
    return sizes;
}

bool AllPass(const TMatData& mat) {
    const TCheckResults results = EvaluateChecks(mat);
    return std::all_of(results.begin(), results.end(), [](const TCheckResult& r) { return r.Passes; });
}

std::string Failing(const TMatData& mat) {
    std::string text;
    const TCheckResults results = EvaluateChecks(mat);
    for (int i = 0; i < CheckCount; ++i)
        if (!results[static_cast<size_t>(i)].Passes)
            text += std::string(CheckName(static_cast<TCheck>(i))) + ": " +
                    results[static_cast<size_t>(i)].Hint + "; ";
    return text;
}

// Every bar pair at one thickness, each analysed from scratch as the window
// would after the engineer typed it in.
struct TPairOutcome {
    int32_t Top, Bottom;
    bool Passes;
    Real SteelPerWidth, Bars;
};
std::vector<TPairOutcome> EveryPair(const TMatData& project, Real thickness) {
    std::vector<TPairOutcome> outcomes;
    TMatData mat = project;
    for (int32_t top : BarSizes(project))
        for (int32_t bottom : BarSizes(project)) {
            mat.Thickness = thickness;
            mat.TopBarSize = top, mat.BottomBarSize = bottom;
            mat.TopBarsOverride = mat.BotBarsOverride = 0;
            bool passes = false;
            try {
                mat.Analyze();
                passes = AllPass(mat);
            } catch (const std::exception&) {
            }
            outcomes.push_back({top, bottom, passes, (mat.TopAs + mat.BotAs) / mat.StripWidth,
                                mat.TopBarsMin + mat.BotBarsMin});
        }
    return outcomes;
}

std::string Saved(const TMatData& mat) {
    std::ostringstream out;
    mat.SaveToStream(out);
    return out.str();
}

TEST(ThinnestDesign, TheProposalPassesAndOneStepThinnerNothingDoes) {
    for (const TProject& project : Projects()) {
        SCOPED_TRACE(project.Name);
        const std::unique_ptr<TMatData> mat = project.Make();
        const std::string before = Saved(*mat);
        const Real thicknessBefore = mat->Thickness, momentBefore = mat->MaxMoment;

        const TThinnestDesign found = FindThinnestDesign(*mat);
        ASSERT_TRUE(found.Found) << found.Reason;
        EXPECT_FALSE(found.Cancelled);
        const TDesignProposal& p = found.Proposal;

        // The search works on a copy.
        EXPECT_EQ(Saved(*mat), before);
        EXPECT_EQ(mat->Thickness, thicknessBefore);
        EXPECT_EQ(mat->MaxMoment, momentBefore);

        // The proposal applied passes every check, and reports what the
        // design then shows.
        TMatData applied = *mat;
        applied.TopBarsOverride = 7, applied.BotBarsOverride = 9;
        ApplyProposal(applied, p);
        EXPECT_TRUE(AllPass(applied)) << Failing(applied);
        EXPECT_EQ(applied.Thickness, p.Thickness);
        EXPECT_EQ(applied.TopBarsOverride, 0);
        EXPECT_EQ(applied.BotBarsOverride, 0);
        EXPECT_EQ(applied.TopBarsMin, p.TopBars);
        EXPECT_EQ(applied.BotBarsMin, p.BottomBars);
        EXPECT_EQ(applied.TopAs, p.TopAs);
        EXPECT_EQ(applied.BotAs, p.BottomAs);
        EXPECT_EQ(p.SteelPerWidth, (p.TopAs + p.BottomAs) / applied.StripWidth);
        // Nothing else of the project changes.
        TMatData expected = *mat;
        expected.Thickness = p.Thickness, expected.TopBarSize = p.TopBarSize,
        expected.BottomBarSize = p.BottomBarSize;
        expected.TopBarsOverride = expected.BotBarsOverride = 0;
        EXPECT_EQ(Saved(applied), Saved(expected));

        // The governing check carries the highest utilisation there.
        EXPECT_EQ(CheckUtilization(applied, p.Governing), p.GoverningUtil);
        for (int i = 0; i < CheckCount; ++i) {
            const Real util = CheckUtilization(applied, static_cast<TCheck>(i));
            if (!std::isnan(util)) {
                EXPECT_LE(util, p.GoverningUtil) << CheckName(static_cast<TCheck>(i));
            }
        }
        EXPECT_LE(p.GoverningUtil, 100);
        if (project.Governing) {
            EXPECT_EQ(p.Governing, *project.Governing) << CheckName(p.Governing);
        }

        // At the proposal's thickness no passing pair carries less steel, or
        // as much on fewer bars.
        for (const TPairOutcome& o : EveryPair(*mat, p.Thickness)) {
            if (!o.Passes) continue;
            SCOPED_TRACE(std::to_string(o.Top) + "/" + std::to_string(o.Bottom));
            EXPECT_GE(o.SteelPerWidth, p.SteelPerWidth);
            if (o.SteelPerWidth == p.SteelPerWidth) {
                EXPECT_GE(o.Bars, p.TopBars + p.BottomBars);
            }
        }

        // One step of the field thinner, no pair passes.
        const TInputRange& range = mat->InputRange(TagThickness);
        const Real step = std::pow(Real(10), -range.Decimals);
        const Real thinner = std::nearbyint((p.Thickness - step) / step) * step;
        if (thinner >= range.Min) {
            for (const TPairOutcome& o : EveryPair(*mat, thinner))
                EXPECT_FALSE(o.Passes) << o.Top << "/" << o.Bottom << " at " << static_cast<double>(thinner);
        }

        // Every step from the smallest allowed thickness was analysed, each
        // with every pair judged.
        const long steps = std::lround((p.Thickness - range.Min) / step) + 1;
        EXPECT_EQ(found.Thicknesses, steps);
        const auto sizes = static_cast<long>(BarSizes(*mat).size());
        EXPECT_EQ(found.Candidates, steps * sizes * sizes);
    }
}

// The search starts from the project's inputs other than those it chooses:
// the thickness, bar sizes and counts the project holds change nothing.
TEST(ThinnestDesign, TheProjectsOwnChoicesDoNotMatter) {
    const auto plain = PunchingBound();
    const TThinnestDesign expected = FindThinnestDesign(*plain);
    ASSERT_TRUE(expected.Found);
    struct Case {
        const char* name;
        std::function<void(TMatData&)> edit;
    };
    const Case cases[] = {
        {"bar counts chosen", [](TMatData& m) { m.TopBarsOverride = 1, m.BotBarsOverride = 3; }},
        {"largest bars", [](TMatData& m) { m.TopBarSize = m.BottomBarSize = 18; }},
        {"thick and not analysed", [](TMatData& m) { m.Thickness = 6; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMatData mat = *plain;
        c.edit(mat);
        const TThinnestDesign found = FindThinnestDesign(mat);
        ASSERT_TRUE(found.Found);
        const TDesignProposal &p = found.Proposal, &e = expected.Proposal;
        EXPECT_EQ(p.Thickness, e.Thickness);
        EXPECT_EQ(p.TopBarSize, e.TopBarSize);
        EXPECT_EQ(p.BottomBarSize, e.BottomBarSize);
        EXPECT_EQ(p.TopBars, e.TopBars);
        EXPECT_EQ(p.BottomBars, e.BottomBars);
        EXPECT_EQ(p.SteelPerWidth, e.SteelPerWidth);
        EXPECT_EQ(p.Governing, e.Governing);
        EXPECT_EQ(p.GoverningUtil, e.GoverningUtil);
        EXPECT_EQ(found.Candidates, expected.Candidates);
    }
}

TEST(ThinnestDesign, NoPassingDesignGivesTheReason) {
    struct Case {
        const char* name;
        std::function<std::unique_ptr<TMatData>()> make;
        std::string reason;
    };
    const Case cases[] = {
        {"English, qa below any pressure",
         [] {
             auto m = BearingBound();
             m->AllowableBearing = 0.5L;
             return m;
         },
         "no thickness up to 20 ft passes: the bearing pressure exceeds qa at every thickness"},
        {"SI, qa below any pressure",
         [] {
             auto m = Load(SIExample);
             m->AllowableBearing = 20;
             return m;
         },
         "no thickness up to 6 m passes: the bearing pressure exceeds qa at every thickness"},
        // Thin strips fail bearing, thick ones the minimum steel of the
        // computed counts: no check fails everywhere, so the thickest names
        // the one that rules out every pair there.
        {"English, bearing then minimum steel",
         [] {
             auto m = Load(EnglishExample);
             m->AllowableBearing = 2.1L;
             return m;
         },
         "no thickness up to 20 ft passes: the bottom steel is below the minimum ratio at 20 ft for 121 of "
         "the 121 bar pairs"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto mat = c.make();
        const TThinnestDesign found = FindThinnestDesign(*mat);
        EXPECT_FALSE(found.Found);
        EXPECT_FALSE(found.Cancelled);
        EXPECT_EQ(found.Reason, c.reason);
        const TInputRange& range = mat->InputRange(TagThickness);
        EXPECT_EQ(found.Thicknesses,
                  std::lround((range.Max - range.Min) * std::pow(10.0L, range.Decimals)) + 1);
    }
}

TEST(ThinnestDesign, ProgressRisesAndFalseCancels) {
    const auto mat = Load(EnglishExample);
    struct Case {
        const char* name;
        int allowed; // calls answered true before the first false; -1 never false
    };
    for (const Case c : {Case{"at once", 0}, Case{"after five", 5}, Case{"never", -1}}) {
        SCOPED_TRACE(c.name);
        std::vector<double> seen;
        const TThinnestDesign found = FindThinnestDesign(*mat, [&](double fraction) {
            seen.push_back(fraction);
            return c.allowed < 0 || static_cast<int>(seen.size()) <= c.allowed;
        });
        ASSERT_FALSE(seen.empty());
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_GE(seen.front(), 0);
        EXPECT_LE(seen.back(), 1);
        if (c.allowed < 0) {
            EXPECT_TRUE(found.Found);
            EXPECT_FALSE(found.Cancelled);
            EXPECT_EQ(seen.back(), 1);
        } else {
            EXPECT_TRUE(found.Cancelled);
            EXPECT_FALSE(found.Found);
            EXPECT_EQ(seen.size(), static_cast<size_t>(c.allowed + 1));
            EXPECT_EQ(found.Thicknesses, c.allowed);
        }
    }
}

} // namespace
