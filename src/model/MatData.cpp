#include "MatData.h"

#include <chrono>
#include <ctime>
#include <fstream>
#include <unistd.h>

namespace slabwise {

TMatData::TMatData(std::filesystem::path exampleFolder) : exampleFolder_(std::move(exampleFolder)) {
    SetDefaults();
}

std::filesystem::path TMatData::ExecutableFolder() {
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path{} : exe.parent_path();
}

std::filesystem::path TMatData::DefaultExampleFolder() {
    std::filesystem::path beside = ExecutableFolder();
    auto holdsExample = [](const std::filesystem::path& folder) {
        std::error_code ec;
        return !folder.empty() &&
               (std::filesystem::is_regular_file(folder / "Example English Units.ksw", ec) ||
                std::filesystem::is_regular_file(folder / "Example SI Units.ksw", ec));
    };
    if (holdsExample(beside)) return beside;
    const std::filesystem::path installed = (beside / SLABWISE_DATA_FROM_BIN).lexically_normal();
    return holdsExample(installed) ? installed : beside;
}

std::filesystem::path TMatData::ExampleFile() const {
    return exampleFolder_ /
           (UnitSystem == UnitsEnglish ? "Example English Units.ksw" : "Example SI Units.ksw");
}

void TMatData::SetDefaults() {
    const std::filesystem::path example = ExampleFile();
    std::error_code ec;
    if (!exampleFolder_.empty() && std::filesystem::is_regular_file(example, ec)) {
        try {
            std::ifstream in(example, std::ios::binary);
            if (in) {
                ReadProject(in);
                ClearIdentification();
                return;
            }
        } catch (const std::exception&) {
            // A broken example is no reason to refuse a new project.
        }
    }
    ApplyBuiltInDefaults();
}

void TMatData::ClearIdentification() {
    Organization.clear();
    ProjectName.clear();
    JobNumber.clear();
    DesignedBy.clear();
    Logo.reset();
    ProjectDate = TodayDate();
}

void TMatData::ApplyBuiltInDefaults() {
    ClearIdentification();
    SetUnitSystem(UnitSystem);
    ApplyBuiltInInputs();
}

void TMatData::ApplyBuiltInInputs() {
    // The English numbers read as SI would be no design at all (Fy 60 MPa);
    // the SI ones are their usual metric counterparts.
    const bool si = UnitSystem == UnitsSI;
    Shape = 0;
    StripWidth = StripLength = Thickness = ConcreteModulus = SubgradeModulus = 0;
    AllowableBearing = FullUniformLoad = 0;
    EffWidthPercent = 70;
    SoilTakesNoTension = 0;
    UserX.fill(0);
    DistLoads.fill({0, 0, 0, 0});
    PointLoads.fill({0, 0});
    Moments.fill({0, 0});
    Columns.fill({0, 0});
    UseReinforcement = 0;
    BarSystem = BarSystemUS;
    Fy = si ? 420 : 60;
    Fc = si ? 21 : 3;
    TopCover = BottomCover = si ? 50 : 2;
    // US bar #6, in SI by its metric number.
    TopBarSize = BottomBarSize = si ? 19 : 6;
    TopBarsOverride = BotBarsOverride = 0;
    ShearLoadFactor = MomentLoadFactor = 1.6L;
}

void TMatData::SetUnitSystem(uint8_t system) {
    UnitSystem = system;
    InputRanges = system == UnitsEnglish ? EnglishInputRanges() : SIInputRanges();
}

void TMatData::PrepareBarTable() {
    BarTable = MakeBarTable(BarSystem, UnitSystem);
}

const TBarRow& TMatData::FindBar(int32_t bar) const {
    return FindBarIn(BarTable, bar);
}

std::string TMatData::BarLabel(int32_t bar) const {
    return FormatBarLabel(BarSystem, UnitSystem, bar);
}

Real TMatData::ByUnits(double english, double si) const {
    return UnitSystem == UnitsSI ? si : english;
}

void TMatData::AssignLogo(const TJpegImage* picture) {
    Logo.reset();
    if (picture) Logo = *picture;
}

void TMatData::LoadLogoFromFile(const std::filesystem::path& fileName) {
    Logo.reset();
    Logo = TJpegImage::FromFile(fileName);
}

double TodayDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    using namespace std::chrono;
    const sys_days today{year{local.tm_year + 1900} / month{static_cast<unsigned>(local.tm_mon + 1)} /
                         day{static_cast<unsigned>(local.tm_mday)}};
    const sys_days epoch{year{1899} / December / day{30}};
    return static_cast<double>((today - epoch).count());
}

} // namespace slabwise
