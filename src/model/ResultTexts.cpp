#include "ResultTexts.h"

#include "NumberFormat.h"
#include "Units.h"

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
    if (mat.SoilTakesNoTension) {
        if (!mat.ContactMessage.empty()) return mat.ContactMessage;
        // Before any analysis, or after a floating-point fault, there is no
        // share to state.
        if (mat.ContactZones.empty()) return "";
        return "Soil takes no tension: contact over " + FormatFixed(mat.ContactSharePct(), 1) +
               "% of the strip";
    }
    if (BelowWithTolerance(mat.MaxPressure, 0) && BelowWithTolerance(mat.MinPressure, 0))
        return "Q(max) & (min) < 0, analysis is not valid!";
    if (BelowWithTolerance(mat.BearingAreaPct, 85)) return "Brg Area < 85%, analysis may not be valid!";
    return "";
}

} // namespace slabwise

namespace slabwise {

std::string ContactZonesText(const TMatData& mat, char decimalSeparator) {
    if (!mat.SoilTakesNoTension) return "";
    if (mat.ContactZones.empty()) return "N.A.";
    std::string text;
    for (const TContactZone& zone : mat.ContactZones) {
        if (!text.empty()) text += ", ";
        text += FormatFixed(zone.Start, 2, 10, decimalSeparator) + " to " +
                FormatFixed(zone.End, 2, 10, decimalSeparator);
    }
    return text + " " + UnitText(TQuantity::Length, mat.UnitSystem);
}

} // namespace slabwise
