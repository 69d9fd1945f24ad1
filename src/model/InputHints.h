#pragma once

#include "InputFields.h"
#include "MatData.h"
#include "Real.h"
#include "Units.h"

#include <string>

namespace slabwise {

// The value a number typed or read from a file into a field with this Tag
// takes: limited to the field's bound. Explicit bounds (either not 0, as for a
// distributed load's end: its start to the strip length) replace the Tag's,
// a max of 0 being none; a position still never leaves 0 .. L, whatever
// rounding the caller's bounds went through. A Tag outside the table and a
// row without limits leave the value free.
Real LimitInput(const TMatData& mat, int tag, Real value, Real min = 0, Real max = 0);

// The largest column size across the strip the field with this Tag takes: its
// row's maximum, at most the strip width (in in or mm).
Real MaxAcrossStrip(const TMatData& mat, int tag);

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
