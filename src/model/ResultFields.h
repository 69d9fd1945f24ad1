#pragma once

#include "MatData.h"
#include "Units.h"

#include <array>
#include <string_view>

namespace slabwise {

// The values the analysis derives from the inputs, as one list: clearing
// before an analysis, the analyzer's JSON and the window's result boxes all
// walk it, so a value added here is cleared, printed and checked everywhere.
// Order is the JSON's.

// Stretches of the list in the order the analyzer's JSON shows them, between
// the inputs they follow.
enum class TResultGroup {
    Material,  // among the geometry inputs, after the thickness
    Stiffness, // after the reinforcement inputs
    Extremes,  // after the left-end parameters
    Design,
};

struct TResultField {
    std::string_view Name; // the member's name, the JSON key
    Real TMatData::*Member;
    TResultGroup Group;
};

// The name is spelt from the member, so the two cannot disagree.
// clang-format off
#define SLABWISE_RESULT(group, member) TResultField{#member, &TMatData::member, TResultGroup::group}
// clang-format on
inline constexpr std::array ResultFields{
    // Computed from Fc, though the file stores it and the window shows it as
    // an input.
    SLABWISE_RESULT(Material, ConcreteModulus),
    SLABWISE_RESULT(Stiffness, Inertia),
    SLABWISE_RESULT(Stiffness, Beta),
    SLABWISE_RESULT(Stiffness, BetaL),
    SLABWISE_RESULT(Stiffness, FlexuralRigidity),
    SLABWISE_RESULT(Stiffness, C2),
    SLABWISE_RESULT(Stiffness, C3),
    SLABWISE_RESULT(Stiffness, C4),
    SLABWISE_RESULT(Stiffness, C11),
    SLABWISE_RESULT(Stiffness, TMinSemiRigid),
    SLABWISE_RESULT(Stiffness, TMinRigid),
    SLABWISE_RESULT(Stiffness, Lr),
    SLABWISE_RESULT(Stiffness, BEst),
    SLABWISE_RESULT(Extremes, MaxShear),
    SLABWISE_RESULT(Extremes, MaxShearX),
    SLABWISE_RESULT(Extremes, MinShear),
    SLABWISE_RESULT(Extremes, MinShearX),
    SLABWISE_RESULT(Extremes, MaxMoment),
    SLABWISE_RESULT(Extremes, MaxMomentX),
    SLABWISE_RESULT(Extremes, MinMoment),
    SLABWISE_RESULT(Extremes, MinMomentX),
    SLABWISE_RESULT(Extremes, MaxDeflection),
    SLABWISE_RESULT(Extremes, MaxDeflectionX),
    SLABWISE_RESULT(Extremes, MaxPressure),
    SLABWISE_RESULT(Extremes, MaxPressureX),
    SLABWISE_RESULT(Extremes, MinPressure),
    SLABWISE_RESULT(Extremes, MinPressureX),
    SLABWISE_RESULT(Extremes, BearingAreaPct),
    SLABWISE_RESULT(Design, MuNeg),
    SLABWISE_RESULT(Design, MuPos),
    SLABWISE_RESULT(Design, ThicknessIn),
    SLABWISE_RESULT(Design, TopAsRoot1),
    SLABWISE_RESULT(Design, TopAsRoot2),
    SLABWISE_RESULT(Design, TopA1),
    SLABWISE_RESULT(Design, TopA2),
    SLABWISE_RESULT(Design, BotAsRoot1),
    SLABWISE_RESULT(Design, BotAsRoot2),
    SLABWISE_RESULT(Design, BotA1),
    SLABWISE_RESULT(Design, BotA2),
    SLABWISE_RESULT(Design, TopAsReq),
    SLABWISE_RESULT(Design, TopBarsMin),
    SLABWISE_RESULT(Design, TopSpacing),
    SLABWISE_RESULT(Design, TopDepth),
    SLABWISE_RESULT(Design, TopAs),
    SLABWISE_RESULT(Design, TopSteelPct),
    SLABWISE_RESULT(Design, TopAllowMoment),
    SLABWISE_RESULT(Design, BotAsReq),
    SLABWISE_RESULT(Design, BotBarsMin),
    SLABWISE_RESULT(Design, BotSpacing),
    SLABWISE_RESULT(Design, BotDepth),
    SLABWISE_RESULT(Design, BotAs),
    SLABWISE_RESULT(Design, BotSteelPct),
    SLABWISE_RESULT(Design, BotAllowMoment),
    SLABWISE_RESULT(Design, Vu),
    SLABWISE_RESULT(Design, AllowShear),
    SLABWISE_RESULT(Design, TopUtil),
    SLABWISE_RESULT(Design, BottomUtil),
    SLABWISE_RESULT(Design, ShearUtil),
};
#undef SLABWISE_RESULT

// Whether member is a row of ResultFields, for lists that must only name
// derived values.
constexpr bool IsResultField(Real TMatData::*member) {
    for (const TResultField& field : ResultFields)
        if (field.Member == member) return true;
    return false;
}

// The initial parameters of the left end, per load group and in total.
struct TEndParameterField {
    std::string_view Name;
    TEndParameters TMatData::*Member;
};

// clang-format off
#define SLABWISE_END_PARAMETERS(member) TEndParameterField{#member, &TMatData::member}
// clang-format on
inline constexpr std::array EndParameterFields{
    SLABWISE_END_PARAMETERS(InitDist),
    SLABWISE_END_PARAMETERS(InitPoint),
    SLABWISE_END_PARAMETERS(InitMoment),
    SLABWISE_END_PARAMETERS(InitTotal),
};
#undef SLABWISE_END_PARAMETERS

// The values of a station: its position and the five results. Caption and
// Unit head the results table's columns; the model holds the slope in
// radians, the table shows it in degrees.
struct TStationField {
    std::string_view Name;
    Real TMatStation::*Member;
    std::string_view Caption;
    TQuantity Unit;
};

// clang-format off
#define SLABWISE_STATION(member, caption, unit) TStationField{#member, &TMatStation::member, caption, unit}
// clang-format on
inline constexpr std::array StationFields{
    SLABWISE_STATION(X, "Dist. from left", TQuantity::Length),
    SLABWISE_STATION(Shear, "Shear", TQuantity::Force),
    SLABWISE_STATION(Moment, "Moment", TQuantity::Moment),
    SLABWISE_STATION(Slope, "Slope", TQuantity::Slope),
    SLABWISE_STATION(Deflection, "Deflection", TQuantity::DesignLength),
    SLABWISE_STATION(Pressure, "Soil Press", TQuantity::Pressure),
};
#undef SLABWISE_STATION

// Every derived value NaN and no contact zones: the state of a project whose
// analysis has not run. The stations are left to the analysis, which writes
// them whole.
void ClearResultFields(TMatData& mat);

} // namespace slabwise
