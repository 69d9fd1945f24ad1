#include "model/BarTables.h"
#include "model/InputRanges.h"
#include "model/Units.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <vector>

using namespace slabwise;
using slabwise::test::NewModel;

namespace {

TEST(BarTable, ConversionBetweenUnitSystems) {
    struct Case {
        int32_t barSystem;
        uint8_t units;
        int32_t bar;
        int32_t expectBar;
        double diameter, area;
        const char* label;
    };
    const Case cases[] = {
        {BarSystemUS, UnitsEnglish, 6, 6, 0.75, 0.441786467, "#6"},
        {BarSystemUS, UnitsSI, 19, 19, 19.05, 0.441786467 * 645.16, "19M"},
        {BarSystemEuropean, UnitsEnglish, 16, 16, 16 / 25.4, 201 / 645.16, "16M"},
        {BarSystemEuropean, UnitsSI, 25, 25, 25, 491, "25M"},
        {BarSystemCanadian, UnitsSI, 35, 35, 35.7, 1000, "35M"},
    };
    for (const Case& c : cases) {
        auto mat = NewModel(c.units);
        mat->BarSystem = c.barSystem;
        mat->PrepareBarTable();
        const TBarRow& row = mat->FindBar(c.bar);
        EXPECT_EQ(row.Bar, c.expectBar) << c.label;
        EXPECT_DOUBLE_EQ(row.Diameter, c.diameter) << c.label;
        EXPECT_DOUBLE_EQ(row.Area, c.area) << c.label;
        EXPECT_EQ(mat->BarLabel(c.bar), c.label);
    }
}

TEST(BarTable, EuropeanInEnglishRoundsToPublishedFigures) {
    const TBarRow row = FindBarIn(MakeBarTable(BarSystemEuropean, UnitsEnglish), 16);
    EXPECT_NEAR(row.Diameter, 0.62992, 5e-6);
    EXPECT_NEAR(row.Area, 0.31155, 5e-6);
}

// Every row of the metric tables against the nominal values of the bar
// standards: EN 10080 sizes, whose areas are pi d^2 / 4 rounded to three
// significant figures (four from 1000 mm^2), and the CSA G30.18 sizes, whose
// areas are rounded to the hundred and diameters to 0.1 mm. Each row is also
// checked against its own geometry, so a diameter and an area cannot drift
// apart unnoticed; in English units a row is the same bar in in and in^2.
TEST(BarTable, EveryMetricRowHasThePublishedDiameterAndArea) {
    struct Row {
        int32_t bar;
        double diameter, area;
    };
    // clang-format off
    const std::vector<Row> european = {
        {6, 6, 28.3},   {8, 8, 50.3},   {10, 10, 78.5}, {12, 12, 113},  {14, 14, 154},   {16, 16, 201},
        {20, 20, 314},  {25, 25, 491},  {28, 28, 616},  {32, 32, 804},  {40, 40, 1257},  {50, 50, 1963},
    };
    const std::vector<Row> canadian = {
        {10, 11.3, 100}, {15, 16.0, 200}, {20, 19.5, 300},   {25, 25.2, 500},
        {30, 29.9, 700}, {35, 35.7, 1000}, {45, 43.7, 1500}, {55, 56.4, 2500},
    };
    // clang-format on
    constexpr double Pi = 3.14159265358979323846;
    const struct {
        const char* name;
        int32_t system;
        const std::vector<Row>& rows;
        // How far a published area may lie from pi d^2 / 4: the rounding of
        // the area (EN) or of the diameter (CSA).
        double geometryTolerance;
    } tables[] = {{"European", BarSystemEuropean, european, 0.005},
                  {"Canadian", BarSystemCanadian, canadian, 0.01}};
    for (const auto& table : tables) {
        const TBarTableRows si = MakeBarTable(table.system, UnitsSI);
        const TBarTableRows english = MakeBarTable(table.system, UnitsEnglish);
        for (size_t i = 0; i < si.size(); ++i) {
            SCOPED_TRACE(testing::Message() << table.name << " row " << i + 1);
            if (i >= table.rows.size()) {
                EXPECT_EQ(si[i].Bar, 0);
                EXPECT_EQ(si[i].Area, 0);
                continue;
            }
            const Row& published = table.rows[i];
            EXPECT_EQ(si[i].Bar, published.bar);
            EXPECT_EQ(si[i].MetricBar, 0);
            EXPECT_DOUBLE_EQ(si[i].Diameter, published.diameter);
            EXPECT_DOUBLE_EQ(si[i].Area, published.area);
            const double circle = Pi * published.diameter * published.diameter / 4;
            EXPECT_NEAR(si[i].Area / circle, 1, table.geometryTolerance) << circle;
            EXPECT_EQ(english[i].Bar, published.bar);
            EXPECT_DOUBLE_EQ(english[i].Diameter, published.diameter / 25.4);
            EXPECT_DOUBLE_EQ(english[i].Area, published.area / (25.4 * 25.4));
            EXPECT_EQ(FormatBarLabel(table.system, UnitsEnglish, published.bar),
                      std::to_string(published.bar) + "M");
        }
    }
}

// #6 is 19 in SI (its soft-metric name) and back; what is no US bar stays.
TEST(BarTable, SameUSBarUnderEitherUnitSystem) {
    const struct {
        int32_t Bar;
        uint8_t From, To;
        int32_t Expected;
    } cases[] = {
        {6, UnitsEnglish, UnitsSI, 19},     {19, UnitsSI, UnitsEnglish, 6}, {18, UnitsEnglish, UnitsSI, 57},
        {6, UnitsEnglish, UnitsEnglish, 6}, {25, UnitsSI, UnitsEnglish, 8}, {20, UnitsSI, UnitsEnglish, 20},
        {0, UnitsEnglish, UnitsSI, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SameUSBar(c.Bar, c.From, c.To), c.Expected) << c.Bar << " " << int(c.From);
}

TEST(BarTable, FindBarFallsBackToFirstRow) {
    EXPECT_EQ(FindBarIn(MakeBarTable(BarSystemEuropean, UnitsSI), 7).Bar, 6);
    // Bar 0 finds the first empty row of the Canadian table.
    const TBarTableRows canadian = MakeBarTable(BarSystemCanadian, UnitsSI);
    const TBarRow& empty = FindBarIn(canadian, 0);
    EXPECT_EQ(&empty, &canadian[8]);
    EXPECT_EQ(empty.Area, 0);
}

TEST(InputRanges, SwitchingUnitsSelectsTheTableAndRestoresIt) {
    auto mat = NewModel(UnitsEnglish);
    EXPECT_EQ(mat->InputRange(1).Max, 500);
    EXPECT_EQ(mat->InputRange(3).Min, 0.67L);
    mat->SetUnitSystem(UnitsSI);
    EXPECT_EQ(mat->InputRange(5).Min, 2000);
    EXPECT_EQ(mat->InputRange(1).Decimals, 3);
    EXPECT_EQ(mat->InputRange(15).Decimals, 5);
    mat->SetUnitSystem(UnitsEnglish);
    for (int tag = 1; tag <= InputRangeCount; ++tag) {
        EXPECT_EQ(mat->InputRange(tag).Min, EnglishInputRanges()[tag - 1].Min) << tag;
        EXPECT_EQ(mat->InputRange(tag).Max, EnglishInputRanges()[tag - 1].Max) << tag;
        EXPECT_EQ(mat->InputRange(tag).Decimals, EnglishInputRanges()[tag - 1].Decimals) << tag;
    }
    EXPECT_FALSE(mat->InputRange(7).Limited());
    EXPECT_EQ(mat->InputRange(42).Min, 0.5L);
}

TEST(Units, ByUnitsAndCaptions) {
    auto mat = NewModel(UnitsEnglish);
    EXPECT_EQ(mat->ByUnits(1.728, 1), Real(1.728));
    mat->SetUnitSystem(UnitsSI);
    EXPECT_EQ(mat->ByUnits(1.728, 1), 1);
}

// SI symbols as SI writes them, and one moment unit per system wherever a
// moment is shown.
TEST(Units, UnitTexts) {
    struct Case {
        TQuantity quantity;
        const char* english;
        const char* si;
    };
    const Case cases[] = {
        {TQuantity::Length, "ft", "m"},
        {TQuantity::Strength, "ksi", "MPa"},
        {TQuantity::Subgrade, "pci", "kN/m\u00B3"},
        {TQuantity::Pressure, "ksf", "kPa"},
        {TQuantity::Inertia, "ft\u2074", "m\u2074"},
        {TQuantity::LineLoad, "kips/ft", "kN/m"},
        {TQuantity::Force, "kips", "kN"},
        {TQuantity::Moment, "ft-kips", "kN-m"},
        {TQuantity::Shear, "k", "kN"},
        {TQuantity::DesignLength, "in", "mm"},
        {TQuantity::SteelArea, "in\u00B2", "mm\u00B2"},
        {TQuantity::Rigidity, "kip-ft\u00B2", "kN-m\u00B2"},
        {TQuantity::SoilStrength, "ksf", "kPa"},
        {TQuantity::Percent, "%", "%"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UnitText(c.quantity, UnitsEnglish), c.english);
        EXPECT_EQ(UnitText(c.quantity, UnitsSI), c.si);
    }
}

} // namespace
