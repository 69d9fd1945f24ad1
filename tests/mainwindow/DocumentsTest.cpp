// New, Open, Save, Save As, Exit and the unsaved-changes prompt, the
// caption, the logo and the web command, with the dialogs answered by script.

#include "WindowFixture.h"

#include "VersionFoldersPlacement.h"
#include "model/NumberFormat.h"
#include "model/OpenProject.h"
#include "model/ResultsCsv.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QInputMethodEvent>
#include <QMenu>
#include <QStatusBar>

#include <fstream>
#include <functional>
#include <limits>
#include <sstream>

namespace slabwise::test {
namespace {

class DocumentsTest : public WindowTest {
protected:
    void Run(const char* action) { Control<QAction>(action).trigger(); }
    QString PathOf(const char* name) const { return QString::fromStdString((folder.Path() / name).string()); }
    // A JPEG of the given size in the temporary folder.
    QString Jpeg(const char* name, int width, int height) const {
        // A blue-grey field with a lighter band, so a stretched picture shows.
        TRgbPixels pixels{width, height, std::vector<uint8_t>(static_cast<size_t>(width * height * 3), 90)};
        for (int y = height / 3; y < 2 * height / 3; ++y)
            for (int x = 0; x < width; ++x) {
                const int blue = (y * width + x) * 3 + 2;
                pixels.Rgb[static_cast<size_t>(blue)] = 220;
            }
        const TJpegImage image = TJpegImage::FromPixels(pixels);
        std::ofstream(folder.Path() / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(image.Bytes().data()),
                   static_cast<std::streamsize>(image.Bytes().size()));
        return PathOf(name);
    }
    TTempFolder folder;
};

TEST_F(DocumentsTest, StartsAsANewUnmodifiedProject) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Kelvane Slabwise"));
    EXPECT_TRUE(window->FileName().isEmpty());
    EXPECT_FALSE(window->Modified());
    EXPECT_TRUE(Text("Edit28").isEmpty());
    EXPECT_EQ(Edit("Edit1").alignment() & Qt::AlignRight, Qt::AlignRight);
    EXPECT_EQ(Edit("Edit28").alignment() & Qt::AlignRight, 0);
    EXPECT_TRUE(window->DocumentsFolder().endsWith(QStringLiteral("/Slabwise/")));
}

TEST_F(DocumentsTest, SaveOfANewProjectAsksForANameAndCommitsTheFieldBeingEdited) {
    dialogs.SaveFiles = {PathOf("strip.ksw")};
    Type("Edit1", QStringLiteral("30"));
    Run("ASave");
    ASSERT_EQ(dialogs.SavePresets, QStringList{QStringLiteral("*.ksw")});
    EXPECT_EQ(dialogs.Folders.front(), window->DocumentsFolder());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Kelvane Slabwise - strip.ksw"));
    EXPECT_FALSE(window->Modified());
    TMatData saved{std::filesystem::path{}};
    saved.LoadFromFile(folder.Path() / "strip.ksw");
    EXPECT_EQ(saved.StripLength, 30);
    // A second Save writes to the same file without asking and leaves the
    // caption alone.
    Commit("Edit1", QStringLiteral("31"));
    Run("ASave");
    EXPECT_EQ(dialogs.SavePresets.size(), 1);
    saved.LoadFromFile(folder.Path() / "strip.ksw");
    EXPECT_EQ(saved.StripLength, 31);
    // Save As offers the current name.
    dialogs.SaveFiles = {PathOf("copy.ksw")};
    Run("ASaveAs");
    EXPECT_EQ(dialogs.SavePresets.back(), PathOf("strip.ksw"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Kelvane Slabwise - copy.ksw"));
}

TEST_F(DocumentsTest, OpenShowsTheProjectAndItsResults) {
    TMatData project; // the example beside the test
    // Longer than the example, so every load and point stays on the strip.
    project.StripLength = 50;
    project.Thickness = 2;
    project.Organization = "Acme";
    project.SaveToFile(folder.Path() / "acme.ksw");
    project.Analyze();
    // The focus stays in the unit box from New to Open.
    Combo("ComboBox1").setFocus(Qt::MouseFocusReason);
    Run("ANew");
    dialogs.OpenFiles = {PathOf("acme.ksw")};
    Run("AOpen");
    EXPECT_EQ(dialogs.OpenPresets.back(), QStringLiteral("*.ksw"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Kelvane Slabwise - acme.ksw"));
    EXPECT_EQ(window->FileName(), PathOf("acme.ksw"));
    EXPECT_FALSE(window->Modified());
    EXPECT_TRUE(dialogs.Warnings.isEmpty());
    EXPECT_EQ(Text("Edit28"), QStringLiteral("Acme"));
    EXPECT_EQ(Text("Edit1"), QStringLiteral("50.00"));
    EXPECT_EQ(Text("Edit13"), QString::fromStdString(FormatFixed(project.BetaL, 3)));
    EXPECT_EQ(Control<QTabWidget>("PageControl1").currentIndex(), 0);
    EXPECT_EQ(QApplication::focusWidget(), &Combo("ComboBox1"));
    QTest::keyClick(&Combo("ComboBox1"), Qt::Key_Tab);
    EXPECT_EQ(window->Model().StripLength, 50);
    // The next Open offers the current file.
    Run("AOpen");
    EXPECT_EQ(dialogs.OpenPresets.back(), PathOf("acme.ksw"));
}

// The texts are one Latin-1 byte a character: shown as such, saved back
// byte for byte, and a typed character beyond Latin-1 is said to be replaced.
TEST_F(DocumentsTest, ProjectTextsKeepTheirBytesFromOpenToSave) {
    TMatData project;
    project.Organization = "Caf\xE9 Br\xFC"
                           "cke";
    project.JobNumber = "20\xB0 \x80\xFF";
    project.DesignedBy = "\xC3\xA9"; // two characters, not UTF-8
    project.SaveToFile(folder.Path() / "texts.ksw");
    dialogs.OpenFiles = {PathOf("texts.ksw")};
    Run("AOpen");
    EXPECT_EQ(Text("Edit28"), QString::fromUtf8("Caf\u00E9 Br\u00FCcke"));
    EXPECT_EQ(Text("Edit27"), QString::fromUtf8("20\u00B0 \u0080\u00FF"));
    EXPECT_EQ(Text("Edit29"), QString::fromUtf8("\u00C3\u00A9"));

    // As an input method types what the keyboard has no key for.
    Type("Edit33", QStringLiteral("J"));
    QInputMethodEvent typed;
    typed.setCommitString(QString::fromUtf8("\u20AC5"));
    QApplication::sendEvent(&Edit("Edit33"), &typed);
    QTest::keyClick(&Edit("Edit33"), Qt::Key_Tab);
    EXPECT_EQ(Text("Edit33"), QStringLiteral("J?5"));
    EXPECT_EQ(window->statusBar()->currentMessage(),
              QStringLiteral("Project Name: 1 character is not Latin-1; \"?\" used"));
    Run("ASave");
    TMatData saved{std::filesystem::path{}};
    saved.LoadFromFile(folder.Path() / "texts.ksw");
    EXPECT_EQ(saved.Organization, project.Organization);
    EXPECT_EQ(saved.JobNumber, project.JobNumber);
    EXPECT_EQ(saved.DesignedBy, project.DesignedBy);
    EXPECT_EQ(saved.ProjectName, "J?5");
}

// All or nothing: a file refused by its header or after it leaves the
// project, its name, its modified flag and the window as they were, and says
// so in a warning that names the file.
TEST_F(DocumentsTest, ARefusedOpenChangesNothingAndWarnsNamingTheFile) {
    {
        std::ofstream junk(folder.Path() / "junk.ksw", std::ios::binary);
        junk << std::string(200, 'x');
    }
    {
        // The example's 48 ft strip with thirteen point loads, more than a
        // project holds: refused after its header was accepted.
        TMatData other;
        std::ostringstream out;
        other.SaveToStream(out);
        std::string bytes = out.str();
        bytes[461] = 13;
        std::ofstream(folder.Path() / "refused.ksw", std::ios::binary) << bytes;
    }
    Commit("Edit1", QStringLiteral("30"));
    Commit("Edit3", QStringLiteral("3"));
    dialogs.SaveFiles = {PathOf("first.ksw")};
    Run("ASaveAs");
    ASSERT_FALSE(window->Modified());
    for (const char* name : {"junk.ksw", "refused.ksw"}) {
        SCOPED_TRACE(name);
        dialogs.Warnings.clear();
        dialogs.OpenFiles = {PathOf(name)};
        Run("AOpen");
        ASSERT_EQ(dialogs.Warnings.size(), 1);
        EXPECT_TRUE(dialogs.Warnings.front().contains(QDir::toNativeSeparators(PathOf(name))));
        EXPECT_TRUE(dialogs.Warnings.front().contains(QStringLiteral("Wrong file format")));
        EXPECT_TRUE(dialogs.Messages.isEmpty());
        EXPECT_EQ(window->FileName(), PathOf("first.ksw"));
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Kelvane Slabwise - first.ksw"));
        EXPECT_FALSE(window->Modified());
        EXPECT_EQ(Text("Edit1"), QStringLiteral("30.00"));
        EXPECT_EQ(Text("Edit3"), QStringLiteral("3.00"));
        EXPECT_EQ(window->Model().StripLength, 30);
        EXPECT_EQ(window->Model().Thickness, 3);
    }
    // The next commit keeps the project the window shows.
    Commit("Edit10", QStringLiteral("2"));
    EXPECT_EQ(window->Model().StripLength, 30);
    EXPECT_EQ(window->Model().Thickness, 3);
}

// A file that is not taken as it stands opens with one warning that names it
// and lists what was not read and what was changed, and the project is
// marked modified; the window takes exactly what the tools take.
TEST_F(DocumentsTest, AnOpenThatChangesTheFileWarnsOnceAndMarksTheProjectModified) {
    const auto bytesOf = [](const std::function<void(TMatData&)>& change) {
        TMatData project; // the example beside the test, without texts or logo
        change(project);
        std::ostringstream out;
        project.SaveToStream(out);
        return out.str();
    };
    const std::string cutInsideFc = bytesOf([](TMatData&) {}).substr(0, 808);
    const struct {
        const char* File;
        std::string Bytes;
        std::vector<const char*> Said;
        const char* Control;
        const char* Shown;
    } cases[] = {
        // A field the file does not hold takes the built-in value, not the example's 6 ksi.
        {"cut.ksw", cutInsideFc, {"Not read", "Concrete Str, Fc", "Moment Load Factor"}, "Edit63", "3.0"},
        {"short.ksw",
         bytesOf([](TMatData& m) { m.StripLength = -1; }),
         {"Changed to fit the limits", "Strip Length, L: -1 ft in the file, 5 ft used"},
         "Edit1",
         "5.00"},
        {"nan.ksw",
         bytesOf([](TMatData& m) { m.Thickness = std::numeric_limits<Real>::quiet_NaN(); }),
         {"Strip Thickness, T: NaN ft in the file, 0.67 ft used"},
         "Edit3",
         "0.67"},
        {"bar.ksw",
         bytesOf([](TMatData& m) { m.TopBarSize = 99; }),
         {"Top Bar Size: #99 in the file, #3 used"},
         nullptr,
         nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        std::ofstream(folder.Path() / c.File, std::ios::binary) << c.Bytes;
        dialogs.Warnings.clear();
        dialogs.Answers = {TAnswer::No};
        dialogs.OpenFiles = {PathOf(c.File)};
        Run("AOpen");
        ASSERT_EQ(dialogs.Warnings.size(), 1);
        const QString& warning = dialogs.Warnings.front();
        EXPECT_TRUE(warning.contains(QDir::toNativeSeparators(PathOf(c.File)))) << warning.toStdString();
        for (const char* said : c.Said) EXPECT_TRUE(warning.contains(QLatin1String(said))) << said;
        EXPECT_TRUE(window->Modified());
        EXPECT_EQ(window->FileName(), PathOf(c.File));
        if (c.Control) {
            EXPECT_EQ(Text(c.Control), QLatin1String(c.Shown));
        }

        // The window's own reading of its fields changes nothing more.
        TMatData expected;
        OpenProject(expected, folder.Path() / c.File);
        try {
            expected.Analyze();
        } catch (const std::exception&) {
        }
        std::ostringstream windowBytes, expectedBytes;
        window->Model().SaveToStream(windowBytes);
        expected.SaveToStream(expectedBytes);
        EXPECT_EQ(windowBytes.str(), expectedBytes.str());
    }
    EXPECT_EQ(Combo("ComboBox2").currentText(), QStringLiteral("#3"));
    EXPECT_EQ(window->Model().TopBarSize, 3);
}

TEST_F(DocumentsTest, AProjectNamedOnTheCommandLineOpensAsOpenWould) {
    TMatData project{std::filesystem::path{}};
    project.Organization = "Acme";
    project.StripLength = 30, project.StripWidth = 10, project.Thickness = 2;
    project.SubgradeModulus = 100, project.AllowableBearing = 3;
    project.SaveToFile(folder.Path() / "acme.ksw");
    {
        std::ofstream foreign(folder.Path() / "notes.ksw", std::ios::binary);
        foreign << std::string(300, 'n');
    }
    // A relative name is taken from the current folder and kept whole.
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(folder.Path().string())));
    window->OpenFromCommandLine(QStringLiteral("acme.ksw"));
    QDir::setCurrent(before);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
    EXPECT_EQ(window->FileName(), PathOf("acme.ksw"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Kelvane Slabwise - acme.ksw"));
    EXPECT_EQ(Text("Edit28"), QStringLiteral("Acme"));
    EXPECT_EQ(Text("Edit1"), QStringLiteral("30.00"));
    EXPECT_FALSE(window->Modified()) << dialogs.Warnings.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(dialogs.OpenPresets.isEmpty()) << "no dialog is shown";

    // A foreign file: the warning Open shows, naming the file; the project
    // open before stays.
    window->OpenFromCommandLine(PathOf("notes.ksw"));
    ASSERT_EQ(dialogs.Warnings.size(), 1);
    EXPECT_TRUE(dialogs.Warnings[0].contains(QStringLiteral("Wrong file format")))
        << dialogs.Warnings[0].toStdString();
    EXPECT_TRUE(dialogs.Warnings[0].contains(QStringLiteral("notes.ksw")))
        << dialogs.Warnings[0].toStdString();
    EXPECT_EQ(window->FileName(), PathOf("acme.ksw"));
    // A missing file is reported too.
    window->OpenFromCommandLine(PathOf("missing.ksw"));
    ASSERT_EQ(dialogs.Warnings.size(), 2);
    EXPECT_TRUE(dialogs.Warnings[1].contains(QStringLiteral("missing.ksw")))
        << dialogs.Warnings[1].toStdString();
}

TEST_F(DocumentsTest, FileExportCsvWritesTheNodesOfTheCommittedInput) {
    QStringList asked;
    window->ExportPrompts.AskFileName = [&](QWidget*, const QString& caption, const QString&, QString*) {
        asked << caption;
        return PathOf("results.csv");
    };
    QStringList errors;
    window->ExportPrompts.ShowError = [&](QWidget*, const QString& text) { errors << text; };
    QAction& exportCsv = Control<QAction>("AExportCsv");
    EXPECT_EQ(exportCsv.text(), QStringLiteral("Export CSV..."));
    // In the File menu, after Export PDF.
    const QList<QAction*> file = Control<QMenu>("File1").actions();
    const qsizetype at = file.indexOf(&exportCsv);
    ASSERT_GT(at, 0);
    EXPECT_EQ(file[at - 1], &Control<QAction>("AExportPdf"));
    // The length being typed counts.
    Type("Edit1", QStringLiteral("30"));
    exportCsv.trigger();
    EXPECT_EQ(asked, QStringList{QStringLiteral("Export CSV")});
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(window->Model().StripLength, 30);
    QFile written(PathOf("results.csv"));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll().toStdString(), NodeResultsCsv(window->Model()));
}

TEST_F(DocumentsTest, UnsavedChangesPrompt) {
    const QString question = QStringLiteral("File is not saved. Do you want to save it now?");
    // Yes, then a cancelled Save As: New does not run.
    Commit("Edit1", QStringLiteral("30"));
    dialogs.Answers = {TAnswer::Yes};
    Run("ANew");
    EXPECT_EQ(dialogs.Questions, QStringList{question});
    EXPECT_EQ(dialogs.SavePresets.size(), 1);
    EXPECT_TRUE(window->Modified());
    EXPECT_EQ(Text("Edit1"), QStringLiteral("30.00"));
    // Cancel: nothing changes.
    dialogs.Answers = {TAnswer::Cancel};
    Run("ANew");
    EXPECT_EQ(Text("Edit1"), QStringLiteral("30.00"));
    EXPECT_TRUE(window->Modified());
    // No: New runs without saving.
    dialogs.Answers = {TAnswer::No};
    Run("ANew");
    EXPECT_EQ(Text("Edit1"), QStringLiteral("48.00"));
    EXPECT_FALSE(window->Modified());
    // Yes with a name: saved, then New.
    Commit("Edit1", QStringLiteral("20"));
    dialogs.Answers = {TAnswer::Yes};
    dialogs.SaveFiles = {PathOf("kept.ksw")};
    Run("ANew");
    EXPECT_TRUE(QFile::exists(PathOf("kept.ksw")));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Kelvane Slabwise"));
    EXPECT_EQ(Text("Edit1"), QStringLiteral("48.00"));
    // An unmodified project is never asked about.
    dialogs.Questions.clear();
    Run("ANew");
    EXPECT_TRUE(dialogs.Questions.isEmpty());
}

// "No" to the save question lets a command discard the edits; a command that
// then stops before replacing the project leaves them, and the flag, alone.
TEST_F(DocumentsTest, AnsweringNoKeepsTheProjectModifiedUntilItIsReallyReplaced) {
    std::ofstream(folder.Path() / "refused.ksw", std::ios::binary) << "no project at all";
    const struct {
        const char* Name;
        std::function<void()> Stop;
    } cases[] = {
        {"Open, file dialog cancelled", [&] { Run("AOpen"); }},
        {"Open, refused file",
         [&] {
             dialogs.OpenFiles = {PathOf("refused.ksw")};
             Run("AOpen");
         }},
        {"Open Recent, refused file", [&] { window->OpenRecentFile(PathOf("refused.ksw")); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        Commit("Edit1", QStringLiteral("30"));
        dialogs.Answers = {TAnswer::No};
        dialogs.Questions.clear();
        c.Stop();
        EXPECT_EQ(dialogs.Questions.size(), 1);
        EXPECT_EQ(Text("Edit1"), QStringLiteral("30.00"));
        EXPECT_TRUE(window->Modified());
        // New and Exit still ask; Cancel keeps the edit and the window.
        dialogs.Answers = {TAnswer::Cancel};
        Run("ANew");
        EXPECT_EQ(dialogs.Questions.size(), 2);
        EXPECT_EQ(Text("Edit1"), QStringLiteral("30.00"));
        dialogs.Answers = {TAnswer::Cancel};
        Run("AExit");
        EXPECT_EQ(dialogs.Questions.size(), 3);
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->Modified());
        // Replaced for real: the new project is unmodified.
        dialogs.Answers = {TAnswer::No};
        Run("ANew");
        EXPECT_FALSE(window->Modified());
        EXPECT_EQ(Text("Edit1"), QStringLiteral("48.00"));
    }
}

TEST_F(DocumentsTest, AFailedSaveKeepsTheChangesAndTheWindow) {
    Commit("Edit1", QStringLiteral("30"));
    dialogs.Answers = {TAnswer::Yes};
    dialogs.SaveFiles = {PathOf("missing/folder.ksw")};
    Run("AExit");
    EXPECT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(window->Modified());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(DocumentsTest, ExitAsksAndCancelKeepsTheWindowOpen) {
    Commit("Edit1", QStringLiteral("30"));
    dialogs.Answers = {TAnswer::Cancel};
    Run("AExit");
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->Model().StripLength, 30);
    dialogs.Answers = {TAnswer::No};
    Run("AExit");
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(dialogs.SavePresets.isEmpty());
}

TEST_F(DocumentsTest, LogoIsCentredInItsSlotAtTheRightEdge) {
    const struct {
        const char* File;
        int Width, Height, Shown;
    } logos[] = {{"wide.jpg", 400, 100, 173},
                 {"square.jpg", 100, 100, 73},
                 {"tall.jpg", 50, 100, 36}}; // 36.5 rounds half to even
    const QWidget& panel = Control("Panel7");
    const QWidget& logo = Control("Logo");
    for (const auto& l : logos) {
        dialogs.LogoFiles = {Jpeg(l.File, l.Width, l.Height)};
        QTest::mouseClick(&Control<QPushButton>("Button1"), Qt::LeftButton);
        EXPECT_EQ(logo.width(), l.Shown) << l.File;
        EXPECT_EQ(logo.height(), 73);
        EXPECT_EQ(logo.x(), panel.width() - l.Shown - (173 - l.Shown) / 2 - 5) << l.File;
        EXPECT_TRUE(Control("Button3").isEnabled());
        EXPECT_TRUE(window->Modified());
        ASSERT_TRUE(window->Model().Logo.has_value());
        EXPECT_EQ(window->Model().Logo->Width(), l.Width);
    }
    QDir().mkpath(QStringLiteral(SLABWISE_SCREENS_DIR));
    Control("Panel7").grab().save(QStringLiteral(SLABWISE_SCREENS_DIR "/header-logo.png"));
    // The slot follows the panel's right edge.
    window->resize(window->width() + 100, window->height());
    QApplication::processEvents();
    EXPECT_EQ(logo.x() + logo.width() + (173 - logo.width()) / 2 + 5, panel.width());

    window->SetModified(false);
    QTest::mouseClick(&Control<QPushButton>("Button3"), Qt::LeftButton);
    EXPECT_FALSE(Control("Button3").isEnabled());
    EXPECT_TRUE(window->Modified());
    EXPECT_FALSE(window->Model().Logo.has_value());
    EXPECT_EQ(logo.width(), 0);
}

TEST_F(DocumentsTest, ALogoThatIsNoJpegIsReportedAndChangesNothing) {
    {
        std::ofstream text(folder.Path() / "note.jpg");
        text << "not a picture";
    }
    dialogs.LogoFiles = {PathOf("note.jpg")};
    QTest::mouseClick(&Control<QPushButton>("Button1"), Qt::LeftButton);
    EXPECT_EQ(dialogs.Messages.size(), 1);
    EXPECT_FALSE(window->Model().Logo.has_value());
    EXPECT_FALSE(window->Modified());
    EXPECT_FALSE(Control("Button3").isEnabled());
}

TEST_F(DocumentsTest, ALogoTravelsWithTheProject) {
    dialogs.LogoFiles = {Jpeg("wide.jpg", 400, 100)};
    QTest::mouseClick(&Control<QPushButton>("Button1"), Qt::LeftButton);
    dialogs.SaveFiles = {PathOf("logo.ksw")};
    Run("ASave");
    dialogs.Answers = {TAnswer::No};
    Run("ANew");
    EXPECT_EQ(Control("Logo").width(), 0);
    dialogs.OpenFiles = {PathOf("logo.ksw")};
    Run("AOpen");
    EXPECT_EQ(Control("Logo").width(), 173);
    EXPECT_TRUE(Control("Button3").isEnabled());
}

TEST_F(DocumentsTest, WebsiteAndAboutGoThroughTheShell) {
    Run("AWeb");
    ASSERT_EQ(dialogs.OpenedUrls.size(), 1u);
    EXPECT_EQ(dialogs.OpenedUrls[0], QUrl(QLatin1String(MakerHomePage)));
    Run("AAbout");
    EXPECT_EQ(dialogs.AboutShown, 1);
}

TEST_F(DocumentsTest, WithoutABrowserTheAddressIsShown) {
    dialogs.BrowserStarts = false;
    Run("AWeb");
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages[0].contains(QLatin1String(MakerHomePage)));
}

// The file dialogs tell a file's type by its name alone: reading a file to
// sniff its type blocks for ever on files such as /proc/kmsg.
TEST_F(DocumentsTest, FileDialogsNeverReadTheFilesTheyList) {
    const QString disguised = PathOf("picture");
    {
        QFile file(disguised);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromHex("89504E470D0A1A0A0000000D49484452"));
    }
    QFile(PathOf("named.png")).open(QIODevice::WriteOnly);
    const TNameOnlyIconProvider icons;
    EXPECT_FALSE(icons.type(QFileInfo(disguised)).contains(QLatin1String("PNG")));
    EXPECT_TRUE(icons.type(QFileInfo(PathOf("named.png"))).contains(QLatin1String("PNG")));
    EXPECT_EQ(icons.type(QFileInfo(QString::fromStdString(folder.Path().string()))),
              QStringLiteral("Folder"));
}

// New, Open and Save as the user gives them: by their shortcuts while a
// field is being typed in, and from the File menu opened on the menu bar. New
// shows the example beside the program without the project's texts.
TEST_F(DocumentsTest, NewOpenAndSaveByShortcutAndFromTheMenu) {
    struct TCommand {
        Qt::Key Key;
        const char* Action;
    };
    const TCommand save{Qt::Key_S, "ASave"}, open{Qt::Key_O, "AOpen"}, newProject{Qt::Key_N, "ANew"};
    const auto byShortcut = [this](const TCommand& c) {
        QTest::keyClick(window.get(), c.Key, Qt::ControlModifier);
    };
    const auto fromTheMenu = [this](const TCommand& c) {
        QTest::keyClick(window.get(), Qt::Key_F, Qt::AltModifier);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_EQ(menu, &Control<QMenu>("File1")) << "Alt+F opens the File menu";
        QTest::mouseClick(menu, Qt::LeftButton, {},
                          menu->actionGeometry(&Control<QAction>(c.Action)).center());
        EXPECT_EQ(QApplication::activePopupWidget(), nullptr) << "the menu closes";
    };
    const std::function<void(const TCommand&)> ways[] = {byShortcut, fromTheMenu};
    for (int way = 0; way < 2; ++way) {
        SCOPED_TRACE(way == 0 ? "shortcut" : "menu");
        const auto command = ways[way];
        const QString file = PathOf(way == 0 ? "keys.ksw" : "menu.ksw");
        dialogs.Answers.clear();
        dialogs.SavePresets.clear();
        Commit("Edit28", QStringLiteral("Acme"));
        Type("Edit1", way == 0 ? QStringLiteral("30") : QStringLiteral("31"));

        // Save asks for a name, and keeps the length still being typed.
        dialogs.SaveFiles = {file};
        command(save);
        EXPECT_EQ(dialogs.SavePresets.size(), 1);
        EXPECT_EQ(window->FileName(), file);
        EXPECT_FALSE(window->Modified());
        TMatData saved{std::filesystem::path{}};
        saved.LoadFromFile(file.toStdString());
        EXPECT_EQ(saved.StripLength, way == 0 ? 30 : 31);
        EXPECT_EQ(saved.Organization, "Acme");

        // New: the example's 48 ft strip, no texts, today, no file.
        command(newProject);
        EXPECT_TRUE(dialogs.Questions.isEmpty()) << "nothing unsaved to ask about";
        EXPECT_EQ(Text("Edit1"), QStringLiteral("48.00"));
        EXPECT_EQ(Text("Edit28"), QString());
        EXPECT_EQ(Control<QDateEdit>("DateTimePicker1").date(), QDate::currentDate());
        EXPECT_TRUE(window->FileName().isEmpty());
        EXPECT_EQ(window->windowTitle(), QStringLiteral("Kelvane Slabwise"));
        EXPECT_EQ(window->Model().Organization, "");

        // Open brings the saved project back.
        dialogs.OpenFiles = {file};
        command(open);
        EXPECT_EQ(window->FileName(), file);
        EXPECT_EQ(Text("Edit1"), way == 0 ? QStringLiteral("30.00") : QStringLiteral("31.00"));
        EXPECT_EQ(Text("Edit28"), QStringLiteral("Acme"));
        EXPECT_FALSE(window->Modified());
        EXPECT_TRUE(dialogs.Warnings.isEmpty());

        // The next Save writes to the same file without asking.
        Commit("Edit1", QStringLiteral("20"));
        command(save);
        EXPECT_EQ(dialogs.SavePresets.size(), 1);
        saved.LoadFromFile(file.toStdString());
        EXPECT_EQ(saved.StripLength, 20);
        EXPECT_FALSE(window->Modified());
        command(newProject);
    }
}

TEST_F(DocumentsTest, MenusAndShortcuts) {
    const struct {
        const char* Action;
        const char* Text;
        const char* Hint;
        const char* Shortcut;
    } actions[] = {{"ANew", "&New", "New project", "Ctrl+N"},
                   {"AOpen", "&Open", "Open saved project", "Ctrl+O"},
                   {"ASave", "&Save", "Save project", "Ctrl+S"},
                   {"ASaveAs", "Save &As...", "Save project as", ""},
                   {"AExit", "E&xit", "Exit application", ""},
                   {"AWeb", "&Website", "Go to website", ""},
                   {"AUserGuide", "&User Guide", "Open the user guide", "F1"}};
    for (const auto& a : actions) {
        const QAction& action = Control<QAction>(a.Action);
        EXPECT_EQ(action.text(), QLatin1String(a.Text));
        EXPECT_EQ(action.toolTip(), QLatin1String(a.Hint));
        EXPECT_EQ(action.shortcut(), QKeySequence(QLatin1String(a.Shortcut)));
    }
}

// The guide lies beside the program (the build tree) or in the installed
// data folder; F1 opens the one found in the browser, and says so when there
// is none or no browser starts.
TEST_F(DocumentsTest, F1OpensTheUserGuideInstalledWithTheProgram) {
    const std::filesystem::path root = folder.Path();
    std::filesystem::create_directories(root / "build");
    std::filesystem::create_directories(root / "usr/bin");
    std::filesystem::create_directories(root / "usr/share/slabwise");
    std::filesystem::create_directories(root / "bare/bin");
    std::ofstream(root / "build" / UserGuideName) << "<html></html>";
    std::ofstream(root / "usr/share/slabwise" / UserGuideName) << "<html></html>";
    const auto path = [&](const char* relative) {
        return QString::fromStdString((root / relative).string());
    };
    const struct {
        const char* Program;
        const char* Guide;
    } cases[] = {
        {"build", "build/user-guide.html"},
        {"usr/bin", "usr/share/slabwise/user-guide.html"},
        {"bare/bin", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Program);
        const QString expected = c.Guide ? path(c.Guide) : QString();
        EXPECT_EQ(FindUserGuide(path(c.Program)), expected);
        window->UserGuideFolder = path(c.Program);
        dialogs.OpenedUrls.clear();
        dialogs.Messages.clear();
        QTest::keyClick(window.get(), Qt::Key_F1);
        if (c.Guide) {
            ASSERT_EQ(dialogs.OpenedUrls.size(), 1u);
            EXPECT_EQ(dialogs.OpenedUrls.front(), QUrl::fromLocalFile(expected));
            EXPECT_TRUE(dialogs.Messages.isEmpty());
        } else {
            EXPECT_TRUE(dialogs.OpenedUrls.empty());
            ASSERT_EQ(dialogs.Messages.size(), 1);
            EXPECT_TRUE(dialogs.Messages.front().contains(QStringLiteral("user-guide.html")));
        }
    }
    // Without a browser the path is given.
    window->UserGuideFolder = path("build");
    dialogs.BrowserStarts = false;
    dialogs.Messages.clear();
    Control<QAction>("AUserGuide").trigger();
    ASSERT_EQ(dialogs.Messages.size(), 1);
    EXPECT_TRUE(dialogs.Messages.front().contains(QDir::toNativeSeparators(path("build/user-guide.html"))));
}

// The guide in the repository is the one the program finds beside itself in
// the build tree: the tests run beside a copy of it.
TEST(UserGuide, LiesBesideTheProgramInTheBuildTree) {
    const QString guide = FindUserGuide(QCoreApplication::applicationDirPath());
    ASSERT_FALSE(guide.isEmpty());
    EXPECT_EQ(QFileInfo(guide).absolutePath(), QDir(QCoreApplication::applicationDirPath()).absolutePath());
    QFile file(guide);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    // Every check's failing message is explained.
    for (const char* hint : {"Max. Bearing Pressure greater than capacity",
                             "Spacing needs to be at least 2db", "Min Reinforcement ratio is 0.18%",
                             "Top Utilization too high", "Increase Thickness or Concrete Strength"})
        EXPECT_TRUE(text.contains(QLatin1String(hint))) << hint;
}

} // namespace
} // namespace slabwise::test
