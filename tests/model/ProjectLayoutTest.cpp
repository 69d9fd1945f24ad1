// The delivered projects as the file layout sees them: opened and saved again
// they come back byte for byte, in both versions the program writes.

#include "model/MatData.h"
#include "model/OpenProject.h"
#include "model/ProjectFile.h"

#include "support/TestModels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace slabwise {
namespace {

namespace fs = std::filesystem;
using test::NewModel;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Save(const TMatData& m) {
    std::ostringstream out;
    m.SaveToStream(out);
    return out.str();
}

// Where two files part, so that a failure names a byte offset rather than
// printing two whole files.
testing::AssertionResult SameBytes(const std::string& saved, const std::string& expected) {
    if (saved == expected) return testing::AssertionSuccess();
    const auto [at, _] = std::mismatch(saved.begin(), saved.end(), expected.begin(), expected.end());
    return testing::AssertionFailure() << "saved " << saved.size() << " bytes, expected " << expected.size()
                                       << "; first difference at byte " << (at - saved.begin());
}

std::vector<fs::path> DeliveredProjects() {
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(SLABWISE_SOURCE_DATA))
        if (entry.path().extension() == ".ksw") files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

// The reader alone, and the program's own way in with its input limits: a
// delivered project holds nothing either would change.
struct TOpening {
    const char* name;
    std::function<std::vector<std::string>(TMatData&, const fs::path&)> open;
};

const TOpening Openings[] = {
    {"LoadFromFile", [](TMatData& m, const fs::path& file) { return m.LoadFromFile(file).NotRead; }},
    {"OpenProject", [](TMatData& m, const fs::path& file) { return OpenProject(m, file).Lines(); }},
};

TEST(ProjectLayout, DeliveredProjectsSaveBackByteForByte) {
    const std::vector<fs::path> files = DeliveredProjects();
    ASSERT_GE(files.size(), 2u);
    for (const fs::path& file : files) {
        const std::string bytes = ReadFile(file);
        for (const TOpening& opening : Openings) {
            SCOPED_TRACE(file.filename().string() + " via " + opening.name);
            auto m = NewModel();
            EXPECT_EQ(opening.open(*m, file), std::vector<std::string>{});
            EXPECT_EQ(m->FileVersion, 0.5);
            EXPECT_TRUE(SameBytes(Save(*m), bytes));
        }
    }
}

// With the soil flag the file is the same layout under version 0.6 with the
// flag appended, and it too reads back to the same bytes.
TEST(ProjectLayout, SoilFlagVersionIsTheSameLayoutWithTheFlagAppended) {
    for (const fs::path& file : DeliveredProjects()) {
        SCOPED_TRACE(file.filename().string());
        std::string expected = ReadFile(file);
        expected.replace(52, 3, "0.6");
        expected.push_back('\x01');

        auto m = NewModel();
        m->LoadFromFile(file);
        m->SoilTakesNoTension = 1;
        const std::string bytes = Save(*m);
        EXPECT_TRUE(SameBytes(bytes, expected));

        auto back = NewModel();
        std::istringstream in(bytes);
        EXPECT_EQ(back->LoadFromStream(in).NotRead, std::vector<std::string>{});
        EXPECT_EQ(back->FileVersion, 0.6);
        EXPECT_EQ(back->SoilTakesNoTension, 1);
        EXPECT_TRUE(SameBytes(Save(*back), bytes));
    }
}

} // namespace
} // namespace slabwise
