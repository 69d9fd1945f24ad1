#pragma once

#include "DecayingBeam.h"
#include "MatData.h"
#include "Real.h"

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

namespace slabwise {

inline constexpr const char* NoEquilibriumText = "The loads lift the strip off the soil: no equilibrium";
inline constexpr const char* LoadOutsideStripText =
    "A load stands outside the strip: soil that takes no tension needs every load on the strip";

// Soil that takes no tension has no answer for these loads: they lift the
// whole strip, no contact zone can carry them, or the zones do not settle.
class ENoEquilibrium : public std::runtime_error {
public:
    explicit ENoEquilibrium(const std::string& message = NoEquilibriumText) : std::runtime_error(message) {}
};

// The free strip on soil that pushes but never pulls. The strip is cut into
// contact zones, where the springs act, and lifted zones, where it is a bare
// beam; each zone is solved in closed form and the zones are joined with
// continuous deflection, slope, moment and shear. The boundaries are the
// zeros of the deflection, found by moving them to the zeros of the last
// solution until they stand still.
//
// Forms per zone: a lifted zone is a polynomial in its left-end state; a
// short contact zone is the initial-parameter form from its left end; a long
// one is the infinite beam with a force and a moment at each end, so only
// decaying functions appear however long it is.
class TContactBeam {
public:
    // Below this many steps the boundaries must have settled.
    static constexpr int MaxSteps = 60;

    TContactBeam(Real beta, Real EI, Real length);

    void AddSegment(Real w, Real b, Real e); // uniform w from b to e; b > e gives -w from e to b
    void AddPoint(Real P, Real a);
    void AddMoment(Real M, Real c);

    // Springs over the given zones (ordered, inside 0..L) and nowhere else.
    // Raises ENoEquilibrium when that strip has no unique state.
    void SolveWith(const std::vector<TContactZone>& contact);
    // From the strip in full contact to the settled zones; raises
    // ENoEquilibrium when there is none.
    void Solve();

    // A point exactly at a load reports the state just left of it.
    TBeamState At(Real X) const;
    bool InContact(Real X) const;
    const std::vector<TContactZone>& Contact() const { return contact_; }
    // False when the strip in full contact presses the soil everywhere, so
    // the linear solution stands.
    bool LiftsOff() const { return liftsOff_; }
    int Steps() const { return steps_; }

private:
    enum TForm { Lifted, ShortContact, LongContact };
    struct TLoad {
        int kind; // 0 uniform from position onward, 1 point, 2 moment
        Real value, position;
    };
    struct TZone {
        Real a, b;
        TForm form;
        std::vector<TLoad> loads;
    };
    using TRows = std::array<std::array<Real, 4>, 4>; // V, M, theta, y by unknown

    const TZone& ZoneAt(Real X) const;
    TRows Basis(const TZone& zone, Real X) const;
    TBeamState Particular(const TZone& zone, Real X, bool inclusive) const;
    TBeamState State(size_t zone, Real X, bool inclusive) const;
    Real Deflection(Real X) const;
    std::vector<TContactZone> ZonesFromSigns() const;
    Real Root(Real lo, Real ylo, Real hi, Real yhi) const;

    Real beta_, EI_, length_, K_;
    std::vector<TLoad> points_;                 // point loads and moments
    std::vector<std::array<Real, 3>> segments_; // w, from, to (from < to)
    std::vector<TZone> zones_;
    std::vector<std::array<Real, 4>> unknowns_;
    std::vector<TContactZone> contact_;
    bool liftsOff_ = false;
    int steps_ = 0;
};

} // namespace slabwise
