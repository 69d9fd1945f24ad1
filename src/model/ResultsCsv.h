#pragma once

#include "MatData.h"
#include "Units.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace slabwise {

// The slope as the results table shows it: the model holds radians, the
// column is headed in degrees.
Real SlopeDegrees(Real radians);

// One column of the nodal results table: its caption before the unit, the
// unit's quantity (none for the node number) and the value at a station.
struct TNodeColumn {
    std::string_view Name;
    std::optional<TQuantity> Unit;
    Real (*Value)(const TMatStation& station);
};
// Distance, shear, moment, slope, deflection and soil pressure, in the
// table's order, after the node number.
const std::array<TNodeColumn, 6>& NodeResultColumns();
// "Node #", then "Dist. from left, ft" and the like in the given unit system.
std::string NodeColumnCaption(const TNodeColumn& column, uint8_t unitSystem);

// A field as RFC 4180 wants it: quoted, with quotes doubled, when it holds a
// comma, a quote or a line break.
std::string CsvField(std::string_view text);
// The shortest text that reads back as exactly the same value, with a point
// as decimal separator whatever the locale; "N.A." for a value that was not
// computed.
std::string CsvNumber(Real value);

// The results at the 101 nodes (the first NodeCount stations) as CSV: UTF-8,
// CRLF line ends, a header row with the units, the numbers at full precision.
// Throws std::invalid_argument when fewer stations are given.
std::string NodeResultsCsv(std::span<const TMatStation> stations, uint8_t unitSystem);
std::string NodeResultsCsv(const TMatData& mat);

} // namespace slabwise
