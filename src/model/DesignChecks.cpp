#include "DesignChecks.h"

#include "NumberFormat.h"
#include "PunchingShear.h"
#include "ResultTexts.h"
#include "Units.h"

#include <charconv>
#include <cmath>

namespace slabwise {

namespace {

// The fields of one face, so both faces go through one set of rules.
struct TFaceFields {
    Real TMatData::*Mu;
    Real TMatData::*Depth;
    Real TMatData::*Cover;
    int32_t TMatData::*BarSize;
    Real TMatData::*Override;
    Real TMatData::*AsReq;
    Real TMatData::*Spacing;
    Real TMatData::*SteelPct;
    Real TMatData::*AllowMoment;
    Real TMatData::*As;
    Real TMatData::*Util;
    const char* UtilOk;
    const char* UtilHigh;
};

const TFaceFields TopFields{&TMatData::MuNeg,          &TMatData::TopDepth,        &TMatData::TopCover,
                            &TMatData::TopBarSize,     &TMatData::TopBarsOverride, &TMatData::TopAsReq,
                            &TMatData::TopSpacing,     &TMatData::TopSteelPct,     &TMatData::TopAllowMoment,
                            &TMatData::TopAs,          &TMatData::TopUtil,         "Top Utilization is OK",
                            "Top Utilization too high"};
const TFaceFields BottomFields{&TMatData::MuPos,
                               &TMatData::BotDepth,
                               &TMatData::BottomCover,
                               &TMatData::BottomBarSize,
                               &TMatData::BotBarsOverride,
                               &TMatData::BotAsReq,
                               &TMatData::BotSpacing,
                               &TMatData::BotSteelPct,
                               &TMatData::BotAllowMoment,
                               &TMatData::BotAs,
                               &TMatData::BottomUtil,
                               "Bottom Utilization is OK",
                               "Bottom Utilization too high"};

const TFaceFields& Fields(TFace face) {
    return face == TFace::Top ? TopFields : BottomFields;
}

constexpr Real SpacingLimitEnglish = 18; // in
constexpr Real SpacingLimitSI = 457.2L;  // mm
constexpr Real MinSteelPct = 0.18L;      // % of b d
constexpr Real MaxUtilization = 99.99L;  // %

const char* const SpacingOk = "Spacing is OK";
const char* const AnalysisUnfinished = "Not computed: the analysis did not finish";

bool Positive(Real x) {
    return x > 0; // NaN is not
}

// Why a value of the face is "N.A.".
std::string FaceNotComputed(const TMatData& m, TFace face) {
    if (auto reason = FaceWithoutDesign(m, face)) return *reason;
    const TFaceFields& f = Fields(face);
    if (std::isnan(m.*f.Mu)) return AnalysisUnfinished;
    if (std::isnan(m.*f.AsReq))
        return "The section cannot develop the factored moment: increase the thickness or f'c, or enter "
               "a number of bars";
    return "Not computed: a floating-point fault in the design";
}

TCheckResult Result(bool passes, const std::string& ok, const std::string& fails) {
    return {passes, passes ? ok : fails};
}

TCheckResult Spacing(const TMatData& m, TFace face) {
    const TFaceFields& f = Fields(face);
    const Real spacing = m.*f.Spacing;
    if (FaceWithoutDesign(m, face) || std::isnan(m.*f.Mu)) return {false, FaceNotComputed(m, face)};
    if (std::isnan(spacing)) {
        if (std::nearbyint(m.*f.Override) == 1) return {false, "One bar has no spacing: use at least 2 bars"};
        return {false, FaceNotComputed(m, face)};
    }
    // In long double, so 18 in converted to mm is still at the limit.
    const Real limit = m.UnitSystem == UnitsSI ? SpacingLimitSI : SpacingLimitEnglish;
    const Real allowed = limit >= 3 * m.ThicknessIn ? 3 * m.ThicknessIn : limit;
    if (allowed < spacing)
        return {false, "Spacing needs to be less than " +
                           std::to_string(static_cast<long long>(std::nearbyint(limit))) + ' ' +
                           UnitText(TQuantity::DesignLength, m.UnitSystem) + " or 3h"};
    const Real db = m.FindBar(m.*f.BarSize).Diameter;
    return Result(spacing >= 2 * db, SpacingOk, "Spacing needs to be at least 2db");
}

TCheckResult Ratio(const TMatData& m, TFace face) {
    const Real pct = m.*Fields(face).SteelPct;
    if (std::isnan(pct) || FaceWithoutDesign(m, face)) return {false, FaceNotComputed(m, face)};
    return Result(pct >= MinSteelPct, "Min Reinforcement Ratio is OK",
                  "Min Reinforcement ratio is 0.18%, increase # of bars or try another bar size");
}

TCheckResult Utilization(const TMatData& m, TFace face) {
    const TFaceFields& f = Fields(face);
    const Real util = m.*f.Util;
    if (FaceWithoutDesign(m, face)) return {false, FaceNotComputed(m, face)};
    if (std::isnan(util)) {
        const Real allow = m.*f.AllowMoment;
        if (std::isfinite(allow) && allow <= 0)
            return {false, "The bars leave no moment capacity: use fewer or smaller bars"};
        return {false, FaceNotComputed(m, face)};
    }
    if (util > MaxUtilization) return {false, f.UtilHigh};
    // Above the strain the bars yield well before the concrete crushes and
    // phi = 0.9 holds; more steel does not help, a deeper section does.
    if (!(NetTensileStrain(m, face) >= TensionControlledStrain))
        return {false,
                "Not tension-controlled (net tensile strain below 0.005): increase the thickness or use "
                "less steel"};
    return {true, f.UtilOk};
}

TCheckResult Shear(const TMatData& m) {
    if (auto reason = ShearWithoutDesign(m)) return {false, *reason};
    if (std::isnan(m.ShearUtil))
        return {false, std::isnan(m.Vu) ? AnalysisUnfinished
                                        : "Not computed: a floating-point fault in the shear check"};
    return Result(m.ShearUtil <= MaxUtilization, "Shear Utilization is OK",
                  "Increase Thickness or Concrete Strength");
}

// Every column passes; the hint names those that do not.
TCheckResult Punching(const TMatData& m) {
    if (!AnyColumn(m)) return {true, "No column entered: no punching check"};
    const TPunchingResults results = EvaluatePunching(m);
    std::string tooHigh, notComputed, reason;
    bool moments = false;
    for (int i = 0; i < PointLoadCount; ++i) {
        const TPunchingResult& r = results[static_cast<size_t>(i)];
        const std::string name = "#" + std::to_string(i + 1);
        if (r.State == TPunchingState::NotComputed) {
            notComputed += (notComputed.empty() ? "" : ", ") + name;
            if (reason.empty()) reason = r.Hint;
        } else if (!r.Passes) {
            tooHigh += (tooHigh.empty() ? "" : ", ") + name;
        }
        moments = moments || r.MomentAtColumn;
    }
    if (!tooHigh.empty())
        return {false, "Punching shear too high at the column of point load " + tooHigh +
                           ": increase Thickness, Concrete Strength or the column size"};
    if (!notComputed.empty())
        return {false, "Punching not computed at the column of point load " + notComputed + ": " + reason};
    return {true, std::string("Punching Shear Utilization is OK") +
                      (moments ? "; applied moments at columns are not transferred by eccentric shear" : "")};
}

TCheckResult Bearing(const TMatData& m) {
    if (std::isnan(m.MaxPressure)) return {false, AnalysisUnfinished};
    return Result(BelowWithTolerance(m.MaxPressure, m.AllowableBearing), "Max. Bearing Pressure is OK",
                  "Max. Bearing Pressure greater than capacity");
}

} // namespace

int DecimalsApart(Real value, Real limit, int decimals) {
    constexpr int MostDecimals = 10;
    if (!std::isfinite(value) || value == limit) return decimals;
    for (int d = decimals; d < MostDecimals; ++d) {
        const std::string text = FormatFixed(value, d, 18);
        Real shown = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), shown);
        if (error != std::errc{} || end != text.data() + text.size()) return decimals;
        if (value < limit ? shown < limit : shown > limit) return d;
    }
    return MostDecimals;
}

int ShownDecimals(const TMatData& mat, int tag, Real value) {
    const int decimals = tag >= 1 && tag <= InputRangeCount ? mat.InputRange(tag).Decimals : 2;
    if (tag == TagSteelPct && value < MinSteelPct) return DecimalsApart(value, MinSteelPct, decimals);
    return decimals;
}

int UtilizationDecimals(Real utilization) {
    constexpr int Decimals = 2;
    return utilization > MaxUtilization ? DecimalsApart(utilization, MaxUtilization, Decimals) : Decimals;
}

namespace {

// Each check's name in the tools' output and as the engineer reads it, in
// the order of TCheck.
struct TCheckNames {
    TCheck Check;
    std::string_view Key, Readable;
};
constexpr std::array<TCheckNames, CheckCount> CheckNames{{
    {TCheck::Bearing, "Bearing", "Bearing pressure"},
    {TCheck::TopSpacing, "TopSpacing", "Top bar spacing"},
    {TCheck::BottomSpacing, "BottomSpacing", "Bottom bar spacing"},
    {TCheck::TopRatio, "TopRatio", "Top steel ratio"},
    {TCheck::BottomRatio, "BottomRatio", "Bottom steel ratio"},
    {TCheck::TopUtilization, "TopUtilization", "Top flexure"},
    {TCheck::BottomUtilization, "BottomUtilization", "Bottom flexure"},
    {TCheck::Shear, "Shear", "One-way shear"},
    {TCheck::Punching, "Punching", "Punching shear"},
}};
static_assert([] {
    for (size_t i = 0; i < CheckNames.size(); ++i)
        if (static_cast<size_t>(CheckNames[i].Check) != i) return false;
    return true;
}());

} // namespace

std::string_view CheckName(TCheck check) {
    return CheckNames.at(static_cast<size_t>(check)).Key;
}

std::string_view ReadableCheckName(TCheck check) {
    return CheckNames.at(static_cast<size_t>(check)).Readable;
}

TCheckResult EvaluateCheck(const TMatData& mat, TCheck check) {
    switch (check) {
    case TCheck::Bearing:
        return Bearing(mat);
    case TCheck::TopSpacing:
        return Spacing(mat, TFace::Top);
    case TCheck::BottomSpacing:
        return Spacing(mat, TFace::Bottom);
    case TCheck::TopRatio:
        return Ratio(mat, TFace::Top);
    case TCheck::BottomRatio:
        return Ratio(mat, TFace::Bottom);
    case TCheck::TopUtilization:
        return Utilization(mat, TFace::Top);
    case TCheck::BottomUtilization:
        return Utilization(mat, TFace::Bottom);
    case TCheck::Shear:
        return Shear(mat);
    case TCheck::Punching:
        return Punching(mat);
    }
    return {};
}

TCheckResults EvaluateChecks(const TMatData& mat) {
    TCheckResults results;
    for (int i = 0; i < CheckCount; ++i)
        results[static_cast<size_t>(i)] = EvaluateCheck(mat, static_cast<TCheck>(i));
    return results;
}

Real StressBlockFactor(Real fcPsi) {
    if (fcPsi <= 4000) return 0.85L;
    if (fcPsi >= 8000) return 0.65L;
    return 0.85L - 0.05L * (fcPsi - 4000) / 1000;
}

Real NetTensileStrain(const TMatData& mat, TFace face) {
    const TFaceFields& f = Fields(face);
    const Real psiPerStress = mat.UnitSystem == UnitsSI ? 1 / MPaPerPsi : Real(1000);
    const Real width = mat.ByUnits(12, 1000) * mat.StripWidth; // in or mm
    const Real depth = mat.*f.Depth;
    const Real block = mat.*f.As * mat.Fy / (0.85L * mat.Fc * width);
    const Real c = block / StressBlockFactor(mat.Fc * psiPerStress);
    return 0.003L * (depth - c) / c;
}

std::optional<std::string> FaceWithoutDesign(const TMatData& mat, TFace face) {
    if (!Positive(mat.Fc)) return "f'c is not positive: enter the concrete strength";
    if (!Positive(mat.Fy)) return "Fy is not positive: enter the yield strength of the bars";
    // A negative cover would place the bars outside the concrete and make
    // the depth larger than the section.
    if (!(mat.*Fields(face).Cover >= 0)) return "Clear cover is below 0: enter a cover of at least 0";
    // The depth follows from the thickness; an analysis that did not finish
    // leaves it unknown, which is no fault of the face.
    const Real depth = mat.*Fields(face).Depth;
    if (!std::isnan(depth) && !Positive(depth))
        return "Effective depth is not positive: reduce the cover or the bar size";
    return std::nullopt;
}

std::optional<std::string> ShearWithoutDesign(const TMatData& mat) {
    if (!Positive(mat.Fc)) return "f'c is not positive: enter the concrete strength";
    if (!(mat.BottomCover >= 0)) return "Bottom clear cover is below 0: enter a cover of at least 0";
    if (!std::isnan(mat.BotDepth) && !Positive(mat.BotDepth))
        return "Effective depth of the bottom bars is not positive: reduce the bottom cover or the bar size";
    return std::nullopt;
}

} // namespace slabwise
