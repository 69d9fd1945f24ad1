#include "model/ResultTexts.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

using namespace slabwise;

namespace {

// The one table of the rigidity and validity boundaries: a value on each
// side of each bound. The window, the report and the tools show these texts.
TEST(RigidityText, Boundaries) {
    const Real pi = 3.1415926535897932385L;
    const struct {
        Real betaL;
        const char* expected;
    } cases[] = {
        {0, "Mat is rigid"},
        {0.1L, "Mat is rigid"},
        {pi / 4, "Mat is rigid"},
        {std::nextafter(pi / 4, Real(1)), "Mat is semi-rigid"},
        {std::nextafter(pi, Real(0)), "Mat is semi-rigid"},
        {pi, "Mat is flexible"},
        {5.99L, "Mat is flexible"},
        {std::nextafter(Real(6), Real(0)), "Mat is flexible"},
        {6, "Mat is semi-infinite long"},
        {1e6L, "Mat is semi-infinite long"},
    };
    for (const auto& c : cases) EXPECT_EQ(RigidityText(c.betaL), c.expected) << static_cast<double>(c.betaL);
}

TEST(ValidityMessage, FirstMatchWinsWithTolerance) {
    auto mat = slabwise::test::NewModel();
    struct Case {
        Real maxQ, minQ, area;
        const char* expected;
    };
    const char* const notValid = "Q(max) & (min) < 0, analysis is not valid!";
    const char* const mayNotBe = "Brg Area < 85%, analysis may not be valid!";
    const Case cases[] = {
        {-1, -2, 40, notValid}, // before the bearing area
        {-1e-15L, -2, 100, notValid},
        {-1e-17L, -2, 100, ""}, // max counts as zero, not below it
        {1, -2, 100, ""},       // one pressure below zero is not both
        {1, -2, 84.9L, mayNotBe},
        {1, -2, 85 - 1e-13L, mayNotBe},
        {1, 0.5L, 85 - 1e-15L, ""}, // within the tolerance
        {1, -2, 85, ""},
    };
    for (const Case& c : cases) {
        mat->MaxPressure = c.maxQ, mat->MinPressure = c.minQ, mat->BearingAreaPct = c.area;
        EXPECT_EQ(ValidityMessage(*mat), c.expected)
            << static_cast<double>(c.maxQ) << " " << static_cast<double>(c.area);
    }
}

TEST(ValidityMessage, NamesTheLoadsOutsideTheStrip) {
    const std::string note = "Loads outside the strip (extremes and design from 0 to L only): ";
    struct Case {
        const char* name;
        std::function<void(TMatData&)> place;
        Real area;
        std::string expected;
    };
    const Case cases[] = {
        {"all inside, ends included",
         [](TMatData& m) {
             m.PointLoads[0] = {0, 10}, m.Moments[1] = {24, 5};
         },
         100, ""},
        {"zero loads do not count",
         [](TMatData& m) {
             m.PointLoads[0] = {-10, 0}, m.DistLoads[0] = {-4, 30, 0, 0};
         },
         100, ""},
        {"point load left",
         [](TMatData& m) {
             m.PointLoads[0] = {-10, 100};
         },
         100, note + "point load 1."},
        {"every kind",
         [](TMatData& m) {
             m.DistLoads[1] = {20, 30, 2, 2};  // reaches past L
             m.DistLoads[2] = {-1, 5, -1, -1}; // starts before 0
             m.PointLoads[11] = {24.001L, 5};
             m.Moments[3] = {-0.5L, 40};
         },
         100, note + "distributed load 2, distributed load 3, point load 12, moment 4."},
        {"after the bearing message",
         [](TMatData& m) {
             m.PointLoads[3] = {40, 100};
         },
         50, "Brg Area < 85%, analysis may not be valid! " + note + "point load 4."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto mat = slabwise::test::NewModel();
        mat->StripLength = 24;
        mat->MaxPressure = 2, mat->MinPressure = 1, mat->BearingAreaPct = c.area;
        c.place(*mat);
        EXPECT_EQ(ValidityMessage(*mat), c.expected);
    }
}

} // namespace
