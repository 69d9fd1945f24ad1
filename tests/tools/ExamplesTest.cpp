#include "model/ExampleProjects.h"
#include "model/FloatFault.h"
#include "model/ResultTexts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace slabwise;

namespace {

std::vector<char> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct TExample {
    const char* file;
    void (*make)(TMatData&);
    uint8_t units;
};

const TExample Examples[] = {
    {"Example English Units.ksw", MakeEnglishExample, UnitsEnglish},
    {"Example SI Units.ksw", MakeSIExample, UnitsSI},
};

// The delivered files are exactly what their definitions write, so nobody
// edits one without the other.
TEST(ExampleProjects, CommittedFilesMatchTheirDefinitions) {
    const slabwise::test::TTempFolder temp;
    const std::filesystem::path& folder = temp.Path();
    for (const TExample& e : Examples) {
        auto mat = std::make_unique<TMatData>(std::filesystem::path{});
        e.make(*mat);
        mat->SaveToFile(folder / e.file);
        const auto written = ReadAll(folder / e.file);
        EXPECT_FALSE(written.empty());
        EXPECT_EQ(written, ReadAll(std::filesystem::path(SLABWISE_SOURCE_DATA) / e.file))
            << e.file << " differs from src/model/ExampleProjects.cpp: run `make examples`";
    }
}

// A new project starts from the example, so the example must pass every
// check an engineer would look at.
TEST(ExampleProjects, AreSoundDesigns) {
    for (const TExample& e : Examples) {
        auto mat = std::make_unique<TMatData>(std::filesystem::path{});
        e.make(*mat);
        ASSERT_NO_THROW(mat->Analyze()) << e.file;
        EXPECT_EQ(mat->UnitSystem, e.units);
        EXPECT_EQ(ValidityMessage(*mat), "") << e.file;
        EXPECT_LT(mat->MaxPressure, mat->AllowableBearing) << e.file;
        EXPECT_GE(mat->TopSteelPct, 0.18L) << e.file;
        EXPECT_GE(mat->BotSteelPct, 0.18L) << e.file;
        EXPECT_LE(mat->TopUtil, 99.99L) << e.file;
        EXPECT_LE(mat->BottomUtil, 99.99L) << e.file;
        EXPECT_LE(mat->ShearUtil, 99.99L) << e.file;
        const Real limit = std::min<Real>(e.units == UnitsSI ? 457.2L : 18, 3 * mat->ThicknessIn);
        EXPECT_LE(mat->TopSpacing, limit) << e.file;
        EXPECT_LE(mat->BotSpacing, limit) << e.file;
        EXPECT_EQ(RigidityText(mat->BetaL), "Mat is flexible") << e.file;
        // A new project starts from the example: a bar count fixed for this
        // strip would follow it into every new design.
        EXPECT_EQ(mat->TopBarsOverride, 0) << e.file;
        EXPECT_EQ(mat->BotBarsOverride, 0) << e.file;
    }
}

std::string Saved(const TMatData& mat) {
    std::ostringstream out;
    mat.SaveToStream(out);
    return out.str();
}

// Every program finds the examples beside itself and starts a new project of
// either unit system from its example, without the example's texts and date.
TEST(ExampleProjects, SeedNewProjectsBesideTheExecutable) {
    TMatData mat; // English, as every program starts
    for (const TExample& e : Examples) {
        SCOPED_TRACE(e.file);
        if (mat.UnitSystem != e.units) {
            mat.SetUnitSystem(e.units);
            mat.SetDefaults();
        }
        auto expected = std::make_unique<TMatData>(std::filesystem::path{});
        e.make(*expected);
        expected->Organization = expected->ProjectName = expected->JobNumber = expected->DesignedBy = "";
        expected->Logo.reset();
        expected->ProjectDate = TodayDate();
        EXPECT_EQ(Saved(mat), Saved(*expected));
    }
    EXPECT_EQ(mat.StripLength, 15);
    EXPECT_EQ(mat.BarSystem, BarSystemEuropean);
}

} // namespace
