#include "ResultsCsv.h"

#include <charconv>
#include <cmath>
#include <numbers>
#include <stdexcept>
#include <system_error>

namespace slabwise {

Real SlopeDegrees(Real radians) {
    return radians * 180 / std::numbers::pi_v<Real>;
}

std::string NodeColumnCaption(const TStationField& field, uint8_t unitSystem) {
    const std::string unit =
        field.Unit == TQuantity::Slope ? std::string("deg") : UnitText(field.Unit, unitSystem);
    return std::string(field.Caption) + ", " + unit;
}

Real NodeColumnValue(const TStationField& field, const TMatStation& station) {
    const Real value = station.*field.Member;
    return field.Unit == TQuantity::Slope ? SlopeDegrees(value) : value;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string CsvNumber(Real value) {
    if (std::isnan(value)) return "N.A.";
    // The same number either way; a spreadsheet need not show "-0".
    if (value == 0) value = 0;
    char buffer[64];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (error != std::errc()) throw std::runtime_error("a number could not be written");
    return std::string(buffer, end);
}

std::string NodeResultsCsv(std::span<const TMatStation> stations, uint8_t unitSystem) {
    if (stations.size() < static_cast<size_t>(NodeCount))
        throw std::invalid_argument("fewer stations than nodes");
    std::string csv = CsvField("Node #");
    for (const TStationField& field : StationFields)
        csv += ',' + CsvField(NodeColumnCaption(field, unitSystem));
    csv += "\r\n";
    for (int i = 0; i < NodeCount; ++i) {
        const TMatStation& station = stations[static_cast<size_t>(i)];
        csv += std::to_string(i + 1);
        for (const TStationField& field : StationFields)
            csv += ',' + CsvNumber(NodeColumnValue(field, station));
        csv += "\r\n";
    }
    return csv;
}

std::string NodeResultsCsv(const TMatData& mat) {
    return NodeResultsCsv(mat.Stations, mat.UnitSystem);
}

} // namespace slabwise
