#pragma once

#include "MatData.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace slabwise {

// A bar as the user knows it: its system, its label and its diameter.
struct TBarChoice {
    int32_t System;
    std::string Label;
    double Millimetres;
};

// The top and the bottom bar of the project, in that order.
using TBarChoices = std::array<TBarChoice, 2>;
TBarChoices BarChoices(const TMatData& mat);

// The bar system as the list of systems names it: "US", "European",
// "Canadian"; empty for a number that names none.
std::string BarSystemName(int32_t system);

// What a switch of units or bar system did to the bars: one notice for each
// bar that changed ("Top Bar Size: US #6 replaced by European 10M"), with
// both diameters in millimetres where the two labels are alike. A US bar
// keeps its diameter under either name and is not mentioned.
std::vector<std::string> BarReplacedNotices(const TBarChoices& before, const TBarChoices& after,
                                            char decimalSeparator = '.');

} // namespace slabwise
