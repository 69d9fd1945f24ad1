// slabwise-report run as a program: the PDF of a saved project, its paper,
// and its failures.

#include "PopplerTools.h"
#include "VersionFoldersPlacement.h"
#include "model/MatData.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

#include <filesystem>

namespace slabwise::test {

namespace {

namespace fs = std::filesystem;

// The tool's stderr is where a user reads what it changed or could not do,
// so the test keeps it; a runtime folder of its own keeps Qt's notice about a
// missing one out of it.
int RunReportTool(const QStringList& arguments, QString* errors = nullptr) {
    TTempFolder runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(runtime.Path().string()));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(SLABWISE_REPORT_EXE), arguments);
    if (!process.waitForFinished(60000)) return -1;
    if (errors != nullptr) *errors = QString::fromLocal8Bit(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString Path(const fs::path& path) {
    return QString::fromStdString(path.string());
}

const QString English = QStringLiteral(SLABWISE_SOURCE_DATA "/Example English Units.ksw");

} // namespace

TEST(ReportTool, WritesTheReportOfASavedProject) {
    TTempFolder folder;
    struct TCase {
        QStringList Paper;
        QString PageSize;
    };
    const TCase cases[] = {
        {{"--paper", "letter"}, "(letter)"},
        {{"--paper", "a4"}, "(A4)"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Paper.join(u' ').toStdString());
        const QString pdf = Path(folder.Path() / "report.pdf");
        QString errors;
        ASSERT_EQ(RunReportTool(c.Paper + QStringList{English, pdf}, &errors), 0);
        // A sound project prints quietly: no missing picture of the window
        // it prints from, nothing changed on Open.
        EXPECT_EQ(errors.toStdString(), "");
        EXPECT_EQ(PdfPages(pdf), 6);
        EXPECT_TRUE(PdfInfo(pdf, QStringLiteral("Page size")).endsWith(c.PageSize));
        EXPECT_EQ(PdfInfo(pdf, QStringLiteral("Creator")), "Kelvane Slabwise v" + GetVersionText());
        const QString text = PdfText(pdf);
        EXPECT_TRUE(text.contains(QStringLiteral("Slabwise Analysis")));
        EXPECT_TRUE(text.contains("Kelvane Slabwise Software v" + GetVersionText()));
        // The fonts travel with the file.
        const QString fonts = RunTool(QStringLiteral("pdffonts"), {pdf});
        const QRegularExpression font(
            QStringLiteral("^(\\S+).*\\s(yes|no)\\s+(yes|no)\\s+(yes|no)\\s+\\d+\\s+\\d+$"),
            QRegularExpression::MultilineOption);
        QStringList embedded;
        for (const auto& match : font.globalMatch(fonts)) {
            EXPECT_EQ(match.captured(2), QStringLiteral("yes")) << match.captured(1).toStdString();
            embedded << match.captured(1);
        }
        EXPECT_EQ(embedded, (QStringList{"LiberationSans-Bold", "LiberationSans"})) << fonts.toStdString();
    }
}

// The texts of a saved project are Latin-1 bytes; the report prints them as
// the window shows them, in the page text and the document's title.
TEST(ReportTool, ProjectTextsPrintAsTheWindowShowsThem) {
    TTempFolder folder;
    TMatData project;
    project.Organization = "Caf\xE9 Ing\xE9nierie";
    project.ProjectName = "Br\xFC"
                          "cke 20\xB0";
    project.DesignedBy = "\xC3\xA9"; // two characters, not UTF-8
    project.SaveToFile(folder.Path() / "texts.ksw");
    const QString pdf = Path(folder.Path() / "texts.pdf");
    ASSERT_EQ(RunReportTool({Path(folder.Path() / "texts.ksw"), pdf}), 0);
    EXPECT_EQ(PdfInfo(pdf, QStringLiteral("Title")), QString::fromUtf8("Br\u00FCcke 20\u00B0"));
    const QString text = PdfText(pdf);
    EXPECT_TRUE(text.contains(QString::fromUtf8("Caf\u00E9 Ing\u00E9nierie")));
    EXPECT_TRUE(text.contains(QString::fromUtf8("\u00C3\u00A9")));
}

// A project Open had to change is still printed, with what was changed on
// stderr in the words of the program's Open warning.
TEST(ReportTool, AChangedProjectPrintsWithItsWarning) {
    TTempFolder folder;
    TMatData project;
    project.StripLength = 1e6;
    project.SaveToFile(folder.Path() / "long.ksw");
    const QString pdf = Path(folder.Path() / "long.pdf");
    QString errors;
    ASSERT_EQ(RunReportTool({Path(folder.Path() / "long.ksw"), pdf}, &errors), 0);
    EXPECT_TRUE(errors.startsWith("slabwise-report: \"" + Path(folder.Path() / "long.ksw") +
                                  "\" was not opened exactly as it is stored"))
        << errors.toStdString();
    EXPECT_TRUE(errors.contains("\n\nChanged to fit the limits:\n  Strip Length, L: "))
        << errors.toStdString();
    EXPECT_EQ(PdfPages(pdf), 6);
}

TEST(ReportTool, FailuresHaveTheirExitStatus) {
    TTempFolder folder;
    const QString pdf = Path(folder.Path() / "out.pdf");
    {
        QFile bad(Path(folder.Path() / "bad.ksw"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write("not a project");
    }
    struct TCase {
        const char* Name;
        QStringList Arguments;
        int Status;
    };
    const TCase cases[] = {
        {"no arguments", {}, 2},
        {"one argument", {English}, 2},
        {"unknown paper", {"--paper", "legal", English, pdf}, 2},
        {"missing project", {Path(folder.Path() / "none.ksw"), pdf}, 2},
        {"not a project", {Path(folder.Path() / "bad.ksw"), pdf}, 2},
        {"folder missing", {English, Path(folder.Path() / "no" / "out.pdf")}, 3},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(RunReportTool(c.Arguments), c.Status);
        EXPECT_EQ(folder.Entries(), std::vector<fs::path>{"bad.ksw"});
    }
}

} // namespace slabwise::test
