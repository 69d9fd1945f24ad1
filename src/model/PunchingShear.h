#pragma once

// Two-way (punching) shear of the strip around the columns of its point
// loads (ACI 318-14, 22.6): lambda = 1, phi = 0.75, d the depth of the bottom
// bars, critical sections at d/2 from the column faces, the column centred
// across the strip.
//
// Computed from what the analysis and the design leave in the model, on
// demand: nothing is stored, so no result outlives the analysis it came from.
// Lengths along the strip (X1, X2) are ft or m, section sizes in or mm,
// forces kips or kN, utilisations percent like the model's other ones.

#include "MatData.h"
#include "Real.h"

#include <array>
#include <cstdint>
#include <string>

namespace slabwise {

enum class TPunchingSection : uint8_t {
    Interior, // four-sided, alpha_s 40, when it lies wholly on the strip
    Edge,     // three-sided, open towards the nearer strip end, alpha_s 30
};

// One critical section of one column.
struct TPunchingSectionResult {
    bool Exists = false;
    // The section's extent along the strip, inside 0..L, and across it.
    Real X1 = 0, X2 = 0;
    Real Width = 0;
    Real B0 = 0;     // perimeter, in or mm
    Real AlphaS = 0; // 40 or 30
    // The least of the three stress terms, in the unit of f'c.
    Real Vc = 0;
    // The soil's reaction on the section's area and the other loads on it,
    // unfactored.
    Real SoilReaction = 0;
    Real LoadsOn = 0;
    Real Vu = 0, PhiVn = 0;
    Real Util = 0; // percent
};

enum class TPunchingState : uint8_t {
    NoColumn,    // no column entered: nothing to check
    NotLoaded,   // the load is upward or zero: nothing punches
    NotComputed, // a column that cannot be checked; the hint says why
    Checked,
};

// The check of the column of one point load. The summary fields are those of
// the governing section and NaN unless State is Checked.
struct TPunchingResult {
    TPunchingState State = TPunchingState::NoColumn;
    TPunchingSection Governing = TPunchingSection::Interior;
    Real B0 = 0, D = 0, Vu = 0, PhiVn = 0;
    Real Util = 0; // percent
    // True also when there is nothing to check (NoColumn, NotLoaded).
    bool Passes = true;
    // An applied moment stands within the column's size along the strip; the
    // check does not transfer it by eccentric shear, and the hint says so.
    bool MomentAtColumn = false;
    std::string Hint;
    TPunchingSectionResult Interior, Edge;
};

using TPunchingResults = std::array<TPunchingResult, PointLoadCount>;

inline constexpr Real PunchingPhi = 0.75L;
// Ends the hint of a column with an applied moment at it.
inline constexpr const char* PunchingMomentNote =
    "; the applied moment at the column is not transferred by eccentric shear in this check";

// The column of point load `load` (0 to 11).
TPunchingResult EvaluatePunching(const TMatData& mat, int load);
TPunchingResults EvaluatePunching(const TMatData& mat);
// Some point load has a column.
bool AnyColumn(const TMatData& mat);

// The soil's reaction over x1..x2 (ft or m, x1 <= x2) across the whole strip
// width: the service pressure of the analysis integrated exactly, in kips or
// kN. NaN when the analysis did not finish.
Real SoilReaction(const TMatData& mat, Real x1, Real x2);

} // namespace slabwise
