#pragma once

#include "MatData.h"
#include "ResultFields.h"
#include "Units.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace slabwise {

// The slope as the results table shows it: the model holds radians, the
// column is headed in degrees.
Real SlopeDegrees(Real radians);

// "Node #", then "Dist. from left, ft" and the like in the given unit system:
// the caption of a station field with its unit, the slope's in degrees.
std::string NodeColumnCaption(const TStationField& field, uint8_t unitSystem);
// A station field as the results table shows it.
Real NodeColumnValue(const TStationField& field, const TMatStation& station);

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
