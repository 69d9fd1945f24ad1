#include "OpenProject.h"

#include "InputHints.h"
#include "InputRanges.h"
#include "MatData.h"
#include "NumberFormat.h"
#include "Units.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <memory>
#include <optional>
#include <stdexcept>

namespace slabwise {

namespace FieldCaption {

std::string UserPoint(int index) {
    return "User point x" + std::to_string(index + 1);
}
std::string DistLoad(int index) {
    return "Distributed load #" + std::to_string(index + 1);
}
std::string PointLoad(int index) {
    return "Point load #" + std::to_string(index + 1);
}
std::string Moment(int index) {
    return "Moment #" + std::to_string(index + 1);
}

} // namespace FieldCaption

namespace {

// The date field's range, as days since 1899-12-30: 1752-09-14 to 9999-12-31.
constexpr double FirstDay = -53797;
constexpr double LastDay = 2958465;

// Shortest text that reads back as the same value in its own type; no locale
// takes part.
template <typename T> std::string ExactText(T value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value < 0 ? "-infinity" : "infinity";
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc{}) return FormatFixed(value, 6, 18);
    return std::string(buffer, end);
}

// The number a field holds after showing a value: limited to its row,
// written with the row's decimals and at most 10 significant digits, and read
// back; "N.A." and text that does not read back count as 0.
Real ShownAndRead(Real value, const TInputRange& row) {
    if (std::isnan(value)) return 0;
    const std::string text = FormatFixed(LimitToRow(value, row), row.Decimals);
    Real read = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (error != std::errc{} || end != text.data() + text.size() || !std::isfinite(read)) return 0;
    return read;
}

// A value of the file equals the one used when no more than the rounding of
// a double at that size lies between them: a program that keeps binary
// doubles writes 0.8 as 0.8000000000000000444, which is 0.8 to the user. Two
// units in the last place of a double allow for one rounding on each side.
bool SameWithinDouble(Real inFile, Real used) {
    if (inFile == used) return true;
    if (!std::isfinite(inFile) || !std::isfinite(used)) return false;
    const double size = static_cast<double>(std::max(std::fabs(inFile), std::fabs(used)));
    if (!std::isfinite(size)) return false;
    const Real ulp = size - static_cast<Real>(std::nextafter(size, 0.0));
    return std::fabs(inFile - used) <= 2 * ulp;
}

std::string IsoDate(double days) {
    using namespace std::chrono;
    const sys_days day = sys_days{year{1899} / December / 30} + std::chrono::days{static_cast<long>(days)};
    const year_month_day ymd{day};
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return text;
}

// The value a field the file lacks has taken, as the window shows it.
std::string ValueText(const TMatData& mat, const std::string& caption) {
    namespace C = FieldCaption;
    using Q = TQuantity;
    const auto withUnit = [&mat](Real value, std::optional<Q> unit) {
        return ExactText(value) + (unit ? " " + UnitText(*unit, mat.UnitSystem) : std::string());
    };
    if (caption == C::Shape) return mat.Shape == 1 ? "Round" : "Square/Rect";
    if (caption == C::AllowableBearing) return withUnit(mat.AllowableBearing, Q::Pressure);
    if (caption == C::UseReinforcement) return mat.UseReinforcement ? "yes" : "no";
    if (caption == C::BarSystem) {
        static const char* const Names[] = {"US", "European", "Canadian"};
        return mat.BarSystem >= 0 && mat.BarSystem <= BarSystemCanadian ? Names[mat.BarSystem]
                                                                        : std::to_string(mat.BarSystem);
    }
    if (caption == C::Fy) return withUnit(mat.Fy, Q::Strength);
    if (caption == C::Fc) return withUnit(mat.Fc, Q::Strength);
    if (caption == C::TopCover) return withUnit(mat.TopCover, Q::DesignLength);
    if (caption == C::BottomCover) return withUnit(mat.BottomCover, Q::DesignLength);
    if (caption == C::TopBarSize) return mat.BarLabel(mat.TopBarSize);
    if (caption == C::BottomBarSize) return mat.BarLabel(mat.BottomBarSize);
    if (caption == C::TopBarsOverride) return withUnit(mat.TopBarsOverride, std::nullopt);
    if (caption == C::BotBarsOverride) return withUnit(mat.BotBarsOverride, std::nullopt);
    if (caption == C::ShearLoadFactor) return withUnit(mat.ShearLoadFactor, std::nullopt);
    if (caption == C::MomentLoadFactor) return withUnit(mat.MomentLoadFactor, std::nullopt);
    throw std::logic_error("No value text for " + caption);
}

// The start a load's end is read after: the position of its own array before
// it.
const TInputField& StartOf(const TInputField& end) {
    const TInputField* start = nullptr;
    for (const TInputField& field : InputFields) {
        if (&field == &end) break;
        if (field.Array == end.Array && field.Bound == TInputBound::UpToLength) start = &field;
    }
    if (!start) throw std::logic_error("No start for " + std::string(end.Caption));
    return *start;
}

class TAdjuster {
public:
    explicit TAdjuster(TMatData& mat) : mat_(mat) {}

    void Field(const std::string& caption, Real& field, int tag, std::optional<TQuantity> unit, Real min = 0,
               Real max = 0) {
        const TInputRange& row = mat_.InputRange(tag);
        const Real used = LimitInput(mat_, tag, ShownAndRead(field, row), min, max);
        Note(caption, field, used, unit);
        field = used;
    }

    void Note(const std::string& caption, Real inFile, Real used, std::optional<TQuantity> unit) {
        // NaN never equals itself, so a NaN in the file is always noted.
        if (SameWithinDouble(inFile, used)) return;
        const std::string suffix = unit ? " " + UnitText(*unit, mat_.UnitSystem) : std::string();
        changes_.push_back({caption, ExactText(inFile) + suffix, ExactText(used) + suffix});
    }

    void Bar(const char* caption, int32_t& bar) {
        if (TableHoldsBar(mat_.BarTable, bar)) return;
        const int32_t used = mat_.BarTable.front().Bar;
        changes_.push_back({caption, mat_.BarLabel(bar), mat_.BarLabel(used)});
        bar = used;
    }

    void Date(double& days) {
        double used = std::isfinite(days) ? std::floor(days) : TodayDate();
        if (used < FirstDay) used = FirstDay;
        if (used > LastDay) used = LastDay;
        if (used == days) return;
        changes_.push_back({"Date", ExactText(days), IsoDate(used)});
        days = used;
    }

    std::vector<TAdjustment> Take() { return std::move(changes_); }

private:
    TMatData& mat_;
    std::vector<TAdjustment> changes_;
};

} // namespace

std::vector<TAdjustment> ApplyInputLimits(TMatData& mat) {
    using Q = TQuantity;
    namespace C = FieldCaption;
    mat.PrepareBarTable();
    TAdjuster a(mat);
    a.Date(mat.ProjectDate);
    // In reading order: a position's bound is the strip length already
    // taken, a distributed load's end its start.
    ForEachInput([&](const TInputField& field, int number) {
        Real& value = InputValue(mat, field, number);
        const std::string caption = NumberedCaption(field.FileCaptionOrCaption(), number);
        // A percentage is said without its sign.
        std::optional<Q> unit = field.Unit;
        if (unit == Q::Percent) unit.reset();
        if (field.Input == TInput::StripWidth && mat.Shape == 1) {
            a.Note(caption, value, mat.StripLength, unit);
            value = mat.StripLength;
        } else if (field.Bound == TInputBound::UpToLength) {
            a.Field(caption, value, field.Tag, unit, 0, mat.StripLength);
        } else if (field.Bound == TInputBound::UpToWidth) {
            a.Field(caption, value, field.Tag, unit, 0, MaxAcrossStrip(mat, field.Tag));
        } else if (field.Bound == TInputBound::StartToLength) {
            a.Field(caption, value, field.Tag, unit, InputValue(mat, StartOf(field), number),
                    mat.StripLength);
        } else {
            a.Field(caption, value, field.Tag, unit);
        }
        // The bar sizes are read after their covers.
        if (field.Input == TInput::TopCover) a.Bar(C::TopBarSize, mat.TopBarSize);
        if (field.Input == TInput::BottomCover) a.Bar(C::BottomBarSize, mat.BottomBarSize);
    });
    return a.Take();
}

std::string TOpenReport::NotInVersionLine() const {
    if (NotInVersion.empty()) return {};
    std::string line = "Not in this version " + FileVersion + " file: ";
    for (size_t i = 0; i < NotInVersion.size(); ++i)
        line += (i == 0 ? "" : "; ") + NotInVersion[i].Caption + " = " + NotInVersion[i].Used;
    return line + " used";
}

std::vector<std::string> TOpenReport::Lines() const {
    std::vector<std::string> lines;
    if (!NotRead.empty()) {
        std::string line = "Not read, the file ends early: ";
        for (size_t i = 0; i < NotRead.size(); ++i) line += (i == 0 ? "" : "; ") + NotRead[i];
        lines.push_back(std::move(line));
    }
    if (!NotInVersion.empty()) lines.push_back(NotInVersionLine());
    for (const TAdjustment& change : Adjusted)
        lines.push_back(change.Caption + ": " + change.InFile + " in the file, " + change.Used + " used");
    return lines;
}

TOpenReport OpenProject(TMatData& mat, const std::filesystem::path& fileName) {
    // The model is large; the heap keeps it off the caller's stack.
    auto fresh = std::make_unique<TMatData>(mat);
    TOpenReport report;
    TReadReport read = fresh->LoadFromFile(fileName);
    report.NotRead = std::move(read.NotRead);
    report.Adjusted = ApplyInputLimits(*fresh);
    // A built-in value the limits moved was never in the file: it is said
    // once, as the value used for a field the file lacks.
    std::erase_if(report.Adjusted, [&read](const TAdjustment& change) {
        return std::find(read.NotInVersion.begin(), read.NotInVersion.end(), change.Caption) !=
               read.NotInVersion.end();
    });
    for (const std::string& caption : read.NotInVersion)
        report.NotInVersion.push_back({caption, ValueText(*fresh, caption)});
    if (!report.NotInVersion.empty()) report.FileVersion = ExactText(fresh->FileVersion);
    mat = std::move(*fresh);
    return report;
}

} // namespace slabwise
