#include "model/NumberFormat.h"

#include "support/ScopedLocale.h"

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

TEST(FormatGrouped, Cases) {
    struct Case {
        Real value;
        int decimals;
        char decimalSeparator;
        const char* group;
        const char* expected;
    };
    const Case cases[] = {
        {17.361L, 0, '.', ",", "17"},
        {999.5L, 0, '.', ",", "1,000"}, // the carry makes a fourth digit
        {4713.0L * 1.0000001L, 0, '.', ",", "4,713"},
        {125670, 0, '.', ",", "125,670"},
        {1234567.891L, 2, '.', ",", "1,234,567.89"},
        {-1234567, 0, '.', ",", "-1,234,567"},
        {-123, 0, '.', ",", "-123"},
        {78544.375L, 0, ',', ".", "78.544"},
        {47126.25L, 0, ',', "\u202f", "47\u202f126"}, // a multi-byte group separator
        {std::numeric_limits<Real>::quiet_NaN(), 0, '.', ",", "N.A."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatGrouped(c.value, c.decimals, c.decimalSeparator, c.group), c.expected)
            << static_cast<double>(c.value);
}

// The window's process runs under the user's C locale; the texts must not
// change with it, since the separators are the caller's to choose.
class FormatUnderCLocale : public testing::TestWithParam<const char*> {};

TEST_P(FormatUnderCLocale, TextsDoNotFollowLcNumeric) {
    const test::TScopedCLocale locale(GetParam());
    if (!locale.Active())
        GTEST_SKIP() << GetParam() << " is not installed (scripts/install-deps generates it)";
    EXPECT_EQ(FormatFixed(48, 2), "48.00");
    EXPECT_EQ(FormatFixed(0.125L, 4), "0.1250");
    EXPECT_EQ(FormatFixed(2549100, 0, 10, ','), "2549100");
    EXPECT_EQ(FormatFixed(-2.675L, 2, 10, ','), "-2,68");
    EXPECT_EQ(FormatFixed(12345678901.0L, 2), "1.234567890E+10");
    EXPECT_EQ(FormatFixed(1e-30L, 2), "0.00");
    EXPECT_EQ(FormatGrouped(1234567.891L, 2, ',', "."), "1.234.567,89");
    EXPECT_EQ(FormatGrouped(47126.25L, 0, ',', "\u202f"), "47\u202f126");
}

INSTANTIATE_TEST_SUITE_P(UserLocales, FormatUnderCLocale, testing::ValuesIn(test::UserLocaleNames),
                         [](const auto& info) { return test::LocaleTestName(info.param); });

} // namespace
