#include "model/FloatFault.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace slabwise;
using slabwise::test::NewModel;

namespace {

// A 10 ft wide, 2 ft thick strip with #8 bars, given its extremes directly.
std::unique_ptr<TMatData> EnglishSection(Real minMoment, Real maxMoment) {
    auto mat = NewModel(UnitsEnglish);
    mat->StripWidth = 10;
    mat->Thickness = 2;
    mat->Fc = 4;
    mat->Fy = 60;
    mat->TopCover = 2;
    mat->BottomCover = 3;
    mat->TopBarSize = mat->BottomBarSize = 8;
    mat->MinMoment = minMoment, mat->MaxMoment = maxMoment;
    mat->MinShear = -150, mat->MaxShear = 120;
    return mat;
}

// The same section in SI units with the same physical bars (US #8 is 25M).
std::unique_ptr<TMatData> SISection(Real minMoment, Real maxMoment) {
    const Real ft = 0.3048L, in = 25.4L, ksi = 6.894757293168361L, kip = 4.4482216152605L;
    auto mat = NewModel(UnitsSI);
    mat->BarSystem = BarSystemUS;
    mat->StripWidth = 10 * ft;
    mat->Thickness = 2 * ft;
    mat->Fc = 4 * ksi;
    mat->Fy = 60 * ksi;
    mat->TopCover = 2 * in;
    mat->BottomCover = 3 * in;
    mat->TopBarSize = mat->BottomBarSize = 25;
    mat->MinMoment = minMoment * kip * ft, mat->MaxMoment = maxMoment * kip * ft;
    mat->MinShear = -150 * kip, mat->MaxShear = 120 * kip;
    return mat;
}

// Flexural capacity 0.9 As fy (d - a/2) in ft-kips of an English section.
Real Capacity(const TMatData& m, Real As, Real d) {
    const Real a = As * m.Fy / (0.85L * m.Fc * 12 * m.StripWidth);
    return 0.9L * As * m.Fy * (d - a / 2) / 12;
}

TEST(Design, RequiredSteelDevelopsTheFactoredMoment) {
    auto mat = EnglishSection(-900, 1400);
    mat->Design();
    EXPECT_DOUBLE_EQ(mat->MuNeg, -1.6L * 900);
    EXPECT_DOUBLE_EQ(mat->MuPos, 1.6L * 1400);
    EXPECT_DOUBLE_EQ(mat->ThicknessIn, 24);
    EXPECT_DOUBLE_EQ(mat->TopDepth, 24 - 2 - 0.5);
    EXPECT_DOUBLE_EQ(mat->BotDepth, 24 - 3 - 0.5);
    EXPECT_NEAR(Capacity(*mat, mat->TopAsReq, mat->TopDepth), 1.6L * 900, 1e-9);
    EXPECT_NEAR(Capacity(*mat, mat->BotAsReq, mat->BotDepth), 1.6L * 1400, 1e-9);
    // The smaller root is the one with a block depth inside the section.
    EXPECT_EQ(mat->TopAsReq, mat->TopAsRoot2);
    EXPECT_NEAR(mat->TopA1 + mat->TopA2, 2 * mat->TopDepth, 1e-12);
    EXPECT_EQ(mat->TopBarsMin, std::ceil(mat->TopAsReq / 0.785398163));
    EXPECT_NEAR(mat->TopAs, mat->TopBarsMin * 0.785398163, 1e-12);
    EXPECT_NEAR(mat->TopSpacing, (120 - 4 - 1.0) / (mat->TopBarsMin - 1), 1e-12);
    // Worked by hand: As = 15.73 in² needs 21 #8 bars, 16.49 in² on
    // 120 x 21.5 in is 0.6393 %, with a = 2.425 in they develop 1505.7 ft-kips.
    EXPECT_NEAR(mat->TopAsReq, 15.7299L, 1e-4);
    EXPECT_EQ(mat->TopBarsMin, 21);
    EXPECT_NEAR(mat->TopSteelPct, 0.63928L, 1e-5);
    EXPECT_NEAR(mat->TopAllowMoment, 1505.72L, 1e-2);
    EXPECT_NEAR(mat->TopUtil, 95.635L, 1e-3);
    EXPECT_NEAR(mat->TopUtil, 1.6L * 900 / mat->TopAllowMoment * 100, 1e-9);
    EXPECT_LT(mat->TopUtil, 100);
    // One-way shear: 1.5 sqrt(f'c psi) b d in kips on the bottom bars' depth.
    EXPECT_DOUBLE_EQ(mat->Vu, 1.6L * 150);
    EXPECT_NEAR(mat->AllowShear, 1.5L * std::sqrt(4000.0L) * 120 * 20.5L / 1000, 1e-9);
    EXPECT_NEAR(mat->ShearUtil, mat->Vu / mat->AllowShear * 100, 1e-9);
}

TEST(Design, EnglishAndSIAgreeForTheSameStrip) {
    auto e = EnglishSection(-900, 1400);
    auto s = SISection(-900, 1400);
    e->Design();
    s->Design();
    const Real in2 = 645.16L, kipft = 1.3558179483314004L, kip = 4.4482216152605L;
    EXPECT_NEAR(s->TopAsReq / in2, e->TopAsReq, 1e-9 * e->TopAsReq);
    EXPECT_NEAR(s->BotAsReq / in2, e->BotAsReq, 1e-9 * e->BotAsReq);
    EXPECT_EQ(s->TopBarsMin, e->TopBarsMin);
    EXPECT_EQ(s->BotBarsMin, e->BotBarsMin);
    EXPECT_NEAR(s->TopSpacing / 25.4L, e->TopSpacing, 1e-9);
    EXPECT_NEAR(s->TopSteelPct, e->TopSteelPct, 1e-9);
    EXPECT_NEAR(s->TopAllowMoment / kipft, e->TopAllowMoment, 1e-8 * e->TopAllowMoment);
    EXPECT_NEAR(s->BotAllowMoment / kipft, e->BotAllowMoment, 1e-8 * e->BotAllowMoment);
    EXPECT_NEAR(s->AllowShear / kip, e->AllowShear, 1e-8 * e->AllowShear);
    EXPECT_NEAR(s->TopUtil, e->TopUtil, 1e-7);
    EXPECT_NEAR(s->BottomUtil, e->BottomUtil, 1e-7);
    EXPECT_NEAR(s->ShearUtil, e->ShearUtil, 1e-7);
}

TEST(Design, ZeroMomentNeedsNoSteelButTwoBars) {
    auto mat = EnglishSection(0, 0);
    mat->Design();
    EXPECT_EQ(mat->TopAsReq, 0);
    // The other root is the area whose block fills twice the depth:
    // 1.7 x 4 ksi x 120 in x 21.5 in / 60 ksi.
    EXPECT_NEAR(mat->TopAsRoot1, 292.4L, 1e-9);
    EXPECT_NEAR(mat->TopA1, 2 * mat->TopDepth, 1e-12);
    EXPECT_EQ(mat->TopBarsMin, 2);
    EXPECT_EQ(mat->BotBarsMin, 2);
    EXPECT_EQ(mat->TopUtil, 0);
}

TEST(Design, OverrideChoosesTheBarCount) {
    struct Case {
        Real override;
        bool useComputed;
        Real expectedBars;
    };
    const Case cases[] = {
        {0, true, 0}, {0.4L, true, 0}, {2.5L, false, 2}, {3.5L, false, 4}, {12, false, 12}, {-3, true, 0},
    };
    for (const Case& c : cases) {
        auto mat = EnglishSection(-900, 1400);
        mat->TopBarsOverride = c.override;
        mat->Design();
        // 21 bars are required (worked by hand above).
        const Real n = c.useComputed ? 21 : c.expectedBars;
        EXPECT_NEAR(mat->TopAs, n * 0.785398163, 1e-12) << static_cast<double>(c.override);
        EXPECT_NEAR(mat->TopSpacing, 115 / (n - 1), 1e-12) << static_cast<double>(c.override);
        // The computed count is kept even when overridden.
        EXPECT_EQ(mat->TopBarsMin, 21) << static_cast<double>(c.override);
    }
}

// Beyond what the section can develop singly reinforced there is no
// required area and no computed count; a count the engineer chose is still
// evaluated, and a utilisation that is no number fails every check.
TEST(Design, InadequateSectionShowsNoRequiredSteel) {
    struct Case {
        Real minMoment;
        Real override;
        bool areaIsNumber;
    };
    const Case cases[] = {{-4000, 0, true}, {-5000, 0, false}, {-5000, 40, false}};
    for (const Case& c : cases) {
        auto mat = EnglishSection(c.minMoment, 1400);
        mat->TopBarsOverride = c.override;
        ASSERT_NO_THROW(mat->Design());
        EXPECT_EQ(std::isnan(mat->TopAsReq), !c.areaIsNumber) << static_cast<double>(c.minMoment);
        EXPECT_EQ(std::isnan(mat->TopBarsMin), !c.areaIsNumber);
        if (c.areaIsNumber) {
            EXPECT_GT(mat->TopAsReq, 0);
        }
        if (c.override > 0) {
            EXPECT_NEAR(mat->TopAs, 40 * 0.785398163, 1e-9);
            EXPECT_GT(mat->TopUtil, 99.99L); // still too weak, and says so
        } else if (!c.areaIsNumber) {
            for (Real v : {mat->TopSpacing, mat->TopAs, mat->TopSteelPct, mat->TopAllowMoment, mat->TopUtil})
                EXPECT_TRUE(std::isnan(v));
        }
        // The other face and the shear check are unaffected.
        EXPECT_TRUE(std::isfinite(mat->BottomUtil));
        EXPECT_TRUE(std::isfinite(mat->ShearUtil));
    }
}

TEST(Design, OverReinforcedFaceHasNoUtilisation) {
    auto mat = EnglishSection(-900, 1400);
    mat->TopBarsOverride = 400; // stress block deeper than 2d
    mat->Design();
    EXPECT_LE(mat->TopAllowMoment, 0);
    EXPECT_TRUE(std::isnan(mat->TopUtil));
}

// A single bar has no spacing: the design stops there and shows nothing it
// did not compute.
TEST(Design, OneBarStopsTheDesign) {
    auto mat = EnglishSection(-900, 1400);
    mat->TopBarsOverride = 1;
    EXPECT_THROW(mat->Design(), EFloatFault);
    auto analysed = slabwise::test::Strip(UnitsEnglish, 48, 10, 2, 100, 4);
    analysed->PointLoads[0] = {24, 300};
    analysed->TopBarsOverride = 1;
    EXPECT_THROW(analysed->Analyze(), EFloatFault);
    EXPECT_TRUE(std::isfinite(analysed->TopBarsMin));
    EXPECT_TRUE(std::isfinite(analysed->MaxShear));
    for (Real v : {analysed->TopSpacing, analysed->TopAs, analysed->TopUtil, analysed->BotAsReq,
                   analysed->BottomUtil, analysed->Vu, analysed->ShearUtil})
        EXPECT_TRUE(std::isnan(v));
}

} // namespace
