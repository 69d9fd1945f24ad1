#include "model/NumberFormat.h"

#include <gtest/gtest.h>

#include <limits>

using namespace slabwise;

namespace {

TEST(FormatFixed, Cases) {
    struct Case {
        Real value;
        int decimals;
        int precision;
        const char* expected;
    };
    const Case cases[] = {
        {500, 2, 10, "500.00"},
        {12.5L, 4, 10, "12.5000"},
        {2.675L, 2, 10, "2.68"}, // decimal tie rounds away from zero
        {-2.675L, 2, 10, "-2.68"},
        {0.004L, 2, 10, "0.00"},
        {-0.004L, 2, 10, "0.00"}, // no minus on a zero
        {0.006L, 2, 10, "0.01"},
        {9.999L, 2, 10, "10.00"},
        {123456.789012L, 4, 10, "123456.7890"}, // 10 significant digits at most
        {1234567890.4L, 2, 10, "1234567890.00"},
        {12345678901.0L, 2, 10, "1.234567890E+10"},
        {9999999999.5L, 0, 10, "1.000000000E+10"},
        {0, 5, 10, "0.00000"},
        {-17, 0, 10, "-17"},
        {0.5L, 0, 10, "1"},
        {24.125L, 2, 8, "24.13"},
        {std::numeric_limits<Real>::quiet_NaN(), 2, 10, "N.A."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatFixed(c.value, c.decimals, c.precision), c.expected) << static_cast<double>(c.value);
}

TEST(FormatFixed, LocaleSeparator) {
    EXPECT_EQ(FormatFixed(3.5L, 2, 10, ','), "3,50");
}

} // namespace
