#include "model/PunchingShear.h"
#include "model/DesignChecks.h"
#include "model/PunchingTable.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

using namespace slabwise;
using slabwise::test::NewModel;

namespace {

// A 40 ft by 10 ft strip on k = 100 pci, f'c 4 ksi, #8 bottom bars at 3 in
// cover (d = 20.5 in in a 2 ft strip), a full uniform load and one column.
std::unique_ptr<TMatData> EnglishStrip(Real thickness, Real w) {
    auto m = NewModel(UnitsEnglish);
    m->StripLength = 40;
    m->StripWidth = 10;
    m->Thickness = thickness;
    m->SubgradeModulus = 100;
    m->Fc = 4;
    m->Fy = 60;
    m->BottomCover = 3;
    m->TopCover = 3;
    m->TopBarSize = m->BottomBarSize = 8;
    m->FullUniformLoad = w;
    return m;
}

void AddColumn(TMatData& m, int load, Real a, Real P, Real c1, Real c2) {
    m.PointLoads[static_cast<size_t>(load)] = {a, P};
    m.Columns[static_cast<size_t>(load)] = {c1, c2};
}

std::string SectionName(TPunchingSection s) {
    return s == TPunchingSection::Interior ? "interior" : "edge";
}

TEST(PunchingShear, HandWorkedColumns) {
    // Expected values worked outside the program: the strip solved per
    // segment between loads in 40-digit arithmetic with free ends, the soil
    // reaction integrated numerically over each section, and the ACI 318-14
    // 22.6 terms by hand; "soil" is the reaction under the section's width
    // min(c2 + d, B), Vu = 1.6 (P + w x length x share - soil).
    struct Section {
        bool exists;
        Real x1, x2, b0, phiVn, soil, vu, util;
    };
    struct Case {
        const char* name;
        Real thickness, w, a, P, c1, c2;
        TPunchingSection governing;
        Section interior, edge;
    };
    const Case cases[] = {
        {"interior, beta 1: the term 4 governs",
         2,
         0.5L,
         20,
         400,
         20,
         20,
         TPunchingSection::Interior,
         {true, 18.3125L, 21.6875L, 162, 630.11544656515127L, 26.160330084481662L, 599.05472186482934L,
          95.070629537866697L},
         {true, 0, 21.6875L, 561, 1689.059460931586L, 83.955165042240831L, 511.52736093241467L,
          30.284745609268617L}},
        {"interior, beta 3: 2 + 4/beta governs and fails",
         2,
         0.5L,
         20,
         400,
         36,
         12,
         TPunchingSection::Interior,
         {true, 17.645833333333333L, 22.354166666666667L, 178, 576.95755909772081L, 29.045785033082318L,
          594.54688283595718L, 103.04863390051489L},
         {true, 0, 22.354166666666667L, 569, 1704.6178670196145L, 71.397892516541159L, 530.60677475131192L,
          31.127608422821161L}},
        {"interior, wide column: 2 + 40 d/b0 governs",
         1.25L,
         0.5L,
         20,
         300,
         48,
         48,
         TPunchingSection::Interior,
         {true, 17.520833333333333L, 22.479166666666667L, 238, 510.58135101078653L, 55.441910990510509L,
          393.25974797073874L, 77.021956871752401L},
         {true, 0, 22.479166666666667L, 599, 841.69553911286711L, 107.05428882858859L, 317.62987398536937L,
          37.736908326750299L}},
        {"edge at the left end",
         2,
         0.5L,
         1,
         250,
         20,
         20,
         TPunchingSection::Edge,
         {false, 0, 0, 0, 0, 0, 0, 0},
         {true, 0, 2.6875L, 105, 408.40815981074619L, 37.923106653409506L, 340.04865435454479L,
          83.261963843259456L}},
        {"edge at the right end, beta 3 across the strip",
         2,
         0.5L,
         39.5L,
         150,
         12,
         36,
         TPunchingSection::Edge,
         {false, 0, 0, 0, 0, 0, 0, 0},
         {true, 38.145833333333333L, 40, 101, 327.37479476893147L, 24.243313301431166L, 201.90910149548791L,
          61.675212851374193L}},
        {"both sections exist, the edge governs",
         2,
         0.5L,
         2.5L,
         400,
         20,
         20,
         TPunchingSection::Edge,
         {true, 0.8125L, 4.1875L, 162, 630.11544656515127L, 58.133736715781173L, 547.89727125475012L,
          86.951887029815872L},
         {true, 0, 4.1875L, 141, 548.43381460300203L, 74.926326510783379L, 521.24850258274659L,
          95.043100681176228L}},
        {"edge, wide column: 2 + 30 d/b0 governs",
         1.25L,
         0,
         2,
         100,
         60,
         60,
         TPunchingSection::Edge,
         {false, 0, 0, 0, 0, 0, 0, 0},
         {true, 0, 4.9791666666666667L, 191, 396.57333566756603L, 46.590648002454535L, 85.454963196072744L,
          21.548338103020305L}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = EnglishStrip(c.thickness, c.w);
        AddColumn(*m, 3, c.a, c.P, c.c1, c.c2);
        m->Analyze();
        const TPunchingResult r = EvaluatePunching(*m, 3);
        ASSERT_EQ(r.State, TPunchingState::Checked) << r.Hint;
        EXPECT_EQ(SectionName(r.Governing), SectionName(c.governing));
        const auto same = [](const TPunchingSectionResult& got, const Section& want) {
            ASSERT_EQ(got.Exists, want.exists);
            if (!want.exists) return;
            EXPECT_NEAR(got.X1, want.x1, 1e-15);
            EXPECT_NEAR(got.X2, want.x2, 1e-15);
            EXPECT_NEAR(got.B0, want.b0, 1e-13);
            EXPECT_NEAR(got.PhiVn, want.phiVn, 1e-12);
            EXPECT_NEAR(got.SoilReaction, want.soil, 1e-9);
            EXPECT_NEAR(got.Vu, want.vu, 1e-9);
            EXPECT_NEAR(got.Util, want.util, 1e-9);
        };
        same(r.Interior, c.interior);
        same(r.Edge, c.edge);
        const Section& g = c.governing == TPunchingSection::Edge ? c.edge : c.interior;
        EXPECT_EQ(r.B0, g.b0);
        EXPECT_EQ(r.D, m->BotDepth);
        EXPECT_NEAR(r.Util, g.util, 1e-9);
        EXPECT_EQ(r.Passes, g.util <= 99.99L);
        EXPECT_EQ(r.Hint, r.Passes ? "Punching shear is OK (" + SectionName(c.governing) + " section)"
                                   : "Punching shear too high at the " + SectionName(c.governing) +
                                         " section: increase the thickness, f'c or the column size");
    }
}

// The same strip in SI: every input converted exactly, the subgrade modulus
// also scaled by the ratio of 4700 sqrt(f'c) to 57000 sqrt(f'c psi) (0.7 %
// apart), so both strips bend alike and only the units differ.
TEST(PunchingShear, SIProjectGivesTheSameUtilization) {
    const Real ft = 0.3048L, in = 25.4L, ksi = 6.894757293168361L, kip = 4.4482216152605L;
    const Real pci = kip / 1000 / (0.0254L * 0.0254L * 0.0254L); // kN/m3
    auto english = EnglishStrip(2, 0.5L);
    AddColumn(*english, 0, 2.5L, 400, 20, 20);
    english->Analyze();
    auto si = NewModel(UnitsSI);
    si->BarSystem = BarSystemUS;
    si->StripLength = 40 * ft, si->StripWidth = 10 * ft, si->Thickness = 2 * ft;
    si->Fc = 4 * ksi, si->Fy = 60 * ksi;
    const Real modulusRatio = 4700 * std::sqrt(si->Fc) / (57 * std::sqrt(Real(4000)) * ksi);
    si->SubgradeModulus = 100 * pci * modulusRatio;
    si->TopCover = si->BottomCover = 3 * in;
    si->TopBarSize = si->BottomBarSize = 25;
    si->FullUniformLoad = 0.5L * kip / ft;
    AddColumn(*si, 0, 2.5L * ft, 400 * kip, 20 * in, 20 * in);
    si->Analyze();
    ASSERT_NEAR(si->Beta * ft, english->Beta, 1e-15);

    const TPunchingResult e = EvaluatePunching(*english, 0), s = EvaluatePunching(*si, 0);
    ASSERT_EQ(s.State, TPunchingState::Checked) << s.Hint;
    EXPECT_EQ(s.Governing, e.Governing);
    EXPECT_NEAR(s.B0, e.B0 * in, 1e-10);
    EXPECT_NEAR(s.D, e.D * in, 1e-12);
    EXPECT_NEAR(s.PhiVn, e.PhiVn * kip, 1e-9);
    EXPECT_NEAR(s.Vu, e.Vu * kip, 1e-8);
    EXPECT_NEAR(s.Util, e.Util, 1e-10);
    EXPECT_NEAR(s.Interior.Util, e.Interior.Util, 1e-10);
    EXPECT_NEAR(s.Util, 95.043100681176228L, 1e-9);
}

// The soil's reaction over x1..x2 by 4-point Gauss-Legendre quadrature in
// `panels` panels, the pressures read at user points (one analysis per
// panel); x1..x2 must hold no load and no end of a contact zone, where the
// pressure is not smooth.
Real GaussReaction(TMatData& m, Real x1, Real x2, int panels) {
    const Real nodes[] = {-0.8611363115940526L, -0.3399810435848563L, 0.3399810435848563L,
                          0.8611363115940526L};
    const Real weights[] = {0.3478548451374538L, 0.6521451548625461L, 0.6521451548625461L,
                            0.3478548451374538L};
    const Real h = (x2 - x1) / panels;
    Real sum = 0;
    for (int p = 0; p < panels; ++p) {
        const Real mid = x1 + (p + Real(0.5)) * h;
        for (int i = 0; i < 4; ++i) m.UserX[static_cast<size_t>(i)] = mid + nodes[i] * h / 2;
        m.Analyze();
        for (int i = 0; i < 4; ++i)
            sum += weights[i] * h / 2 *
                   m.Stations[static_cast<size_t>(FirstUserStation) + static_cast<size_t>(i)].Pressure;
    }
    return sum * m.StripWidth;
}

// The same split at every load position inside x1..x2.
Real GaussReactionAcrossLoads(TMatData& m, Real x1, Real x2) {
    std::vector<Real> breaks{x1, x2};
    const auto add = [&](Real x) {
        if (x1 < x && x < x2) breaks.push_back(x);
    };
    for (const TPointLoad& p : m.PointLoads) add(p.a);
    for (const TAppliedMoment& c : m.Moments) add(c.c);
    for (const TDistLoad& d : m.DistLoads) add(d.b), add(d.e);
    std::sort(breaks.begin(), breaks.end());
    Real sum = 0;
    for (size_t i = 1; i < breaks.size(); ++i) sum += GaussReaction(m, breaks[i - 1], breaks[i], 4);
    return sum;
}

TEST(PunchingShear, SoilReactionMatchesTheIntegralOfThePressure) {
    struct Case {
        const char* name;
        Real length, thickness;
        bool noTension;
        Real from, load, to;
        bool between; // loads start, end or stand between a node and an end of the stretch
    };
    const Case cases[] = {
        {"linear strip, beta L 4.2", 40, 2, false, 12, 20, 27, false},
        {"long strip, decaying form (beta L above 12)", 200, 1, false, 110, 120, 125, false},
        {"soil without tension, strip lifting off", 40, 2, true, 15, 20, 25, false},
        {"loads just left of both ends", 40, 2, false, 12.3L, 20.1L, 26.3L, true},
        {"long strip, loads just left of both ends", 200, 1, false, 110.3L, 120.1L, 126.3L, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = EnglishStrip(c.thickness, 0.5L);
        m->StripLength = c.length;
        m->SoilTakesNoTension = c.noTension;
        AddColumn(*m, 0, c.load, 400, 20, 20);
        // Uplift at both ends lifts them off the soil.
        if (c.noTension) m->PointLoads[1] = {0, -40}, m->PointLoads[2] = {c.length, -40};
        if (c.between) {
            // Nodes lie L/100 apart; each of these stands inside a node's
            // interval, left of the stretch's end it shares with it.
            const Real h = c.length / 100;
            m->PointLoads[1] = {c.to - 0.1L * h, 60};
            m->Moments[0] = {c.from - 0.2L * h, 80};
            m->Moments[1] = {c.to - 0.3L * h, -50};
            m->DistLoads[0] = {c.from - 0.1L * h, c.to - 0.2L * h, 3, 3};
            m->DistLoads[1] = {c.to - 0.15L * h, c.from - 0.25L * h, 2, 2}; // end before start: reversed
        }
        m->Analyze();
        if (c.noTension) {
            ASSERT_TRUE(m->LiftsOff());
            ASSERT_EQ(m->ContactZones.size(), 1u);
            ASSERT_LT(m->ContactZones.front().Start, c.from);
            ASSERT_GT(m->ContactZones.front().End, c.to);
        } else {
            ASSERT_EQ(m->BetaL > 12, c.length == 200);
        }
        const Real exact = SoilReaction(*m, c.from, c.to);
        const Real gauss = c.between
                               ? GaussReactionAcrossLoads(*m, c.from, c.to)
                               : GaussReaction(*m, c.from, c.load, 8) + GaussReaction(*m, c.load, c.to, 8);
        EXPECT_NEAR(exact, gauss, 1e-10 * std::fabs(gauss));
        EXPECT_GT(exact, 0);

        // The soil carries every load: the reaction over the whole strip.
        Real loads = m->FullUniformLoad * c.length;
        for (const TPointLoad& p : m->PointLoads) loads += p.P;
        for (const TDistLoad& d : m->DistLoads) loads += d.wb * (d.e - d.b);
        EXPECT_NEAR(SoilReaction(*m, 0, c.length), loads, 1e-10 * loads);
    }
}

TEST(PunchingShear, ColumnsThatAreNotChecked) {
    struct Case {
        const char* name;
        Real P, c1, c2;
        TPunchingState state;
        bool passes;
        std::string hint;
    };
    const Case cases[] = {
        {"no column", 400, 0, 20, TPunchingState::NoColumn, true, "No column at this load"},
        {"no column across", 400, 20, 0, TPunchingState::NoColumn, true, "No column at this load"},
        {"upward load", -100, 20, 20, TPunchingState::NotLoaded, true,
         "N.A.: the load is upward or zero, so the column does not punch the strip"},
        {"zero load", 0, 20, 20, TPunchingState::NotLoaded, true,
         "N.A.: the load is upward or zero, so the column does not punch the strip"},
        {"negative size", 400, -20, 20, TPunchingState::NotComputed, false,
         "The column's size is not positive"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto m = EnglishStrip(2, 0.5L);
        m->PointLoads[1] = {10, 100};
        AddColumn(*m, 0, 20, c.P, c.c1, c.c2);
        m->Analyze();
        const TPunchingResult r = EvaluatePunching(*m, 0);
        EXPECT_EQ(r.State, c.state);
        EXPECT_EQ(r.Passes, c.passes);
        EXPECT_EQ(r.Hint, c.hint);
        EXPECT_TRUE(std::isnan(r.Util));
        EXPECT_TRUE(std::isnan(r.Vu));
    }
}

TEST(PunchingShear, NotComputedWithoutAFinishedAnalysisOrADepth) {
    auto m = EnglishStrip(2, 0.5L);
    AddColumn(*m, 0, 20, 400, 20, 20);
    // An analysis that did not finish leaves its extremes NaN.
    auto fresh = EnglishStrip(2, 0.5L);
    AddColumn(*fresh, 0, 20, 400, 20, 20);
    fresh->Analyze();
    fresh->MaxShear = std::numeric_limits<Real>::quiet_NaN();
    EXPECT_EQ(EvaluatePunching(*fresh, 0).Hint, "Not computed: the analysis did not finish");
    EXPECT_EQ(EvaluatePunching(*fresh, 0).State, TPunchingState::NotComputed);

    m->Analyze();
    m->Fc = 0;
    EXPECT_EQ(EvaluatePunching(*m, 0).Hint, "f'c is not positive: enter the concrete strength");

    auto outside = EnglishStrip(2, 0.5L);
    AddColumn(*outside, 0, 41, 400, 20, 20);
    outside->Analyze();
    EXPECT_EQ(EvaluatePunching(*outside, 0).Hint, "The column stands outside the strip");
}

TEST(PunchingShear, LoadsOnTheSectionAddToTheColumnLoad) {
    // A second point load inside the interior section stands on it whole;
    // the column's own section sees the rest as before.
    auto alone = EnglishStrip(2, 0);
    AddColumn(*alone, 0, 20, 400, 20, 20);
    alone->PointLoads[1] = {21, 50};
    alone->Analyze();
    const TPunchingResult r = EvaluatePunching(*alone, 0);
    ASSERT_EQ(r.State, TPunchingState::Checked);
    EXPECT_NEAR(r.Interior.LoadsOn, 50, 1e-12);
    const Real share = 40.5L / 120;
    EXPECT_NEAR(r.Interior.SoilReaction, share * SoilReaction(*alone, r.Interior.X1, r.Interior.X2), 1e-12);
    EXPECT_NEAR(r.Interior.Vu, 1.6L * (400 + 50 - r.Interior.SoilReaction), 1e-10);
}

TEST(PunchingShear, MomentAtTheColumnIsNamedInTheHint) {
    auto m = EnglishStrip(2, 0.5L);
    AddColumn(*m, 0, 20, 400, 20, 20);
    m->Moments[0] = {20.5L, 100}; // within the column's 20 in
    m->Analyze();
    const TPunchingResult r = EvaluatePunching(*m, 0);
    EXPECT_TRUE(r.MomentAtColumn);
    EXPECT_TRUE(r.Hint.ends_with(PunchingMomentNote)) << r.Hint;
    m->Moments[0] = {21, 100}; // beyond it
    m->Analyze();
    EXPECT_FALSE(EvaluatePunching(*m, 0).MomentAtColumn);
}

} // namespace

TEST(PunchingTable, LinesHeadingsAndValuesFollowTheColumnsAndUnits) {
    auto m = EnglishStrip(2, 0.5L);
    AddColumn(*m, 0, 20, 300, 20, 20);
    AddColumn(*m, 4, 30, -50, 16, 16); // upward: a line, but nothing checked
    AddColumn(*m, 7, 10, 100, 16, 0);  // no column across: no line
    m->Analyze();
    EXPECT_EQ(PunchingLoads(*m), (std::vector<int>{1, 5}));

    const TPunchingResult checked = EvaluatePunching(*m, 0);
    ASSERT_EQ(checked.State, TPunchingState::Checked);
    const TPunchingResult upward = EvaluatePunching(*m, 4);
    std::vector<std::string> english;
    for (const TPunchingHeading& heading : PunchingHeadings) {
        english.push_back(PunchingHeadingText(*m, heading));
        const Real value = PunchingValue(checked, heading.Column);
        EXPECT_EQ(std::isnan(value), heading.Tag == 0) << english.back();
        EXPECT_TRUE(std::isnan(PunchingValue(upward, heading.Column))) << english.back();
    }
    EXPECT_EQ(english, (std::vector<std::string>{"Load", "Section", "b0, in", "d, in", "Vu, kips",
                                                 "\u03c6Vn, kips", "Utilization"}));
    EXPECT_EQ(PunchingValue(checked, TPunchingColumn::Util), checked.Util);
    EXPECT_EQ(PunchingValue(checked, TPunchingColumn::B0), checked.B0);
    EXPECT_EQ(PunchingSectionName(TPunchingSection::Edge), "Edge");

    // A number is shown with its Tag's decimals and limited to its row: a
    // row with limits would cut b0 of a large column (157.7 in) to 120.
    for (const uint8_t units : {UnitsEnglish, UnitsSI}) {
        m->SetUnitSystem(units);
        for (const TPunchingHeading& heading : PunchingHeadings) {
            if (heading.Tag > 0) {
                EXPECT_FALSE(m->InputRange(heading.Tag).Limited()) << heading.Caption;
            }
        }
    }
    EXPECT_EQ(PunchingHeadingText(*m, PunchingHeadings[3]), "d, mm");
    EXPECT_EQ(PunchingHeadingText(*m, PunchingHeadings[5]), "\u03c6Vn, kN");
}
