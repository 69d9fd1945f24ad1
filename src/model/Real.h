#pragma once

namespace slabwise {

// Every engineering number of the model is an x87 80-bit extended real; the
// project file stores exactly that form.
using Real = long double;

static_assert(sizeof(Real) >= 10, "Real must be the x87 extended type");

} // namespace slabwise
