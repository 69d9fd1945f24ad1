#include "InputHints.h"

#include "NumberFormat.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace slabwise {

namespace {

using TB = TInputBound;

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

// The bound of a Tag's fields; a Tag shared by a load's start and end is a
// position either way.
TInputBound TagBound(int tag) {
    for (const TInputField& field : InputFields)
        if (field.Tag == tag) return field.Bound == TB::StartToLength ? TB::UpToLength : field.Bound;
    return TB::Row;
}

} // namespace

Real LimitInput(const TMatData& mat, int tag, Real value, Real min, Real max) {
    const TInputBound bound = tag >= 1 && tag <= InputRangeCount ? TagBound(tag) : TB::Row;
    const auto onStrip = [&mat](Real position) {
        return Bounded(position, 0, std::max(mat.StripLength, Real(0)));
    };
    if (min != 0 || max != 0) {
        if (value < min) value = min;
        if (max != 0 && value > max) value = max;
        // A strip length passed as a double (14.3 m) may lie a rounding
        // beyond the strip itself.
        return bound == TB::UpToLength && mat.StripLength > 0 ? onStrip(value) : value;
    }
    if (tag < 1 || tag > InputRangeCount) return value;
    switch (bound) {
    case TB::UpToLength:
    case TB::StartToLength:
        return onStrip(value);
    case TB::BelowThickness: {
        const Real most = MaxCover(mat);
        if (std::isnan(most)) return value < 0 ? 0 : value;
        return Bounded(value, 0, most);
    }
    case TB::UpToWidth:
        return Bounded(LimitToRow(value, mat.InputRange(tag)), 0, MaxAcrossStrip(mat, tag));
    case TB::Row:
        break;
    }
    return LimitToRow(value, mat.InputRange(tag));
}

Real MaxAcrossStrip(const TMatData& mat, int tag) {
    const Real width = std::max(mat.StripWidth, Real(0)) * mat.ByUnits(12, 1000);
    return std::min(width, mat.InputRange(tag).Max);
}

Real MaxCover(const TMatData& mat) {
    const Real thickness = mat.Thickness * mat.ByUnits(12, 1000);
    if (!(thickness > 0)) return std::numeric_limits<Real>::quiet_NaN();
    // In steps of the last decimal shown; a thickness a rounding away from a
    // whole step (0.6 m) is that step, so the cover stays visibly below it.
    const Real scale = std::pow(Real(10), mat.InputRange(TagCover).Decimals);
    Real steps = thickness * scale;
    if (const Real whole = std::nearbyint(steps); std::fabs(steps - whole) <= whole * 1e-15L) steps = whole;
    // A cover of 0 is always possible, however thin the strip.
    return std::max((std::ceil(steps) - 1) / scale, Real(0));
}

std::string InputCaption(TInput input, int number) {
    return NumberedCaption(InputField(input).Caption, number);
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
        limits = "from 0 to the strip length, " + length;
        break;
    case TB::StartToLength:
        limits = "from the load's start b to the strip length, " + length;
        break;
    case TB::UpToWidth: {
        const TInputRange& row = mat.InputRange(field.Tag);
        limits = WithUnit(Plain(row.Min, decimalSeparator) + " to " +
                              Plain(MaxAcrossStrip(mat, field.Tag), decimalSeparator),
                          mat, field) +
                 " (at most the strip width)";
        break;
    }
    case TB::BelowThickness: {
        const Real most = MaxCover(mat);
        limits = std::isnan(most) ? WithUnit("at least 0", mat, field)
                                  : WithUnit("0 to " + Plain(most, decimalSeparator), mat, field) +
                                        " (less than the thickness)";
        break;
    }
    }
    std::string hint = InputCaption(input, number) + ": " + limits;
    if (!field.Note.empty()) hint += "\n" + std::string(field.Note);
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
    else if (field.Bound == TB::UpToWidth)
        what = used == row.Min   ? "is below the limit"
               : used == row.Max ? "is above the limit"
                                 : "is wider than the strip";
    else if (field.Bound == TB::BelowThickness)
        what = used == 0 ? "is below 0" : "is not less than the thickness";
    else if (used == mat.StripLength)
        what = "is beyond the strip length";
    else if (field.Bound == TB::UpToLength)
        what = "is before the strip's left end";
    else
        what = "is before the load's start";
    return InputCaption(input, number) + ": " + (typed.empty() ? "the box" : typed) + " " + what + "; " +
           FormatFixed(used, row.Decimals, 10, decimalSeparator) + " used";
}

} // namespace slabwise
