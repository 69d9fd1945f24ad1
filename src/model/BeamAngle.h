#pragma once

#include "Real.h"

#include <cmath>

namespace slabwise {

// e^z, e^-z, cos z and sin z of one position's z = beta x. The functions of
// beta (X - a) follow from those of X and of a by products and the angle
// formulas, so each position costs its library calls once instead of once
// per pair; the exponentials multiply without cancelling, and the circular
// parts keep an absolute error of a few units in the last place.
struct TBeamAngle {
    Real Ep, Em, C, S;

    static TBeamAngle Of(Real z) {
        const Real e = std::exp(z);
        return {e, 1 / e, std::cos(z), std::sin(z)};
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
