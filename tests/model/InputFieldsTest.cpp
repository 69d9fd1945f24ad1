#include "model/InputFields.h"
#include "model/OpenProject.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace slabwise {
namespace {

// Every box the list names once, as "Edit6" for user point 1: the window
// finds a box by its name, so two inputs under one name would share a box.
TEST(InputFieldsTest, EveryBoxNameIsOneInputsAndLeadsBackToIt) {
    std::set<std::string> names;
    for (const TInputField& field : InputFields)
        for (const TInputBox* box : {&field.Box, &field.SecondBox}) {
            if (box->Empty()) continue;
            for (int number = field.Numbered() ? 1 : 0; number <= (field.Numbered() ? field.Count : 0);
                 ++number) {
                const std::string name = box->Edit.For(number);
                EXPECT_TRUE(names.insert(name).second) << name;
                const std::optional<TInputAt> at = InputOfControl(name);
                ASSERT_TRUE(at) << name;
                EXPECT_EQ(at->Input, field.Input) << name;
                EXPECT_EQ(at->Number, number) << name;
            }
        }
    // The 93 inputs and the second box of Fc.
    EXPECT_EQ(names.size(), 94u);
    for (const char* foreign : {"EditDist3we", "Edit4", "Edit11", "EditPoint13a", "EditPoint13c1",
                                "EditPoint1c3", "Edit", "Label4"})
        EXPECT_FALSE(InputOfControl(foreign)) << foreign;
}

// The names the window's page layout gives, read from its designer file: a
// renamed control would leave a row pointing at nothing.
TEST(InputFieldsTest, EveryNameIsAControlOfTheWindow) {
    std::ifstream file(SLABWISE_SOURCE_DATA "/../src/mainwindow/MainWindow.ui");
    ASSERT_TRUE(file);
    std::stringstream text;
    text << file.rdbuf();
    const std::string ui = text.str();
    const auto declared = [&ui](const std::string& name, const char* kind) {
        return ui.find("class=\"" + std::string(kind) + "\" name=\"" + name + "\"") != std::string::npos;
    };
    for (const TInputField& field : InputFields)
        for (const TInputBox* box : {&field.Box, &field.SecondBox}) {
            if (box->Empty()) continue;
            const int last = field.Numbered() ? field.Count : 0;
            for (int number = field.Numbered() ? 1 : 0; number <= last; ++number) {
                EXPECT_TRUE(declared(box->Edit.For(number), "QLineEdit")) << box->Edit.For(number);
                if (!box->Caption.Empty()) {
                    EXPECT_TRUE(declared(box->Caption.For(number), "QLabel")) << box->Caption.For(number);
                }
            }
            for (std::string_view unit : box->Units)
                if (!unit.empty()) {
                    EXPECT_TRUE(declared(std::string(unit), "QLabel")) << unit;
                }
        }
}

// The window reads its boxes in this order: each load whole before the next,
// a load's start before its end.
TEST(InputFieldsTest, ReadingOrderGoesLoadByLoad) {
    std::vector<std::string> order;
    ForEachInput([&order](const TInputField& field, int number) {
        ASSERT_FALSE(field.Box.Empty()) << field.Caption;
        order.push_back(field.Box.Edit.For(number));
    });
    ASSERT_EQ(order.size(), 93u);
    const std::vector<std::string> head{"Edit1",  "Edit2",      "Edit3",       "Edit63",     "Edit5",
                                        "Edit62", "Edit6",      "Edit7",       "Edit8",      "Edit9",
                                        "Edit10", "EditDist1b", "EditDist1wb", "EditDist1e", "EditDist2b"};
    EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + static_cast<long>(head.size())), head);
    // The columns are read after the moments, each column's sizes together;
    // the strip width they are limited by was read long before.
    std::vector<std::string> tail{"EditPoint12a", "EditPoint12p", "EditMom1c", "EditMom1m", "EditMom2c",
                                  "EditMom2m",    "EditMom3c",    "EditMom3m", "EditMom4c", "EditMom4m"};
    for (int load = 1; load <= PointLoadCount; ++load)
        for (const char* size : {"c1", "c2"}) tail.push_back("EditPoint" + std::to_string(load) + size);
    for (const char* rest : {"Edit36", "Edit38", "Edit64", "Edit65", "Edit40", "Edit43", "Edit49", "Edit52"})
        tail.push_back(rest);
    EXPECT_EQ(std::vector<std::string>(order.end() - static_cast<long>(tail.size()), order.end()), tail);
}

// A value reached through the list is the model's own member.
TEST(InputFieldsTest, ValuesReachTheirMembers) {
    TMatData mat;
    Real next = 1;
    ForEachInput([&](const TInputField& field, int number) { InputValue(mat, field, number) = next++; });
    EXPECT_EQ(mat.StripLength, 1);
    EXPECT_EQ(mat.Fc, 4);
    EXPECT_EQ(mat.UserX[0], 7);
    EXPECT_EQ(mat.UserX[3], 10);
    EXPECT_EQ(mat.FullUniformLoad, 11);
    EXPECT_EQ(mat.DistLoads[0].b, 12);
    EXPECT_EQ(mat.DistLoads[0].wb, 13);
    EXPECT_EQ(mat.DistLoads[0].e, 14);
    EXPECT_EQ(mat.DistLoads[5].e, 29);
    EXPECT_EQ(mat.DistLoads[5].we, 0);
    EXPECT_EQ(mat.PointLoads[0].a, 30);
    EXPECT_EQ(mat.PointLoads[11].P, 53);
    EXPECT_EQ(mat.Moments[3].M, 61);
    EXPECT_EQ(mat.Columns[0].c1, 62);
    EXPECT_EQ(mat.Columns[0].c2, 63);
    EXPECT_EQ(mat.Columns[11].c2, 85);
    EXPECT_EQ(mat.EffWidthPercent, 86);
    EXPECT_EQ(mat.BotBarsOverride, 93);
    const TMatData& read = mat;
    EXPECT_EQ(InputValue(read, InputField(TInput::PointForce), 12), 53);
    EXPECT_EQ(InputValue(read, InputField(TInput::Thickness)), 3);
}

// Numbered boxes under two column heads: the first half of the loads under
// the first.
TEST(InputFieldsTest, NamesOfNumberedBoxesAndTheirLabels) {
    struct TCase {
        TInput Input;
        int Number;
        const char* Control;
        const char* Caption;
        const char* Unit;
    };
    const TCase cases[] = {
        {TInput::StripLength, 0, "Edit1", "Label4", "Label5"},
        {TInput::Fc, 0, "Edit63", "Label178", "Label179"},
        {TInput::UserPoint, 1, "Edit6", "Label186", "Label15"},
        {TInput::UserPoint, 4, "Edit9", "Label189", "Label15"},
        {TInput::DistEnd, 6, "EditDist6e", "", "Label27"},
        {TInput::PointPosition, 6, "EditPoint6a", "", "Label37"},
        {TInput::PointPosition, 7, "EditPoint7a", "", "Label40"},
        {TInput::PointForce, 12, "EditPoint12p", "", "Label41"},
        {TInput::MomentPosition, 2, "EditMom2c", "", "Label60"},
        {TInput::MomentValue, 3, "EditMom3m", "", "Label64"},
        {TInput::ShearLoadFactor, 0, "Edit64", "Label180", ""},
        // A column's sizes stand beside its load, under the heads of its half.
        {TInput::ColumnAlong, 1, "EditPoint1c1", "", "Label190"},
        {TInput::ColumnAcross, 6, "EditPoint6c2", "", "Label191"},
        {TInput::ColumnAlong, 7, "EditPoint7c1", "", "Label192"},
        {TInput::ColumnAcross, 12, "EditPoint12c2", "", "Label193"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(InputControl(c.Input, c.Number), c.Control);
        EXPECT_EQ(InputCaptionLabel(c.Input, c.Number), c.Caption) << c.Control;
        EXPECT_EQ(InputUnitLabel(c.Input, c.Number), c.Unit) << c.Control;
    }
    EXPECT_EQ(InputField(TInput::Fc).SecondBox.Edit.For(0), "Edit39");
}

// The JSON order: the width first, each load's keys together.
TEST(InputFieldsTest, JsonOrder) {
    std::vector<std::string> keys;
    for (const TInputField* field : InputFieldsInJsonOrder())
        keys.push_back(std::string(field->Array) + (field->Array.empty() ? "" : ".") +
                       std::string(field->Key));
    const std::vector<std::string> expected{"StripWidth",
                                            "StripLength",
                                            "Thickness",
                                            "SubgradeModulus",
                                            "AllowableBearing",
                                            "FullUniformLoad",
                                            "EffWidthPercent",
                                            "UserX.",
                                            "DistLoads.b",
                                            "DistLoads.e",
                                            "DistLoads.wb",
                                            "PointLoads.a",
                                            "PointLoads.P",
                                            "Moments.c",
                                            "Moments.M",
                                            "Columns.c1",
                                            "Columns.c2",
                                            "Fy",
                                            "Fc",
                                            "TopCover",
                                            "BottomCover",
                                            "TopBarsOverride",
                                            "BotBarsOverride",
                                            "ShearLoadFactor",
                                            "MomentLoadFactor"};
    EXPECT_EQ(keys, expected);
}

// A report about a file names a load's values by the entry the file reader
// names the load by.
TEST(InputFieldsTest, FileCaptionsNameTheFilesEntries) {
    struct TCase {
        TInput Input;
        int Number;
        std::string Expected;
    };
    const TCase cases[] = {
        {TInput::UserPoint, 4, FieldCaption::UserPoint(3)},
        {TInput::DistStart, 1, FieldCaption::DistLoad(0) + ", b"},
        {TInput::DistEnd, 6, FieldCaption::DistLoad(5) + ", e"},
        {TInput::PointForce, 12, FieldCaption::PointLoad(11) + ", P"},
        {TInput::MomentPosition, 2, FieldCaption::Moment(1) + ", c"},
        {TInput::TopBarsOverride, 0, "Top Override # of Bars"},
        {TInput::StripLength, 0, "Strip Length, L"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(NumberedCaption(InputField(c.Input).FileCaptionOrCaption(), c.Number), c.Expected);
    EXPECT_EQ(NumberedCaption(InputField(TInput::PointPosition).Caption, 10), "Point Load #10, a");
}

TEST(InputFieldsTest, LimitToRowLeavesAnUnlimitedRowFree) {
    const TInputRange limited{5, 500, 2};
    const TInputRange free{0, 0, 4};
    EXPECT_EQ(LimitToRow(4, limited), 5);
    EXPECT_EQ(LimitToRow(501, limited), 500);
    EXPECT_EQ(LimitToRow(17, limited), 17);
    EXPECT_EQ(LimitToRow(-3, free), -3);
    EXPECT_TRUE(std::isnan(LimitToRow(std::numeric_limits<Real>::quiet_NaN(), limited)));
}

} // namespace
} // namespace slabwise
