// The closed-form solution of the free finite beam on a Winkler foundation:
// initial parameters at the left end chosen so that shear and moment vanish
// at the right end, then every station by superposition of the loads.

#include "BeamFunctions.h"
#include "DecayingBeam.h"
#include "FloatFault.h"
#include "MatData.h"
#include "ResultFields.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <numbers>

namespace slabwise {

namespace {

constexpr Real NaN = std::numeric_limits<Real>::quiet_NaN();

// The initial-parameter form loses about e^(beta L) units in the last place
// of the results' scale: up to 12 that is 1e-13, at 20 already near 1e-9.
// Beyond it the decaying form is used.
constexpr Real DecayingFormAbove = 12;

// Every real of a station but the five results.
template <typename F> void ForEachTerm(TMatStation& s, F&& f) {
    f(s.X);
    f(s.F1), f(s.F2), f(s.F3), f(s.F4);
    for (Real& v : s.UniformTerms) f(v);
    for (auto& group : s.DistTerms)
        for (Real& v : group) f(v);
    for (auto& group : s.PointTerms)
        for (Real& v : group) f(v);
    for (auto& group : s.MomentTerms)
        for (Real& v : group) f(v);
    for (auto* terms : {&s.LoadTermsDist, &s.LoadTermsPoint, &s.LoadTermsMoment, &s.LoadTerms})
        for (Real& v : *terms) f(v);
}

template <typename F> void ForEachReal(TMatStation& s, F&& f) {
    ForEachTerm(s, f);
    f(s.Shear), f(s.Moment), f(s.Slope), f(s.Deflection), f(s.Pressure);
}

void CheckAllFinite(std::initializer_list<Real> values) {
    for (Real v : values) TFaultWatch::CheckFinite(v, "station load terms");
}

void CheckAngle(const TBeamAngle& a) {
    CheckAllFinite({a.Ep, a.Em, a.C, a.S});
}

// Term groups are filled by copying bytes: an extended real that passes
// through the x87 registers costs several times as much, and a station holds
// over two hundred of them.
template <size_t N, size_t M> void Put(std::array<Real, N>& to, size_t at, const std::array<Real, M>& from) {
    static_assert(M <= N);
    std::memcpy(to.data() + at, from.data(), sizeof from);
}

// Step groups of all load positions at one station. Loads that share a
// position share one slot and one evaluation, so they see the same bits.
// Only slots left of the station act on it; the others stay exact zeros.
// Walking the slots in the order of their positions, the acting ones come
// first and the walk stops at the first that does not act.
class TStepTable {
public:
    int Slot(Real a) {
        const int found = Find(a);
        if (found < count_) return found;
        positions_[count_] = a;
        return count_++;
    }
    // The slot of a position, or the count when it has none.
    int Find(Real a) const {
        int i = 0;
        while (i < count_ && !(positions_[i] == a)) ++i;
        return i;
    }
    // Throws when a position's angle is not finite; with finite angles a
    // group can only fail by an overflow or invalid operation, which the
    // fault flags report.
    void Prepare(const TBeamFunctions& functions) {
        for (int i = 0; i < count_; ++i) {
            angles_[i] = functions.Angle(positions_[i]);
            CheckAngle(angles_[i]);
            order_[i] = i;
        }
        std::sort(order_.begin(), order_.begin() + count_,
                  [this](int a, int b) { return positions_[a] < positions_[b]; });
        for (int r = 0; r < count_; ++r) {
            const int i = order_[r];
            sorted_[r] = {positions_[i], angles_[i].Ep / 2, angles_[i].Em / 2, angles_[i].C, angles_[i].S};
        }
    }
    // The halved exponentials give cosh and sinh without a division: scaling
    // by two is exact, so the bits are those of (up + down) / 2.
    void Evaluate(Real X, const TBeamAngle& x) {
        const int count = count_;
        int acting = 0;
        for (; acting < count && sorted_[acting].position < X; ++acting) {
            const TSorted& a = sorted_[acting];
            const Real up = x.Ep * a.halfEm, down = x.Em * a.halfEp;
            const Real ch = up + down, sh = up - down;
            const Real c = x.C * a.C + x.S * a.S, s = x.S * a.C - x.C * a.S;
            const Real f1 = ch * c;
            TStepGroup& g = groups_[order_[acting]];
            g[0] = f1, g[1] = ch * s + sh * c, g[2] = sh * s, g[3] = ch * s - sh * c, g[4] = 1 - f1;
        }
        acting_ = acting;
        for (int r = acting; r < count; ++r) std::memset(groups_[order_[r]].data(), 0, sizeof(TStepGroup));
    }
    const TStepGroup& operator[](int slot) const { return groups_[slot]; }
    const TBeamAngle& Angle(int slot) const { return angles_[slot]; }
    Real Position(int slot) const { return positions_[slot]; }
    int Count() const { return count_; }
    int AtRank(int rank) const { return order_[rank]; }
    int Acting() const { return acting_; }

    static constexpr int Capacity = 2 + 2 * DistLoadCount + PointLoadCount + MomentCount;

private:
    // A slot's position and angle in the order of the positions.
    struct TSorted {
        Real position, halfEp, halfEm, C, S;
    };
    std::array<Real, Capacity> positions_{};
    std::array<TBeamAngle, Capacity> angles_{};
    std::array<TSorted, Capacity> sorted_{};
    std::array<TStepGroup, Capacity> groups_{};
    std::array<int, Capacity> order_{};
    int count_ = 0, acting_ = 0;
};

// A load's factors of its four load terms, fixed for the whole strip, and
// the slots of its step groups.
struct TLoadFactors {
    TLoadTerms k;
    int slot, endSlot;
};

// With the station's basis b = (e^z cos z, e^z sin z, e^-z cos z, e^-z sin z)
// / 2 at z = beta X, each of F1 to F4 of beta (X - a) is b . f for four
// factors f of the load's angle, and Fa5 = 1 - F1. So the load terms of all
// loads left of a station are b times running sums of their factors, taken
// over the slots in the order of their positions: a few products per station
// instead of a few per load. Each sum ends on its largest terms, so its error
// is that of the direct sum, a unit in the last place of the largest term.
using TBasis = std::array<Real, 4>;
struct TTermSums {
    std::array<TBasis, 4> F; // by load term, by basis value
    TLoadTerms R;            // the constant of Fa5
};

// F1 to F4 of beta (X - a) as factors of the station's basis.
std::array<TBasis, 4> AngleFactors(const TBeamAngle& a) {
    const Real pc = a.Em * a.C, ps = a.Em * a.S, mc = a.Ep * a.C, ms = a.Ep * a.S;
    return {{{pc, ps, mc, ms},
             {pc - ps, pc + ps, -mc - ms, mc - ms},
             {-ps, pc, ms, -mc},
             {-pc - ps, pc - ps, mc - ms, mc + ms}}};
}

TBasis Basis(const TBeamAngle& x) {
    return {x.Ep * x.C / 2, x.Ep * x.S / 2, x.Em * x.C / 2, x.Em * x.S / 2};
}

Real Dot(const TBasis& b, const TBasis& f) {
    return b[0] * f[0] + b[1] * f[1] + b[2] * f[2] + b[3] * f[3];
}

} // namespace

void TMatData::ClearResults() {
    ClearResultFields(*this);
}

void TMatData::Analyze() {
    // Results are NaN until computed, so a fault leaves no other project's
    // numbers behind.
    ClearResults();
    PrepareBarTable();
    TFaultWatch watch;
    int stationsWritten = 0;
    try {
        AnalyzeBeam(watch, stationsWritten);
        DesignReinforcement(watch);
    } catch (const EFloatFault&) {
        // Stations are written whole, each with its results NaN until step 6,
        // so only those not yet reached need clearing.
        for (int i = stationsWritten; i < StationCount; ++i)
            ForEachReal(Stations[i], [](Real& v) { v = NaN; });
        throw;
    }
}

namespace {

// Left-end parameters and station results of a long strip, from the form
// that does not cancel large terms; the stations' angles are those of their
// load terms.
void SolveDecayingForm(TMatData& mat, TFaultWatch& watch, const TStepTable& steps,
                       const std::array<TBeamAngle, StationCount>& angles) {
    const Real Uy = mat.ByUnits(12, 1000), kf = mat.ByUnits(1.728, 1), L = mat.StripLength;
    TDecayingBeam beam(mat.Beta, mat.FlexuralRigidity, L);
    const auto angle = [&steps](Real position) -> const TBeamAngle& {
        return steps.Angle(steps.Find(position));
    };
    beam.AddSegment(mat.FullUniformLoad, 0, L, angle(0), angle(L));
    for (const TDistLoad& d : mat.DistLoads)
        if (d.wb != 0) beam.AddSegment(d.wb, d.b, d.e, angle(d.b), angle(d.e));
    for (const TPointLoad& p : mat.PointLoads)
        if (p.P != 0) beam.AddPoint(p.P, p.a, angle(p.a));
    for (const TAppliedMoment& m : mat.Moments)
        if (m.M != 0) beam.AddMoment(m.M, m.c, angle(m.c));
    beam.Solve();

    TEndParameters total{0, 0, 0, 0};
    for (auto [group, field] : {std::pair{TDecayingBeam::Distributed, &mat.InitDist},
                                std::pair{TDecayingBeam::Point, &mat.InitPoint},
                                std::pair{TDecayingBeam::Moment, &mat.InitMoment}}) {
        const TBeamState s = beam.GroupAt(group, 0), beyond = beam.LeftTerms(group);
        const TEndParameters value{0, 0, watch.Checked(s.Theta - beyond.Theta, "left-end slope"),
                                   watch.Checked(s.Y - beyond.Y, "left-end deflection")};
        *field = value;
        total[2] += value[2], total[3] += value[3];
    }
    mat.InitTotal = total;

    // The flags are read once for all stations: a fault anywhere leaves every
    // station's results unwritten.
    std::array<TBeamState, StationCount> states;
    for (int i = 0; i < StationCount; ++i) states[i] = beam.At(mat.Stations[i].X, angles[i]);
    watch.CheckFlags("station results");
    for (int i = 0; i < StationCount; ++i) {
        TMatStation& st = mat.Stations[i];
        const TBeamState& s = states[i];
        const Real y = s.Y * Uy;
        const Real q = -(y / Uy) * mat.SubgradeModulus * kf;
        for (Real v : {s.V, s.M, s.Theta, y, q}) TFaultWatch::CheckFinite(v, "station results");
        st.Shear = s.V, st.Moment = s.M, st.Slope = s.Theta, st.Deflection = y, st.Pressure = q;
    }
}

} // namespace

void TMatData::AnalyzeBeam(TFaultWatch& watch, int& stationsWritten) {
    const Real kf = ByUnits(1.728, 1);
    const Real Ef = ByUnits(144, 1000);
    const Real Uy = ByUnits(12, 1000);
    const Real pi = std::numbers::pi_v<Real>;
    const Real L = StripLength, B = StripWidth, T = Thickness, k = SubgradeModulus;

    // Distributed loads are uniform over their segment.
    for (TDistLoad& load : DistLoads) load.we = load.wb;

    // 1. Section and stiffness.
    const Real T3 = std::pow(T, Real(3.0));
    Inertia = watch.Checked(T3 * B / 12, "Inertia");
    ConcreteModulus = watch.Checked(UnitSystem == UnitsSI ? 4700 * std::sqrt(Fc) : 57 * std::sqrt(1000 * Fc),
                                    "ConcreteModulus");
    const Real E = ConcreteModulus;
    Beta = watch.Checked(std::pow(kf * k * B / (Ef * (4 * E) * Inertia), Real(0.25)), "Beta");
    const Real beta = Beta;
    BetaL = watch.Checked(beta * L, "BetaL");
    FlexuralRigidity = watch.Checked(Ef * E * Inertia, "FlexuralRigidity");
    const Real EI = FlexuralRigidity;
    const TBeamFunctions fn(beta, L);
    const TFourFunctions atL = fn.Values(L);
    C2 = watch.Checked(atL.F2, "C2");
    C3 = watch.Checked(atL.F3, "C3");
    C4 = watch.Checked(atL.F4, "C4");
    C11 = watch.Checked(fn.F11(L), "C11");
    TMinSemiRigid = watch.Checked(
        std::pow(kf * (12 * k) / (Ef * (4 * E) * std::pow(pi / L, Real(4))), Real(1) / 3), "TMinSemiRigid");
    TMinRigid = watch.Checked(
        std::pow(kf * (12 * k) / (Ef * (4 * E) * std::pow(pi / (4 * L), Real(4))), Real(1) / 3), "TMinRigid");
    Lr = watch.Checked(std::pow(Ef * E * T3 / (12 * (1 - 0.15L * 0.15L) * k * kf), Real(0.25)), "Lr");
    BEst = watch.Checked(EffWidthPercent / 100 * 2 * Lr, "BEst");

    const Real b2 = beta * beta, b3 = b2 * beta, b4 = b2 * b2;

    // 3. Station positions.
    std::array<Real, StationCount> X{};
    for (int i = 0; i < NodeCount; ++i) X[i] = i * L / 100;
    for (int j = 0; j < UserPointCount; ++j) {
        const Real x = UserX[j];
        X[FirstUserStation + j] = (0 <= x && x < L) ? x - 1e-9L : (x == L ? L + 1e-9L : 0);
    }
    for (int n = 0; n < DistLoadCount; ++n) X[FirstDistStation + n] = (DistLoads[n].b + DistLoads[n].e) / 2;
    for (int m = 0; m < PointLoadCount; ++m) {
        X[FirstPointStation + 2 * m] = PointLoads[m].a;
        X[FirstPointStation + 2 * m + 1] = PointLoads[m].a + 1e-9L;
    }
    for (int n = 0; n < MomentCount; ++n) {
        X[FirstMomentStation + 2 * n] = Moments[n].c;
        X[FirstMomentStation + 2 * n + 1] = Moments[n].c + 1e-9L;
    }

    // 4. Functions, term groups and load terms of every station.
    TStepTable steps;
    const int uniformB = steps.Slot(0), uniformE = steps.Slot(L);
    // Shear, moment, slope and deflection take Fa2 to Fa5 of a segment's
    // ends, Fa1 to Fa4 of a point load and Fa4, Fa1, Fa2, Fa3 of a moment.
    const auto segmentFactors = [&](Real w, int slotB, int slotE) -> TLoadFactors {
        return {{-w / (2 * beta), -w / (2 * b2), -w / (4 * b3 * EI), -w / (4 * b4 * EI)}, slotB, slotE};
    };
    const TLoadFactors uniform = segmentFactors(FullUniformLoad, uniformB, uniformE);
    std::array<TLoadFactors, DistLoadCount> dist{};
    for (int n = 0; n < DistLoadCount; ++n) {
        const int slotB = steps.Slot(DistLoads[n].b);
        dist[n] = segmentFactors(DistLoads[n].wb, slotB, steps.Slot(DistLoads[n].e));
    }
    std::array<TLoadFactors, PointLoadCount> point{};
    for (int m = 0; m < PointLoadCount; ++m) {
        const Real P = PointLoads[m].P;
        point[m] = {
            {-P, -P / (2 * beta), -P / (2 * b2 * EI), -P / (4 * b3 * EI)}, steps.Slot(PointLoads[m].a), 0};
    }
    std::array<TLoadFactors, MomentCount> moment{};
    for (int n = 0; n < MomentCount; ++n) {
        const Real M = Moments[n].M;
        moment[n] = {{M * beta, -M, -M / (2 * beta * EI), -M / (2 * b2 * EI)}, steps.Slot(Moments[n].c), 0};
    }

    // What every station stores but none changes: a fault in it is a fault
    // of the first station.
    steps.Prepare(fn);
    const TBeamAngle angleZero = fn.Angle(0);

    // End values F(L - position) do not depend on the station: the first
    // four of a segment's terms and the first two of a point load's or a
    // moment's. On the strip they follow from the angles of L and of the
    // position; a position off it is rare, and its terms dwarf the strip's,
    // so it keeps the evaluation at its own argument.
    const TBeamAngle& angleL = steps.Angle(uniformE);
    const auto endValues = [&](int slot) {
        const Real a = steps.Position(slot);
        if (!(0 <= a && a <= L)) return fn.Values(L - a);
        return TBeamFunctions::ValuesFrom(THyperbolicCircular::Between(angleL, steps.Angle(slot)));
    };
    const auto segmentEnds = [&](const TLoadFactors& f) {
        const TFourFunctions atB = endValues(f.slot), atE = endValues(f.endSlot);
        return std::array<Real, 4>{atB.F2, atB.F3, atE.F2, atE.F3};
    };
    const std::array<Real, 4> uniformEnds = segmentEnds(uniform);
    std::array<std::array<Real, 4>, DistLoadCount> distEnds{};
    for (int n = 0; n < DistLoadCount; ++n) distEnds[n] = segmentEnds(dist[n]);
    std::array<std::array<Real, 2>, PointLoadCount> pointEnds{};
    for (int m = 0; m < PointLoadCount; ++m) {
        const TFourFunctions end = endValues(point[m].slot);
        pointEnds[m] = {end.F1, end.F2};
    }
    std::array<std::array<Real, 2>, MomentCount> momentEnds{};
    for (int n = 0; n < MomentCount; ++n) {
        const TFourFunctions end = endValues(moment[n].slot);
        momentEnds[n] = {end.F1, end.F4};
    }
    for (const auto& ends :
         {uniformEnds, distEnds[0], distEnds[1], distEnds[2], distEnds[3], distEnds[4], distEnds[5]})
        CheckAllFinite({ends[0], ends[1], ends[2], ends[3]});
    for (const auto& ends : pointEnds) CheckAllFinite({ends[0], ends[1]});
    for (const auto& ends : momentEnds) CheckAllFinite({ends[0], ends[1]});
    const auto checkFactors = [](const TLoadFactors& f) { CheckAllFinite({f.k[0], f.k[1], f.k[2], f.k[3]}); };
    checkFactors(uniform);
    for (const TLoadFactors& f : dist) checkFactors(f);
    for (const TLoadFactors& f : point) checkFactors(f);
    for (const TLoadFactors& f : moment) checkFactors(f);

    // Running sums of the load terms by group (segments, point loads,
    // moments), indexed by how many slots act.
    // Only the entries in use are written: clearing all of these tables
    // would cost more than filling them.
    std::array<std::array<TTermSums, TStepTable::Capacity + 1>, 3> sums;
    {
        std::array<std::array<TTermSums, TStepTable::Capacity>, 3> bySlot;
        std::array<std::array<bool, TStepTable::Capacity>, 3> loaded{};
        std::array<std::array<TBasis, 4>, TStepTable::Capacity> factors;
        for (int slot = 0; slot < steps.Count(); ++slot) factors[slot] = AngleFactors(steps.Angle(slot));
        // Load term c of a group takes Fa(which[c]) times k[c]; Fa1 to Fa4
        // are F1 to F4, Fa5 is 1 - F1.
        const auto add = [&](int group, int slot, const TLoadTerms& k, Real sign, std::array<int, 4> which) {
            // A load of zero adds nothing.
            if (k[0] == 0 && k[1] == 0 && k[2] == 0 && k[3] == 0) return;
            TTermSums& t = bySlot[group][slot];
            if (!loaded[group][slot]) t = TTermSums{};
            loaded[group][slot] = true;
            for (int c = 0; c < 4; ++c) {
                const Real kc = sign * k[c];
                const bool fa5 = which[c] == 5;
                const TBasis& g = factors[slot][fa5 ? 0 : which[c] - 1];
                for (int q = 0; q < 4; ++q) t.F[c][q] += (fa5 ? -kc : kc) * g[q];
                if (fa5) t.R[c] += kc;
            }
        };
        const auto addSegment = [&](const TLoadFactors& f) {
            add(0, f.slot, f.k, 1, {2, 3, 4, 5});
            add(0, f.endSlot, f.k, -1, {2, 3, 4, 5});
        };
        addSegment(uniform);
        for (const TLoadFactors& f : dist) addSegment(f);
        for (const TLoadFactors& f : point) add(1, f.slot, f.k, 1, {1, 2, 3, 4});
        for (const TLoadFactors& f : moment) add(2, f.slot, f.k, 1, {4, 1, 2, 3});
        for (int g = 0; g < 3; ++g) {
            sums[g][0] = TTermSums{};
            for (int r = 0; r < steps.Count(); ++r) {
                const int at = steps.AtRank(r);
                const TTermSums& slot = bySlot[g][at];
                TTermSums& next = sums[g][r + 1];
                next = sums[g][r];
                if (!loaded[g][at]) continue;
                for (int c = 0; c < 4; ++c) {
                    for (int q = 0; q < 4; ++q) next.F[c][q] += slot.F[c][q];
                    next.R[c] += slot.R[c];
                }
            }
        }
    }
    watch.CheckFlags("station load terms");

    const auto putSegment = [&](TSegmentTerms& terms, const std::array<Real, 4>& ends,
                                const TLoadFactors& f) {
        Put(terms, 0, ends);
        Put(terms, 4, steps[f.slot]);
        Put(terms, 9, steps[f.endSlot]);
    };
    const auto putConcentrated = [&](TConcentratedTerms& terms, const std::array<Real, 2>& ends,
                                     const TLoadFactors& f) {
        Put(terms, 0, ends);
        Put(terms, 2, steps[f.slot]);
    };
    std::array<TBeamAngle, StationCount> angles;
    // The nodes lie at (10 k + j) L / 100: their angles are sums of those of
    // the tens and of the units, 21 evaluations instead of 101.
    {
        std::array<TBeamAngle, 10> units;
        for (int j = 0; j < 10; ++j) units[j] = fn.Angle(j * L / 100);
        for (int k = 0; 10 * k < NodeCount; ++k) {
            const TBeamAngle tens = fn.Angle(10 * k * L / 100);
            for (int j = 0; j < 10 && 10 * k + j < NodeCount; ++j)
                angles[10 * k + j] = j == 0 ? tens : TBeamAngle::Sum(tens, units[j]);
        }
    }
    // The first station of each point load and moment stands at its slot's
    // position, whose angle the table holds.
    std::array<int, StationCount> slotAt;
    slotAt.fill(-1);
    for (int m = 0; m < PointLoadCount; ++m) slotAt[FirstPointStation + 2 * m] = point[m].slot;
    for (int n = 0; n < MomentCount; ++n) slotAt[FirstMomentStation + 2 * n] = moment[n].slot;
    for (int i = NodeCount; i < StationCount; ++i)
        angles[i] = slotAt[i] < 0 ? fn.Angle(X[i]) : steps.Angle(slotAt[i]);
    for (int i = 0; i < StationCount; ++i) {
        TMatStation& s = Stations[i];
        s.X = X[i];
        const TBeamAngle angleX = angles[i];
        CheckAllFinite({s.X});
        CheckAngle(angleX);
        const TFourFunctions f = TBeamFunctions::ValuesFrom(THyperbolicCircular::Between(angleX, angleZero));
        s.F1 = f.F1, s.F2 = f.F2, s.F3 = f.F3, s.F4 = f.F4;
        steps.Evaluate(s.X, angleX);

        putSegment(s.UniformTerms, uniformEnds, uniform);
        for (int n = 0; n < DistLoadCount; ++n) putSegment(s.DistTerms[n], distEnds[n], dist[n]);
        for (int m = 0; m < PointLoadCount; ++m) putConcentrated(s.PointTerms[m], pointEnds[m], point[m]);
        for (int n = 0; n < MomentCount; ++n) putConcentrated(s.MomentTerms[n], momentEnds[n], moment[n]);

        const TBasis basis = Basis(angleX);
        const int acting = steps.Acting();
        for (int g = 0; g < 3; ++g) {
            const TTermSums& t = sums[g][acting];
            TLoadTerms& out = g == 0 ? s.LoadTermsDist : g == 1 ? s.LoadTermsPoint : s.LoadTermsMoment;
            for (int c = 0; c < 4; ++c) out[c] = Dot(basis, t.F[c]) + t.R[c];
        }
        for (int c = 0; c < 4; ++c)
            s.LoadTerms[c] = s.LoadTermsDist[c] + s.LoadTermsPoint[c] + s.LoadTermsMoment[c];
        s.Shear = s.Moment = s.Slope = s.Deflection = s.Pressure = NaN;

        // Finite angles and factors give finite terms unless an operation
        // overflowed or was invalid, which the flags hold.
        watch.CheckFlags("station load terms");
        CheckAllFinite(
            {s.F1, s.F2, s.F3, s.F4, s.LoadTerms[0], s.LoadTerms[1], s.LoadTerms[2], s.LoadTerms[3]});
        stationsWritten = i + 1;
    }

    if (BetaL > DecayingFormAbove) {
        SolveDecayingForm(*this, watch, steps, angles);
    } else {
        // 5. Left-end parameters; both ends are free, so RA = MA = 0.
        {
            const Real D = C2 * C4 / 2 - C3 * C3;
            TEndParameters dist{0, 0, 0, 0}, point{0, 0, 0, 0}, moment{0, 0, 0, 0};
            const TMatStation& s0 = Stations[0];
            const auto addSegment = [&](Real w, const TSegmentTerms& t) {
                const Real dF2 = t[0] - t[2], dF3 = t[1] - t[3];
                dist[2] += (C2 / (2 * beta * EI) * (-w) * dF3 / (2 * b2) -
                            C3 / (2 * b2 * EI) * (-w) * dF2 / (2 * beta)) /
                           D;
                dist[3] += -(C3 / (2 * b2 * EI) * (-w) * dF3 / (2 * b2) -
                             C4 / (4 * b3 * EI) * (-w) * dF2 / (2 * beta)) /
                           D;
            };
            addSegment(FullUniformLoad, s0.UniformTerms);
            for (int n = 0; n < DistLoadCount; ++n)
                if (DistLoads[n].wb != 0) addSegment(DistLoads[n].wb, s0.DistTerms[n]);
            for (int m = 0; m < PointLoadCount; ++m) {
                const Real P = PointLoads[m].P;
                if (P == 0) continue;
                const Real Ca1 = s0.PointTerms[m][0], Ca2 = s0.PointTerms[m][1];
                point[2] += P / (2 * b2 * EI) * (C2 * Ca2 - 2 * C3 * Ca1) / C11;
                point[3] += P / (2 * b3 * EI) * (C4 * Ca1 - C3 * Ca2) / C11;
            }
            for (int n = 0; n < MomentCount; ++n) {
                const Real M = Moments[n].M;
                if (M == 0) continue;
                const Real Ca1 = s0.MomentTerms[n][0], Ca4 = s0.MomentTerms[n][1];
                moment[2] += M / (beta * EI) * (C3 * Ca4 + C2 * Ca1) / C11;
                moment[3] -= M / (2 * b2 * EI) * (2 * C3 * Ca1 + C4 * Ca4) / C11;
            }
            TEndParameters total{};
            for (int c = 0; c < 4; ++c) {
                watch.Checked(dist[c], "InitDist");
                watch.Checked(point[c], "InitPoint");
                watch.Checked(moment[c], "InitMoment");
                total[c] = watch.Checked(dist[c] + point[c] + moment[c], "InitTotal");
            }
            InitDist = dist, InitPoint = point, InitMoment = moment, InitTotal = total;
        }

        // 6. Station results.
        {
            const Real RA = InitTotal[0], MA = InitTotal[1], thetaA = InitTotal[2], yA = InitTotal[3];
            for (TMatStation& s : Stations) {
                const TLoadTerms& lt = s.LoadTerms;
                const Real V = RA * s.F1 - b3 * (2 * EI * yA) * s.F2 - b2 * (2 * EI * thetaA) * s.F3 -
                               MA * beta * s.F4 + lt[0];
                const Real M = MA * s.F1 + RA / (2 * beta) * s.F2 - b2 * (2 * EI * yA) * s.F3 -
                               thetaA * EI * beta * s.F4 + lt[1];
                const Real theta = thetaA * s.F1 + MA / (2 * EI * beta) * s.F2 + RA / (2 * EI * b2) * s.F3 -
                                   yA * beta * s.F4 + lt[2];
                const Real y = (yA * s.F1 + thetaA / (2 * beta) * s.F2 + MA / (2 * EI * b2) * s.F3 +
                                RA / (4 * EI * b3) * s.F4 + lt[3]) *
                               Uy;
                const Real q = -(y / Uy) * k * kf;
                watch.CheckFlags("station results");
                for (Real v : {V, M, theta, y, q}) TFaultWatch::CheckFinite(v, "station results");
                s.Shear = V, s.Moment = M, s.Slope = theta, s.Deflection = y, s.Pressure = q;
            }
        }
    }

    ApplyContactZones(watch);

    // 7. Extremes and bearing area; on equal values the lower index wins.
    // A load placed outside the strip keeps its stations, but the beam ends
    // at 0 and L: values beyond them are no part of the mat and must not
    // reach the extremes and hence the design.
    {
        Real maxV = -2147483647, minV = 2147483647, maxM = -2147483647, minM = 2147483647;
        Real maxQ = -2147483647, minQ = 2147483647, maxY = 0;
        Real maxVX = 0, minVX = 0, maxMX = 0, minMX = 0, maxYX = 0, maxQX = 0, minQX = 0;
        int tension = 0;
        for (int i = 0; i < StationCount; ++i) {
            const TMatStation& s = Stations[i];
            if (!(s.X >= 0 && s.X <= L)) continue;
            if (s.Shear > maxV) maxV = s.Shear, maxVX = s.X;
            if (s.Shear < minV) minV = s.Shear, minVX = s.X;
            if (s.Moment > maxM) maxM = s.Moment, maxMX = s.X;
            if (s.Moment < minM) minM = s.Moment, minMX = s.X;
            if (std::fabs(s.Deflection) > std::fabs(maxY)) maxY = s.Deflection, maxYX = s.X;
            if (s.Pressure > maxQ) maxQ = s.Pressure, maxQX = s.X;
            if (s.Pressure < minQ) minQ = s.Pressure, minQX = s.X;
            if (i < NodeCount && s.Pressure < 0) ++tension;
        }
        MaxShear = maxV, MaxShearX = maxVX, MinShear = minV, MinShearX = minVX;
        MaxMoment = maxM, MaxMomentX = maxMX, MinMoment = minM, MinMomentX = minMX;
        MaxDeflection = maxY, MaxDeflectionX = maxYX;
        MaxPressure = maxQ, MaxPressureX = maxQX, MinPressure = minQ, MinPressureX = minQX;
        BearingAreaPct = (1 - Real(tension) / 101) * 100;
    }
    ApplyContactShare();
}

} // namespace slabwise
