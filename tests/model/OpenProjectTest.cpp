// Opening a project file as the program does: all or nothing, the fields a
// short file lacks, and every value brought within the input limits said.

#include "model/OpenProject.h"
#include "model/Extended80.h"
#include "model/MatData.h"
#include "model/ResultTexts.h"

#include "support/TempFolder.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <cmath>
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
        {"column wider than the strip",
         UnitsEnglish,
         [](TMatData& m) {
             m.StripWidth = 5;
             m.Columns[3].c2 = 70;
         },
         {"Point load #4, column c2", "70 in", "60 in"},
         [](const TMatData& m) { return m.Columns[3].c2 == 60; }},
        {"column wider than a metric strip",
         UnitsSI,
         [](TMatData& m) {
             m.StripWidth = 2;
             m.Columns[0].c2 = 2500;
         },
         {"Point load #1, column c2", "2500 mm", "2000 mm"},
         [](const TMatData& m) { return m.Columns[0].c2 == 2000; }},
        {"column longer than the row",
         UnitsEnglish,
         [](TMatData& m) { m.Columns[11].c1 = 200; },
         {"Point load #12, column c1", "200 in", "120 in"},
         [](const TMatData& m) { return m.Columns[11].c1 == 120; }},
        {"point load beyond the strip",
         UnitsEnglish,
         [](TMatData& m) { m.PointLoads[4].a = 49.5L; },
         {"Point load #5, a", "49.5 ft", "48 ft"},
         [](const TMatData& m) { return m.PointLoads[4].a == 48; }},
        {"user point before the strip",
         UnitsSI,
         [](TMatData& m) { m.UserX[1] = -2; },
         {"User point x2", "-2 m", "0 m"},
         [](const TMatData& m) { return m.UserX[1] == 0; }},
        {"point load far before the strip",
         UnitsEnglish,
         [](TMatData& m) { m.PointLoads[2].a = -10000; },
         {"Point load #3, a", "-10000 ft", "0 ft"},
         [](const TMatData& m) { return m.PointLoads[2].a == 0; }},
        {"distributed load starting before the strip",
         UnitsEnglish,
         [](TMatData& m) { m.DistLoads[0].b = -3; },
         {"Distributed load #1, b", "-3 ft", "0 ft"},
         [](const TMatData& m) { return m.DistLoads[0].b == 0 && m.DistLoads[0].e == 4; }},
        {"moment before the strip",
         UnitsEnglish,
         [](TMatData& m) { m.Moments[0].c = -0.5L; },
         {"Moment #1, c", "-0.5 ft", "0 ft"},
         [](const TMatData& m) { return m.Moments[0].c == 0; }},
        {"top cover below 0",
         UnitsEnglish,
         [](TMatData& m) { m.TopCover = -3; },
         {"Top Clear Cover", "-3 in", "0 in"},
         [](const TMatData& m) { return m.TopCover == 0; }},
        {"bottom cover not less than the 0.75 m thickness",
         UnitsSI,
         [](TMatData& m) { m.BottomCover = 750; },
         {"Bottom Clear Cover", "750 mm", "749.99 mm"},
         [](const TMatData& m) { return m.BottomCover == 749.99L; }},
        {"cover of a thickness limited first",
         UnitsEnglish,
         [](TMatData& m) {
             m.Thickness = 0.1L;
             m.TopCover = 0;
         },
         {"Strip Thickness, T", "0.1 ft", "0.67 ft"},
         [](const TMatData& m) { return m.Thickness == 0.67L && m.BottomCover == 3; }},
        {"user point beyond a strip no double holds",
         UnitsSI,
         [](TMatData& m) {
             m.StripLength = 14.3L;
             m.UserX[3] = 15;
         },
         {"User point x4", "15 m", "14.3 m"},
         [](const TMatData& m) { return m.UserX[3] == m.StripLength && LoadsOutsideStrip(m).empty(); }},
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

// A program that keeps binary doubles writes each decimal as the double
// nearest it: that is the decimal the field shows, and no change. A value a
// few units of a double's last place away, or more, is a change.
TEST(ApplyInputLimits, BinaryDoublesOfTheShownDecimalsAreNoChange) {
    auto mat = SoundStrip(UnitsSI);
    mat->StripLength = static_cast<double>(14.3L);
    mat->Thickness = static_cast<double>(0.8L);
    mat->Fc = static_cast<double>(27.6L);
    mat->UserX[0] = static_cast<double>(0.1L);
    mat->PointLoads[0] = {static_cast<double>(3.3L), static_cast<double>(150.7L)};
    mat->TopCover = static_cast<double>(52.3L);
    mat->MomentLoadFactor = static_cast<double>(1.7L);
    ASSERT_NE(mat->Thickness, 0.8L) << "the double differs from the decimal";
    EXPECT_TRUE(ApplyInputLimits(*mat).empty());
    // The field holds the decimal itself.
    EXPECT_EQ(mat->Thickness, 0.8L);
    EXPECT_EQ(mat->PointLoads[0].P, 150.7L);
    EXPECT_EQ(mat->TopCover, 52.3L);

    const double ulp = 0.8 - std::nextafter(0.8, 0.0);
    const struct {
        Real InFile;
        bool Said;
    } cases[] = {
        {0.8L + ulp, false},   {0.8L - 2 * ulp, false}, {0.8L + 4 * ulp, true},
        {0.8L + 1e-12L, true}, {0.8004L, true},
    };
    for (const auto& c : cases) {
        auto m = SoundStrip(UnitsSI);
        m->Thickness = c.InFile;
        const std::vector<TAdjustment> changes = ApplyInputLimits(*m);
        EXPECT_EQ(changes.size(), c.Said ? 1u : 0u) << static_cast<double>(c.InFile - 0.8L);
        // Either way the field shows, and the project takes, 0.800 m.
        EXPECT_EQ(m->Thickness, 0.8L);
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

// Offsets of a file with empty texts and no logo.
constexpr size_t ShapeAt = 89, BearingAt = 143, PointCountAt = 461, PointsAt = 465, MomentCountAt = 705,
                 ReinforcementAt = 789, FileEnd = 882, PointLoadBytes = 20;

// The strip with three point loads, stored as a file that holds three.
std::string ThreeLoadFile(uint8_t units) {
    auto strip = SoundStrip(units);
    strip->PointLoads[1] = {5, 90};
    strip->PointLoads[2] = {7, 120};
    std::ostringstream out;
    strip->SaveToStream(out);
    std::string bytes = out.str();
    bytes[PointCountAt] = 3;
    const size_t threeLoadsEnd = PointsAt + 3 * PointLoadBytes;
    bytes.erase(threeLoadsEnd, MomentCountAt - threeLoadsEnd);
    return bytes;
}

// The strip as a version 0.1 file: no shape, no bearing capacity, no
// reinforcement and no load factors.
std::string Version01File(uint8_t units) {
    auto strip = SoundStrip(units);
    std::ostringstream out;
    strip->SaveToStream(out);
    std::string bytes = out.str();
    bytes[54] = '1';
    bytes.erase(ReinforcementAt, FileEnd - ReinforcementAt);
    bytes.erase(BearingAt, 10);
    bytes.erase(ShapeAt, 4);
    return bytes;
}

// Whatever was open and whichever examples lie beside the program, a file
// opens to the same project: slots and fields it does not hold never come
// from the project before or from an example.
TEST_F(OpenProjectTest, AFileOpensTheSameWhateverWasOpenBefore) {
    // Examples that use every slot and set every field.
    TTempFolder examples;
    for (const uint8_t units : {UnitsEnglish, UnitsSI}) {
        auto example = SoundStrip(units);
        for (size_t i = 0; i < PointLoadCount; ++i) example->PointLoads[i] = {Real(i) + 0.5L, 150};
        example->UserX = {0.5L, 1.5L, 2.5L, 3.5L};
        example->Shape = 1;
        example->StripWidth = example->StripLength;
        example->Fc = units == UnitsSI ? 45 : 6;
        example->ShearLoadFactor = example->MomentLoadFactor = 1.9L;
        example->SaveToFile(examples.Path() /
                            (units == UnitsSI ? "Example SI Units.ksw" : "Example English Units.ksw"));
    }
    const std::vector<std::pair<const char*, std::function<std::unique_ptr<TMatData>()>>> before = {
        {"no example", [] { return NewModel(); }},
        {"English example", [&] { return std::make_unique<TMatData>(examples.Path()); }},
        {"SI example",
         [&] {
             auto m = std::make_unique<TMatData>(examples.Path());
             m->SetUnitSystem(UnitsSI);
             m->SetDefaults();
             return m;
         }},
        {"an SI project with every load",
         [] {
             auto m = SoundStrip(UnitsSI);
             for (TPointLoad& load : m->PointLoads) load = {4, 650};
             m->Fc = 45;
             return m;
         }},
    };
    const struct {
        const char* Name;
        std::string Bytes;
    } files[] = {
        {"3 point loads, English", ThreeLoadFile(UnitsEnglish)},
        {"3 point loads, SI", ThreeLoadFile(UnitsSI)},
        {"version 0.1, English", Version01File(UnitsEnglish)},
        {"version 0.1, SI", Version01File(UnitsSI)},
    };
    for (const auto& file : files) {
        const fs::path path = Write("file.ksw", file.Bytes);
        std::string first;
        std::vector<std::string> firstLines;
        for (const auto& [name, make] : before) {
            SCOPED_TRACE(std::string(file.Name) + " after " + name);
            auto mat = make();
            const TOpenReport report = OpenProject(*mat, path);
            for (size_t i = 3; i < PointLoadCount; ++i) {
                EXPECT_EQ(mat->PointLoads[i].a, 0) << i;
                EXPECT_EQ(mat->PointLoads[i].P, 0) << i;
            }
            if (first.empty()) {
                first = Bytes(*mat);
                firstLines = report.Lines();
            }
            EXPECT_EQ(Bytes(*mat), first);
            EXPECT_EQ(report.Lines(), firstLines);
        }
    }
}

// A field an older file lacks takes the built-in value of the file's unit
// system and is said as such, never as a value in the file.
TEST_F(OpenProjectTest, AVersion01FileTakesTheBuiltInValuesOfItsUnits) {
    const struct {
        uint8_t Units;
        Real Fy, Fc, Cover, Bearing;
        int32_t Bar;
        const char* Line;
    } cases[] = {
        {UnitsEnglish, 60, 3, 2, 0.5L, 6,
         "Not in this version 0.1 file: Shape = Square/Rect; Allow. Bearing Cap, qa = 0.5 ksf; Use "
         "Reinforcement = no; Rebar Sizes = US; Steel Yield Str, Fy = 60 ksi; Concrete Str, Fc = 3 ksi; Top "
         "Clear Cover = 2 in; Top Bar Size = #6; Top Override # of Bars = 0; Bottom Clear Cover = 2 in; "
         "Bottom "
         "Bar Size = #6; Bottom Override # of Bars = 0; Shear Load Factor = 1.6; Moment Load Factor = 1.6 "
         "used"},
        {UnitsSI, 420, 21, 50, 20, 19,
         "Not in this version 0.1 file: Shape = Square/Rect; Allow. Bearing Cap, qa = 20 kPa; Use "
         "Reinforcement = no; Rebar Sizes = US; Steel Yield Str, Fy = 420 MPa; Concrete Str, Fc = 21 MPa; "
         "Top "
         "Clear Cover = 50 mm; Top Bar Size = 19M; Top Override # of Bars = 0; Bottom Clear Cover = 50 mm; "
         "Bottom Bar Size = 19M; Bottom Override # of Bars = 0; Shear Load Factor = 1.6; Moment Load Factor "
         "= "
         "1.6 used"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Units));
        auto mat = SoundStrip(c.Units == UnitsSI ? UnitsEnglish : UnitsSI);
        const TOpenReport report = OpenProject(*mat, Write("old.ksw", Version01File(c.Units)));
        EXPECT_EQ(mat->FileVersion, 0.1);
        EXPECT_EQ(mat->UnitSystem, c.Units);
        EXPECT_EQ(mat->Shape, 0);
        EXPECT_EQ(mat->AllowableBearing, c.Bearing);
        EXPECT_EQ(mat->BarSystem, BarSystemUS);
        EXPECT_EQ(mat->Fy, c.Fy);
        EXPECT_EQ(mat->Fc, c.Fc);
        EXPECT_EQ(mat->TopCover, c.Cover);
        EXPECT_EQ(mat->BottomCover, c.Cover);
        EXPECT_EQ(mat->TopBarSize, c.Bar);
        EXPECT_EQ(mat->BottomBarSize, c.Bar);
        EXPECT_EQ(mat->ShearLoadFactor, 1.6L);
        EXPECT_EQ(mat->MomentLoadFactor, 1.6L);
        // What the file holds is still read from the right places.
        EXPECT_EQ(mat->StripLength, c.Units == UnitsSI ? 15 : 48);
        EXPECT_EQ(mat->PointLoads[0].P, 150);
        EXPECT_TRUE(report.NotRead.empty());
        EXPECT_TRUE(report.Adjusted.empty());
        EXPECT_FALSE(report.Clean());
        ASSERT_EQ(report.Lines().size(), 1u);
        EXPECT_EQ(report.Lines()[0], c.Line);
    }
    // A current file lacks nothing, and says nothing.
    auto mat = NewModel();
    const TOpenReport report = OpenProject(*mat, Write("new.ksw", Bytes(*SoundStrip(UnitsSI))));
    EXPECT_TRUE(report.Clean());
    EXPECT_TRUE(report.NotInVersionLine().empty());
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
