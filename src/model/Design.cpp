// Flexural design of both faces with the rectangular stress block and the
// one-way shear check, in one consistent unit base per unit system:
// kips, in, ksi (English) or N, mm, MPa (SI).

#include "DesignChecks.h"
#include "FloatFault.h"
#include "MatData.h"
#include "Units.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace slabwise {

namespace {

struct TFaceRoots {
    Real Root1, Root2, A1, A2;
    // The factored moment exceeds what the section can develop singly
    // reinforced: the quadratic has no real root.
    bool Inadequate;
};

constexpr Real NaN = std::numeric_limits<Real>::quiet_NaN();

} // namespace

void TMatData::Design() {
    PrepareBarTable();
    TFaultWatch watch;
    DesignReinforcement(watch);
}

void TMatData::DesignReinforcement(TFaultWatch& watch) {
    const Real Uw = ByUnits(12, 1000); // ft or m to in or mm
    const Real Mf = ByUnits(12, 1e6);  // ft-kips or kN-m to kip-in or N-mm
    const Real Fu = ByUnits(1, 1000);  // kips or N to kips or kN
    const Real psiPerStress = ByUnits(1000, 1 / static_cast<double>(MPaPerPsi));
    const Real B = StripWidth;

    MuNeg = watch.Checked(MomentLoadFactor * MinMoment, "MuNeg");
    MuPos = watch.Checked(MomentLoadFactor * MaxMoment, "MuPos");
    ThicknessIn = watch.Checked(Uw * Thickness, "ThicknessIn");
    const TBarRow& topBar = FindBar(TopBarSize);
    const TBarRow& botBar = FindBar(BottomBarSize);
    TopDepth = watch.Checked(ThicknessIn - TopCover - Real(topBar.Diameter) / 2, "TopDepth");
    BotDepth = watch.Checked(ThicknessIn - BottomCover - Real(botBar.Diameter) / 2, "BotDepth");

    // Steel area from phi As fy (d - a/2) = Mu, a = As fy / (0.85 fc b): a
    // quadratic in As fy whose two roots are returned with their block depths.
    const auto roots = [&](TFaultWatch& w, Real Mu, Real d) {
        const Real P = Uw * (1.7L * Fc * d * B);
        const Real Q = Uw * (std::fabs(Mu / 0.9L) * 4 * Mf * 2 * 0.85L * Fc * B);
        const Real S = std::sqrt(std::fabs(P * P - Q));
        TFaceRoots r{};
        r.Inadequate = P * P < Q;
        r.Root1 = w.Checked((P + S) / 2 / Fy, "steel area root");
        r.Root2 = w.Checked((P - S) / 2 / Fy, "steel area root");
        r.A1 = w.Checked(r.Root1 * Fy / 0.85L / Fc / B / Uw, "stress block depth");
        r.A2 = w.Checked(r.Root2 * Fy / 0.85L / Fc / B / Uw, "stress block depth");
        return r;
    };

    // Each face and the shear check stand alone: a face that cannot be
    // designed, or a fault inside one, leaves its own values NaN ("N.A.", its
    // checks say why) and never the others'.
    const auto face = [&](TFace which, Real Mu, Real d, Real cover, Real override, const TBarRow& bar,
                          Real& root1, Real& root2, Real& a1, Real& a2, Real& asReq, Real& barsMin,
                          Real& spacing, Real& as, Real& pct, Real& allow, Real& util) {
        for (Real* v : {&root1, &root2, &a1, &a2, &asReq, &barsMin, &spacing, &as, &pct, &allow, &util})
            *v = NaN;
        if (FaceWithoutDesign(*this, which)) return;
        try {
            TFaultWatch faceWatch;
            const TFaceRoots r = roots(faceWatch, Mu, d);
            root1 = r.Root1, root2 = r.Root2, a1 = r.A1, a2 = r.A2;
            const Real Ab = bar.Area, db = bar.Diameter;
            // A section that cannot develop the moment has no required area and
            // no bar count; only a count the engineer chose is still evaluated.
            if (!r.Inadequate) {
                asReq = faceWatch.Checked((0 < r.A1 && r.A1 < d) ? r.Root1 : r.Root2, "required steel");
                barsMin = faceWatch.Checked(std::max(std::ceil(asReq / Ab), Real(2)), "bar count");
            }
            // A count below one bar is no choice of bars: the computed count holds.
            const Real chosen = std::nearbyint(override);
            const Real n = chosen > 0 ? chosen : barsMin;
            if (std::isnan(n)) return;
            // One bar has no spacing; its area and capacity still count.
            if (n > 1) spacing = faceWatch.Checked((Uw * B - 2 * cover - db) / (n - 1), "bar spacing");
            as = faceWatch.Checked(Ab * n, "steel area");
            pct = faceWatch.Checked(as / B / d / Uw * 100, "steel percentage");
            const Real a = as * Fy / (0.85L * Fc * (Uw * B));
            allow = faceWatch.Checked(0.9L * as * Fy * (d - a / 2) / Mf, "allowable moment");
            // So much steel that the block reaches past d/2 leaves no capacity;
            // a negative utilisation must never read as a pass.
            if (allow > 0) util = faceWatch.Checked(std::fabs(Mu) / allow * 100, "utilization");
        } catch (const EFloatFault&) {
            // The values not reached stay NaN.
        }
    };
    face(TFace::Top, MuNeg, TopDepth, TopCover, TopBarsOverride, topBar, TopAsRoot1, TopAsRoot2, TopA1, TopA2,
         TopAsReq, TopBarsMin, TopSpacing, TopAs, TopSteelPct, TopAllowMoment, TopUtil);
    face(TFace::Bottom, MuPos, BotDepth, BottomCover, BotBarsOverride, botBar, BotAsRoot1, BotAsRoot2, BotA1,
         BotA2, BotAsReq, BotBarsMin, BotSpacing, BotAs, BotSteelPct, BotAllowMoment, BottomUtil);

    // One-way shear: 1.5 sqrt(f'c) b d with f'c in psi, taken in the design
    // stress unit, on the depth of the bottom bars.
    Vu = watch.Checked(std::max(std::fabs(MaxShear * ShearLoadFactor), std::fabs(MinShear * ShearLoadFactor)),
                       "Vu");
    AllowShear = ShearUtil = NaN;
    if (ShearWithoutDesign(*this)) return;
    try {
        TFaultWatch shearWatch;
        const Real vc = 1.5L * std::sqrt(Fc * psiPerStress) / psiPerStress;
        AllowShear = shearWatch.Checked(vc * (Uw * B) * BotDepth / Fu, "AllowShear");
        ShearUtil = shearWatch.Checked(Vu / AllowShear * 100, "ShearUtil");
    } catch (const EFloatFault&) {
        // The values not reached stay NaN.
    }
}

} // namespace slabwise
