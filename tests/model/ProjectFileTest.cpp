#include "model/ProjectFile.h"
#include "model/Extended80.h"
#include "model/MatData.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <csignal>
#include <cstring>
#include <fstream>
#include <functional>
#include <limits>
#include <locale>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace slabwise {
namespace {

namespace fs = std::filesystem;
using Limits = std::numeric_limits<Real>;
using test::TTempFolder;

std::string Save(const TMatData& m) {
    std::ostringstream out;
    m.SaveToStream(out);
    return out.str();
}

void Load(TMatData& m, const std::string& bytes) {
    std::istringstream in(bytes);
    m.LoadFromStream(in);
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

TJpegImage SmallLogo() {
    TRgbPixels pixels{6, 4, {}};
    for (int i = 0; i < 6 * 4; ++i) pixels.Rgb.insert(pixels.Rgb.end(), {200, uint8_t(10 * i), 40});
    return TJpegImage::FromPixels(pixels);
}

// Distinct values in every input field, including the awkward reals.
void FillInputs(TMatData& m) {
    m.Organization = "Kelvane Engineering";
    m.Logo = SmallLogo();
    m.ProjectName = "Warehouse mat, strip A";
    m.JobNumber = "J-2024-017";
    m.DesignedBy = "R. \xC9vora"; // single-byte code page text
    m.ProjectDate = 45123;
    m.SetUnitSystem(UnitsSI);
    m.Shape = 1;
    m.StripWidth = 3.25L;
    m.StripLength = 12.5L;
    m.Thickness = 0.6L;
    m.ConcreteModulus = 24870.062L;
    m.SubgradeModulus = 26000;
    m.AllowableBearing = 150;
    m.FullUniformLoad = -0.0L;
    m.EffWidthPercent = Limits::quiet_NaN();
    for (size_t i = 0; i < m.UserX.size(); ++i) m.UserX[i] = 0.5L + static_cast<Real>(i);
    for (size_t i = 0; i < m.DistLoads.size(); ++i)
        m.DistLoads[i] = {Real(i), Real(i) + 1.5L, 10 + Real(i), 20 + Real(i)};
    for (size_t i = 0; i < m.PointLoads.size(); ++i) m.PointLoads[i] = {Real(i) / 3, 100 + Real(i)};
    for (size_t i = 0; i < m.Moments.size(); ++i) m.Moments[i] = {Real(i) * 2, -50 - Real(i)};
    m.PointLoads[11].P = Limits::denorm_min();
    m.Moments[3].M = -Limits::infinity();
    m.UseReinforcement = 1;
    m.BarSystem = BarSystemCanadian;
    m.Fy = 400;
    m.Fc = 25;
    m.TopCover = 75;
    m.TopBarSize = 20;
    m.TopBarsOverride = 9;
    m.BottomCover = 70;
    m.BottomBarSize = 25;
    m.BotBarsOverride = 11;
    m.ShearLoadFactor = 1.5L;
    m.MomentLoadFactor = Limits::max();
}

bool Same(Real a, Real b) {
    return EncodeExtended80(a) == EncodeExtended80(b);
}

#define EXPECT_SAME_REAL(field) EXPECT_TRUE(Same(actual.field, expected.field)) << #field
// Compares every input field, reals bit for bit so that NaN and -0 count.
void ExpectSameInputs(const TMatData& actual, const TMatData& expected) {
    EXPECT_EQ(actual.Organization, expected.Organization);
    EXPECT_EQ(actual.Logo, expected.Logo);
    EXPECT_EQ(actual.ProjectName, expected.ProjectName);
    EXPECT_EQ(actual.JobNumber, expected.JobNumber);
    EXPECT_EQ(actual.DesignedBy, expected.DesignedBy);
    EXPECT_EQ(std::bit_cast<uint64_t>(actual.ProjectDate), std::bit_cast<uint64_t>(expected.ProjectDate));
    EXPECT_EQ(actual.UnitSystem, expected.UnitSystem);
    EXPECT_EQ(actual.Shape, expected.Shape);
    EXPECT_SAME_REAL(StripWidth);
    EXPECT_SAME_REAL(StripLength);
    EXPECT_SAME_REAL(Thickness);
    EXPECT_SAME_REAL(ConcreteModulus);
    EXPECT_SAME_REAL(SubgradeModulus);
    EXPECT_SAME_REAL(AllowableBearing);
    EXPECT_SAME_REAL(FullUniformLoad);
    EXPECT_SAME_REAL(EffWidthPercent);
    for (size_t i = 0; i < UserPointCount; ++i) EXPECT_SAME_REAL(UserX[i]) << i;
    for (size_t i = 0; i < DistLoadCount; ++i) {
        EXPECT_SAME_REAL(DistLoads[i].b) << i;
        EXPECT_SAME_REAL(DistLoads[i].e) << i;
        EXPECT_SAME_REAL(DistLoads[i].wb) << i;
        EXPECT_SAME_REAL(DistLoads[i].we) << i;
    }
    for (size_t i = 0; i < PointLoadCount; ++i) {
        EXPECT_SAME_REAL(PointLoads[i].a) << i;
        EXPECT_SAME_REAL(PointLoads[i].P) << i;
        EXPECT_SAME_REAL(Columns[i].c1) << i;
        EXPECT_SAME_REAL(Columns[i].c2) << i;
    }
    for (size_t i = 0; i < MomentCount; ++i) {
        EXPECT_SAME_REAL(Moments[i].c) << i;
        EXPECT_SAME_REAL(Moments[i].M) << i;
    }
    EXPECT_EQ(actual.UseReinforcement, expected.UseReinforcement);
    EXPECT_EQ(actual.BarSystem, expected.BarSystem);
    EXPECT_SAME_REAL(Fy);
    EXPECT_SAME_REAL(Fc);
    EXPECT_SAME_REAL(TopCover);
    EXPECT_EQ(actual.TopBarSize, expected.TopBarSize);
    EXPECT_SAME_REAL(TopBarsOverride);
    EXPECT_SAME_REAL(BottomCover);
    EXPECT_EQ(actual.BottomBarSize, expected.BottomBarSize);
    EXPECT_SAME_REAL(BotBarsOverride);
    EXPECT_SAME_REAL(ShearLoadFactor);
    EXPECT_SAME_REAL(MomentLoadFactor);
}
#undef EXPECT_SAME_REAL

// Builds project files field by field, for versions and contents the writer
// never produces.
class TFileBuilder {
public:
    TFileBuilder& Header(std::string_view version, uint8_t signatureLength = 16,
                         std::string_view signature = "Kelvane Slabwise") {
        std::string header(64, '\0');
        header[0] = static_cast<char>(signatureLength);
        header.replace(1, signature.size(), signature);
        header[51] = static_cast<char>(version.size());
        header.replace(52, std::min<size_t>(version.size(), 12), version.substr(0, 12));
        bytes_ += header;
        return *this;
    }
    template <typename T> TFileBuilder& Int(T value) {
        for (size_t i = 0; i < sizeof(T); ++i)
            bytes_ += static_cast<char>(static_cast<uint64_t>(value) >> (8 * i) & 0xFF);
        return *this;
    }
    TFileBuilder& Double(double value) { return Int(std::bit_cast<uint64_t>(value)); }
    TFileBuilder& Ext(Real value) {
        const TExtended80 bytes = EncodeExtended80(value);
        bytes_.append(bytes.begin(), bytes.end());
        return *this;
    }
    TFileBuilder& Text(std::string_view text) {
        Int(static_cast<uint16_t>(text.size()));
        bytes_ += text;
        return *this;
    }
    TFileBuilder& Raw(std::string_view raw) {
        bytes_ += raw;
        return *this;
    }
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
};

struct TBodyOptions {
    double version = 0.5;
    int32_t userCount = 4, distCount = 6, pointCount = 12, momentCount = 4;
    uint16_t organizationLength = 0;
    uint8_t unitSystem = 0;
    int32_t shape = 1, barSystem = 1;
};

// A complete body with recognisable values: 1xx for geometry, 2xx for loads,
// 3xx for reinforcement.
std::string BuildFile(const std::string& versionText, const TBodyOptions& o) {
    TFileBuilder b;
    b.Header(versionText);
    b.Int(o.organizationLength).Raw(std::string(o.organizationLength, 'o'));
    b.Int(int64_t{0}).Text("Project").Text("Job").Text("Designer").Double(44000).Int(o.unitSystem);
    if (o.version >= 0.4) b.Int(o.shape);
    b.Ext(101).Ext(102).Ext(103).Ext(104).Ext(105);
    if (o.version >= 0.3) b.Ext(106);
    b.Ext(107).Ext(108);
    // Hostile counts get one entry more than the model holds, not all they claim.
    auto entries = [](int32_t count, int32_t capacity) { return std::clamp(count, 0, capacity + 1); };
    b.Int(o.userCount);
    for (int i = 0; i < entries(o.userCount, 4); ++i) b.Ext(200 + i);
    b.Int(o.distCount);
    for (int i = 0; i < entries(o.distCount, 6); ++i) b.Ext(210 + i).Ext(220 + i).Ext(230 + i).Ext(240 + i);
    b.Int(o.pointCount);
    for (int i = 0; i < entries(o.pointCount, 12); ++i) b.Ext(250 + i).Ext(270 + i);
    b.Int(o.momentCount);
    for (int i = 0; i < entries(o.momentCount, 4); ++i) b.Ext(290 + i).Ext(295 + i);
    if (o.version >= 0.2) {
        b.Int(uint8_t{1}).Int(o.barSystem).Ext(301).Ext(302).Ext(303).Int(int32_t{304}).Ext(305).Ext(306);
        b.Int(int32_t{307}).Ext(308);
    }
    if (o.version >= 0.5) b.Ext(309).Ext(310);
    if (o.version >= 0.6) b.Int(uint8_t{1});
    if (o.version >= 0.7)
        for (int i = 0; i < 12; ++i) b.Ext(400 + i).Ext(420 + i);
    return b.Bytes();
}

class ProjectFile : public testing::Test {
protected:
    TTempFolder folder_;
    TTempFolder emptyExamples_;
    TMatData NewModel() const { return TMatData{emptyExamples_.Path()}; }
};

template <typename T> T At(const std::string& bytes, size_t offset) {
    T value{};
    uint64_t raw = 0;
    for (size_t i = sizeof(T); i-- > 0;) raw = raw << 8 | static_cast<uint8_t>(bytes.at(offset + i));
    std::memcpy(&value, &raw, sizeof(T));
    return value;
}

Real ExtAt(const std::string& bytes, size_t offset) {
    TExtended80 ext{};
    std::memcpy(ext.data(), bytes.substr(offset, 10).data(), 10);
    return DecodeExtended80(ext);
}

TEST_F(ProjectFile, MinimalFileHasTheDocumentedLayout) {
    TMatData m = NewModel();
    m.ProjectDate = 45000;
    m.SetUnitSystem(UnitsSI);
    m.Shape = 1;
    m.StripWidth = 2.5;
    m.AllowableBearing = 150;
    m.EffWidthPercent = 65;
    m.UserX[0] = 1.25;
    m.DistLoads[0].b = 0.75;
    m.PointLoads[0].a = 4;
    m.Moments[0].c = 7;
    m.UseReinforcement = 1;
    m.BarSystem = BarSystemEuropean;
    m.Fy = 500;
    m.TopBarSize = 16;
    m.BottomBarSize = 20;
    m.BotBarsOverride = 8;
    m.ShearLoadFactor = 1.4L;
    m.MomentLoadFactor = 1.5L;
    const std::string bytes = Save(m);
    ASSERT_EQ(bytes.size(), 882u);

    std::string header(64, '\0');
    header[0] = 16;
    header.replace(1, 16, "Kelvane Slabwise");
    header[51] = 3;
    header.replace(52, 3, "0.5");
    EXPECT_EQ(bytes.substr(0, 64), header);

    for (size_t textOffset : {64u, 74u, 76u, 78u})
        EXPECT_EQ(At<uint16_t>(bytes, textOffset), 0) << textOffset;
    EXPECT_EQ(At<int64_t>(bytes, 66), 0);
    EXPECT_EQ(At<double>(bytes, 80), 45000);
    EXPECT_EQ(At<uint8_t>(bytes, 88), UnitsSI);
    EXPECT_EQ(At<uint8_t>(bytes, 789), 1);
    const std::pair<size_t, int32_t> ints[] = {{89, 1},  {173, 4}, {217, 6},  {461, 12},
                                               {705, 4}, {790, 1}, {824, 16}, {848, 20}};
    for (auto [offset, value] : ints) EXPECT_EQ(At<int32_t>(bytes, offset), value) << offset;
    const std::pair<size_t, Real> exts[] = {{93, 2.5},   {143, 150}, {163, 65},  {177, 1.25}, {221, 0.75},
                                            {465, 4},    {709, 7},   {794, 500}, {852, 8},    {862, 1.4L},
                                            {872, 1.5L}, {103, 0},   {804, 3},   {814, 2}};
    for (auto [offset, value] : exts) EXPECT_EQ(ExtAt(bytes, offset), value) << offset;
}

TEST_F(ProjectFile, EveryInputSurvivesARoundTrip) {
    TMatData original = NewModel();
    FillInputs(original);
    TMatData reread = NewModel();
    Load(reread, Save(original));
    ExpectSameInputs(reread, original);
    EXPECT_EQ(reread.FileVersion, 0.5);
    // The unit system read also selects its input limits.
    EXPECT_EQ(reread.InputRanges[0].Max, SIInputRanges()[0].Max);
    EXPECT_EQ(Save(reread), Save(original));
}

TEST_F(ProjectFile, TextsAreCutAndEndAtZero) {
    struct TCase {
        std::string held, written, read;
    };
    const TCase cases[] = {
        {"", "", ""},
        {"Slab \xC4", "Slab \xC4", "Slab \xC4"},
        {std::string("ab\0cd", 5), std::string("ab\0cd", 5), "ab"},
        {std::string(255, 'x'), std::string(255, 'x'), std::string(255, 'x')},
        {std::string(300, 'y'), std::string(255, 'y'), std::string(255, 'y')},
    };
    for (const TCase& c : cases) {
        TMatData m = NewModel();
        m.ProjectName = c.held;
        const std::string bytes = Save(m);
        ASSERT_EQ(bytes.size(), 882 + c.written.size());
        EXPECT_EQ(At<uint16_t>(bytes, 74), c.written.size());
        EXPECT_EQ(bytes.substr(76, c.written.size()), c.written);
        TMatData reread = NewModel();
        Load(reread, bytes);
        EXPECT_EQ(reread.ProjectName, c.read);
        EXPECT_EQ(reread.JobNumber, "");
    }
}

// Fields newer than the file keep their new-project values, and the fields
// after them are still read from the right places.
TEST_F(ProjectFile, OlderVersionsSkipTheFieldsTheyLack) {
    for (const char* versionText : {"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0"}) {
        SCOPED_TRACE(versionText);
        const double version = std::strtod(versionText, nullptr);
        TMatData m = NewModel();
        FillInputs(m);
        m.SoilTakesNoTension = 1;
        m.Columns.fill({30, 40});
        Load(m, BuildFile(versionText, {.version = version}));
        EXPECT_EQ(m.FileVersion, version);
        EXPECT_EQ(m.ProjectName, "Project");
        EXPECT_EQ(m.Organization, "");
        EXPECT_FALSE(m.Logo);
        EXPECT_EQ(m.UnitSystem, UnitsEnglish);
        EXPECT_EQ(m.Shape, version >= 0.4 ? 1 : 0);
        EXPECT_EQ(m.StripWidth, 101);
        EXPECT_EQ(m.SubgradeModulus, 105);
        EXPECT_EQ(m.AllowableBearing, version >= 0.3 ? 106 : 0);
        EXPECT_EQ(m.FullUniformLoad, 107);
        EXPECT_EQ(m.EffWidthPercent, 108);
        EXPECT_EQ(m.UserX[3], 203);
        EXPECT_EQ(m.DistLoads[5].we, 245);
        EXPECT_EQ(m.PointLoads[11].P, 281);
        EXPECT_EQ(m.Moments[3].M, 298);
        const bool reinforcement = version >= 0.2;
        EXPECT_EQ(m.UseReinforcement, reinforcement ? 1 : 0);
        EXPECT_EQ(m.BarSystem, reinforcement ? 1 : 0);
        EXPECT_EQ(m.Fy, reinforcement ? 301 : 60);
        EXPECT_EQ(m.Fc, reinforcement ? 302 : 3);
        EXPECT_EQ(m.TopCover, reinforcement ? 303 : 2);
        EXPECT_EQ(m.TopBarSize, reinforcement ? 304 : 6);
        EXPECT_EQ(m.TopBarsOverride, reinforcement ? 305 : 0);
        EXPECT_EQ(m.BottomCover, reinforcement ? 306 : 2);
        EXPECT_EQ(m.BottomBarSize, reinforcement ? 307 : 6);
        EXPECT_EQ(m.BotBarsOverride, reinforcement ? 308 : 0);
        EXPECT_EQ(m.ShearLoadFactor, version >= 0.5 ? 309 : 1.6L);
        EXPECT_EQ(m.MomentLoadFactor, version >= 0.5 ? 310 : 1.6L);
        EXPECT_EQ(m.SoilTakesNoTension, version >= 0.6 ? 1 : 0);
        // A file before 0.7 has no columns.
        for (int i = 0; i < PointLoadCount; ++i) {
            EXPECT_EQ(m.Columns[i].c1, version >= 0.7 ? 400 + i : 0) << i;
            EXPECT_EQ(m.Columns[i].c2, version >= 0.7 ? 420 + i : 0) << i;
        }
    }
}

// The lowest version that holds the project is written: 0.5, 0.6 for the
// soil flag, 0.7 for any column size, which follow the flag as twelve pairs
// of extended reals and read back bit for bit.
TEST_F(ProjectFile, ColumnSizesNeedVersion07) {
    struct TCase {
        const char* name;
        uint8_t soil;
        int column; // -1 for none
        TColumn size;
        const char* version;
        size_t length;
    };
    const TCase cases[] = {
        {"nothing new", 0, -1, {0, 0}, "0.5", 882},
        {"soil flag", 1, -1, {0, 0}, "0.6", 883},
        {"a column", 0, 4, {18, 24}, "0.7", 883 + 240},
        {"soil flag and a column", 1, 11, {600, 450.5L}, "0.7", 883 + 240},
        {"c1 alone still written", 0, 0, {12, 0}, "0.7", 883 + 240},
        {"c2 alone still written", 0, 0, {0, 12}, "0.7", 883 + 240},
        {"NaN kept", 0, 3, {Limits::quiet_NaN(), 16}, "0.7", 883 + 240},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TMatData m = NewModel();
        FillInputs(m);
        m.SoilTakesNoTension = c.soil;
        if (c.column >= 0) m.Columns[static_cast<size_t>(c.column)] = c.size;
        const std::string bytes = Save(m);
        ASSERT_EQ(bytes.size(), c.length + m.Organization.size() + m.ProjectName.size() + m.JobNumber.size() +
                                    m.DesignedBy.size() + m.Logo->Bytes().size());
        EXPECT_EQ(bytes.substr(51, 4), std::string("\x03") + c.version);
        if (c.column >= 0) {
            const size_t first = bytes.size() - 240 + 20 * static_cast<size_t>(c.column);
            EXPECT_TRUE(Same(ExtAt(bytes, first), c.size.c1));
            EXPECT_TRUE(Same(ExtAt(bytes, first + 10), c.size.c2));
            EXPECT_EQ(bytes[bytes.size() - 241], static_cast<char>(c.soil));
        }
        TMatData reread = NewModel();
        reread.Columns.fill({7, 7});
        Load(reread, bytes);
        EXPECT_EQ(reread.FileVersion, std::strtod(c.version, nullptr));
        ExpectSameInputs(reread, m);
        EXPECT_EQ(reread.SoilTakesNoTension, c.soil);
        EXPECT_EQ(Save(reread), bytes);
    }
}

// A 0.7 file cut inside its columns keeps the rest at no column and names
// them as not read; as in every pair of the file, a size read whole before
// the cut stays.
TEST_F(ProjectFile, CutColumnsAreReportedUnread) {
    TMatData m = NewModel();
    m.Columns.fill({20, 30});
    const std::string bytes = Save(m);
    TMatData reread = NewModel();
    // Cut 15 bytes into the third pair: two whole pairs of 20 bytes, then c1.
    std::istringstream in(bytes.substr(0, bytes.size() - 240 + 55));
    const TReadReport report = reread.LoadFromStream(in);
    EXPECT_EQ(reread.Columns[1].c2, 30);
    EXPECT_EQ(reread.Columns[2].c1, 20);
    EXPECT_EQ(reread.Columns[2].c2, 0);
    EXPECT_EQ(reread.Columns[3].c1, 0);
    EXPECT_EQ(reread.Columns[11].c2, 0);
    ASSERT_EQ(report.NotRead.size(), 10u);
    EXPECT_EQ(report.NotRead.front(), "Column of point load #3");
    EXPECT_EQ(report.NotRead.back(), "Column of point load #12");
    EXPECT_TRUE(report.NotInVersion.empty());
}

TEST_F(ProjectFile, ShortArraysLeaveTheRestAtNewProjectValues) {
    struct TCase {
        int32_t users, dists, points, moments;
    };
    for (const TCase c : {TCase{4, 6, 3, 4}, TCase{0, 0, 0, 0}, TCase{2, 1, 12, 3}}) {
        SCOPED_TRACE(testing::Message() << c.users << ' ' << c.dists << ' ' << c.points << ' ' << c.moments);
        TMatData m = NewModel();
        FillInputs(m);
        Load(m, BuildFile("0.5", {.userCount = c.users,
                                  .distCount = c.dists,
                                  .pointCount = c.points,
                                  .momentCount = c.moments}));
        for (int i = 0; i < UserPointCount; ++i) EXPECT_EQ(m.UserX[i], i < c.users ? 200 + i : 0) << i;
        for (int i = 0; i < DistLoadCount; ++i) {
            EXPECT_EQ(m.DistLoads[i].b, i < c.dists ? 210 + i : 0) << i;
            EXPECT_EQ(m.DistLoads[i].we, i < c.dists ? 240 + i : 0) << i;
        }
        for (int i = 0; i < PointLoadCount; ++i) {
            EXPECT_EQ(m.PointLoads[i].a, i < c.points ? 250 + i : 0) << i;
            EXPECT_EQ(m.PointLoads[i].P, i < c.points ? 270 + i : 0) << i;
        }
        for (int i = 0; i < MomentCount; ++i) EXPECT_EQ(m.Moments[i].M, i < c.moments ? 295 + i : 0) << i;
        EXPECT_EQ(m.Fy, 301);
        EXPECT_EQ(m.MomentLoadFactor, 310);
    }
}

// A refused header leaves the model exactly as it was.
TEST_F(ProjectFile, RefusedHeadersLeaveTheModelUntouched) {
    const std::string valid = BuildFile("0.5", {});
    auto withHeader = [&](std::string_view version, uint8_t length = 16,
                          std::string_view signature = "Kelvane Slabwise") {
        TFileBuilder b;
        b.Header(version, length, signature);
        return b.Bytes() + valid.substr(64);
    };
    std::string longVersion = valid;
    longVersion[51] = 13;
    const std::pair<const char*, std::string> cases[] = {
        {"length 15", withHeader("0.5", 15)},
        {"length 17", withHeader("0.5", 17)},
        {"wrong signature", withHeader("0.5", 16, "Kelvane Slabwisf")},
        {"other product", withHeader("0.5", 16, "Kelvane Footings")},
        {"newer version", withHeader("0.8")},
        {"much newer", withHeader("1.0")},
        {"letters", withHeader("abc")},
        {"trailing junk", withHeader("0.5x")},
        {"comma", withHeader("0,5")},
        {"nan", withHeader("nan")},
        {"empty version", withHeader("")},
        {"version too long", longVersion},
        {"short header", valid.substr(0, 63)},
        {"empty", ""},
        {"not a project", std::string(900, 'A')},
    };
    TMatData m = NewModel();
    FillInputs(m);
    m.FileVersion = 0.25;
    const TMatData before = m;
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        try {
            Load(m, bytes);
            ADD_FAILURE() << "accepted";
        } catch (const EWrongFileFormat& e) {
            EXPECT_STREQ(e.what(), "Wrong file format");
        }
        ExpectSameInputs(m, before);
        EXPECT_EQ(m.FileVersion, 0.25);
    }
}

// Contents the model has no room for, or values the program does not know,
// are refused.
TEST_F(ProjectFile, RefusesContentsBeyondTheModel) {
    const std::pair<const char*, TBodyOptions> cases[] = {
        {"user points 5", {.userCount = 5}},
        {"dist loads 7", {.distCount = 7}},
        {"point loads 13", {.pointCount = 13}},
        {"point loads -1", {.pointCount = -1}},
        {"moments 5", {.momentCount = 5}},
        {"moments huge", {.momentCount = INT32_MAX}},
        {"text 256", {.organizationLength = 256}},
        {"text 65535", {.organizationLength = 65535}},
        {"unit system 2", {.unitSystem = 2}},
        {"shape 2", {.shape = 2}},
        {"shape -1", {.shape = -1}},
        {"bar system 3", {.barSystem = 3}},
        {"bar system -1", {.barSystem = -1}},
    };
    for (const auto& [name, options] : cases) {
        SCOPED_TRACE(name);
        TMatData m = NewModel();
        EXPECT_THROW(Load(m, BuildFile("0.5", options)), EWrongFileFormat);
    }
}

TEST_F(ProjectFile, CommaDecimalLocaleStillReadsVersions) {
    struct TCommaPoint : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };
    const std::locale previous = std::locale::global(std::locale(std::locale::classic(), new TCommaPoint));
    TMatData original = NewModel();
    FillInputs(original);
    const std::string savedUnderComma = Save(original);
    TMatData reread = NewModel();
    EXPECT_NO_THROW(Load(reread, savedUnderComma));
    ExpectSameInputs(reread, original);
    EXPECT_NO_THROW(Load(reread, BuildFile("0.3", {.version = 0.3})));
    EXPECT_EQ(reread.FileVersion, 0.3);
    std::locale::global(previous);
    EXPECT_EQ(savedUnderComma, Save(original));
}

// The position in the file of every input, with a copy that makes an
// expected model hold the saved value of that field.
struct TFieldSpan {
    size_t end;
    std::function<void(const TMatData& from, TMatData& to)> copy;
};

std::vector<TFieldSpan> Layout(const TMatData& m) {
    std::vector<TFieldSpan> fields;
    size_t at = 64;
    auto add = [&](size_t size, std::function<void(const TMatData&, TMatData&)> copy) {
        at += size;
        fields.push_back({at, std::move(copy)});
    };
    auto nothing = [](const TMatData&, TMatData&) {};
#define FIELD(size, member) add(size, [](const TMatData& f, TMatData& t) { t.member = f.member; })
    FIELD(2 + m.Organization.size(), Organization);
    FIELD(8 + m.Logo->Bytes().size(), Logo);
    FIELD(2 + m.ProjectName.size(), ProjectName);
    FIELD(2 + m.JobNumber.size(), JobNumber);
    FIELD(2 + m.DesignedBy.size(), DesignedBy);
    FIELD(8, ProjectDate);
    // Every field after the unit system starts from that system's built-in value.
    add(1, [](const TMatData& f, TMatData& t) {
        t.SetUnitSystem(f.UnitSystem);
        t.ApplyBuiltInInputs();
    });
    FIELD(4, Shape);
    FIELD(10, StripWidth);
    FIELD(10, StripLength);
    FIELD(10, Thickness);
    FIELD(10, ConcreteModulus);
    FIELD(10, SubgradeModulus);
    FIELD(10, AllowableBearing);
    FIELD(10, FullUniformLoad);
    FIELD(10, EffWidthPercent);
    add(4, nothing);
    for (size_t i = 0; i < UserPointCount; ++i)
        add(10, [i](const TMatData& f, TMatData& t) { t.UserX[i] = f.UserX[i]; });
    add(4, nothing);
    for (size_t i = 0; i < DistLoadCount; ++i) {
        add(10, [i](const TMatData& f, TMatData& t) { t.DistLoads[i].b = f.DistLoads[i].b; });
        add(10, [i](const TMatData& f, TMatData& t) { t.DistLoads[i].e = f.DistLoads[i].e; });
        add(10, [i](const TMatData& f, TMatData& t) { t.DistLoads[i].wb = f.DistLoads[i].wb; });
        add(10, [i](const TMatData& f, TMatData& t) { t.DistLoads[i].we = f.DistLoads[i].we; });
    }
    add(4, nothing);
    for (size_t i = 0; i < PointLoadCount; ++i) {
        add(10, [i](const TMatData& f, TMatData& t) { t.PointLoads[i].a = f.PointLoads[i].a; });
        add(10, [i](const TMatData& f, TMatData& t) { t.PointLoads[i].P = f.PointLoads[i].P; });
    }
    add(4, nothing);
    for (size_t i = 0; i < MomentCount; ++i) {
        add(10, [i](const TMatData& f, TMatData& t) { t.Moments[i].c = f.Moments[i].c; });
        add(10, [i](const TMatData& f, TMatData& t) { t.Moments[i].M = f.Moments[i].M; });
    }
    FIELD(1, UseReinforcement);
    FIELD(4, BarSystem);
    FIELD(10, Fy);
    FIELD(10, Fc);
    FIELD(10, TopCover);
    FIELD(4, TopBarSize);
    FIELD(10, TopBarsOverride);
    FIELD(10, BottomCover);
    FIELD(4, BottomBarSize);
    FIELD(10, BotBarsOverride);
    FIELD(10, ShearLoadFactor);
    FIELD(10, MomentLoadFactor);
#undef FIELD
    return fields;
}

// However early a file ends, reading it never fails after the header, and
// exactly the fields that lie wholly before the end are taken from it.
TEST_F(ProjectFile, TruncatedFilesKeepNewProjectValuesBeyondTheCut) {
    TMatData original = NewModel();
    FillInputs(original);
    const std::string bytes = Save(original);
    const std::vector<TFieldSpan> layout = Layout(original);
    ASSERT_EQ(layout.back().end, bytes.size());
    const TMatData fresh = NewModel();

    TMatData m = NewModel();
    for (size_t length = 0; length < bytes.size(); ++length) {
        SCOPED_TRACE(length);
        // An SI project open before leaves nothing behind: a file read starts
        // from the built-in English project until its unit system is read.
        FillInputs(m);
        if (length < 64) {
            EXPECT_THROW(Load(m, bytes.substr(0, length)), EWrongFileFormat);
            continue;
        }
        ASSERT_NO_THROW(Load(m, bytes.substr(0, length)));
        TMatData expected = fresh;
        for (const TFieldSpan& field : layout)
            if (field.end <= length) field.copy(original, expected);
        ExpectSameInputs(m, expected);
        if (testing::Test::HasFailure()) break;
    }
}

// A stream that cannot seek, as a pipe would be.
class TForwardOnlyBuffer : public std::streambuf {
public:
    explicit TForwardOnlyBuffer(std::string bytes) : bytes_(std::move(bytes)) {
        setg(bytes_.data(), bytes_.data(), bytes_.data() + bytes_.size());
    }

private:
    std::string bytes_;
};

TEST_F(ProjectFile, LogoBlockSizes) {
    const TJpegImage logo = SmallLogo();
    auto fileWithLogo = [&](int64_t size, std::string_view logoBytes) {
        TFileBuilder b;
        b.Header("0.5").Text("Org").Int(size).Raw(logoBytes).Text("Project");
        return b.Bytes();
    };
    const std::string jpeg(logo.Bytes().begin(), logo.Bytes().end());
    const auto ceiling = static_cast<int64_t>(MaxLogoBytes);
    struct TCase {
        const char* name;
        std::string bytes;
        bool hasLogo;
        std::string projectName; // read only when the logo block was complete
        const char* error;       // refused, whatever the stream, with this text
    };
    const TCase cases[] = {
        {"valid", fileWithLogo(static_cast<int64_t>(jpeg.size()), jpeg), true, "Project", nullptr},
        {"none", fileWithLogo(0, ""), false, "Project", nullptr},
        {"negative", fileWithLogo(-5, ""), false, "Project", nullptr},
        {"most negative", fileWithLogo(INT64_MIN, ""), false, "Project", nullptr},
        // The block ends one byte beyond the file, which then holds only the
        // 9 bytes of the project name after the logo.
        {"one byte beyond", fileWithLogo(static_cast<int64_t>(jpeg.size()) + 10, jpeg), false, "", nullptr},
        {"at the ceiling, beyond the file", fileWithLogo(ceiling, jpeg), false, "", nullptr},
        {"above the ceiling", fileWithLogo(ceiling + 1, jpeg + std::string(MaxLogoBytes, '\0')), false, "",
         "JPEG file of 16777217 bytes is larger than the 16 MiB a logo may have"},
        {"a terabyte", fileWithLogo(int64_t{1} << 40, jpeg), false, "",
         "JPEG file of 1099511627776 bytes is larger than the 16 MiB a logo may have"},
        {"largest", fileWithLogo(INT64_MAX, jpeg), false, "",
         "JPEG file of 9223372036854775807 bytes is larger than the 16 MiB a logo may have"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TMatData seekable = NewModel();
        TForwardOnlyBuffer buffer(c.bytes);
        std::istream forwardOnly(&buffer);
        TMatData streamed = NewModel();
        if (c.error) {
            for (const auto& load : std::initializer_list<std::function<void()>>{
                     [&] { Load(seekable, c.bytes); }, [&] { streamed.LoadFromStream(forwardOnly); }}) {
                try {
                    load();
                    ADD_FAILURE() << "accepted";
                } catch (const EJpegError& e) {
                    EXPECT_STREQ(e.what(), c.error);
                }
            }
            continue;
        }
        ASSERT_NO_THROW(Load(seekable, c.bytes));
        ASSERT_NO_THROW(streamed.LoadFromStream(forwardOnly));
        for (const TMatData* m : {&seekable, &streamed}) {
            EXPECT_EQ(m->Organization, "Org");
            EXPECT_EQ(m->Logo.has_value(), c.hasLogo);
            if (c.hasLogo) {
                EXPECT_EQ(*m->Logo, logo);
            }
            EXPECT_EQ(m->ProjectName, c.projectName);
        }
    }
}

// A pipe that never ends behind a logo size it cannot hold is refused before
// the reader takes more than the size field.
TEST_F(ProjectFile, EndlessPipeBehindAHugeLogoIsRefusedUnread) {
    class TEndlessBuffer : public std::streambuf {
    public:
        explicit TEndlessBuffer(std::string head) : head_(std::move(head)) {
            setg(head_.data(), head_.data(), head_.data() + head_.size());
        }
        size_t delivered = 0;

    private:
        int_type underflow() override {
            // Ends after all, so that a reader which takes the size at its
            // word fails this test instead of exhausting the machine.
            if (delivered >= (size_t{64} << 20)) return traits_type::eof();
            delivered += zeros_.size();
            setg(zeros_.data(), zeros_.data(), zeros_.data() + zeros_.size());
            return 0;
        }
        std::string head_;
        std::string zeros_ = std::string(4096, '\0');
    };
    TFileBuilder b;
    b.Header("0.5").Text("Org").Int(int64_t{1} << 40);
    TEndlessBuffer pipe(b.Bytes());
    std::istream in(&pipe);
    TMatData m = NewModel();
    EXPECT_THROW(m.LoadFromStream(in), EJpegError);
    EXPECT_EQ(pipe.delivered, 0u);
}

TEST_F(ProjectFile, LogoThatIsNotAJpegRaisesTheDecoderError) {
    TFileBuilder b;
    b.Header("0.5").Text("").Int(int64_t{4}).Raw("GIF8").Text("Project");
    TMatData m = NewModel();
    try {
        Load(m, b.Bytes());
        FAIL() << "accepted";
    } catch (const EJpegError& e) {
        EXPECT_NE(std::string(e.what()).find("Not a JPEG file"), std::string::npos) << e.what();
    }
}

TEST_F(ProjectFile, SavesToFilesAndReplacesThem) {
    const fs::path target = folder_.Path() / "strip.ksw";
    TMatData first = NewModel();
    first.StripLength = 10;
    first.SaveToFile(target);
    EXPECT_EQ(fs::file_size(target), 882u);

    TMatData second = NewModel();
    FillInputs(second);
    second.SaveToFile(target);
    EXPECT_EQ(folder_.Entries(), std::vector<fs::path>{"strip.ksw"});
    EXPECT_EQ(ReadFile(target), Save(second));

    TMatData reread = NewModel();
    reread.LoadFromFile(target);
    ExpectSameInputs(reread, second);
}

TEST_F(ProjectFile, NewFilesGetOrdinaryPermissionsAndReplacedFilesKeepTheirs) {
    const mode_t previousMask = ::umask(022);
    const TMatData m = NewModel();
    const fs::path fresh = folder_.Path() / "fresh.ksw";
    m.SaveToFile(fresh);
    EXPECT_EQ(fs::status(fresh).permissions(), fs::perms(0644));

    const fs::path kept = folder_.Path() / "private.ksw";
    m.SaveToFile(kept);
    fs::permissions(kept, fs::perms(0600));
    m.SaveToFile(kept);
    EXPECT_EQ(fs::status(kept).permissions(), fs::perms(0600));
    ::umask(previousMask);

    // Through a link the linked file is replaced and the link stays.
    const fs::path link = folder_.Path() / "link.ksw";
    fs::create_symlink(kept, link);
    TMatData changed = NewModel();
    changed.StripLength = 42;
    changed.SaveToFile(link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFile(kept), Save(changed));
}

TEST_F(ProjectFile, FailedSavesLeaveNothingBehind) {
    TMatData m = NewModel();
    FillInputs(m);
    const fs::path missingFolder = folder_.Path() / "missing" / "strip.ksw";
    const fs::path directory = folder_.Path() / "folder.ksw";
    fs::create_directory(directory);
    for (const fs::path& target : {missingFolder, directory}) {
        SCOPED_TRACE(target);
        try {
            m.SaveToFile(target);
            ADD_FAILURE() << "saved";
        } catch (const fs::filesystem_error& e) {
            EXPECT_EQ(e.path1(), target);
            EXPECT_NE(std::string(e.what()).find(target.string()), std::string::npos);
        }
    }
    EXPECT_EQ(folder_.Entries(), std::vector<fs::path>{"folder.ksw"});
    EXPECT_TRUE(fs::is_empty(directory));
}

// A write that fails part-way (here the file-size limit, which holds even for
// root) must leave the previous project intact.
TEST_F(ProjectFile, FailedWriteKeepsThePreviousFile) {
    const fs::path target = folder_.Path() / "strip.ksw";
    TMatData previous = NewModel();
    previous.StripLength = 8;
    previous.SaveToFile(target);
    const std::string before = ReadFile(target);

    TMatData m = NewModel();
    FillInputs(m);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previousLimit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previousLimit), 0);
    rlimit small = previousLimit;
    small.rlim_cur = 512;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    EXPECT_THROW(m.SaveToFile(target), fs::filesystem_error);
    ::setrlimit(RLIMIT_FSIZE, &previousLimit);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(ReadFile(target), before);
    EXPECT_EQ(folder_.Entries(), std::vector<fs::path>{"strip.ksw"});
}

// Runs save in a child process as an ordinary user, since root writes into
// any folder; 0 when it saved, 1 when it raised a file-system error.
int SaveAsUser(const std::function<void()>& save) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        int status = 0;
        try {
            save();
        } catch (const fs::filesystem_error&) {
            status = 1;
        } catch (...) {
            status = 2;
        }
        ::_exit(status);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// A folder the user may not write to cannot take a temporary file; a project
// in it that the user may write is rewritten in place, and only when the
// space for the new content is there.
TEST_F(ProjectFile, ReadOnlyFolderRewritesAWritableFileInPlace) {
    TMatData large = NewModel();
    FillInputs(large);
    TMatData small = NewModel();
    small.StripLength = 10;
    const fs::path folder = folder_.Path() / "locked";
    fs::create_directory(folder);
    const fs::path writable = folder / "writable.ksw", readOnly = folder / "read-only.ksw";
    large.SaveToFile(writable);
    large.SaveToFile(readOnly);
    fs::permissions(readOnly, fs::perms(0444));
    if (::geteuid() == 0) {
        for (const fs::path& file : {writable, readOnly}) ASSERT_EQ(::chown(file.c_str(), 65534, 65534), 0);
    }
    fs::permissions(folder_.Path(), fs::perms(0755));
    fs::permissions(folder, fs::perms(0555));

    // Shorter content than before: nothing of the old tail stays.
    EXPECT_EQ(SaveAsUser([&] { small.SaveToFile(writable); }), 0);
    EXPECT_EQ(ReadFile(writable), Save(small));
    // A size limit below the new content refuses the save before writing.
    EXPECT_EQ(SaveAsUser([&] {
                  std::signal(SIGXFSZ, SIG_IGN);
                  const rlimit limit{1000, 1000};
                  ::setrlimit(RLIMIT_FSIZE, &limit);
                  large.SaveToFile(writable);
              }),
              1);
    EXPECT_EQ(ReadFile(writable), Save(small));
    // A file the user may not write, or none yet: there is nowhere to write.
    EXPECT_EQ(SaveAsUser([&] { small.SaveToFile(readOnly); }), 1);
    EXPECT_EQ(ReadFile(readOnly), Save(large));
    EXPECT_EQ(SaveAsUser([&] { small.SaveToFile(folder / "new.ksw"); }), 1);

    const std::vector<fs::path> names{"read-only.ksw", "writable.ksw"};
    std::vector<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(folder)) entries.push_back(entry.path().filename());
    std::sort(entries.begin(), entries.end());
    EXPECT_EQ(entries, names);
    fs::permissions(folder, fs::perms(0755));
}

TEST_F(ProjectFile, StreamErrorsAreReported) {
    std::ostream broken(nullptr);
    EXPECT_THROW(NewModel().SaveToStream(broken), std::ios_base::failure);
    // A stream that asks for exceptions does not change what reading does.
    std::istringstream in(BuildFile("0.5", {}).substr(0, 500));
    in.exceptions(std::ios::eofbit | std::ios::failbit | std::ios::badbit);
    TMatData m = NewModel();
    EXPECT_NO_THROW(m.LoadFromStream(in));
    EXPECT_EQ(m.StripWidth, 101);
}

TEST_F(ProjectFile, UnopenableFilesRaiseFileSystemErrors) {
    TMatData m = NewModel();
    for (const fs::path& path : {folder_.Path() / "missing.ksw", folder_.Path()}) {
        SCOPED_TRACE(path);
        try {
            m.LoadFromFile(path);
            ADD_FAILURE() << "loaded";
        } catch (const fs::filesystem_error& e) {
            EXPECT_EQ(e.path1(), path);
        }
    }
}

// A new project is the example of its unit system without the example's
// texts, logo and date; without an example it is the built-in project, with
// nothing kept from the project before.
TEST_F(ProjectFile, NewProjectsStartFromTheExample) {
    TMatData example = NewModel();
    FillInputs(example);
    example.SetUnitSystem(UnitsEnglish);
    example.SaveToFile(folder_.Path() / "Example English Units.ksw");

    TMatData m{folder_.Path()};
    TMatData expected = example;
    expected.Organization = expected.ProjectName = expected.JobNumber = expected.DesignedBy = "";
    expected.Logo.reset();
    expected.ProjectDate = TodayDate();
    ExpectSameInputs(m, expected);
    EXPECT_EQ(m.ProjectDate, std::floor(m.ProjectDate)) << "a whole day";

    // New over an edited project brings the example back.
    m.StripLength = 99;
    m.ProjectName = "Edited";
    m.SetDefaults();
    ExpectSameInputs(m, expected);

    // A file older than the example takes the built-in values for what it
    // lacks, never the example's: a file reads the same wherever it is opened.
    Load(m, BuildFile("0.1", {.version = 0.1}));
    TMatData alone = NewModel();
    Load(alone, BuildFile("0.1", {.version = 0.1}));
    ExpectSameInputs(m, alone);
    EXPECT_EQ(m.Fy, 60);
    EXPECT_EQ(m.AllowableBearing, 0);
    EXPECT_EQ(m.Shape, 0);
    EXPECT_EQ(m.StripWidth, 101);
    EXPECT_EQ(m.ProjectName, "Project");

    // No SI example in this folder: the built-in project with the SI limits.
    m.SetUnitSystem(UnitsSI);
    m.SetDefaults();
    TMatData builtInSI = NewModel();
    builtInSI.SetUnitSystem(UnitsSI);
    builtInSI.ApplyBuiltInDefaults();
    ExpectSameInputs(m, builtInSI);
    EXPECT_EQ(m.UnitSystem, UnitsSI);
    EXPECT_EQ(m.InputRange(5).Min, 2000);
}

TEST_F(ProjectFile, BrokenExampleFallsBackToBuiltInDefaults) {
    const std::string broken[] = {
        "not a project at all",
        BuildFile("0.5", {.pointCount = 40}),
        BuildFile("0.5", {.organizationLength = 300}),
    };
    const fs::path example = folder_.Path() / "Example English Units.ksw";
    for (const std::string& bytes : broken) {
        WriteFile(example, bytes);
        const TMatData m{folder_.Path()};
        TMatData expected = NewModel();
        ExpectSameInputs(m, expected);
        EXPECT_EQ(m.StripWidth, 0);
        EXPECT_EQ(m.Fy, 60);
        EXPECT_EQ(m.ProjectDate, TodayDate());
    }
}

} // namespace
} // namespace slabwise
