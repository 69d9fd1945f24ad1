#include "model/MatData.h"
#include "support/TempFolder.h"
#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

using namespace slabwise;

namespace {

TEST(MatData, BuiltInDefaultsWithoutExample) {
    auto mat = slabwise::test::NewModel();
    EXPECT_EQ(mat->StripLength, 0);
    EXPECT_EQ(mat->EffWidthPercent, 70);
    EXPECT_EQ(mat->Fy, 60);
    EXPECT_EQ(mat->Fc, 3);
    EXPECT_EQ(mat->TopCover, 2);
    EXPECT_EQ(mat->BottomCover, 2);
    EXPECT_EQ(mat->TopBarSize, 6);
    EXPECT_EQ(mat->BottomBarSize, 6);
    EXPECT_EQ(mat->ShearLoadFactor, 1.6L);
    EXPECT_EQ(mat->MomentLoadFactor, 1.6L);
    EXPECT_EQ(mat->PointLoads[11].P, 0);
    EXPECT_FALSE(mat->Logo.has_value());
    EXPECT_EQ(mat->ProjectDate, TodayDate());
    EXPECT_EQ(mat->ProjectDate, std::floor(mat->ProjectDate));
}

TEST(MatData, NewProjectStartsFromTheExampleWithoutItsTexts) {
    slabwise::test::TTempFolder folder;
    {
        TMatData source{std::filesystem::path{}};
        source.StripLength = 42;
        source.Thickness = 1.75L;
        source.PointLoads[3] = {7, 90};
        source.Organization = "Somebody";
        source.ProjectName = "Their project";
        source.ProjectDate = 40000;
        source.SaveToFile(folder.Path() / "Example English Units.ksw");
    }
    TMatData mat{folder.Path()};
    EXPECT_EQ(mat.StripLength, 42);
    EXPECT_EQ(mat.Thickness, 1.75L);
    EXPECT_EQ(mat.PointLoads[3].P, 90);
    EXPECT_EQ(mat.Organization, "");
    EXPECT_EQ(mat.ProjectName, "");
    EXPECT_EQ(mat.ProjectDate, TodayDate());

    // The example of the other unit system is not there: built-in defaults.
    mat.SetUnitSystem(UnitsSI);
    mat.SetDefaults();
    EXPECT_EQ(mat.StripLength, 0);
    EXPECT_EQ(mat.UnitSystem, UnitsSI);
    EXPECT_EQ(mat.InputRange(5).Min, 2000);
}

TEST(MatData, BrokenExampleFallsBackToBuiltInDefaults) {
    slabwise::test::TTempFolder folder;
    std::ofstream(folder.Path() / "Example English Units.ksw") << "not a project";
    TMatData mat{folder.Path()};
    EXPECT_EQ(mat.StripLength, 0);
    EXPECT_EQ(mat.Fy, 60);
}

TEST(MatData, LogoIsOwnedAndReplaced) {
    TRgbPixels pixels{2, 2, std::vector<uint8_t>(12, 200)};
    const TJpegImage image = TJpegImage::FromPixels(pixels);
    auto mat = slabwise::test::NewModel();
    mat->AssignLogo(&image);
    ASSERT_TRUE(mat->Logo.has_value());
    EXPECT_EQ(mat->Logo->Width(), 2);
    mat->AssignLogo(nullptr);
    EXPECT_FALSE(mat->Logo.has_value());

    slabwise::test::TTempFolder folder;
    std::ofstream(folder.Path() / "logo.jpg") << "GIF89a";
    mat->AssignLogo(&image);
    EXPECT_THROW(mat->LoadLogoFromFile(folder.Path() / "logo.jpg"), EJpegError);
    EXPECT_FALSE(mat->Logo.has_value());
}

} // namespace
