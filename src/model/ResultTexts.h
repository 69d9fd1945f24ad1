#pragma once

#include "MatData.h"
#include "Real.h"

#include <string>

namespace slabwise {

// x lies below bound by more than the relative tolerance the result checks
// use: within max(min(|x|, |bound|) * 1e-16, 1e-16) the two count as equal.
bool BelowWithTolerance(Real x, Real bound);
bool EqualWithTolerance(Real x, Real bound);

// "Mat is rigid", "Mat is semi-rigid", "Mat is flexible" or
// "Mat is semi-infinite long".
std::string RigidityText(Real betaL);

// The bearing validity message, empty when the analysis is valid. With soil
// that takes no tension it states the contact share instead, or why there is
// no answer.
std::string ValidityMessage(const TMatData& mat);

// The contact zones as "0.00 to 3.75, 16.25 to 20.00 m" (lengths with two
// decimals in the project's unit); "N.A." when the analysis found none, and
// empty when the soil takes tension.
std::string ContactZonesText(const TMatData& mat, char decimalSeparator = '.');

} // namespace slabwise
