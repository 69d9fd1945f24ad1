#pragma once

#include "BeamAngle.h"
#include "MatData.h"
#include "Real.h"

#include <array>

namespace slabwise {

// Fa1 to Fa5 of a load starting at a, seen from a station at X.
using TStepGroup = std::array<Real, 5>;

// F1 to F4 at one argument, from one evaluation of each hyperbolic and
// circular function.
struct TFourFunctions {
    Real F1, F2, F3, F4;
};

// The hyperbolic-trigonometric functions of the finite beam on an elastic
// foundation, bound to one beam's beta and length. Every length argument x is
// turned into beta x first.
class TBeamFunctions {
public:
    TBeamFunctions(Real beta, Real length) : beta_(beta), length_(length) {}

    // Codes 1 to 4 are F1 to F4, 11 is F11; any other code gives 0.
    Real FunctionValue(int code, Real x) const;
    TFourFunctions Values(Real x) const;
    Real F11(Real x) const;

    // Zero unless the load starts strictly left of the station.
    TStepGroup StepGroup(Real a, Real X) const;
    TSegmentTerms SegmentTerms(Real b, Real e, Real X) const;
    TConcentratedTerms PointTerms(Real a, Real X) const;
    TConcentratedTerms MomentTerms(Real c, Real X) const;

    TBeamAngle Angle(Real x) const { return TBeamAngle::Of(beta_ * x); }
    static TFourFunctions ValuesFrom(const THyperbolicCircular& h) {
        return {h.Ch * h.C, h.Ch * h.S + h.Sh * h.C, h.Sh * h.S, h.Ch * h.S - h.Sh * h.C};
    }
    static TStepGroup StepFromValues(const TFourFunctions& f) { return {f.F1, f.F2, f.F3, f.F4, 1 - f.F1}; }
    // The groups from end values and step groups already evaluated.
    static TSegmentTerms SegmentFrom(const TFourFunctions& atB, const TFourFunctions& atE,
                                     const TStepGroup& stepB, const TStepGroup& stepE);
    static TConcentratedTerms ConcentratedFrom(Real end1, Real end2, const TStepGroup& step);

private:
    Real beta_;
    Real length_;
};

} // namespace slabwise
