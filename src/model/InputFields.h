#pragma once

#include "InputRanges.h"
#include "MatData.h"
#include "Units.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

namespace slabwise {

// The numeric inputs of a project as one list: the file reader's limits, the
// hints, the analyzer's inputs and the window's boxes all walk it, so an input
// added here is limited, explained, printed and shown everywhere. Order is
// the window's reading order: a load's start comes before its end, whose
// lower bound it is, and every position after the strip length.

// The numeric inputs as the user reads them, in the list's order.
enum class TInput : uint8_t {
    StripLength,
    StripWidth,
    Thickness,
    Fc,
    SubgradeModulus,
    AllowableBearing,
    UserPoint, // numbered 1 to 4
    FullUniformLoad,
    DistStart, // numbered 1 to 6, as the three after it
    DistIntensity,
    DistEnd,
    PointPosition, // numbered 1 to 12
    PointForce,
    MomentPosition, // numbered 1 to 4
    MomentValue,
    ColumnAlong, // numbered 1 to 12, as the one after it: the column of each point load
    ColumnAcross,
    EffWidthPercent,
    Fy,
    ShearLoadFactor,
    MomentLoadFactor,
    TopCover,
    TopBarsOverride,
    BottomCover,
    BotBarsOverride,
};

// How an input is limited when it is read.
enum class TInputBound : uint8_t {
    Row,            // the InputRanges row of its Tag; a row without limits leaves it free
    UpToLength,     // from 0 to the strip length (positions along the strip)
    StartToLength,  // at least the load's start, at most the strip length
    BelowThickness, // from 0 to less than the thickness (clear covers)
    UpToWidth,      // the row's limits, and at most the strip width (a column across the strip)
};

// Stretches of the analyzer's JSON the inputs fall in, between the values
// that are no numeric inputs.
enum class TInputGroup : uint8_t {
    Geometry,      // before the concrete modulus
    SoilAndLoads,  // after it, up to the reinforcement switches and bar sizes
    Reinforcement, // after those
};

// A designer name of the window; "#" stands for the input's number counted
// from First: {"Edit#", 6} is Edit6 for user point 1.
struct TControlName {
    std::string_view Pattern;
    int First = 1;

    constexpr bool Empty() const { return Pattern.empty(); }
    // The name for number (1 to the row's Count; 0 for an input without one).
    std::string For(int number) const;
};

// A box of the window that shows an input and the labels beside it; names
// are empty where the window has no such label. A column of numbered boxes
// has one unit label over it: the numbers are split evenly over Units, the
// first half of the point loads under the first label.
struct TInputBox {
    TControlName Edit;
    TControlName Caption{};
    std::array<std::string_view, 2> Units{};
    // Before the unit text on the unit label: "b, " for "b, ft".
    std::string_view UnitPrefix{};

    constexpr bool Empty() const { return Edit.Empty(); }
    std::string_view UnitLabel(int number, int count) const;
};

using TInputElement = Real& (*)(TMatData&, int index);

struct TInputField {
    TInput Input;
    // The member for an input without a number, else the element by its
    // zero-based index; the other is null.
    Real TMatData::*Member;
    TInputElement Element;
    int Count; // 1, or how many numbered inputs the row stands for
    int Tag;   // the InputRanges row
    std::optional<TQuantity> Unit;
    std::string_view Caption; // the window's caption; "#" stands for the number
    // The caption a report about a file names it by, where that differs;
    // numbered as Caption.
    std::string_view FileCaption;
    TInputBound Bound;
    std::string_view Note; // a second line of the hint, or empty
    // The JSON key; for numbered inputs the key within each element of
    // Array, or empty where the elements are the numbers themselves.
    std::string_view Key;
    std::string_view Array;
    TInputGroup Group;
    int JsonRank; // the place among the inputs in the JSON
    TInputBox Box;
    // Fc shows on the reinforcement page as well.
    TInputBox SecondBox;

    constexpr bool Numbered() const { return Element != nullptr; }
    constexpr std::string_view FileCaptionOrCaption() const {
        return FileCaption.empty() ? Caption : FileCaption;
    }
};

// The key is spelt from the member, and the member from the input's name, so
// the three cannot disagree; a numbered input's key is its member without the
// dot, none for the user points, whose array holds the numbers themselves.
// clang-format off
#define SLABWISE_INPUT(input, tag, unit, caption, fileCaption, bound, note, group, rank, ...) \
    TInputField{TInput::input, &TMatData::input, nullptr, 1, tag, unit, caption, fileCaption, \
                TInputBound::bound, note, #input, "", TInputGroup::group, rank, __VA_ARGS__}
#define SLABWISE_NUMBERED(input, array, member, tag, unit, caption, fileCaption, bound, rank, ...) \
    TInputField{TInput::input, nullptr, \
                [](TMatData& m, int i) -> Real& { return m.array[static_cast<size_t>(i)] member; }, \
                static_cast<int>(std::tuple_size_v<decltype(TMatData::array)>), tag, unit, caption, fileCaption, \
                TInputBound::bound, "", std::string_view(#member).substr(#member[0] == '.' ? 1 : 0), #array, TInputGroup::SoilAndLoads, rank, \
                __VA_ARGS__}
inline constexpr std::array InputFields{
    SLABWISE_INPUT(StripLength, TagLength, TQuantity::Length, "Strip Length, L", "", Row, "", Geometry, 1,
                   {{"Edit1"}, {"Label4"}, {"Label5"}}, {}),
    SLABWISE_INPUT(StripWidth, TagWidth, TQuantity::Length, "Strip Width, B", "", Row, "", Geometry, 0,
                   {{"Edit2"}, {"Label6"}, {"Label7"}}, {}),
    SLABWISE_INPUT(Thickness, TagThickness, TQuantity::Length, "Strip Thickness, T", "", Row, "", Geometry, 2,
                   {{"Edit3"}, {"Label8"}, {"Label9"}}, {}),
    SLABWISE_INPUT(Fc, TagFc, TQuantity::Strength, "Concrete Str, Fc", "", Row, "", Reinforcement, 18,
                   {{"Edit63"}, {"Label178"}, {"Label179"}}, {{"Edit39"}, {"Label21"}, {"Label116"}}),
    SLABWISE_INPUT(SubgradeModulus, TagSubgrade, TQuantity::Subgrade, "Subgrade Modulus, k", "", Row, "",
                   SoilAndLoads, 3, {{"Edit5"}, {"Label12"}, {"Label13"}}, {}),
    SLABWISE_INPUT(AllowableBearing, TagBearing, TQuantity::Pressure, "Allow. Bearing Cap, qa", "", Row, "",
                   SoilAndLoads, 4, {{"Edit62"}, {"Label174"}, {"Label175"}}, {}),
    SLABWISE_NUMBERED(UserPoint, UserX, , TagUserPoint, TQuantity::Length, "User Point x#", "User point x#",
                      UpToLength, 7, {{"Edit#", 6}, {"Label#", 186}, {"Label15"}, "Distance, "}, {}),
    SLABWISE_INPUT(FullUniformLoad, TagUniformLoad, TQuantity::LineLoad, "Full Uniform, w", "", Row, "",
                   SoilAndLoads, 5, {{"Edit10"}, {"Label34"}, {"Label35"}}, {}),
    SLABWISE_NUMBERED(DistStart, DistLoads, .b, TagDistPosition, TQuantity::Length, "Distributed Load ##, b",
                      "Distributed load ##, b", UpToLength, 8, {{"EditDist#b"}, {}, {"Label23"}, "b, "}, {}),
    SLABWISE_NUMBERED(DistIntensity, DistLoads, .wb, TagDistLoad, TQuantity::LineLoad, "Distributed Load ##, wb",
                      "Distributed load ##, wb", Row, 10, {{"EditDist#wb"}, {}, {"Label26"}, "wb, "}, {}),
    SLABWISE_NUMBERED(DistEnd, DistLoads, .e, TagDistPosition, TQuantity::Length, "Distributed Load ##, e",
                      "Distributed load ##, e", StartToLength, 9, {{"EditDist#e"}, {}, {"Label27"}, "e, "}, {}),
    SLABWISE_NUMBERED(PointPosition, PointLoads, .a, TagPointPosition, TQuantity::Length, "Point Load ##, a",
                      "Point load ##, a", UpToLength, 11, {{"EditPoint#a"}, {}, {"Label37", "Label40"}, "a, "}, {}),
    SLABWISE_NUMBERED(PointForce, PointLoads, .P, TagPointLoad, TQuantity::Force, "Point Load ##, P",
                      "Point load ##, P", Row, 12, {{"EditPoint#p"}, {}, {"Label39", "Label41"}, "P, "}, {}),
    SLABWISE_NUMBERED(MomentPosition, Moments, .c, TagMomentPosition, TQuantity::Length, "Moment ##, c",
                      "Moment ##, c", UpToLength, 13, {{"EditMom#c"}, {}, {"Label60", "Label63"}, "c, "}, {}),
    SLABWISE_NUMBERED(MomentValue, Moments, .M, TagAppliedMoment, TQuantity::Moment, "Moment ##, M",
                      "Moment ##, M", Row, 14, {{"EditMom#m"}, {}, {"Label62", "Label64"}, "M, "}, {}),
    SLABWISE_NUMBERED(ColumnAlong, Columns, .c1, TagColumnSize, TQuantity::DesignLength, "Point Load ##, c1",
                      "Point load ##, column c1", Row, 15, {{"EditPoint#c1"}, {}, {"Label190", "Label192"}, "c1, "}, {}),
    SLABWISE_NUMBERED(ColumnAcross, Columns, .c2, TagColumnWidth, TQuantity::DesignLength, "Point Load ##, c2",
                      "Point load ##, column c2", UpToWidth, 16, {{"EditPoint#c2"}, {}, {"Label191", "Label193"}, "c2, "},
                      {}),
    SLABWISE_INPUT(EffWidthPercent, TagEffWidth, TQuantity::Percent, "%B", "", Row, "", SoilAndLoads, 6,
                   {{"Edit36"}, {"Label112"}, {"Label113"}}, {}),
    SLABWISE_INPUT(Fy, TagFy, TQuantity::Strength, "Steel Yield Str, Fy", "", Row, "", Reinforcement, 17,
                   {{"Edit38"}, {"Label17"}, {"Label19"}}, {}),
    SLABWISE_INPUT(ShearLoadFactor, TagShearFactor, std::nullopt, "Shear Load Factor", "", Row, "", Reinforcement, 23,
                   {{"Edit64"}, {"Label180"}}, {}),
    SLABWISE_INPUT(MomentLoadFactor, TagMomentFactor, std::nullopt, "Moment Load Factor", "", Row, "",
                   Reinforcement, 24, {{"Edit65"}, {"Label182"}}, {}),
    SLABWISE_INPUT(TopCover, TagCover, TQuantity::DesignLength, "Top Clear Cover", "", BelowThickness, "",
                   Reinforcement, 19, {{"Edit40"}, {"Label123"}, {"Label124"}}, {}),
    SLABWISE_INPUT(TopBarsOverride, TagBarsOverride, std::nullopt, "Override # of Top Bars", "Top Override # of Bars",
                   Row, "Set to 0 to use computed value", Reinforcement, 21, {{"Edit43"}, {"Label130"}}, {}),
    SLABWISE_INPUT(BottomCover, TagCover, TQuantity::DesignLength, "Bottom Clear Cover", "", BelowThickness, "",
                   Reinforcement, 20, {{"Edit49"}, {"Label142"}, {"Label143"}}, {}),
    SLABWISE_INPUT(BotBarsOverride, TagBarsOverride, std::nullopt, "Override # of Bottom Bars",
                   "Bottom Override # of Bars", Row, "Set to 0 to use computed value", Reinforcement, 22,
                   {{"Edit52"}, {"Label148"}}, {}),
};
// clang-format on
#undef SLABWISE_INPUT
#undef SLABWISE_NUMBERED

constexpr const TInputField& InputField(TInput input) {
    return InputFields[static_cast<size_t>(input)];
}

// caption with the number filled in: "Point Load ##, a" as "Point Load #3, a",
// "User Point x#" as "User Point x3"; a caption without a slot as it is.
std::string NumberedCaption(std::string_view caption, int number);

// The value of input number (1 to the row's Count; 0 or 1 for an input
// without a number).
Real& InputValue(TMatData& mat, const TInputField& field, int number = 0);
Real InputValue(const TMatData& mat, const TInputField& field, int number = 0);

// The designer names of the box that shows input number, of the caption
// label and of the unit label beside it; empty where the window has none.
std::string InputControl(TInput input, int number = 0);
std::string InputCaptionLabel(TInput input, int number = 0);
std::string InputUnitLabel(TInput input, int number = 0);

// The row and number of the box named control ("EditPoint3a", "Edit39"),
// nullopt for a name no input shows in.
struct TInputAt {
    TInput Input;
    int Number; // 0 for an input without a number
};
std::optional<TInputAt> InputOfControl(std::string_view control);

// Calls visit(field, number) for every input in reading order: numbered rows
// of one array load by load ("Distributed Load #1" b, wb, e, then #2), the
// number 0 for an input without one.
template <class Visit> void ForEachInput(Visit&& visit) {
    for (size_t i = 0; i < InputFields.size();) {
        const TInputField& first = InputFields[i];
        if (!first.Numbered()) {
            visit(first, 0);
            ++i;
            continue;
        }
        size_t end = i + 1;
        while (end < InputFields.size() && InputFields[end].Numbered() &&
               InputFields[end].Array == first.Array)
            ++end;
        for (int number = 1; number <= first.Count; ++number)
            for (size_t k = i; k < end; ++k) visit(InputFields[k], number);
        i = end;
    }
}

// The rows in the order of the analyzer's JSON.
std::array<const TInputField*, InputFields.size()> InputFieldsInJsonOrder();

} // namespace slabwise
