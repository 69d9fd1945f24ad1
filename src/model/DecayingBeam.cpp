#include "DecayingBeam.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace slabwise {

namespace {

// Below this e^(-beta |x - a|), beyond z = 64, a load's response is far
// under the precision of the sums it joins.
constexpr Real NegligibleDecay = 1.6e-28L;

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

// The factors of the infinite-beam response of one load (downward loads
// positive, y upward, sagging moment positive, V = dM/dx, an applied moment
// drops the bending moment by M), so that a station multiplies instead of
// divides.
TDecayingBeam::TLoad TDecayingBeam::Load(int kind, Real v, Real position, const TTrig& trig) const {
    const Real b = beta_, K = K_;
    switch (kind) {
    case 0:
        return {kind, v, position, trig, {v / (4 * b), v / (4 * b * b), -v * b / (2 * K), -v / (2 * K)}};
    case 1:
        return {kind, v, position, trig, {v / 2, v / (4 * b), v * b * b / K, -v * b / (2 * K)}};
    default:
        return {kind, v, position, trig, {v * b / 2, v / 2, v * b * b * b / K, v * b * b / K}};
    }
}

void TDecayingBeam::AddSegment(Real w, Real b, Real e) {
    AddSegment(w, b, e, Trig(b), Trig(e));
}

void TDecayingBeam::AddPoint(Real P, Real a) {
    AddPoint(P, a, Trig(a));
}

void TDecayingBeam::AddMoment(Real M, Real c) {
    AddMoment(M, c, Trig(c));
}

void TDecayingBeam::AddSegment(Real w, Real b, Real e, const TTrig& angleB, const TTrig& angleE) {
    loads_[Distributed].push_back(Load(0, w, b, angleB));
    loads_[Distributed].push_back(Load(0, -w, e, angleE));
}

void TDecayingBeam::AddPoint(Real P, Real a, const TTrig& angle) {
    loads_[Point].push_back(Load(1, P, a, angle));
}

void TDecayingBeam::AddMoment(Real M, Real c, const TTrig& angle) {
    loads_[Moment].push_back(Load(2, M, c, angle));
}

// Adds the infinite-beam response at x of one load. `rightSide` says x lies
// at or right of the load, which picks the decaying direction and the
// uniform load's branch; `right` picks the side of a jump.
void TDecayingBeam::AddResponse(TBeamState& s, const TLoad& load, const TTrig& x, bool rightSide,
                                bool right) {
    const TTrig& a = load.trig;
    const std::array<Real, 4>& k = load.k;
    // z = beta |u| from the angle-difference formulas.
    const Real e = rightSide ? x.Em * a.Ep : a.Em * x.Ep;
    if (e < NegligibleDecay) {
        // Far from the load only a uniform load's settlement is left.
        if (load.kind == 0 && rightSide) s.Y += k[3] * 2;
        return;
    }
    const Real cz = x.C * a.C + x.S * a.S;
    const Real sz = rightSide ? x.S * a.C - x.C * a.S : a.S * x.C - a.C * x.S;
    switch (load.kind) {
    case 0: { // uniform from the load's position to the right
        const Real B = e * sz;
        s.V += k[0] * (e * (cz - sz));
        s.M += rightSide ? k[1] * B : -k[1] * B;
        s.Theta += k[2] * (e * (cz + sz));
        s.Y += rightSide ? k[3] * (2 - e * cz) : k[3] * (e * cz);
        break;
    }
    case 1: { // point load
        const Real B = e * sz, D = e * cz;
        s.V += right ? -(k[0] * D) : k[0] * D;
        s.M += k[1] * (e * (cz - sz));
        s.Theta += right ? k[2] * B : -(k[2] * B);
        s.Y += k[3] * (e * (cz + sz));
        break;
    }
    default: { // applied moment
        const Real B = e * sz, D = e * cz;
        s.V += k[0] * (e * (cz + sz));
        s.M += right ? -(k[1] * D) : k[1] * D;
        s.Theta += k[2] * (e * (cz - sz));
        s.Y += right ? k[3] * B : -(k[3] * B);
        break;
    }
    }
}

TBeamState TDecayingBeam::LoadsAt(TGroup group, Real X, const TTrig& x, bool rightAtLoad) const {
    TBeamState s{0, 0, 0, 0};
    for (const TLoad& load : loads_[group]) {
        const Real u = X - load.position;
        AddResponse(s, load, x, u >= 0, u > 0 || (u == 0 && rightAtLoad));
    }
    return s;
}

// The conditioning loads sit just outside the ends, so inside the strip (and
// a hair beyond an end) the left pair is always seen from its right and the
// right pair from its left; the formulas continue smoothly past the ends.
TDecayingBeam::TConditioning TDecayingBeam::Conditioning(const std::array<Real, 4>& c) const {
    return {Load(1, c[0], 0, atZero_), Load(2, c[1], 0, atZero_), Load(1, c[2], length_, atLength_),
            Load(2, c[3], length_, atLength_)};
}

TBeamState TDecayingBeam::ConditioningAt(const TConditioning& c, const TTrig& x) {
    TBeamState s{0, 0, 0, 0};
    AddResponse(s, c[0], x, true, true);
    AddResponse(s, c[1], x, true, true);
    AddResponse(s, c[2], x, false, false);
    AddResponse(s, c[3], x, false, false);
    return s;
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
    std::array<Real, 4> total{0, 0, 0, 0};
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
        const std::array<Real, 4> c =
            Solve4(a, {left.M - atLeft.M, left.V - atLeft.V, right.M - atRight.M, right.V - atRight.V});
        conditioning_[g] = Conditioning(c);
        for (int k = 0; k < 4; ++k) total[k] += c[k];
    }
    totalConditioning_ = Conditioning(total);
    PrepareSums();
}

// The factors of AddResponse off the load (u != 0), where the side of the
// jump is the side of the station.
TDecayingBeam::TSideFactors TDecayingBeam::SideFactors(const TLoad& load, bool rightSide) {
    const auto& [k0, k1, k2, k3] = load.k;
    const Real sign = rightSide ? 1 : -1;
    switch (load.kind) {
    case 0:
        return rightSide ? TSideFactors{{k0, 0, k2, -k3}, {-k0, k1, k2, 0}, {0, 0, 0, k3 * 2}}
                         : TSideFactors{{k0, 0, k2, k3}, {-k0, -k1, k2, 0}, {0, 0, 0, 0}};
    case 1:
        return {{-sign * k0, k1, 0, k3}, {0, -k1, sign * k2, k3}, {0, 0, 0, 0}};
    default:
        return {{k0, -sign * k1, k2, 0}, {k0, 0, -k2, sign * k3}, {0, 0, 0, 0}};
    }
}

// With c = e^(+-beta a) cos(beta a) and s likewise, a station right of the
// load sees P e cos z + Q e sin z = e^(-beta X) (cos(beta X) (P c - Q s) +
// sin(beta X) (P s + Q c)), one left of it e^(beta X) (cos(beta X) (P c +
// Q s) + sin(beta X) (P s - Q c)).
void TDecayingBeam::AddToSums(TSums& sums, const TLoad& load, bool rightSide) {
    const TSideFactors f = SideFactors(load, rightSide);
    const TTrig& a = load.trig;
    const Real e = rightSide ? a.Ep : a.Em, c = e * a.C, s = e * a.S;
    for (int o = 0; o < 4; ++o) {
        if (rightSide) {
            sums.C[o] += f.P[o] * c - f.Q[o] * s;
            sums.S[o] += f.P[o] * s + f.Q[o] * c;
        } else {
            sums.C[o] += f.P[o] * c + f.Q[o] * s;
            sums.S[o] += f.P[o] * s - f.Q[o] * c;
        }
        sums.R[o] += f.R[o];
    }
}

// Each sum runs from the far end towards the station, so it ends on its
// largest terms, those of the loads nearest the station, and keeps the
// error of the direct sum: a unit in the last place of the largest response.
void TDecayingBeam::PrepareSums() {
    sorted_.clear();
    for (const auto& group : loads_) sorted_.insert(sorted_.end(), group.begin(), group.end());
    summed_ =
        std::none_of(sorted_.begin(), sorted_.end(), [](const TLoad& l) { return std::isnan(l.position); });
    if (!summed_) return;
    std::stable_sort(sorted_.begin(), sorted_.end(),
                     [](const TLoad& a, const TLoad& b) { return a.position < b.position; });
    const size_t n = sorted_.size();
    sortedPositions_.resize(n);
    for (size_t i = 0; i < n; ++i) sortedPositions_[i] = sorted_[i].position;
    leftOf_.assign(n + 1, TSums{});
    fromOn_.assign(n + 1, TSums{});
    AddToSums(leftOf_[0], totalConditioning_[0], true);
    AddToSums(leftOf_[0], totalConditioning_[1], true);
    for (size_t i = 0; i < n; ++i) {
        leftOf_[i + 1] = leftOf_[i];
        AddToSums(leftOf_[i + 1], sorted_[i], true);
    }
    AddToSums(fromOn_[n], totalConditioning_[2], false);
    AddToSums(fromOn_[n], totalConditioning_[3], false);
    for (size_t i = n; i-- > 0;) {
        fromOn_[i] = fromOn_[i + 1];
        AddToSums(fromOn_[i], sorted_[i], false);
    }
}

TBeamState TDecayingBeam::GroupAt(TGroup group, Real X) const {
    const TTrig x = Trig(X);
    return LoadsAt(group, X, x, false) + ConditioningAt(conditioning_[group], x);
}

TBeamState TDecayingBeam::At(Real X) const {
    return At(X, Trig(X));
}

TBeamState TDecayingBeam::At(Real X, const TTrig& x) const {
    if (!summed_)
        return LoadsAt(Distributed, X, x, false) + LoadsAt(Point, X, x, false) +
               LoadsAt(Moment, X, x, false) + ConditioningAt(totalConditioning_, x);
    const auto first = std::lower_bound(sortedPositions_.begin(), sortedPositions_.end(), X);
    auto last = first;
    while (last != sortedPositions_.end() && *last == X) ++last;
    const TSums& left = leftOf_[static_cast<size_t>(first - sortedPositions_.begin())];
    const TSums& right = fromOn_[static_cast<size_t>(last - sortedPositions_.begin())];
    Real out[4];
    for (int o = 0; o < 4; ++o)
        out[o] = x.Em * (x.C * left.C[o] + x.S * left.S[o]) + left.R[o] +
                 x.Ep * (x.C * right.C[o] + x.S * right.S[o]);
    TBeamState s{out[0], out[1], out[2], out[3]};
    // Loads exactly at X: the state just left of each.
    for (auto i = first; i != last; ++i)
        AddResponse(s, sorted_[static_cast<size_t>(i - sortedPositions_.begin())], x, true, false);
    return s;
}

} // namespace slabwise
