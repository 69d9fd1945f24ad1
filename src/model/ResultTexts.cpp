#include "ResultTexts.h"

#include <algorithm>
#include <cmath>

namespace slabwise {

bool EqualWithTolerance(Real x, Real bound) {
    const Real tolerance = std::max(std::min(std::fabs(x), std::fabs(bound)) * 1e-16L, 1e-16L);
    return std::fabs(x - bound) <= tolerance;
}

bool BelowWithTolerance(Real x, Real bound) {
    return x < bound && !EqualWithTolerance(x, bound);
}

std::string RigidityText(Real betaL) {
    if (betaL <= 0.78539816339744830963L) return "Mat is rigid";
    if (betaL < 3.1415926535897932385L) return "Mat is semi-rigid";
    if (betaL >= 6) return "Mat is semi-infinite long";
    return "Mat is flexible";
}

std::string ValidityMessage(const TMatData& mat) {
    if (BelowWithTolerance(mat.MaxPressure, 0) && BelowWithTolerance(mat.MinPressure, 0))
        return "Q(max) & (min) < 0, analysis is not valid!";
    if (BelowWithTolerance(mat.BearingAreaPct, 85)) return "Brg Area < 85%, analysis may not be valid!";
    return "";
}

} // namespace slabwise
