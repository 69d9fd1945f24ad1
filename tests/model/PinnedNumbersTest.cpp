// Numbers pinned from outside the code. Every expected value here is worked
// from physical units and textbook formulas (SI base units, the ACI modulus,
// Hetényi's infinite beam), never through the program's own unit factors or
// functions, so a changed constant in the analysis fails a test.
#include "model/NumberFormat.h"
#include "model/ResultTexts.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

using namespace slabwise;
using slabwise::test::Strip;

namespace {

// Exact definitions of the customary units in SI base units.
constexpr long double Foot = 0.3048L, Inch = 0.0254L;
constexpr long double PoundForce = 4.4482216152605L, Kip = 1000 * PoundForce;
constexpr long double Psi = PoundForce / (Inch * Inch), Ksi = 1000 * Psi, Ksf = Kip / (Foot * Foot);
constexpr long double Pci = PoundForce / (Inch * Inch * Inch);
constexpr long double KiloNewton = 1000, MegaPascal = 1e6L, KiloPascal = 1000;
constexpr long double Pi = std::numbers::pi_v<long double>;

// One strip in base units: N, m, Pa. The two unit systems below give the
// program its inputs in their own units and read its results back through the
// same physical definitions.
struct TPhysicalStrip {
    long double L, B, T, k, E; // m, m, m, N/m^3, Pa
    long double EffWidthPercent;

    long double I() const { return B * T * T * T / 12; }
    long double EI() const { return E * I(); }
    long double Beta() const { return std::pow(k * B / (4 * EI()), 0.25L); }
    // Thickness at which beta L equals the given value: beta^4 = 3 k / (E T^3).
    long double ThicknessFor(long double betaL) const {
        return std::cbrt(3 * k * std::pow(L / betaL, 4.0L) / E);
    }
    // Radius of relative stiffness of a plate on a Winkler foundation with
    // Poisson's ratio 0.15.
    long double Lr() const { return std::pow(E * T * T * T / (12 * (1 - 0.15L * 0.15L) * k), 0.25L); }
    long double BEst() const { return EffWidthPercent / 100 * 2 * Lr(); }
};

struct TUnitCase {
    const char* name;
    uint8_t units;
    // Inputs in the project's units.
    long double L, B, T, k, Fc;
    // Unit sizes in base units.
    long double length, modulus, subgrade, inertiaLength;
    // ACI 318 modulus of normal-weight concrete in Pa from f'c in the
    // project's unit: 57000 sqrt(f'c psi) psi, or 4700 sqrt(f'c MPa) MPa.
    long double (*concreteModulus)(long double fc);
    // Hand-worked values (four or more significant digits) of the same strip.
    long double handE, handBetaL;
};

const TUnitCase UnitCases[] = {
    {"English", UnitsEnglish, 48, 10, 2, 100, 4, Foot, Ksi, Pci, Foot,
     [](long double fc) { return 57000 * std::sqrt(fc * 1000) * Psi; }, 3605.0L, 5.0736L},
    {"SI", UnitsSI, 15, 3, 0.6L, 27000, 28, 1, MegaPascal, KiloNewton, 1,
     [](long double fc) { return 4700 * std::sqrt(fc) * MegaPascal; }, 24870.1L, 5.2563L},
};

class PinnedStiffness : public ::testing::TestWithParam<TUnitCase> {};

TEST_P(PinnedStiffness, SectionAndStiffnessFromFirstPrinciples) {
    const TUnitCase& c = GetParam();
    auto mat = Strip(c.units, c.L, c.B, c.T, c.k, c.Fc);
    mat->EffWidthPercent = 70;
    mat->Analyze();

    const TPhysicalStrip p{c.L * c.length,   c.B * c.length,          c.T * c.length,
                           c.k * c.subgrade, c.concreteModulus(c.Fc), 70};
    const auto near = [](long double got, long double want, const char* what) {
        EXPECT_NEAR(got, want, 1e-12L * std::fabs(want)) << what;
    };
    near(mat->ConcreteModulus * c.modulus, p.E, "E");
    near(mat->Inertia * std::pow(c.length, 4.0L), p.I(), "I");
    near(mat->Beta / c.length, p.Beta(), "beta");
    near(mat->BetaL, p.Beta() * p.L, "beta L");
    near(mat->Lr * c.length, p.Lr(), "Lr");
    near(mat->BEst * c.length, p.BEst(), "B(est.)");
    near(mat->TMinSemiRigid * c.length, p.ThicknessFor(Pi), "T min semi-rigid");
    near(mat->TMinRigid * c.length, p.ThicknessFor(Pi / 4), "T min rigid");
    // EI in the program's force x length^2: kip-ft^2 or kN-m^2.
    const long double force = c.units == UnitsEnglish ? Kip : KiloNewton;
    near(mat->FlexuralRigidity * force * c.length * c.length, p.EI(), "EI");

    // Worked by hand with a pocket calculator.
    EXPECT_NEAR(mat->ConcreteModulus, c.handE, 0.1L);
    EXPECT_NEAR(mat->BetaL, c.handBetaL, 1e-3L);
}

INSTANTIATE_TEST_SUITE_P(Units, PinnedStiffness, ::testing::ValuesIn(UnitCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Far from both ends a long strip under one point load is Hetényi's infinite
// beam: y = P beta / (2 k B) under the load and M = P / (4 beta). At beta L
// near 75 the free ends change these by about e^-37.
TEST(PinnedLongStrip, CentralPointLoadMatchesTheInfiniteBeamInSI) {
    const long double L = 150, B = 2.5L, T = 0.5L, k = 60000, Fc = 25, P = 800;
    auto mat = Strip(UnitsSI, L, B, T, k, Fc);
    mat->PointLoads[0] = {L / 2, P};
    mat->Analyze();

    const long double E = 4700 * std::sqrt(Fc) * 1000; // kPa
    const long double beta = std::pow(k * B / (4 * E * B * T * T * T / 12), 0.25L);
    ASSERT_GT(beta * L, 70);
    const TMatStation& mid = mat->Stations[50];
    ASSERT_EQ(mid.X, L / 2);
    const long double y = P * beta / (2 * k * B); // m, downward
    EXPECT_NEAR(mid.Deflection, -1000 * y, 1e-9L * 1000 * y);
    EXPECT_NEAR(mid.Pressure, k * y, 1e-9L * k * y);
    EXPECT_NEAR(mid.Moment, P / (4 * beta), 1e-9L * P / (4 * beta));
    EXPECT_NEAR(mat->MaxMoment, P / (4 * beta), 1e-9L * P / (4 * beta));
    // Just left of the load the strip carries half of it.
    EXPECT_NEAR(mid.Shear, P / 2, 1e-9L * P);
}

// The same physical strip in both unit systems gives the same physical
// results: a unit factor that drifts in either system breaks the agreement.
TEST(PinnedLongStrip, EnglishAndSIDescribeOneStrip) {
    const long double Lft = 100, Bft = 8, Tft = 1.5L, kPci = 150, FcKsi = 4, Pkip = 150;
    auto e = Strip(UnitsEnglish, Lft, Bft, Tft, kPci, FcKsi);
    e->PointLoads[0] = {30, Pkip};
    e->Analyze();
    // f'c chosen so that both ACI formulas give the same modulus.
    const long double EPa = 57000 * std::sqrt(FcKsi * 1000) * Psi;
    const long double FcMPa = std::pow(EPa / MegaPascal / 4700, 2.0L);
    auto s = Strip(UnitsSI, Lft * Foot, Bft * Foot, Tft * Foot, kPci * Pci / KiloNewton, FcMPa);
    s->PointLoads[0] = {30 * Foot, Pkip * Kip / KiloNewton};
    s->Analyze();
    for (int i = 0; i <= 100; i += 5) {
        const TMatStation &se = e->Stations[i], &ss = s->Stations[i];
        const long double kipFt = Kip * Foot;
        EXPECT_NEAR(ss.Moment * 1000, se.Moment * kipFt, 1e-9L * Pkip * Kip * 10) << "node " << i;
        EXPECT_NEAR(ss.Deflection / 1000, se.Deflection * Inch, 1e-12L) << "node " << i;
        EXPECT_NEAR(ss.Pressure * KiloPascal, se.Pressure * Ksf, 1e-6L) << "node " << i;
    }
}

// Uplift over the middle of a strip standing on two end columns: a real
// analysis whose contact share lies strictly between 0 and 100 %. The share
// is counted here from the nodes' pressures, and a tension smaller than a
// pascal still counts as tension.
TEST(PinnedBearingArea, ShareOfNodesNotInTension) {
    auto mat = Strip(UnitsSI, 20, 2.5L, 0.5L, 30000, 30);
    mat->PointLoads[0] = {1.5L, 700};
    mat->PointLoads[1] = {18.5L, 700};
    mat->PointLoads[2] = {10, -100};
    mat->Analyze();
    int tension = 0;
    for (int i = 0; i <= 100; ++i) tension += mat->Stations[i].Pressure < 0;
    ASSERT_GT(tension, 0);
    ASSERT_LT(tension, 101);
    EXPECT_NEAR(mat->BearingAreaPct, 100.0L * (101 - tension) / 101, 1e-12L);
    EXPECT_GT(mat->BearingAreaPct, 0);
    EXPECT_LT(mat->BearingAreaPct, 85);
    EXPECT_EQ(ValidityMessage(*mat), "Brg Area < 85%, analysis may not be valid!");

    // A uniform uplift of 1 N/m on the whole strip: every node is in tension
    // by a few millipascals.
    auto light = Strip(UnitsSI, 20, 2.5L, 0.5L, 30000, 30);
    light->FullUniformLoad = -0.001L;
    light->Analyze();
    EXPECT_LT(light->MaxPressure, 0);
    EXPECT_GT(light->MaxPressure, -1e-3L);
    EXPECT_EQ(light->BearingAreaPct, 0);
}

// The formatter keeps the 18 significant digits of the extended type: large
// whole numbers and long fractions come out digit for digit.
TEST(PinnedFormatter, SignificantDigitsUpToEighteen) {
    struct Case {
        long double value;
        int decimals, precision;
        const char* expected;
    };
    const Case cases[] = {
        {123456789012345.0L, 0, 15, "123456789012345"},
        {1234567890123456.0L, 0, 16, "1234567890123456"},
        {12345678901234567.0L, 0, 17, "12345678901234567"},
        {123456789012345678.0L, 0, 18, "123456789012345678"},
        {0.123456789012345678L, 18, 18, "0.123456789012345678"},
        {98765.4321098765432L, 13, 18, "98765.4321098765432"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.decimals, c.precision), c.expected) << c.expected;
    EXPECT_EQ(FormatGrouped(1234567890123.0L, 0), "1,234,567,890,123");
    EXPECT_EQ(FormatGrouped(987654321098765.25L, 2), "987,654,321,098,765.25");
}

} // namespace
