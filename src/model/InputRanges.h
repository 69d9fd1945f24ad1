#pragma once

#include "Real.h"

#include <array>
#include <cstdint>

namespace slabwise {

// Limits and display decimals of one numeric field, addressed by the field's
// Tag (1 to 46). Min = Max = 0 means the field is not limited.
struct TInputRange {
    Real Min;
    Real Max;
    int32_t Decimals;

    constexpr bool Limited() const { return !(Min == 0 && Max == 0); }
};

// The Tag of each kind of numeric field, the index of its row. The window's
// controls carry these numbers; the file reader and the tools name them here.
enum TTag : int {
    TagLength = 1,
    TagWidth = 2,
    TagThickness = 3,
    TagModulus = 4,
    TagSubgrade = 5,
    TagUniformLoad = 6,
    TagEffWidth = 7,
    TagUserPoint = 8,
    TagDistPosition = 9,
    TagDistLoad = 10,
    TagPointPosition = 11,
    TagPointLoad = 12,
    TagMomentPosition = 13,
    TagAppliedMoment = 14,
    TagInertia = 15,
    TagBeta = 16,
    TagBetaL = 17,
    TagShear = 18,
    TagMoment = 19,
    TagDeflection = 20,
    TagExtremePressure = 21,
    TagPosition = 22,
    TagBearingArea = 23,
    TagMinSemiRigid = 24,
    TagMinRigid = 25,
    TagLr = 26,
    TagBEst = 27,
    TagFy = 28,
    TagFc = 29,
    TagCover = 30,
    TagAsRequired = 32,
    TagBarsMin = 33,
    TagBarsOverride = 34,
    TagSpacing = 35,
    TagDepth = 36,
    TagAsProvided = 37,
    TagSteelPct = 38,
    TagAllowMoment = 39,
    TagFactoredShear = 40,
    TagAllowShear = 41,
    TagBearing = 42,
    TagShearFactor = 43,
    TagMomentFactor = 44,
    // Rows added later go after the window's original ones, whose Tags stay.
    TagColumnSize = 45,
    // Its own row, as it is also bounded by the strip width.
    TagColumnWidth = 46,
};

constexpr int InputRangeCount = 46;

// value brought within min .. max (min first, should they cross); NaN stays
// NaN, for the caller to judge.
constexpr Real Bounded(Real value, Real min, Real max) {
    if (value < min) return min;
    if (value > max) return max;
    return value;
}

// value within the row's limits; a row without limits leaves it free. The
// file reader and the window's boxes both limit through this.
constexpr Real LimitToRow(Real value, const TInputRange& row) {
    return row.Limited() ? Bounded(value, row.Min, row.Max) : value;
}
using TInputRangeTable = std::array<TInputRange, InputRangeCount>;

const TInputRangeTable& EnglishInputRanges();
const TInputRangeTable& SIInputRanges();

} // namespace slabwise
