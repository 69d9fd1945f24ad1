#include "ThinnestDesign.h"

#include "NumberFormat.h"
#include "PunchingShear.h"
#include "Units.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <limits>
#include <span>
#include <tuple>
#include <vector>

namespace slabwise {

namespace {

constexpr Real NaN = std::numeric_limits<Real>::quiet_NaN();

// The checks each bar size decides on its own. A face's checks read only its
// own bars; one-way shear and punching read the depth of the bottom bars;
// bearing reads the analysis alone. So at one thickness each face is judged
// once per size instead of once per pair.
constexpr std::array<TCheck, 3> TopChecks{TCheck::TopSpacing, TCheck::TopRatio, TCheck::TopUtilization};
constexpr std::array<TCheck, 5> BottomChecks{TCheck::BottomSpacing, TCheck::BottomRatio,
                                             TCheck::BottomUtilization, TCheck::Shear, TCheck::Punching};

// One bar size of one face that passes that face's checks at the thickness.
struct TFaceChoice {
    int32_t Size;
    Real Bars;
    Real As;
};

// What failed, kept for the reason given when nothing passes.
struct TFailures {
    // Thicknesses whose analysis finished, and per check those at which it
    // failed for every bar size; a check not judged at a thickness (bearing
    // ruled it out first) did not fail there.
    int Analysed = 0;
    std::array<int, CheckCount> FailedEverySize{};
    // Per check: the bar pairs it fails for at the last thickness analysed.
    std::array<long, CheckCount> PairsFailedLast{};
    long PairsLast = 0;
    Real LastThickness = NaN;
    std::string AnalysisMessage;

    void StartThickness(Real thickness, long pairs) {
        ++Analysed;
        PairsFailedLast.fill(0);
        PairsLast = pairs;
        LastThickness = thickness;
    }
    // The check failed for `failed` of the `sizes` sizes it was judged with,
    // each standing for `pairsEach` pairs.
    void Record(TCheck check, int failed, int sizes, long pairsEach) {
        const auto i = static_cast<size_t>(check);
        if (failed == sizes) ++FailedEverySize[i];
        PairsFailedLast[i] = failed * pairsEach;
    }
    bool FailsEverywhere(TCheck check) const {
        return Analysed > 0 && FailedEverySize[static_cast<size_t>(check)] == Analysed;
    }
};

// How the reason names a failing check.
const char* FailurePhrase(TCheck check) {
    switch (check) {
    case TCheck::Bearing:
        return "the bearing pressure exceeds qa";
    case TCheck::TopSpacing:
        return "the spacing of the top bars is outside its limits";
    case TCheck::BottomSpacing:
        return "the spacing of the bottom bars is outside its limits";
    case TCheck::TopRatio:
        return "the top steel is below the minimum ratio";
    case TCheck::BottomRatio:
        return "the bottom steel is below the minimum ratio";
    case TCheck::TopUtilization:
        return "the top bars cannot carry the negative moment";
    case TCheck::BottomUtilization:
        return "the bottom bars cannot carry the positive moment";
    case TCheck::Shear:
        return "the one-way shear exceeds the capacity";
    case TCheck::Punching:
        return "punching shear fails at a column";
    }
    return "";
}

// A thickness as the field shows it, less its trailing zeros: "20 ft".
std::string LengthText(const TMatData& mat, Real value, char decimalSeparator) {
    std::string text = FormatFixed(value, mat.InputRange(TagThickness).Decimals, 10, decimalSeparator);
    if (text.find(decimalSeparator) != std::string::npos) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == decimalSeparator) text.pop_back();
    }
    return text + ' ' + UnitText(TQuantity::Length, mat.UnitSystem);
}

std::string NoneReason(const TMatData& mat, const TFailures& f, Real largest, char decimalSeparator) {
    std::string reason = "no thickness up to " + LengthText(mat, largest, decimalSeparator) + " passes: ";
    if (f.Analysed == 0)
        return reason + "the analysis does not finish at any thickness" +
               (f.AnalysisMessage.empty() ? "" : " (" + f.AnalysisMessage + ")");
    for (int i = 0; i < CheckCount; ++i)
        if (f.FailsEverywhere(static_cast<TCheck>(i)))
            return reason + FailurePhrase(static_cast<TCheck>(i)) + " at every thickness";
    // No single check stops every thickness: name the one that rules out the
    // most bar pairs at the thickest analysed.
    size_t most = 0;
    for (size_t i = 1; i < CheckCount; ++i)
        if (f.PairsFailedLast[i] > f.PairsFailedLast[most]) most = i;
    return reason + FailurePhrase(static_cast<TCheck>(most)) + " at " +
           LengthText(mat, f.LastThickness, decimalSeparator) + " for " +
           std::to_string(f.PairsFailedLast[most]) + " of the " + std::to_string(f.PairsLast) + " bar pairs";
}

bool Passes(const TMatData& mat, TCheck check) {
    return EvaluateCheck(mat, check).Passes;
}

// Designs again with the bar sizes in place; a fault in the design fails the
// size (the analysis before it finished, so the fault is the size's own).
bool Redesign(TMatData& mat) {
    try {
        mat.Design();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// The sizes of one face that pass its checks at the analysed thickness;
// records each check's failures.
std::vector<TFaceChoice> PassingSizes(TMatData& mat, const std::vector<int32_t>& sizes,
                                      int32_t TMatData::*size, const Real TMatData::*bars,
                                      const Real TMatData::*as, std::span<const TCheck> checks,
                                      long pairsEach, TFailures& failures) {
    std::vector<TFaceChoice> passing;
    std::array<int, CheckCount> failed{};
    for (int32_t s : sizes) {
        mat.*size = s;
        const bool designed = Redesign(mat);
        bool all = true;
        for (TCheck c : checks) {
            if (designed && Passes(mat, c)) continue;
            ++failed[static_cast<size_t>(c)];
            all = false;
        }
        if (all) passing.push_back({s, mat.*bars, mat.*as});
    }
    for (TCheck c : checks)
        failures.Record(c, failed[static_cast<size_t>(c)], static_cast<int>(sizes.size()), pairsEach);
    return passing;
}

bool AllPass(const TCheckResults& results) {
    return std::all_of(results.begin(), results.end(), [](const TCheckResult& r) { return r.Passes; });
}

} // namespace

Real CheckUtilization(const TMatData& mat, TCheck check) {
    switch (check) {
    case TCheck::Bearing:
        // Without an allowable bearing no bearing check is made.
        return mat.AllowableBearing > 0 ? mat.MaxPressure / mat.AllowableBearing * 100 : NaN;
    case TCheck::TopUtilization:
        return mat.TopUtil;
    case TCheck::BottomUtilization:
        return mat.BottomUtil;
    case TCheck::Shear:
        return mat.ShearUtil;
    case TCheck::Punching: {
        Real most = NaN;
        for (const TPunchingResult& r : EvaluatePunching(mat))
            if (r.State == TPunchingState::Checked && !(r.Util <= most)) most = r.Util;
        return most;
    }
    case TCheck::TopSpacing:
    case TCheck::BottomSpacing:
    case TCheck::TopRatio:
    case TCheck::BottomRatio:
        break;
    }
    return NaN;
}

std::pair<TCheck, Real> GoverningCheck(const TMatData& mat) {
    std::pair<TCheck, Real> governing{TCheck::Bearing, NaN};
    for (int i = 0; i < CheckCount; ++i) {
        const auto check = static_cast<TCheck>(i);
        const Real util = CheckUtilization(mat, check);
        if (!std::isnan(util) && !(util <= governing.second)) governing = {check, util};
    }
    return governing;
}

void ApplyProposal(TMatData& mat, const TDesignProposal& proposal) {
    mat.Thickness = proposal.Thickness;
    mat.TopBarSize = proposal.TopBarSize;
    mat.BottomBarSize = proposal.BottomBarSize;
    mat.TopBarsOverride = 0;
    mat.BotBarsOverride = 0;
    mat.Analyze();
}

TThinnestDesign FindThinnestDesign(const TMatData& project, const TSearchProgress& progress,
                                   char decimalSeparator) {
    TThinnestDesign result;
    TMatData mat = project;
    mat.TopBarsOverride = 0;
    mat.BotBarsOverride = 0;
    mat.PrepareBarTable();

    std::vector<int32_t> sizes;
    for (const TBarRow& row : mat.BarTable)
        if (row.Bar != 0) sizes.push_back(row.Bar);
    const auto count = static_cast<long>(sizes.size());
    const long pairs = count * count;

    // Thicknesses as whole steps of the shown resolution, so each is the
    // value the field shows and none drifts by repeated addition.
    const TInputRange& range = mat.InputRange(TagThickness);
    const Real scale = std::pow(Real(10), range.Decimals);
    const long first = std::lround(range.Min * scale);
    const long last = std::lround(range.Max * scale);
    const long steps = last - first + 1;

    TFailures failures;
    for (long k = first; k <= last; ++k) {
        if (progress && !progress(static_cast<double>(k - first) / static_cast<double>(steps))) {
            result.Cancelled = true;
            return result;
        }
        const Real thickness = Real(k) / scale;
        mat.Thickness = thickness;
        ++result.Thicknesses;
        result.Candidates += pairs;
        try {
            mat.Analyze();
        } catch (const std::exception& e) {
            if (failures.AnalysisMessage.empty()) failures.AnalysisMessage = e.what();
            continue;
        }
        failures.StartThickness(thickness, pairs);

        const bool bearing = Passes(mat, TCheck::Bearing);
        failures.Record(TCheck::Bearing, bearing ? 0 : 1, 1, pairs);
        if (!bearing) continue;

        const std::vector<TFaceChoice> bottoms =
            PassingSizes(mat, sizes, &TMatData::BottomBarSize, &TMatData::BotBarsMin, &TMatData::BotAs,
                         BottomChecks, count, failures);
        if (bottoms.empty()) continue;
        const std::vector<TFaceChoice> tops =
            PassingSizes(mat, sizes, &TMatData::TopBarSize, &TMatData::TopBarsMin, &TMatData::TopAs,
                         TopChecks, count, failures);
        if (tops.empty()) continue;

        // The lightest pair first (ties: fewer bars, then the table's order);
        // each is judged whole before it is taken.
        struct TPair {
            const TFaceChoice *Top, *Bottom;
            Real Steel, Bars;
        };
        std::vector<TPair> candidates;
        candidates.reserve(tops.size() * bottoms.size());
        for (const TFaceChoice& t : tops)
            for (const TFaceChoice& b : bottoms)
                candidates.push_back({&t, &b, (t.As + b.As) / mat.StripWidth, t.Bars + b.Bars});
        std::stable_sort(candidates.begin(), candidates.end(), [](const TPair& a, const TPair& b) {
            return a.Steel != b.Steel ? a.Steel < b.Steel : a.Bars < b.Bars;
        });
        for (const TPair& c : candidates) {
            mat.TopBarSize = c.Top->Size;
            mat.BottomBarSize = c.Bottom->Size;
            if (!Redesign(mat) || !AllPass(EvaluateChecks(mat))) continue;
            TDesignProposal& p = result.Proposal;
            p.Thickness = thickness;
            p.TopBarSize = c.Top->Size;
            p.BottomBarSize = c.Bottom->Size;
            p.TopBars = mat.TopBarsMin;
            p.BottomBars = mat.BotBarsMin;
            p.TopAs = mat.TopAs;
            p.BottomAs = mat.BotAs;
            p.SteelPerWidth = (mat.TopAs + mat.BotAs) / mat.StripWidth;
            std::tie(p.Governing, p.GoverningUtil) = GoverningCheck(mat);
            result.Found = true;
            if (progress) progress(1);
            return result;
        }
    }
    result.Reason = NoneReason(mat, failures, Real(last) / scale, decimalSeparator);
    if (progress) progress(1);
    return result;
}

} // namespace slabwise
