#pragma once

#include "MatData.h"

namespace slabwise {

// The two example projects delivered beside the program, as data. New
// projects start from them, so they are ordinary, well-behaved strips.
void MakeEnglishExample(TMatData& mat);
void MakeSIExample(TMatData& mat);

} // namespace slabwise
