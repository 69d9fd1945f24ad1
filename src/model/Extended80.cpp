#include "Extended80.h"

#include <cmath>
#include <limits>

namespace slabwise {

namespace {

constexpr int ExponentBias = 16383;
constexpr uint16_t ExponentAllOnes = 0x7FFF;
constexpr uint64_t IntegerBit = uint64_t{1} << 63;
constexpr uint64_t QuietBit = uint64_t{1} << 62;

TExtended80 Pack(bool negative, uint16_t exponent, uint64_t significand) {
    TExtended80 bytes{};
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(significand >> (8 * i));
    const uint16_t signAndExponent = static_cast<uint16_t>((negative ? 0x8000u : 0u) | exponent);
    bytes[8] = static_cast<uint8_t>(signAndExponent);
    bytes[9] = static_cast<uint8_t>(signAndExponent >> 8);
    return bytes;
}

} // namespace

TExtended80 EncodeExtended80(Real value) {
    const bool negative = std::signbit(value);
    if (std::isnan(value)) return Pack(negative, ExponentAllOnes, IntegerBit | QuietBit);
    if (std::isinf(value)) return Pack(negative, ExponentAllOnes, IntegerBit);
    if (value == 0) return Pack(negative, 0, 0);

    int exponent = 0;
    // |value| = fraction * 2^exponent with fraction in [0.5, 1); the 64-bit
    // significand is fraction * 2^64. Rounding only matters where Real carries
    // more than 64 significant bits.
    Real fraction = std::frexp(std::fabs(value), &exponent);
    Real scaled = std::rint(std::ldexp(fraction, 64));
    if (scaled >= std::ldexp(Real{1}, 64)) {
        scaled = std::ldexp(scaled, -1);
        ++exponent;
    }
    uint64_t significand = static_cast<uint64_t>(scaled);
    int biased = exponent - 1 + ExponentBias;
    if (biased >= ExponentAllOnes) return Pack(negative, ExponentAllOnes, IntegerBit);
    if (biased >= 1) return Pack(negative, static_cast<uint16_t>(biased), significand);

    // Denormal: the stored exponent is 0 but scales like 1, so the significand
    // loses 1 - biased low bits, rounded to nearest even.
    const int shift = 1 - biased;
    if (shift > 64) return Pack(negative, 0, 0);
    const uint64_t kept = shift == 64 ? 0 : significand >> shift;
    const uint64_t lostMask = shift == 64 ? ~uint64_t{0} : (uint64_t{1} << shift) - 1;
    const uint64_t lost = significand & lostMask;
    const uint64_t half = uint64_t{1} << (shift - 1);
    uint64_t rounded = kept;
    if (lost > half || (lost == half && (kept & 1) != 0)) ++rounded;
    // Rounding up into the integer bit makes it the smallest normal number,
    // which has the same bits apart from exponent 1.
    if (rounded & IntegerBit) return Pack(negative, 1, rounded);
    return Pack(negative, 0, rounded);
}

Real DecodeExtended80(const TExtended80& bytes) {
    uint64_t significand = 0;
    for (int i = 7; i >= 0; --i) significand = (significand << 8) | bytes[i];
    const uint16_t signAndExponent = static_cast<uint16_t>(bytes[8] | (bytes[9] << 8));
    const bool negative = (signAndExponent & 0x8000u) != 0;
    const int exponent = signAndExponent & ExponentAllOnes;

    Real magnitude;
    if (exponent == ExponentAllOnes) {
        // The integer bit is ignored, so pseudo-infinities and pseudo-NaNs
        // read as their proper counterparts.
        magnitude = (significand & ~IntegerBit) == 0 ? std::numeric_limits<Real>::infinity()
                                                     : std::numeric_limits<Real>::quiet_NaN();
    } else {
        // value = significand * 2^(exponent - bias - 63), exponent 0 scaling
        // like 1. Unnormals and pseudo-denormals follow the same formula.
        const int scale = (exponent == 0 ? 1 : exponent) - ExponentBias - 63;
        magnitude = std::ldexp(static_cast<Real>(significand), scale);
    }
    return std::copysign(magnitude, negative ? Real{-1} : Real{1});
}

} // namespace slabwise
