// The hint of each numeric input and the notice of a value the reading
// changed, composed from the same limits that clamp the input.

#include "model/InputHints.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

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
        {TInput::UserPoint, 4, UnitsEnglish, "User Point x4: at most the strip length, 30 ft"},
        {TInput::PointPosition, 12, UnitsSI, "Point Load #12, a: at most the strip length, 30 m"},
        {TInput::DistEnd, 6, UnitsEnglish,
         "Distributed Load #6, e: from the load's start b to the strip length, 30 ft"},
        {TInput::TopBarsOverride, 0, UnitsEnglish,
         "Override # of Top Bars: no limits\nSet to 0 to use computed value"},
    };
    for (const Case& c : cases) {
        auto mat = NewModel(c.units);
        mat->StripLength = 30;
        EXPECT_EQ(InputHint(*mat, c.input, c.number), c.hint);
    }
}

TEST(InputHints, DecimalSeparatorOfTheLocale) {
    auto mat = NewModel(UnitsEnglish);
    mat->StripLength = 12.5L;
    EXPECT_EQ(InputHint(*mat, TInput::Thickness, 0, ','), "Strip Thickness, T: 0,67 to 20 ft");
    EXPECT_EQ(InputHint(*mat, TInput::MomentPosition, 1, ','),
              "Moment #1, c: at most the strip length, 12,5 ft");
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
    };
    for (const Case& c : cases) {
        auto mat = NewModel(c.units);
        mat->StripLength = 30;
        EXPECT_EQ(ClampNotice(*mat, c.input, c.number, c.typed, c.used), c.notice);
    }
}

} // namespace
