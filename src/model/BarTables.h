#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace slabwise {

enum : int32_t { BarSystemUS = 0, BarSystemEuropean = 1, BarSystemCanadian = 2 };
enum : uint8_t { UnitsEnglish = 0, UnitsSI = 1 };

// One rebar size. Rows with Bar 0 are empty. Diameter and Area are in in and
// in^2, or mm and mm^2, depending on the table.
struct TBarRow {
    int32_t Bar;
    int32_t MetricBar; // US table only: the soft-metric designation
    double Diameter;
    double Area;
};

constexpr int BarTableRows = 12;
using TBarTableRows = std::array<TBarRow, BarTableRows>;

const TBarTableRows& USBars();
const TBarTableRows& EuropeanBars();
const TBarTableRows& CanadianBars();

// The current bar table for a bar system expressed in a unit system.
TBarTableRows MakeBarTable(int32_t barSystem, uint8_t unitSystem);

// First row whose bar number matches, else the first row of the table.
const TBarRow& FindBarIn(const TBarTableRows& table, int32_t bar);

// Whether a bar number names a row of the table; 0 names none, whatever the
// empty rows hold.
bool TableHoldsBar(const TBarTableRows& table, int32_t bar);

// A US bar's number under the other unit system, where it carries its
// soft-metric name: #6 is 19 in SI. Other numbers are returned as they are.
int32_t SameUSBar(int32_t bar, uint8_t from, uint8_t to);

// "#6" for US bars in English units, "16M" otherwise.
std::string FormatBarLabel(int32_t barSystem, uint8_t unitSystem, int32_t bar);

} // namespace slabwise
