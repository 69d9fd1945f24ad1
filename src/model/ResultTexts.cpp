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

std::vector<std::string> LoadsOutsideStrip(const TMatData& mat) {
    const Real L = mat.StripLength;
    const auto outside = [L](Real x) { return !(x >= 0 && x <= L); };
    std::vector<std::string> names;
    for (size_t n = 0; n < mat.DistLoads.size(); ++n) {
        const TDistLoad& d = mat.DistLoads[n];
        if (d.wb != 0 && (outside(d.b) || outside(d.e)))
            names.push_back("distributed load " + std::to_string(n + 1));
    }
    for (size_t n = 0; n < mat.PointLoads.size(); ++n)
        if (mat.PointLoads[n].P != 0 && outside(mat.PointLoads[n].a))
            names.push_back("point load " + std::to_string(n + 1));
    for (size_t n = 0; n < mat.Moments.size(); ++n)
        if (mat.Moments[n].M != 0 && outside(mat.Moments[n].c))
            names.push_back("moment " + std::to_string(n + 1));
    return names;
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
    std::string message;
    if (BelowWithTolerance(mat.MaxPressure, 0) && BelowWithTolerance(mat.MinPressure, 0))
        message = "Q(max) & (min) < 0, analysis is not valid!";
    else if (BelowWithTolerance(mat.BearingAreaPct, 85))
        message = "Brg Area < 85%, analysis may not be valid!";
    const std::vector<std::string> outside = LoadsOutsideStrip(mat);
    if (outside.empty()) return message;
    if (!message.empty()) message += ' ';
    message += "Loads outside the strip (extremes and design from 0 to L only):";
    for (size_t i = 0; i < outside.size(); ++i) message += (i == 0 ? " " : ", ") + outside[i];
    return message + '.';
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
