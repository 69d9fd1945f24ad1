#pragma once

// Conversions from real lengths to pixel coordinates, shared by the views.

#include "model/Real.h"

#include <algorithm>
#include <cmath>

namespace slabwise::pixels {

// Coordinates far outside any bitmap are held here, so an absurd project
// (a huge or non-finite length read from a file) can neither overflow an int
// nor make a loop over pixels run for ever.
constexpr double Bound = 1e6;

inline double Held(double value) {
    return std::isnan(value) ? 0.0 : std::clamp(value, -Bound, Bound);
}

// Toward zero.
inline int Trunc(double value) {
    return static_cast<int>(Held(value));
}

// To nearest, halves to even.
inline int Round(double value) {
    const double v = Held(value);
    const double r = std::round(v);
    if (std::fabs(v - std::trunc(v)) == 0.5) return static_cast<int>(2.0 * std::round(v / 2.0));
    return static_cast<int>(r);
}

// Length, width and thickness a picture can be drawn for.
inline bool Drawable(Real L, Real B, Real T) {
    const auto positive = [](Real v) { return std::isfinite(v) && v > 0; };
    return positive(L) && positive(B) && positive(T);
}

} // namespace slabwise::pixels
