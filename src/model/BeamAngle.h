#pragma once

#include "Real.h"

#include <cmath>

namespace slabwise {

struct TCosSin {
    Real C, S;
};

// cos and sin with the argument brought into [-pi/4, pi/4] here: the
// library's reduction for extended reals takes a multi-precision path for
// every argument beyond pi/4, several times the cost of the functions
// themselves. A two-part pi/2 keeps the reduced argument exact to a unit in
// the last place for the thousands of radians a strip can span.
inline TCosSin CosSin(Real z) {
    constexpr Real HalfPiHigh = 1.57079632673412561416626L; // 32 significant bits
    constexpr Real HalfPiLow = 6.077100506506192601475144e-11L;
    constexpr Real TwoOverPi = 0.63661977236758134307553505349005745L;
    if (!(std::fabs(z) < 1e6L)) return {std::cos(z), std::sin(z)};
    // Rounding in the current mode, not truncating: a truncating conversion
    // switches the x87 rounding mode and back, which stalls the pipeline.
    const long long quadrant = std::llrint(z * TwoOverPi);
    const auto n = static_cast<Real>(quadrant);
    const Real r = (z - n * HalfPiHigh) - n * HalfPiLow;
    const Real c = std::cos(r), s = std::sin(r);
    switch (quadrant & 3) {
    case 0:
        return {c, s};
    case 1:
        return {-s, c};
    case 2:
        return {-c, -s};
    default:
        return {s, -c};
    }
}

// e^z, e^-z, cos z and sin z of one position's z = beta x. The functions of
// beta (X - a) follow from those of X and of a by products and the angle
// formulas, so each position costs its library calls once instead of once
// per pair; the exponentials multiply without cancelling, and the circular
// parts keep an absolute error of a few units in the last place.
struct TBeamAngle {
    Real Ep, Em, C, S;

    static TBeamAngle Of(Real z) {
        const Real e = std::exp(z);
        const auto [c, s] = CosSin(z);
        return {e, 1 / e, c, s};
    }
    // The functions of the sum of two arguments, by the same products: a few
    // units in the last place, at a fraction of the library calls' cost.
    static TBeamAngle Sum(const TBeamAngle& a, const TBeamAngle& b) {
        return {a.Ep * b.Ep, a.Em * b.Em, a.C * b.C - a.S * b.S, a.S * b.C + a.C * b.S};
    }
};

// cosh, sinh, cos and sin of beta (X - a) for a <= X.
struct THyperbolicCircular {
    Real Ch, Sh, C, S;

    static THyperbolicCircular Between(const TBeamAngle& X, const TBeamAngle& a) {
        const Real up = X.Ep * a.Em, down = X.Em * a.Ep;
        return {(up + down) / 2, (up - down) / 2, X.C * a.C + X.S * a.S, X.S * a.C - X.C * a.S};
    }
};

} // namespace slabwise
