#include "FormFields.h"

#include "PunchingShear.h"
#include "ResultFields.h"
#include "ResultTexts.h"

#include <algorithm>
#include <cmath>

namespace slabwise {

namespace {

// A box shows a derived value: the analysis clears it first, so a failed
// analysis leaves N.A. rather than the last project's number.
constexpr bool AllResults() {
    return std::ranges::all_of(ResultBoxes, [](const TResultBox& box) { return IsResultField(box.Member); });
}
static_assert(AllResults());

// One name is one control: a name listed twice would show two things.
template <class Rows, class Name> constexpr bool DistinctNames(const Rows& rows, Name name) {
    for (size_t i = 0; i < rows.size(); ++i)
        for (size_t k = i + 1; k < rows.size(); ++k)
            if (name(rows[i]) == name(rows[k])) return false;
    return true;
}
static_assert(DistinctNames(ResultBoxes, [](const TResultBox& box) { return box.Control; }));
static_assert(DistinctNames(ResultBoxes, [](const TResultBox& box) { return box.Member; }));
static_assert(DistinctNames(ResultUnitLabels, [](const TUnitLabel& unit) { return unit.Label; }));
static_assert(DistinctNames(FixedCaptions, [](const TFixedCaption& caption) { return caption.Label; }));
static_assert(DistinctNames(CheckPictures, [](const TCheckPicture& picture) { return picture.Check; }));

// Every unit a result box names is a unit label or a fixed "%".
constexpr bool UnitsListed() {
    for (const TResultBox& box : ResultBoxes) {
        if (box.Unit.empty()) continue;
        const bool unit = std::ranges::any_of(
            ResultUnitLabels, [&](const TUnitLabel& label) { return label.Label == box.Unit; });
        const bool fixed = std::ranges::any_of(
            FixedCaptions, [&](const TFixedCaption& caption) { return caption.Label == box.Unit; });
        if (unit == fixed) return false;
    }
    return true;
}
static_assert(UnitsListed());

// A label shows either a fixed caption, a unit or a project's text.
constexpr bool OneKindPerLabel() {
    for (const TFixedCaption& caption : FixedCaptions) {
        if (std::ranges::any_of(ResultUnitLabels,
                                [&](const TUnitLabel& unit) { return unit.Label == caption.Label; }))
            return false;
        if (std::ranges::any_of(FormTextLabels,
                                [&](const TFormTextLabel& text) { return text.Label == caption.Label; }))
            return false;
    }
    return true;
}
static_assert(OneKindPerLabel());

std::string BarChoiceText(const TMatData& mat, int32_t bar) {
    // The list holds the table's bars by their labels; a bar it does not
    // hold shows as its first.
    std::string first;
    for (const TBarRow& row : mat.BarTable) {
        if (row.Bar == 0) continue;
        std::string label = mat.BarLabel(row.Bar);
        if (first.empty()) first = label;
        if (label == "#" + std::to_string(bar)) return label;
    }
    for (const TBarRow& row : mat.BarTable) {
        if (row.Bar == 0) continue;
        std::string label = mat.BarLabel(row.Bar);
        if (label == std::to_string(bar) + "M") return label;
    }
    return first;
}

} // namespace

std::string PointResultControl(const TPointResultRow& row, int point) {
    return std::string(row.Prefix) + std::to_string(point);
}

std::string DistEndIntensityControl(int load) {
    return std::string(DistEndIntensityPrefix) + std::to_string(load) + std::string(DistEndIntensitySuffix);
}

std::string ChoiceText(const TMatData& mat, TChoice choice) {
    switch (choice) {
    case TChoice::Units:
        return std::string(UnitChoices[mat.UnitSystem == UnitsEnglish ? 0 : 1]);
    case TChoice::Shape:
        return std::string(ShapeChoices[mat.Shape == 0 ? 0 : 1]);
    case TChoice::BarSystem:
        return std::string(BarSystemChoices[static_cast<size_t>(
            std::clamp<int32_t>(mat.BarSystem, BarSystemUS, BarSystemCanadian))]);
    case TChoice::TopBar:
        return BarChoiceText(mat, mat.TopBarSize);
    case TChoice::BottomBar:
        return BarChoiceText(mat, mat.BottomBarSize);
    }
    return {};
}

bool CheckShown(const TMatData& mat, TCheck check) {
    switch (check) {
    case TCheck::Bearing:
        return !EqualWithTolerance(mat.AllowableBearing, 0);
    case TCheck::Punching:
        return AnyColumn(mat);
    default:
        return true;
    }
}

bool CheckFails(const TMatData& mat, TCheck check) {
    return CheckShown(mat, check) && !EvaluateCheck(mat, check).Passes;
}

int LogoBoxWidth(int pictureWidth, int pictureHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0) return 0;
    const double exact = static_cast<double>(pictureWidth) * LogoBoxHeight / pictureHeight;
    return std::min(static_cast<int>(std::nearbyint(exact)), LogoSlotWidth);
}

} // namespace slabwise
