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

// The bearing validity message, empty when the analysis is valid.
std::string ValidityMessage(const TMatData& mat);

} // namespace slabwise
