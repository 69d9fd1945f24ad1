// Opening a project file as the program does: all or nothing, the fields a
// short file lacks, and every value brought within the input limits said.

#include "model/OpenProject.h"
#include "model/Extended80.h"
#include "model/MatData.h"

#include "support/TempFolder.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <limits>
#include <sstream>

namespace slabwise {
namespace {

namespace fs = std::filesystem;
using Limits = std::numeric_limits<Real>;
using test::NewModel;
using test::TTempFolder;

// A sound English strip: nothing in it lies outside a field's limits or
// needs more decimals than its field shows.
std::unique_ptr<TMatData> SoundStrip(uint8_t units = UnitsEnglish) {
    auto mat = NewModel(units);
    const bool si = units == UnitsSI;
    mat->ProjectDate = 46027;
    mat->StripLength = si ? 15 : 48;
    mat->StripWidth = si ? 3 : 10;
    mat->Thickness = si ? 0.75L : 2.5L;
    mat->Fc = si ? 28 : 4;
    mat->Fy = si ? 420 : 60;
    mat->SubgradeModulus = si ? 27000 : 100;
    mat->AllowableBearing = si ? 190 : 4;
    mat->FullUniformLoad = 1.5L;
    mat->UserX = {1, 2, 3, 4};
    mat->DistLoads[0] = {2, 4, 2, 2};
    mat->PointLoads[0] = {3, 150};
    mat->Moments[0] = {3, 60};
    mat->BarSystem = si ? BarSystemEuropean : BarSystemUS;
    mat->TopBarSize = si ? 20 : 7;
    mat->BottomBarSize = si ? 25 : 8;
    mat->TopCover = 2;
    mat->BottomCover = 3;
    return mat;
}

TEST(ApplyInputLimits, ASoundProjectIsTakenAsItIs) {
    for (const uint8_t units : {UnitsEnglish, UnitsSI}) {
        auto mat = SoundStrip(units);
        const std::string before = [&] {
            std::ostringstream out;
            mat->SaveToStream(out);
            return out.str();
        }();
        EXPECT_TRUE(ApplyInputLimits(*mat).empty()) << int(units);
        std::ostringstream after;
        mat->SaveToStream(after);
        EXPECT_EQ(after.str(), before) << int(units);
    }
}

struct TLimitCase {
    const char* Name;
    uint8_t Units;
    std::function<void(TMatData&)> Set;
    TAdjustment Expected;
    std::function<bool(const TMatData&)> Holds;
};

TEST(ApplyInputLimits, EachChangeIsAppliedAndSaid) {
    const Real NaN = Limits::quiet_NaN();
    const Real Inf = Limits::infinity();
    const TLimitCase cases[] = {
        {"length below the row",
         UnitsEnglish,
         [](TMatData& m) { m.StripLength = -1; },
         {"Strip Length, L", "-1 ft", "5 ft"},
         [](const TMatData& m) { return m.StripLength == 5; }},
        {"length NaN",
         UnitsEnglish,
         [&](TMatData& m) { m.StripLength = NaN; },
         {"Strip Length, L", "NaN ft", "5 ft"},
         [](const TMatData& m) { return m.StripLength == 5; }},
        {"length infinite",
         UnitsEnglish,
         [&](TMatData& m) { m.StripLength = Inf; },
         {"Strip Length, L", "infinity ft", "500 ft"},
         [](const TMatData& m) { return m.StripLength == 500; }},
        {"thickness beyond the double range",
         UnitsSI,
         [](TMatData& m) { m.Thickness = 1e4000L; },
         {"Strip Thickness, T", "1e+4000 m", "6 m"},
         [](const TMatData& m) { return m.Thickness == 6; }},
        {"more decimals than the field shows",
         UnitsEnglish,
         [](TMatData& m) { m.StripLength = 48.125L; },
         {"Strip Length, L", "48.125 ft", "48.13 ft"},
         [](const TMatData& m) { return m.StripLength == 48.13L; }},
        {"Fc above the row",
         UnitsSI,
         [](TMatData& m) { m.Fc = 500; },
         {"Concrete Str, Fc", "500 MPa", "120 MPa"},
         [](const TMatData& m) { return m.Fc == 120; }},
        {"unlimited field NaN",
         UnitsEnglish,
         [&](TMatData& m) { m.Fy = NaN; },
         {"Steel Yield Str, Fy", "NaN ksi", "0 ksi"},
         [](const TMatData& m) { return m.Fy == 0; }},
        {"load factor below the row",
         UnitsEnglish,
         [](TMatData& m) { m.ShearLoadFactor = 1; },
         {"Shear Load Factor", "1", "1.4"},
         [](const TMatData& m) { return m.ShearLoadFactor == 1.4L; }},
        {"user point beyond the strip",
         UnitsEnglish,
         [](TMatData& m) { m.UserX[2] = 60; },
         {"User point x3", "60 ft", "48 ft"},
         [](const TMatData& m) { return m.UserX[2] == 48; }},
        {"point load beyond the strip",
         UnitsEnglish,
         [](TMatData& m) { m.PointLoads[4].a = 49.5L; },
         {"Point load #5, a", "49.5 ft", "48 ft"},
         [](const TMatData& m) { return m.PointLoads[4].a == 48; }},
        {"distributed load ending before its start",
         UnitsEnglish,
         [](TMatData& m) { m.DistLoads[0].e = 1; },
         {"Distributed load #1, e", "1 ft", "2 ft"},
         [](const TMatData& m) { return m.DistLoads[0].e == 2; }},
        {"SI load beyond its row",
         UnitsSI,
         [](TMatData& m) { m.DistLoads[0].wb = 20000; },
         {"Distributed load #1, wb", "20000 kN/m", "15000 kN/m"},
         [](const TMatData& m) { return m.DistLoads[0].wb == 15000; }},
        {"round mat wider than long",
         UnitsEnglish,
         [](TMatData& m) {
             m.Shape = 1;
             m.StripWidth = 12;
         },
         {"Strip Width, B", "12 ft", "48 ft"},
         [](const TMatData& m) { return m.StripWidth == 48; }},
        {"bar size the table does not hold",
         UnitsEnglish,
         [](TMatData& m) { m.TopBarSize = 99; },
         {"Top Bar Size", "#99", "#3"},
         [](const TMatData& m) { return m.TopBarSize == 3; }},
        {"bar size 0",
         UnitsEnglish,
         [](TMatData& m) { m.BottomBarSize = 0; },
         {"Bottom Bar Size", "#0", "#3"},
         [](const TMatData& m) { return m.BottomBarSize == 3; }},
        {"European bar size 7",
         UnitsSI,
         [](TMatData& m) { m.TopBarSize = 7; },
         {"Top Bar Size", "7M", "6M"},
         [](const TMatData& m) { return m.TopBarSize == 6; }},
        {"date with a time of day",
         UnitsEnglish,
         [](TMatData& m) { m.ProjectDate = 46027.75; },
         {"Date", "46027.75", "2026-01-05"},
         [](const TMatData& m) { return m.ProjectDate == 46027; }},
        {"date beyond the date field",
         UnitsEnglish,
         [](TMatData& m) { m.ProjectDate = 1e300; },
         {"Date", "1e+300", "9999-12-31"},
         [](const TMatData& m) { return m.ProjectDate == 2958465; }},
    };
    for (const TLimitCase& c : cases) {
        SCOPED_TRACE(c.Name);
        auto mat = SoundStrip(c.Units);
        c.Set(*mat);
        const std::vector<TAdjustment> changes = ApplyInputLimits(*mat);
        ASSERT_EQ(changes.size(), 1u);
        EXPECT_EQ(changes[0].Caption, c.Expected.Caption);
        EXPECT_EQ(changes[0].InFile, c.Expected.InFile);
        EXPECT_EQ(changes[0].Used, c.Expected.Used);
        EXPECT_TRUE(c.Holds(*mat));
        // What was taken is taken again unchanged.
        EXPECT_TRUE(ApplyInputLimits(*mat).empty());
    }
}

TEST(ApplyInputLimits, PositionsFollowTheLimitedLength) {
    auto mat = SoundStrip();
    mat->StripLength = 900;
    mat->PointLoads[0].a = 800;
    const std::vector<TAdjustment> changes = ApplyInputLimits(*mat);
    ASSERT_EQ(changes.size(), 2u);
    EXPECT_EQ(changes[0].Caption, "Strip Length, L");
    EXPECT_EQ(changes[1], (TAdjustment{"Point load #1, a", "800 ft", "500 ft"}));
    EXPECT_EQ(mat->PointLoads[0].a, 500);
}

class OpenProjectTest : public testing::Test {
protected:
    fs::path Write(const char* name, const std::string& bytes) const {
        fs::path path = folder_.Path() / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Bytes(const TMatData& mat) {
        std::ostringstream out;
        mat.SaveToStream(out);
        return out.str();
    }
    TTempFolder folder_;
};

// Offsets in a file with empty texts and no logo.
TEST_F(OpenProjectTest, AShortFileListsTheFieldsFromTheCutOn) {
    const auto sound = SoundStrip();
    const std::string whole = Bytes(*sound);
    ASSERT_EQ(whole.size(), 882u);
    const struct {
        size_t Length;
        std::vector<std::string> NotRead;
    } cases[] = {
        {882, {}},
        {808,
         {"Concrete Str, Fc", "Top Clear Cover", "Top Bar Size", "Top Override # of Bars",
          "Bottom Clear Cover", "Bottom Bar Size", "Bottom Override # of Bars", "Shear Load Factor",
          "Moment Load Factor"}},
        {872, {"Moment Load Factor"}},
        {862, {"Shear Load Factor", "Moment Load Factor"}},
        {470,
         {"Point load #1",
          "Point load #2",
          "Point load #3",
          "Point load #4",
          "Point load #5",
          "Point load #6",
          "Point load #7",
          "Point load #8",
          "Point load #9",
          "Point load #10",
          "Point load #11",
          "Point load #12",
          "Moments",
          "Use Reinforcement",
          "Rebar Sizes",
          "Steel Yield Str, Fy",
          "Concrete Str, Fc",
          "Top Clear Cover",
          "Top Bar Size",
          "Top Override # of Bars",
          "Bottom Clear Cover",
          "Bottom Bar Size",
          "Bottom Override # of Bars",
          "Shear Load Factor",
          "Moment Load Factor"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Length);
        auto mat = NewModel();
        const TOpenReport report = OpenProject(*mat, Write("cut.ksw", whole.substr(0, c.Length)));
        EXPECT_EQ(report.NotRead, c.NotRead);
        EXPECT_TRUE(report.Adjusted.empty());
    }
    // The first fields cut off, and the lines the tools print.
    const struct {
        size_t Length;
        const char* First;
    } firsts[] = {
        {66, "Logo"}, {70, "Logo"}, {80, "Date"}, {176, "User Designated Points"}, {101, "Strip Width, B"}};
    for (const auto& f : firsts) {
        auto mat = NewModel();
        const TOpenReport report = OpenProject(*mat, Write("cut.ksw", whole.substr(0, f.Length)));
        ASSERT_FALSE(report.NotRead.empty()) << f.Length;
        EXPECT_EQ(report.NotRead.front(), f.First) << f.Length;
        EXPECT_EQ(report.Lines().size(), 1u + report.Adjusted.size());
        EXPECT_EQ(report.Lines().front().rfind("Not read, the file ends early: " + std::string(f.First), 0),
                  0u)
            << report.Lines().front();
    }
}

TEST_F(OpenProjectTest, ALogoLargerThanTheFileIsNotActedOnAndSaid) {
    const auto sound = SoundStrip();
    std::string bytes = Bytes(*sound);
    // A logo of 1000 bytes is declared where none follows.
    const uint64_t size = 1000;
    for (size_t i = 0; i < 8; ++i) bytes[66 + i] = static_cast<char>(size >> (8 * i));
    auto mat = NewModel();
    const TOpenReport report = OpenProject(*mat, Write("logo.ksw", bytes));
    ASSERT_FALSE(report.NotRead.empty());
    EXPECT_EQ(report.NotRead.front(), "Logo");
    EXPECT_EQ(report.NotRead.back(), "Moment Load Factor");
    EXPECT_FALSE(mat->Logo.has_value());
}

TEST_F(OpenProjectTest, AdjustmentsOfTheFileAreAppliedToTheModelOpened) {
    auto written = SoundStrip();
    written->StripLength = -1;
    written->TopBarSize = 99;
    written->UserX[3] = 10;
    auto mat = NewModel();
    const TOpenReport report = OpenProject(*mat, Write("odd.ksw", Bytes(*written)));
    EXPECT_TRUE(report.NotRead.empty());
    ASSERT_EQ(report.Adjusted.size(), 3u);
    const std::vector<std::string> lines = report.Lines();
    EXPECT_EQ(lines.at(0), "Strip Length, L: -1 ft in the file, 5 ft used");
    // The user point lies beyond the 5 ft strip taken.
    EXPECT_EQ(report.Adjusted[1].Caption, "User point x4");
    EXPECT_EQ(lines.at(2), "Top Bar Size: #99 in the file, #3 used");
    EXPECT_EQ(mat->StripLength, 5);
    EXPECT_EQ(mat->TopBarSize, 3);
    EXPECT_EQ(mat->BarLabel(mat->TopBarSize), "#3");
}

TEST_F(OpenProjectTest, AFileRefusedAfterItsHeaderLeavesTheModelAsItWas) {
    auto current = SoundStrip();
    current->StripLength = 30;
    current->ProjectName = "Current";
    current->FileVersion = 0.4;
    const std::string before = Bytes(*current);

    auto other = SoundStrip();
    other->StripLength = 40;
    std::string refused = Bytes(*other);
    // Thirteen point loads: more than the model holds.
    refused[461] = 13;
    const std::string foreign(200, 'x');
    for (const auto& [name, bytes] : {std::pair{"refused.ksw", refused}, std::pair{"foreign.ksw", foreign}}) {
        SCOPED_TRACE(name);
        EXPECT_THROW(OpenProject(*current, Write(name, bytes)), EWrongFileFormat);
        EXPECT_EQ(Bytes(*current), before);
        EXPECT_EQ(current->FileVersion, 0.4);
    }
    EXPECT_THROW(OpenProject(*current, folder_.Path() / "missing.ksw"), std::filesystem::filesystem_error);
    EXPECT_EQ(Bytes(*current), before);
}

} // namespace
} // namespace slabwise
