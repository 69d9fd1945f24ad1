#include "model/JpegImage.h"

#include "support/InflatedJpeg.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <jpeglib.h>

namespace slabwise {
namespace {

// A smooth gradient, which JPEG reproduces closely.
TRgbPixels Gradient(int width, int height) {
    TRgbPixels pixels{width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            pixels.Rgb.push_back(static_cast<uint8_t>(40 + 4 * x));
            pixels.Rgb.push_back(static_cast<uint8_t>(60 + 3 * y));
            pixels.Rgb.push_back(128);
        }
    return pixels;
}

int LargestDifference(const TRgbPixels& a, const TRgbPixels& b) {
    int largest = 0;
    for (size_t i = 0; i < a.Rgb.size(); ++i) largest = std::max(largest, std::abs(a.Rgb[i] - b.Rgb[i]));
    return largest;
}

// Encodes one flat colour with libjpeg directly, for colour spaces and modes
// the program itself never writes.
std::vector<uint8_t> EncodeFlat(J_COLOR_SPACE space, int components, std::vector<uint8_t> colour,
                                bool progressive) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = 16;
    cinfo.image_height = 8;
    cinfo.input_components = components;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    if (progressive) jpeg_simple_progression(&cinfo);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row;
    for (unsigned x = 0; x < cinfo.image_width; ++x) row.insert(row.end(), colour.begin(), colour.end());
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    jpeg_destroy_compress(&cinfo);
    std::free(buffer);
    return bytes;
}

using slabwise::test::TTempFolder;

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(JpegImage, EncodesAndDecodesPixels) {
    const TRgbPixels original = Gradient(24, 10);
    const TJpegImage image = TJpegImage::FromPixels(original);
    ASSERT_GE(image.Bytes().size(), 4u);
    EXPECT_EQ(image.Bytes()[0], 0xFF);
    EXPECT_EQ(image.Bytes()[1], 0xD8);
    EXPECT_EQ(image.Bytes()[image.Bytes().size() - 2], 0xFF);
    EXPECT_EQ(image.Bytes().back(), 0xD9);
    EXPECT_EQ(image.Width(), 24);
    EXPECT_EQ(image.Height(), 10);

    const TJpegImage reread = TJpegImage::FromJpegBytes(image.Bytes());
    EXPECT_EQ(reread, image);
    EXPECT_EQ(reread.Width(), 24);
    EXPECT_EQ(reread.Height(), 10);
    const TRgbPixels decoded = reread.Decode();
    ASSERT_EQ(decoded.Width, 24);
    ASSERT_EQ(decoded.Height, 10);
    ASSERT_EQ(decoded.Rgb.size(), original.Rgb.size());
    EXPECT_LE(LargestDifference(decoded, original), 12);
}

struct TColourCase {
    const char* name;
    J_COLOR_SPACE space;
    std::vector<uint8_t> stored;
    bool progressive;
    std::vector<uint8_t> rgb;
};
// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TColourCase& c, std::ostream* os) {
    *os << c.name;
}

class JpegColours : public testing::TestWithParam<TColourCase> {};

TEST_P(JpegColours, DecodeToRgb) {
    const TColourCase& c = GetParam();
    const TJpegImage image = TJpegImage::FromJpegBytes(
        EncodeFlat(c.space, static_cast<int>(c.stored.size()), c.stored, c.progressive));
    const TRgbPixels pixels = image.Decode();
    ASSERT_EQ(pixels.Width, 16);
    ASSERT_EQ(pixels.Height, 8);
    ASSERT_EQ(pixels.Rgb.size(), 16u * 8 * 3);
    for (size_t i = 0; i < pixels.Rgb.size(); ++i)
        ASSERT_NEAR(pixels.Rgb[i], c.rgb[i % 3], 3) << "byte " << i;
}

INSTANTIATE_TEST_SUITE_P(
    Spaces, JpegColours,
    testing::Values(TColourCase{"Gray", JCS_GRAYSCALE, {90}, false, {90, 90, 90}},
                    TColourCase{"Rgb", JCS_RGB, {200, 30, 70}, false, {200, 30, 70}},
                    TColourCase{"Progressive", JCS_RGB, {10, 220, 100}, true, {10, 220, 100}},
                    // libjpeg marks CMYK with the Adobe marker, whose convention is
                    // inverted ink: this is pure red.
                    TColourCase{"AdobeCmyk", JCS_CMYK, {255, 0, 0, 255}, false, {255, 0, 0}}),
    [](const testing::TestParamInfo<TColourCase>& info) { return std::string(info.param.name); });

struct TBadBytesCase {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* message; // part of libjpeg's text
};
void PrintTo(const TBadBytesCase& c, std::ostream* os) {
    *os << c.name;
}

class JpegBadBytes : public testing::TestWithParam<TBadBytesCase> {};

TEST_P(JpegBadBytes, RaiseTheLibraryMessage) {
    const TBadBytesCase& c = GetParam();
    try {
        TJpegImage::FromJpegBytes(c.bytes);
        FAIL() << "no error";
    } catch (const EJpegError& e) {
        EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
    }
}

std::vector<uint8_t> CutAfter(size_t size) {
    std::vector<uint8_t> bytes = TJpegImage::FromPixels(Gradient(8, 8)).Bytes();
    bytes.resize(size);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, JpegBadBytes,
    testing::Values(
        TBadBytesCase{"Png", {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A}, "Not a JPEG file: starts with 0x89 0x50"},
        TBadBytesCase{"Empty", {}, "Empty input file"},
        TBadBytesCase{"HeaderCut", CutAfter(30), "JPEG datastream contains no image"}),
    [](const testing::TestParamInfo<TBadBytesCase>& info) { return std::string(info.param.name); });

// A header that claims a huge picture is refused before anything of that
// size is allocated.
TEST(JpegImage, RefusesAbsurdDimensions) {
    std::vector<uint8_t> bytes = TJpegImage::FromPixels(Gradient(8, 8)).Bytes();
    size_t sof = 0;
    for (size_t i = 2; i + 8 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            sof = i;
            break;
        }
    ASSERT_NE(sof, 0u);
    // Height then width, big-endian, after the marker, length and precision.
    for (size_t at : {sof + 5, sof + 7}) {
        bytes[at] = 0xC3;
        bytes[at + 1] = 0x50; // 50000
    }
    try {
        TJpegImage::FromJpegBytes(bytes);
        FAIL() << "no error";
    } catch (const EJpegError& e) {
        EXPECT_STREQ(e.what(), "JPEG image is too large: 50000 x 50000 pixels");
    }
}

// Every scan costs a pass over the image, so a file that repeats one scan
// hundreds of times is refused rather than decoded at length.
TEST(JpegImage, RefusesEndlessProgressiveScans) {
    const std::vector<uint8_t> progressive = EncodeFlat(JCS_RGB, 3, {10, 20, 30}, true);
    size_t lastScan = 0;
    for (size_t i = 0; i + 1 < progressive.size(); ++i)
        if (progressive[i] == 0xFF && progressive[i + 1] == 0xDA) lastScan = i;
    ASSERT_NE(lastScan, 0u);
    const size_t end = progressive.size() - 2; // the end-of-image marker
    std::vector<uint8_t> bytes(progressive.begin(), progressive.begin() + static_cast<ptrdiff_t>(end));
    for (int i = 0; i < 600; ++i)
        bytes.insert(bytes.end(), progressive.begin() + static_cast<ptrdiff_t>(lastScan),
                     progressive.begin() + static_cast<ptrdiff_t>(end));
    bytes.insert(bytes.end(), {0xFF, 0xD9});
    try {
        TJpegImage::FromJpegBytes(bytes);
        FAIL() << "no error";
    } catch (const EJpegError& e) {
        EXPECT_STREQ(e.what(), "JPEG image has more than 64 scans");
    }
}

#if defined(__SANITIZE_ADDRESS__)
#define SLABWISE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SLABWISE_ADDRESS_SANITIZER 1
#endif
#endif

// A few kilobytes that claim the largest picture and the most scans a logo
// may have cost what such a logo costs, and one step beyond is refused.
// Each runs in a child whose address space may grow by 256 MB at most and
// whose CPU time is capped far above the real cost, as a guard against hangs.
TEST(JpegImage, HostileLogosDecodeInBoundedMemory) {
#ifdef SLABWISE_ADDRESS_SANITIZER
    GTEST_SKIP() << "the address sanitizer reserves more address space than the cap";
#endif
    struct TCase {
        const char* name;
        unsigned width, height;
        int scans, components;
        const char* error; // null: decodes
    };
    const TCase cases[] = {
        {"largest YCbCr", 4096, 1024, 64, 3, nullptr},
        {"largest CMYK", 2048, 2048, 64, 4, nullptr},
        {"one scan more", 4096, 1024, 65, 3, "JPEG image has more than 64 scans"},
        {"larger picture", 4096, 1025, 10, 3, "JPEG image is too large: 4096 x 1025 pixels"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<uint8_t> bytes =
            test::InflatedProgressiveJpeg(c.width, c.height, c.scans, c.components);
        ASSERT_LT(bytes.size(), 16'000u);
        const pid_t child = ::fork();
        if (child == 0) {
            long pages = 0;
            if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
                if (std::fscanf(statm, "%ld", &pages) != 1) pages = 0;
                std::fclose(statm);
            }
            const rlim_t used = static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
            const rlimit memory{used + (rlim_t{256} << 20), used + (rlim_t{256} << 20)};
            const rlimit cpu{20, 20};
            if (pages == 0 || ::setrlimit(RLIMIT_AS, &memory) != 0 || ::setrlimit(RLIMIT_CPU, &cpu) != 0)
                ::_exit(3);
            try {
                const TJpegImage image = TJpegImage::FromJpegBytes(bytes);
                const TRgbPixels pixels = image.Decode();
                const bool whole = pixels.Width == static_cast<int>(c.width) &&
                                   pixels.Height == static_cast<int>(c.height) &&
                                   pixels.Rgb.size() == size_t{c.width} * c.height * 3;
                ::_exit(c.error == nullptr && whole ? 0 : 1);
            } catch (const EJpegError& e) {
                ::_exit(c.error != nullptr && std::string(e.what()) == c.error ? 0 : 2);
            } catch (...) {
                ::_exit(4);
            }
        }
        ASSERT_GT(child, 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
        EXPECT_EQ(WEXITSTATUS(status), 0) << "1 wrong picture, 2 other error, 3 no cap, 4 out of memory";
    }
}

TEST(JpegImage, RefusesPixelsItCannotEncode) {
    EXPECT_THROW(TJpegImage::FromPixels(TRgbPixels{2, 2, std::vector<uint8_t>(11)}), std::invalid_argument);
    EXPECT_THROW(TJpegImage::FromPixels(TRgbPixels{0, 0, {}}), std::invalid_argument);
    EXPECT_THROW(TJpegImage::FromPixels(TRgbPixels{70000, 1, std::vector<uint8_t>(210000)}), EJpegError);
}

TEST(JpegImage, ReadsFiles) {
    const TTempFolder folder;
    const TJpegImage image = TJpegImage::FromPixels(Gradient(8, 4));
    WriteFile(folder.Path() / "logo.jpg", image.Bytes());
    EXPECT_EQ(TJpegImage::FromFile(folder.Path() / "logo.jpg"), image);

    WriteFile(folder.Path() / "logo.txt", {'h', 'e', 'l', 'l', 'o'});
    EXPECT_THROW(TJpegImage::FromFile(folder.Path() / "logo.txt"), EJpegError);

    for (const std::filesystem::path& path : {folder.Path() / "missing.jpg", folder.Path()}) {
        try {
            TJpegImage::FromFile(path);
            FAIL() << "no error for " << path;
        } catch (const std::filesystem::filesystem_error& e) {
            EXPECT_EQ(e.path1(), path);
            EXPECT_NE(std::string(e.what()).find(path.string()), std::string::npos);
        }
    }
}

} // namespace
} // namespace slabwise
