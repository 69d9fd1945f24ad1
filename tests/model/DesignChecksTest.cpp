#include "model/DesignChecks.h"
#include "model/NumberFormat.h"
#include "model/PunchingShear.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <string>
#include <vector>

using namespace slabwise;
using slabwise::test::NewModel;

namespace {

constexpr Real NaN = std::numeric_limits<Real>::quiet_NaN();

// A designed 2 ft (610 mm) strip whose checks all pass; each case then sets
// the fields its check reads.
std::unique_ptr<TMatData> Designed(uint8_t units) {
    auto m = NewModel(units);
    const bool si = units == UnitsSI;
    m->BarSystem = BarSystemUS;
    m->StripWidth = si ? 3.048L : 10;
    m->Thickness = si ? 0.6096L : 2;
    m->Fc = si ? 27.58L : 4;
    m->Fy = si ? 413.7L : 60;
    m->TopCover = m->BottomCover = si ? 76.2L : 3;
    m->TopBarSize = m->BottomBarSize = si ? 25 : 8;
    m->MinMoment = si ? -500 : -400, m->MaxMoment = si ? 500 : 400;
    m->MinShear = si ? -300 : -60, m->MaxShear = si ? 300 : 60;
    m->MaxPressure = si ? 100 : 2, m->AllowableBearing = si ? 150 : 3;
    m->Design();
    return m;
}

Real Db(const TMatData& m) {
    return m.FindBar(m.TopBarSize).Diameter;
}

const std::string SpacingOk = "Spacing is OK";
const std::string TwoDb = "Spacing needs to be at least 2db";
const std::string RatioLow = "Min Reinforcement ratio is 0.18%, increase # of bars or try another bar size";

TEST(DesignChecks, EachRuleAtItsBoundary) {
    struct Case {
        const char* name;
        uint8_t units;
        TCheck check;
        std::function<void(TMatData&)> edit;
        bool passes;
        std::string hint;
    };
    const Case cases[] = {
        {"designed strip passes", UnitsEnglish, TCheck::TopSpacing, [](TMatData&) {}, true, SpacingOk},
        // Spacing: 18 in or 3h, whichever is smaller, then at least 2 db.
        {"h 12 in: 18 in passes", UnitsEnglish, TCheck::TopSpacing,
         [](TMatData& m) { m.ThicknessIn = 12, m.TopSpacing = 18; }, true, SpacingOk},
        {"h 12 in: just over 18 in fails", UnitsEnglish, TCheck::TopSpacing,
         [](TMatData& m) { m.ThicknessIn = 12, m.TopSpacing = 18.000001L; }, false,
         "Spacing needs to be less than 18 in or 3h"},
        {"h 5 in: 15 in passes", UnitsEnglish, TCheck::BottomSpacing,
         [](TMatData& m) { m.ThicknessIn = 5, m.BotSpacing = 15; }, true, SpacingOk},
        {"h 5 in: 16 in fails", UnitsEnglish, TCheck::BottomSpacing,
         [](TMatData& m) { m.ThicknessIn = 5, m.BotSpacing = 16; }, false,
         "Spacing needs to be less than 18 in or 3h"},
        {"exactly 2 db passes", UnitsEnglish, TCheck::TopSpacing,
         [](TMatData& m) { m.TopSpacing = 2 * Db(m); }, true, SpacingOk},
        {"below 2 db fails", UnitsEnglish, TCheck::TopSpacing,
         [](TMatData& m) { m.TopSpacing = 2 * Db(m) - 1e-9L; }, false, TwoDb},
        {"SI h 300 mm: 457.2 mm passes", UnitsSI, TCheck::TopSpacing,
         [](TMatData& m) { m.ThicknessIn = 300, m.TopSpacing = 457.2L; }, true, SpacingOk},
        {"SI h 300 mm: over 457.2 mm fails", UnitsSI, TCheck::TopSpacing,
         [](TMatData& m) { m.ThicknessIn = 300, m.TopSpacing = 457.3L; }, false,
         "Spacing needs to be less than 457 mm or 3h"},
        {"SI h 100 mm: 301 mm fails", UnitsSI, TCheck::BottomSpacing,
         [](TMatData& m) { m.ThicknessIn = 100, m.BotSpacing = 301; }, false,
         "Spacing needs to be less than 457 mm or 3h"},
        {"SI below 2 db fails", UnitsSI, TCheck::BottomSpacing,
         [](TMatData& m) { m.BotSpacing = 2 * Db(m) - 1e-6L; }, false, TwoDb},
        // Minimum ratio 0.18 %.
        {"0.18 % passes", UnitsEnglish, TCheck::TopRatio, [](TMatData& m) { m.TopSteelPct = 0.18L; }, true,
         "Min Reinforcement Ratio is OK"},
        {"below 0.18 % fails", UnitsSI, TCheck::BottomRatio, [](TMatData& m) { m.BotSteelPct = 0.1799L; },
         false, RatioLow},
        // Utilisation 99.99 %.
        {"99.99 % passes", UnitsEnglish, TCheck::TopUtilization, [](TMatData& m) { m.TopUtil = 99.99L; },
         true, "Top Utilization is OK"},
        {"100 % fails", UnitsEnglish, TCheck::TopUtilization, [](TMatData& m) { m.TopUtil = 100; }, false,
         "Top Utilization too high"},
        {"SI bottom 100 % fails", UnitsSI, TCheck::BottomUtilization, [](TMatData& m) { m.BottomUtil = 100; },
         false, "Bottom Utilization too high"},
        {"shear 99.99 % passes", UnitsSI, TCheck::Shear, [](TMatData& m) { m.ShearUtil = 99.99L; }, true,
         "Shear Utilization is OK"},
        {"shear 100 % fails", UnitsEnglish, TCheck::Shear, [](TMatData& m) { m.ShearUtil = 100; }, false,
         "Increase Thickness or Concrete Strength"},
        // Bearing: equal to the capacity fails.
        {"bearing below qa passes", UnitsEnglish, TCheck::Bearing, [](TMatData&) {}, true,
         "Max. Bearing Pressure is OK"},
        {"bearing equal to qa fails", UnitsSI, TCheck::Bearing,
         [](TMatData& m) { m.MaxPressure = m.AllowableBearing; }, false,
         "Max. Bearing Pressure greater than capacity"},
        // Values the design could not give fail with the reason.
        {"one bar has no spacing", UnitsEnglish, TCheck::TopSpacing,
         [](TMatData& m) {
             m.TopBarsOverride = 1;
             m.Design();
         },
         false, "One bar has no spacing: use at least 2 bars"},
        {"one bar keeps its ratio", UnitsEnglish, TCheck::TopRatio,
         [](TMatData& m) {
             m.TopBarsOverride = 1;
             m.Design();
         },
         false, RatioLow},
        {"too much steel leaves no capacity", UnitsEnglish, TCheck::TopUtilization,
         [](TMatData& m) {
             m.TopBarsOverride = 400;
             m.Design();
         },
         false, "The bars leave no moment capacity: use fewer or smaller bars"},
        {"section too weak", UnitsEnglish, TCheck::BottomSpacing,
         [](TMatData& m) {
             m.MaxMoment = 50000;
             m.Design();
         },
         false,
         "The section cannot develop the factored moment: increase the thickness or f'c, or enter a number "
         "of "
         "bars"},
        {"cover beyond the thickness", UnitsEnglish, TCheck::TopRatio,
         [](TMatData& m) {
             m.TopCover = 30;
             m.Design();
         },
         false, "Effective depth is not positive: reduce the cover or the bar size"},
        {"cover beyond the thickness keeps the other face", UnitsEnglish, TCheck::BottomUtilization,
         [](TMatData& m) {
             m.TopCover = 30;
             m.Design();
         },
         true, "Bottom Utilization is OK"},
        {"bottom cover beyond the thickness fails shear", UnitsSI, TCheck::Shear,
         [](TMatData& m) {
             m.BottomCover = 700;
             m.Design();
         },
         false,
         "Effective depth of the bottom bars is not positive: reduce the bottom cover or the bar size"},
        // A cover below 0 would put the depth beyond the section: nothing is
        // designed on it, whatever way it reached the model.
        {"negative top cover", UnitsEnglish, TCheck::TopUtilization,
         [](TMatData& m) {
             m.TopCover = -3;
             m.Design();
         },
         false, "Clear cover is below 0: enter a cover of at least 0"},
        {"negative top cover, its ratio", UnitsEnglish, TCheck::TopRatio,
         [](TMatData& m) {
             m.TopCover = -3;
             m.Design();
         },
         false, "Clear cover is below 0: enter a cover of at least 0"},
        {"negative bottom cover fails shear", UnitsSI, TCheck::Shear,
         [](TMatData& m) {
             m.BottomCover = -75;
             m.Design();
         },
         false, "Bottom clear cover is below 0: enter a cover of at least 0"},
        {"negative Fy", UnitsEnglish, TCheck::BottomUtilization,
         [](TMatData& m) {
             m.Fy = -60;
             m.Design();
         },
         false, "Fy is not positive: enter the yield strength of the bars"},
        {"zero Fy keeps shear", UnitsSI, TCheck::Shear,
         [](TMatData& m) {
             m.Fy = 0;
             m.Design();
         },
         true, "Shear Utilization is OK"},
        {"zero f'c", UnitsEnglish, TCheck::Shear,
         [](TMatData& m) {
             m.Fc = 0;
             m.Design();
         },
         false, "f'c is not positive: enter the concrete strength"},
        {"analysis did not finish", UnitsEnglish, TCheck::Bearing, [](TMatData& m) { m.MaxPressure = NaN; },
         false, "Not computed: the analysis did not finish"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = Designed(c.units);
        for (const TCheckResult& r : EvaluateChecks(*m)) ASSERT_TRUE(r.Passes) << r.Hint;
        c.edit(*m);
        const TCheckResult r = EvaluateCheck(*m, c.check);
        EXPECT_EQ(r.Passes, c.passes);
        EXPECT_EQ(r.Hint, c.hint);
        EXPECT_EQ(EvaluateChecks(*m)[static_cast<size_t>(c.check)].Hint, c.hint);
    }
}

// A face on a negative cover shows N.A. throughout, not a depth larger than
// the section.
TEST(DesignChecks, ANegativeCoverLeavesTheFaceUndesigned) {
    auto m = Designed(UnitsEnglish);
    m->BottomCover = -3;
    m->Design();
    for (const Real value : {m->BotAs, m->BotSteelPct, m->BotAllowMoment, m->BottomUtil, m->AllowShear})
        EXPECT_TRUE(std::isnan(value));
    EXPECT_TRUE(std::isfinite(m->TopUtil));
}

// A value that fails its check never reads as its limit: it gets the
// decimals that show it on its failing side, and a passing value keeps its
// field's.
TEST(DesignChecks, AFailingValueShowsEnoughDecimalsToBeSeenFailing) {
    auto m = Designed(UnitsEnglish);
    struct Case {
        int tag;
        Real value;
        const char* shown;
    };
    const Case ratios[] = {
        {TagSteelPct, 0.1778L, "0.178"}, {TagSteelPct, 0.17999L, "0.17999"}, {TagSteelPct, 0.1796L, "0.1796"},
        {TagSteelPct, 0.179L, "0.179"},  {TagSteelPct, 0.1749L, "0.17"},     {TagSteelPct, 0.18L, "0.18"},
        {TagSteelPct, 0.1803L, "0.18"},  {TagSteelPct, 0.35L, "0.35"},       {TagSpacing, 0.1778L, "0.18"},
        {TagSteelPct, NaN, "N.A."},
    };
    for (const Case& c : ratios) {
        SCOPED_TRACE(c.shown);
        EXPECT_EQ(FormatFixed(c.value, ShownDecimals(*m, c.tag, c.value)), c.shown);
    }
    // 0.1796 needs four decimals: three would round it onto the limit.
    EXPECT_EQ(ShownDecimals(*m, TagSteelPct, 0.1796L), 4);
    const struct {
        Real value;
        const char* shown;
    } utilizations[] = {
        {99.994L, "99.994"}, {99.99L, "99.99"}, {100.5L, "100.50"}, {50, "50.00"}, {99.9901L, "99.9901"}};
    for (const auto& c : utilizations)
        EXPECT_EQ(FormatFixed(c.value, UtilizationDecimals(c.value)), c.shown) << c.shown;
    // The judgement and the text agree: the ratio fails and reads below 0.18.
    m->BotSteelPct = 0.1778L;
    EXPECT_FALSE(EvaluateCheck(*m, TCheck::BottomRatio).Passes);
    EXPECT_EQ(FormatFixed(m->BotSteelPct, ShownDecimals(*m, TagSteelPct, m->BotSteelPct)), "0.178");
}

// Net tensile strain 0.003 (d - c) / c with c = a / beta1, worked by hand for
// the fixture's bottom face (b 120 in, d 20.5 in, f'c 4 ksi, #8 bars):
// 56 bars give a = 6.46798 in, c = 7.60939 in; 60 bars a = 6.92998 in,
// c = 8.15292 in. The SI strip is the same strip with f'c and fy converted
// exactly.
TEST(DesignChecks, AFaceThatIsNotTensionControlledFailsItsUtilization) {
    const std::string notControlled =
        "Not tension-controlled (net tensile strain below 0.005): increase the thickness or use less steel";
    struct Case {
        uint8_t units;
        Real bars;
        Real strain;
        bool passes;
        std::string hint;
    };
    const Case cases[] = {
        {UnitsEnglish, 56, 0.00508211537850079172L, true, "Bottom Utilization is OK"},
        {UnitsEnglish, 60, 0.00454330768660073893L, false, notControlled},
        {UnitsSI, 56, 0.00508211537850079172L, true, "Bottom Utilization is OK"},
        {UnitsSI, 60, 0.00454330768660073893L, false, notControlled},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.units) << " " << c.bars);
        auto m = Designed(c.units);
        if (c.units == UnitsSI) m->Fc = 4 * 6.894757293168361L, m->Fy = 60 * 6.894757293168361L;
        m->BotBarsOverride = c.bars;
        m->Design();
        ASSERT_LT(m->BottomUtil, 99.99L);
        EXPECT_NEAR(NetTensileStrain(*m, TFace::Bottom), c.strain, 1e-15);
        const TCheckResult r = EvaluateCheck(*m, TCheck::BottomUtilization);
        EXPECT_EQ(r.Passes, c.passes);
        EXPECT_EQ(r.Hint, c.hint);
        EXPECT_TRUE(EvaluateCheck(*m, TCheck::TopUtilization).Passes);
    }
    // A utilisation too high keeps its own hint.
    auto m = Designed(UnitsEnglish);
    m->BotBarsOverride = 60;
    m->Design();
    m->BottomUtil = 120;
    EXPECT_EQ(EvaluateCheck(*m, TCheck::BottomUtilization).Hint, "Bottom Utilization too high");
}

TEST(DesignChecks, StressBlockFactorFollowsFc) {
    const std::pair<Real, Real> cases[] = {{2500, 0.85L},    {4000, 0.85L}, {5000, 0.80L}, {7000, 0.70L},
                                           {7999, 0.65005L}, {8000, 0.65L}, {12000, 0.65L}};
    for (auto [psi, beta1] : cases) EXPECT_NEAR(StressBlockFactor(psi), beta1, 1e-15) << psi;
}

// The punching check passes when every column passes and names the ones
// that do not.
TEST(DesignChecks, PunchingCheckNamesTheFailingColumns) {
    const auto strip = [] {
        auto m = test::NewModel(UnitsEnglish);
        m->StripLength = 40, m->StripWidth = 10, m->Thickness = 2;
        m->SubgradeModulus = 100, m->Fc = 4, m->Fy = 60;
        m->TopCover = m->BottomCover = 3;
        m->TopBarSize = m->BottomBarSize = 8;
        return m;
    };
    struct Column {
        int load;
        Real a, P, c1, c2;
    };
    struct Case {
        const char* name;
        std::vector<Column> columns;
        Real fc;
        bool passes;
        std::string hint;
    };
    const Case cases[] = {
        {"no columns", {{0, 20, 400, 0, 0}}, 4, true, "No column entered: no punching check"},
        {"one column passes", {{0, 20, 200, 20, 20}}, 4, true, "Punching Shear Utilization is OK"},
        {"upward column is no failure",
         {{0, 20, 200, 20, 20}, {1, 10, -50, 20, 20}},
         4,
         true,
         "Punching Shear Utilization is OK"},
        {"two of three fail",
         {{1, 10, 900, 16, 16}, {4, 20, 200, 20, 20}, {6, 30, 900, 16, 16}},
         4,
         false,
         "Punching shear too high at the column of point load #2, #7: increase Thickness, Concrete Strength "
         "or "
         "the column size"},
        {"not computed",
         {{2, 20, 200, 20, 20}},
         0,
         false,
         "Punching not computed at the column of point load #3: f'c is not positive: enter the concrete "
         "strength"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = strip();
        for (const Column& col : c.columns) {
            m->PointLoads[static_cast<size_t>(col.load)] = {col.a, col.P};
            m->Columns[static_cast<size_t>(col.load)] = {col.c1, col.c2};
        }
        m->Analyze();
        m->Fc = c.fc;
        const TCheckResult r = EvaluateCheck(*m, TCheck::Punching);
        EXPECT_EQ(r.Passes, c.passes);
        EXPECT_EQ(r.Hint, c.hint);
        EXPECT_EQ(EvaluateChecks(*m)[static_cast<size_t>(TCheck::Punching)].Hint, c.hint);
    }
    // A moment at a checked column is named in the check's hint too.
    auto m = strip();
    m->PointLoads[0] = {20, 200};
    m->Columns[0] = {20, 20};
    m->Moments[0] = {20, 50};
    m->Analyze();
    EXPECT_EQ(EvaluateCheck(*m, TCheck::Punching).Hint,
              "Punching Shear Utilization is OK; applied moments at columns are not transferred by eccentric "
              "shear");
}

TEST(DesignChecks, NamesAreDistinct) {
    std::set<std::string_view> names;
    for (int i = 0; i < CheckCount; ++i) names.insert(CheckName(static_cast<TCheck>(i)));
    EXPECT_EQ(names.size(), size_t(CheckCount));
    EXPECT_EQ(CheckName(TCheck::TopSpacing), "TopSpacing");
    // Added checks go last, so the order and values of the others hold.
    EXPECT_EQ(static_cast<int>(TCheck::Shear), 7);
    EXPECT_EQ(static_cast<int>(TCheck::Punching), CheckCount - 1);
    EXPECT_EQ(CheckName(TCheck::Punching), "Punching");
}

} // namespace
