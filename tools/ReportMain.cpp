// slabwise-report [--paper letter|a4] FILE.ksw OUT.pdf: writes the printed
// report of a saved project as a PDF, without a display: the project is
// opened as Open opens it, analysed, and printed as Export PDF prints it.

#include "model/MatData.h"
#include "report/OpenWarnings.h"
#include "report/ReportOutput.h"
#include "report/ReportSource.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <memory>

namespace {

constexpr int ExitWritten = 0;
constexpr int ExitUsage = 2;
constexpr int ExitUnreadable = 2;
constexpr int ExitNotWritten = 3;

// Blocks up to this size come from the heap, and the heap keeps as much.
constexpr int PictureHeapLimit = 256 << 20;
// The heap the report's pictures are drawn in, reserved at the start.
constexpr std::size_t PictureRoom = std::size_t{64} << 20;

// The report's pictures are megabytes each, drawn, copied and encoded one
// after another: taken from the heap and given back to it, they reuse the
// same pages instead of asking the system for fresh zeroed ones each time.
// The heap is grown once by room for them, marked for huge pages where the
// system offers them: memory touched for the first time then costs one
// fault per huge page instead of one per small page.
void PrepareHeapForPictures() {
    mallopt(M_MMAP_THRESHOLD, PictureHeapLimit);
    mallopt(M_TRIM_THRESHOLD, PictureHeapLimit);
#ifdef MADV_HUGEPAGE
    struct TFree {
        void operator()(void* block) const { std::free(block); }
    };
    const std::unique_ptr<void, TFree> room(std::malloc(PictureRoom));
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (!room || pageSize <= 0) return;
    const auto page = static_cast<std::uintptr_t>(pageSize);
    const auto start = reinterpret_cast<std::uintptr_t>(room.get());
    const std::uintptr_t begin = (start + page - 1) / page * page;
    const std::uintptr_t end = (start + PictureRoom) / page * page;
    // Without huge pages the heap is only grown; nothing depends on them.
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#endif
}

constexpr const char* Usage = "usage: slabwise-report [--paper letter|a4] FILE.ksw OUT.pdf";

void PrintHelp() {
    std::cout << Usage << "\n\n"
              << "Opens the project as the program does and writes its printed report as PDF.\n"
                 "The paper is the locale's (Letter or A4) unless --paper names it.\n"
                 "\n"
                 "Exit status: 0 written; 2 wrong arguments or unreadable project; 3 the PDF\n"
                 "could not be written (nothing is left at OUT.pdf then).\n";
}

void Warn(const QString& text) {
    std::cerr << "slabwise-report: " << text.toStdString() << '\n';
}

} // namespace

int main(int argc, char** argv) {
    PrepareHeapForPictures();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // No window is made: the report's pictures are drawn without widgets.
    QGuiApplication app(argc, argv);
    QGuiApplication::setOrganizationName(QStringLiteral("Kelvane"));
    QGuiApplication::setApplicationName(QStringLiteral("Slabwise"));
    // The drawings take the font the program's tests and pictures use.
    if (QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans")))
        QGuiApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    QStringList args = QGuiApplication::arguments();
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
    const QString project = args[0];
    try {
        // The model is large; the heap keeps it off the stack.
        auto mat = std::make_unique<slabwise::TMatData>();
        try {
            const slabwise::TOpenReport report = slabwise::OpenAndAnalyse(
                *mat, std::filesystem::path(QFile::encodeName(project).toStdString()));
            // A changed project is still printed.
            if (!report.Clean()) Warn(slabwise::OpenChangedWarning(project, report));
        } catch (const std::exception& error) {
            Warn(slabwise::OpenRefusedWarning(project, error));
            std::cerr << "slabwise-report: cannot read " << project.toStdString() << '\n';
            return ExitUnreadable;
        }
        const slabwise::TProjectReportSource source(*mat);
        // A file is not printed: the locale's paper, without asking the
        // print system for a default printer, which loads its plugins.
        slabwise::WriteReportPdf(source, args[1], paper ? *paper : slabwise::LocaleDefaultPaper(),
                                 slabwise::ProjectPdfTexts(source));
    } catch (const slabwise::EReportError& error) {
        std::cerr << "slabwise-report: " << error.what() << '\n';
        return ExitNotWritten;
    } catch (const std::exception& error) {
        std::cerr << "slabwise-report: " << project.toStdString() << ": " << error.what() << '\n';
        return ExitUnreadable;
    }
    return ExitWritten;
}
