#pragma once

#include "model/MatData.h"
#include "model/ThinnestDesign.h"

#include <nlohmann/json.hpp>

#include <string>

namespace slabwise {

// Every input, derived value and result of the model under its field name,
// plus "Rigidity", "Validity" and "Checks" (each design check's "Passes" and
// "Hint" under its name). Numbers that are not finite (results an
// analysis did not reach) are null, so the object always serialises.
nlohmann::ordered_json AnalysisJson(const TMatData& mat);

// The same results as a plain-text report for a terminal, every number with
// the decimals the program shows it with.
std::string AnalysisText(const TMatData& mat);

// The outcome of the search for the thinnest passing design of `mat` as
// {"Optimised": {...}}: the proposal's fields (null when none was found), the
// counts of the search and the reason (null when found).
nlohmann::ordered_json OptimisedJson(const TMatData& mat, const TThinnestDesign& found);
// The same as a short text section, numbers with the program's decimals.
std::string OptimisedText(const TMatData& mat, const TThinnestDesign& found);

} // namespace slabwise
