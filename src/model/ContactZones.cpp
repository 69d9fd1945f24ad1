#include "ContactZones.h"

#include "FloatFault.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace slabwise {

namespace {

// Above this beta times its length a contact zone takes the decaying form:
// the initial-parameter form loses about e^(beta l) units in the last place,
// the decaying one grows ill-conditioned as its end loads come together.
constexpr Real DecayingZoneAbove = 3;
// Samples per radian of beta x when looking for the zeros of the deflection.
constexpr Real SamplesPerRadian = 4;
constexpr int MinSamplesPerZone = 8;
// Boundaries that move less than this share of L have settled.
constexpr Real SettledShare = 1e-12L;

// F1 to F4 of the initial-parameter form at z.
struct TFour {
    Real F1, F2, F3, F4;
};
TFour Four(Real z) {
    const Real e = std::exp(z), ch = (e + 1 / e) / 2, sh = (e - 1 / e) / 2;
    const auto [c, s] = CosSin(z);
    return {ch * c, ch * s + sh * c, sh * s, ch * s - sh * c};
}

// A, B, C, D of the infinite beam at z.
struct TDecayFour {
    Real A, B, C, D;
};
// Beyond this z the decaying functions are below e^-64, far under the
// precision of the sums they join.
constexpr Real Negligible = 64;

TDecayFour DecayFour(Real z) {
    if (z > Negligible) return {0, 0, 0, 0};
    const Real e = std::exp(-z);
    const auto [c, s] = CosSin(z);
    return {e * (c + s), e * s, e * (c - s), e * c};
}

TBeamState operator+(TBeamState a, const TBeamState& b) {
    return {a.V + b.V, a.M + b.M, a.Theta + b.Theta, a.Y + b.Y};
}

// Solves a x = r by elimination with partial pivoting after scaling columns
// and rows to unit size; false when the matrix is singular to working
// precision.
bool SolveDense(std::vector<Real>& a, std::vector<Real>& r, size_t n) {
    std::vector<Real> columnScale(n, 0);
    for (size_t i = 0; i < n; ++i)
        for (size_t j = 0; j < n; ++j) columnScale[j] = std::max(columnScale[j], std::fabs(a[i * n + j]));
    for (size_t j = 0; j < n; ++j) {
        if (columnScale[j] == 0) return false;
        for (size_t i = 0; i < n; ++i) a[i * n + j] /= columnScale[j];
    }
    for (size_t i = 0; i < n; ++i) {
        Real rowScale = 0;
        for (size_t j = 0; j < n; ++j) rowScale = std::max(rowScale, std::fabs(a[i * n + j]));
        if (rowScale == 0) return false;
        for (size_t j = 0; j < n; ++j) a[i * n + j] /= rowScale;
        r[i] /= rowScale;
    }
    for (size_t col = 0; col < n; ++col) {
        size_t pivot = col;
        for (size_t row = col + 1; row < n; ++row)
            if (std::fabs(a[row * n + col]) > std::fabs(a[pivot * n + col])) pivot = row;
        if (!(std::fabs(a[pivot * n + col]) > 1e-30L)) return false;
        if (pivot != col) {
            for (size_t k = 0; k < n; ++k) std::swap(a[col * n + k], a[pivot * n + k]);
            std::swap(r[col], r[pivot]);
        }
        for (size_t row = col + 1; row < n; ++row) {
            const Real f = a[row * n + col] / a[col * n + col];
            if (f == 0) continue;
            for (size_t k = col; k < n; ++k) a[row * n + k] -= f * a[col * n + k];
            r[row] -= f * r[col];
        }
    }
    for (size_t row = n; row-- > 0;) {
        Real sum = r[row];
        for (size_t k = row + 1; k < n; ++k) sum -= a[row * n + k] * r[k];
        r[row] = sum / a[row * n + row];
    }
    for (size_t j = 0; j < n; ++j) r[j] /= columnScale[j];
    return true;
}

} // namespace

TContactBeam::TContactBeam(Real beta, Real EI, Real length)
    : beta_(beta), EI_(EI), length_(length), K_(4 * beta * beta * beta * beta * EI) {}

void TContactBeam::AddSegment(Real w, Real b, Real e) {
    if (b > e) std::swap(b, e), w = -w;
    if (w != 0 && b < e) segments_.push_back({w, b, e});
}

void TContactBeam::AddPoint(Real P, Real a) {
    if (P != 0) points_.push_back({1, P, a});
}

void TContactBeam::AddMoment(Real M, Real c) {
    if (M != 0) points_.push_back({2, M, c});
}

// The four unknowns of a zone: the left-end shear, moment, slope and
// deflection for the lifted and short forms; the force and moment at each
// end for the decaying form. Rows V, M, theta, y.
TContactBeam::TRows TContactBeam::Basis(const TZone& zone, Real X) const {
    const Real b = beta_, EI = EI_, d = X - zone.a;
    switch (zone.form) {
    case Lifted:
        return {{{1, 0, 0, 0},
                 {d, 1, 0, 0},
                 {d * d / (2 * EI), d / EI, 1, 0},
                 {d * d * d / (6 * EI), d * d / (2 * EI), d, 1}}};
    case ShortContact: {
        const auto [F1, F2, F3, F4] = Four(b * d);
        const Real b2 = b * b, b3 = b2 * b;
        return {{{F1, -b * F4, -2 * EI * b2 * F3, -2 * EI * b3 * F2},
                 {F2 / (2 * b), F1, -EI * b * F4, -2 * EI * b2 * F3},
                 {F3 / (2 * EI * b2), F2 / (2 * EI * b), F1, -b * F4},
                 {F4 / (4 * EI * b3), F3 / (2 * EI * b2), F2 / (2 * b), F1}}};
    }
    case LongContact: {
        // The left pair is seen from its right and the right pair from its
        // left, continued smoothly past the ends.
        const Real K = K_;
        const auto [Al, Bl, Cl, Dl] = DecayFour(b * d);
        const auto [Ar, Br, Cr, Dr] = DecayFour(b * (zone.b - X));
        return {{{-Dl / 2, b * Al / 2, Dr / 2, b * Ar / 2},
                 {Cl / (4 * b), -Dl / 2, Cr / (4 * b), Dr / 2},
                 {b * b * Bl / K, b * b * b * Cl / K, -b * b * Br / K, b * b * b * Cr / K},
                 {-b * Al / (2 * K), b * b * Bl / K, -b * Ar / (2 * K), -b * b * Br / K}}};
    }
    }
    return {};
}

// The loads of the zone, each acting right of its position (at it too when
// inclusive): one-sided terms in the lifted and short forms, infinite-beam
// responses in the decaying form.
TBeamState TContactBeam::Particular(const TZone& zone, Real X, bool inclusive) const {
    const Real b = beta_, b2 = b * b, b3 = b2 * b, EI = EI_, K = K_;
    TBeamState sum{0, 0, 0, 0};
    for (const TLoad& load : zone.loads) {
        const Real v = load.value, d = X - load.position;
        const bool right = d > 0 || (d == 0 && inclusive);
        if (zone.form == LongContact) {
            if (b * std::fabs(d) > Negligible) {
                // Far from the load only a uniform load's settlement is left.
                if (load.kind == 0 && right) sum.Y += -v / K;
                continue;
            }
            const auto [A, B, C, D] = DecayFour(b * std::fabs(d));
            switch (load.kind) {
            case 0:
                sum = sum + (right ? TBeamState{v * C / (4 * b), v * B / (4 * b2), -v * b * A / (2 * K),
                                                -v * (2 - D) / (2 * K)}
                                   : TBeamState{v * C / (4 * b), -v * B / (4 * b2), -v * b * A / (2 * K),
                                                -v * D / (2 * K)});
                break;
            case 1:
                sum = sum + TBeamState{right ? -v / 2 * D : v / 2 * D, v / (4 * b) * C,
                                       right ? v * b2 / K * B : -v * b2 / K * B, -v * b / (2 * K) * A};
                break;
            default:
                sum = sum + TBeamState{v * b / 2 * A, right ? -v / 2 * D : v / 2 * D, v * b3 / K * C,
                                       right ? v * b2 / K * B : -v * b2 / K * B};
                break;
            }
            continue;
        }
        if (!right) continue;
        if (zone.form == Lifted) {
            switch (load.kind) {
            case 0:
                sum = sum + TBeamState{-v * d, -v * d * d / 2, -v * d * d * d / (6 * EI),
                                       -v * d * d * d * d / (24 * EI)};
                break;
            case 1:
                sum = sum + TBeamState{-v, -v * d, -v * d * d / (2 * EI), -v * d * d * d / (6 * EI)};
                break;
            default:
                sum = sum + TBeamState{0, -v, -v * d / EI, -v * d * d / (2 * EI)};
                break;
            }
            continue;
        }
        const auto [F1, F2, F3, F4] = Four(b * d);
        switch (load.kind) {
        case 0:
            sum = sum + TBeamState{-v / (2 * b) * F2, -v / (2 * b2) * F3, -v / (4 * b3 * EI) * F4,
                                   -v / (4 * b2 * b2 * EI) * (1 - F1)};
            break;
        case 1:
            sum = sum +
                  TBeamState{-v * F1, -v / (2 * b) * F2, -v / (2 * b2 * EI) * F3, -v / (4 * b3 * EI) * F4};
            break;
        default:
            sum = sum + TBeamState{v * b * F4, -v * F1, -v / (2 * b * EI) * F2, -v / (2 * b2 * EI) * F3};
            break;
        }
    }
    return sum;
}

TBeamState TContactBeam::State(size_t zone, Real X, bool inclusive) const {
    const TZone& z = zones_[zone];
    const TRows h = Basis(z, X);
    const std::array<Real, 4>& c = unknowns_[zone];
    TBeamState s = Particular(z, X, inclusive);
    Real* out[4] = {&s.V, &s.M, &s.Theta, &s.Y};
    for (int row = 0; row < 4; ++row)
        for (int k = 0; k < 4; ++k) *out[row] += h[row][k] * c[k];
    return s;
}

const TContactBeam::TZone& TContactBeam::ZoneAt(Real X) const {
    for (const TZone& zone : zones_)
        if (X <= zone.b) return zone;
    return zones_.back();
}

TBeamState TContactBeam::At(Real X) const {
    const TZone& zone = ZoneAt(X);
    return State(static_cast<size_t>(&zone - zones_.data()), X, false);
}

Real TContactBeam::Deflection(Real X) const {
    return At(X).Y;
}

bool TContactBeam::InContact(Real X) const {
    return ZoneAt(X).form != Lifted;
}

void TContactBeam::SolveWith(const std::vector<TContactZone>& contact) {
    const Real L = length_;
    zones_.clear();
    Real at = 0;
    const auto add = [&](Real a, Real b, bool springs) {
        if (!(b > a)) return;
        const TForm form = !springs                              ? Lifted
                           : beta_ * (b - a) > DecayingZoneAbove ? LongContact
                                                                 : ShortContact;
        zones_.push_back({a, b, form, {}});
    };
    for (const TContactZone& zone : contact) {
        add(at, zone.Start, false);
        add(zone.Start, zone.End, true);
        at = zone.End;
    }
    add(at, L, false);
    if (zones_.empty() || contact.empty()) throw ENoEquilibrium();

    // A load belongs to the zone it stands in, one at a boundary to the zone
    // right of it, one at L to the last.
    for (const TLoad& load : points_) {
        size_t i = 0;
        while (i + 1 < zones_.size() && load.position >= zones_[i].b) ++i;
        zones_[i].loads.push_back(load);
    }
    for (const auto& [w, from, to] : segments_)
        for (TZone& zone : zones_) {
            if (!(from < zone.b && to > zone.a)) continue;
            zone.loads.push_back({0, w, std::max(from, zone.a)});
            if (to < zone.b) zone.loads.push_back({0, -w, to});
        }

    // Free ends, and the four quantities continuous at every boundary.
    const size_t n = 4 * zones_.size();
    std::vector<Real> a(n * n, 0), r(n, 0);
    size_t row = 0;
    const auto equate = [&](size_t zone, Real X, bool inclusive, Real sign, std::initializer_list<int> which,
                            size_t firstRow) {
        const TRows h = Basis(zones_[zone], X);
        const TBeamState p = Particular(zones_[zone], X, inclusive);
        const Real part[4] = {p.V, p.M, p.Theta, p.Y};
        size_t i = firstRow;
        for (int q : which) {
            for (int k = 0; k < 4; ++k) a[i * n + 4 * zone + static_cast<size_t>(k)] += sign * h[q][k];
            r[i] -= sign * part[q];
            ++i;
        }
    };
    equate(0, 0, false, 1, {0, 1}, row);
    row += 2;
    for (size_t z = 1; z < zones_.size(); ++z) {
        const Real X = zones_[z].a;
        equate(z - 1, X, false, 1, {0, 1, 2, 3}, row);
        equate(z, X, false, -1, {0, 1, 2, 3}, row);
        row += 4;
    }
    equate(zones_.size() - 1, L, true, 1, {0, 1}, row);
    if (!SolveDense(a, r, n)) throw ENoEquilibrium();
    unknowns_.assign(zones_.size(), {});
    for (size_t z = 0; z < zones_.size(); ++z)
        for (size_t k = 0; k < 4; ++k) unknowns_[z][k] = r[4 * z + k];
    contact_ = contact;
}

// Illinois false position on a bracket of the deflection.
Real TContactBeam::Root(Real lo, Real ylo, Real hi, Real yhi) const {
    const Real tolerance = length_ * 1e-17L;
    int kept = 0;
    Real x = lo;
    for (int i = 0; i < 200 && hi - lo > tolerance; ++i) {
        Real next = (lo * yhi - hi * ylo) / (yhi - ylo);
        if (!(next > lo && next < hi)) next = (lo + hi) / 2;
        const Real y = Deflection(next);
        const bool moved = std::fabs(next - x) > tolerance;
        x = next;
        if (y == 0 || !moved) break;
        if ((y < 0) == (ylo < 0)) {
            lo = next, ylo = y;
            if (kept == -1) yhi /= 2;
            kept = -1;
        } else {
            hi = next, yhi = y;
            if (kept == 1) ylo /= 2;
            kept = 1;
        }
    }
    return x;
}

// The contact zones of the present solution: where the deflection is below
// zero (the strip presses the soil), bounded by its zeros.
std::vector<TContactZone> TContactBeam::ZonesFromSigns() const {
    std::vector<std::pair<Real, Real>> samples; // x, y
    samples.emplace_back(0, State(0, 0, false).Y);
    for (size_t z = 0; z < zones_.size(); ++z) {
        const TZone& zone = zones_[z];
        const Real length = zone.b - zone.a;
        const int count =
            std::max(MinSamplesPerZone, static_cast<int>(std::ceil(SamplesPerRadian * beta_ * length)));
        for (int j = 0; j < count; ++j) {
            const Real X = zone.a + length * (j + Real(0.5)) / count;
            samples.emplace_back(X, State(z, X, false).Y);
        }
    }
    samples.emplace_back(length_, State(zones_.size() - 1, length_, true).Y);

    std::vector<TContactZone> contact;
    bool inContact = samples.front().second <= 0;
    Real start = 0;
    for (size_t i = 1; i < samples.size(); ++i) {
        const bool pressing = samples[i].second <= 0;
        if (pressing == inContact) continue;
        const auto [x0, y0] = samples[i - 1];
        const auto [x1, y1] = samples[i];
        const Real x = y0 == 0 ? x0 : y1 == 0 ? x1 : Root(x0, y0, x1, y1);
        if (inContact) contact.push_back({start, x});
        start = x;
        inContact = pressing;
    }
    if (inContact) contact.push_back({start, length_});
    return contact;
}

void TContactBeam::Solve() {
    const Real L = length_;
    // Loads the soil cannot hold without pulling: a net uplift, or a
    // resultant at or beyond an end.
    Real force = 0, moment = 0;
    for (const auto& [w, from, to] : segments_) {
        force += w * (to - from);
        moment += w * (to - from) * (from + to) / 2;
    }
    // An applied moment drops the bending moment by its value, so the soil
    // must turn the other way.
    for (const TLoad& load : points_) {
        if (load.kind == 1)
            force += load.value, moment += load.value * load.position;
        else
            moment -= load.value;
    }
    steps_ = 0;
    if (segments_.empty() && points_.empty()) {
        // Nothing loads the strip: it rests on the soil untouched.
        contact_ = {{0, L}};
        liftsOff_ = false;
        return;
    }
    if (!(force > 0)) throw ENoEquilibrium();
    const Real resultant = moment / force;
    if (!(resultant > 0 && resultant < L)) throw ENoEquilibrium();

    SolveWith({{0, L}});
    std::vector<TContactZone> zones = ZonesFromSigns();
    liftsOff_ = !(zones.size() == 1 && zones[0].Start == 0 && zones[0].End == L);
    if (!liftsOff_) return;
    for (steps_ = 1; steps_ <= MaxSteps; ++steps_) {
        if (zones.empty()) throw ENoEquilibrium();
        bool settled = zones.size() == contact_.size();
        for (size_t i = 0; settled && i < zones.size(); ++i)
            settled = std::fabs(zones[i].Start - contact_[i].Start) < SettledShare * L &&
                      std::fabs(zones[i].End - contact_[i].End) < SettledShare * L;
        SolveWith(zones);
        if (settled) return;
        zones = ZonesFromSigns();
    }
    throw ENoEquilibrium();
}

// The members of the model that run the contact-zone analysis.

Real TMatData::ContactSharePct() const {
    Real contact = 0;
    for (const TContactZone& zone : ContactZones) contact += zone.End - zone.Start;
    return contact / StripLength * 100;
}

bool TMatData::LiftsOff() const {
    return SoilTakesNoTension != 0 && !ContactZones.empty() &&
           !(ContactZones.size() == 1 && ContactZones[0] == TContactZone{0, StripLength});
}

void TMatData::NoContactAnswer(const std::string& message) {
    constexpr Real NaN = std::numeric_limits<Real>::quiet_NaN();
    for (TMatStation& s : Stations) s.Shear = s.Moment = s.Slope = s.Deflection = s.Pressure = NaN;
    for (TEndParameters* group : {&InitDist, &InitPoint, &InitMoment, &InitTotal}) group->fill(NaN);
    ContactZones.clear();
    ContactMessage = message;
    throw ENoEquilibrium(message);
}

void TMatData::ApplyContactZones(TFaultWatch& watch) {
    if (!SoilTakesNoTension) return;
    const Real L = StripLength;
    const auto off = [L](Real x) { return x < 0 || x > L; };
    bool outside = false;
    for (const TDistLoad& d : DistLoads)
        outside = outside || (d.wb != 0 && d.b != d.e && (off(d.b) || off(d.e)));
    for (const TPointLoad& p : PointLoads) outside = outside || (p.P != 0 && off(p.a));
    for (const TAppliedMoment& m : Moments) outside = outside || (m.M != 0 && off(m.c));
    if (outside) NoContactAnswer(LoadOutsideStripText);

    TContactBeam beam(Beta, FlexuralRigidity, L);
    beam.AddSegment(FullUniformLoad, 0, L);
    for (const TDistLoad& d : DistLoads) beam.AddSegment(d.wb, d.b, d.e);
    for (const TPointLoad& p : PointLoads) beam.AddPoint(p.P, p.a);
    for (const TAppliedMoment& m : Moments) beam.AddMoment(m.M, m.c);
    try {
        beam.Solve();
        watch.CheckFlags("contact zones");
    } catch (const ENoEquilibrium& e) {
        NoContactAnswer(e.what());
    }
    ContactZones = beam.Contact();
    if (!beam.LiftsOff()) return;

    const Real Uy = ByUnits(12, 1000), kf = ByUnits(1.728, 1), k = SubgradeModulus;
    for (TMatStation& st : Stations) {
        const TBeamState s = beam.At(st.X);
        const Real y = s.Y * Uy;
        // Rounding may leave a contact zone a hair above the soil at its
        // ends; soil that takes no tension gives no pull there either.
        const Real q = beam.InContact(st.X) ? std::max(-(y / Uy) * k * kf, Real(0)) : Real(0);
        watch.CheckFlags("contact-zone station results");
        for (Real v : {s.V, s.M, s.Theta, y, q}) TFaultWatch::CheckFinite(v, "contact-zone station results");
        st.Shear = s.V, st.Moment = s.M, st.Slope = s.Theta, st.Deflection = y, st.Pressure = q;
    }
    // The loads no longer superpose, so only the total has a left end.
    constexpr Real NaN = std::numeric_limits<Real>::quiet_NaN();
    for (TEndParameters* group : {&InitDist, &InitPoint, &InitMoment}) group->fill(NaN);
    const TBeamState left = beam.At(0);
    InitTotal = {0, 0, watch.Checked(left.Theta, "left-end slope"),
                 watch.Checked(left.Y, "left-end deflection")};
}

void TMatData::ApplyContactShare() {
    if (LiftsOff()) BearingAreaPct = ContactSharePct();
}

} // namespace slabwise
