#pragma once

#include "MatData.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace slabwise {

// The pass/fail judgements the program puts beside its results. The window
// shows them as pictures, the report prints their values in red, the tools
// list them.
enum class TCheck : uint8_t {
    Bearing,
    TopSpacing,
    BottomSpacing,
    TopRatio,
    BottomRatio,
    TopUtilization,
    BottomUtilization,
    Shear,
    // Two-way shear at every column (PunchingShear.h has each column's).
    Punching,
};
constexpr int CheckCount = 9;

struct TCheckResult {
    bool Passes = false;
    // What the engineer reads on hover: why the check passes or fails.
    std::string Hint;
};

using TCheckResults = std::array<TCheckResult, CheckCount>;

enum class TFace : uint8_t { Top, Bottom };

// The check's name in the tools' output ("TopSpacing").
std::string_view CheckName(TCheck check);
// The check as the engineer reads it: "Bottom flexure", "Punching shear".
std::string_view ReadableCheckName(TCheck check);

TCheckResult EvaluateCheck(const TMatData& mat, TCheck check);
// Every check, indexed by TCheck.
TCheckResults EvaluateChecks(const TMatData& mat);

// Why a face cannot be designed at all (its cover is below 0, or its
// effective depth, Fy or f'c is not positive), as the hint its checks show;
// empty when it can.
std::optional<std::string> FaceWithoutDesign(const TMatData& mat, TFace face);
// The same for the one-way shear check, which needs f'c and the bottom bars'
// depth.
std::optional<std::string> ShearWithoutDesign(const TMatData& mat);

// A face is tension-controlled, so phi = 0.9 holds, when the net tensile
// strain of its bars at the design strength is at least this.
inline constexpr Real TensionControlledStrain = 0.005L;
// beta1 of the rectangular stress block for f'c in psi.
Real StressBlockFactor(Real fcPsi);
// The net tensile strain eps_t of a face with the bars it is given (the
// depth of the stress block over beta1 is the neutral axis); NaN when the
// face has no design.
Real NetTensileStrain(const TMatData& mat, TFace face);

// The decimals that show value on its own side of limit: decimals, or more
// where fewer would round it onto the limit or past it (at most 10).
int DecimalsApart(Real value, Real limit, int decimals);
// The decimals a value with this Tag is shown with: its row's, and for a
// steel ratio below the minimum as many more as it takes to read below it
// ("0.178", never "0.18" beside a failed check).
int ShownDecimals(const TMatData& mat, int tag, Real value);
// The same for a utilisation in percent, shown with 2 decimals unless it
// fails by less than they show.
int UtilizationDecimals(Real utilization);

} // namespace slabwise
