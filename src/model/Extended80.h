#pragma once

#include "Real.h"

#include <array>
#include <cstdint>

namespace slabwise {

// The 10-byte x87 extended form as stored in project files: 64-bit
// significand with explicit integer bit, then sign and 15-bit biased exponent,
// little-endian. Built arithmetically so it does not depend on how the
// compiler lays out long double in memory.
using TExtended80 = std::array<uint8_t, 10>;

TExtended80 EncodeExtended80(Real value);
Real DecodeExtended80(const TExtended80& bytes);

} // namespace slabwise
