// The window under the user's locale as a desktop session sets it: Qt's
// default locale and the process's C locale both from LANG.

#include "WindowFixture.h"

#include "support/ScopedUserLocale.h"
#include "support/TempFolder.h"

#include <QAction>

#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>

namespace slabwise::test {
namespace {

struct TLocaleCase {
    const char* name;
    const char* stripLength; // the English example's 48 ft
    const char* pointLoad;   // a typed load with its separator
    Real pointLoadValue;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const TLocaleCase& c, std::ostream* os) {
    *os << c.name;
}

class UserLocaleTest : public WindowTest, public testing::WithParamInterface<TLocaleCase> {
protected:
    void SetUp() override {
        locale_.emplace(GetParam().name);
        if (!locale_->Active())
            GTEST_SKIP() << GetParam().name << " is not installed (scripts/install-deps generates it)";
        WindowTest::SetUp();
    }
    void TearDown() override {
        WindowTest::TearDown();
        locale_.reset();
    }

    std::optional<TScopedUserLocale> locale_;
    TTempFolder folder_;
};

std::string Saved(const TMatData& m) {
    std::ostringstream out;
    m.SaveToStream(out);
    return out.str();
}

// Every box shows its value with the locale's separator, and a commit and a
// Save read every box back to the value it showed.
TEST_P(UserLocaleTest, ExampleSurvivesACommitAndASave) {
    const TLocaleCase& c = GetParam();
    EXPECT_EQ(Text("Edit1"), QString::fromUtf8(c.stripLength));
    const std::string opened = Saved(window->Model());

    Commit("Edit1", Text("Edit1"));
    EXPECT_EQ(window->Model().StripLength, 48);
    EXPECT_EQ(Saved(window->Model()), opened);

    Commit("EditPoint2p", QString::fromUtf8(c.pointLoad));
    EXPECT_EQ(window->Model().PointLoads[1].P, c.pointLoadValue);
    TMatData expected{std::filesystem::path{}};
    {
        std::istringstream in(opened);
        expected.LoadFromStream(in);
    }
    expected.PointLoads[1].P = c.pointLoadValue;

    const std::filesystem::path file = folder_.Path() / "strip.ksw";
    dialogs.SaveFiles = {QString::fromStdString(file.string())};
    Control<QAction>("ASave").trigger();
    std::ifstream in(file, std::ios::binary);
    const std::string written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(written, Saved(expected));
}

INSTANTIATE_TEST_SUITE_P(UserLocales, UserLocaleTest,
                         testing::Values(TLocaleCase{"C", "48.00", "1234.5", 1234.5L},
                                         TLocaleCase{"de_DE.UTF-8", "48,00", "1.234,5", 1234.5L},
                                         TLocaleCase{"fr_FR.UTF-8", "48,00", "1234,25", 1234.25L}),
                         [](const auto& info) { return LocaleTestName(info.param.name); });

} // namespace
} // namespace slabwise::test
