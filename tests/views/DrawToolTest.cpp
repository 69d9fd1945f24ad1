// slabwise-draw end to end: the PNG it writes is the picture the bitmap entry
// function makes, and its exit status tells what went wrong.

#include "views/DiagramDraw.h"

#include "model/ExampleProjects.h"
#include "model/FloatFault.h"
#include "support/TempFolder.h"
#include "support/TestModels.h"

#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

#include <filesystem>

using namespace slabwise;

namespace {

namespace fs = std::filesystem;

int RunDraw(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(SLABWISE_DRAW_EXE), arguments);
    if (!process.waitForFinished(30000)) return -1;
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// Exit code and standard error of a run through the shell, with `limits`
// (ulimit options) set first; -1 when it did not exit normally.
std::pair<int, QString> RunDrawUnder(const QString& limits, const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral("/bin/sh"),
                  QStringList{QStringLiteral("-c"), limits + QStringLiteral("; exec \"$@\""),
                              QStringLiteral("sh"), QStringLiteral(SLABWISE_DRAW_EXE)} +
                      arguments);
    if (!process.waitForFinished(30000)) return {-1, {}};
    const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return {code, QString::fromLocal8Bit(process.readAllStandardError())};
}

QString Text(const fs::path& path) {
    return QString::fromStdString(path.string());
}

TEST(DrawTool, WritesThePictureOfEachKind) {
    test::TTempFolder folder;
    const fs::path project = folder.Path() / "example.ksw";
    auto mat = test::NewModel();
    MakeSIExample(*mat);
    mat->SaveToFile(project);
    try {
        mat->Analyze();
    } catch (const EFloatFault&) {
    }

    struct TCase {
        const char* kind;
        TDiagramKind value;
        QSize size;
    };
    const TCase cases[] = {
        {"plan", dkPlanSection, {550, 337}},
        {"loading", dkLoading, {1900, 940}},
        {"reinforcement", dkReinforcement, {1300, 800}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.kind);
        const fs::path out = folder.Path() / (std::string(c.kind) + ".png");
        const QString size = QStringLiteral("%1x%2").arg(c.size.width()).arg(c.size.height());
        ASSERT_EQ(RunDraw({Text(project), c.kind, size, Text(out)}), 0);
        QImage expected(c.size, QImage::Format_RGB32);
        DrawDiagramToBitmap(expected, *mat, c.value);
        const QImage written(Text(out));
        ASSERT_FALSE(written.isNull());
        EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), expected);
    }
}

TEST(DrawTool, ExitStatusTellsWhatWentWrong) {
    test::TTempFolder folder;
    const fs::path project = folder.Path() / "example.ksw";
    const fs::path flat = folder.Path() / "flat.ksw";
    auto mat = test::NewModel();
    MakeEnglishExample(*mat);
    mat->SaveToFile(project);
    // A zero thickness is taken as the smallest one, as Open takes it; a
    // strip without reinforcement still has no reinforcement to draw.
    mat->UseReinforcement = 0;
    mat->SaveToFile(flat);
    const fs::path out = folder.Path() / "out.png";

    struct TCase {
        const char* name;
        QStringList arguments;
        int status;
    };
    const TCase cases[] = {
        {"nothing to draw", {Text(flat), "reinforcement", "550x337", Text(out)}, 1},
        {"unknown kind", {Text(project), "section", "550x337", Text(out)}, 2},
        {"size without height", {Text(project), "plan", "550x", Text(out)}, 2},
        {"zero size", {Text(project), "plan", "0x337", Text(out)}, 2},
        {"missing project", {Text(folder.Path() / "none.ksw"), "plan", "550x337", Text(out)}, 2},
        {"too few arguments", {Text(project), "plan"}, 2},
        {"unwritable output", {Text(project), "plan", "550x337", Text(folder.Path() / "no" / "out.png")}, 3},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RunDraw(c.arguments), c.status);
        EXPECT_FALSE(fs::exists(out));
    }
}

// Sizes above the documented limits are refused before a bitmap is made, and
// a write cut short (here by the file-size limit, which kills the program)
// leaves the earlier picture whole.
TEST(DrawTool, BoundsTheSizeAndNeverLeavesAPartialPicture) {
    test::TTempFolder folder;
    const fs::path project = folder.Path() / "example.ksw";
    auto mat = test::NewModel();
    MakeEnglishExample(*mat);
    mat->SaveToFile(project);
    const fs::path out = folder.Path() / "out.png";

    struct TCase {
        const char* size;
        int status;
    };
    const TCase cases[] = {
        {"99999x99999", 2}, {"8193x100", 2}, {"100x8193", 2}, {"8192x2049", 2}, {"8192x2048", 0}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.size);
        const auto [status, errors] =
            RunDrawUnder(QStringLiteral("true"), {Text(project), "loading", c.size, Text(out)});
        EXPECT_EQ(status, c.status);
        if (c.status == 2) {
            EXPECT_TRUE(errors.contains(QStringLiteral("is too large"))) << errors.toStdString();
            EXPECT_FALSE(fs::exists(out));
        } else {
            EXPECT_EQ(QImage(Text(out)).width(), 8192); // cut to the height the picture uses
        }
    }

    ASSERT_EQ(RunDraw({Text(project), "plan", "550x337", Text(out)}), 0);
    const QImage before(Text(out));
    ASSERT_FALSE(before.isNull());
    // 4 blocks of 512 bytes: far less than the picture.
    EXPECT_EQ(
        RunDrawUnder(QStringLiteral("ulimit -f 4"), {Text(project), "loading", "1900x940", Text(out)}).first,
        -1);
    EXPECT_EQ(QImage(Text(out)), before);
}

// The file is taken as the main window's Open takes it, and each change is
// said on stderr.
TEST(DrawTool, TakesTheFileAsOpenDoesAndSaysEachChange) {
    test::TTempFolder folder;
    const fs::path project = folder.Path() / "odd.ksw";
    auto mat = test::NewModel();
    MakeEnglishExample(*mat);
    mat->Thickness = 0;
    mat->TopBarSize = 99;
    mat->SaveToFile(project);
    const fs::path out = folder.Path() / "odd.png";
    QProcess process;
    process.start(QStringLiteral(SLABWISE_DRAW_EXE), {Text(project), "reinforcement", "1300x800", Text(out)});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0);
    // Qt may add notes of its own; each change is one whole line.
    const QStringList lines = QString::fromLocal8Bit(process.readAllStandardError()).split(QLatin1Char('\n'));
    const QString prefix = QStringLiteral("slabwise-draw: ") + Text(project) + QStringLiteral(": ");
    EXPECT_TRUE(lines.contains(prefix + "Strip Thickness, T: 0 ft in the file, 0.67 ft used"))
        << lines.join('|').toStdString();
    EXPECT_TRUE(lines.contains(prefix + "Top Bar Size: #99 in the file, #3 used"));
    EXPECT_TRUE(fs::exists(out));
}

} // namespace
