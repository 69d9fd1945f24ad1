// The notices of bars a switch of units or bar system replaced.

#include "model/BarNotices.h"

#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace slabwise::test {
namespace {

using TNotices = std::vector<std::string>;

TEST(BarNotices, SayWhichBarReplacedWhichWithDiametersWhereTheNamesAreAlike) {
    const TBarChoice us6{BarSystemUS, "#6", 19.05};
    const TBarChoice us6Metric{BarSystemUS, "19", 19.05};
    const TBarChoice eu10{BarSystemEuropean, "10M", 10};
    const TBarChoice eu25{BarSystemEuropean, "25M", 25};
    const TBarChoice us25{BarSystemUS, "25M", 25.4};
    const TBarChoice ca25{BarSystemCanadian, "25M", 25.2};
    const struct {
        const char* Name;
        TBarChoices Before, After;
        char Separator;
        TNotices Said;
    } cases[] = {
        {"unchanged", {us6, eu10}, {us6, eu10}, '.', {}},
        // A US bar keeps its diameter under its metric name.
        {"US bar renamed", {us6, us6}, {us6Metric, us6Metric}, '.', {}},
        {"other system", {us6, us6}, {eu10, us6}, '.', {"Top Bar Size: US #6 replaced by European 10M"}},
        {"alike names",
         {eu25, eu25},
         {us25, ca25},
         ',',
         {"Top Bar Size: European 25M (25,00 mm) replaced by US 25M (25,40 mm)",
          "Bottom Bar Size: European 25M (25,00 mm) replaced by Canadian 25M (25,20 mm)"}},
        {"same system, other bar",
         {eu25, eu10},
         {eu25, eu25},
         '.',
         {"Bottom Bar Size: European 10M replaced by European 25M"}},
        {"unknown system",
         {TBarChoice{7, "#3", 9.5}, us6},
         {us6, us6},
         '.',
         {"Top Bar Size:  #3 replaced by US #6"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(BarReplacedNotices(c.Before, c.After, c.Separator), c.Said);
    }
}

TEST(BarNotices, ChoicesAreTheProjectsTopAndBottomBarInMillimetres) {
    const struct {
        uint8_t Units;
        int32_t System;
        int32_t Top, Bottom;
        TBarChoice ExpectedTop, ExpectedBottom;
    } cases[] = {
        {UnitsEnglish, BarSystemUS, 6, 4, {BarSystemUS, "#6", 19.05}, {BarSystemUS, "#4", 12.7}},
        {UnitsSI, BarSystemEuropean, 25, 10, {BarSystemEuropean, "25M", 25}, {BarSystemEuropean, "10M", 10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.Units));
        auto mat = NewModel(c.Units);
        mat->BarSystem = c.System;
        mat->PrepareBarTable();
        mat->TopBarSize = c.Top;
        mat->BottomBarSize = c.Bottom;
        const TBarChoices choices = BarChoices(*mat);
        for (const auto& [got, expected] :
             {std::pair{choices[0], c.ExpectedTop}, {choices[1], c.ExpectedBottom}}) {
            EXPECT_EQ(got.System, expected.System);
            EXPECT_EQ(got.Label, expected.Label);
            EXPECT_NEAR(got.Millimetres, expected.Millimetres, 1e-9);
        }
    }
    EXPECT_EQ(BarSystemName(BarSystemCanadian), "Canadian");
    EXPECT_EQ(BarSystemName(-1), "");
}

} // namespace
} // namespace slabwise::test
