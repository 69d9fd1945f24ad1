#pragma once

#include "DesignChecks.h"
#include "MatData.h"
#include "Units.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace slabwise {

// What the main window shows besides its numeric inputs, by the designer
// names of its controls: result boxes, their units and captions, the fixed
// captions, the project texts, the choices and the check pictures. The
// window binds its controls from these lists and the report prints from
// them, so a box added here is shown and printed alike. The inputs' own
// boxes are listed with the inputs.

// A label that shows a unit: its prefix ("Shear, ") and the unit text of
// the quantity in the project's unit system.
struct TUnitLabel {
    std::string_view Label;
    TQuantity Quantity;
    std::string_view Prefix;
};

// A read-only box that shows a derived value with the decimals of its Tag.
// A box without an exit handler keeps its change handler only.
struct TResultBox {
    std::string_view Control;
    Real TMatData::*Member;
    int Tag;
    std::string_view Caption; // the label before it, empty where a row shares the one above
    std::string_view Unit;    // the label after it, empty for a plain number
    bool Exits = true;
};

// clang-format off
inline constexpr std::array ResultBoxes{
    TResultBox{"Edit4", &TMatData::ConcreteModulus, TagModulus, "Label10", "Label11"},
    TResultBox{"Edit11", &TMatData::Inertia, TagInertia, "Label69", "Label70"},
    TResultBox{"Edit12", &TMatData::Beta, TagBeta, "Label71", ""},
    TResultBox{"Edit13", &TMatData::BetaL, TagBetaL, "Label73", ""},
    TResultBox{"Edit14", &TMatData::MaxShear, TagShear, "Label76", "Label77"},
    TResultBox{"Edit15", &TMatData::MaxShearX, TagPosition, "", "Label78"},
    TResultBox{"Edit16", &TMatData::MinShear, TagShear, "", "Label80"},
    TResultBox{"Edit17", &TMatData::MinShearX, TagPosition, "", "Label81"},
    TResultBox{"Edit18", &TMatData::MaxMoment, TagMoment, "Label83", "Label84"},
    TResultBox{"Edit19", &TMatData::MaxMomentX, TagPosition, "", "Label85"},
    TResultBox{"Edit20", &TMatData::MinMoment, TagMoment, "", "Label87"},
    TResultBox{"Edit21", &TMatData::MinMomentX, TagPosition, "", "Label88"},
    TResultBox{"Edit22", &TMatData::MaxDeflection, TagDeflection, "Label90", "Label91"},
    TResultBox{"Edit23", &TMatData::MaxDeflectionX, TagPosition, "", "Label92"},
    TResultBox{"Edit24", &TMatData::MaxPressure, TagExtremePressure, "Label94", "Label95"},
    TResultBox{"Edit25", &TMatData::MaxPressureX, TagPosition, "", "Label96"},
    TResultBox{"Edit26", &TMatData::MinPressure, TagExtremePressure, "Label177", "Label98"},
    TResultBox{"Edit30", &TMatData::MinPressureX, TagPosition, "", "Label99"},
    TResultBox{"Edit31", &TMatData::BearingAreaPct, TagBearingArea, "Label101", "Label102"},
    TResultBox{"Edit32", &TMatData::TMinSemiRigid, TagMinSemiRigid, "Label104", "Label105"},
    TResultBox{"Edit34", &TMatData::TMinRigid, TagMinRigid, "Label107", "Label106"},
    TResultBox{"Edit35", &TMatData::Lr, TagLr, "Label109", "Label110"},
    TResultBox{"Edit37", &TMatData::BEst, TagBEst, "Label114", "Label115"},
    TResultBox{"Edit58", &TMatData::MuNeg, TagMoment, "Label163", "Label161"},
    TResultBox{"Edit59", &TMatData::MuPos, TagMoment, "Label164", "Label162"},
    TResultBox{"Edit60", &TMatData::Vu, TagFactoredShear, "Label168", "Label166"},
    TResultBox{"Edit61", &TMatData::AllowShear, TagAllowShear, "Label169", "Label167"},
    TResultBox{"Edit41", &TMatData::TopAsReq, TagAsRequired, "Label126", "Label127", false},
    TResultBox{"Edit42", &TMatData::TopBarsMin, TagBarsMin, "Label128", "", false},
    TResultBox{"Edit44", &TMatData::TopSpacing, TagSpacing, "Label129", "Label131", false},
    TResultBox{"Edit45", &TMatData::TopDepth, TagDepth, "Label132", "Label133", false},
    TResultBox{"Edit46", &TMatData::TopAs, TagAsProvided, "Label134", "Label135", false},
    TResultBox{"Edit47", &TMatData::TopSteelPct, TagSteelPct, "Label136", "Label137", false},
    TResultBox{"Edit48", &TMatData::TopAllowMoment, TagAllowMoment, "Label138", "Label139", false},
    TResultBox{"Edit50", &TMatData::BotAsReq, TagAsRequired, "Label145", "Label146", false},
    TResultBox{"Edit51", &TMatData::BotBarsMin, TagBarsMin, "Label147", "", false},
    TResultBox{"Edit53", &TMatData::BotSpacing, TagSpacing, "Label149", "Label150", false},
    TResultBox{"Edit54", &TMatData::BotDepth, TagDepth, "Label151", "Label152", false},
    TResultBox{"Edit55", &TMatData::BotAs, TagAsProvided, "Label153", "Label154", false},
    TResultBox{"Edit56", &TMatData::BotSteelPct, TagSteelPct, "Label155", "Label156", false},
    TResultBox{"Edit57", &TMatData::BotAllowMoment, TagAllowMoment, "Label157", "Label158", false},
};
// clang-format on

// The results at the user-designated points, one row of four boxes per
// value: "EditVx1" .. "EditVx4" show the value at the stations of the
// points, the row's caption label carries the unit.
struct TPointResultRow {
    std::string_view Prefix;
    Real TMatStation::*Member;
    int Tag;
    TUnitLabel Caption;
};

inline constexpr std::array PointResultRows{
    TPointResultRow{"EditVx", &TMatStation::Shear, TagShear, {"Label117", TQuantity::Shear, "Shear, "}},
    TPointResultRow{"EditMx", &TMatStation::Moment, TagMoment, {"Label118", TQuantity::Moment, "Moment, "}},
    TPointResultRow{"EditDx",
                    &TMatStation::Deflection,
                    TagDeflection,
                    {"Label119", TQuantity::DesignLength, "Deflection, "}},
    TPointResultRow{
        "EditQx", &TMatStation::Pressure, TagPosition, {"Label120", TQuantity::Pressure, "Pressure, "}},
};

// The box of a point's result: "EditVx" and 3 give "EditVx3".
std::string PointResultControl(const TPointResultRow& row, int point);

// The end intensity of a distributed load, which the analysis sets to its
// start's: "EditDist1we" .. "EditDist6we" under their column's unit label.
inline constexpr std::string_view DistEndIntensityPrefix = "EditDist";
inline constexpr std::string_view DistEndIntensitySuffix = "we";
inline constexpr int DistEndIntensityTag = TagDistLoad;
// The box of load n's end intensity.
std::string DistEndIntensityControl(int load);

// The unit labels of the results and of the column of end intensities;
// the inputs' are listed with the inputs.
inline constexpr std::array ResultUnitLabels{
    TUnitLabel{"Label28", TQuantity::LineLoad, "we, "},
    TUnitLabel{"Label11", TQuantity::Strength, ""},
    TUnitLabel{"Label70", TQuantity::Inertia, ""},
    TUnitLabel{"Label77", TQuantity::Shear, ""},
    TUnitLabel{"Label80", TQuantity::Shear, ""},
    TUnitLabel{"Label78", TQuantity::Length, ""},
    TUnitLabel{"Label81", TQuantity::Length, ""},
    TUnitLabel{"Label84", TQuantity::Moment, ""},
    TUnitLabel{"Label87", TQuantity::Moment, ""},
    TUnitLabel{"Label85", TQuantity::Length, ""},
    TUnitLabel{"Label88", TQuantity::Length, ""},
    TUnitLabel{"Label91", TQuantity::DesignLength, ""},
    TUnitLabel{"Label92", TQuantity::Length, ""},
    TUnitLabel{"Label95", TQuantity::Pressure, ""},
    TUnitLabel{"Label96", TQuantity::Length, ""},
    TUnitLabel{"Label98", TQuantity::Pressure, ""},
    TUnitLabel{"Label99", TQuantity::Length, ""},
    TUnitLabel{"Label105", TQuantity::Length, ""},
    TUnitLabel{"Label106", TQuantity::Length, ""},
    TUnitLabel{"Label110", TQuantity::Length, ""},
    TUnitLabel{"Label115", TQuantity::Length, ""},
    TUnitLabel{"Label161", TQuantity::Moment, ""},
    TUnitLabel{"Label162", TQuantity::Moment, ""},
    TUnitLabel{"Label166", TQuantity::Force, ""},
    TUnitLabel{"Label167", TQuantity::Force, ""},
    TUnitLabel{"Label127", TQuantity::SteelArea, ""},
    TUnitLabel{"Label131", TQuantity::DesignLength, ""},
    TUnitLabel{"Label133", TQuantity::DesignLength, ""},
    TUnitLabel{"Label135", TQuantity::SteelArea, ""},
    TUnitLabel{"Label139", TQuantity::Moment, ""},
    TUnitLabel{"Label146", TQuantity::SteelArea, ""},
    TUnitLabel{"Label150", TQuantity::DesignLength, ""},
    TUnitLabel{"Label152", TQuantity::DesignLength, ""},
    TUnitLabel{"Label154", TQuantity::SteelArea, ""},
    TUnitLabel{"Label158", TQuantity::Moment, ""},
    PointResultRows[0].Caption,
    PointResultRows[1].Caption,
    PointResultRows[2].Caption,
    PointResultRows[3].Caption,
};

// A label whose caption never changes: headings, captions of inputs and
// results, the numbers of the load rows, fixed units.
struct TFixedCaption {
    std::string_view Label;
    std::string_view Text;
};

// clang-format off
inline constexpr std::array FixedCaptions{
    // The job block.
    TFixedCaption{"Label57", "Organization"}, TFixedCaption{"Label59", "Project Name"},
    TFixedCaption{"Label55", "Job #"}, TFixedCaption{"Label58", "Design by"},
    TFixedCaption{"Label56", "Date"},
    // Page headings, indented as the tabs show them.
    TFixedCaption{"Label1", "  Mat Geometry"}, TFixedCaption{"Label24", "  Mat Loadings"},
    TFixedCaption{"Label121", "  Reinforcement"}, TFixedCaption{"Label16", "  Results"},
    // Geometry.
    TFixedCaption{"Label68", "Units"}, TFixedCaption{"Label176", "Shape"},
    TFixedCaption{"Label4", "Strip Length, L"}, TFixedCaption{"Label6", "Strip Width, B"},
    TFixedCaption{"Label8", "Strip Thickness, T"}, TFixedCaption{"Label178", "Concrete Str, Fc"},
    TFixedCaption{"Label12", "Subgrade Modulus, k"}, TFixedCaption{"Label174", "Allow. Bearing Cap, qa"},
    TFixedCaption{"Label112", "%B"},
    TFixedCaption{"Label10", "Concrete Modulus, E"}, TFixedCaption{"Label69", "Inertia, I"},
    TFixedCaption{"Label71", "Beta"}, TFixedCaption{"Label73", "Beta*L"},
    TFixedCaption{"Label108", "Min. Thickness for Criteria"},
    TFixedCaption{"Label104", "  \"Semi-Rigid\""}, TFixedCaption{"Label107", "  \"Rigid\""},
    TFixedCaption{"Label111", "Estimated Effective Strip Width for Slab or Mat:"},
    TFixedCaption{"Label109", "Lr"}, TFixedCaption{"Label114", "B(est.)"},
    // Loadings.
    TFixedCaption{"Label34", "Full Uniform, w"},
    TFixedCaption{"Label25", "Distributed Loads"}, TFixedCaption{"Label38", "Point Loads"},
    TFixedCaption{"Label61", "Moments"},
    TFixedCaption{"Label22", "#1"}, TFixedCaption{"Label29", "#2"}, TFixedCaption{"Label30", "#3"},
    TFixedCaption{"Label31", "#4"}, TFixedCaption{"Label32", "#5"}, TFixedCaption{"Label33", "#6"},
    TFixedCaption{"Label36", "#1"}, TFixedCaption{"Label42", "#2"}, TFixedCaption{"Label43", "#3"},
    TFixedCaption{"Label44", "#4"}, TFixedCaption{"Label45", "#5"}, TFixedCaption{"Label46", "#6"},
    TFixedCaption{"Label47", "#7"}, TFixedCaption{"Label48", "#8"}, TFixedCaption{"Label49", "#9"},
    TFixedCaption{"Label50", "#10"}, TFixedCaption{"Label51", "#11"}, TFixedCaption{"Label53", "#12"},
    TFixedCaption{"Label54", "#1"}, TFixedCaption{"Label65", "#2"}, TFixedCaption{"Label66", "#3"},
    TFixedCaption{"Label67", "#4"},
    // Reinforcement.
    TFixedCaption{"Label17", "Steel Yield Str, Fy"}, TFixedCaption{"Label21", "Concrete Str, Fc"},
    TFixedCaption{"Label180", "Shear Load Factor"}, TFixedCaption{"Label182", "Moment Load Factor"},
    TFixedCaption{"Label123", "Top Clear Cover"}, TFixedCaption{"Label125", "Top Bar Size"},
    TFixedCaption{"Label130", "Override # of Bars"}, TFixedCaption{"Label142", "Bottom Clear Cover"},
    TFixedCaption{"Label144", "Bottom Bar Size"}, TFixedCaption{"Label148", "Override # of Bars"},
    TFixedCaption{"Label171", "Rebar Sizes"}, TFixedCaption{"Label122", "Negative Moment"},
    TFixedCaption{"Label141", "Positive Moment"},
    TFixedCaption{"Label126", "Req. Area of Top Steel"}, TFixedCaption{"Label128", "Min # Bars for Top "},
    TFixedCaption{"Label129", "Top Bar Spacing"}, TFixedCaption{"Label132", "Eff. Depth of Top Bars"},
    TFixedCaption{"Label134", "Area of Top Steel"}, TFixedCaption{"Label136", "Percent Top Steel"},
    TFixedCaption{"Label137", "%"}, TFixedCaption{"Label138", "Allow. Neg. Moment"},
    TFixedCaption{"Label145", "Req. Area of Bot. Steel"}, TFixedCaption{"Label147", "Min # Bars for Bottom"},
    TFixedCaption{"Label149", "Bottom Bar Spacing"}, TFixedCaption{"Label151", "Eff. Depth of Bot. Bars"},
    TFixedCaption{"Label153", "Area of Bottom Steel"}, TFixedCaption{"Label155", "Percent Bottom Steel"},
    TFixedCaption{"Label156", "%"}, TFixedCaption{"Label157", "Allow. Pos. Moment"},
    TFixedCaption{"Label160", "Max. Factored Moments"}, TFixedCaption{"Label163", "Negative"},
    TFixedCaption{"Label164", "Positive"}, TFixedCaption{"Label165", "Shear Check"},
    TFixedCaption{"Label168", "Max. Factored Shear"}, TFixedCaption{"Label169", "Allowable Shear"},
    // Results.
    TFixedCaption{"Label76", "Max. Shears"}, TFixedCaption{"Label83", "Max. Moments"},
    TFixedCaption{"Label90", "Max. |Deflection|"}, TFixedCaption{"Label94", "Max. Soil Press."},
    TFixedCaption{"Label177", "Min. Soil Press."}, TFixedCaption{"Label101", "Brg. Area"},
    TFixedCaption{"Label102", "%"}, TFixedCaption{"Label3", "User Designated Points"},
    TFixedCaption{"Label186", "x1"}, TFixedCaption{"Label187", "x2"}, TFixedCaption{"Label188", "x3"},
    TFixedCaption{"Label189", "x4"}, TFixedCaption{"Label172", "Reinforcement Summary"},
    TFixedCaption{"Label194", "Punching Shear at Columns"}, TFixedCaption{"Label195", "No column entered"},
};
// clang-format on

// Labels whose caption the project decides.
enum class TFormText : uint8_t {
    Rigidity,       // "Mat is rigid"; empty while there is no Beta*L
    Validity,       // the bearing and loads remark under the results
    TopUtilization, // "Utilization: 87.21%"
    BottomUtilization,
    ShearUtilization,
    Summary, // the reinforcement in one sentence over two lines
};

struct TFormTextLabel {
    std::string_view Label;
    TFormText Text;
};

inline constexpr std::array FormTextLabels{
    TFormTextLabel{"Label72", TFormText::Rigidity},
    TFormTextLabel{"Label103", TFormText::Validity},
    TFormTextLabel{"Label140", TFormText::TopUtilization},
    TFormTextLabel{"Label159", TFormText::BottomUtilization},
    TFormTextLabel{"Label170", TFormText::ShearUtilization},
    TFormTextLabel{"Label173", TFormText::Summary},
};

// The project's own texts, as boxes of at most ProjectTextLength characters.
struct TProjectTextBox {
    std::string_view Control;
    std::string TMatData::*Member;
    std::string_view Caption; // the label beside it
};

inline constexpr std::array ProjectTextBoxes{
    TProjectTextBox{"Edit28", &TMatData::Organization, "Label57"},
    TProjectTextBox{"Edit33", &TMatData::ProjectName, "Label59"},
    TProjectTextBox{"Edit27", &TMatData::JobNumber, "Label55"},
    TProjectTextBox{"Edit29", &TMatData::DesignedBy, "Label58"},
};
inline constexpr int ProjectTextLength = 255;
// The date picker and its caption.
inline constexpr std::string_view DateControl = "DateTimePicker1";
inline constexpr std::string_view DateCaption = "Label56";

// The choices of the window's lists, in the order the model numbers them.
enum class TChoice : uint8_t {
    Units,     // UnitSystem: English, SI
    Shape,     // Shape: Square/Rect, Round
    BarSystem, // BarSystem: US, European, Canadian
    TopBar,    // TopBarSize among the bar table's labels
    BottomBar, // BottomBarSize
};

struct TChoiceBox {
    std::string_view Control;
    TChoice Choice;
    std::string_view Caption;
};

inline constexpr std::array ChoiceBoxes{
    TChoiceBox{"ComboBox1", TChoice::Units, "Label68"},
    TChoiceBox{"ComboBox5", TChoice::Shape, "Label176"},
    TChoiceBox{"ComboBox4", TChoice::BarSystem, "Label171"},
    TChoiceBox{"ComboBox2", TChoice::TopBar, "Label125"},
    TChoiceBox{"ComboBox3", TChoice::BottomBar, "Label144"},
};

// The fixed items of a list; the bar lists are filled from the bar table.
inline constexpr std::array<std::string_view, 2> UnitChoices{"English", "SI"};
inline constexpr std::array<std::string_view, 2> ShapeChoices{"Square/Rect", "Round"};
inline constexpr std::array<std::string_view, 3> BarSystemChoices{"US", "European", "Canadian"};

// The text a list shows for the project's choice.
std::string ChoiceText(const TMatData& mat, TChoice choice);

// The picture beside the value each check judges. The bearing check's is
// hidden, and no check made, while no allowable bearing is given; the
// punching check's while no point load has a column.
struct TCheckPicture {
    std::string_view Picture;
    TCheck Check;
};

inline constexpr std::array CheckPictures{
    TCheckPicture{"Image9", TCheck::Bearing},
    TCheckPicture{"Image3", TCheck::TopSpacing},
    TCheckPicture{"Image5", TCheck::BottomSpacing},
    TCheckPicture{"Image4", TCheck::TopRatio},
    TCheckPicture{"Image6", TCheck::BottomRatio},
    TCheckPicture{"Image10", TCheck::TopUtilization},
    TCheckPicture{"Image11", TCheck::BottomUtilization},
    TCheckPicture{"Image7", TCheck::Shear},
    TCheckPicture{"Image12", TCheck::Punching},
};
static_assert(CheckPictures.size() == CheckCount);

// Whether a check is made at all for the project: the bearing check needs
// an allowable bearing, the punching check a column.
bool CheckShown(const TMatData& mat, TCheck check);
// Whether the picture of the check shows a failure.
bool CheckFails(const TMatData& mat, TCheck check);

// The logo box: as tall as the job block's five rows, as wide as the
// picture at that height but never wider than its slot.
inline constexpr int LogoBoxHeight = 73;
inline constexpr int LogoSlotWidth = 173;
// The logo box's width for a picture of this size; 0 without a picture.
int LogoBoxWidth(int pictureWidth, int pictureHeight);

} // namespace slabwise
