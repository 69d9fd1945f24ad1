// The list of derived values: clearing it leaves a project's inputs and
// stations alone and leaves no number of the last analysis behind.

#include "model/ResultFields.h"

#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

namespace slabwise {
namespace {

std::string Saved(const TMatData& mat) {
    std::ostringstream out;
    mat.SaveToStream(out);
    return out.str();
}

// A strip with a load, analysed with reinforcement, so every derived value
// holds a number.
std::unique_ptr<TMatData> AnalysedStrip() {
    auto mat = test::Strip(UnitsEnglish, 40, 10, 2, 100, 4);
    mat->PointLoads[0] = {12, 150};
    mat->DistLoads[2] = {20, 30, 2, 2};
    mat->UseReinforcement = 1;
    mat->TopBarSize = 7;
    mat->BottomBarSize = 8;
    mat->Analyze();
    return mat;
}

TEST(ResultFields, AnAnalysisWritesEveryRow) {
    const auto analysed = AnalysedStrip();
    const TMatData& mat = *analysed;
    for (const TResultField& field : ResultFields)
        EXPECT_TRUE(std::isfinite(mat.*field.Member)) << field.Name;
    for (const TEndParameterField& field : EndParameterFields)
        for (const Real v : mat.*field.Member) EXPECT_TRUE(std::isfinite(v)) << field.Name;
}

TEST(ResultFields, ClearingEmptiesEveryRowAndNothingElse) {
    const auto analysed = AnalysedStrip();
    analysed->ContactZones = {{0, 40}};
    analysed->ContactMessage = "left over";
    const TMatData& before = *analysed;
    TMatData mat = before;

    ClearResultFields(mat);
    for (const TResultField& field : ResultFields) EXPECT_TRUE(std::isnan(mat.*field.Member)) << field.Name;
    for (const TEndParameterField& field : EndParameterFields)
        for (const Real v : mat.*field.Member) EXPECT_TRUE(std::isnan(v)) << field.Name;
    EXPECT_TRUE(mat.ContactZones.empty());
    EXPECT_TRUE(mat.ContactMessage.empty());

    // Every input stays as it was, and the stations are the analysis's to write.
    for (const TResultField& field : ResultFields) mat.*field.Member = before.*field.Member;
    EXPECT_EQ(Saved(mat), Saved(before));
    for (size_t i = 0; i < mat.Stations.size(); ++i)
        for (const TStationField& field : StationFields)
            EXPECT_EQ(mat.Stations[i].*field.Member, before.Stations[i].*field.Member) << i << field.Name;
}

} // namespace
} // namespace slabwise
