#pragma once

#include "MatData.h"
#include "Real.h"
#include "Units.h"

#include <cstdint>
#include <optional>
#include <string>

namespace slabwise {

// The numeric inputs of a project as the user reads them.
enum class TInput : uint8_t {
    StripLength,
    StripWidth,
    Thickness,
    Fc,
    SubgradeModulus,
    AllowableBearing,
    UserPoint, // numbered 1 to 4
    FullUniformLoad,
    DistStart, // numbered 1 to 6, as the three after it
    DistIntensity,
    DistEnd,
    PointPosition, // numbered 1 to 12
    PointForce,
    MomentPosition, // numbered 1 to 4
    MomentValue,
    EffWidthPercent,
    Fy,
    ShearLoadFactor,
    MomentLoadFactor,
    TopCover,
    TopBarsOverride,
    BottomCover,
    BotBarsOverride,
};

// How an input is limited when it is read.
enum class TInputBound : uint8_t {
    Row,            // the InputRanges row of its Tag; a row without limits leaves it free
    UpToLength,     // from 0 to the strip length (positions along the strip)
    StartToLength,  // at least the load's start, at most the strip length
    BelowThickness, // from 0 to less than the thickness (clear covers)
};

struct TInputField {
    const char* Caption; // the window's caption; "#" stands for the number
    int Tag;             // the InputRanges row
    std::optional<TQuantity> Unit;
    TInputBound Bound;
    const char* Note; // a second line of the hint, or empty
};

const TInputField& InputField(TInput input);

// The value a number typed or read from a file into a field with this Tag
// takes: limited to the field's bound. Explicit bounds (either not 0, as for a
// distributed load's end: its start to the strip length) replace the Tag's,
// a max of 0 being none; a position still never leaves 0 .. L, whatever
// rounding the caller's bounds went through. A Tag outside the table and a
// row without limits leave the value free.
Real LimitInput(const TMatData& mat, int tag, Real value, Real min = 0, Real max = 0);

// The largest clear cover the field takes: the last value its decimals show
// below the thickness; NaN while the thickness is not positive.
Real MaxCover(const TMatData& mat);

// "Strip Length, L", "Point Load #3, P": the caption with the number of the
// user point or load filled in.
std::string InputCaption(TInput input, int number = 0);

// The caption, the limits in the current unit system and the unit:
// "Strip Length, L: 5 to 500 ft". Positions name the strip length they
// stop at.
std::string InputHint(const TMatData& mat, TInput input, int number = 0, char decimalSeparator = '.');

// What a commit did to a value out of the limits: "Strip Length, L: 600 is
// above the limit; 500.00 used". typed is the text as entered, used the
// value stored, shown with the input's decimals.
std::string ClampNotice(const TMatData& mat, TInput input, int number, const std::string& typed, Real used,
                        char decimalSeparator = '.');

} // namespace slabwise
