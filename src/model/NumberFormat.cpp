#include "NumberFormat.h"

#include <charconv>
#include <cmath>
#include <string>
#include <string_view>

namespace slabwise {

namespace {

// |value| as decimal digits d1 d2 ... with value = 0.d1d2... x 10^exponent.
struct TDecimal {
    std::string digits;
    int exponent = 0;
};

// to_chars writes the point and the exponent whatever LC_NUMERIC says; the
// window sets that from the user's environment, and printf would follow it.
TDecimal ToDecimal(Real magnitude) {
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific, 17);
    const std::string_view text(buf, static_cast<size_t>(written.ptr - buf));
    TDecimal d;
    const auto ePos = text.find('e');
    for (size_t i = 0; i < ePos; ++i)
        if (text[i] != '.') d.digits += text[i];
    std::string_view exponent = text.substr(ePos + 1);
    if (!exponent.empty() && exponent.front() == '+') exponent.remove_prefix(1);
    int power = 0;
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), power);
    d.exponent = power + 1;
    return d;
}

// Keeps `keep` leading digits, rounding half away from zero; a carry out of
// the first digit raises the exponent.
void RoundTo(TDecimal& d, int keep) {
    if (keep < 0) {
        d = TDecimal{std::string(1, '0'), 1};
        return;
    }
    if (static_cast<size_t>(keep) >= d.digits.size()) return;
    const bool up = d.digits[static_cast<size_t>(keep)] >= '5';
    d.digits.resize(static_cast<size_t>(keep));
    if (!up) return;
    int i = keep - 1;
    for (; i >= 0; --i) {
        if (d.digits[static_cast<size_t>(i)] == '9') {
            d.digits[static_cast<size_t>(i)] = '0';
        } else {
            ++d.digits[static_cast<size_t>(i)];
            break;
        }
    }
    if (i < 0) {
        d.digits.insert(d.digits.begin(), '1');
        ++d.exponent;
    }
}

bool AllZero(const std::string& digits) {
    return digits.find_first_not_of('0') == std::string::npos;
}

} // namespace

std::string FormatFixed(Real value, int decimals, int precision, char decimalSeparator) {
    if (std::isnan(value)) return "N.A.";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    const bool negative = std::signbit(value);
    TDecimal d = ToDecimal(std::fabs(value));
    if (value == 0) d = {"0", 1};
    RoundTo(d, precision);

    std::string out;
    if (d.exponent > precision) {
        // Too many integer digits for fixed notation.
        out = d.digits.substr(0, 1);
        if (precision > 1) {
            std::string rest = d.digits.substr(1);
            rest.resize(static_cast<size_t>(precision - 1), '0');
            out += decimalSeparator + rest;
        }
        const std::string power = std::to_string(d.exponent - 1);
        out += (power.size() < 2 ? "E+0" : "E+") + power;
    } else {
        RoundTo(d, d.exponent + decimals);
        if (d.exponent <= 0) {
            // Every kept digit lies after the separator.
            const int zeros = 1 - d.exponent;
            d.digits.insert(0, static_cast<size_t>(zeros), '0');
            d.exponent = 1;
        }
        const int kept = d.exponent + decimals;
        d.digits.resize(static_cast<size_t>(kept), '0');
        out = d.digits.substr(0, static_cast<size_t>(d.exponent));
        if (decimals > 0) out += decimalSeparator + d.digits.substr(static_cast<size_t>(d.exponent));
        if (AllZero(d.digits)) return out;
    }
    return negative ? "-" + out : out;
}

std::string FormatGrouped(Real value, int decimals, char decimalSeparator,
                          const std::string& groupSeparator) {
    std::string text = FormatFixed(value, decimals, 18, decimalSeparator);
    if (text.find_first_not_of("-0123456789" + std::string(1, decimalSeparator)) != std::string::npos)
        return text; // N.A., INF or scientific: nothing to group
    const size_t begin = text[0] == '-' ? 1 : 0;
    size_t end = text.find(decimalSeparator);
    if (end == std::string::npos) end = text.size();
    for (size_t at = end; at > begin + 3; at -= 3) text.insert(at - 3, groupSeparator);
    return text;
}

} // namespace slabwise
