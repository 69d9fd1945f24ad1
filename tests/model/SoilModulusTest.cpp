// The typical subgrade moduli offered as help beside ks, in both unit systems.

#include "model/SoilModulus.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

using namespace slabwise;

namespace {

// 1 kcf is 1000 lb over 1728 in³ = 0.5787 pci, and 4.448222 kN over
// 0.02831685 m³ = 157.0875 kN/m³; 4 and 8 ksf are 191.5 and 383 kPa.
TEST(SoilModulus, LinesInBothUnitSystems) {
    struct TRow {
        std::string caption;
        double low, high; // NaN low: no range; NaN high: open upward
    };
    const double none = std::nan("");
    struct TCase {
        uint8_t units;
        std::vector<TRow> rows;
        bool note;
    };
    const TCase cases[] = {
        {UnitsEnglish,
         {{"Sandy Soils:", none, none},
          {"Loose Sand", 17.361, 57.87},
          {"Medium Sand", 34.722, 289.35},
          {"Dense Sand", 231.48, 462.96},
          {"Sand w/Clay (mix)", 115.74, 289.35},
          {"Sand w/Silt (mix)", 86.805, 173.61},
          {"", none, none},
          {"Clayey Soils:", none, none},
          {"qu < 4 ksf", 43.4025, 86.805},
          {"4 ksf < qu < 8 ksf", 86.805, 173.61},
          {"qu > 8 ksf", 173.61, none},
          {"qu - unconfined compr. strength", none, none}},
         false},
        {UnitsSI,
         {{"Sandy Soils:", none, none},
          {"Loose Sand", 4712.625, 15708.75},
          {"Medium Sand", 9425.25, 78543.75},
          {"Dense Sand", 62835, 125670},
          {"Sand w/Clay (mix)", 31417.5, 78543.75},
          {"Sand w/Silt (mix)", 23563.125, 47126.25},
          {"", none, none},
          {"Clayey Soils:", none, none},
          {"qu < 192 kPa", 11781.5625, 23563.125},
          {"192 kPa < qu < 383 kPa", 23563.125, 47126.25},
          {"qu > 383 kPa", 47126.25, none},
          {"qu - unconfined compr. strength", none, none}},
         true},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(int(c.units));
        const auto model = slabwise::test::NewModel(c.units);
        const std::vector<TSoilModulusLine> lines = SoilModulusLines(*model);
        ASSERT_EQ(lines.size(), c.rows.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            const TRow& row = c.rows[i];
            EXPECT_EQ(lines[i].Caption, row.caption);
            EXPECT_EQ(lines[i].HasRange, !std::isnan(row.low)) << row.caption;
            if (!lines[i].HasRange) continue;
            EXPECT_NEAR(double(lines[i].Low), row.low, 1e-9 * row.low) << row.caption;
            if (std::isnan(row.high))
                EXPECT_TRUE(std::isnan(lines[i].High)) << row.caption;
            else
                EXPECT_NEAR(double(lines[i].High), row.high, 1e-9 * row.high) << row.caption;
        }
        EXPECT_EQ(SoilModulusNote(c.units).empty(), !c.note);
    }
}

} // namespace
