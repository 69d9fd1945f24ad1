#include "SoilModulus.h"

#include "BarTables.h"
#include "Units.h"

#include <cmath>
#include <limits>

namespace slabwise {

namespace {

// The ranges are known in kips per cubic foot.
struct TSoilRange {
    const char* Caption;
    Real Low, High;
};
constexpr TSoilRange SandRanges[] = {
    {"Loose Sand", 30, 100},         {"Medium Sand", 60, 500},        {"Dense Sand", 400, 800},
    {"Sand w/Clay (mix)", 200, 500}, {"Sand w/Silt (mix)", 150, 300},
};

} // namespace

std::vector<TSoilModulusLine> SoilModulusLines(const TMatData& model) {
    // Kips per cubic foot to pci or kN/m³.
    const Real factor = model.ByUnits(0.5787, 157.0875);
    const auto soil = [factor](std::string caption, Real low, Real high) {
        return TSoilModulusLine{std::move(caption), true, low * factor, high * factor};
    };
    const auto text = [](std::string caption) { return TSoilModulusLine{std::move(caption), false, 0, 0}; };

    const std::string strengthUnit = UnitText(TQuantity::SoilStrength, model.UnitSystem);
    // Ksf to the model's unit; the bounds are whole numbers, ties to even.
    const Real strength = model.ByUnits(1, 47.875);
    const std::string q4 =
        std::to_string(static_cast<int>(std::nearbyint(4 * strength))) + " " + strengthUnit;
    const std::string q8 =
        std::to_string(static_cast<int>(std::nearbyint(8 * strength))) + " " + strengthUnit;

    std::vector<TSoilModulusLine> lines{text("Sandy Soils:")};
    for (const TSoilRange& r : SandRanges) lines.push_back(soil(r.Caption, r.Low, r.High));
    lines.push_back(text(""));
    lines.push_back(text("Clayey Soils:"));
    lines.push_back(soil("qu < " + q4, 75, 150));
    lines.push_back(soil(q4 + " < qu < " + q8, 150, 300));
    lines.push_back(soil("qu > " + q8, 300, std::numeric_limits<Real>::quiet_NaN()));
    lines.push_back(text("qu - unconfined compr. strength"));
    return lines;
}

std::string SoilModulusNote(uint8_t unitSystem) {
    if (unitSystem != UnitsSI) return {};
    return "Note: values above are strictly metric conversions of values from the English units version.";
}

} // namespace slabwise
