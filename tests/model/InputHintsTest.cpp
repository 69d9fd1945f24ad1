// The hint of each numeric input and the notice of a value the reading
// changed, composed from the same limits that clamp the input.

#include "model/InputHints.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace slabwise;
using slabwise::test::NewModel;

namespace {

TEST(InputHints, CaptionLimitsAndUnitInBothSystems) {
    struct Case {
        TInput input;
        int number;
        uint8_t units;
        const char* hint;
    };
    const Case cases[] = {
        {TInput::StripLength, 0, UnitsEnglish, "Strip Length, L: 5 to 500 ft"},
        {TInput::StripLength, 0, UnitsSI, "Strip Length, L: 1.5 to 150 m"},
        {TInput::Thickness, 0, UnitsEnglish, "Strip Thickness, T: 0.67 to 20 ft"},
        {TInput::SubgradeModulus, 0, UnitsSI, "Subgrade Modulus, k: 2000 to 200000 kN/m\u00B3"},
        {TInput::AllowableBearing, 0, UnitsSI, "Allow. Bearing Cap, qa: 20 to 1000 kPa"},
        {TInput::FullUniformLoad, 0, UnitsEnglish, "Full Uniform, w: -999 to 999 kips/ft"},
        // The SI row sets no limits for w.
        {TInput::FullUniformLoad, 0, UnitsSI, "Full Uniform, w: no limits (kN/m)"},
        {TInput::EffWidthPercent, 0, UnitsSI, "%B: 0 to 100%"},
        {TInput::PointForce, 3, UnitsSI, "Point Load #3, P: -450000 to 450000 kN"},
        {TInput::MomentValue, 2, UnitsEnglish, "Moment #2, M: -99000 to 99000 ft-kips"},
        {TInput::ShearLoadFactor, 0, UnitsSI, "Shear Load Factor: 1.4 to 2"},
        {TInput::UserPoint, 4, UnitsEnglish, "User Point x4: from 0 to the strip length, 30 ft"},
        {TInput::PointPosition, 12, UnitsSI, "Point Load #12, a: from 0 to the strip length, 30 m"},
        // The strips are 2.5 ft and 0.75 m thick.
        {TInput::TopCover, 0, UnitsEnglish, "Top Clear Cover: 0 to 29.99 in (less than the thickness)"},
        {TInput::BottomCover, 0, UnitsSI, "Bottom Clear Cover: 0 to 749.99 mm (less than the thickness)"},
        {TInput::DistEnd, 6, UnitsEnglish,
         "Distributed Load #6, e: from the load's start b to the strip length, 30 ft"},
        {TInput::TopBarsOverride, 0, UnitsEnglish,
         "Override # of Top Bars: no limits\nSet to 0 to use computed value"},
    };
    for (const Case& c : cases) {
        auto mat = NewModel(c.units);
        mat->StripLength = 30;
        mat->Thickness = c.units == UnitsSI ? 0.75L : 2.5L;
        EXPECT_EQ(InputHint(*mat, c.input, c.number), c.hint);
    }
}

TEST(InputHints, DecimalSeparatorOfTheLocale) {
    auto mat = NewModel(UnitsEnglish);
    mat->StripLength = 12.5L;
    EXPECT_EQ(InputHint(*mat, TInput::Thickness, 0, ','), "Strip Thickness, T: 0,67 to 20 ft");
    EXPECT_EQ(InputHint(*mat, TInput::MomentPosition, 1, ','),
              "Moment #1, c: from 0 to the strip length, 12,5 ft");
}

TEST(InputHints, NoticeSaysWhatWasTypedAndWhatIsUsed) {
    struct Case {
        TInput input;
        int number;
        uint8_t units;
        const char* typed;
        Real used;
        const char* notice;
    };
    const Case cases[] = {
        {TInput::StripLength, 0, UnitsEnglish, "600", 500,
         "Strip Length, L: 600 is above the limit; 500.00 used"},
        {TInput::StripLength, 0, UnitsSI, "1", 1.5L, "Strip Length, L: 1 is below the limit; 1.500 used"},
        {TInput::Fc, 0, UnitsSI, "abc", 20, "Concrete Str, Fc: abc is not a number; 20.0 used"},
        {TInput::Thickness, 0, UnitsEnglish, "", 0.67L, "Strip Thickness, T: the box is empty; 0.67 used"},
        {TInput::PointPosition, 2, UnitsEnglish, "45", 30,
         "Point Load #2, a: 45 is beyond the strip length; 30.0000 used"},
        {TInput::DistEnd, 1, UnitsEnglish, "2", 5,
         "Distributed Load #1, e: 2 is before the load's start; 5.0000 used"},
        {TInput::PointPosition, 4, UnitsEnglish, "-10000", 0,
         "Point Load #4, a: -10000 is before the strip's left end; 0.0000 used"},
        {TInput::TopCover, 0, UnitsEnglish, "-3", 0, "Top Clear Cover: -3 is below 0; 0.00 used"},
        {TInput::BottomCover, 0, UnitsSI, "900", 749.99L,
         "Bottom Clear Cover: 900 is not less than the thickness; 749.99 used"},
    };
    for (const Case& c : cases) {
        auto mat = NewModel(c.units);
        mat->StripLength = 30;
        mat->Thickness = c.units == UnitsSI ? 0.75L : 2.5L;
        EXPECT_EQ(ClampNotice(*mat, c.input, c.number, c.typed, c.used), c.notice);
    }
}

// The one rule the window, Open and the tools limit a value by.
TEST(InputHints, LimitInputBoundsEachKindOfField) {
    struct Case {
        const char* name;
        uint8_t units;
        int tag;
        Real value;
        double min, max;
        Real used;
    };
    const Case cases[] = {
        {"row below", UnitsEnglish, TagLength, 2, 0, 0, 5},
        {"row above", UnitsSI, TagFc, 500, 0, 0, 120},
        {"row without limits", UnitsEnglish, TagFy, -7, 0, 0, -7},
        {"tag of no row", UnitsEnglish, 0, -7, 0, 0, -7},
        // Positions: 0 to the strip length of 30, by Tag or as the window asks.
        {"point load far before the strip", UnitsEnglish, TagPointPosition, -10000, 0, 0, 0},
        {"point load beyond the strip", UnitsEnglish, TagPointPosition, 45, 0, 0, 30},
        {"user point before the strip, SI row", UnitsSI, TagUserPoint, -2, 0, 0, 0},
        // 14.3 m as the double the window passes lies beyond the strip.
        {"user point at a length no double holds", UnitsSI, TagUserPoint, 20, 0, static_cast<double>(14.3L),
         14.3L},
        {"moment inside", UnitsEnglish, TagMomentPosition, 12.5L, 0, 0, 12.5L},
        {"position with the window's bounds", UnitsEnglish, TagDistPosition, -1, 0, 30, 0},
        {"load end before its start", UnitsEnglish, TagDistPosition, 3, 8, 30, 8},
        {"load end beyond the strip", UnitsEnglish, TagDistPosition, 31, 8, 30, 30},
        // Covers: 0 to less than the 2.5 ft = 30 in, or 0.75 m = 750 mm, thickness.
        {"cover below 0", UnitsEnglish, TagCover, -3, 0, 0, 0},
        {"cover of the thickness", UnitsEnglish, TagCover, 30, 0, 0, 29.99L},
        {"cover just below", UnitsEnglish, TagCover, 29.99L, 0, 0, 29.99L},
        {"cover above, SI", UnitsSI, TagCover, 1e6, 0, 0, 749.99L},
        {"cover inside", UnitsSI, TagCover, 75, 0, 0, 75},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto mat = NewModel(c.units);
        mat->StripLength = 30;
        if (c.units == UnitsSI && c.tag == TagUserPoint) mat->StripLength = 14.3L;
        mat->Thickness = c.units == UnitsSI ? 0.75L : 2.5L;
        EXPECT_EQ(LimitInput(*mat, c.tag, c.value, c.min, c.max), c.used);
    }
    // A thickness that is a rounding away from a whole step still leaves the
    // cover visibly below it, and no thickness leaves a cover only its sign.
    auto mat = NewModel(UnitsSI);
    mat->Thickness = 0.6L;
    EXPECT_EQ(MaxCover(*mat), 599.99L);
    mat->Thickness = 0;
    EXPECT_TRUE(std::isnan(MaxCover(*mat)));
    EXPECT_EQ(LimitInput(*mat, TagCover, -1), 0);
    EXPECT_EQ(LimitInput(*mat, TagCover, 80), 80);
}

} // namespace
