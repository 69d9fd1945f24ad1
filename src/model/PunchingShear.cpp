#include "PunchingShear.h"

#include "BeamFunctions.h"
#include "ContactZones.h"
#include "DesignChecks.h"
#include "Units.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

// Signs. Loads and the column load P are positive downward, the soil
// pressure q positive in compression, and the analysis' shear V changes along
// the strip as dV/dx = q B - w, dropping by P across a point load. So the
// soil's reaction over x1..x2 follows from the shear at both ends and the
// loads between them:
//   integral of q B = V(x2) - V(x1) + (point loads in [x1, x2)) + integral of w,
// where V(x) is the state just left of x, as the analysis reports it at a
// load. This is exact for every form the analysis uses, with or without soil
// that takes no tension, and needs the shear at two points per section.
//
// The pressure acts across the whole width B (the analysis' springs are
// k B; %B only sizes B(est.)), uniform across it, so a section of width
// min(c2 + d, B) takes the share width / B of it and of the distributed
// loads. Other point loads inside a section stand on it whole (their
// columns are centred too). Vu is the load factor times the net force that
// crosses the section: P plus the loads on its area less the soil under it.

namespace slabwise {

namespace {

constexpr Real NaN = std::numeric_limits<Real>::quiet_NaN();
constexpr Real MaxUtilization = 99.99L; // %, as every other utilisation

const char* const AnalysisUnfinished = "Not computed: the analysis did not finish";

// The shear of the analysed strip at any X (ft or m). Where the springs act
// along the whole strip, the state at the node just left of X is carried on
// to X by the initial-parameter form: the same equations as the analysis,
// over at most L/100, so no length of strip loses accuracy and no solution
// is rebuilt. Soil that lets the strip lift off changes the equations along
// the strip; then the zones the analysis settled on give its solution in one
// solve.
class TStripShear {
public:
    explicit TStripShear(const TMatData& m) : m_(m) {
        // Every analysis that finishes leaves the extremes; one that did not
        // leaves them NaN, and its solution must not be rebuilt here.
        if (std::isnan(m.MaxShear) || std::isnan(m.InitTotal[2]) || std::isnan(m.InitTotal[3])) {
            finished_ = false;
            return;
        }
        if (!m.LiftsOff()) return;
        const Real L = m.StripLength;
        try {
            contact_.emplace(m.Beta, m.FlexuralRigidity, L);
            contact_->AddSegment(m.FullUniformLoad, 0, L);
            for (const TDistLoad& d : m.DistLoads) contact_->AddSegment(d.wb, d.b, d.e);
            for (const TPointLoad& p : m.PointLoads) contact_->AddPoint(p.P, p.a);
            for (const TAppliedMoment& c : m.Moments) contact_->AddMoment(c.M, c.c);
            contact_->SolveWith(m.ContactZones);
        } catch (const ENoEquilibrium&) {
            finished_ = false;
        }
    }

    // Just left of a load standing at X. Sections share their ends, so
    // each X is evaluated once.
    Real At(Real X) {
        if (!finished_) return NaN;
        for (const auto& [x, v] : known_)
            if (x == X) return v;
        const Real v = contact_ ? contact_->At(X).V : FromNode(X);
        known_.emplace_back(X, v);
        return v;
    }

private:
    static constexpr TBeamAngle AngleOfZero{1, 1, 1, 0};

    // F1 to F4 of beta x, x >= 0.
    TFourFunctions Functions(Real x) const {
        return TBeamFunctions::ValuesFrom(
            THyperbolicCircular::Between(TBeamAngle::Of(m_.Beta * x), AngleOfZero));
    }

    Real FromNode(Real X) const {
        const Real L = m_.StripLength;
        if (!(X >= 0 && X <= L)) return NaN;
        int i = std::clamp(static_cast<int>(X / L * (NodeCount - 1)), 0, NodeCount - 1);
        while (i > 0 && m_.Stations[static_cast<size_t>(i)].X > X) --i;
        while (i < NodeCount - 1 && m_.Stations[static_cast<size_t>(i) + 1].X <= X) ++i;
        const TMatStation& node = m_.Stations[static_cast<size_t>(i)];
        // A node reports the state just left of a load standing on it.
        if (node.X == X) return node.Shear;
        const Real X0 = node.X;
        const Real beta = m_.Beta, EI = m_.FlexuralRigidity, b2 = beta * beta, b3 = b2 * beta;
        const Real y0 = node.Deflection / m_.ByUnits(12, 1000);
        const TFourFunctions f = Functions(X - X0);
        Real V = node.Shear * f.F1 - b3 * (2 * EI * y0) * f.F2 - b2 * (2 * EI * node.Slope) * f.F3 -
                 node.Moment * beta * f.F4;
        // The loads that act between the node and X, each from where it
        // starts to act there: a point load or a moment at the node acts, one
        // at X does not yet.
        const auto segment = [&](Real w, Real b, Real e) {
            if (w == 0) return;
            // An end before its start is the reversed load between them.
            if (b > e) std::swap(b, e), w = -w;
            if (!(e > X0)) return;
            const Real from = std::max(b, X0);
            if (!(from < X)) return;
            // Most loads began before the node: their functions are the node's.
            Real terms = from == X0 ? f.F2 : Functions(X - from).F2;
            if (e < X) terms -= Functions(X - e).F2;
            V += -w / (2 * beta) * terms;
        };
        segment(m_.FullUniformLoad, 0, L);
        for (const TDistLoad& d : m_.DistLoads) segment(d.wb, d.b, d.e);
        for (const TPointLoad& p : m_.PointLoads)
            if (p.P != 0 && X0 <= p.a && p.a < X) V += -p.P * Functions(X - p.a).F1;
        for (const TAppliedMoment& c : m_.Moments)
            if (c.M != 0 && X0 <= c.c && c.c < X) V += c.M * beta * Functions(X - c.c).F4;
        return V;
    }

    const TMatData& m_;
    bool finished_ = true;
    std::optional<TContactBeam> contact_;
    std::vector<std::pair<Real, Real>> known_;
};

// The distributed loads over x1..x2 (kips or kN); a load entered with its end
// before its start acts reversed between them, as in the analysis.
Real DistributedLoadBetween(const TMatData& m, Real x1, Real x2) {
    const auto overlap = [x1, x2](Real from, Real to) {
        return std::max(std::min(to, x2) - std::max(from, x1), Real(0));
    };
    Real total = m.FullUniformLoad * overlap(0, m.StripLength);
    for (const TDistLoad& d : m.DistLoads) {
        if (d.wb == 0) continue;
        total += d.b <= d.e ? d.wb * overlap(d.b, d.e) : -d.wb * overlap(d.e, d.b);
    }
    return total;
}

// `distributed` is DistributedLoadBetween of the same stretch.
Real SoilReactionBetween(const TMatData& m, TStripShear& shear, Real x1, Real x2, Real distributed) {
    Real loads = distributed;
    for (const TPointLoad& p : m.PointLoads)
        if (p.P != 0 && x1 <= p.a && p.a < x2) loads += p.P;
    return shear.At(x2) - shear.At(x1) + loads;
}

// Stress unit of f'c (ksi or MPa) to psi.
Real PsiPerStress(const TMatData& m) {
    return m.UnitSystem == UnitsSI ? 1 / MPaPerPsi : Real(1000);
}

class TPunchingCheck {
public:
    explicit TPunchingCheck(const TMatData& m) : m_(m) {}

    // Fills r, which holds a result of its own defaults: the results are
    // large, and writing them where they stay spares copying them.
    void Column(int load, TPunchingResult& r) {
        const TColumn& column = m_.Columns[static_cast<size_t>(load)];
        const TPointLoad& point = m_.PointLoads[static_cast<size_t>(load)];
        r.B0 = r.D = r.Vu = r.PhiVn = r.Util = NaN;
        if (!column.Given()) {
            r.Hint = "No column at this load";
            return;
        }
        const auto notComputed = [&r](std::string why) {
            r.State = TPunchingState::NotComputed;
            r.Passes = false;
            r.Hint = std::move(why);
        };
        if (std::isnan(point.P)) return notComputed("Not computed: the column's load is not a number");
        if (point.P <= 0) {
            r.State = TPunchingState::NotLoaded;
            r.Hint = "N.A.: the load is upward or zero, so the column does not punch the strip";
            return;
        }
        if (!(column.c1 > 0 && column.c2 > 0)) return notComputed("The column's size is not positive");
        if (auto reason = ShearWithoutDesign(m_)) return notComputed(*reason);
        const Real L = m_.StripLength, a = point.a;
        if (!(a >= 0 && a <= L)) return notComputed("The column stands outside the strip");
        const Real d = m_.BotDepth;
        if (std::isnan(d)) return notComputed(AnalysisUnfinished);

        const Real Uw = m_.ByUnits(12, 1000); // ft or m to in or mm
        const Real c1 = column.c1, c2 = column.c2;
        const Real reach = (c1 + d) / 2 / Uw; // column centre to section, ft or m
        if (a - reach >= 0 && a + reach <= L) {
            Section(load, a - reach, a + reach, 2 * (c1 + d) + 2 * (c2 + d), 40, r.Interior);
        }
        // Open towards the nearer end; the edge section always exists.
        const bool left = a <= L - a;
        const Real e = (left ? a : L - a) * Uw;
        Section(load, left ? 0 : std::max(a - reach, Real(0)), left ? std::min(a + reach, L) : L,
                2 * (e + c1 / 2 + d / 2) + (c2 + d), 30, r.Edge);

        const bool edgeGoverns = !r.Interior.Exists || r.Edge.Util > r.Interior.Util;
        const TPunchingSectionResult& g = edgeGoverns ? r.Edge : r.Interior;
        if (!std::isfinite(g.Util) || (r.Interior.Exists && !std::isfinite(r.Interior.Util)))
            return notComputed(std::isnan(Shear(L))
                                   ? AnalysisUnfinished
                                   : "Not computed: a floating-point fault in the punching check");
        r.State = TPunchingState::Checked;
        r.Governing = edgeGoverns ? TPunchingSection::Edge : TPunchingSection::Interior;
        r.B0 = g.B0, r.D = d, r.Vu = g.Vu, r.PhiVn = g.PhiVn, r.Util = g.Util;
        r.Passes = r.Util <= MaxUtilization;
        const char* section = edgeGoverns ? "edge section" : "interior section";
        r.Hint = r.Passes ? std::string("Punching shear is OK (") + section + ")"
                          : std::string("Punching shear too high at the ") + section +
                                ": increase the thickness, f'c or the column size";
        r.MomentAtColumn = MomentAt(a, c1 / Uw);
        if (r.MomentAtColumn) r.Hint += PunchingMomentNote;
    }

    bool MomentAt(Real a, Real c1) const {
        return std::any_of(m_.Moments.begin(), m_.Moments.end(),
                           [&](const TAppliedMoment& c) { return c.M != 0 && std::fabs(c.c - a) <= c1 / 2; });
    }

    Real Shear(Real X) { return Strip().At(X); }

    Real Reaction(Real x1, Real x2) {
        return SoilReactionBetween(m_, Strip(), x1, x2, DistributedLoadBetween(m_, x1, x2));
    }

private:
    TStripShear& Strip() {
        if (!shear_) shear_.emplace(m_);
        return *shear_;
    }

    void Section(int load, Real x1, Real x2, Real b0, Real alphaS, TPunchingSectionResult& s) {
        const Real Uw = m_.ByUnits(12, 1000);
        const Real Fu = m_.ByUnits(1, 1000); // kips or N to kips or kN
        const TColumn& column = m_.Columns[static_cast<size_t>(load)];
        const Real P = m_.PointLoads[static_cast<size_t>(load)].P;
        const Real d = m_.BotDepth, B = Uw * m_.StripWidth;
        s.Exists = true;
        s.X1 = x1, s.X2 = x2, s.B0 = b0, s.AlphaS = alphaS;
        s.Width = std::min(column.c2 + d, B);
        const Real share = s.Width / B;

        Real others = 0;
        for (int k = 0; k < PointLoadCount; ++k) {
            const TPointLoad& p = m_.PointLoads[static_cast<size_t>(k)];
            if (k != load && x1 < p.a && p.a < x2) others += p.P;
        }
        const Real distributed = DistributedLoadBetween(m_, x1, x2);
        s.SoilReaction = share * SoilReactionBetween(m_, Strip(), x1, x2, distributed);
        s.LoadsOn = others + share * distributed;
        s.Vu = m_.ShearLoadFactor * (P + s.LoadsOn - s.SoilReaction);

        // sqrt(f'c) in psi, the stress terms in the unit of f'c.
        const Real psi = PsiPerStress(m_);
        const Real longer = std::max(column.c1, column.c2), shorter = std::min(column.c1, column.c2);
        const Real factor = std::min({Real(4), 2 + 4 / (longer / shorter), 2 + alphaS * d / b0});
        s.Vc = factor * std::sqrt(m_.Fc * psi) / psi;
        s.PhiVn = PunchingPhi * s.Vc * b0 * d / Fu;
        // Soil that pushes harder than the loads press still shears the section.
        s.Util = std::fabs(s.Vu) / s.PhiVn * 100;
    }

    const TMatData& m_;
    std::optional<TStripShear> shear_;
};

} // namespace

TPunchingResult EvaluatePunching(const TMatData& mat, int load) {
    TPunchingResult result;
    TPunchingCheck(mat).Column(load, result);
    return result;
}

TPunchingResults EvaluatePunching(const TMatData& mat) {
    TPunchingCheck check(mat);
    TPunchingResults results;
    for (int i = 0; i < PointLoadCount; ++i) check.Column(i, results[static_cast<size_t>(i)]);
    return results;
}

bool AnyColumn(const TMatData& mat) {
    return std::any_of(mat.Columns.begin(), mat.Columns.end(), [](const TColumn& c) { return c.Given(); });
}

Real SoilReaction(const TMatData& mat, Real x1, Real x2) {
    return TPunchingCheck(mat).Reaction(x1, x2);
}

} // namespace slabwise
