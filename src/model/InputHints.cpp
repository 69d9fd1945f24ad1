#include "InputHints.h"

#include "NumberFormat.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace slabwise {

namespace {

using enum TQuantity;
using TB = TInputBound;

// In the order of TInput.
const std::array<TInputField, 23> Fields{{
    {"Strip Length, L", 1, Length, TB::Row, ""},
    {"Strip Width, B", 2, Length, TB::Row, ""},
    {"Strip Thickness, T", 3, Length, TB::Row, ""},
    {"Concrete Str, Fc", 29, Strength, TB::Row, ""},
    {"Subgrade Modulus, k", 5, Subgrade, TB::Row, ""},
    {"Allow. Bearing Cap, qa", 42, Pressure, TB::Row, ""},
    {"User Point x#", 8, Length, TB::UpToLength, ""},
    {"Full Uniform, w", 6, LineLoad, TB::Row, ""},
    {"Distributed Load ##, b", 9, Length, TB::UpToLength, ""},
    {"Distributed Load ##, wb", 10, LineLoad, TB::Row, ""},
    {"Distributed Load ##, e", 9, Length, TB::StartToLength, ""},
    {"Point Load ##, a", 11, Length, TB::UpToLength, ""},
    {"Point Load ##, P", 12, Force, TB::Row, ""},
    {"Moment ##, c", 13, Length, TB::UpToLength, ""},
    {"Moment ##, M", 14, Moment, TB::Row, ""},
    {"%B", 7, Percent, TB::Row, ""},
    {"Steel Yield Str, Fy", 28, Strength, TB::Row, ""},
    {"Shear Load Factor", 43, std::nullopt, TB::Row, ""},
    {"Moment Load Factor", 44, std::nullopt, TB::Row, ""},
    {"Top Clear Cover", 30, DesignLength, TB::Row, ""},
    {"Override # of Top Bars", 34, std::nullopt, TB::Row, "Set to 0 to use computed value"},
    {"Bottom Clear Cover", 30, DesignLength, TB::Row, ""},
    {"Override # of Bottom Bars", 34, std::nullopt, TB::Row, "Set to 0 to use computed value"},
}};

// A limit as the user would type it: no trailing zeros.
std::string Plain(Real value, char separator) {
    std::string text = FormatFixed(value, 4, 10, separator);
    if (text.find(separator) != std::string::npos) {
        while (text.ends_with('0')) text.pop_back();
        if (text.ends_with(separator)) text.pop_back();
    }
    return text;
}

std::string WithUnit(const std::string& text, const TMatData& mat, const TInputField& field) {
    if (!field.Unit) return text;
    const std::string unit = UnitText(*field.Unit, mat.UnitSystem);
    return text + (unit == "%" ? "" : " ") + unit;
}

} // namespace

const TInputField& InputField(TInput input) {
    return Fields.at(static_cast<size_t>(input));
}

std::string InputCaption(TInput input, int number) {
    std::string caption = InputField(input).Caption;
    if (const size_t at = caption.find("##"); at != std::string::npos)
        caption.replace(at, 2, "#" + std::to_string(number));
    else if (const size_t one = caption.find('#'); one != std::string::npos && caption.ends_with('#'))
        caption.replace(one, 1, std::to_string(number));
    return caption;
}

std::string InputHint(const TMatData& mat, TInput input, int number, char decimalSeparator) {
    const TInputField& field = InputField(input);
    const std::string length =
        Plain(mat.StripLength, decimalSeparator) + " " + UnitText(TQuantity::Length, mat.UnitSystem);
    std::string limits;
    switch (field.Bound) {
    case TB::Row: {
        const TInputRange& row = mat.InputRange(field.Tag);
        if (row.Limited())
            limits = WithUnit(Plain(row.Min, decimalSeparator) + " to " + Plain(row.Max, decimalSeparator),
                              mat, field);
        else
            limits = field.Unit ? "no limits (" + UnitText(*field.Unit, mat.UnitSystem) + ")" : "no limits";
        break;
    }
    case TB::UpToLength:
        limits = "at most the strip length, " + length;
        break;
    case TB::StartToLength:
        limits = "from the load's start b to the strip length, " + length;
        break;
    }
    std::string hint = InputCaption(input, number) + ": " + limits;
    if (*field.Note) hint += std::string("\n") + field.Note;
    return hint;
}

std::string ClampNotice(const TMatData& mat, TInput input, int number, const std::string& typed, Real used,
                        char decimalSeparator) {
    const TInputField& field = InputField(input);
    const TInputRange& row = mat.InputRange(field.Tag);
    const bool numeric = std::any_of(typed.begin(), typed.end(), [](char c) { return c >= '0' && c <= '9'; });
    std::string what;
    if (typed.empty())
        what = "is empty";
    else if (!numeric)
        what = "is not a number";
    else if (field.Bound == TB::Row)
        what = used == row.Max ? "is above the limit" : "is below the limit";
    else if (used == mat.StripLength)
        what = "is beyond the strip length";
    else
        what = "is before the load's start";
    return InputCaption(input, number) + ": " + (typed.empty() ? "the box" : typed) + " " + what + "; " +
           FormatFixed(used, row.Decimals, 10, decimalSeparator) + " used";
}

} // namespace slabwise
