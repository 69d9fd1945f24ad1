// slabwise-report [--paper letter|a4] FILE.ksw OUT.pdf: writes the printed
// report of a saved project as a PDF, without a display, exactly as the
// program's Export PDF does: the main window is made off screen, opens the
// project as Open does, and prints through the same path.

#include "Dialogs.h"
#include "MainWindow.h"
#include "PrintCommands.h"
#include "report/ReportOutput.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QSettings>
#include <QTemporaryDir>

#include <exception>
#include <iostream>

namespace {

constexpr int ExitWritten = 0;
constexpr int ExitUsage = 2;
constexpr int ExitUnreadable = 2;
constexpr int ExitNotWritten = 3;

constexpr const char* Usage = "usage: slabwise-report [--paper letter|a4] FILE.ksw OUT.pdf";

void PrintHelp() {
    std::cout << Usage << "\n\n"
              << "Opens the project as the program does and writes its printed report as PDF.\n"
                 "The paper is the default printer's, else the locale's (Letter or A4), unless\n"
                 "--paper names it.\n"
                 "\n"
                 "Exit status: 0 written; 2 wrong arguments or unreadable project; 3 the PDF\n"
                 "could not be written (nothing is left at OUT.pdf then).\n";
}

// The window asks nothing of anyone here: the project to open is the one
// given, every message is an error for stderr.
class TToolDialogs : public slabwise::TDialogs {
public:
    explicit TToolDialogs(QString project) : project_(std::move(project)) {}
    QStringList Messages;

    slabwise::TAnswer Confirm(QWidget*, const QString&) override { return slabwise::TAnswer::Cancel; }
    void ShowMessage(QWidget*, const QString& text) override { Messages << text; }
    QString OpenProjectFile(QWidget*, const QString&, const QString&) override { return project_; }
    QString SaveProjectFile(QWidget*, const QString&, const QString&) override { return {}; }
    QString OpenLogoFile(QWidget*) override { return {}; }
    void OpenUrl(const QUrl&) override {}
    void RunModal(QDialog&) override {}
    void ShowAbout(QWidget*) override {}
    slabwise::TReportOutput ChooseReportOutput(QWidget*) override { return slabwise::TReportOutput::Cancel; }
    bool SetUpPrinter(QWidget*, QPrinter&) override { return false; }
    QString SaveReportFile(QWidget*, const QString&, const QString&) override { return {}; }

private:
    QString project_;
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Kelvane"));
    QApplication::setApplicationName(QStringLiteral("Slabwise"));
    // The drawings take the font the program's tests and pictures use.
    if (QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans")))
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    QStringList args = QApplication::arguments();
    args.removeFirst();
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        PrintHelp();
        return ExitWritten;
    }
    std::optional<QPageSize> paper;
    if (args.size() >= 2 && args[0] == "--paper") {
        if (args[1] == "letter")
            paper = QPageSize(QPageSize::Letter);
        else if (args[1] == "a4")
            paper = QPageSize(QPageSize::A4);
        else {
            std::cerr << Usage << '\n';
            return ExitUsage;
        }
        args = args.mid(2);
    }
    if (args.size() != 2) {
        std::cerr << Usage << '\n';
        return ExitUsage;
    }
    // The window keeps its placement in the user's settings; this one is
    // never seen, so it must not overwrite them.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());

    TToolDialogs dialogs(args[0]);
    try {
        slabwise::TfrmMain window(dialogs);
        window.AOpenExecute();
        if (window.FileName().isEmpty() || !dialogs.Messages.isEmpty()) {
            for (const QString& message : dialogs.Messages) std::cerr << message.toStdString() << '\n';
            std::cerr << "slabwise-report: cannot read " << args[0].toStdString() << '\n';
            return ExitUnreadable;
        }
        const auto source = slabwise::MakeReportSource(window);
        slabwise::WriteReportPdf(*source, args[1], paper ? *paper : slabwise::DefaultReportPaper(),
                                 slabwise::ProjectPdfTexts(*source));
    } catch (const slabwise::EReportError& error) {
        std::cerr << "slabwise-report: " << error.what() << '\n';
        return ExitNotWritten;
    } catch (const std::exception& error) {
        std::cerr << "slabwise-report: " << args[0].toStdString() << ": " << error.what() << '\n';
        return ExitUnreadable;
    }
    return ExitWritten;
}
