#pragma once

#include "BarTables.h"
#include "InputRanges.h"
#include "JpegImage.h"
#include "ProjectFile.h"
#include "Real.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace slabwise {

constexpr int NodeCount = 101;
constexpr int StationCount = 143;
constexpr int UserPointCount = 4;
constexpr int DistLoadCount = 6;
constexpr int PointLoadCount = 12;
constexpr int MomentCount = 4;

// First station index of each group (see the station layout of TMatData).
constexpr int FirstUserStation = 101;
constexpr int FirstDistStation = 105;
constexpr int FirstPointStation = 111;
constexpr int FirstMomentStation = 135;

constexpr int SegmentTermCount = 14;
constexpr int ConcentratedTermCount = 7;

using TSegmentTerms = std::array<Real, SegmentTermCount>;
using TConcentratedTerms = std::array<Real, ConcentratedTermCount>;
// Shear, moment, slope, deflection.
using TLoadTerms = std::array<Real, 4>;
// RA, MA, thetaA, yA of the left end.
using TEndParameters = std::array<Real, 4>;

struct TMatStation {
    Real X;
    Real F1, F2, F3, F4;
    TSegmentTerms UniformTerms;
    std::array<TSegmentTerms, DistLoadCount> DistTerms;
    std::array<TConcentratedTerms, PointLoadCount> PointTerms;
    std::array<TConcentratedTerms, MomentCount> MomentTerms;
    TLoadTerms LoadTermsDist;
    TLoadTerms LoadTermsPoint;
    TLoadTerms LoadTermsMoment;
    TLoadTerms LoadTerms;
    Real Shear;
    Real Moment;
    Real Slope;
    Real Deflection; // in or mm, positive upward
    Real Pressure;   // ksf or kPa, positive in compression
};

// A stretch of the strip that rests on the soil, from Start to End (ft or m).
struct TContactZone {
    Real Start, End;
    bool operator==(const TContactZone&) const = default;
};

struct TDistLoad {
    Real b, e, wb, we;
};
struct TPointLoad {
    Real a, P;
};
struct TAppliedMoment {
    Real c, M;
};
// The column under a point load, in or mm: c1 along the strip, c2 across it,
// centred on the strip. Zero in either means no column.
struct TColumn {
    Real c1, c2;
    bool Given() const { return c1 != 0 && c2 != 0; }
};

// One strip of a mat foundation: the project's inputs and everything the
// analysis derives from them. Lengths are ft or m, forces kips or kN, as the
// unit system says; stored values are never converted.
class TMatData {
public:
    // Reads the example project of the current unit system from exampleFolder
    // (DefaultExampleFolder unless told otherwise) as the new project.
    explicit TMatData(std::filesystem::path exampleFolder = DefaultExampleFolder());

    void SetDefaults();
    // Never returns early without raising: an EFloatFault means the result
    // fields it did not reach are NaN.
    void Analyze();
    // The reinforcement and shear design alone, on the extremes the model
    // holds; Analyze ends with it.
    void Design();
    // Reads over this model, starting from the built-in new project of the
    // file's unit system; a file refused after its header leaves it
    // half-read (OpenProject reads all or nothing).
    TReadReport LoadFromFile(const std::filesystem::path& fileName);
    void SaveToFile(const std::filesystem::path& fileName) const;
    // The same formats on streams (the file variants add opening, and
    // replacing the target only after a complete write).
    TReadReport LoadFromStream(std::istream& in);
    void SaveToStream(std::ostream& out) const;
    void AssignLogo(const TJpegImage* picture);
    void LoadLogoFromFile(const std::filesystem::path& fileName);

    void SetUnitSystem(uint8_t system);
    void PrepareBarTable();
    // Length of the contact zones as a share of L, in percent.
    Real ContactSharePct() const;
    // SoilTakesNoTension is set and part of the strip lifts off.
    bool LiftsOff() const;
    const TBarRow& FindBar(int32_t bar) const;
    std::string BarLabel(int32_t bar) const;
    Real ByUnits(double english, double si) const;
    const TInputRange& InputRange(int tag) const { return InputRanges.at(static_cast<size_t>(tag - 1)); }

    static std::filesystem::path ExecutableFolder();
    // The executable's folder when an example project lies beside it, else the
    // installed data folder (share/slabwise next to the program's bin folder)
    // when one lies there, else the executable's folder.
    static std::filesystem::path DefaultExampleFolder();
    const std::filesystem::path& ExampleFolder() const { return exampleFolder_; }
    std::filesystem::path ExampleFile() const;

    // Project identification.
    std::string Organization;
    std::optional<TJpegImage> Logo;
    std::string ProjectName;
    std::string JobNumber;
    std::string DesignedBy;
    double ProjectDate = 0; // days since 1899-12-30

    uint8_t UnitSystem = UnitsEnglish;
    int32_t Shape = 0; // 0 square/rectangular, 1 round
    Real StripWidth = 0;
    Real StripLength = 0;
    Real Thickness = 0;
    Real ConcreteModulus = 0;
    Real SubgradeModulus = 0;
    Real AllowableBearing = 0;
    Real FullUniformLoad = 0;
    Real EffWidthPercent = 0;
    // Soil that pushes but never pulls: lifted stretches lose their springs.
    uint8_t SoilTakesNoTension = 0;

    // Derived stiffness values.
    Real Inertia = 0;
    Real Beta = 0;
    Real BetaL = 0;
    Real FlexuralRigidity = 0;
    Real C2 = 0, C3 = 0, C4 = 0, C11 = 0;

    std::array<TMatStation, StationCount> Stations{};

    TEndParameters InitDist{};
    TEndParameters InitPoint{};
    TEndParameters InitMoment{};
    TEndParameters InitTotal{};

    Real MaxShear = 0, MaxShearX = 0;
    Real MinShear = 0, MinShearX = 0;
    Real MaxMoment = 0, MaxMomentX = 0;
    Real MinMoment = 0, MinMomentX = 0;
    Real MaxDeflection = 0, MaxDeflectionX = 0;
    Real MaxPressure = 0, MaxPressureX = 0;
    Real MinPressure = 0, MinPressureX = 0;
    Real BearingAreaPct = 0;
    Real TMinSemiRigid = 0;
    Real TMinRigid = 0;
    Real Lr = 0;
    Real BEst = 0;
    // With SoilTakesNoTension: where the strip rests on the soil, [0, L] when
    // nothing lifts; empty otherwise. ContactMessage says why there is no
    // answer when the analysis found none.
    std::vector<TContactZone> ContactZones;
    std::string ContactMessage;

    uint8_t UseReinforcement = 0;
    int32_t BarSystem = BarSystemUS;
    int32_t TopBarSize = 0;
    int32_t BottomBarSize = 0;
    Real Fy = 0;
    Real Fc = 0;

    Real MuNeg = 0, MuPos = 0, ThicknessIn = 0;
    Real TopAsRoot1 = 0, TopAsRoot2 = 0, TopA1 = 0, TopA2 = 0;
    Real BotAsRoot1 = 0, BotAsRoot2 = 0, BotA1 = 0, BotA2 = 0;
    Real TopCover = 0;
    Real TopAsReq = 0, TopBarsMin = 0, TopBarsOverride = 0, TopSpacing = 0, TopDepth = 0, TopAs = 0,
         TopSteelPct = 0, TopAllowMoment = 0;
    Real BottomCover = 0;
    Real BotAsReq = 0, BotBarsMin = 0, BotBarsOverride = 0, BotSpacing = 0, BotDepth = 0, BotAs = 0,
         BotSteelPct = 0, BotAllowMoment = 0;
    Real Vu = 0, AllowShear = 0;
    Real ShearLoadFactor = 0, MomentLoadFactor = 0;
    Real TopUtil = 0, BottomUtil = 0, ShearUtil = 0;

    std::array<Real, UserPointCount> UserX{};
    std::array<TDistLoad, DistLoadCount> DistLoads{};
    std::array<TPointLoad, PointLoadCount> PointLoads{};
    std::array<TAppliedMoment, MomentCount> Moments{};
    // By point load: the column that carries it, for the punching check.
    std::array<TColumn, PointLoadCount> Columns{};

    // Current limits and decimals by Tag, and the current rebar table; they
    // follow UnitSystem and BarSystem through SetUnitSystem and PrepareBarTable.
    TInputRangeTable InputRanges{};
    TBarTableRows BarTable{};
    // Version of the project file read last.
    double FileVersion = 0;

    // The built-in new project (no example file): texts and logo cleared,
    // today's date, limits of the current unit system, numeric defaults.
    void ApplyBuiltInDefaults();
    // Every input after the unit system at its built-in value for the current
    // unit system; a file read starts from these, so what it does not hold
    // never comes from an example or the project open before.
    void ApplyBuiltInInputs();

private:
    void ClearIdentification();
    void ClearResults();
    TReadReport ReadProject(std::istream& in);
    void AnalyzeBeam(class TFaultWatch& watch, int& stationsWritten);
    void DesignReinforcement(class TFaultWatch& watch);
    // Soil that takes no tension: the stations from the contact zones, and
    // afterwards the contact share as the bearing area.
    void ApplyContactZones(class TFaultWatch& watch);
    void ApplyContactShare();
    [[noreturn]] void NoContactAnswer(const std::string& message);

    std::filesystem::path exampleFolder_;
};

// Today's date as a whole day count since 1899-12-30 (local time).
double TodayDate();

} // namespace slabwise
