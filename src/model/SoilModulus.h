#pragma once

#include "MatData.h"
#include "Real.h"

#include <cstdint>
#include <string>
#include <vector>

namespace slabwise {

// One line of the typical subgrade moduli offered as help beside ks: a soil
// with the range of its modulus in the model's units (High NaN when the range
// has no upper bound), or a heading, blank line or footnote without a range.
struct TSoilModulusLine {
    std::string Caption;
    bool HasRange = false;
    Real Low = 0, High = 0;
};

// The lines in the model's unit system: sandy soils, then clayey soils by
// their unconfined compressive strength, whose bounds are given in that
// unit system as whole numbers.
std::vector<TSoilModulusLine> SoilModulusLines(const TMatData& model);

// The note under the lines when they were written for SI units: the values
// are conversions of the English ones, not measured in SI. Empty otherwise.
std::string SoilModulusNote(uint8_t unitSystem);

} // namespace slabwise
