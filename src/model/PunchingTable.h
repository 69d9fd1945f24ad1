#pragma once

// The punching table as the window, the report and the analyzer show it: one
// line per point load with a column, in load order, under headings written
// once here so that the three cannot word or round them differently.

#include "MatData.h"
#include "PunchingShear.h"
#include "Real.h"
#include "Units.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace slabwise {

enum class TPunchingColumn : uint8_t { Load, Section, B0, D, Vu, PhiVn, Util };

struct TPunchingHeading {
    TPunchingColumn Column;
    std::string_view Caption;
    std::optional<TQuantity> Unit;
    // The Tag whose decimals a number of this column is shown with: a result
    // Tag, whose row sets no limits, so that no value is cut to an input's
    // range (b0 passes 120 in); 0 for a column without a number, -1 for the
    // utilisation, which is shown as every other utilisation is.
    int Tag;
};

// clang-format off
inline constexpr std::array PunchingHeadings{
    TPunchingHeading{TPunchingColumn::Load, "Load", std::nullopt, 0},
    TPunchingHeading{TPunchingColumn::Section, "Section", std::nullopt, 0},
    TPunchingHeading{TPunchingColumn::B0, "b0", TQuantity::DesignLength, TagDepth},
    TPunchingHeading{TPunchingColumn::D, "d", TQuantity::DesignLength, TagDepth},
    TPunchingHeading{TPunchingColumn::Vu, "Vu", TQuantity::Force, TagFactoredShear},
    TPunchingHeading{TPunchingColumn::PhiVn, "\u03c6Vn", TQuantity::Force, TagAllowShear},
    TPunchingHeading{TPunchingColumn::Util, "Utilization", std::nullopt, -1},
};
// clang-format on

// "b0, in", "Vu, kN", "Section": the caption and the unit of the project.
std::string PunchingHeadingText(const TMatData& mat, const TPunchingHeading& heading);

// "Interior" or "Edge".
std::string_view PunchingSectionName(TPunchingSection section);

// The point loads (1 to 12) that have a column, in order.
std::vector<int> PunchingLoads(const TMatData& mat);

// The number a column shows for a column's check: NaN unless it was checked
// (the line then reads "N.A." with the result's hint), and NaN for the two
// columns without a number.
Real PunchingValue(const TPunchingResult& result, TPunchingColumn column);

} // namespace slabwise
