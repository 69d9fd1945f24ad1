#pragma once

#include "Real.h"

#include <array>
#include <cstdint>

namespace slabwise {

// Limits and display decimals of one numeric field, addressed by the field's
// Tag (1 to 44). Min = Max = 0 means the field is not limited.
struct TInputRange {
    Real Min;
    Real Max;
    int32_t Decimals;

    bool Limited() const { return !(Min == 0 && Max == 0); }
};

constexpr int InputRangeCount = 44;
using TInputRangeTable = std::array<TInputRange, InputRangeCount>;

const TInputRangeTable& EnglishInputRanges();
const TInputRangeTable& SIInputRanges();

} // namespace slabwise
