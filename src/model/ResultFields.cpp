#include "ResultFields.h"

#include <limits>

namespace slabwise {

namespace {

// Two rows for one member would clear it twice and print it under two keys;
// two rows under one name would let one key hide the other.
template <class Rows> constexpr bool Distinct(const Rows& rows) {
    for (size_t i = 0; i < rows.size(); ++i)
        for (size_t k = i + 1; k < rows.size(); ++k)
            if (rows[i].Member == rows[k].Member || rows[i].Name == rows[k].Name) return false;
    return true;
}
static_assert(Distinct(ResultFields));
static_assert(Distinct(EndParameterFields));
static_assert(Distinct(StationFields));

// The JSON writes each group as one stretch.
constexpr bool GroupsInOrder() {
    for (size_t i = 1; i < ResultFields.size(); ++i)
        if (ResultFields[i].Group < ResultFields[i - 1].Group) return false;
    return true;
}
static_assert(GroupsInOrder());

} // namespace

void ClearResultFields(TMatData& mat) {
    constexpr Real NaN = std::numeric_limits<Real>::quiet_NaN();
    for (const TResultField& field : ResultFields) mat.*field.Member = NaN;
    for (const TEndParameterField& field : EndParameterFields) (mat.*field.Member).fill(NaN);
    mat.ContactZones.clear();
    mat.ContactMessage.clear();
}

} // namespace slabwise
