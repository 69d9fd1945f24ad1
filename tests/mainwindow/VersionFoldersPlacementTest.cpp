// Start-up and settings: window placement in the per-user settings, the
// product folders, the program's version record, a start without example
// projects, and the enlarged-picture window.

#include "WindowFixture.h"

#include "VersionFoldersPlacement.h"
#include "support/TempFolder.h"

#include <QDir>
#include <QFileInfo>

#include <fstream>

namespace slabwise::test {
namespace {

QSettings Settings() {
    return QSettings{QStringLiteral("Kelvane"), QStringLiteral("Slabwise")};
}

class PlacementTest : public ::testing::Test {
protected:
    // Test processes run side by side; each keeps its settings apart.
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           QString::fromStdString(settingsFolder.Path().string()));
        Settings().remove(QStringLiteral("WinPos"));
    }
    void TearDown() override { Settings().remove(QStringLiteral("WinPos")); }
    QVariant Stored(const char* key) {
        return Settings().value(QStringLiteral("WinPos/") + QLatin1String(key));
    }
    TTempFolder settingsFolder;
    TScriptedDialogs dialogs;
};

TEST_F(PlacementTest, FirstRunUsesTheDesignedPlacementAndStoresAllFiveValues) {
    {
        TfrmMain window(dialogs);
        EXPECT_EQ(window.size(), QSize(1084, 620));
        EXPECT_EQ(window.minimumSize(), QSize(1050, 589));
    }
    EXPECT_EQ(Stored("WinState").toInt(), 0);
    EXPECT_EQ(Stored("Width").toInt(), 1084);
    EXPECT_EQ(Stored("Height").toInt(), 620);
    EXPECT_TRUE(Stored("Left").isValid());
    EXPECT_TRUE(Stored("Top").isValid());
}

TEST_F(PlacementTest, PlacementIsRestoredAndAMaximisedExitKeepsTheNormalRectangle) {
    {
        TfrmMain window(dialogs);
        window.move(120, 80);
        window.resize(1200, 700);
    }
    {
        TfrmMain window(dialogs);
        EXPECT_EQ(window.pos(), QPoint(120, 80));
        EXPECT_EQ(window.size(), QSize(1200, 700));
        window.resize(1100, 650);
        window.setWindowState(Qt::WindowMaximized);
    }
    EXPECT_EQ(Stored("WinState").toInt(), 2);
    EXPECT_EQ(Stored("Width").toInt(), 1200);
    EXPECT_EQ(Stored("Height").toInt(), 700);
    {
        TfrmMain window(dialogs);
        EXPECT_TRUE(window.windowState().testFlag(Qt::WindowMaximized));
        window.setWindowState(Qt::WindowNoState);
    }
    // A missing value leaves the designed one, value by value.
    Settings().remove(QStringLiteral("WinPos/Width"));
    TfrmMain window(dialogs);
    EXPECT_EQ(window.size(), QSize(1084, 700));
}

TEST(Version, RunningProgramCarriesTheProjectVersion) {
    const TFileVersion version = GetFileVersion("/proc/self/exe");
    EXPECT_EQ(version, (TFileVersion{1, 0, 0, 0}));
    EXPECT_EQ(GetVersionText(), QStringLiteral("1.0.0"));
}

TEST(Version, ReadsTheRecordOfAnotherFileAndRefusesAFileWithout) {
    TTempFolder folder;
    const auto program = folder.Path() / "program";
    {
        std::ofstream out(program, std::ios::binary);
        // The record straddles the first megabyte boundary of the reader.
        out << std::string((1 << 20) - 10, '\0') << VersionRecordBytes({1, 0, 2, 0}) << "tail";
    }
    EXPECT_EQ(GetFileVersion(program), (TFileVersion{1, 0, 2, 0}));
    EXPECT_EQ(GetVersionText(program), QStringLiteral("1.0.2"));
    for (const char* name : {"plain.txt", "missing"}) {
        const auto path = folder.Path() / name;
        if (std::string(name) == "plain.txt") std::ofstream(path) << "no version here";
        try {
            GetFileVersion(path);
            ADD_FAILURE() << name;
        } catch (const std::runtime_error& error) {
            EXPECT_EQ(std::string(error.what()), "Can't get file version information for " + path.string());
        }
    }
}

TEST(Folders, ProductFoldersAreCreatedUnderTheUsersFolders) {
    const QString documents = GetProductDocumentsFolder();
    EXPECT_TRUE(documents.startsWith(GetDocumentsFolder()));
    EXPECT_TRUE(documents.endsWith(QStringLiteral("/Slabwise/")));
    EXPECT_TRUE(QFileInfo(documents).isDir());
    const QString data = GetUserDataFolder();
    EXPECT_TRUE(data.endsWith(QStringLiteral("/Slabwise/")));
    EXPECT_TRUE(QFileInfo(data).isDir());
}

TEST_F(PlacementTest, WithoutExampleProjectsTheWindowShowsTheBuiltInDefaults) {
    TTempFolder empty;
    TfrmMain window(dialogs, nullptr, empty.Path());
    const auto text = [&](const char* name) {
        return window.findChild<QLineEdit*>(QLatin1String(name))->text();
    };
    EXPECT_EQ(text("Edit36"), QStringLiteral("70.00"));
    EXPECT_EQ(text("Edit1"), QStringLiteral("5.00")); // 0 pulled up to the minimum
    EXPECT_EQ(window.Model().StripLength, 5);
    EXPECT_FALSE(window.Modified());
}

TEST_F(PlacementTest, ZoomWindowTakesThePicturesSize) {
    TfrmMain window(dialogs);
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    window.ShowZoomedPicture(picture);
    EXPECT_EQ(dialogs.ModalSize, QSize(300, 200));
    EXPECT_EQ(dialogs.ModalPicture.pixelColor(150, 100), QColor(Qt::white));
}

} // namespace
} // namespace slabwise::test
