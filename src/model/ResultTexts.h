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
// by the loads outside the strip, whose stations the extremes leave out.
std::string ValidityMessage(const TMatData& mat);

} // namespace slabwise
