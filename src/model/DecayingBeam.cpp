#include "DecayingBeam.h"

#include <cmath>
#include <utility>

namespace slabwise {

namespace {

// The decaying functions of the infinite beam at z = beta |x - a|.
struct TDecay {
    Real A, B, C, D;
};

TDecay Decay(Real z) {
    const Real e = std::exp(-z);
    const auto [c, s] = CosSin(z);
    return {e * (c + s), e * s, e * (c - s), e * c};
}

TBeamState operator+(TBeamState a, const TBeamState& b) {
    return {a.V + b.V, a.M + b.M, a.Theta + b.Theta, a.Y + b.Y};
}

// Solves the 4 x 4 system by elimination with partial pivoting.
std::array<Real, 4> Solve4(std::array<std::array<Real, 4>, 4> a, std::array<Real, 4> r) {
    for (int col = 0; col < 4; ++col) {
        int pivot = col;
        for (int row = col + 1; row < 4; ++row)
            if (std::fabs(a[row][col]) > std::fabs(a[pivot][col])) pivot = row;
        std::swap(a[col], a[pivot]);
        std::swap(r[col], r[pivot]);
        for (int row = col + 1; row < 4; ++row) {
            const Real f = a[row][col] / a[col][col];
            for (int k = col; k < 4; ++k) a[row][k] -= f * a[col][k];
            r[row] -= f * r[col];
        }
    }
    std::array<Real, 4> x{};
    for (int row = 3; row >= 0; --row) {
        Real sum = r[row];
        for (int k = row + 1; k < 4; ++k) sum -= a[row][k] * x[k];
        x[row] = sum / a[row][row];
    }
    return x;
}

} // namespace

TDecayingBeam::TDecayingBeam(Real beta, Real EI, Real length)
    : beta_(beta), EI_(EI), length_(length), K_(4 * beta * beta * beta * beta * EI), atZero_(Trig(0)),
      atLength_(Trig(length)) {}

TDecayingBeam::TTrig TDecayingBeam::Trig(Real t) const {
    return TBeamAngle::Of(beta_ * t);
}

void TDecayingBeam::AddSegment(Real w, Real b, Real e) {
    loads_[Distributed].push_back({0, w, b, Trig(b)});
    loads_[Distributed].push_back({0, -w, e, Trig(e)});
}

void TDecayingBeam::AddPoint(Real P, Real a) {
    loads_[Point].push_back({1, P, a, Trig(a)});
}

void TDecayingBeam::AddMoment(Real M, Real c) {
    loads_[Moment].push_back({2, M, c, Trig(c)});
}

// Infinite-beam response at X of one load at a, u = X - a (downward loads
// positive, y upward, sagging moment positive, V = dM/dx, an applied moment
// drops the bending moment by M). `right` picks the side of a jump.
TBeamState TDecayingBeam::Response(int kind, Real v, Real u, const TTrig& x, const TTrig& a,
                                   bool right) const {
    // z = beta |u| from the angle-difference formulas.
    const Real e = u >= 0 ? x.Em * a.Ep : a.Em * x.Ep;
    const Real cz = x.C * a.C + x.S * a.S;
    const Real sz = u >= 0 ? x.S * a.C - x.C * a.S : a.S * x.C - a.C * x.S;
    const TDecay f{e * (cz + sz), e * sz, e * (cz - sz), e * cz};
    const Real b = beta_, K = K_;
    switch (kind) {
    case 0: // uniform v from a to the right
        return u >= 0 ? TBeamState{v * f.C / (4 * b), v * f.B / (4 * b * b), -v * b / (2 * K) * f.A,
                                   -v / (2 * K) * (2 - f.D)}
                      : TBeamState{v * f.C / (4 * b), -v * f.B / (4 * b * b), -v * b / (2 * K) * f.A,
                                   -v / (2 * K) * f.D};
    case 1: // point load
        return {right ? -v / 2 * f.D : v / 2 * f.D, v / (4 * b) * f.C,
                right ? v * b * b / K * f.B : -v * b * b / K * f.B, -v * b / (2 * K) * f.A};
    default: // applied moment
        return {v * b / 2 * f.A, right ? -v / 2 * f.D : v / 2 * f.D, v * b * b * b / K * f.C,
                right ? v * b * b / K * f.B : -v * b * b / K * f.B};
    }
}

TBeamState TDecayingBeam::LoadsAt(TGroup group, Real X, const TTrig& x, bool rightAtLoad) const {
    TBeamState s{0, 0, 0, 0};
    for (const TLoad& load : loads_[group]) {
        const Real u = X - load.position;
        s = s + Response(load.kind, load.value, u, x, load.trig, u > 0 || (u == 0 && rightAtLoad));
    }
    return s;
}

// The conditioning loads sit just outside the ends, so inside the strip (and
// a hair beyond an end) the left pair is always seen from its right and the
// right pair from its left; the formulas continue smoothly past the ends.
TBeamState TDecayingBeam::ConditioningAt(const std::array<Real, 4>& c, const TTrig& x) const {
    const auto at = [&](int kind, Real value, const TTrig& t, bool right) {
        // A sign of u that selects the branch regardless of X's side.
        return Response(kind, value, right ? Real(1) : Real(-1), x, t, right);
    };
    return at(1, c[0], atZero_, true) + at(2, c[1], atZero_, true) + at(1, c[2], atLength_, false) +
           at(2, c[3], atLength_, false);
}

// The initial-parameter load terms of one load at distance d = X - position,
// without the step: the form's own words for a load's effect on an end.
TBeamState TDecayingBeam::OneSided(int kind, Real v, Real d) const {
    const Real z = beta_ * d, b = beta_, b2 = b * b, b3 = b2 * b, EI = EI_;
    const Real ch = std::cosh(z), sh = std::sinh(z);
    const auto [c, s] = CosSin(z);
    const Real F1 = ch * c, F2 = ch * s + sh * c, F3 = sh * s, F4 = ch * s - sh * c;
    switch (kind) {
    case 0:
        return {-v / (2 * b) * F2, -v / (2 * b2) * F3, -v / (4 * b3 * EI) * F4,
                -v / (4 * b2 * b2 * EI) * (1 - F1)};
    case 1:
        return {-v * F1, -v / (2 * b) * F2, -v / (2 * b2 * EI) * F3, -v / (4 * b3 * EI) * F4};
    default:
        return {v * b * F4, -v * F1, -v / (2 * b * EI) * F2, -v / (2 * b2 * EI) * F3};
    }
}

void TDecayingBeam::Solve() {
    const Real b = beta_;
    const TDecay e = Decay(b * length_);
    // Rows: M(0), V(0), M(L), V(L); columns: P0, M0, PL, ML.
    const std::array<std::array<Real, 4>, 4> a{{
        {1 / (4 * b), Real(-0.5), e.C / (4 * b), e.D / 2},
        {Real(-0.5), b / 2, e.D / 2, b * e.A / 2},
        {e.C / (4 * b), -e.D / 2, 1 / (4 * b), Real(0.5)},
        {-e.D / 2, b * e.A / 2, Real(0.5), b / 2},
    }};
    totalConditioning_ = {0, 0, 0, 0};
    for (int g = 0; g < 3; ++g) {
        const auto group = static_cast<TGroup>(g);
        // End shear and moment the strip must reach: zero unless a load lies
        // beyond that end.
        TBeamState left{0, 0, 0, 0}, right{0, 0, 0, 0};
        for (const TLoad& load : loads_[g]) {
            if (load.position < 0) left = left + OneSided(load.kind, load.value, -load.position);
            if (load.position > length_) {
                const TBeamState h = OneSided(load.kind, load.value, length_ - load.position);
                right = right + TBeamState{-h.V, -h.M, -h.Theta, -h.Y};
            }
        }
        leftTerms_[g] = left;
        const TBeamState atLeft = LoadsAt(group, 0, atZero_, false);
        const TBeamState atRight = LoadsAt(group, length_, atLength_, true);
        conditioning_[g] =
            Solve4(a, {left.M - atLeft.M, left.V - atLeft.V, right.M - atRight.M, right.V - atRight.V});
        for (int k = 0; k < 4; ++k) totalConditioning_[k] += conditioning_[g][k];
    }
}

TBeamState TDecayingBeam::GroupAt(TGroup group, Real X) const {
    const TTrig x = Trig(X);
    return LoadsAt(group, X, x, false) + ConditioningAt(conditioning_[group], x);
}

TBeamState TDecayingBeam::At(Real X) const {
    const TTrig x = Trig(X);
    return LoadsAt(Distributed, X, x, false) + LoadsAt(Point, X, x, false) + LoadsAt(Moment, X, x, false) +
           ConditioningAt(totalConditioning_, x);
}

} // namespace slabwise
