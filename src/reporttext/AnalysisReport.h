#pragma once

#include "model/MatData.h"

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

} // namespace slabwise
