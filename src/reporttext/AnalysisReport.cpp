#include "AnalysisReport.h"

#include "model/DesignChecks.h"
#include "model/InputFields.h"
#include "model/InputRanges.h"
#include "model/NumberFormat.h"
#include "model/ProjectText.h"
#include "model/PunchingShear.h"
#include "model/PunchingTable.h"
#include "model/ResultFields.h"
#include "model/ResultTexts.h"
#include "model/ThinnestDesign.h"
#include "model/Units.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>

namespace slabwise {

namespace {

using json = nlohmann::ordered_json;

// Numbers that no display field carries. Slopes are small fractions of a
// radian, so they need more places than deflections; flexural rigidity is in
// the millions; the utilisation lines show two places.
constexpr int SlopeDecimals = 6;
constexpr int RigidityDecimals = 0;
constexpr int DesignThicknessDecimals = 2;

// ---- Texts ---------------------------------------------------------------

// A control character in a project text must not move the cursor or switch
// the terminal's state; in Latin-1 those are the C0 and C1 ranges and DEL.
std::string TerminalText(std::string bytes) {
    for (char& c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || (byte >= 0x7F && byte <= 0x9F)) c = ' ';
    }
    return ProjectTextToUtf8(bytes);
}

std::string DateText(double days) {
    // The range of four-digit years; anything else is shown as the raw count.
    if (!(days >= -657434 && days < 2958466)) return FormatFixed(days, 2);
    using namespace std::chrono;
    const sys_days epoch{year{1899} / December / day{30}};
    const year_month_day date{epoch + std::chrono::days{static_cast<int>(std::floor(days))}};
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
    return buf;
}

std::string UnitSystemName(uint8_t units) {
    return units == UnitsEnglish ? "English" : "SI";
}

std::string BarSystemName(int32_t bars) {
    switch (bars) {
    case BarSystemUS:
        return "US";
    case BarSystemEuropean:
        return "European";
    default:
        return "Canadian";
    }
}

// The rigidity class and validity message are only meaningful once the
// values they classify were computed.
bool RigidityKnown(const TMatData& mat) {
    return std::isfinite(mat.BetaL);
}

bool ValidityKnown(const TMatData& mat) {
    // Soil that takes no tension says why it found no answer.
    if (!mat.ContactMessage.empty()) return true;
    return std::isfinite(mat.MaxPressure) && std::isfinite(mat.MinPressure) &&
           std::isfinite(mat.BearingAreaPct);
}

// ---- JSON ----------------------------------------------------------------

json Number(Real value) {
    // A finite extended value can still overflow a double.
    const auto d = static_cast<double>(value);
    if (!std::isfinite(d)) return nullptr;
    return d;
}

json Numbers(const std::array<Real, 4>& values) {
    json array = json::array();
    for (const Real v : values) array.push_back(Number(v));
    return array;
}

void WriteResults(json& j, const TMatData& mat, TResultGroup group) {
    for (const TResultField& field : ResultFields)
        if (field.Group == group) j[std::string(field.Name)] = Number(mat.*field.Member);
}

// The inputs of one stretch of the JSON; numbered ones as one array each,
// elements holding the keys of their rows.
void WriteInputs(json& j, const TMatData& mat, TInputGroup group) {
    const auto rows = InputFieldsInJsonOrder();
    for (size_t i = 0; i < rows.size();) {
        const TInputField& field = *rows[i];
        if (field.Group != group) {
            ++i;
        } else if (!field.Numbered()) {
            j[std::string(field.Key)] = Number(InputValue(mat, field));
            ++i;
        } else {
            size_t end = i + 1;
            while (end < rows.size() && rows[end]->Array == field.Array) ++end;
            json array = json::array();
            for (int number = 1; number <= field.Count; ++number) {
                if (field.Key.empty()) {
                    array.push_back(Number(InputValue(mat, field, number)));
                    continue;
                }
                json element = json::object();
                for (size_t k = i; k < end; ++k)
                    element[std::string(rows[k]->Key)] = Number(InputValue(mat, *rows[k], number));
                // The end intensity is no input (the analysis sets it to the
                // start's) but belongs to its load.
                if (field.Array == "DistLoads")
                    element["we"] = Number(mat.DistLoads[static_cast<size_t>(number - 1)].we);
                array.push_back(std::move(element));
            }
            j[std::string(field.Array)] = std::move(array);
            i = end;
        }
    }
}

json LogoJson(const TMatData& mat) {
    if (!mat.Logo) return nullptr;
    return json{
        {"Bytes", mat.Logo->Bytes().size()}, {"Width", mat.Logo->Width()}, {"Height", mat.Logo->Height()}};
}

// ---- Text layout ---------------------------------------------------------

enum class TAlign { Left, Right };

// Columns as wide as their widest cell, numbers right-aligned so that the
// decimal points of one kind of value line up.
class TTextTable {
public:
    TTextTable(std::vector<std::string> header, std::vector<TAlign> align)
        : header_(std::move(header)), align_(std::move(align)) {}

    void AddRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }
    bool Empty() const { return rows_.empty(); }

    void Write(std::ostream& out, int indent) const {
        std::vector<size_t> widths(align_.size(), 0);
        auto measure = [&](const std::vector<std::string>& cells) {
            for (size_t c = 0; c < cells.size() && c < widths.size(); ++c)
                widths[c] = std::max(widths[c], Columns(cells[c]));
        };
        measure(header_);
        for (const auto& row : rows_) measure(row);

        if (!header_.empty()) {
            WriteLine(out, indent, header_, widths);
            std::vector<std::string> rule;
            for (size_t c = 0; c < widths.size(); ++c)
                rule.emplace_back(c < header_.size() && !header_[c].empty() ? widths[c] : 0, '-');
            WriteLine(out, indent, rule, widths);
        }
        for (const auto& row : rows_) WriteLine(out, indent, row, widths);
    }

private:
    // Display columns of UTF-8 text: continuation bytes take no column.
    static size_t Columns(const std::string& text) {
        return static_cast<size_t>(std::count_if(
            text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    }

    void WriteLine(std::ostream& out, int indent, const std::vector<std::string>& cells,
                   const std::vector<size_t>& widths) const {
        std::string line(static_cast<size_t>(indent), ' ');
        for (size_t c = 0; c < widths.size(); ++c) {
            const std::string cell = c < cells.size() ? cells[c] : std::string{};
            const std::string pad(widths[c] - Columns(cell), ' ');
            if (c > 0) line += "  ";
            line += align_[c] == TAlign::Right ? pad + cell : cell + pad;
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }

    std::vector<std::string> header_;
    std::vector<TAlign> align_;
    std::vector<std::vector<std::string>> rows_;
};

// Label, value and unit lines of one section.
class TFieldList {
public:
    TFieldList() : table_({}, {TAlign::Left, TAlign::Right, TAlign::Left}) {}
    void Add(std::string label, std::string value, std::string unit = {}) {
        table_.AddRow({std::move(label), std::move(value), std::move(unit)});
    }
    void Write(std::ostream& out) const { table_.Write(out, 2); }

private:
    TTextTable table_;
};

class TTextReport {
public:
    explicit TTextReport(const TMatData& mat) : mat_(mat) {}

    std::string Build() {
        Header();
        GeometryAndSoil();
        Loads();
        ReinforcementInputs();
        Stiffness();
        Extremes();
        UserPoints();
        Design();
        Punching();
        Checks();
        Nodes();
        return out_.str();
    }

private:
    std::string Num(Real value, int tag) const { return FormatFixed(value, ShownDecimals(mat_, tag, value)); }
    // An input with the decimals of its box, and its unit.
    std::string Input(TInput input, int number = 0) const {
        const TInputField& field = InputField(input);
        return Num(InputValue(mat_, field, number), field.Tag);
    }
    std::string InputUnit(TInput input) const {
        const std::optional<TQuantity> unit = InputField(input).Unit;
        return unit ? Unit(*unit) : std::string();
    }
    std::string InputHeading(const std::string& caption, TInput input) const {
        return caption + " (" + InputUnit(input) + ")";
    }
    static std::string Util(Real value) { return FormatFixed(value, UtilizationDecimals(value)); }
    std::string Unit(TQuantity quantity) const { return UnitText(quantity, mat_.UnitSystem); }
    std::string Heading(const std::string& caption, TQuantity quantity) const {
        return caption + " (" + Unit(quantity) + ")";
    }

    void Section(const std::string& title) {
        out_ << '\n' << title << '\n' << std::string(title.size(), '=') << '\n';
    }

    void Header() {
        const std::string title = "Slabwise - mat foundation strip on an elastic subgrade";
        out_ << title << '\n' << std::string(title.size(), '=') << '\n';
        TTextTable fields({}, {TAlign::Left, TAlign::Left});
        fields.AddRow({"Organization", TerminalText(mat_.Organization)});
        fields.AddRow({"Project", TerminalText(mat_.ProjectName)});
        fields.AddRow({"Job number", TerminalText(mat_.JobNumber)});
        fields.AddRow({"Designed by", TerminalText(mat_.DesignedBy)});
        fields.AddRow({"Date", DateText(mat_.ProjectDate)});
        fields.AddRow({"Unit system", UnitSystemName(mat_.UnitSystem)});
        fields.AddRow({"Bar system", BarSystemName(mat_.BarSystem)});
        fields.AddRow({"Logo", mat_.Logo ? "JPEG, " + std::to_string(mat_.Logo->Width()) + " x " +
                                               std::to_string(mat_.Logo->Height()) + " pixels"
                                         : "none"});
        fields.Write(out_, 0);
    }

    void GeometryAndSoil() {
        Section("Geometry and soil");
        TFieldList f;
        f.Add("Shape", mat_.Shape == 1 ? "Round" : "Square/Rect");
        f.Add("Strip length, L", Input(TInput::StripLength), InputUnit(TInput::StripLength));
        f.Add("Strip width, B", Input(TInput::StripWidth), InputUnit(TInput::StripWidth));
        f.Add("Thickness, T", Input(TInput::Thickness), InputUnit(TInput::Thickness));
        f.Add("Concrete modulus, E", Num(mat_.ConcreteModulus, TagModulus), Unit(TQuantity::Strength));
        f.Add("Subgrade modulus, k", Input(TInput::SubgradeModulus), InputUnit(TInput::SubgradeModulus));
        f.Add("Allowable bearing, qa", Input(TInput::AllowableBearing), InputUnit(TInput::AllowableBearing));
        if (mat_.SoilTakesNoTension) f.Add("Soil takes no tension", "Yes");
        f.Add("Effective width, %B", Input(TInput::EffWidthPercent), InputUnit(TInput::EffWidthPercent));
        f.Write(out_);
    }

    void Loads() {
        Section("Loads");
        TFieldList f;
        f.Add("Full uniform load, w", Input(TInput::FullUniformLoad), InputUnit(TInput::FullUniformLoad));
        f.Write(out_);

        TTextTable dist({"#", InputHeading("b", TInput::DistStart), InputHeading("e", TInput::DistEnd),
                         InputHeading("wb", TInput::DistIntensity),
                         InputHeading("we", TInput::DistIntensity)},
                        {TAlign::Right, TAlign::Right, TAlign::Right, TAlign::Right, TAlign::Right});
        for (size_t n = 0; n < mat_.DistLoads.size(); ++n) {
            const TDistLoad& load = mat_.DistLoads[n];
            if (load.wb == 0) continue;
            const int number = static_cast<int>(n) + 1;
            // The end intensity, no input, shows as the start's.
            dist.AddRow({std::to_string(number), Input(TInput::DistStart, number),
                         Input(TInput::DistEnd, number), Input(TInput::DistIntensity, number),
                         Num(load.we, InputField(TInput::DistIntensity).Tag)});
        }
        LoadTable("Distributed loads", dist);

        TTextTable point(
            {"#", InputHeading("a", TInput::PointPosition), InputHeading("P", TInput::PointForce)},
            {TAlign::Right, TAlign::Right, TAlign::Right});
        for (size_t n = 0; n < mat_.PointLoads.size(); ++n) {
            const TPointLoad& load = mat_.PointLoads[n];
            if (load.P == 0) continue;
            const int number = static_cast<int>(n) + 1;
            point.AddRow({std::to_string(number), Input(TInput::PointPosition, number),
                          Input(TInput::PointForce, number)});
        }
        LoadTable("Point loads", point);

        TTextTable moments(
            {"#", InputHeading("c", TInput::MomentPosition), InputHeading("M", TInput::MomentValue)},
            {TAlign::Right, TAlign::Right, TAlign::Right});
        for (size_t n = 0; n < mat_.Moments.size(); ++n) {
            const TAppliedMoment& moment = mat_.Moments[n];
            if (moment.M == 0) continue;
            const int number = static_cast<int>(n) + 1;
            moments.AddRow({std::to_string(number), Input(TInput::MomentPosition, number),
                            Input(TInput::MomentValue, number)});
        }
        LoadTable("Applied moments", moments);
    }

    void LoadTable(const std::string& caption, const TTextTable& table) {
        out_ << '\n' << "  " << caption << (table.Empty() ? ": none" : "") << '\n';
        if (!table.Empty()) table.Write(out_, 4);
    }

    void ReinforcementInputs() {
        Section("Reinforcement inputs");
        TFieldList f;
        f.Add("Use reinforcement", mat_.UseReinforcement ? "yes" : "no");
        f.Add("Steel yield, Fy", Input(TInput::Fy), InputUnit(TInput::Fy));
        f.Add("Concrete strength, Fc", Input(TInput::Fc), InputUnit(TInput::Fc));
        f.Add("Shear load factor", Input(TInput::ShearLoadFactor), InputUnit(TInput::ShearLoadFactor));
        f.Add("Moment load factor", Input(TInput::MomentLoadFactor), InputUnit(TInput::MomentLoadFactor));
        f.Write(out_);
        out_ << '\n';

        TTextTable faces({"", "Top", "Bottom", ""},
                         {TAlign::Left, TAlign::Right, TAlign::Right, TAlign::Left});
        faces.AddRow({"Bar size", mat_.BarLabel(mat_.TopBarSize), mat_.BarLabel(mat_.BottomBarSize)});
        faces.AddRow({"Clear cover", Input(TInput::TopCover), Input(TInput::BottomCover),
                      InputUnit(TInput::TopCover)});
        faces.AddRow(
            {"Number of bars", BarsOverride(TInput::TopBarsOverride), BarsOverride(TInput::BotBarsOverride)});
        faces.Write(out_, 2);
    }

    // An override of 0 leaves the count to the design.
    std::string BarsOverride(TInput input) const {
        return InputValue(mat_, InputField(input)) > 0 ? Input(input) : "computed";
    }

    void Stiffness() {
        Section("Stiffness");
        TFieldList f;
        f.Add("Inertia, I", Num(mat_.Inertia, TagInertia), Unit(TQuantity::Inertia));
        f.Add("Beta", Num(mat_.Beta, TagBeta), Unit(TQuantity::Beta));
        f.Add("Beta*L", Num(mat_.BetaL, TagBetaL));
        f.Add("Flexural rigidity, EI", FormatFixed(mat_.FlexuralRigidity, RigidityDecimals),
              Unit(TQuantity::Rigidity));
        f.Add("Min. thickness, semi-rigid", Num(mat_.TMinSemiRigid, TagMinSemiRigid),
              Unit(TQuantity::Length));
        f.Add("Min. thickness, rigid", Num(mat_.TMinRigid, TagMinRigid), Unit(TQuantity::Length));
        f.Add("Lr", Num(mat_.Lr, TagLr), Unit(TQuantity::Length));
        f.Add("B(est.)", Num(mat_.BEst, TagBEst), Unit(TQuantity::Length));
        f.Write(out_);
        out_ << "\n  " << (RigidityKnown(mat_) ? RigidityText(mat_.BetaL) : "Rigidity: N.A.") << '\n';
    }

    void Extremes() {
        Section("Extremes");
        TTextTable t({"", "Value", "", Heading("at X", TQuantity::Length)},
                     {TAlign::Left, TAlign::Right, TAlign::Left, TAlign::Right});
        auto row = [&](const char* label, Real value, int tag, TQuantity unit, Real x) {
            t.AddRow({label, Num(value, tag), Unit(unit), Num(x, TagPosition)});
        };
        row("Max. shear", mat_.MaxShear, TagShear, TQuantity::Shear, mat_.MaxShearX);
        row("Min. shear", mat_.MinShear, TagShear, TQuantity::Shear, mat_.MinShearX);
        row("Max. moment", mat_.MaxMoment, TagMoment, TQuantity::Moment, mat_.MaxMomentX);
        row("Min. moment", mat_.MinMoment, TagMoment, TQuantity::Moment, mat_.MinMomentX);
        row("Max. deflection", mat_.MaxDeflection, TagDeflection, TQuantity::DesignLength,
            mat_.MaxDeflectionX);
        row("Max. soil pressure", mat_.MaxPressure, TagExtremePressure, TQuantity::Pressure,
            mat_.MaxPressureX);
        row("Min. soil pressure", mat_.MinPressure, TagExtremePressure, TQuantity::Pressure,
            mat_.MinPressureX);
        t.Write(out_, 2);
        out_ << '\n';

        TFieldList f;
        f.Add("Bearing area", Num(mat_.BearingAreaPct, TagBearingArea), "%");
        if (mat_.SoilTakesNoTension) f.Add("Contact zones", ContactZonesText(mat_));
        f.Write(out_);
        const std::string validity = ValidityKnown(mat_) ? ValidityMessage(mat_) : "N.A.";
        out_ << "  Validity: " << (validity.empty() ? "OK" : validity) << '\n';
    }

    void UserPoints() {
        Section("Results at the user points");
        TTextTable t(
            {"Point", Heading("X", TQuantity::Length), Heading("Shear", TQuantity::Shear),
             Heading("Moment", TQuantity::Moment), Heading("Deflection", TQuantity::DesignLength),
             Heading("Pressure", TQuantity::Pressure)},
            {TAlign::Left, TAlign::Right, TAlign::Right, TAlign::Right, TAlign::Right, TAlign::Right});
        for (int i = 0; i < UserPointCount; ++i) {
            const int station = FirstUserStation + i;
            const TMatStation& s = mat_.Stations[static_cast<size_t>(station)];
            t.AddRow({"x" + std::to_string(i + 1), Input(TInput::UserPoint, i + 1), Num(s.Shear, TagShear),
                      Num(s.Moment, TagMoment), Num(s.Deflection, TagDeflection),
                      Num(s.Pressure, TagPosition)});
        }
        t.Write(out_, 2);
    }

    void Design() {
        Section("Reinforcement design (ACI 318-14)");
        TFieldList thickness;
        thickness.Add("Thickness used in design", FormatFixed(mat_.ThicknessIn, DesignThicknessDecimals),
                      Unit(TQuantity::DesignLength));
        thickness.Write(out_);
        out_ << '\n';

        const std::string length = Unit(TQuantity::DesignLength);
        const std::string area = Unit(TQuantity::SteelArea);
        const std::string moment = Unit(TQuantity::Moment);
        TTextTable t({"", "Top", "Bottom", ""}, {TAlign::Left, TAlign::Right, TAlign::Right, TAlign::Left});
        auto row = [&](const char* label, Real top, Real bottom, int tag, const std::string& unit) {
            t.AddRow({label, Num(top, tag), Num(bottom, tag), unit});
        };
        row("Max. factored moment", mat_.MuNeg, mat_.MuPos, TagMoment, moment);
        row("Required steel area", mat_.TopAsReq, mat_.BotAsReq, TagAsRequired, area);
        row("Min. number of bars", mat_.TopBarsMin, mat_.BotBarsMin, TagBarsMin, "");
        row("Bar spacing", mat_.TopSpacing, mat_.BotSpacing, TagSpacing, length);
        row("Effective depth", mat_.TopDepth, mat_.BotDepth, TagDepth, length);
        row("Steel area provided", mat_.TopAs, mat_.BotAs, TagAsProvided, area);
        row("Steel ratio", mat_.TopSteelPct, mat_.BotSteelPct, TagSteelPct, "%");
        row("Allowable moment", mat_.TopAllowMoment, mat_.BotAllowMoment, TagAllowMoment, moment);
        t.AddRow({"Utilization", Util(mat_.TopUtil), Util(mat_.BottomUtil), "%"});
        t.Write(out_, 2);

        out_ << "\n  Shear check\n";
        TFieldList shear;
        shear.Add("Max. factored shear, Vu", Num(mat_.Vu, TagFactoredShear), Unit(TQuantity::Force));
        shear.Add("Allowable shear", Num(mat_.AllowShear, TagAllowShear), Unit(TQuantity::Force));
        shear.Add("Utilization", Util(mat_.ShearUtil), "%");
        shear.Write(out_);
    }

    // Only with a column, so projects without one print as before.
    void Punching() {
        const std::vector<int> loads = PunchingLoads(mat_);
        if (loads.empty()) return;
        Section("Punching shear");
        std::vector<std::string> header;
        std::vector<TAlign> align;
        for (const TPunchingHeading& h : PunchingHeadings) {
            header.push_back(PunchingHeadingText(mat_, h));
            align.push_back(h.Column == TPunchingColumn::Section ? TAlign::Left : TAlign::Right);
        }
        // The hint of a line without numbers or of a failing column, and the
        // remark on a moment at the column.
        header.emplace_back();
        align.push_back(TAlign::Left);
        TTextTable t(std::move(header), std::move(align));
        const TPunchingResults results = EvaluatePunching(mat_);
        for (const int load : loads) {
            const TPunchingResult& r = results[static_cast<size_t>(load - 1)];
            const bool checked = r.State == TPunchingState::Checked;
            std::vector<std::string> cells;
            for (const TPunchingHeading& h : PunchingHeadings) {
                switch (h.Column) {
                case TPunchingColumn::Load:
                    cells.push_back(std::to_string(load));
                    break;
                case TPunchingColumn::Section:
                    cells.emplace_back(checked ? PunchingSectionName(r.Governing) : "N.A.");
                    break;
                default: {
                    const Real value = PunchingValue(r, h.Column);
                    cells.push_back(h.Tag < 0 ? Util(value) : Num(value, h.Tag));
                }
                }
            }
            cells.push_back(!checked || !r.Passes ? r.Hint
                            : r.MomentAtColumn    ? MomentRemark()
                                                  : std::string());
            t.AddRow(std::move(cells));
        }
        t.Write(out_, 2);
    }

    static std::string MomentRemark() {
        std::string remark = PunchingMomentNote;
        return remark.substr(remark.find_first_not_of("; "));
    }

    void Checks() {
        Section("Design checks");
        TTextTable t({}, {TAlign::Left, TAlign::Left, TAlign::Left});
        const TCheckResults results = EvaluateChecks(mat_);
        for (int i = 0; i < CheckCount; ++i) {
            const TCheckResult& r = results[static_cast<size_t>(i)];
            t.AddRow({std::string(CheckName(static_cast<TCheck>(i))), r.Passes ? "passes" : "FAILS", r.Hint});
        }
        t.Write(out_, 2);
    }

    void Nodes() {
        Section("Results at the nodes");
        TTextTable t({"Node", Heading("X", TQuantity::Length), Heading("Shear", TQuantity::Shear),
                      Heading("Moment", TQuantity::Moment), Heading("Slope", TQuantity::Slope),
                      Heading("Deflection", TQuantity::DesignLength),
                      Heading("Pressure", TQuantity::Pressure)},
                     std::vector<TAlign>(7, TAlign::Right));
        for (int i = 0; i < NodeCount; ++i) {
            const TMatStation& s = mat_.Stations[static_cast<size_t>(i)];
            t.AddRow({std::to_string(i + 1), Num(s.X, TagPosition), Num(s.Shear, TagShear),
                      Num(s.Moment, TagMoment), FormatFixed(s.Slope, SlopeDecimals),
                      Num(s.Deflection, TagDeflection), Num(s.Pressure, TagPosition)});
        }
        t.Write(out_, 2);
    }

    const TMatData& mat_;
    std::ostringstream out_;
};

} // namespace

json AnalysisJson(const TMatData& mat) {
    json j;
    j["Organization"] = ProjectTextToUtf8(mat.Organization);
    j["ProjectName"] = ProjectTextToUtf8(mat.ProjectName);
    j["JobNumber"] = ProjectTextToUtf8(mat.JobNumber);
    j["DesignedBy"] = ProjectTextToUtf8(mat.DesignedBy);
    j["ProjectDate"] = Number(mat.ProjectDate);
    j["Logo"] = LogoJson(mat);
    j["UnitSystem"] = mat.UnitSystem;
    j["Shape"] = mat.Shape;
    WriteInputs(j, mat, TInputGroup::Geometry);
    WriteResults(j, mat, TResultGroup::Material);
    WriteInputs(j, mat, TInputGroup::SoilAndLoads);
    j["UseReinforcement"] = mat.UseReinforcement != 0;
    j["BarSystem"] = mat.BarSystem;
    j["TopBarSize"] = mat.TopBarSize;
    j["BottomBarSize"] = mat.BottomBarSize;
    WriteInputs(j, mat, TInputGroup::Reinforcement);

    WriteResults(j, mat, TResultGroup::Stiffness);
    for (const TEndParameterField& field : EndParameterFields)
        j[std::string(field.Name)] = Numbers(mat.*field.Member);
    WriteResults(j, mat, TResultGroup::Extremes);
    WriteResults(j, mat, TResultGroup::Design);

    json stations = json::array();
    for (const TMatStation& s : mat.Stations) {
        json station;
        for (const TStationField& field : StationFields)
            station[std::string(field.Name)] = Number(s.*field.Member);
        stations.push_back(std::move(station));
    }
    j["Stations"] = std::move(stations);

    // Only with soil that takes no tension, so other projects print as before.
    if (mat.SoilTakesNoTension) {
        j["SoilTakesNoTension"] = true;
        json zones = json::array();
        for (const TContactZone& zone : mat.ContactZones)
            zones.push_back({Number(zone.Start), Number(zone.End)});
        j["ContactZones"] = std::move(zones);
    }
    j["Rigidity"] = RigidityKnown(mat) ? json(RigidityText(mat.BetaL)) : json(nullptr);
    j["Validity"] = ValidityKnown(mat) ? json(ValidityMessage(mat)) : json(nullptr);
    // Only with a column, so projects without one print as before.
    const std::vector<int> loads = PunchingLoads(mat);
    if (!loads.empty()) {
        const TPunchingResults punching = EvaluatePunching(mat);
        json lines = json::array();
        for (const int load : loads) {
            const TPunchingResult& r = punching[static_cast<size_t>(load - 1)];
            const bool checked = r.State == TPunchingState::Checked;
            lines.push_back({{"Load", load},
                             {"Section", checked ? json(PunchingSectionName(r.Governing)) : json(nullptr)},
                             {"b0", Number(PunchingValue(r, TPunchingColumn::B0))},
                             {"d", Number(PunchingValue(r, TPunchingColumn::D))},
                             {"Vu", Number(PunchingValue(r, TPunchingColumn::Vu))},
                             {"PhiVn", Number(PunchingValue(r, TPunchingColumn::PhiVn))},
                             {"Util", Number(PunchingValue(r, TPunchingColumn::Util))},
                             {"Passes", r.Passes},
                             {"Hint", r.Hint}});
        }
        j["Punching"] = std::move(lines);
    }
    json checks = json::object();
    const TCheckResults results = EvaluateChecks(mat);
    for (int i = 0; i < CheckCount; ++i) {
        const TCheckResult& r = results[static_cast<size_t>(i)];
        checks[std::string(CheckName(static_cast<TCheck>(i)))] = {{"Passes", r.Passes}, {"Hint", r.Hint}};
    }
    j["Checks"] = std::move(checks);
    return j;
}

std::string AnalysisText(const TMatData& mat) {
    return TTextReport(mat).Build();
}

namespace {

std::string SteelPerWidthUnit(uint8_t units) {
    return UnitText(TQuantity::SteelArea, units) + '/' + UnitText(TQuantity::Length, units);
}

} // namespace

json OptimisedJson(const TMatData& mat, const TThinnestDesign& found) {
    const TDesignProposal& p = found.Proposal;
    const auto proposed = [&](json value) { return found.Found ? std::move(value) : json(nullptr); };
    json o;
    o["Found"] = found.Found;
    o["Thickness"] = proposed(Number(p.Thickness));
    o["TopBarSize"] = proposed(p.TopBarSize);
    o["BottomBarSize"] = proposed(p.BottomBarSize);
    o["TopBarLabel"] = proposed(mat.BarLabel(p.TopBarSize));
    o["BottomBarLabel"] = proposed(mat.BarLabel(p.BottomBarSize));
    o["TopBars"] = proposed(Number(p.TopBars));
    o["BottomBars"] = proposed(Number(p.BottomBars));
    o["TopAs"] = proposed(Number(p.TopAs));
    o["BottomAs"] = proposed(Number(p.BottomAs));
    o["SteelPerWidth"] = proposed(Number(p.SteelPerWidth));
    o["Governing"] = proposed(std::string(CheckName(p.Governing)));
    o["GoverningUtil"] = proposed(Number(p.GoverningUtil));
    o["Candidates"] = found.Candidates;
    o["Thicknesses"] = found.Thicknesses;
    o["Reason"] = found.Found ? json(nullptr) : json(found.Reason);
    json j;
    j["Optimised"] = std::move(o);
    return j;
}

std::string OptimisedText(const TMatData& mat, const TThinnestDesign& found) {
    std::ostringstream out;
    const std::string title = "Thinnest design";
    out << title << '\n' << std::string(title.size(), '=') << '\n';
    TFieldList f;
    const auto num = [&](Real value, int tag) { return FormatFixed(value, ShownDecimals(mat, tag, value)); };
    const TDesignProposal& p = found.Proposal;
    if (found.Found) {
        const std::string area = UnitText(TQuantity::SteelArea, mat.UnitSystem);
        f.Add("Thickness, T", num(p.Thickness, TagThickness), UnitText(TQuantity::Length, mat.UnitSystem));
        f.Add("Top bars", num(p.TopBars, TagBarsMin), mat.BarLabel(p.TopBarSize));
        f.Add("Bottom bars", num(p.BottomBars, TagBarsMin), mat.BarLabel(p.BottomBarSize));
        f.Add("Top steel area", num(p.TopAs, TagAsProvided), area);
        f.Add("Bottom steel area", num(p.BottomAs, TagAsProvided), area);
        f.Add("Steel per unit width", num(p.SteelPerWidth, TagAsProvided), SteelPerWidthUnit(mat.UnitSystem));
        f.Add("Governing check", std::string(ReadableCheckName(p.Governing)));
        f.Add("Its utilization", FormatFixed(p.GoverningUtil, UtilizationDecimals(p.GoverningUtil)), "%");
    } else {
        f.Add("No design passes", found.Reason);
    }
    f.Add("Thicknesses analysed", std::to_string(found.Thicknesses));
    f.Add("Candidates judged", std::to_string(found.Candidates));
    f.Write(out);
    return out.str();
}

} // namespace slabwise
