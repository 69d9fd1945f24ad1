#include "FloatFault.h"

#include <cfenv>
#include <cmath>
#include <string>

namespace slabwise {

namespace {

constexpr int FaultFlags = FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;

[[noreturn]] void Raise(int flags, const char* what) {
    const char* kind = (flags & FE_DIVBYZERO)  ? "Floating point division by zero"
                       : (flags & FE_OVERFLOW) ? "Floating point overflow"
                                               : "Invalid floating point operation";
    std::feclearexcept(FaultFlags);
    throw EFloatFault(std::string(kind) + " in " + what);
}

} // namespace

TFaultWatch::TFaultWatch() {
    std::feclearexcept(FaultFlags);
}

void TFaultWatch::CheckFlags(const char* what) {
    if (const int flags = std::fetestexcept(FaultFlags)) Raise(flags, what);
}

void TFaultWatch::RaiseNotFinite(Real value, const char* what) {
    Raise(std::isnan(value) ? FE_INVALID : FE_OVERFLOW, what);
}

Real TFaultWatch::Checked(Real value, const char* what) {
    CheckFlags(what);
    CheckFinite(value, what);
    return value;
}

} // namespace slabwise
