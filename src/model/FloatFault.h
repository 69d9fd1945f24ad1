#pragma once

#include "Real.h"

#include <cmath>
#include <stdexcept>

namespace slabwise {

// The analysis stopped at a floating-point fault: a division by zero, an
// invalid operation or an overflow.
class EFloatFault : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// C++ does not trap, so the analysis watches the status flags and the values
// it writes. Construction clears the flags of the three fault kinds.
class TFaultWatch {
public:
    TFaultWatch();
    // Throws EFloatFault when a fault flag is raised or the value is not
    // finite; otherwise returns the value, so fields are written only when
    // sound.
    Real Checked(Real value, const char* what);
    // Throws EFloatFault when a fault flag has been raised since the last check.
    void CheckFlags(const char* what);
    // The value alone, for many values after one CheckFlags.
    static void CheckFinite(Real value, const char* what) {
        if (!std::isfinite(value)) RaiseNotFinite(value, what);
    }

private:
    [[noreturn]] static void RaiseNotFinite(Real value, const char* what);
};

} // namespace slabwise
