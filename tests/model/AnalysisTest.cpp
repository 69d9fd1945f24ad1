#include "model/BeamFunctions.h"
#include "model/FloatFault.h"
#include "model/MatData.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <utility>
#include <vector>

using namespace slabwise;
using slabwise::test::Strip;

namespace {

Real Scale(const TMatData& mat, Real TMatStation::*field) {
    Real s = 0;
    for (const TMatStation& st : mat.Stations) s = std::max(s, std::fabs(st.*field));
    return s;
}

// Strips of every rigidity class in both unit systems. Lengths are chosen so
// that beta L spans rigid to semi-infinite.
struct TStripCase {
    std::string name;
    uint8_t units;
    Real L, B, T, k, Fc;
};

const std::vector<TStripCase> StripCases = {
    {"RigidEnglish", UnitsEnglish, 6, 10, 3, 50, 4},
    {"SemiRigidEnglish", UnitsEnglish, 20, 10, 2, 100, 4},
    {"FlexibleEnglish", UnitsEnglish, 48, 10, 2, 100, 4},
    {"LongEnglish", UnitsEnglish, 120, 8, 1.5L, 200, 3},
    {"SemiRigidSI", UnitsSI, 6, 3, 0.6L, 27000, 28},
    {"FlexibleSI", UnitsSI, 15, 3, 0.6L, 27000, 28},
    {"LongSI", UnitsSI, 40, 2.5L, 0.5L, 60000, 25},
};

// Load sets placed relative to the length, so they fit every strip.
struct TLoadCase {
    std::string name;
    std::function<void(TMatData&)> apply;
};

const std::vector<TLoadCase> LoadCases = {
    {"PointsNearEnds",
     [](TMatData& m) {
         m.PointLoads[0] = {m.StripLength * 0.02L, 150};
         m.PointLoads[1] = {m.StripLength * 0.97L, 90};
     }},
    {"MidPointAndMoments",
     [](TMatData& m) {
         m.PointLoads[5] = {m.StripLength * 0.5L, 200};
         m.Moments[0] = {m.StripLength * 0.3L, 120};
         m.Moments[3] = {m.StripLength * 0.8L, -75};
     }},
    {"PartialDistributedAndUplift",
     [](TMatData& m) {
         m.FullUniformLoad = 2;
         m.DistLoads[0] = {m.StripLength * 0.1L, m.StripLength * 0.45L, 3, 7}; // we is ignored
         m.DistLoads[4] = {m.StripLength * 0.6L, m.StripLength * 0.9L, -1.5L, -1.5L};
         m.PointLoads[11] = {m.StripLength * 0.75L, -40};
     }},
};

struct TCombined {
    const TStripCase* strip;
    const TLoadCase* loads;
};

void PrintTo(const TStripCase& c, std::ostream* os) {
    *os << c.name;
}
void PrintTo(const TCombined& c, std::ostream* os) {
    *os << c.strip->name << "/" << c.loads->name;
}

std::vector<TCombined> AllCombinations() {
    std::vector<TCombined> out;
    for (const auto& s : StripCases)
        for (const auto& l : LoadCases) out.push_back({&s, &l});
    return out;
}

class StripEquilibrium : public ::testing::TestWithParam<TCombined> {
protected:
    void SetUp() override {
        const TStripCase& s = *GetParam().strip;
        mat = Strip(s.units, s.L, s.B, s.T, s.k, s.Fc);
        GetParam().loads->apply(*mat);
        ASSERT_NO_THROW(mat->Analyze());
    }
    Real Uy() const { return mat->UnitSystem == UnitsSI ? 1000 : 12; }

    // Downward line load at x from the uniform and distributed loads.
    Real LineLoadAt(Real x) const {
        Real p = mat->FullUniformLoad;
        for (const auto& d : mat->DistLoads)
            if (d.b < x && x < d.e) p += d.wb;
        return p;
    }

    std::unique_ptr<TMatData> mat;
};

// Both ends are free: whatever the loads, shear and moment vanish at X = L.
TEST_P(StripEquilibrium, RightEndIsFree) {
    const TMatStation& end = mat->Stations[100];
    EXPECT_NEAR(end.Shear, 0, 1e-9 * Scale(*mat, &TMatStation::Shear));
    EXPECT_NEAR(end.Moment, 0, 1e-9 * Scale(*mat, &TMatStation::Moment));
}

// The soil carries every downward load, and its resultant lies where the
// loads' resultant (less the applied moments) lies.
TEST_P(StripEquilibrium, SoilReactionBalancesLoads) {
    const Real L = mat->StripLength, B = mat->StripWidth, h = L / 100;
    Real force = 0, moment = 0; // Simpson over the 101 nodes
    for (int i = 0; i <= 100; ++i) {
        const Real w = (i == 0 || i == 100) ? 1 : (i % 2 ? 4 : 2);
        const Real q = mat->Stations[i].Pressure * B;
        force += w * q;
        moment += w * q * mat->Stations[i].X;
    }
    force *= h / 3, moment *= h / 3;

    Real loads = mat->FullUniformLoad * L, loadMoment = mat->FullUniformLoad * L * L / 2;
    for (const auto& d : mat->DistLoads) {
        loads += d.wb * (d.e - d.b);
        loadMoment += d.wb * (d.e * d.e - d.b * d.b) / 2;
    }
    Real total = 0;
    for (const auto& p : mat->PointLoads) {
        loads += p.P;
        loadMoment += p.P * p.a;
        total += std::fabs(p.P);
    }
    for (const auto& m : mat->Moments) loadMoment -= m.M;
    total += std::fabs(mat->FullUniformLoad) * L + 1;
    EXPECT_NEAR(force, loads, 1e-4 * total);
    EXPECT_NEAR(moment, loadMoment, 1e-4 * total * L);
}

// Neighbouring nodes agree with the beam's differential relations: dy/dx =
// slope, EI d(slope)/dx = M, dM/dx = V, dV/dx = soil reaction - load. A wrong
// sign or unit in any term breaks one of them.
TEST_P(StripEquilibrium, StationsSatisfyBeamRelations) {
    const Real h = mat->StripLength / 100, EI = mat->FlexuralRigidity, B = mat->StripWidth;
    std::vector<Real> jumps;
    for (const auto& p : mat->PointLoads) jumps.push_back(p.a);
    for (const auto& m : mat->Moments) jumps.push_back(m.c);
    for (const auto& d : mat->DistLoads) jumps.push_back(d.b), jumps.push_back(d.e);
    const auto nearJump = [&](int i) {
        return std::any_of(jumps.begin(), jumps.end(),
                           [&](Real x) { return std::fabs(x - i * h) < 2.01L * h; });
    };
    const Real slopeScale = Scale(*mat, &TMatStation::Slope), momentScale = Scale(*mat, &TMatStation::Moment);
    const Real shearScale = Scale(*mat, &TMatStation::Shear);
    const Real qScale = Scale(*mat, &TMatStation::Pressure) * B + 10;
    // The five-point difference errs by about (beta h)^4 / 8 of the scale;
    // the analysis itself is exact to far less than that.
    const Real betaH = mat->Beta * h, tol = 1e-9L + betaH * betaH * betaH * betaH;
    int checked = 0;
    for (int i = 2; i < 99; ++i) {
        if (nearJump(i)) continue;
        const TMatStation* st = &mat->Stations[i];
        const TMatStation& s = *st;
        const auto d = [&](Real TMatStation::*f) {
            return (st[-2].*f - 8 * st[-1].*f + 8 * st[1].*f - st[2].*f) / (12 * h);
        };
        EXPECT_NEAR(d(&TMatStation::Deflection) / Uy(), s.Slope, tol * slopeScale) << "node " << i;
        EXPECT_NEAR(EI * d(&TMatStation::Slope), s.Moment, tol * momentScale) << "node " << i;
        EXPECT_NEAR(d(&TMatStation::Moment), s.Shear, tol * shearScale) << "node " << i;
        EXPECT_NEAR(d(&TMatStation::Shear), s.Pressure * B - LineLoadAt(s.X), tol * qScale) << "node " << i;
        ++checked;
    }
    EXPECT_GT(checked, 50);
}

INSTANTIATE_TEST_SUITE_P(AllClasses, StripEquilibrium, ::testing::ValuesIn(AllCombinations()),
                         [](const auto& info) { return info.param.strip->name + info.param.loads->name; });

class UniformLoadOnly : public ::testing::TestWithParam<TStripCase> {};

// A load spread evenly over the whole strip settles it evenly, however
// flexible the strip.
TEST_P(UniformLoadOnly, SettlesUniformly) {
    const TStripCase& s = GetParam();
    auto mat = Strip(s.units, s.L, s.B, s.T, s.k, s.Fc);
    mat->FullUniformLoad = 4.5L;
    mat->Analyze();
    const Real q = 4.5L / s.B;
    for (const TMatStation& st : mat->Stations) {
        if (st.X < 0 || st.X > s.L) continue;
        EXPECT_NEAR(st.Shear, 0, 1e-9 * 4.5L * s.L);
        EXPECT_NEAR(st.Moment, 0, 1e-9 * 4.5L * s.L * s.L);
        EXPECT_NEAR(st.Slope, 0, 1e-12);
        EXPECT_NEAR(st.Pressure, q, 1e-9 * q);
    }
    EXPECT_EQ(mat->BearingAreaPct, 100);
}

INSTANTIATE_TEST_SUITE_P(AllClasses, UniformLoadOnly, ::testing::ValuesIn(StripCases),
                         [](const auto& info) { return info.param.name; });

TEST(Analysis, SymmetricLoadGivesSymmetricResults) {
    auto mat = Strip(UnitsEnglish, 40, 10, 2, 100, 4);
    mat->PointLoads[0] = {20, 300};
    mat->PointLoads[1] = {6, 50};
    mat->PointLoads[2] = {34, 50};
    mat->Analyze();
    EXPECT_NEAR(mat->MaxShear, -mat->MinShear, 1e-9 * mat->MaxShear);
    // Node 50 lies at the load and reports its left side; the station 1e-9
    // beyond reports the right side.
    EXPECT_EQ(mat->MaxShearX, 20);
    EXPECT_EQ(mat->MinShearX, 20 + 1e-9L);
    for (int i = 0; i <= 50; ++i) {
        const TMatStation &l = mat->Stations[i], &r = mat->Stations[100 - i];
        EXPECT_NEAR(l.Deflection, r.Deflection, 1e-9 * std::fabs(mat->MaxDeflection));
        EXPECT_NEAR(l.Moment, r.Moment, 1e-9 * mat->MaxMoment);
        EXPECT_NEAR(l.Slope, -r.Slope, 1e-12);
    }
}

TEST(Analysis, StationLayout) {
    auto mat = Strip(UnitsEnglish, 30, 10, 2, 100, 4);
    mat->UserX = {0, 12.5L, 30, -1};
    mat->DistLoads[2] = {4, 10, 2, 5};
    mat->PointLoads[0] = {3, 10};
    mat->Moments[1] = {7.5L, 20};
    mat->Analyze();
    EXPECT_EQ(mat->Stations[37].X, 37 * 30.0L / 100);
    EXPECT_EQ(mat->Stations[100].X, 30);
    EXPECT_EQ(mat->Stations[101].X, -1e-9L);
    EXPECT_EQ(mat->Stations[102].X, 12.5L - 1e-9L);
    EXPECT_EQ(mat->Stations[103].X, 30 + 1e-9L);
    EXPECT_EQ(mat->Stations[104].X, 0);
    EXPECT_EQ(mat->Stations[107].X, 7);
    EXPECT_EQ(mat->Stations[111].X, 3);
    EXPECT_EQ(mat->Stations[112].X, 3 + 1e-9L);
    EXPECT_EQ(mat->Stations[137].X, 7.5L);
    EXPECT_EQ(mat->Stations[138].X, 7.5L + 1e-9L);
    // A distributed load is uniform at its start intensity.
    EXPECT_EQ(mat->DistLoads[2].we, 2);
    // The station at a load reports the state just left of it.
    EXPECT_NEAR(mat->Stations[112].Shear - mat->Stations[111].Shear, -10, 1e-6);
    EXPECT_NEAR(mat->Stations[138].Moment - mat->Stations[137].Moment, -20, 1e-6);
}

TEST(Analysis, NoLoadsGiveZeroResultsAndExtremesAtStationZero) {
    auto mat = Strip(UnitsEnglish, 30, 10, 2, 100, 4);
    mat->Analyze();
    for (const TMatStation& s : mat->Stations) {
        EXPECT_EQ(s.Shear, 0);
        EXPECT_EQ(s.Pressure, 0);
    }
    EXPECT_EQ(mat->MaxShear, 0);
    EXPECT_EQ(mat->MinShear, 0);
    EXPECT_EQ(mat->MaxShearX, 0);
    EXPECT_EQ(mat->MaxDeflection, 0);
    EXPECT_EQ(mat->BearingAreaPct, 100);
}

// A load beyond an end keeps its stations there, but the strip ends at 0 and
// L: the extremes, and the design made from them, come from 0 <= X <= L.
TEST(Analysis, StationsOutsideTheStripStayOutOfTheExtremes) {
    struct TCase {
        const char* name;
        Real a;
        bool outsideExceeds; // a station outside holds a value beyond the extremes
    };
    const TCase cases[] = {
        {"10 ft left", -10, true},
        {"10,000 ft left", -10000, true},
        {"6 ft right", 30, true},
        {"at the right end", 24, true}, // its second station lies 1e-9 beyond L
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto mat = Strip(UnitsEnglish, 24, 10, 2, 100, 4);
        mat->PointLoads[0] = {c.a, 100};
        mat->PointLoads[1] = {12, 50};
        ASSERT_NO_THROW(mat->Analyze());
        struct TExtreme {
            Real TMatStation::*field;
            Real TMatData::*value;
            Real TMatData::*x;
            bool largest;
        };
        const TExtreme extremes[] = {
            {&TMatStation::Shear, &TMatData::MaxShear, &TMatData::MaxShearX, true},
            {&TMatStation::Shear, &TMatData::MinShear, &TMatData::MinShearX, false},
            {&TMatStation::Moment, &TMatData::MaxMoment, &TMatData::MaxMomentX, true},
            {&TMatStation::Moment, &TMatData::MinMoment, &TMatData::MinMomentX, false},
            {&TMatStation::Pressure, &TMatData::MaxPressure, &TMatData::MaxPressureX, true},
            {&TMatStation::Pressure, &TMatData::MinPressure, &TMatData::MinPressureX, false},
        };
        bool exceeded = false;
        for (const TExtreme& e : extremes) {
            Real inside = (e.largest ? -1 : 1) * std::numeric_limits<Real>::infinity();
            for (const TMatStation& st : mat->Stations) {
                const Real v = st.*e.field;
                if (st.X >= 0 && st.X <= 24)
                    inside = e.largest ? std::max(inside, v) : std::min(inside, v);
                else
                    exceeded = exceeded || (e.largest ? v > (*mat).*e.value : v < (*mat).*e.value);
            }
            EXPECT_EQ((*mat).*e.value, inside);
            EXPECT_GE((*mat).*e.x, 0);
            EXPECT_LE((*mat).*e.x, 24);
        }
        EXPECT_EQ(exceeded, c.outsideExceeds);
        EXPECT_GE(mat->MaxDeflectionX, 0);
        EXPECT_LE(mat->MaxDeflectionX, 24);
        // The design takes the moments of the strip.
        EXPECT_EQ(mat->MuNeg, mat->MomentLoadFactor * mat->MinMoment);
        EXPECT_EQ(mat->MuPos, mat->MomentLoadFactor * mat->MaxMoment);
    }
}

TEST(Analysis, BearingAreaCountsNodesInTension) {
    auto mat = Strip(UnitsEnglish, 30, 10, 2, 100, 4);
    mat->FullUniformLoad = -1; // uplift everywhere
    mat->Analyze();
    EXPECT_EQ(mat->BearingAreaPct, 0);
    EXPECT_LT(mat->MaxPressure, 0);
}

TEST(Analysis, StiffnessValuesAndClasses) {
    auto mat = Strip(UnitsEnglish, 48, 10, 2, 100, 4);
    mat->EffWidthPercent = 70;
    mat->Analyze();
    EXPECT_DOUBLE_EQ(mat->Inertia, 10 * 8 / 12.0);
    EXPECT_DOUBLE_EQ(mat->ConcreteModulus, 57 * std::sqrt(4000.0));
    // Beta, Lr and B(est.) are pinned from physical units in PinnedNumbersTest.
    // The minimum thicknesses are those at which beta L would be pi and pi/4.
    for (const auto& [T, target] :
         {std::pair{mat->TMinSemiRigid, 3.14159265358979L}, std::pair{mat->TMinRigid, 0.785398163397448L}}) {
        auto probe = Strip(UnitsEnglish, 48, 10, T, 100, 4);
        probe->Analyze();
        EXPECT_NEAR(probe->BetaL, target, 1e-12);
    }
}

// A fault must leave no number of an earlier project on screen: fields the
// analysis did not reach are NaN, fields it did reach are current.
TEST(AnalysisFault, UnreachedResultsAreNaN) {
    auto mat = Strip(UnitsEnglish, 48, 10, 2, 100, 4);
    mat->PointLoads[0] = {24, 100};
    mat->Analyze();
    ASSERT_TRUE(std::isfinite(mat->MaxShear));

    mat->Thickness = 0;
    EXPECT_THROW(mat->Analyze(), EFloatFault);
    EXPECT_EQ(mat->Inertia, 0);
    EXPECT_TRUE(std::isfinite(mat->ConcreteModulus));
    for (Real v : {mat->Beta, mat->BetaL, mat->MaxShear, mat->MinMoment, mat->BearingAreaPct, mat->TopAsReq,
                   mat->ShearUtil, mat->Stations[50].Shear, mat->Stations[3].X, mat->InitTotal[3]})
        EXPECT_TRUE(std::isnan(v));
}

TEST(AnalysisFault, NewProjectWithoutDimensionsFaultsInStiffness) {
    auto mat = slabwise::test::NewModel();
    EXPECT_THROW(mat->Analyze(), EFloatFault);
    EXPECT_TRUE(std::isnan(mat->Beta));
    EXPECT_TRUE(std::isnan(mat->Stations[0].Shear));
}

TEST(AnalysisFault, NaNInputIsAFault) {
    auto mat = Strip(UnitsEnglish, 48, 10, 2, 100, 4);
    mat->PointLoads[4] = {std::numeric_limits<Real>::quiet_NaN(), 0};
    EXPECT_THROW(mat->Analyze(), EFloatFault);
}

// A load the first station does not feel still faults there: its values
// are part of every station's terms, so no station keeps a number.
TEST(AnalysisFault, FaultyLoadFaultsAtTheFirstStationWhereverItStands) {
    constexpr Real NaN = std::numeric_limits<Real>::quiet_NaN(), Inf = std::numeric_limits<Real>::infinity();
    const std::vector<std::pair<std::string, std::function<void(TMatData&)>>> cases = {
        {"point value at the right end",
         [](TMatData& m) {
             m.PointLoads[2] = {m.StripLength, NaN};
         }},
        {"point value beyond the strip",
         [](TMatData& m) {
             m.PointLoads[11] = {m.StripLength + 5, Inf};
         }},
        {"moment at the left end",
         [](TMatData& m) {
             m.Moments[1] = {0, -Inf};
         }},
        {"segment ending at the right end",
         [](TMatData& m) {
             m.DistLoads[3] = {m.StripLength / 2, m.StripLength, NaN, 0};
         }},
        {"end of an unloaded segment",
         [](TMatData& m) {
             m.DistLoads[0] = {1, NaN, 0, 0};
         }},
        {"full uniform load", [](TMatData& m) { m.FullUniformLoad = Inf; }},
    };
    for (const auto& [name, apply] : cases) {
        auto mat = Strip(UnitsEnglish, 48, 10, 2, 100, 4);
        mat->PointLoads[0] = {24, 100};
        apply(*mat);
        EXPECT_THROW(mat->Analyze(), EFloatFault) << name;
        for (int i : {0, 50, 100, StationCount - 1}) {
            EXPECT_TRUE(std::isnan(mat->Stations[i].X)) << name << ", station " << i;
            EXPECT_TRUE(std::isnan(mat->Stations[i].LoadTerms[0])) << name << ", station " << i;
        }
    }
}

// Values worked by hand at beta x = 1, and the relations between the four
// functions that the finite-beam tables rest on: F1' = -F4, F2' = 2 F1,
// F3' = F2, F4' = 2 F3 (derivatives in beta x).
TEST(BeamFunctions, HandValuesAndTheirDerivatives) {
    const Real beta = 0.25L;
    const TBeamFunctions f(beta, 20);
    const Real x = 1 / beta;
    const Real hand[] = {0.83373002513115L, 1.93342149620071L, 0.98889770576287L, 0.66349366663124L};
    for (int code = 1; code <= 4; ++code)
        EXPECT_NEAR(f.FunctionValue(code, x), hand[code - 1], 1e-13L) << code;
    EXPECT_NEAR(f.FunctionValue(11, x), 0.67302442726824L, 1e-13L);
    EXPECT_EQ(f.FunctionValue(1, 0), 1);
    EXPECT_EQ(f.FunctionValue(5, x), 0);

    for (Real z : {Real(0.3), Real(2.2), Real(7.5)}) {
        const Real h = 1e-4L, at = z / beta, dx = h / beta;
        const auto d = [&](int code) {
            return (f.FunctionValue(code, at + dx) - f.FunctionValue(code, at - dx)) / (2 * h);
        };
        const Real scale = std::cosh(z);
        EXPECT_NEAR(d(1), -f.FunctionValue(4, at), 1e-7L * scale) << static_cast<double>(z);
        EXPECT_NEAR(d(2), 2 * f.FunctionValue(1, at), 1e-7L * scale) << static_cast<double>(z);
        EXPECT_NEAR(d(3), f.FunctionValue(2, at), 1e-7L * scale) << static_cast<double>(z);
        EXPECT_NEAR(d(4), 2 * f.FunctionValue(3, at), 1e-7L * scale) << static_cast<double>(z);
    }
}

// Node stations take their angles as sums of those of fewer positions, and
// the end values come from the angles of L and of the load: both must agree
// with the functions evaluated at their own arguments, from rigid strips to
// the longest, including a load off the strip and one at a node.
TEST(Analysis, SharedAnglesMatchDirectEvaluation) {
    struct TCase {
        const char* name;
        Real L, T, k, Fc;
    };
    const TCase cases[] = {
        {"beta L 4", 48, 2.5L, 100, 4},
        {"beta L 21", 120, 1.5L, 300, 3},
        {"beta L 233", 500, 0.67L, 999, 2},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto mat = Strip(UnitsEnglish, c.L, 10, c.T, c.k, c.Fc);
        mat->FullUniformLoad = 1;
        mat->PointLoads[0] = {c.L * 0.37L, 80};
        mat->PointLoads[1] = {c.L * 0.5L, 40}; // on node 50
        mat->PointLoads[2] = {-2, 30};
        mat->Moments[0] = {c.L * 0.81L, 60};
        ASSERT_NO_THROW(mat->Analyze());
        const Real beta = mat->Beta, L = mat->StripLength;
        const TBeamFunctions f(beta, L);
        const auto near = [](Real got, Real want, Real z, const char* what, int at) {
            const Real scale = std::cosh(z);
            EXPECT_NEAR(got, want, 1e-15L * scale) << what << " at " << at;
        };
        for (int i = 0; i < NodeCount; ++i) {
            const TMatStation& s = mat->Stations[i];
            const Real z = beta * s.X;
            const TFourFunctions v = f.Values(s.X);
            near(s.F1, v.F1, z, "F1", i);
            near(s.F2, v.F2, z, "F2", i);
            near(s.F3, v.F3, z, "F3", i);
            near(s.F4, v.F4, z, "F4", i);
            for (int m = 0; m < 3; ++m) {
                const Real a = mat->PointLoads[m].a;
                const TStepGroup step = f.StepGroup(a, s.X);
                for (int q = 0; q < 5; ++q)
                    near(s.PointTerms[m][2 + q], step[q], beta * (s.X - a), "step", i);
            }
        }
        const auto ends = [&](const TConcentratedTerms& t, Real a, Real second) {
            const TFourFunctions v = f.Values(L - a);
            near(t[0], v.F1, beta * (L - a), "end F1", 0);
            near(t[1], second, beta * (L - a), "end F2 or F4", 0);
        };
        for (int m = 0; m < 3; ++m) {
            const Real a = mat->PointLoads[m].a;
            ends(mat->Stations[0].PointTerms[m], a, f.Values(L - a).F2);
        }
        ends(mat->Stations[0].MomentTerms[0], mat->Moments[0].c, f.Values(L - mat->Moments[0].c).F4);
        near(mat->Stations[0].UniformTerms[0], f.Values(L).F2, beta * L, "uniform end F2", 0);
        near(mat->Stations[0].UniformTerms[3], f.Values(0).F3, 0, "uniform end F3", 0);
    }
}

TEST(BeamFunctions, StepGroupActsStrictlyRightOfTheLoad) {
    const TBeamFunctions f(0.3L, 20);
    for (Real X : {Real(2), Real(1), Real(-5)})
        for (Real v : f.StepGroup(2, X)) EXPECT_EQ(v, 0);
    const TStepGroup just = f.StepGroup(2, 2 + 1e-9L);
    EXPECT_NEAR(just[0], 1, 1e-15);
    EXPECT_NEAR(just[1], 2 * 0.3L * 1e-9L, 1e-18);
    EXPECT_NEAR(just[4], 0, 1e-15);
}

} // namespace
