// The report as the main window writes it: Print's three outputs, Export
// PDF, the commit of the focused field, page 1 on Letter and A4, and a
// failed write; and the paper the command-line tool takes by itself.

#include "PopplerTools.h"
#include "PrintCommands.h"
#include "ReportProjects.h"
#include "ReportRecorder.h"
#include "VersionFoldersPlacement.h"
#include "WindowFixture.h"
#include "report/ReportOutput.h"
#include "support/TempFolder.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPrintPreviewDialog>
#include <QProcess>
#include <QRadioButton>
#include <QTimer>
#include <QToolBar>

#include <filesystem>

namespace slabwise::test {

namespace {

namespace fs = std::filesystem;

class ReportPdf : public WindowTest {
protected:
    void Open(const QString& project) {
        dialogs.OpenFiles.push_back(project);
        window->AOpenExecute();
        ASSERT_EQ(window->FileName(), project) << dialogs.Warnings.join(u'|').toStdString();
    }
    QAction& Action(const char* name) { return Control<QAction>(name); }
};

} // namespace

// Each project's PDF carries the title, every heading, the values the window
// shows, the version, and its pages; every page goes to PNG for a look.
TEST_F(ReportPdf, ExportWritesWhatTheWindowShows) {
    struct TCase {
        QString Project;
        const char* Pdf;
        QStringList Captions; // unit captions of the window's system
    };
    const TCase cases[] = {
        {Example("Example English Units.ksw"), "English.pdf", {"kips/ft", "ft-kips", "ksf"}},
        {Example("Example SI Units.ksw"), "SI.pdf", {"kN/m", "kN-m", "kPa"}},
        {EveryLoadProject(), "Every Load Slot.pdf", {"kips/ft", "ft-kips", "ksf"}},
        {NoTensionProject(),
         "No Tension.pdf",
         {"kN/m", "kN-m", "kPa", "Soil takes no tension; contact zones: 0.00 to"}},
    };
    QDir().mkpath(Pages);
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Pdf);
        Open(c.Project);
        const QString pdf = Pages + u'/' + QLatin1String(c.Pdf);
        QFile::remove(pdf);
        dialogs.ReportFiles.push_back(pdf);
        Action("AExportPdf").trigger();
        ASSERT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(u'\n').toStdString();
        // Offered beside the project, under its name.
        EXPECT_EQ(dialogs.ReportPresets.last(),
                  QFileInfo(c.Project).path() + u'/' + QFileInfo(c.Project).completeBaseName() + ".pdf");
        ASSERT_TRUE(QFileInfo::exists(pdf));
        const bool reinforced = window->Model().UseReinforcement != 0;
        EXPECT_EQ(PdfPages(pdf), reinforced ? 6 : 5);
        EXPECT_EQ(PdfInfo(pdf, QStringLiteral("Title")), Text("Edit33"));
        const QString text = PdfText(pdf);
        QStringList expected = {"Slabwise Analysis",
                                "Mat Geometry",
                                "Mat Loadings",
                                "Results",
                                "User Designated Points",
                                "Plan",
                                "Cross Section",
                                "Loading",
                                "Table of Results - Nodes 1 to 50",
                                "Table of Results - Nodes 51 to 101",
                                "References:",
                                "7. Kelvane Slabwise Software v" + GetVersionText(),
                                "Slabwise v" + GetVersionText()};
        if (reinforced)
            expected << "Reinforcement Summary"
                     << "Reinforcement"
                     << "Negative Moment";
        expected << c.Captions;
        for (const char* edit : {"Edit28", "Edit1", "Edit12", "Edit14", "Edit18", "Edit24", "Edit31",
                                 "Edit37", "EditVx1", "EditPoint1p"})
            expected << Text(edit);
        if (reinforced)
            for (const char* edit : {"Edit41", "Edit44", "Edit53", "Edit61"}) expected << Text(edit);
        expected << Caption("Label72");
        // A long project name is cut at the end of its two-inch tab.
        QString name = Text("Edit33");
        while (ReportTextWidth({QString::fromLatin1(ReportFontFace), 10, true}, name) > 2.0) name.chop(1);
        expected << name;
        for (const QString& want : expected) EXPECT_TRUE(text.contains(want)) << want.toStdString();
        RenderPages(pdf, pdf.chopped(4));
    }
}

// Nothing on page 1 runs into the footer or off the paper, on Letter or A4,
// for both examples and a project with every load slot used.
TEST_F(ReportPdf, FirstPageStaysInsideThePaper) {
    struct TPaper {
        const char* Name;
        double Width;
        double Height;
    };
    const TPaper papers[] = {{"Letter", 8.5, 11}, {"A4", 210 / 25.4, 297 / 25.4}};
    for (const QString& project :
         {Example("Example English Units.ksw"), Example("Example SI Units.ksw"), EveryLoadProject()}) {
        Open(project);
        const auto source = MakeReportSource(*window);
        for (const TPaper& paper : papers) {
            SCOPED_TRACE(QFileInfo(project).fileName().toStdString() + " on " + paper.Name);
            TRecordingBackEnd pages(paper.Width, paper.Height);
            RunReport(pages, *source);
            for (const auto& op : pages.Texts(1)) {
                if (op.Font.Size == 9) continue; // the footer itself
                const double descent = 0.22 * op.Font.Size / 72;
                EXPECT_LT(op.Y + descent, paper.Height - 0.55) << op.Text.toStdString();
                EXPECT_GE(op.X, 0.5) << op.Text.toStdString();
                EXPECT_LE(op.X + ReportTextWidth(op.Font, op.Text), paper.Width - 0.5)
                    << op.Text.toStdString();
            }
            for (const auto& op : pages.Pictures(1)) EXPECT_LE(op.Rect.right(), paper.Width - 1 + 1e-9);
        }
    }
}

// The block of user-designated points prints, row by row and column by
// column, what the window's boxes show: distances, shears, moments,
// deflections and pressures each on the line of their own caption, x1 to x4
// from left to right.
TEST_F(ReportPdf, UserPointsBlockPrintsTheWindowsValues) {
    for (const QString& project : {Example("Example English Units.ksw"), Example("Example SI Units.ksw")}) {
        SCOPED_TRACE(QFileInfo(project).fileName().toStdString());
        Open(project);
        const auto source = MakeReportSource(*window);
        TRecordingBackEnd pages(8.5, 11);
        RunReport(pages, *source);
        const auto texts = pages.Texts(1);
        // Below the block's heading, so the results beside it on the same
        // lines are left of its first caption.
        double headingY = -1;
        for (const auto& op : texts)
            if (op.Text == Caption("Label3")) headingY = op.Y;
        ASSERT_GT(headingY, 0);
        const std::pair<const char*, const char*> rows[] = {{"Label15", "Edit%1"},
                                                            {"Label117", "EditVx%1"},
                                                            {"Label118", "EditMx%1"},
                                                            {"Label119", "EditDx%1"},
                                                            {"Label120", "EditQx%1"}};
        for (const auto& [label, edits] : rows) {
            SCOPED_TRACE(label);
            const TRecordingBackEnd::TOp* caption = nullptr;
            for (const auto& op : texts)
                if (op.Y > headingY && Caption(label).startsWith(op.Text) && !op.Text.isEmpty())
                    caption = &op;
            ASSERT_NE(caption, nullptr);
            std::vector<TRecordingBackEnd::TOp> line;
            for (const auto& op : texts)
                if (std::abs(op.Y - caption->Y) < 1e-9 && op.X > caption->X) line.push_back(op);
            std::sort(line.begin(), line.end(), [](const auto& a, const auto& b) { return a.X < b.X; });
            QStringList printed, shown;
            for (const auto& op : line) printed << op.Text;
            for (int i = 1; i <= UserPointCount; ++i) {
                // Distances sit in Edit6 to Edit9; the results in their own rows.
                const QString edit =
                    QString::fromLatin1(edits).arg(QLatin1String(label) == "Label15" ? i + 5 : i);
                shown << Text(edit.toLatin1().constData());
            }
            EXPECT_EQ(printed, shown);
        }
    }
}

// Print asks where the report goes: the preview (maximised), the printer
// (under the job title "Kelvane Slabwise"), a PDF file, or nowhere.
TEST_F(ReportPdf, PrintGoesWhereTheUserChose) {
    TTempFolder folder;
    // What the printer got stays in the build folder for a look.
    QDir().mkpath(Pages);
    const QString printed = Pages + QStringLiteral("/Printer.pdf");
    const QString file = QString::fromStdString((folder.Path() / "file.pdf").string());
    struct TCase {
        TReportOutput Output;
        QString Written;
        QString Modal;
    };
    const TCase cases[] = {
        {TReportOutput::Preview, QString(), QStringLiteral("Report Preview")},
        {TReportOutput::Printer, printed, QString()},
        {TReportOutput::PdfFile, file, QString()},
        {TReportOutput::Cancel, QString(), QString()},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.Output));
        dialogs.ModalTitles.clear();
        dialogs.ReportOutputs = {c.Output};
        dialogs.PrinterFile = printed;
        dialogs.ReportFiles = {file};
        QFile::remove(printed);
        QFile::remove(file);
        const int choices = dialogs.OutputChoices;
        Action("APrint").trigger();
        EXPECT_EQ(dialogs.OutputChoices, choices + 1);
        EXPECT_TRUE(dialogs.Messages.isEmpty()) << dialogs.Messages.join(u'\n').toStdString();
        EXPECT_EQ(dialogs.ModalTitles, c.Modal.isEmpty() ? QStringList() : QStringList{c.Modal});
        for (const QString& pdf : {printed, file})
            EXPECT_EQ(QFileInfo::exists(pdf), pdf == c.Written) << pdf.toStdString();
        if (!c.Written.isEmpty()) {
            EXPECT_EQ(PdfPages(c.Written), 6);
        }
        if (c.Written == printed) {
            EXPECT_EQ(PdfInfo(printed, QStringLiteral("Title")), "Kelvane Slabwise");
            RenderPages(printed, printed.chopped(4));
        }
    }
}

// The preview opens maximised and shows every page of the report.
TEST_F(ReportPdf, PreviewShowsEveryPageMaximised) {
    dialogs.ReportOutputs = {TReportOutput::Preview};
    Action("APrint").trigger();
    ASSERT_EQ(dialogs.ModalClass, QStringLiteral("QPrintPreviewDialog"));
    EXPECT_GT(dialogs.ModalSize.width(), 0);
    // A preview that drew nothing would be one grey area.
    const QImage& shot = dialogs.ModalPicture;
    ASSERT_FALSE(shot.isNull());
    QDir().mkpath(Pages);
    shot.save(Pages + QStringLiteral("/preview.png"));
    int white = 0;
    for (int y = 0; y < shot.height(); y += 4)
        for (int x = 0; x < shot.width(); x += 4) white += shot.pixelColor(x, y) == QColor(Qt::white);
    EXPECT_GT(white, 100);
}

// The real output choice: three choices, the preview preselected.
TEST_F(ReportPdf, OutputOptionsOffersThreeChoices) {
    struct TCase {
        const char* Click; // nothing: Cancel
        TReportOutput Output;
    };
    const TCase cases[] = {{"", TReportOutput::Preview},
                           {"&Printer", TReportOutput::Printer},
                           {"PDF &File", TReportOutput::PdfFile},
                           {nullptr, TReportOutput::Cancel}};
    for (const TCase& c : cases) {
        TQtDialogs real;
        QStringList seen;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            seen << dialog->windowTitle();
            for (auto* button : dialog->findChildren<QRadioButton*>())
                seen << button->text() + (button->isChecked() ? "*" : "");
            dialog->grab().save(Pages + QStringLiteral("/output-options.png"));
            if (!c.Click) {
                dialog->reject();
                return;
            }
            for (auto* button : dialog->findChildren<QRadioButton*>())
                if (button->text() == QLatin1String(c.Click)) button->click();
            dialog->accept();
        });
        EXPECT_EQ(real.ChooseReportOutput(window.get()), c.Output);
        EXPECT_EQ(seen, (QStringList{"Output Options", "Print Pre&view*", "&Printer", "PDF &File"}));
    }
}

// The field being typed is committed before the report is made, as before
// Save.
TEST_F(ReportPdf, PrintCommitsTheFocusedField) {
    TTempFolder folder;
    const QString pdf = QString::fromStdString((folder.Path() / "typed.pdf").string());
    Type("Edit1", QStringLiteral("52"));
    ASSERT_NE(window->Model().StripLength, 52);
    dialogs.ReportOutputs = {TReportOutput::PdfFile};
    dialogs.ReportFiles = {pdf};
    Action("APrint").trigger();
    EXPECT_EQ(window->Model().StripLength, 52);
    EXPECT_TRUE(PdfText(pdf).contains(Text("Edit1") + " " + Caption("Label5")));
}

// The maximum soil pressure is red when the window shows its bearing check
// failed; a check the window hides (it does for no allowable bearing) is
// not made, and the report shows none.
TEST_F(ReportPdf, BearingValuesRedOnlyWhenTheWindowShowsTheCheckFailed) {
    struct TCase {
        const char* Allowable;
        bool Hidden;
        bool Red;
    };
    // No allowable bearing cannot be typed (the field's least is 0.5); it
    // reaches the model otherwise.
    const TCase cases[] = {{"1", false, true}, {"100", false, false}, {"", true, false}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(std::string(c.Allowable) + (c.Hidden ? " hidden" : ""));
        if (*c.Allowable) {
            Commit("Edit62", QLatin1String(c.Allowable));
        } else {
            window->Model().AllowableBearing = 0;
            window->UpdateDisplay();
        }
        EXPECT_EQ(Control<QLabel>("Image9").isHidden(), c.Hidden);
        const auto source = MakeReportSource(*window);
        EXPECT_EQ(source->CheckFailed(QStringLiteral("Image9")), c.Red);
        TRecordingBackEnd pages(8.5, 11);
        RunReport(pages, *source);
        QStringList red;
        for (const auto& op : pages.Texts())
            if (op.Color != QColor(Qt::black)) red << op.Text;
        const QStringList expected = {Text("Edit24") + " " + Caption("Label95"), "@",
                                      Text("Edit25") + " " + Caption("Label96")};
        EXPECT_EQ(red, c.Red ? expected : QStringList());
    }
}

// Print and Export PDF in the File menu between separators, Print on the
// tool bar between separators, with their shortcuts.
TEST_F(ReportPdf, CommandsInMenuAndToolBar) {
    EXPECT_EQ(Action("APrint").text(), QStringLiteral("&Print"));
    EXPECT_EQ(Action("APrint").toolTip(), QStringLiteral("Print project"));
    EXPECT_EQ(Action("APrint").shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
    EXPECT_EQ(Action("AExportPdf").text(), QStringLiteral("Export PDF..."));
    EXPECT_EQ(Action("AExportPdf").shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+E")));
    auto neighbours = [](const QList<QAction*>& actions, QAction* action) {
        const qsizetype i = actions.indexOf(action);
        EXPECT_GT(i, 0);
        EXPECT_LT(i + 1, actions.size());
        return std::pair{actions.value(i - 1), actions.value(i + 1)};
    };
    const QList<QAction*> file = Control<QMenu>("File1").actions();
    const auto [beforePrint, afterPrint] = neighbours(file, &Action("APrint"));
    EXPECT_TRUE(beforePrint->isSeparator());
    EXPECT_EQ(afterPrint, &Action("AExportPdf"));
    // The exports stand together: Export CSV... follows, then a separator.
    const QAction* afterPdf = neighbours(file, &Action("AExportPdf")).second;
    EXPECT_EQ(afterPdf->objectName(), QStringLiteral("AExportCsv"));
    EXPECT_TRUE(neighbours(file, const_cast<QAction*>(afterPdf)).second->isSeparator());
    EXPECT_EQ(file.indexOf(&Action("ASaveAs")) + 2, file.indexOf(&Action("APrint")));
    const QList<QAction*> tools = Control<QToolBar>("ToolBar1").actions();
    const auto [left, right] = neighbours(tools, &Action("APrint"));
    EXPECT_TRUE(left->isSeparator());
    EXPECT_TRUE(right->isSeparator());
    EXPECT_EQ(tools.indexOf(&Action("ASave")) + 2, tools.indexOf(&Action("APrint")));
}

// A PDF that cannot be written is reported with its path and the reason,
// and leaves nothing behind; a report that fails half-way leaves an older
// file as it was.
TEST_F(ReportPdf, FailedWriteLeavesNoFileBehind) {
    TTempFolder folder;
    const QString base = QString::fromStdString(folder.Path().string());
    for (const QString& target : {base + "/missing folder/out.pdf", base}) {
        SCOPED_TRACE(target.toStdString());
        dialogs.Messages.clear();
        dialogs.ReportFiles = {target};
        Action("AExportPdf").trigger();
        ASSERT_EQ(dialogs.Messages.size(), 1);
        EXPECT_TRUE(dialogs.Messages[0].contains(target)) << dialogs.Messages[0].toStdString();
        EXPECT_GT(dialogs.Messages[0].size(), target.size() + 25) << "a reason";
        EXPECT_TRUE(folder.Entries().empty());
    }

    const QString old = base + "/old.pdf";
    {
        QFile file(old);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("older report");
    }
    TFakeSource failing(window->Model());
    failing.ThrowAt = QStringLiteral("Label121"); // on the third page
    EXPECT_THROW(WriteReportPdf(failing, old, QPageSize(QPageSize::A4), {}), std::runtime_error);
    QFile file(old);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("older report"));
    EXPECT_EQ(folder.Entries(), std::vector<fs::path>{"old.pdf"});
}

// Without --paper the tool writes the file on the locale's paper and asks
// no printer for its own, so a printer set up on the machine does not change
// what a script gets.
TEST(ReportToolPaper, LocaleChoosesThePaper) {
    TTempFolder folder;
    struct TCase {
        const char* Locale;
        const char* PageSize;
    };
    const TCase cases[] = {
        {"en_US.UTF-8", "(letter)"},
        {"en_CA.UTF-8", "(letter)"},
        {"de_DE.UTF-8", "(A4)"},
        {"en_GB.UTF-8", "(A4)"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Locale);
        const QString pdf = QString::fromStdString((folder.Path() / "paper.pdf").string());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), QString::fromLatin1(c.Locale));
        environment.insert(QStringLiteral("LANG"), QString::fromLatin1(c.Locale));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(folder.Path().string()));
        QProcess tool;
        tool.setProcessEnvironment(environment);
        tool.start(QStringLiteral(SLABWISE_REPORT_EXE), {Example("Example English Units.ksw"), pdf});
        ASSERT_TRUE(tool.waitForFinished(60000));
        ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
        EXPECT_TRUE(PdfInfo(pdf, QStringLiteral("Page size")).endsWith(QLatin1String(c.PageSize)))
            << PdfInfo(pdf, QStringLiteral("Page size")).toStdString();
    }
}

} // namespace slabwise::test
