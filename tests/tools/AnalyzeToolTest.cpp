#include "reporttext/AnalysisReport.h"

#include "model/DesignChecks.h"
#include "model/FloatFault.h"
#include "model/MatData.h"
#include "model/NumberFormat.h"
#include "model/OpenProject.h"
#include "model/PunchingShear.h"
#include "model/PunchingTable.h"
#include "model/ResultFields.h"
#include "model/ResultTexts.h"
#include "model/ResultsCsv.h"
#include "model/ThinnestDesign.h"
#include "model/Units.h"

#include "support/ScopedLocale.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <limits>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace slabwise {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::ordered_json;

constexpr Real NaN = std::numeric_limits<Real>::quiet_NaN();

// A 40 ft strip under two columns and a partial line load, with one unused
// point-load slot that holds a position but no load.
TMatData StripModel() {
    TMatData mat{fs::path{}};
    mat.SetUnitSystem(UnitsEnglish);
    mat.ProjectName = "Strip A";
    mat.ProjectDate = 46027; // 2026-01-05
    mat.StripLength = 40;
    mat.StripWidth = 10;
    mat.Thickness = 2;
    mat.SubgradeModulus = 100;
    mat.AllowableBearing = 4;
    mat.Fc = 4;
    mat.FullUniformLoad = 1;
    mat.UserX = {10, 20, 30, 40};
    mat.PointLoads[0] = {10, 200};
    mat.PointLoads[3] = {30, 200};
    mat.PointLoads[5] = {7, 0};
    mat.DistLoads[1] = {15, 25, 2, 5};
    mat.TopBarSize = 7;
    mat.BottomBarSize = 8;
    return mat;
}

TMatData AnalysedStrip() {
    TMatData mat = StripModel();
    mat.Analyze();
    return mat;
}

// Zero thickness divides by zero while the stiffness is computed.
TMatData FaultedStrip() {
    TMatData mat = StripModel();
    mat.Thickness = 0;
    EXPECT_THROW(mat.Analyze(), EFloatFault);
    return mat;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The first line that starts with `prefix` after leading blanks.
std::string LineStarting(const std::string& text, const std::string& prefix) {
    for (const std::string& line : Lines(text)) {
        const auto first = line.find_first_not_of(' ');
        if (first != std::string::npos && line.compare(first, prefix.size(), prefix) == 0) return line;
    }
    return {};
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

// ---- JSON ----------------------------------------------------------------

const std::vector<std::string> NumberKeys = {"ProjectDate",
                                             "StripWidth",
                                             "StripLength",
                                             "Thickness",
                                             "ConcreteModulus",
                                             "SubgradeModulus",
                                             "AllowableBearing",
                                             "FullUniformLoad",
                                             "EffWidthPercent",
                                             "Fy",
                                             "Fc",
                                             "TopCover",
                                             "BottomCover",
                                             "TopBarsOverride",
                                             "BotBarsOverride",
                                             "ShearLoadFactor",
                                             "MomentLoadFactor",
                                             "Inertia",
                                             "Beta",
                                             "BetaL",
                                             "FlexuralRigidity",
                                             "C2",
                                             "C3",
                                             "C4",
                                             "C11",
                                             "TMinSemiRigid",
                                             "TMinRigid",
                                             "Lr",
                                             "BEst",
                                             "MaxShear",
                                             "MaxShearX",
                                             "MinShear",
                                             "MinShearX",
                                             "MaxMoment",
                                             "MaxMomentX",
                                             "MinMoment",
                                             "MinMomentX",
                                             "MaxDeflection",
                                             "MaxDeflectionX",
                                             "MaxPressure",
                                             "MaxPressureX",
                                             "MinPressure",
                                             "MinPressureX",
                                             "BearingAreaPct",
                                             "MuNeg",
                                             "MuPos",
                                             "ThicknessIn",
                                             "TopAsRoot1",
                                             "TopAsRoot2",
                                             "TopA1",
                                             "TopA2",
                                             "BotAsRoot1",
                                             "BotAsRoot2",
                                             "BotA1",
                                             "BotA2",
                                             "TopAsReq",
                                             "TopBarsMin",
                                             "TopSpacing",
                                             "TopDepth",
                                             "TopAs",
                                             "TopSteelPct",
                                             "TopAllowMoment",
                                             "BotAsReq",
                                             "BotBarsMin",
                                             "BotSpacing",
                                             "BotDepth",
                                             "BotAs",
                                             "BotSteelPct",
                                             "BotAllowMoment",
                                             "Vu",
                                             "AllowShear",
                                             "TopUtil",
                                             "BottomUtil",
                                             "ShearUtil"};

const std::vector<std::string> OtherKeys = {"Organization",
                                            "ProjectName",
                                            "JobNumber",
                                            "DesignedBy",
                                            "Logo",
                                            "UnitSystem",
                                            "Shape",
                                            "UserX",
                                            "DistLoads",
                                            "PointLoads",
                                            "Moments",
                                            "Columns",
                                            "UseReinforcement",
                                            "BarSystem",
                                            "TopBarSize",
                                            "BottomBarSize",
                                            "InitDist",
                                            "InitPoint",
                                            "InitMoment",
                                            "InitTotal",
                                            "Stations",
                                            "Rigidity",
                                            "Validity",
                                            "Checks"};

const std::vector<std::string> StationKeys = {"X", "Shear", "Moment", "Slope", "Deflection", "Pressure"};

TEST(AnalyzeJson, HoldsExactlyTheModelFieldsOfASoundAnalysis) {
    const TMatData mat = AnalysedStrip();
    const json j = AnalysisJson(mat);

    std::set<std::string> expected(NumberKeys.begin(), NumberKeys.end());
    expected.insert(OtherKeys.begin(), OtherKeys.end());
    std::set<std::string> actual;
    for (const auto& item : j.items()) actual.insert(item.key());
    EXPECT_EQ(actual, expected);

    for (const std::string& key : NumberKeys) EXPECT_TRUE(j[key].is_number()) << key;
    EXPECT_EQ(j["StripLength"], 40.0);
    EXPECT_EQ(j["BetaL"], static_cast<double>(mat.BetaL));
    EXPECT_EQ(j["TopUtil"], static_cast<double>(mat.TopUtil));
    EXPECT_EQ(j["UnitSystem"], 0);
    EXPECT_EQ(j["TopBarSize"], 7);
    EXPECT_EQ(j["UseReinforcement"], false);
    EXPECT_TRUE(j["Logo"].is_null());

    ASSERT_EQ(j["UserX"].size(), 4u);
    ASSERT_EQ(j["DistLoads"].size(), 6u);
    ASSERT_EQ(j["PointLoads"].size(), 12u);
    ASSERT_EQ(j["Moments"].size(), 4u);
    EXPECT_EQ(j["DistLoads"][1], (json{{"b", 15.0}, {"e", 25.0}, {"wb", 2.0}, {"we", 2.0}}));
    EXPECT_EQ(j["PointLoads"][3], (json{{"a", 30.0}, {"P", 200.0}}));
    EXPECT_EQ(j["Moments"][0], (json{{"c", 0.0}, {"M", 0.0}}));
    for (const char* group : {"InitDist", "InitPoint", "InitMoment", "InitTotal"}) {
        ASSERT_EQ(j[group].size(), 4u) << group;
        for (const json& v : j[group]) EXPECT_TRUE(v.is_number()) << group;
    }
    EXPECT_EQ(j["InitTotal"][3], static_cast<double>(mat.InitTotal[3]));

    const json& stations = j["Stations"];
    ASSERT_EQ(stations.size(), static_cast<size_t>(StationCount));
    for (size_t i = 0; i < stations.size(); ++i) {
        ASSERT_EQ(stations[i].size(), StationKeys.size());
        for (const std::string& key : StationKeys) EXPECT_TRUE(stations[i][key].is_number()) << i << key;
    }
    EXPECT_EQ(stations[100]["X"], 40.0);
    EXPECT_EQ(stations[111]["X"], 10.0);
    EXPECT_EQ(stations[50]["Moment"], static_cast<double>(mat.Stations[50].Moment));
    EXPECT_EQ(stations[104]["Pressure"], static_cast<double>(mat.Stations[104].Pressure));

    EXPECT_EQ(j["Rigidity"], RigidityText(mat.BetaL));
    EXPECT_EQ(j["Validity"], ValidityMessage(mat));
    EXPECT_EQ(json::parse(j.dump()), j);
}

// Each derived value under its own name, in the model's list order: a value
// printed from a neighbouring field or under a second key would show here.
TEST(AnalyzeJson, DerivedValuesFollowTheModelsList) {
    TMatData mat = AnalysedStrip();
    double distinct = 0.25;
    for (const TResultField& field : ResultFields) mat.*field.Member = distinct++;
    const json j = AnalysisJson(mat);

    std::vector<std::string> listed, printed;
    for (const TResultField& field : ResultFields) {
        listed.emplace_back(field.Name);
        EXPECT_EQ(j.at(std::string(field.Name)), static_cast<double>(mat.*field.Member)) << field.Name;
    }
    for (const auto& item : j.items())
        if (std::ranges::count(listed, item.key()) > 0) printed.push_back(item.key());
    EXPECT_EQ(printed, listed);
}

TEST(AnalyzeJson, ChecksCarryTheirVerdictAndHint) {
    TMatData mat = StripModel();
    mat.TopBarsOverride = 1;
    mat.Analyze();
    const json j = AnalysisJson(mat);
    const json& checks = j["Checks"];
    ASSERT_EQ(checks.size(), size_t(CheckCount));
    const TCheckResults results = EvaluateChecks(mat);
    for (int i = 0; i < CheckCount; ++i) {
        const std::string name(CheckName(static_cast<TCheck>(i)));
        EXPECT_EQ(checks[name],
                  (json{{"Passes", results[size_t(i)].Passes}, {"Hint", results[size_t(i)].Hint}}))
            << name;
    }
    EXPECT_EQ(checks["TopSpacing"]["Passes"], false);
    EXPECT_EQ(checks["TopSpacing"]["Hint"], "One bar has no spacing: use at least 2 bars");
}

TEST(AnalyzeJson, ResultsAFaultDidNotReachAreNull) {
    const TMatData mat = FaultedStrip();
    const json j = AnalysisJson(mat);

    EXPECT_EQ(j["Thickness"], 0.0);
    EXPECT_EQ(j["StripLength"], 40.0);
    for (const char* key : {"Beta", "BetaL", "FlexuralRigidity", "MaxShear", "MaxPressure", "BearingAreaPct",
                            "TopAsReq", "ShearUtil"})
        EXPECT_TRUE(j[key].is_null()) << key;
    for (const json& station : j["Stations"])
        for (const std::string& key : StationKeys) EXPECT_TRUE(station[key].is_null()) << key;
    for (const json& v : j["InitTotal"]) EXPECT_TRUE(v.is_null());
    // A NaN classifies as no rigidity class and no validity verdict at all.
    EXPECT_TRUE(j["Rigidity"].is_null());
    EXPECT_TRUE(j["Validity"].is_null());

    const std::string text = j.dump();
    EXPECT_EQ(text.find("NaN"), std::string::npos);
    EXPECT_EQ(text.find("nan"), std::string::npos);
    EXPECT_EQ(json::parse(text), j);
}

TEST(AnalyzeJson, ValuesBeyondTheDoubleRangeAreNull) {
    TMatData mat = AnalysedStrip();
    mat.MaxShear = 1e4000L;
    mat.MinShear = -std::numeric_limits<Real>::infinity();
    mat.Stations[3].Slope = 1e-4000L;
    const json j = AnalysisJson(mat);
    EXPECT_TRUE(j["MaxShear"].is_null());
    EXPECT_TRUE(j["MinShear"].is_null());
    EXPECT_EQ(j["Stations"][3]["Slope"], 0.0);
    EXPECT_EQ(json::parse(j.dump()), j);
}

TEST(AnalyzeJson, TextsAndLogoSerialise) {
    TMatData mat = AnalysedStrip();
    mat.Organization = "Caf\xE9 Ing\xE9nierie"; // single-byte code page
    mat.ProjectName = "Br\xC3\xBC"
                      "cke";    // looks like UTF-8, is Latin-1 as in the window
    mat.JobNumber = "\xE2\x82"; // cut-off UTF-8 sequence
    TRgbPixels pixels{3, 2, std::vector<uint8_t>(size_t{3} * 2 * 3, 128)};
    const TJpegImage logo = TJpegImage::FromPixels(pixels);
    mat.AssignLogo(&logo);

    const json j = AnalysisJson(mat);
    EXPECT_EQ(j["Organization"], "Caf\xC3\xA9 Ing\xC3\xA9nierie");
    EXPECT_EQ(j["ProjectName"], "Br\xC3\x83\xC2\xBC"
                                "cke");
    EXPECT_EQ(j["JobNumber"], "\xC3\xA2\xC2\x82");
    EXPECT_EQ(j["Logo"], (json{{"Bytes", logo.Bytes().size()}, {"Width", 3}, {"Height", 2}}));
    EXPECT_EQ(json::parse(j.dump()), j);
}

struct TClassCase {
    Real BetaL, MaxPressure, MinPressure, BearingArea;
    const char* Rigidity;
    const char* Validity;
};

// The model's test tables every bound; here a value on each side of one bound
// reaches both the JSON and the text.
TEST(AnalyzeJson, RigidityAndValidityFollowTheirFields) {
    const Real quarterPi = 0.78539816339744830963L;
    const TClassCase cases[] = {
        {quarterPi, 1, -1, 85, "Mat is rigid", ""},
        {std::nextafter(quarterPi, Real(1)), 1, -1, 84.99L, "Mat is semi-rigid",
         "Brg Area < 85%, analysis may not be valid!"},
    };
    for (const TClassCase& c : cases) {
        SCOPED_TRACE(c.Rigidity);
        TMatData mat = AnalysedStrip();
        mat.BetaL = c.BetaL;
        mat.MaxPressure = c.MaxPressure;
        mat.MinPressure = c.MinPressure;
        mat.BearingAreaPct = c.BearingArea;
        const json j = AnalysisJson(mat);
        EXPECT_EQ(j["Rigidity"], c.Rigidity);
        EXPECT_EQ(j["Validity"], c.Validity);

        const std::string text = AnalysisText(mat);
        EXPECT_NE(text.find("\n  " + std::string(c.Rigidity) + "\n"), std::string::npos);
        const std::string verdict = *c.Validity ? c.Validity : "OK";
        EXPECT_NE(text.find("  Validity: " + verdict + "\n"), std::string::npos);
    }
}

// ---- Text ----------------------------------------------------------------

TEST(AnalyzeText, NodeTableHasAlignedRowsWithTheDisplayDecimals) {
    const TMatData mat = AnalysedStrip();
    const std::vector<std::string> lines = Lines(AnalysisText(mat));
    const auto header = std::find_if(lines.begin(), lines.end(),
                                     [](const std::string& l) { return l.rfind("  Node", 0) == 0; });
    ASSERT_NE(header, lines.end());
    EXPECT_EQ(Words(*header),
              (std::vector<std::string>{"Node", "X", "(ft)", "Shear", "(k)", "Moment", "(ft-kips)", "Slope",
                                        "(rad)", "Deflection", "(in)", "Pressure", "(ksf)"}));
    ASSERT_GE(lines.end() - header, 2 + NodeCount);

    const std::regex cells(R"(\s+(\d+)\s+(\d+\.\d{3})\s+(-?\d+\.\d{2})\s+(-?\d+\.\d{2})\s+(-?\d+\.\d{6})\s+)"
                           R"((-?\d+\.\d{5})\s+(-?\d+\.\d{3}))");
    for (int node = 1; node <= NodeCount; ++node) {
        const std::string& row = header[1 + node];
        std::smatch m;
        ASSERT_TRUE(std::regex_match(row, m, cells)) << row;
        EXPECT_EQ(m[1].str(), std::to_string(node));
        EXPECT_EQ(row.size(), header->size()) << row;
        const TMatStation& s = mat.Stations[static_cast<size_t>(node - 1)];
        EXPECT_EQ(m[4].str(), FormatFixed(s.Moment, 2));
        EXPECT_EQ(m[6].str(), FormatFixed(s.Deflection, 5));
    }
    EXPECT_EQ(Words(header[1 + NodeCount])[1], "40.000");
    // The table is the end of the report: stations past the nodes are not listed.
    EXPECT_EQ(lines.end() - header, 2 + NodeCount);
}

TEST(AnalyzeText, SectionsShowInputsLoadsAndResults) {
    const TMatData mat = AnalysedStrip();
    const std::string text = AnalysisText(mat);

    for (const char* section :
         {"Geometry and soil", "Loads", "Reinforcement inputs", "Stiffness", "Extremes",
          "Results at the user points", "Reinforcement design (ACI 318-14)", "Results at the nodes"})
        EXPECT_NE(text.find(std::string("\n") + section + "\n"), std::string::npos) << section;

    EXPECT_EQ(Words(LineStarting(text, "Project ")), (std::vector<std::string>{"Project", "Strip", "A"}));
    EXPECT_EQ(Words(LineStarting(text, "Date")), (std::vector<std::string>{"Date", "2026-01-05"}));
    EXPECT_EQ(Words(LineStarting(text, "Strip length, L")).back(), "ft");
    EXPECT_NE(LineStarting(text, "Strip length, L").find(" 40.00  ft"), std::string::npos);
    EXPECT_NE(LineStarting(text, "Beta*L").find(FormatFixed(mat.BetaL, 3)), std::string::npos);
    EXPECT_NE(LineStarting(text, "Max. moment").find(FormatFixed(mat.MaxMoment, 2) + "  ft-kips"),
              std::string::npos);
    EXPECT_EQ(Words(LineStarting(text, "Max. moment")).back(), FormatFixed(mat.MaxMomentX, 3));
    EXPECT_EQ(Words(LineStarting(text, "Bearing area")),
              (std::vector<std::string>{"Bearing", "area", FormatFixed(mat.BearingAreaPct, 2), "%"}));

    // Only loads with a magnitude are listed, under their own slot numbers.
    const std::string points =
        text.substr(text.find("Point loads"), text.find("Applied moments") - text.find("Point loads"));
    std::vector<std::string> pointRows;
    for (const std::string& line : Lines(points)) {
        const std::vector<std::string> words = Words(line);
        if (!words.empty() && std::isdigit(static_cast<unsigned char>(words.front()[0])))
            pointRows.push_back(line);
    }
    ASSERT_EQ(pointRows.size(), 2u);
    EXPECT_EQ(Words(pointRows[0]), (std::vector<std::string>{"1", "10.0000", "200.00"}));
    EXPECT_EQ(Words(pointRows[1]), (std::vector<std::string>{"4", "30.0000", "200.00"}));
    EXPECT_EQ(Words(LineStarting(text, "2  ")),
              (std::vector<std::string>{"2", "15.0000", "25.0000", "2.00", "2.00"}));
    EXPECT_NE(text.find("  Applied moments: none\n"), std::string::npos);

    const std::vector<std::string> x4 = Words(LineStarting(text, "x4 "));
    ASSERT_EQ(x4.size(), 6u);
    EXPECT_EQ(x4[1], "40.0000");
    EXPECT_EQ(x4[5], FormatFixed(mat.Stations[FirstUserStation + 3].Pressure, 3));

    EXPECT_EQ(Words(LineStarting(text, "Bar size")), (std::vector<std::string>{"Bar", "size", "#7", "#8"}));
    EXPECT_EQ(Words(LineStarting(text, "Number of bars")),
              (std::vector<std::string>{"Number", "of", "bars", "computed", "computed"}));
    EXPECT_EQ(Words(LineStarting(text, "Steel area provided")),
              (std::vector<std::string>{"Steel", "area", "provided", FormatFixed(mat.TopAs, 2),
                                        FormatFixed(mat.BotAs, 2), "in\u00B2"}));
    EXPECT_EQ(Words(LineStarting(text, "Max. factored moment")),
              (std::vector<std::string>{"Max.", "factored", "moment", FormatFixed(mat.MuNeg, 2),
                                        FormatFixed(mat.MuPos, 2), "ft-kips"}));
    EXPECT_EQ(Words(LineStarting(text, "Max. factored shear, Vu")),
              (std::vector<std::string>{"Max.", "factored", "shear,", "Vu", FormatFixed(mat.Vu, 1), "kips"}));
}

struct TUnitCase {
    uint8_t Units;
    int32_t Bars;
    int32_t TopBar;
    const char* BarLabel;
    Real Length;
    const char* LengthText;
};

TEST(AnalyzeText, UnitsDecimalsAndBarLabelsFollowTheProject) {
    const TUnitCase cases[] = {
        {UnitsEnglish, BarSystemUS, 7, "#7", 40, "40.00"},
        {UnitsSI, BarSystemEuropean, 16, "16M", 12, "12.000"},
        {UnitsSI, BarSystemUS, 19, "19M", 12, "12.000"},
        {UnitsEnglish, BarSystemCanadian, 20, "20M", 40, "40.00"},
    };
    for (const TUnitCase& c : cases) {
        SCOPED_TRACE(c.BarLabel);
        TMatData mat = StripModel();
        mat.SetUnitSystem(c.Units);
        mat.BarSystem = c.Bars;
        mat.TopBarSize = c.TopBar;
        mat.StripLength = c.Length;
        if (c.Units == UnitsSI) {
            mat.SubgradeModulus = 20000;
            mat.Fc = 28;
            mat.StripWidth = 3;
            mat.Thickness = 0.6L;
        }
        mat.PrepareBarTable();
        const std::string text = AnalysisText(mat);
        const std::string length = UnitText(TQuantity::Length, c.Units);
        EXPECT_EQ(Words(LineStarting(text, "Strip length, L")),
                  (std::vector<std::string>{"Strip", "length,", "L", c.LengthText, length}));
        EXPECT_EQ(Words(LineStarting(text, "Bar size"))[2], c.BarLabel);
        EXPECT_NE(text.find("(" + UnitText(TQuantity::Shear, c.Units) + ")"), std::string::npos);
        EXPECT_NE(LineStarting(text, "Required steel area").find(UnitText(TQuantity::SteelArea, c.Units)),
                  std::string::npos);
        EXPECT_NE(LineStarting(text, "Unit system").find(c.Units == UnitsSI ? "SI" : "English"),
                  std::string::npos);
    }
}

TEST(AnalyzeText, FaultShowsNotAvailable) {
    const TMatData mat = FaultedStrip();
    const std::string text = AnalysisText(mat);
    EXPECT_EQ(Words(LineStarting(text, "Beta*L")), (std::vector<std::string>{"Beta*L", "N.A."}));
    EXPECT_NE(text.find("\n  Rigidity: N.A.\n"), std::string::npos);
    EXPECT_NE(text.find("\n  Validity: N.A.\n"), std::string::npos);
    EXPECT_EQ(Words(LineStarting(text, "51 ")),
              (std::vector<std::string>{"51", "N.A.", "N.A.", "N.A.", "N.A.", "N.A.", "N.A."}));
    EXPECT_EQ(Words(LineStarting(text, "Thickness, T")),
              (std::vector<std::string>{"Thickness,", "T", "0.00", "ft"}));
    EXPECT_EQ(text.find("nan"), std::string::npos);
}

TEST(AnalyzeText, ProjectTextsCannotDriveTheTerminal) {
    TMatData mat = AnalysedStrip();
    mat.Organization = "Acme\x1b[2J\nLtd\t\x7f\x9b"; // DEL, and CSI of the C1 range
    mat.DesignedBy = "J. M\xFCller";
    const std::string text = AnalysisText(mat);
    EXPECT_EQ(text.find('\x1b'), std::string::npos);
    EXPECT_EQ(text.find('\t'), std::string::npos);
    EXPECT_EQ(text.find('\x7f'), std::string::npos);
    EXPECT_EQ(text.find("\xC2\x9B"), std::string::npos);
    EXPECT_EQ(Words(LineStarting(text, "Organization")),
              (std::vector<std::string>{"Organization", "Acme", "[2J", "Ltd"}));
    EXPECT_EQ(Words(LineStarting(text, "Designed by")),
              (std::vector<std::string>{"Designed", "by", "J.", "M\xC3\xBCller"}));
}

// Display columns of UTF-8 text.
size_t Columns(const std::string& text) {
    return static_cast<size_t>(std::count_if(
        text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// Where word `n` (from 0) of a line ends.
size_t WordEnd(const std::string& line, int n) {
    size_t at = 0;
    for (int w = 0; w <= n; ++w) at = line.find(' ', line.find_first_not_of(' ', at));
    return std::min(at, line.size());
}

// The strip with columns under its two loads.
TMatData ColumnStrip() {
    TMatData mat = StripModel();
    mat.Columns[0] = {16, 20};
    mat.Columns[3] = {20, 20};
    return mat;
}

// The lines of the punching section after its heading rule; empty when the
// report has no such section.
std::vector<std::string> PunchingLines(const std::string& text, std::string* header) {
    const std::vector<std::string> lines = Lines(text);
    const auto title = std::find(lines.begin(), lines.end(), "Punching shear");
    if (title == lines.end()) return {};
    std::vector<std::string> rows;
    if (title + 3 < lines.end()) *header = title[2];
    for (auto it = title + 4; it < lines.end() && !it->empty(); ++it) rows.push_back(*it);
    return rows;
}

TEST(AnalyzeText, PunchingLinesByCase) {
    const std::string interiorOk = "Punching shear is OK (interior section)";
    const std::string notLoaded = "N.A.: the load is upward or zero, so the column does not punch the strip";
    const std::string moment =
        "the applied moment at the column is not transferred by eccentric shear in this check";
    // Per line: the load, the section ("N.A." when not checked) and the text
    // after the numbers.
    struct Line {
        int load;
        std::string section, remark;
        bool passes;
    };
    struct Case {
        const char* name;
        uint8_t units;
        std::function<void(TMatData&)> edit;
        std::vector<Line> lines;
    };
    const Case cases[] = {
        {"no column", UnitsEnglish, [](TMatData& m) { m.Columns = {}; }, {}},
        {"two columns",
         UnitsEnglish,
         [](TMatData&) {},
         {{1, "Interior", "", true}, {4, "Interior", "", true}}},
        {"a moment at the first",
         UnitsEnglish,
         [](TMatData& m) {
             m.Moments[0] = {10.2L, 40};
         },
         {{1, "Interior", moment, true}, {4, "Interior", "", true}}},
        {"a column at the strip's end and one under no load",
         UnitsEnglish,
         [](TMatData& m) {
             m.PointLoads[6] = {0.5L, 100};
             m.Columns[6] = {16, 16};
             m.Columns[5] = {16, 16};
         },
         {{1, "Interior", "", true},
          {4, "Interior", "", true},
          {6, "N.A.", notLoaded, true},
          {7, "Edge", "", true}}},
        {"a column too small for its load",
         UnitsEnglish,
         [](TMatData& m) {
             m.Columns[0] = {2, 2};
             m.PointLoads[0].P = 600;
         },
         {{1, "Interior",
           "Punching shear too high at the interior section: increase the thickness, f'c or the column size",
           false},
          {4, "Interior", "", true}}},
        {"no bottom bars' depth",
         UnitsEnglish,
         [](TMatData& m) { m.BottomCover = -1; },
         {{1, "N.A.", "Bottom clear cover is below 0: enter a cover of at least 0", false},
          {4, "N.A.", "Bottom clear cover is below 0: enter a cover of at least 0", false}}},
        {"SI",
         UnitsSI,
         [](TMatData& m) {
             m.SubgradeModulus = 27000, m.Fc = 28, m.Fy = 420, m.AllowableBearing = 190;
             m.StripLength = 12, m.StripWidth = 3, m.Thickness = 0.6L;
             m.TopCover = 50, m.BottomCover = 75, m.TopBarSize = 22, m.BottomBarSize = 25;
             m.PointLoads[0] = {3, 900}, m.PointLoads[3] = {9, 900};
             m.Columns[0] = {400, 500}, m.Columns[3] = {500, 500};
         },
         {{1, "Interior", "", true}, {4, "Interior", "", true}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMatData mat = ColumnStrip();
        if (c.units != mat.UnitSystem) mat.SetUnitSystem(c.units);
        c.edit(mat);
        mat.Analyze();
        const std::string text = AnalysisText(mat);
        const json j = AnalysisJson(mat);
        std::string header;
        const std::vector<std::string> rows = PunchingLines(text, &header);
        if (c.lines.empty()) {
            EXPECT_EQ(text.find("Punching shear\n"), std::string::npos);
            EXPECT_FALSE(j.contains("Punching"));
            continue;
        }
        // Between the shear check and the design checks.
        EXPECT_LT(text.find("Shear check"), text.find("\nPunching shear\n"));
        EXPECT_LT(text.find("\nPunching shear\n"), text.find("\nDesign checks\n"));
        const bool si = c.units == UnitsSI;
        EXPECT_EQ(Words(header),
                  si ? (std::vector<std::string>{"Load", "Section", "b0,", "mm", "d,", "mm", "Vu,", "kN",
                                                 "\u03c6Vn,", "kN", "Utilization"})
                     : (std::vector<std::string>{"Load", "Section", "b0,", "in", "d,", "in", "Vu,", "kips",
                                                 "\u03c6Vn,", "kips", "Utilization"}));
        ASSERT_EQ(rows.size(), c.lines.size());
        ASSERT_TRUE(j["Punching"].is_array());
        ASSERT_EQ(j["Punching"].size(), c.lines.size());
        const TPunchingResults results = EvaluatePunching(mat);
        for (size_t i = 0; i < c.lines.size(); ++i) {
            const Line& line = c.lines[i];
            SCOPED_TRACE(line.load);
            const TPunchingResult& r = results[static_cast<size_t>(line.load - 1)];
            const bool checked = line.section != "N.A.";
            // Sizes with the column sizes' 2 places, forces with the factored
            // shear's 1, the utilisation as every utilisation.
            const std::vector<std::string> numbers =
                checked ? std::vector<std::string>{FormatFixed(r.B0, 2), FormatFixed(r.D, 2),
                                                   FormatFixed(r.Vu, 1), FormatFixed(r.PhiVn, 1),
                                                   FormatFixed(r.Util, 2)}
                        : std::vector<std::string>(5, "N.A.");
            std::vector<std::string> expected{std::to_string(line.load), line.section};
            expected.insert(expected.end(), numbers.begin(), numbers.end());
            const std::vector<std::string> remark = Words(line.remark);
            expected.insert(expected.end(), remark.begin(), remark.end());
            EXPECT_EQ(Words(rows[i]), expected);
            EXPECT_EQ(r.Passes, line.passes);
            // Numbers right-aligned under their headings, in display columns
            // ("\u03c6" is two bytes).
            EXPECT_EQ(
                Columns(rows[i].substr(0, WordEnd(rows[i], 6))),
                Columns(header.substr(0, header.find("Utilization") + std::string("Utilization").size())))
                << rows[i];

            const json& e = j["Punching"][i];
            EXPECT_EQ(e["Load"], line.load);
            EXPECT_EQ(e["Section"], checked ? json(line.section) : json(nullptr));
            for (const auto& [key, value] :
                 {std::pair{"b0", r.B0}, std::pair{"d", r.D}, std::pair{"Vu", r.Vu},
                  std::pair{"PhiVn", r.PhiVn}, std::pair{"Util", r.Util}}) {
                if (checked) {
                    EXPECT_EQ(e[key], static_cast<double>(value)) << key;
                } else {
                    EXPECT_TRUE(e[key].is_null()) << key;
                }
            }
            EXPECT_EQ(e["Passes"], line.passes);
            EXPECT_EQ(e["Hint"], r.Hint);
            EXPECT_EQ(e.size(), 9u);
        }
    }
}

// Numbers of the new sections are the program's own, whatever the C locale.
TEST(AnalyzeText, PunchingAndThinnestDesignIgnoreTheLocale) {
    TMatData mat = ColumnStrip();
    mat.Analyze();
    const TThinnestDesign found = FindThinnestDesign(mat);
    ASSERT_TRUE(found.Found) << found.Reason;
    const std::string report = AnalysisText(mat), optimised = OptimisedText(mat, found);
    const std::string json = AnalysisJson(mat).dump(), optimisedJson = OptimisedJson(mat, found).dump();
    test::TScopedCLocale german("de_DE.UTF-8");
    if (!german.Active()) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(AnalysisText(mat), report);
    EXPECT_EQ(OptimisedText(mat, found), optimised);
    EXPECT_EQ(AnalysisJson(mat).dump(), json);
    EXPECT_EQ(OptimisedJson(mat, found).dump(), optimisedJson);
    EXPECT_NE(optimised.find(FormatFixed(found.Proposal.Thickness, 2) + "  ft"), std::string::npos)
        << optimised;
}

// ---- The program ---------------------------------------------------------

using slabwise::test::TTempFolder;

class TSpawnActions {
public:
    TSpawnActions() { posix_spawn_file_actions_init(&actions_); }
    ~TSpawnActions() { posix_spawn_file_actions_destroy(&actions_); }
    TSpawnActions(const TSpawnActions&) = delete;
    TSpawnActions& operator=(const TSpawnActions&) = delete;
    void Redirect(int fd, const fs::path& file) {
        posix_spawn_file_actions_addopen(&actions_, fd, file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    }
    const posix_spawn_file_actions_t* Get() const { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

struct TRun {
    int Exit = -1; // -1 when the program did not exit normally
    std::string Out;
    std::string Err;
};

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

const fs::path ToolPath = SLABWISE_ANALYZE_EXE;

TRun RunTool(const std::vector<std::string>& args, const fs::path& folder) {
    const fs::path out = folder / "stdout.txt";
    const fs::path err = folder / "stderr.txt";
    TSpawnActions actions;
    actions.Redirect(STDOUT_FILENO, out);
    actions.Redirect(STDERR_FILENO, err);
    std::vector<std::string> words{ToolPath.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    argv.reserve(words.size() + 1);
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);

    TRun run;
    pid_t pid = 0;
    if (posix_spawn(&pid, ToolPath.c_str(), actions.Get(), nullptr, argv.data(), environ) != 0) {
        ADD_FAILURE() << "cannot start " << ToolPath;
        return run;
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.Exit = WEXITSTATUS(status);
    run.Out = ReadAll(out);
    run.Err = ReadAll(err);
    return run;
}

class AnalyzeTool : public ::testing::Test {
protected:
    void SetUp() override {
        StripModel().SaveToFile(Good());
        // A full uniform load (which has no limits in SI units) so large that
        // the stations overflow, though every input lies within the limits
        // the program applies.
        TMatData flat = StripModel();
        flat.SetUnitSystem(UnitsSI);
        flat.SubgradeModulus = 27000;
        flat.Fc = 28;
        flat.Fy = 420;
        flat.AllowableBearing = 190;
        flat.TopCover = 50;
        flat.BottomCover = 75;
        flat.TopBarSize = 22;
        flat.BottomBarSize = 25;
        flat.FullUniformLoad = 1e4932L;
        flat.SaveToFile(Flat());
        // Pulled up harder than pushed down: soil that takes no tension
        // cannot hold it.
        TMatData uplift = StripModel();
        for (TPointLoad& p : uplift.PointLoads) p.P = -std::fabs(p.P);
        uplift.FullUniformLoad = 0;
        for (TDistLoad& d : uplift.DistLoads) d.wb = d.we = 0;
        uplift.PointLoads[0] = {10, -50};
        uplift.SaveToFile(Uplift());
        std::ofstream(Garbage(), std::ios::binary)
            << "this is not a project file, though it is long enough to "
               "fill the header of one and then some more bytes";
    }

    fs::path Good() const { return temp_.Path() / "good.ksw"; }
    fs::path Flat() const { return temp_.Path() / "flat.ksw"; }
    fs::path Uplift() const { return temp_.Path() / "uplift.ksw"; }
    fs::path Garbage() const { return temp_.Path() / "garbage.ksw"; }
    fs::path Missing() const { return temp_.Path() / "missing.ksw"; }

    TRun Run(const std::vector<std::string>& args) const { return RunTool(args, temp_.Path()); }

    // The model as the program sees it after reading `file`.
    static TMatData Loaded(const fs::path& file) {
        TMatData mat{fs::path{}};
        OpenProject(mat, file);
        return mat;
    }

    TTempFolder temp_;
};

TEST_F(AnalyzeTool, PrintsTheReportOfTheProjectFile) {
    TMatData mat = Loaded(Good());
    mat.Analyze();

    const TRun text = Run({Good().string()});
    EXPECT_EQ(text.Exit, 0);
    EXPECT_EQ(text.Out, AnalysisText(mat));
    EXPECT_EQ(text.Err, "");

    const TRun js = Run({"--json", Good().string()});
    EXPECT_EQ(js.Exit, 0);
    EXPECT_EQ(js.Err, "");
    const json printed = json::parse(js.Out);
    EXPECT_EQ(printed, json::parse(AnalysisJson(mat).dump()));
    EXPECT_EQ(printed["Stations"].size(), static_cast<size_t>(StationCount));
    // Pretty-printed with two-space indents.
    EXPECT_EQ(js.Out.rfind("{\n  \"Organization\": ", 0), 0u);
}

TEST_F(AnalyzeTool, CsvIsTheResultsTablesExport) {
    TMatData mat = Loaded(Good());
    mat.Analyze();
    const TRun run = Run({"--csv", Good().string()});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(run.Out, NodeResultsCsv(mat));
}

TEST_F(AnalyzeTool, WithoutAFileAnalysesTheEnglishExampleBesideIt) {
    TMatData example = Loaded(ToolPath.parent_path() / "Example English Units.ksw");
    example.Analyze();

    const TRun run = Run({"--json"});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Err, "");
    EXPECT_EQ(json::parse(run.Out), json::parse(AnalysisJson(example).dump()));
    EXPECT_EQ(json::parse(run.Out)["UnitSystem"], 0);
}

TEST_F(AnalyzeTool, FaultPrintsWhatWasReachedAndExitsWithOne) {
    TMatData mat = Loaded(Flat());
    std::string fault;
    try {
        mat.Analyze();
    } catch (const EFloatFault& e) {
        fault = e.what();
    }
    ASSERT_FALSE(fault.empty());

    const TRun run = Run({"--json", Flat().string()});
    EXPECT_EQ(run.Exit, 1);
    const json printed = json::parse(run.Out);
    EXPECT_TRUE(printed["MaxShear"].is_null());
    EXPECT_TRUE(printed["Lr"].is_number());
    EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1);
    EXPECT_NE(run.Err.find("floating-point fault"), std::string::npos) << run.Err;
    EXPECT_NE(run.Err.find(fault), std::string::npos) << run.Err;

    const TRun text = Run({Flat().string()});
    EXPECT_EQ(text.Exit, 1);
    EXPECT_EQ(text.Out, AnalysisText(mat));
}

// The file is taken as the main window's Open takes it: each value brought
// within its field's limits is said on stderr, and only a fault of the
// analysis makes the exit status non-zero.
TEST_F(AnalyzeTool, TakesTheFileAsOpenDoesAndSaysEachChange) {
    const struct {
        const char* Name;
        std::function<void(TMatData&)> Change;
        const char* Line;
        const char* Field;
        double Used;
    } cases[] = {
        {"negative length", [](TMatData& m) { m.StripLength = -1; },
         "Strip Length, L: -1 ft in the file, 5 ft used", "StripLength", 5},
        {"length beyond the double range", [](TMatData& m) { m.StripLength = 1e4000L; },
         "Strip Length, L: 1e+4000 ft in the file, 500 ft used", "StripLength", 500},
        {"bar size the table lacks", [](TMatData& m) { m.TopBarSize = 99; },
         "Top Bar Size: #99 in the file, #3 used", "TopBarSize", 3},
        {"bar size 0", [](TMatData& m) { m.BottomBarSize = 0; }, "Bottom Bar Size: #0 in the file, #3 used",
         "BottomBarSize", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        TMatData written = StripModel();
        // Positions inside the shortest strip, so only the change itself is said.
        written.UserX = {1, 2, 3, 4};
        written.PointLoads = {};
        written.PointLoads[0] = {2, 200};
        written.DistLoads = {};
        c.Change(written);
        const fs::path file = temp_.Path() / "changed.ksw";
        written.SaveToFile(file);

        const TRun run = Run({"--json", file.string()});
        EXPECT_EQ(run.Exit, 0) << run.Err;
        EXPECT_EQ(run.Err, "slabwise-analyze: " + file.string() + ": " + c.Line + "\n");
        const json printed = json::parse(run.Out);
        EXPECT_EQ(printed[c.Field], c.Used);
        EXPECT_FALSE(printed["MaxMoment"].is_null());
        EXPECT_FALSE(printed["TopAs"].is_null());
        EXPECT_FALSE(printed["BotAs"].is_null());
        TMatData expected{fs::path{}};
        OpenProject(expected, file);
        expected.Analyze();
        EXPECT_EQ(printed, json::parse(AnalysisJson(expected).dump()));
    }
}

// The tool lies beside the example projects; a file it reads takes nothing
// from them: an older file's missing fields are the built-in values of its
// unit system, and point-load slots the file does not hold are empty.
TEST_F(AnalyzeTool, ReadsAFileAsIfNoExampleLayBesideIt) {
    ASSERT_TRUE(fs::exists(ToolPath.parent_path() / "Example SI Units.ksw"));
    TMatData si = StripModel();
    si.SetUnitSystem(UnitsSI);
    si.SubgradeModulus = 27000;
    si.Fc = 28;
    std::string bytes = [&] {
        std::ostringstream out;
        si.SaveToStream(out);
        return out.str();
    }();
    // As version 0.1 stored it: no shape, qa, reinforcement or load factors;
    // and three point-load slots.
    // Offsets of a file without logo whose one text is the project name.
    const size_t shift = si.ProjectName.size();
    ASSERT_EQ(bytes.size(), 882 + shift);
    bytes[54] = '1';
    bytes.erase(789 + shift);
    bytes[461 + shift] = 3;
    constexpr size_t PointLoadBytes = 20;
    bytes.erase(465 + shift + 3 * PointLoadBytes, 9 * PointLoadBytes);
    bytes.erase(143 + shift, 10);
    bytes.erase(89 + shift, 4);
    const fs::path file = temp_.Path() / "old.ksw";
    std::ofstream(file, std::ios::binary) << bytes;

    TMatData expected = Loaded(file);
    ASSERT_EQ(expected.UnitSystem, UnitsSI);
    EXPECT_EQ(expected.Fc, 21);
    EXPECT_EQ(expected.PointLoads[3].P, 0);
    expected.Analyze();
    const TRun run = Run({"--json", file.string()});
    EXPECT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(json::parse(run.Out), json::parse(AnalysisJson(expected).dump()));
    EXPECT_EQ(run.Err.rfind(
                  "slabwise-analyze: " + file.string() +
                      ": Not in this version 0.1 file: Shape = Square/Rect; Allow. Bearing Cap, qa = 20 kPa;",
                  0),
              0u)
        << run.Err;
    EXPECT_EQ(run.Err.find("in the file"), std::string::npos) << run.Err;
}

TEST_F(AnalyzeTool, AShortFileSaysWhatWasNotRead) {
    std::string bytes = ReadAll(Good());
    const fs::path file = temp_.Path() / "short.ksw";
    // Cut inside the shear load factor, the last field but one.
    std::ofstream(file, std::ios::binary) << bytes.substr(0, bytes.size() - 15);
    const TRun run = Run({file.string()});
    EXPECT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Err, "slabwise-analyze: " + file.string() +
                           ": Not read, the file ends early: Shear Load Factor; Moment Load Factor\n");
}

struct TToolCase {
    const char* Name;
    std::vector<std::string> Args; // "{good}", "{flat}", "{garbage}", "{missing}", "{folder}" name files
    int Exit;
    bool OutputExpected;
    const char* ErrContains; // nullptr: stderr must be empty
};

// One face that cannot be designed leaves the other face and the shear check
// as they are, in the tool's output as on screen.
TEST_F(AnalyzeTool, FacesAreIndependentInTheOutput) {
    struct Case {
        const char* name;
        void (*edit)(TMatData&);
        std::vector<std::string> nullFields;
        std::vector<std::string> numberFields;
        std::vector<std::string> failing;
        const char* hint;     // of the first failing check
        const char* err = ""; // what the tool says of the file
        double topDepth = 0;  // checked when not 0
    };
    const Case cases[] = {
        {"one top bar",
         [](TMatData& m) { m.TopBarsOverride = 1; },
         {"TopSpacing"},
         {"TopAs", "TopAllowMoment", "TopUtil", "BotSpacing", "BottomUtil", "ShearUtil"},
         {"TopSpacing", "TopRatio", "TopUtilization"},
         "One bar has no spacing: use at least 2 bars"},
        {"negative Fy",
         [](TMatData& m) { m.Fy = -60; },
         {"TopAsReq", "BotAsReq", "TopSpacing", "BottomUtil"},
         {"Vu", "AllowShear", "ShearUtil"},
         {"TopSpacing", "BottomSpacing", "TopRatio", "BottomRatio", "TopUtilization", "BottomUtilization"},
         "Fy is not positive: enter the yield strength of the bars"},
        {"top cover 30 in on a 24 in slab",
         [](TMatData& m) { m.TopCover = 30; },
         {"TopAsReq", "TopSpacing", "TopAs", "TopUtil"},
         {"TopDepth", "BotAsReq", "BotSpacing", "ShearUtil"},
         {"TopSpacing", "TopRatio", "TopUtilization"},
         "Effective depth is not positive: reduce the cover or the bar size",
         // Less than the thickness, and still no depth with the bar.
         "Top Clear Cover: 30 in in the file, 23.99 in used"},
        // Taken as 0, not as a depth beyond the 24 in section; the face is
        // designed, and judged, as the strip's top always is.
        {"top cover below 0",
         [](TMatData& m) { m.TopCover = -3; },
         {},
         {"TopDepth", "TopAsReq", "TopAs", "TopUtil", "ShearUtil"},
         {"TopSpacing", "TopRatio"},
         "Spacing needs to be less than 18 in or 3h",
         "Top Clear Cover: -3 in in the file, 0 in used",
         24 - 0.875 / 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMatData mat = StripModel();
        mat.Fy = 60, mat.TopCover = 2, mat.BottomCover = 3, mat.MomentLoadFactor = 1.6L,
        mat.ShearLoadFactor = 1.6L;
        c.edit(mat);
        const fs::path file = temp_.Path() / "face.ksw";
        mat.SaveToFile(file);
        const TRun run = Run({"--json", file.string()});
        EXPECT_EQ(run.Exit, 0);
        EXPECT_EQ(run.Err, *c.err ? "slabwise-analyze: " + file.string() + ": " + c.err + "\n" : "");
        const json j = json::parse(run.Out);
        for (const std::string& f : c.nullFields) EXPECT_TRUE(j[f].is_null()) << f;
        for (const std::string& f : c.numberFields) EXPECT_TRUE(j[f].is_number()) << f;
        for (const char* f : {"TopAsReq", "BotAsReq", "TopAs", "BotAs"})
            EXPECT_FALSE(j[f].is_number() && j[f].get<double>() < 0) << f;
        std::vector<std::string> failing;
        for (const auto& item : j["Checks"].items())
            if (!item.value()["Passes"].get<bool>()) failing.push_back(item.key());
        EXPECT_EQ(failing, c.failing);
        if (c.topDepth != 0) {
            EXPECT_EQ(j["TopDepth"].get<double>(), c.topDepth);
        }
        EXPECT_EQ(j["Checks"][c.failing.front()]["Hint"], c.hint);

        const TRun text = Run({file.string()});
        EXPECT_EQ(text.Exit, 0);
        EXPECT_NE(text.Out.find(c.hint), std::string::npos);
    }
}

TEST_F(AnalyzeTool, ExitStatusAndStreamsByCase) {
    const TToolCase cases[] = {
        {"project", {"{good}"}, 0, true, nullptr},
        {"options ended", {"--json", "--", "{good}"}, 0, true, nullptr},
        {"example", {}, 0, true, nullptr},
        {"help", {"--help"}, 0, true, nullptr},
        {"fault", {"{flat}"}, 1, true, "floating-point fault"},
        {"garbage", {"{garbage}"}, 2, false, "Wrong file format"},
        {"missing", {"{missing}"}, 2, false, "missing.ksw"},
        {"folder", {"{folder}"}, 2, false, "slabwise-analyze: "},
        {"unknown option",
         {"--yaml", "{good}"},
         2,
         false,
         "usage: slabwise-analyze [--json | --csv] [--tension-less] [--optimise] [FILE.ksw]"},
        {"tension-less", {"--tension-less", "{good}"}, 0, true, nullptr},
        {"uplift, linear", {"{uplift}"}, 0, true, nullptr},
        {"uplift, tension-less",
         {"--json", "--tension-less", "{uplift}"},
         1,
         true,
         "slabwise-analyze: The loads lift the strip off the soil: no equilibrium"},
        {"csv", {"--csv", "{good}"}, 0, true, nullptr},
        {"csv of a fault", {"--csv", "{flat}"}, 1, true, "floating-point fault"},
        {"json and csv", {"--json", "--csv", "{good}"}, 2, false, "usage: "},
        {"two files", {"{good}", "{good}"}, 2, false, "usage: "},
        {"optimise", {"--optimise", "{good}"}, 0, true, nullptr},
        {"optimise as JSON", {"--json", "--optimise", "{good}"}, 0, true, nullptr},
        {"optimise as CSV", {"--csv", "--optimise", "{good}"}, 2, false, "usage: "},
        {"optimise garbage", {"--optimise", "{garbage}"}, 2, false, "Wrong file format"},
        {"optimise a missing file", {"--optimise", "{missing}"}, 2, false, "missing.ksw"},
    };
    for (const TToolCase& c : cases) {
        SCOPED_TRACE(c.Name);
        std::vector<std::string> args;
        for (const std::string& a : c.Args) {
            if (a == "{good}")
                args.push_back(Good().string());
            else if (a == "{flat}")
                args.push_back(Flat().string());
            else if (a == "{uplift}")
                args.push_back(Uplift().string());
            else if (a == "{garbage}")
                args.push_back(Garbage().string());
            else if (a == "{missing}")
                args.push_back(Missing().string());
            else if (a == "{folder}")
                args.push_back(temp_.Path().string());
            else
                args.push_back(a);
        }
        const TRun run = Run(args);
        EXPECT_EQ(run.Exit, c.Exit);
        EXPECT_EQ(!run.Out.empty(), c.OutputExpected) << run.Out.substr(0, 200);
        if (c.ErrContains) {
            EXPECT_NE(run.Err.find(c.ErrContains), std::string::npos) << run.Err;
            EXPECT_EQ(std::count(run.Err.begin(), run.Err.end(), '\n'), 1) << run.Err;
        } else {
            EXPECT_EQ(run.Err, "");
        }
    }
}

// The option of the command line overrides the file; the JSON then names the
// contact zones in the project's length unit, and no answer prints nulls.
TEST_F(AnalyzeTool, TensionLessAddsTheContactZones) {
    const json plain = json::parse(Run({"--json", Good().string()}).Out);
    EXPECT_FALSE(plain.contains("ContactZones"));
    const json zones = json::parse(Run({"--json", "--tension-less", Good().string()}).Out);
    EXPECT_EQ(zones["SoilTakesNoTension"], true);
    ASSERT_TRUE(zones["ContactZones"].is_array());
    for (const json& zone : zones["ContactZones"]) {
        ASSERT_EQ(zone.size(), 2u);
        EXPECT_LT(zone[0].get<double>(), zone[1].get<double>());
        EXPECT_LE(zone[1].get<double>(), zones["StripLength"].get<double>());
    }
    const json none = json::parse(Run({"--json", "--tension-less", Uplift().string()}).Out);
    EXPECT_EQ(none["ContactZones"], json::array());
    EXPECT_TRUE(none["MaxMoment"].is_null());
    EXPECT_EQ(none["Validity"], "The loads lift the strip off the soil: no equilibrium");
}

// A project with columns prints their punching lines, in the text and in
// the JSON, as the library builds them from the file Open reads.
TEST_F(AnalyzeTool, ColumnsAddTheirPunchingLines) {
    const fs::path file = temp_.Path() / "columns.ksw";
    ColumnStrip().SaveToFile(file);
    TMatData mat = Loaded(file);
    mat.Analyze();

    const TRun text = Run({file.string()});
    EXPECT_EQ(text.Exit, 0);
    EXPECT_EQ(text.Err, "");
    EXPECT_EQ(text.Out, AnalysisText(mat));
    std::string header;
    EXPECT_EQ(PunchingLines(text.Out, &header).size(), 2u);

    const TRun js = Run({"--json", file.string()});
    EXPECT_EQ(js.Exit, 0);
    const json printed = json::parse(js.Out);
    EXPECT_EQ(printed, json::parse(AnalysisJson(mat).dump()));
    ASSERT_EQ(printed["Punching"].size(), 2u);
    EXPECT_EQ(printed["Punching"][0]["Load"], 1);
    EXPECT_EQ(printed["Punching"][1]["Load"], 4);
    EXPECT_EQ(printed["Checks"]["Punching"]["Passes"], true);
}

// The search on the project as Open takes it: the proposal or the reason,
// as text or JSON, and the exit status says which.
TEST_F(AnalyzeTool, OptimisePrintsTheThinnestDesignOrWhyNone) {
    struct Case {
        const char* name;
        std::function<void(TMatData&)> edit;
        bool tensionLess;
        const char* reason; // nullptr when a design passes
    };
    const Case cases[] = {
        {"strip", [](TMatData&) {}, false, nullptr},
        {"strip with two columns", [](TMatData& m) { m = ColumnStrip(); }, false, nullptr},
        {"tension-less", [](TMatData&) {}, true, nullptr},
        {"qa below any pressure", [](TMatData& m) { m.AllowableBearing = 0.5L; }, false,
         "no thickness up to 20 ft passes: the bearing pressure exceeds qa at every thickness"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TMatData project = StripModel();
        c.edit(project);
        const fs::path file = temp_.Path() / "optimise.ksw";
        project.SaveToFile(file);
        TMatData mat = Loaded(file);
        if (c.tensionLess) mat.SoilTakesNoTension = 1;
        const TThinnestDesign found = FindThinnestDesign(mat);
        ASSERT_EQ(found.Found, c.reason == nullptr) << found.Reason;

        std::vector<std::string> args{"--optimise", file.string()};
        if (c.tensionLess) args.insert(args.begin(), "--tension-less");
        const TRun text = Run(args);
        EXPECT_EQ(text.Exit, found.Found ? 0 : 1);
        EXPECT_EQ(text.Err, "");
        EXPECT_EQ(text.Out, OptimisedText(mat, found));
        args.insert(args.begin(), "--json");
        const TRun js = Run(args);
        EXPECT_EQ(js.Exit, found.Found ? 0 : 1);
        EXPECT_EQ(js.Err, "");
        const json printed = json::parse(js.Out);
        EXPECT_EQ(printed, json::parse(OptimisedJson(mat, found).dump()));
        ASSERT_EQ(printed.size(), 1u);
        const json& o = printed["Optimised"];
        EXPECT_EQ(o["Candidates"], found.Candidates);
        EXPECT_EQ(o["Thicknesses"], found.Thicknesses);
        if (!found.Found) {
            EXPECT_EQ(o["Reason"], c.reason);
            for (const char* key :
                 {"Thickness", "TopBarSize", "TopBars", "BottomAs", "Governing", "GoverningUtil"})
                EXPECT_TRUE(o[key].is_null()) << key;
            EXPECT_EQ(Words(LineStarting(text.Out, "No design passes")),
                      Words(std::string("No design passes ") + c.reason));
            continue;
        }
        const TDesignProposal& p = found.Proposal;
        EXPECT_TRUE(o["Reason"].is_null());
        EXPECT_EQ(o["Thickness"], static_cast<double>(p.Thickness));
        EXPECT_EQ(o["TopBarSize"], p.TopBarSize);
        EXPECT_EQ(o["BottomBarLabel"], mat.BarLabel(p.BottomBarSize));
        EXPECT_EQ(o["TopBars"], static_cast<double>(p.TopBars));
        EXPECT_EQ(o["BottomAs"], static_cast<double>(p.BottomAs));
        EXPECT_EQ(o["SteelPerWidth"], static_cast<double>(p.SteelPerWidth));
        EXPECT_EQ(o["Governing"], std::string(CheckName(p.Governing)));
        EXPECT_EQ(o["GoverningUtil"], static_cast<double>(p.GoverningUtil));
        EXPECT_EQ(Words(LineStarting(text.Out, "Thickness, T")),
                  (std::vector<std::string>{"Thickness,", "T", FormatFixed(p.Thickness, 2), "ft"}));
        EXPECT_EQ(
            Words(LineStarting(text.Out, "Top bars")),
            (std::vector<std::string>{"Top", "bars", FormatFixed(p.TopBars, 0), mat.BarLabel(p.TopBarSize)}));
        EXPECT_EQ(Words(LineStarting(text.Out, "Steel per unit width")),
                  (std::vector<std::string>{"Steel", "per", "unit", "width", FormatFixed(p.SteelPerWidth, 2),
                                            "in\u00B2/ft"}));
        EXPECT_EQ(Words(LineStarting(text.Out, "Governing check")),
                  Words("Governing check " + std::string(ReadableCheckName(p.Governing))));
        // The project read is the one searched: its proposal passes there.
        TMatData applied = mat;
        ApplyProposal(applied, p);
        const TCheckResults checks = EvaluateChecks(applied);
        EXPECT_TRUE(
            std::all_of(checks.begin(), checks.end(), [](const TCheckResult& r) { return r.Passes; }));
    }
}

} // namespace
} // namespace slabwise
