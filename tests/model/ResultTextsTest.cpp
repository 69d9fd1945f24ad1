#include "model/ResultTexts.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace slabwise;

namespace {

TEST(RigidityText, Boundaries) {
    const Real pi = 3.1415926535897932385L;
    EXPECT_EQ(RigidityText(0.1L), "Mat is rigid");
    EXPECT_EQ(RigidityText(pi / 4), "Mat is rigid");
    EXPECT_EQ(RigidityText(std::nextafter(pi / 4, Real(1))), "Mat is semi-rigid");
    EXPECT_EQ(RigidityText(pi), "Mat is flexible");
    EXPECT_EQ(RigidityText(5.99L), "Mat is flexible");
    EXPECT_EQ(RigidityText(6), "Mat is semi-infinite long");
}

TEST(ValidityMessage, FirstMatchWinsWithTolerance) {
    auto mat = slabwise::test::NewModel();
    struct Case {
        Real maxQ, minQ, area;
        const char* expected;
    };
    const Case cases[] = {
        {-1, -2, 40, "Q(max) & (min) < 0, analysis is not valid!"},
        {1, -2, 84.9L, "Brg Area < 85%, analysis may not be valid!"},
        {1, -2, 85, ""},
        {1, 0.5L, 85 - 1e-15L, ""}, // within the tolerance
        {-1e-17L, -2, 100, ""},     // max counts as zero, not below it
    };
    for (const Case& c : cases) {
        mat->MaxPressure = c.maxQ, mat->MinPressure = c.minQ, mat->BearingAreaPct = c.area;
        EXPECT_EQ(ValidityMessage(*mat), c.expected) << static_cast<double>(c.area);
    }
}

} // namespace
