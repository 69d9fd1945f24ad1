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
