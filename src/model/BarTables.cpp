#include "BarTables.h"

namespace slabwise {

const TBarTableRows& USBars() {
    static const TBarTableRows rows{{
        {3, 10, 0.375, 0.110446617},
        {4, 13, 0.5, 0.196349541},
        {5, 16, 0.625, 0.306796158},
        {6, 19, 0.75, 0.441786467},
        {7, 22, 0.875, 0.601320469},
        {8, 25, 1.0, 0.785398163},
        {9, 29, 1.128, 0.994019551},
        {10, 32, 1.27, 1.266768698},
        {11, 36, 1.41, 1.561450089},
        {14, 43, 1.693, 2.25},
        {18, 57, 2.257, 4.0},
        {0, 0, 0, 0},
    }};
    return rows;
}

const TBarTableRows& EuropeanBars() {
    static const TBarTableRows rows{{
        {6, 0, 6, 28.3},
        {8, 0, 8, 50.3},
        {10, 0, 10, 78.5},
        {12, 0, 12, 113},
        {14, 0, 14, 154},
        {16, 0, 16, 201},
        {20, 0, 20, 314},
        {25, 0, 25, 491},
        {28, 0, 28, 616},
        {32, 0, 32, 804},
        {40, 0, 40, 1257},
        {50, 0, 50, 1963},
    }};
    return rows;
}

const TBarTableRows& CanadianBars() {
    static const TBarTableRows rows{{
        {10, 0, 11.3, 100},
        {15, 0, 16.0, 200},
        {20, 0, 19.5, 300},
        {25, 0, 25.2, 500},
        {30, 0, 29.9, 700},
        {35, 0, 35.7, 1000},
        {45, 0, 43.7, 1500},
        {55, 0, 56.4, 2500},
        {0, 0, 0, 0},
        {0, 0, 0, 0},
        {0, 0, 0, 0},
        {0, 0, 0, 0},
    }};
    return rows;
}

TBarTableRows MakeBarTable(int32_t barSystem, uint8_t unitSystem) {
    TBarTableRows table = barSystem == BarSystemUS         ? USBars()
                          : barSystem == BarSystemEuropean ? EuropeanBars()
                                                           : CanadianBars();
    if (barSystem == BarSystemUS && unitSystem == UnitsSI) {
        for (TBarRow& row : table) {
            row.Bar = row.MetricBar;
            row.Diameter = row.Diameter * 25.4;
            row.Area = row.Area * 645.16;
        }
    } else if (barSystem != BarSystemUS && unitSystem == UnitsEnglish) {
        for (TBarRow& row : table) {
            row.Diameter = row.Diameter / 25.4;
            row.Area = row.Area / 645.16;
        }
    }
    return table;
}

int32_t SameUSBar(int32_t bar, uint8_t from, uint8_t to) {
    if (from == to) return bar;
    for (const TBarRow& row : USBars())
        if (row.Bar != 0 && (from == UnitsSI ? row.MetricBar : row.Bar) == bar)
            return to == UnitsSI ? row.MetricBar : row.Bar;
    return bar;
}

const TBarRow& FindBarIn(const TBarTableRows& table, int32_t bar) {
    for (const TBarRow& row : table)
        if (row.Bar == bar) return row;
    return table.front();
}

bool TableHoldsBar(const TBarTableRows& table, int32_t bar) {
    if (bar == 0) return false;
    for (const TBarRow& row : table)
        if (row.Bar == bar) return true;
    return false;
}

std::string FormatBarLabel(int32_t barSystem, uint8_t unitSystem, int32_t bar) {
    if (barSystem == BarSystemUS && unitSystem == UnitsEnglish) return "#" + std::to_string(bar);
    return std::to_string(bar) + "M";
}

} // namespace slabwise
