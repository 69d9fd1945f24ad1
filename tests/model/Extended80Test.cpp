#include "model/Extended80.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

namespace slabwise {
namespace {

using Limits = std::numeric_limits<Real>;

// Significand, then sign and exponent, as the bytes appear in a file.
TExtended80 Bytes(uint64_t significand, uint16_t signAndExponent) {
    TExtended80 bytes{};
    for (int i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(significand >> (8 * i));
    bytes[8] = static_cast<uint8_t>(signAndExponent);
    bytes[9] = static_cast<uint8_t>(signAndExponent >> 8);
    return bytes;
}

std::string Hex(const TExtended80& bytes) {
    std::string text;
    char digits[4];
    for (uint8_t b : bytes) {
        std::snprintf(digits, sizeof digits, "%02X ", b);
        text += digits;
    }
    return text;
}

struct TKnownCase {
    const char* name;
    Real value;
    uint64_t significand;
    uint16_t signAndExponent;
};
// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TKnownCase& c, std::ostream* os) {
    *os << c.name;
}

class Extended80Known : public testing::TestWithParam<TKnownCase> {};

TEST_P(Extended80Known, EncodesToTheX87LayoutAndBack) {
    const TKnownCase& c = GetParam();
    const TExtended80 expected = Bytes(c.significand, c.signAndExponent);
    EXPECT_EQ(Hex(EncodeExtended80(c.value)), Hex(expected));
    const Real decoded = DecodeExtended80(expected);
    if (std::isnan(c.value)) {
        EXPECT_TRUE(std::isnan(decoded));
        EXPECT_EQ(std::signbit(decoded), std::signbit(c.value));
    } else {
        EXPECT_EQ(decoded, c.value);
        EXPECT_EQ(std::signbit(decoded), std::signbit(c.value));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Values, Extended80Known,
    testing::Values(TKnownCase{"One", 1.0L, 0x8000000000000000, 0x3FFF},
                    TKnownCase{"MinusTwo", -2.0L, 0x8000000000000000, 0xC000},
                    TKnownCase{"Half", 0.5L, 0x8000000000000000, 0x3FFE},
                    TKnownCase{"Three", 3.0L, 0xC000000000000000, 0x4000},
                    TKnownCase{"OneTenth", 0.1L, 0xCCCCCCCCCCCCCCCD, 0x3FFB},
                    TKnownCase{"LoadFactor", 1.6L, 0xCCCCCCCCCCCCCCCD, 0x3FFF},
                    TKnownCase{"Zero", 0.0L, 0, 0x0000}, TKnownCase{"NegativeZero", -0.0L, 0, 0x8000},
                    TKnownCase{"Infinity", Limits::infinity(), 0x8000000000000000, 0x7FFF},
                    TKnownCase{"NegativeInfinity", -Limits::infinity(), 0x8000000000000000, 0xFFFF},
                    TKnownCase{"NaN", Limits::quiet_NaN(), 0xC000000000000000, 0x7FFF},
                    TKnownCase{"NegativeNaN", -Limits::quiet_NaN(), 0xC000000000000000, 0xFFFF},
                    TKnownCase{"Largest", Limits::max(), 0xFFFFFFFFFFFFFFFF, 0x7FFE},
                    TKnownCase{"SmallestNormal", Limits::min(), 0x8000000000000000, 0x0001},
                    TKnownCase{"LargestDenormal", Limits::min() - Limits::denorm_min(), 0x7FFFFFFFFFFFFFFF,
                               0x0000},
                    TKnownCase{"SmallestDenormal", Limits::denorm_min(), 0x0000000000000001, 0x0000},
                    TKnownCase{"NegativeDenormal", -Limits::denorm_min() * 6, 0x0000000000000006, 0x8000}),
    [](const testing::TestParamInfo<TKnownCase>& info) { return std::string(info.param.name); });

// Patterns no encoder produces still decode by the x87 formula, without
// undefined behaviour.
TEST(Extended80, DecodesNonCanonicalPatterns) {
    // Unnormal: integer bit clear with a non-zero exponent.
    EXPECT_EQ(DecodeExtended80(Bytes(0x4000000000000000, 0x4000)), 1.0L);
    EXPECT_EQ(DecodeExtended80(Bytes(0x0000000000000001, 0x0001)), Limits::denorm_min());
    EXPECT_EQ(DecodeExtended80(Bytes(0, 0x3FFF)), 0.0L);
    // Pseudo-denormal: exponent 0 with the integer bit set.
    EXPECT_EQ(DecodeExtended80(Bytes(0x8000000000000000, 0x0000)), Limits::min());
    // Pseudo-infinity and pseudo-NaN: the integer bit does not matter.
    EXPECT_EQ(DecodeExtended80(Bytes(0, 0xFFFF)), -Limits::infinity());
    EXPECT_TRUE(std::isnan(DecodeExtended80(Bytes(0x4000000000000000, 0x7FFF))));
    // Signalling NaN with a payload.
    const Real signalling = DecodeExtended80(Bytes(0x8000000000000001, 0xFFFF));
    EXPECT_TRUE(std::isnan(signalling));
    EXPECT_TRUE(std::signbit(signalling));
}

// Every canonical pattern survives decode then encode bit for bit; every
// other pattern decodes to something that encodes and decodes stably.
TEST(Extended80, EveryExponentRoundTrips) {
    const uint64_t fractions[] = {0, 1, 0x5555555555555555, 0x7FFFFFFFFFFFFFFF};
    for (uint32_t signAndExponent = 0; signAndExponent <= 0xFFFF; ++signAndExponent) {
        const uint16_t exponent = signAndExponent & 0x7FFF;
        for (uint64_t fraction : fractions) {
            for (uint64_t integerBit : {uint64_t{0}, uint64_t{1} << 63}) {
                const TExtended80 bytes =
                    Bytes(fraction | integerBit, static_cast<uint16_t>(signAndExponent));
                const Real value = DecodeExtended80(bytes);
                const bool canonical = exponent == 0x7FFF ? integerBit != 0 && (fraction == 0)
                                       : exponent == 0    ? integerBit == 0
                                                          : integerBit != 0;
                if (canonical) {
                    ASSERT_TRUE(EncodeExtended80(value) == bytes) << Hex(bytes);
                } else if (!std::isnan(value)) {
                    ASSERT_EQ(DecodeExtended80(EncodeExtended80(value)), value) << Hex(bytes);
                }
            }
        }
    }
}

// Where Real is the x87 type itself, its first ten bytes in memory are the
// file form, which gives an independent oracle for arbitrary values.
TEST(Extended80, MatchesNativeX87Layout) {
    if constexpr (Limits::digits != 64 || Limits::max_exponent != 16384) {
        GTEST_SKIP() << "Real is not the x87 extended type on this platform";
    } else {
        std::mt19937_64 random(20240611);
        for (int i = 0; i < 100000; ++i) {
            TExtended80 bytes =
                Bytes(random() | (uint64_t{1} << 63), static_cast<uint16_t>(random() % 0xFFFF));
            if ((bytes[9] & 0x7F) == 0x7F && bytes[8] == 0xFF) bytes[8] = 0xFE; // keep it finite
            if ((bytes[8] | (bytes[9] & 0x7F)) == 0) bytes[7] &= 0x7F;          // denormal form
            const Real value = DecodeExtended80(bytes);
            Real native = 0;
            std::memcpy(&native, bytes.data(), bytes.size());
            ASSERT_EQ(value, native) << Hex(bytes);
            ASSERT_TRUE(EncodeExtended80(native) == bytes) << Hex(bytes);
        }
    }
}

} // namespace
} // namespace slabwise
