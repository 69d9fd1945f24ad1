// Soil that takes no tension, against a reference that shares nothing with
// the program's closed forms: the beam equation marched as a first-order
// system by Taylor series in 50 decimal digits, shot from the free left end
// to the free right end, with its own search for the zeros of the deflection.

#include "model/ContactZones.h"
#include "model/ProjectFile.h"
#include "support/TestModels.h"

#include <boost/multiprecision/cpp_bin_float.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

using namespace slabwise;
using Big = boost::multiprecision::cpp_bin_float_50;

namespace {

// y, theta, M, V and the constant 1 that carries the loads.
using TVector = std::array<Big, 5>;
// The state as a combination of the unknown left-end deflection and slope
// and the constant: columns y0, theta0, 1.
using TColumns = std::array<TVector, 3>;

struct TZone {
    Big a, b;
};

class TReference {
public:
    explicit TReference(const TMatData& m)
        : beta_(Big(m.Beta)), EI_(Big(m.FlexuralRigidity)), L_(Big(m.StripLength)),
          K_(4 * beta_ * beta_ * beta_ * beta_ * EI_) {
        const auto addSegment = [&](Real w, Real b, Real e) {
            if (w == 0 || b == e) return;
            if (b > e) std::swap(b, e), w = -w;
            segments_.push_back({Big(w), Big(b), Big(e)});
        };
        addSegment(m.FullUniformLoad, 0, m.StripLength);
        for (const TDistLoad& d : m.DistLoads) addSegment(d.wb, d.b, d.e);
        for (const TPointLoad& p : m.PointLoads)
            if (p.P != 0) jumps_.push_back({Big(p.a), Big(p.P), Big(0)});
        for (const TAppliedMoment& c : m.Moments)
            if (c.M != 0) jumps_.push_back({Big(c.c), Big(0), Big(c.M)});
        for (const auto& s : segments_) breaks_.insert(breaks_.end(), {s[1], s[2]});
        for (const auto& j : jumps_) breaks_.push_back(j[0]);
    }

    // The zones settle from full contact by moving to the zeros of y.
    void Solve() {
        zones_ = {{0, L_}};
        for (int step = 0; step < 40; ++step) {
            Shoot();
            const std::vector<TZone> next = ZonesFromSigns();
            bool same = next.size() == zones_.size();
            Big moved = 0;
            for (size_t i = 0; same && i < next.size(); ++i)
                moved = std::max({moved, abs(next[i].a - zones_[i].a), abs(next[i].b - zones_[i].b)});
            zones_ = next;
            if (same && moved < L_ * Big("1e-40")) {
                Shoot();
                return;
            }
        }
        ADD_FAILURE() << "the reference did not settle";
    }

    const std::vector<TZone>& Zones() const { return zones_; }

    // y, theta, M, V just left of any load at X.
    TVector At(const Big& X) const {
        TVector s = Combine(start_);
        if (X < 0) return Advance(s, Big(0), X);
        return Advance(s, Big(0), X);
    }

private:
    // Beyond an end the end's zone continues, as the program's stations do.
    bool InContact(Big x) const {
        x = std::min(std::max(x, Big(0)), L_);
        for (const TZone& z : zones_)
            if (x >= z.a && x <= z.b) return true;
        return false;
    }
    Big LoadAt(const Big& x) const {
        Big w = 0;
        for (const auto& s : segments_)
            if (x > s[1] && x < s[2]) w += s[0];
        return w;
    }

    // One step of length h with constant springs and load, by Taylor series.
    void Step(TVector& v, const Big& h, bool contact, const Big& w) const {
        TVector term = v, sum = v;
        for (int n = 1; n <= 60; ++n) {
            const TVector d{term[1], term[2] / EI_, term[3], -w * term[4] - (contact ? K_ * term[0] : Big(0)),
                            0};
            for (int i = 0; i < 5; ++i) term[i] = d[i] * h / n;
            for (int i = 0; i < 5; ++i) sum[i] += term[i];
            if (n > 8 && term[0] == 0 && term[1] == 0 && term[2] == 0 && term[3] == 0) break;
        }
        v = sum;
    }

    // A smooth piece from a to b, in steps of at most a quarter radian.
    void Piece(TVector& v, const Big& a, const Big& b) const {
        if (a == b) return;
        const Big mid = (a + b) / 2;
        const bool contact = InContact(mid);
        const Big w = LoadAt(mid);
        const int steps = std::max(1, static_cast<int>(ceil(abs(b - a) * beta_ * 4).convert_to<double>()));
        const Big h = (b - a) / steps;
        for (int i = 0; i < steps; ++i) Step(v, h, contact, w);
    }

    void Jump(TVector& v, const Big& x) const {
        for (const auto& j : jumps_)
            if (j[0] == x) v[3] -= j[1] * v[4], v[2] -= j[2] * v[4];
    }
    void ApplyJumpsAt(TColumns& c, const Big& x) const {
        for (TVector& v : c) Jump(v, x);
    }

    // From a (state just left of loads at a) to b (just left of loads at b).
    TVector Advance(TVector v, const Big& a, const Big& b) const {
        if (b < a) {
            Piece(v, a, b);
            return v;
        }
        std::vector<Big> cuts{a, b};
        for (const Big& x : breaks_)
            if (x > a && x < b) cuts.push_back(x);
        for (const TZone& z : zones_)
            for (const Big& x : {z.a, z.b})
                if (x > a && x < b) cuts.push_back(x);
        std::sort(cuts.begin(), cuts.end());
        cuts.erase(std::unique(cuts.begin(), cuts.end()), cuts.end());
        for (size_t i = 0; i + 1 < cuts.size(); ++i) {
            Jump(v, cuts[i]);
            Piece(v, cuts[i], cuts[i + 1]);
        }
        return v;
    }
    TColumns AdvanceColumns(TColumns c, const Big& a, const Big& b) const {
        for (TVector& v : c) v = Advance(v, a, b);
        return c;
    }
    TVector Combine(const TColumns& c) const {
        TVector s{};
        for (int i = 0; i < 5; ++i) s[i] = y0_ * c[0][i] + theta0_ * c[1][i] + c[2][i];
        return s;
    }

    // Free ends: M = V = 0 at 0 and just right of any load at L.
    void Shoot() {
        start_ = {TVector{1, 0, 0, 0, 0}, TVector{0, 1, 0, 0, 0}, TVector{0, 0, 0, 0, 1}};
        y0_ = theta0_ = 0;
        TColumns end = AdvanceColumns(start_, Big(0), L_);
        ApplyJumpsAt(end, L_);
        const Big a11 = end[0][2], a12 = end[1][2], a21 = end[0][3], a22 = end[1][3];
        const Big r1 = -end[2][2], r2 = -end[2][3];
        const Big det = a11 * a22 - a12 * a21;
        y0_ = (r1 * a22 - a12 * r2) / det;
        theta0_ = (a11 * r2 - a21 * r1) / det;
    }

    std::vector<TZone> ZonesFromSigns() const {
        const int n = std::max(400, static_cast<int>((beta_ * L_ * 16).convert_to<double>()));
        std::vector<Big> xs, ys;
        TVector s = Combine(start_);
        Big at = 0;
        for (int i = 0; i <= n; ++i) {
            const Big x = L_ * i / n;
            s = Advance(s, at, x);
            at = x;
            xs.push_back(x);
            ys.push_back(s[0]);
        }
        std::vector<TZone> zones;
        bool contact = ys[0] <= 0;
        Big start = 0;
        for (int i = 1; i <= n; ++i) {
            const bool pressing = ys[i] <= 0;
            if (pressing == contact) continue;
            // Bisection, each probe marched from the sample on its left.
            const TVector left = At(xs[i - 1]);
            Big lo = xs[i - 1], hi = xs[i];
            for (int k = 0; k < 170; ++k) {
                const Big mid = (lo + hi) / 2;
                if ((Advance(left, xs[i - 1], mid)[0] <= 0) == (ys[i - 1] <= 0))
                    lo = mid;
                else
                    hi = mid;
            }
            const Big x = (lo + hi) / 2;
            if (contact) zones.push_back({start, x});
            start = x;
            contact = pressing;
        }
        if (contact) zones.push_back({start, L_});
        return zones;
    }

    Big beta_, EI_, L_, K_;
    std::vector<std::array<Big, 3>> segments_; // w, from, to
    std::vector<std::array<Big, 3>> jumps_;    // position, P, M
    std::vector<Big> breaks_;
    std::vector<TZone> zones_;
    TColumns start_{};
    Big y0_ = 0, theta0_ = 0;
};

struct TCase {
    const char* name;
    uint8_t units;
    Real L, B, T, k, Fc;
    std::vector<TPointLoad> points;
    std::vector<TAppliedMoment> moments;
    std::vector<TDistLoad> dists;
    Real uniform;
    size_t zones; // contact zones expected
};

std::unique_ptr<TMatData> Build(const TCase& c) {
    auto m = test::Strip(c.units, c.L, c.B, c.T, c.k, c.Fc);
    m->FullUniformLoad = c.uniform;
    for (size_t i = 0; i < c.points.size(); ++i) m->PointLoads[i] = c.points[i];
    for (size_t i = 0; i < c.moments.size(); ++i) m->Moments[i] = c.moments[i];
    for (size_t i = 0; i < c.dists.size(); ++i) m->DistLoads[i] = c.dists[i];
    m->UserX = {c.L / 3, c.L, 0, c.L / 2};
    m->SoilTakesNoTension = 1;
    return m;
}

// Strips that lift, from rigid to long: every station against the reference
// to 1e-9 of each quantity's largest value, and the zones to 1e-9 L.
const TCase LiftingStrips[] = {
    {"central load lifts both ends", UnitsEnglish, 40, 6, 1.5L, 150, 4, {{20, 300}}, {}, {}, 0, 1},
    {"end moment lifts the far end", UnitsEnglish, 30, 5, 2, 100, 4, {}, {{0, 400}}, {{0, 30, 1, 1}}, 0, 1},
    {"two columns, uplift between (SI)",
     UnitsSI,
     20,
     2.5L,
     0.5L,
     30000,
     30,
     {{1.5L, 700}, {18.5L, 700}, {10, -100}},
     {},
     {},
     0,
     2},
    {"rigid strip, eccentric column", UnitsSI, 6, 2, 1.2L, 20000, 30, {{0.8L, 500}}, {}, {}, 0, 1},
    {"long strip, loads on segments",
     UnitsEnglish,
     200,
     8,
     1.25L,
     250,
     4,
     {{10, 150}, {100, -40}, {190, 150}},
     {{60, -200}},
     {{30, 70, 1.5L, 1.5L}},
     0.2L,
     3},
};

class LiftOff : public ::testing::TestWithParam<TCase> {};

TEST_P(LiftOff, AgreesWithTheReference) {
    const TCase& c = GetParam();
    auto m = Build(c);
    m->Analyze();
    TReference ref(*m);
    ref.Solve();

    ASSERT_EQ(m->ContactZones.size(), c.zones);
    ASSERT_EQ(ref.Zones().size(), c.zones);
    for (size_t i = 0; i < c.zones; ++i) {
        EXPECT_NEAR(static_cast<double>(m->ContactZones[i].Start), ref.Zones()[i].a.convert_to<double>(),
                    1e-9 * static_cast<double>(c.L));
        EXPECT_NEAR(static_cast<double>(m->ContactZones[i].End), ref.Zones()[i].b.convert_to<double>(),
                    1e-9 * static_cast<double>(c.L));
    }

    const Real Uy = m->ByUnits(12, 1000), kf = m->ByUnits(1.728, 1);
    std::vector<std::array<Real, 5>> expected;
    std::array<Real, 5> scale{};
    for (const TMatStation& s : m->Stations) {
        const TVector r = ref.At(Big(s.X));
        const Real y = r[0].convert_to<Real>();
        const Big at = std::min(std::max(Big(s.X), Big(0)), Big(c.L));
        bool contact = false;
        for (const TZone& z : ref.Zones()) contact = contact || (at >= z.a && at <= z.b);
        const std::array<Real, 5> e{r[3].convert_to<Real>(), r[2].convert_to<Real>(), r[1].convert_to<Real>(),
                                    y * Uy, contact ? std::max(-y * m->SubgradeModulus * kf, Real(0)) : 0};
        for (int q = 0; q < 5; ++q) scale[q] = std::max(scale[q], std::fabs(e[q]));
        expected.push_back(e);
    }
    const char* names[] = {"V", "M", "theta", "y", "q"};
    for (size_t i = 0; i < StationCount; ++i) {
        const TMatStation& s = m->Stations[i];
        const Real got[] = {s.Shear, s.Moment, s.Slope, s.Deflection, s.Pressure};
        for (int q = 0; q < 5; ++q)
            ASSERT_LE(std::fabs(got[q] - expected[i][q]), 1e-9L * scale[q])
                << names[q] << " at station " << i << " X = " << static_cast<double>(s.X);
    }

    // Free ends to round-off (no load stands at an end here), and the
    // contact share is the zones' length.
    for (int station : {0, NodeCount - 1}) {
        EXPECT_LE(std::fabs(m->Stations[station].Shear), 1e-15L * scale[0]) << station;
        EXPECT_LE(std::fabs(m->Stations[station].Moment), 1e-15L * scale[1]) << station;
    }
    Real share = 0;
    for (const TContactZone& z : m->ContactZones) share += z.End - z.Start;
    EXPECT_NEAR(static_cast<double>(m->BearingAreaPct), static_cast<double>(share / c.L * 100), 1e-12);
    EXPECT_LT(m->BearingAreaPct, 100);
    EXPECT_GE(m->MinPressure, 0);
}

void PrintTo(const TCase& c, std::ostream* out) {
    *out << c.name;
}

INSTANTIATE_TEST_SUITE_P(Strips, LiftOff, ::testing::ValuesIn(LiftingStrips), [](const auto& info) {
    std::string name;
    for (const char* p = info.param.name; *p; ++p)
        if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
    return name;
});

// The soil under the contact zones carries the loads: force and moment about
// the left end, integrated by Gauss-Legendre between the breaks of the
// pressure, to round-off.
TEST(LiftOffEquilibrium, SoilCarriesTheLoads) {
    for (const TCase& c : LiftingStrips) {
        SCOPED_TRACE(c.name);
        auto m = Build(c);
        m->Analyze();
        TContactBeam beam(m->Beta, m->FlexuralRigidity, m->StripLength);
        Real force = 0, moment = 0;
        std::vector<Real> breaks;
        const auto segment = [&](Real w, Real b, Real e) {
            beam.AddSegment(w, b, e);
            force += w * (e - b), moment += w * (e - b) * (b + e) / 2;
            breaks.insert(breaks.end(), {b, e});
        };
        segment(c.uniform, 0, c.L);
        for (const TDistLoad& d : c.dists) segment(d.wb, d.b, d.e);
        for (const TPointLoad& p : c.points) {
            beam.AddPoint(p.P, p.a);
            force += p.P, moment += p.P * p.a;
            breaks.push_back(p.a);
        }
        for (const TAppliedMoment& t : c.moments) {
            beam.AddMoment(t.M, t.c);
            moment -= t.M; // the bending moment drops by M across c
            breaks.push_back(t.c);
        }
        beam.Solve();
        ASSERT_EQ(beam.Contact(), m->ContactZones);

        // Five-point Gauss-Legendre on pieces of at most 0.05 / beta.
        const Real nodes[] = {0, -0.5384693101056830910L, 0.5384693101056830910L, -0.9061798459386639928L,
                              0.9061798459386639928L};
        const Real weights[] = {0.5688888888888888889L, 0.4786286704993664680L, 0.4786286704993664680L,
                                0.2369268850561890875L, 0.2369268850561890875L};
        const Real K = 4 * std::pow(m->Beta, Real(4)) * m->FlexuralRigidity;
        Real soilForce = 0, soilMoment = 0;
        for (const TContactZone& z : beam.Contact()) {
            std::vector<Real> cuts{z.Start, z.End};
            for (Real x : breaks)
                if (x > z.Start && x < z.End) cuts.push_back(x);
            std::sort(cuts.begin(), cuts.end());
            for (size_t i = 0; i + 1 < cuts.size(); ++i) {
                const int pieces = 1 + static_cast<int>((cuts[i + 1] - cuts[i]) * m->Beta / 0.05L);
                const Real h = (cuts[i + 1] - cuts[i]) / pieces;
                for (int p = 0; p < pieces; ++p) {
                    const Real mid = cuts[i] + (p + Real(0.5)) * h;
                    for (int g = 0; g < 5; ++g) {
                        const Real x = mid + nodes[g] * h / 2;
                        const Real q = -K * beam.At(x).Y * weights[g] * h / 2;
                        soilForce += q, soilMoment += q * x;
                    }
                }
            }
        }
        EXPECT_NEAR(static_cast<double>(soilForce), static_cast<double>(force), 1e-12 * std::fabs(force));
        EXPECT_NEAR(static_cast<double>(soilMoment), static_cast<double>(moment),
                    1e-12 * std::fabs(force) * static_cast<double>(c.L));
    }
}

// Where the strip presses the soil everywhere, the option changes nothing:
// every result equals the linear analysis bit for bit.
TEST(LiftOffLinear, StripThatDoesNotLiftKeepsTheLinearResults) {
    const TCase strips[] = {
        {"uniform load", UnitsEnglish, 48, 10, 2.5L, 100, 4, {}, {}, {}, 3, 1},
        {"no load at all", UnitsEnglish, 48, 10, 2.5L, 100, 4, {}, {}, {}, 0, 1},
        {"columns on a loaded strip (SI)",
         UnitsSI,
         20,
         2.5L,
         0.5L,
         30000,
         30,
         {{1.5L, 700}, {18.5L, 700}},
         {},
         {},
         80,
         1},
        {"long strip", UnitsEnglish, 400, 8, 1.5L, 250, 4, {{100, 50}, {300, 50}}, {}, {}, 4, 1},
    };
    for (const TCase& c : strips) {
        SCOPED_TRACE(c.name);
        auto on = Build(c);
        auto off = Build(c);
        off->SoilTakesNoTension = 0;
        on->Analyze();
        off->Analyze();
        ASSERT_EQ(on->ContactZones, (std::vector<TContactZone>{{0, c.L}}));
        EXPECT_TRUE(off->ContactZones.empty());
        for (size_t i = 0; i < StationCount; ++i) {
            const TMatStation &a = on->Stations[i], &b = off->Stations[i];
            EXPECT_TRUE(a.Shear == b.Shear && a.Moment == b.Moment && a.Slope == b.Slope &&
                        a.Deflection == b.Deflection && a.Pressure == b.Pressure)
                << i;
        }
        for (Real TMatData::*field :
             {&TMatData::MaxShear, &TMatData::MinShear, &TMatData::MaxMoment, &TMatData::MinMoment,
              &TMatData::MaxDeflection, &TMatData::MaxPressure, &TMatData::MinPressure,
              &TMatData::BearingAreaPct, &TMatData::TopAsReq, &TMatData::BotAsReq, &TMatData::ShearUtil})
            EXPECT_EQ((*on).*field, (*off).*field);
        EXPECT_EQ(on->InitTotal, off->InitTotal);
        EXPECT_EQ(on->InitPoint, off->InitPoint);
    }
}

// No contact can hold these loads: every result is N.A., the message says
// why, and the next analysis without the fault clears it.
TEST(LiftOffNoAnswer, EveryResultIsNotAvailable) {
    const std::pair<TCase, const char*> cases[] = {
        {{"net uplift", UnitsEnglish, 40, 6, 1.5L, 150, 4, {{20, -300}}, {}, {}, 0, 0}, NoEquilibriumText},
        {{"uplift outweighs the strip's loads",
          UnitsSI,
          20,
          2.5L,
          0.5L,
          30000,
          30,
          {{5, 100}, {15, -150}},
          {},
          {},
          0,
          0},
         NoEquilibriumText},
        {{"resultant beyond the end", UnitsEnglish, 40, 6, 1.5L, 150, 4, {{2, 100}}, {{2, 1000}}, {}, 0, 0},
         NoEquilibriumText},
        {{"a couple alone", UnitsEnglish, 40, 6, 1.5L, 150, 4, {}, {{10, 100}, {30, -200}}, {}, 0, 0},
         NoEquilibriumText},
        {{"load outside the strip", UnitsEnglish, 40, 6, 1.5L, 150, 4, {{45, 100}, {20, 100}}, {}, {}, 0, 0},
         LoadOutsideStripText},
    };
    for (const auto& [c, message] : cases) {
        SCOPED_TRACE(c.name);
        auto m = Build(c);
        try {
            m->Analyze();
            ADD_FAILURE() << "analysed";
        } catch (const ENoEquilibrium& e) {
            EXPECT_STREQ(e.what(), message);
        }
        EXPECT_EQ(m->ContactMessage, message);
        EXPECT_TRUE(m->ContactZones.empty());
        for (const TMatStation& s : m->Stations)
            for (Real v : {s.Shear, s.Moment, s.Slope, s.Deflection, s.Pressure}) ASSERT_TRUE(std::isnan(v));
        for (Real v : {m->MaxShear, m->MinMoment, m->MaxPressure, m->MaxDeflection, m->BearingAreaPct,
                       m->MuPos, m->TopAsReq, m->ShearUtil, m->InitTotal[3]})
            EXPECT_TRUE(std::isnan(v));

        m->SoilTakesNoTension = 0;
        m->PointLoads[0].a = 10, m->PointLoads[0].P = 100;
        m->Analyze();
        EXPECT_TRUE(m->ContactMessage.empty());
        EXPECT_FALSE(std::isnan(m->MaxMoment));
    }
}

// Off, the file stays a version 0.5 file byte for byte; on, it is 0.6 with
// the flag appended, and both read back.
TEST(LiftOffFile, RoundTripInBothVersions) {
    for (uint8_t flag : {0, 1}) {
        SCOPED_TRACE(int(flag));
        auto m = test::NewModel(UnitsSI);
        m->StripLength = 20, m->Thickness = 0.5L;
        m->SoilTakesNoTension = flag;
        std::ostringstream out;
        m->SaveToStream(out);
        const std::string bytes = out.str();
        EXPECT_EQ(bytes.size(), flag ? 883u : 882u);
        EXPECT_EQ(bytes.substr(51, 4), flag ? std::string("\x03"
                                                          "0.6")
                                            : std::string("\x03"
                                                          "0.5"));
        if (flag) {
            EXPECT_EQ(bytes.back(), '\x01');
        }

        auto back = test::NewModel(UnitsEnglish);
        back->SoilTakesNoTension = flag ? 0 : 1;
        std::istringstream in(bytes);
        back->LoadFromStream(in);
        EXPECT_EQ(back->SoilTakesNoTension, flag);
        EXPECT_EQ(back->FileVersion, flag ? 0.6 : 0.5);
        EXPECT_EQ(back->StripLength, 20);
    }

    auto m = test::NewModel();
    m->SoilTakesNoTension = 1;
    std::ostringstream out;
    m->SaveToStream(out);
    std::string bytes = out.str();
    // A flag the program does not know is not its file; a file cut before
    // the flag keeps the new project's.
    bytes.back() = 2;
    std::istringstream wrong(bytes);
    EXPECT_THROW(m->LoadFromStream(wrong), EWrongFileFormat);
    bytes.pop_back();
    std::istringstream cut(bytes);
    m->LoadFromStream(cut);
    EXPECT_EQ(m->SoilTakesNoTension, 0);
}

} // namespace
