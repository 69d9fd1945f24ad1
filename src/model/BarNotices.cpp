#include "BarNotices.h"

#include "FormFields.h"
#include "NumberFormat.h"
#include "OpenProject.h"

#include <cmath>

namespace slabwise {

namespace {

TBarChoice BarChoice(const TMatData& mat, int32_t bar) {
    const double diameter = static_cast<double>(mat.FindBar(bar).Diameter);
    return {mat.BarSystem, mat.BarLabel(bar), mat.UnitSystem == UnitsSI ? diameter : diameter * 25.4};
}

std::string Named(const TBarChoice& bar, bool withDiameter, char decimalSeparator) {
    std::string text = BarSystemName(bar.System) + ' ' + bar.Label;
    if (withDiameter) text += " (" + FormatFixed(bar.Millimetres, 2, 10, decimalSeparator) + " mm)";
    return text;
}

} // namespace

TBarChoices BarChoices(const TMatData& mat) {
    return {BarChoice(mat, mat.TopBarSize), BarChoice(mat, mat.BottomBarSize)};
}

std::string BarSystemName(int32_t system) {
    if (system < 0 || static_cast<size_t>(system) >= BarSystemChoices.size()) return {};
    return std::string(BarSystemChoices[static_cast<size_t>(system)]);
}

std::vector<std::string> BarReplacedNotices(const TBarChoices& before, const TBarChoices& after,
                                            char decimalSeparator) {
    const char* const captions[] = {FieldCaption::TopBarSize, FieldCaption::BottomBarSize};
    std::vector<std::string> notices;
    for (size_t i = 0; i < before.size(); ++i) {
        if (after[i].System == before[i].System &&
            std::fabs(after[i].Millimetres - before[i].Millimetres) < 1e-6)
            continue;
        // Alike names of different bars are told apart by their diameters.
        const bool alike = after[i].Label == before[i].Label;
        notices.push_back(std::string(captions[i]) + ": " + Named(before[i], alike, decimalSeparator) +
                          " replaced by " + Named(after[i], alike, decimalSeparator));
    }
    return notices;
}

} // namespace slabwise
