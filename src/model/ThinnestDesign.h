#pragma once

// The thinnest strip, and at it the lightest pair of bar sizes, for which
// every design check passes: thicknesses in steps of the thickness field's
// shown resolution from its smallest allowed value upward, bar counts as the
// design computes them.

#include "DesignChecks.h"
#include "MatData.h"
#include "Real.h"

#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace slabwise {

struct TDesignProposal {
    Real Thickness = 0;                        // ft or m
    int32_t TopBarSize = 0, BottomBarSize = 0; // bar table sizes as TMatData holds them
    Real TopBars = 0, BottomBars = 0;          // the computed bar counts (no override)
    Real TopAs = 0, BottomAs = 0;              // steel area provided, in² or mm², as the design reports it
    Real SteelPerWidth = 0;                    // (TopAs + BottomAs) per unit width, in²/ft or mm²/m
    TCheck Governing = TCheck::Bearing;        // the check with the highest utilisation at the proposal
    Real GoverningUtil = 0;                    // percent
};

struct TThinnestDesign {
    bool Found = false;
    bool Cancelled = false;
    TDesignProposal Proposal; // valid when Found
    // When not Found (and not Cancelled): why, in the project's units, e.g.
    // "no thickness up to 20 ft passes: the bearing pressure exceeds qa at
    // every thickness".
    std::string Reason;
    long Candidates = 0; // thickness/bar-pair candidates judged
    int Thicknesses = 0; // analyses run
};

// progress(fraction 0..1) is called now and then from the searching thread;
// returning false cancels.
using TSearchProgress = std::function<bool(double)>;

// Searches on a copy: the project given is never changed. The reason writes
// its numbers with decimalSeparator, as the reader's numbers are written.
TThinnestDesign FindThinnestDesign(const TMatData& project, const TSearchProgress& progress = {},
                                   char decimalSeparator = '.');

// The project with the proposal in place: thickness, the two bar sizes, both
// bar-count overrides cleared, analysed; nothing else changed. Analyze's
// faults pass through.
void ApplyProposal(TMatData& mat, const TDesignProposal& proposal);

// The utilisation (percent) the proposal's governing check is chosen by; NaN
// for checks that are judged by a limit alone (spacing, minimum ratio).
Real CheckUtilization(const TMatData& mat, TCheck check);
// The check with the highest utilisation and that utilisation: how a
// proposal's governing check is chosen, and the project's own is named. The
// utilisation is NaN when no check has one.
std::pair<TCheck, Real> GoverningCheck(const TMatData& mat);

} // namespace slabwise
