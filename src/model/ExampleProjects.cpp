#include "ExampleProjects.h"

namespace slabwise {

namespace {

// A fixed date keeps the files reproducible: 2026-01-05.
constexpr double ExampleDate = 46027;

void Common(TMatData& mat, uint8_t units) {
    mat.ApplyBuiltInDefaults();
    mat.SetUnitSystem(units);
    mat.ProjectDate = ExampleDate;
    mat.Organization = "Kelvane";
    mat.JobNumber = "EX-01";
    mat.DesignedBy = "";
    mat.Shape = 0;
    mat.UseReinforcement = 1;
}

} // namespace

// A 48 ft strip, 10 ft wide and 1.9 ft thick, under a row of four columns with
// a partial line load between the interior columns and an overturning moment
// at the end column, on medium-dense sand. Thickness, concrete and bars are
// chosen so the computed bar counts pass every check.
void MakeEnglishExample(TMatData& mat) {
    Common(mat, UnitsEnglish);
    mat.ProjectName = "Example: mat strip under four columns (English units)";
    mat.StripLength = 48;
    mat.StripWidth = 10;
    mat.Thickness = 1.9L;
    mat.Fc = 6;
    mat.Fy = 60;
    mat.SubgradeModulus = 100;
    mat.AllowableBearing = 4;
    mat.FullUniformLoad = 1.5L;
    mat.EffWidthPercent = 70;
    mat.UserX = {10.5L, 24, 37.5L, 48};
    mat.DistLoads[0] = {18, 30, 2, 2};
    mat.PointLoads[0] = {3, 150};
    mat.PointLoads[1] = {18, 280};
    mat.PointLoads[2] = {30, 280};
    mat.PointLoads[3] = {45, 150};
    mat.Moments[0] = {3, 60};
    mat.BarSystem = BarSystemUS;
    mat.TopBarSize = 7;
    mat.BottomBarSize = 6;
    mat.TopCover = 2;
    mat.BottomCover = 3;
    // Computed counts: a new project starts from this file, and an override
    // would carry a count that fits this strip only.
    mat.TopBarsOverride = 0;
    mat.BotBarsOverride = 0;
    mat.ShearLoadFactor = 1.6L;
    mat.MomentLoadFactor = 1.6L;
}

// The same kind of strip in SI units with European bars: 15 m long, 3 m wide,
// 0.55 m thick.
void MakeSIExample(TMatData& mat) {
    Common(mat, UnitsSI);
    mat.ProjectName = "Example: mat strip under four columns (SI units)";
    mat.StripLength = 15;
    mat.StripWidth = 3;
    mat.Thickness = 0.55L;
    mat.Fc = 45;
    mat.Fy = 420;
    mat.SubgradeModulus = 27000;
    mat.AllowableBearing = 190;
    mat.FullUniformLoad = 22;
    mat.EffWidthPercent = 70;
    mat.UserX = {3.25L, 7.5L, 11.75L, 15};
    mat.DistLoads[0] = {5.5L, 9.5L, 30, 30};
    mat.PointLoads[0] = {1, 650};
    mat.PointLoads[1] = {5.5L, 1250};
    mat.PointLoads[2] = {9.5L, 1250};
    mat.PointLoads[3] = {14, 650};
    mat.Moments[0] = {1, 80};
    mat.BarSystem = BarSystemEuropean;
    mat.TopBarSize = 20;
    mat.BottomBarSize = 25;
    mat.TopCover = 50;
    mat.BottomCover = 75;
    mat.TopBarsOverride = 0;
    mat.BotBarsOverride = 0;
    mat.ShearLoadFactor = 1.6L;
    mat.MomentLoadFactor = 1.6L;
}

} // namespace slabwise
