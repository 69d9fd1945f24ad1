// Long strips against a reference that shares nothing with the program's
// method for them: the initial-parameter solution evaluated with 160 decimal
// digits, where cancelling terms of size e^(beta L) costs nothing.

#include "model/BeamAngle.h"
#include "support/TestModels.h"

#include <boost/multiprecision/cpp_bin_float.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iomanip>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

using namespace slabwise;
using Big = boost::multiprecision::number<boost::multiprecision::cpp_bin_float<160>>;

namespace {

struct TRef {
    Big V, M, Theta, Y;
};

// Free finite beam, initial-parameter form. The end conditions at L take
// every load's terms without the step, so a load beyond L acts on that end
// and one left of the strip acts on the left end through its terms at 0.
class TReference {
public:
    explicit TReference(const TMatData& m)
        : m_(m), beta_(Big(m.Beta)), EI_(Big(m.FlexuralRigidity)), L_(Big(m.StripLength)) {
        const std::array<Big, 4> end = F(L_);
        const Big &C2 = end[1], &C3 = end[2], &C4 = end[3];
        // Solve V(L) = M(L) = 0 for thetaA and yA from the load terms at L.
        const TRef atL = LoadTerms(L_, true);
        const Big b = beta_, b2 = b * b, b3 = b2 * b;
        // V(L) = -2EI b^3 yA C2 - 2EI b^2 thA C3 + LV = 0
        // M(L) = -2EI b^2 yA C3 - EI b thA C4 + LM = 0
        const Big a11 = -2 * EI_ * b3 * C2, a12 = -2 * EI_ * b2 * C3, a21 = -2 * EI_ * b2 * C3,
                  a22 = -EI_ * b * C4;
        const Big det = a11 * a22 - a12 * a21;
        yA_ = (-atL.V * a22 + a12 * atL.M) / det;
        thA_ = (-a11 * atL.M + a21 * atL.V) / det;
    }

    TRef At(Real Xl) const {
        const Big X(Xl), b = beta_, b2 = b * b, b3 = b2 * b;
        const std::array<Big, 4> f = F(X);
        const TRef lt = LoadTerms(X);
        return {-b3 * (2 * EI_ * yA_) * f[1] - b2 * (2 * EI_ * thA_) * f[2] + lt.V,
                -b2 * (2 * EI_ * yA_) * f[2] - thA_ * EI_ * b * f[3] + lt.M,
                thA_ * f[0] - yA_ * b * f[3] + lt.Theta, yA_ * f[0] + thA_ / (2 * b) * f[1] + lt.Y};
    }
    Big ThetaA() const { return thA_; }
    Big YA() const { return yA_; }

private:
    std::array<Big, 4> F(const Big& x) const {
        const Big z = beta_ * x;
        const Big ch = boost::multiprecision::cosh(z), sh = boost::multiprecision::sinh(z);
        const Big c = boost::multiprecision::cos(z), s = boost::multiprecision::sin(z);
        return {ch * c, ch * s + sh * c, sh * s, ch * s - sh * c};
    }
    // Step group of a load at a seen from X (zero unless a < X or continued).
    std::array<Big, 5> Step(const Big& a, const Big& X, bool continued = false) const {
        if (!(a < X || continued)) return {0, 0, 0, 0, 0};
        const auto f = F(X - a);
        return {f[0], f[1], f[2], f[3], 1 - f[0]};
    }
    TRef LoadTerms(const Big& X, bool continued = false) const {
        const Big b = beta_, b2 = b * b, b3 = b2 * b, b4 = b2 * b2;
        TRef t{0, 0, 0, 0};
        const auto segment = [&](const Big& w, const Big& from, const Big& to) {
            const auto sb = Step(from, X, continued), se = Step(to, X, continued);
            t.V += -w / (2 * b) * (sb[1] - se[1]);
            t.M += -w / (2 * b2) * (sb[2] - se[2]);
            t.Theta += -w / (4 * b3 * EI_) * (sb[3] - se[3]);
            t.Y += -w / (4 * b4 * EI_) * (sb[4] - se[4]);
        };
        segment(Big(m_.FullUniformLoad), 0, L_);
        for (const auto& d : m_.DistLoads) segment(Big(d.wb), Big(d.b), Big(d.e));
        for (const auto& p : m_.PointLoads) {
            const Big P(p.P);
            const auto s = Step(Big(p.a), X, continued);
            t.V += -P * s[0], t.M += -P / (2 * b) * s[1], t.Theta += -P / (2 * b2 * EI_) * s[2];
            t.Y += -P / (4 * b3 * EI_) * s[3];
        }
        for (const auto& mo : m_.Moments) {
            const Big M(mo.M);
            const auto s = Step(Big(mo.c), X, continued);
            t.V += M * b * s[3], t.M += -M * s[0], t.Theta += -M / (2 * b * EI_) * s[1];
            t.Y += -M / (2 * b2 * EI_) * s[2];
        }
        return t;
    }

    const TMatData& m_;
    Big beta_, EI_, L_, thA_, yA_;
};

struct TCase {
    std::string name;
    Real L, T, k, Fc;
};

// B = 10 ft throughout; the names give beta L, up to the stiffest strip the
// inputs allow, with a pair on both sides of where the decaying form starts.
const std::vector<TCase> Cases = {
    {"BetaL0_1", 6, 6, 5, 12},        {"BetaL4", 48, 2.5L, 100, 4},   {"BetaL11_99", 67, 1.5L, 300, 3},
    {"BetaL12_17", 68, 1.5L, 300, 3}, {"BetaL21", 120, 1.5L, 300, 3}, {"BetaL45", 250, 1.5L, 300, 3},
    {"BetaL32", 200, 1.5L, 200, 3},   {"BetaL58", 200, 1, 600, 3},    {"BetaL102", 250, 0.67L, 600, 2},
    {"BetaL233", 500, 0.67L, 999, 2},
};

void PrintTo(const TCase& c, std::ostream* os) {
    *os << c.name;
}

// Loads placed as fractions of L.
struct TLoadSet {
    std::string name;
    std::array<std::array<Real, 2>, 4> points;   // a / L, P
    std::array<std::array<Real, 3>, 2> segments; // b / L, e / L, w
    std::array<std::array<Real, 2>, 3> moments;  // c / L, M
    std::array<Real, 4> userX;                   // X / L
};

const std::vector<TLoadSet> LoadSets = {
    {"WithinStrip",
     {{{0.01L, 120}, {0.5L, 300}, {0.995L, 80}, {1, 40}}},
     {{{0.2L, 0.35L, 3}, {0.7L, 0.9L, -1.5L}}},
     {{{0.02L, 150}, {0.6L, -90}, {0.97L, 60}}},
     {0, 0.33L, 0.999L, 1}},
    // Loads past both ends, a reversed segment and one crossing an end;
    // their stations lie outside the strip too.
    {"BeyondTheEnds",
     {{{-0.01L, 120}, {0, 50}, {1.004L, 80}, {0.45L, 200}}},
     {{{-0.03L, 0.25L, 2}, {0.8L, 0.6L, 1.5L}}},
     {{{-0.005L, -150}, {0.5L, 90}, {1.01L, 60}}},
     {0.1L, 0.5L, 0.9L, 1}},
    // Loads that share positions, so stations stand at several loads at
    // once and segments meet end to end.
    {"SharedPositions",
     {{{0.5L, 300}, {0.5L, -80}, {0.25L, 120}, {0.75L, 60}}},
     {{{0.25L, 0.5L, 2}, {0.5L, 0.75L, -1}}},
     {{{0.5L, 90}, {0.25L, -40}, {0.75L, 30}}},
     {0.25L, 0.5L, 0.75L, 1}},
};

void PrintTo(const TLoadSet& s, std::ostream* os) {
    *os << s.name;
}

// The SI strip is the English one in metres, kN/m^3 and the f'c that gives
// the same modulus, so it has the same beta L; the loads keep their numbers.
struct TUnits {
    std::string name;
    uint8_t system;
    Real length, subgrade, deflectionPerLength;
    Real (*fc)(Real fcKsi);
};

const std::vector<TUnits> UnitSystems = {
    {"English", UnitsEnglish, 1, 1, 12, [](Real fc) { return fc; }},
    {"SI", UnitsSI, 0.3048L, 271.447161215893L, 1000,
     [](Real fc) {
         const Real E = 57 * std::sqrt(1000 * fc) * 6.894757293168361L; // MPa
         return (E / 4700) * (E / 4700);
     }},
};

void PrintTo(const TUnits& u, std::ostream* os) {
    *os << u.name;
}

class LongStripAccuracy : public ::testing::TestWithParam<std::tuple<TCase, TLoadSet, TUnits>> {};

TEST_P(LongStripAccuracy, StationsAgreeWithTheExactSolution) {
    const auto& [c0, set, u] = GetParam();
    const TCase c{c0.name, c0.L * u.length, c0.T * u.length, c0.k * u.subgrade, u.fc(c0.Fc)};
    auto mat = slabwise::test::Strip(u.system, c.L, 10 * u.length, c.T, c.k, c.Fc);
    const Real L = c.L;
    for (int i = 0; i < 4; ++i) mat->PointLoads[i] = {set.points[i][0] * L, set.points[i][1]};
    for (int i = 0; i < 2; ++i) {
        const Real w = set.segments[i][2];
        mat->DistLoads[i] = {set.segments[i][0] * L, set.segments[i][1] * L, w, w};
    }
    mat->FullUniformLoad = 1.2L;
    for (int i = 0; i < 3; ++i) mat->Moments[i] = {set.moments[i][0] * L, set.moments[i][1]};
    for (int i = 0; i < 4; ++i) mat->UserX[i] = set.userX[i] * L;
    ASSERT_NO_THROW(mat->Analyze());
    const TReference ref(*mat);

    std::array<Real, 4> scale{}, worst{};
    std::vector<TRef> exact;
    for (const TMatStation& s : mat->Stations) {
        exact.push_back(ref.At(s.X));
        const TRef& e = exact.back();
        scale[0] = std::max(scale[0], std::fabs(static_cast<Real>(e.V)));
        scale[1] = std::max(scale[1], std::fabs(static_cast<Real>(e.M)));
        scale[2] = std::max(scale[2], std::fabs(static_cast<Real>(e.Theta)));
        scale[3] = std::max(scale[3], std::fabs(static_cast<Real>(e.Y)));
    }
    for (size_t i = 0; i < exact.size(); ++i) {
        const TMatStation& s = mat->Stations[i];
        const TRef& e = exact[i];
        const std::array<Real, 4> got{s.Shear, s.Moment, s.Slope, s.Deflection / u.deflectionPerLength};
        const std::array<Big, 4> want{e.V, e.M, e.Theta, e.Y};
        for (int q = 0; q < 4; ++q)
            worst[q] = std::max(worst[q], std::fabs(static_cast<Real>(Big(got[q]) - want[q])) / scale[q]);
    }
    for (int q = 0; q < 4; ++q)
        EXPECT_LT(worst[q], 1e-9L) << "worst " << static_cast<double>(worst[q]) << " quantity " << q
                                   << ", beta L " << static_cast<double>(mat->BetaL);
    EXPECT_LT(std::fabs(static_cast<Real>(Big(mat->InitTotal[2]) - ref.ThetaA())), 1e-9L * scale[2]);
    EXPECT_LT(std::fabs(static_cast<Real>(Big(mat->InitTotal[3]) - ref.YA())), 1e-9L * scale[3]);
    RecordProperty("BetaL", std::to_string(static_cast<double>(mat->BetaL)));
    std::ostringstream worstText;
    worstText << std::scientific << std::setprecision(2)
              << static_cast<double>(*std::max_element(worst.begin(), worst.end()));
    RecordProperty("WorstOfScale", worstText.str());
}

INSTANTIATE_TEST_SUITE_P(BetaL, LongStripAccuracy,
                         ::testing::Combine(::testing::ValuesIn(Cases), ::testing::ValuesIn(LoadSets),
                                            ::testing::ValuesIn(UnitSystems)),
                         [](const auto& info) {
                             return std::get<0>(info.param).name + "_" + std::get<1>(info.param).name + "_" +
                                    std::get<2>(info.param).name;
                         });

} // namespace

namespace {

// The argument reduction of the beam angles against 160-digit values, from
// inside the first octant to where a strip's angles end and past the limit
// where the library's own reduction takes over.
TEST(BeamAngleReduction, CosAndSinAgreeWithTheExactValues) {
    const Big halfPi = boost::multiprecision::acos(Big(0));
    const std::vector<Real> arguments = {0,
                                         1e-12L,
                                         0.5L,
                                         static_cast<Real>(halfPi / 2) - 1e-18L,
                                         static_cast<Real>(halfPi / 2) + 1e-18L,
                                         1,
                                         static_cast<Real>(halfPi),
                                         static_cast<Real>(3 * halfPi) + 1e-15L,
                                         4.29176L,
                                         static_cast<Real>(148 * halfPi),
                                         232.69L,
                                         -232.69L,
                                         -3,
                                         12345.678L,
                                         999999.5L,
                                         3e6L};
    for (const Real z : arguments) {
        const TCosSin got = CosSin(z);
        const Real exactC = static_cast<Real>(boost::multiprecision::cos(Big(z)));
        const Real exactS = static_cast<Real>(boost::multiprecision::sin(Big(z)));
        // An absolute error of a few units in the last place of 1, which is
        // all the beam functions' products can hold.
        EXPECT_LE(std::fabs(got.C - exactC), 4 * std::numeric_limits<Real>::epsilon()) << "cos at " << z;
        EXPECT_LE(std::fabs(got.S - exactS), 4 * std::numeric_limits<Real>::epsilon()) << "sin at " << z;
    }
}

} // namespace
