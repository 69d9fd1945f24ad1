#include "PunchingTable.h"

#include <limits>

namespace slabwise {

std::string PunchingHeadingText(const TMatData& mat, const TPunchingHeading& heading) {
    std::string text(heading.Caption);
    if (heading.Unit) text += ", " + UnitText(*heading.Unit, mat.UnitSystem);
    return text;
}

std::string_view PunchingSectionName(TPunchingSection section) {
    return section == TPunchingSection::Interior ? "Interior" : "Edge";
}

std::vector<int> PunchingLoads(const TMatData& mat) {
    std::vector<int> loads;
    for (size_t i = 0; i < mat.Columns.size(); ++i)
        if (mat.Columns[i].Given()) loads.push_back(static_cast<int>(i) + 1);
    return loads;
}

Real PunchingValue(const TPunchingResult& result, TPunchingColumn column) {
    const Real NaN = std::numeric_limits<Real>::quiet_NaN();
    if (result.State != TPunchingState::Checked) return NaN;
    switch (column) {
    case TPunchingColumn::B0:
        return result.B0;
    case TPunchingColumn::D:
        return result.D;
    case TPunchingColumn::Vu:
        return result.Vu;
    case TPunchingColumn::PhiVn:
        return result.PhiVn;
    case TPunchingColumn::Util:
        return result.Util;
    case TPunchingColumn::Load:
    case TPunchingColumn::Section:
        break;
    }
    return NaN;
}

} // namespace slabwise
