#include "BeamFunctions.h"

#include <cmath>

namespace slabwise {

TFourFunctions TBeamFunctions::Values(Real x) const {
    const Real z = beta_ * x;
    const Real ch = std::cosh(z), sh = std::sinh(z);
    const auto [c, s] = CosSin(z);
    return {ch * c, ch * s + sh * c, sh * s, ch * s - sh * c};
}

Real TBeamFunctions::F11(Real x) const {
    const Real z = beta_ * x;
    const Real sh = std::sinh(z), s = CosSin(z).S;
    return sh * sh - s * s;
}

Real TBeamFunctions::FunctionValue(int code, Real x) const {
    switch (code) {
    case 1:
        return Values(x).F1;
    case 2:
        return Values(x).F2;
    case 3:
        return Values(x).F3;
    case 4:
        return Values(x).F4;
    case 11:
        return F11(x);
    default:
        return 0;
    }
}

TStepGroup TBeamFunctions::StepGroup(Real a, Real X) const {
    if (a < X) return StepFromValues(Values(X - a));
    return {0, 0, 0, 0, 0};
}

TSegmentTerms TBeamFunctions::SegmentFrom(const TFourFunctions& atB, const TFourFunctions& atE,
                                          const TStepGroup& stepB, const TStepGroup& stepE) {
    return {atB.F2,   atB.F3,   atE.F2,   atE.F3,   stepB[0], stepB[1], stepB[2],
            stepB[3], stepB[4], stepE[0], stepE[1], stepE[2], stepE[3], stepE[4]};
}

TConcentratedTerms TBeamFunctions::ConcentratedFrom(Real end1, Real end2, const TStepGroup& step) {
    return {end1, end2, step[0], step[1], step[2], step[3], step[4]};
}

TSegmentTerms TBeamFunctions::SegmentTerms(Real b, Real e, Real X) const {
    return SegmentFrom(Values(length_ - b), Values(length_ - e), StepGroup(b, X), StepGroup(e, X));
}

TConcentratedTerms TBeamFunctions::PointTerms(Real a, Real X) const {
    const TFourFunctions end = Values(length_ - a);
    return ConcentratedFrom(end.F1, end.F2, StepGroup(a, X));
}

TConcentratedTerms TBeamFunctions::MomentTerms(Real c, Real X) const {
    const TFourFunctions end = Values(length_ - c);
    return ConcentratedFrom(end.F1, end.F4, StepGroup(c, X));
}

} // namespace slabwise
