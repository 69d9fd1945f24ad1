// slabwise-draw FILE.ksw KIND WIDTHxHEIGHT OUT.png: draws one diagram of a
// project, as the enlarged-picture window gets it, and writes it as PNG.

#include "model/FloatFault.h"
#include "model/MatData.h"
#include "model/OpenProject.h"
#include "views/DiagramDraw.h"

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QRegularExpression>
#include <QSaveFile>
#include <QString>

#include <exception>
#include <iostream>
#include <optional>
#include <string>

namespace {

// Exit statuses.
constexpr int ExitWritten = 0;
constexpr int ExitEmpty = 1;
constexpr int ExitUsage = 2;
constexpr int ExitUnreadable = 2;
constexpr int ExitNotWritten = 3;

constexpr const char* Usage = "usage: slabwise-draw FILE.ksw plan|loading|reinforcement WIDTHxHEIGHT OUT.png";

// A page of the report at 600 dpi is about 5000 x 6600 pixels; a bitmap of
// MaxPixels takes 64 MB and draws in well under a second, while 20000 x 20000
// took gigabytes.
constexpr int MaxSide = 8192;
constexpr qint64 MaxPixels = qint64{4096} * 4096;

void PrintHelp() {
    std::cout << Usage << "\n\n"
              << "Analyses the project and draws one of its diagrams into a bitmap of the given\n"
                 "size, then writes the picture, cut to the height the diagram uses, as PNG.\n"
                 "\n"
                 "  plan            plan and cross section\n"
                 "  loading         the loads in lanes above and below the strip\n"
                 "  reinforcement   the top and bottom bars in a section along the strip\n"
                 "\n"
                 "WIDTH and HEIGHT are at most 8192 pixels each and 16777216 (4096 x 4096)\n"
                 "together. The PNG is written to a temporary file beside OUT.png and renamed\n"
                 "over it when complete.\n"
                 "\n"
                 "Exit status: 0 written; 1 nothing to draw (zero length, width or thickness,\n"
                 "or reinforcement switched off); 2 wrong arguments, a size above the limits or\n"
                 "an unreadable project; 3 the picture could not be made or written.\n";
}

std::optional<slabwise::TDiagramKind> ParseKind(const QString& text) {
    if (text == "plan") return slabwise::dkPlanSection;
    if (text == "loading") return slabwise::dkLoading;
    if (text == "reinforcement") return slabwise::dkReinforcement;
    return std::nullopt;
}

std::optional<QSize> ParseSize(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const auto match = pattern.match(text);
    if (!match.hasMatch()) return std::nullopt;
    const QSize size(match.captured(1).toInt(), match.captured(2).toInt());
    if (size.isEmpty()) return std::nullopt;
    return size;
}

} // namespace

int main(int argc, char** argv) {
    // A renderer needs no screen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The font the project installs and its tests use, so pictures come out
    // the same on every machine that has it.
    if (QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans")))
        QGuiApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    const QStringList args = QGuiApplication::arguments();
    if (args.size() == 2 && (args[1] == "--help" || args[1] == "-h")) {
        PrintHelp();
        return ExitWritten;
    }
    if (args.size() != 5) {
        std::cerr << Usage << '\n';
        return ExitUsage;
    }
    const auto kind = ParseKind(args[2]);
    const auto size = ParseSize(args[3]);
    if (!kind || !size) {
        std::cerr << Usage << '\n';
        return ExitUsage;
    }
    if (size->width() > MaxSide || size->height() > MaxSide ||
        qint64{size->width()} * size->height() > MaxPixels) {
        std::cerr << "slabwise-draw: " << args[3].toStdString() << " is too large: at most " << MaxSide
                  << " pixels a side and " << MaxPixels << " pixels in all\n";
        return ExitUsage;
    }

    slabwise::TMatData model;
    try {
        // Taken as the main window's Open takes it, with each change said.
        const slabwise::TOpenReport report = slabwise::OpenProject(model, args[1].toStdString());
        for (const std::string& line : report.Lines())
            std::cerr << "slabwise-draw: " << args[1].toStdString() << ": " << line << '\n';
    } catch (const std::exception& e) {
        std::cerr << "slabwise-draw: cannot read " << args[1].toStdString() << ": " << e.what() << '\n';
        return ExitUnreadable;
    }
    try {
        model.Analyze();
    } catch (const slabwise::EFloatFault&) {
        // As in the main window: the drawing shows what the analysis reached.
    }

    QImage picture(*size, QImage::Format_RGB32);
    if (picture.isNull()) {
        std::cerr << "slabwise-draw: not enough memory for a " << args[3].toStdString() << " picture\n";
        return ExitNotWritten;
    }
    slabwise::DrawDiagramToBitmap(picture, model, *kind);
    if (picture.isNull()) {
        std::cerr
            << "slabwise-draw: nothing to draw (zero length, width or thickness, or no reinforcement)\n";
        return ExitEmpty;
    }
    // A write that fails or is killed part-way leaves any earlier OUT.png
    // whole instead of a truncated picture under its name.
    QSaveFile out(args[4]);
    if (!out.open(QIODevice::WriteOnly) || !picture.save(&out, "PNG") || !out.commit()) {
        std::cerr << "slabwise-draw: cannot write " << args[4].toStdString() << ": "
                  << out.errorString().toStdString() << '\n';
        return ExitNotWritten;
    }
    return ExitWritten;
}
