#pragma once

#include "MatData.h"
#include "Real.h"

#include <string>
#include <vector>

namespace slabwise {

// x lies below bound by more than the relative tolerance the result checks
// use: within max(min(|x|, |bound|) * 1e-16, 1e-16) the two count as equal.
bool BelowWithTolerance(Real x, Real bound);
bool EqualWithTolerance(Real x, Real bound);

// "Mat is rigid", "Mat is semi-rigid", "Mat is flexible" or
// "Mat is semi-infinite long".
std::string RigidityText(Real betaL);

// The loads that act on the strip from outside 0 <= X <= L: a point load or
// an applied moment placed there, or a distributed load whose segment reaches
// there, each with a magnitude other than 0. Named as the loading page counts
// them: "distributed load 2", "point load 1", "moment 4".
std::vector<std::string> LoadsOutsideStrip(const TMatData& mat);

// The bearing validity message, empty when the analysis is valid, followed
// by the loads outside the strip, whose stations the extremes leave out. With
// soil that takes no tension it states the contact share instead, or why
// there is no answer.
std::string ValidityMessage(const TMatData& mat);

// The contact zones as "0.00 to 3.75, 16.25 to 20.00 m" (lengths with two
// decimals in the project's unit); "N.A." when the analysis found none, and
// empty when the soil takes tension.
std::string ContactZonesText(const TMatData& mat, char decimalSeparator = '.');

} // namespace slabwise
