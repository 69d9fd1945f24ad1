#pragma once

#include "BeamAngle.h"
#include "Real.h"

#include <array>
#include <vector>

namespace slabwise {

// Shear, bending moment, slope and deflection at one point of the strip.
struct TBeamState {
    Real V, M, Theta, Y;
};

// The free finite beam on a Winkler foundation as infinite-beam solutions of
// its loads plus four end-conditioning loads (a force and a moment just
// outside each end) that free both ends. Only e^(-beta x) appears, so the
// result keeps its accuracy however long the strip is; the initial-parameter
// form subtracts terms of size e^(beta L) and loses it on long strips.
// Groups: 0 distributed, 1 point, 2 moment.
//
// A load outside 0..L solves the same problem as the initial-parameter form:
// one left of the strip acts on its left end through its one-sided load terms
// at 0 (the end is not free of it), one right of it through the same terms
// continued back to L. Its infinite-beam response also stays in the sum, so
// a station outside the strip continues the solution just as that form does.
class TDecayingBeam {
public:
    enum TGroup { Distributed = 0, Point = 1, Moment = 2 };

    TDecayingBeam(Real beta, Real EI, Real length);

    void AddSegment(Real w, Real b, Real e); // uniform w from b to e; b > e gives -w from e to b
    void AddPoint(Real P, Real a);
    void AddMoment(Real M, Real c);
    // The same with the angles of beta times the positions already at hand.
    void AddSegment(Real w, Real b, Real e, const TBeamAngle& angleB, const TBeamAngle& angleE);
    void AddPoint(Real P, Real a, const TBeamAngle& angle);
    void AddMoment(Real M, Real c, const TBeamAngle& angle);
    // Finds the end-conditioning loads of every group.
    void Solve();

    // A point exactly at a load reports the state just left of it.
    TBeamState At(Real X) const;
    // The same with the angle of beta X already at hand.
    TBeamState At(Real X, const TBeamAngle& angle) const;
    TBeamState GroupAt(TGroup group, Real X) const;
    // The group's one-sided load terms at 0 of the loads left of the strip:
    // what the state at 0 holds beyond the left-end parameters.
    const TBeamState& LeftTerms(TGroup group) const { return leftTerms_[group]; }

private:
    using TTrig = TBeamAngle;
    struct TLoad {
        int kind; // 0 semi-infinite uniform load to the right, 1 point, 2 moment
        Real value;
        Real position;
        TTrig trig;
        // The response's factors of the decaying functions, fixed per load.
        std::array<Real, 4> k;
    };
    using TConditioning = std::array<TLoad, 4>; // P0, M0, PL, ML
    // A load's response as P e cos z + Q e sin z + R per output, on one side.
    struct TSideFactors {
        std::array<Real, 4> P, Q, R;
    };
    // Sums over the loads on one side of a station of their factors times
    // the load's own e^(+-beta a) cos and sin: the response of all of them
    // is e^(-+beta X) (cos(beta X) C + sin(beta X) S) + R per output.
    struct TSums {
        std::array<Real, 4> C{}, S{}, R{};
    };
    TTrig Trig(Real t) const;
    TLoad Load(int kind, Real value, Real position, const TTrig& trig) const;
    TConditioning Conditioning(const std::array<Real, 4>& c) const;
    TBeamState OneSided(int kind, Real value, Real d) const;
    static void AddResponse(TBeamState& s, const TLoad& load, const TTrig& x, bool rightSide, bool right);
    TBeamState LoadsAt(TGroup group, Real X, const TTrig& x, bool rightAtLoad) const;
    static TSideFactors SideFactors(const TLoad& load, bool rightSide);
    static void AddToSums(TSums& sums, const TLoad& load, bool rightSide);
    void PrepareSums();
    static TBeamState ConditioningAt(const TConditioning& c, const TTrig& x);

    Real beta_, EI_, length_, K_;
    std::array<std::vector<TLoad>, 3> loads_;
    std::array<TConditioning, 3> conditioning_{};
    TConditioning totalConditioning_{};
    std::array<TBeamState, 3> leftTerms_{};
    TTrig atZero_, atLength_;
    // All loads by position, with the sums of those left of each (seen from
    // their right, with the conditioning pair at 0) and of those from each
    // on (seen from their left, with the pair at L).
    std::vector<TLoad> sorted_;
    std::vector<Real> sortedPositions_;
    std::vector<TSums> leftOf_, fromOn_;
    bool summed_ = false;
};

} // namespace slabwise
