// slabwise-analyze [--json | --csv] [--tension-less] [--optimise] [FILE.ksw]:
// analyses one project and prints the results as a text report, as JSON or
// the nodal table as CSV; or searches for its thinnest passing design.

#include "reporttext/AnalysisReport.h"

#include "model/ContactZones.h"
#include "model/FloatFault.h"
#include "model/MatData.h"
#include "model/OpenProject.h"
#include "model/ResultsCsv.h"
#include "model/ThinnestDesign.h"

#include <exception>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

namespace {

// Exit statuses.
constexpr int ExitAnalysed = 0;
constexpr int ExitFloatFault = 1;
constexpr int ExitNoEquilibrium = 1;
constexpr int ExitNoPassingDesign = 1;
constexpr int ExitUnreadable = 2;
constexpr int ExitUsage = 2;
constexpr int ExitOtherFailure = 3;

constexpr std::string_view Program = "slabwise-analyze";
constexpr std::string_view Usage =
    "usage: slabwise-analyze [--json | --csv] [--tension-less] [--optimise] [FILE.ksw]";
constexpr const char* EnglishExample = "Example English Units.ksw";

void PrintHelp() {
    std::cout << Usage << "\n\n"
              << "Analyses one strip of a mat foundation as a finite beam on a Winkler foundation\n"
                 "and designs its reinforcement, then prints the results.\n"
                 "\n"
                 "  FILE.ksw   the project to analyse; without it, the English example project\n"
                 "             beside this program (or in the installed data folder)\n"
                 "  --json     print every input and result as one JSON object instead of the\n"
                 "             text report\n"
                 "  --csv      print the results at the 101 nodes as CSV, as the results table\n"
                 "             exports them: a header row with units, full precision\n"
                 "  --tension-less\n"
                 "             analyse with soil that takes no tension (the strip may lift\n"
                 "             off), whatever the project stores\n"
                 "  --optimise print the thinnest design for which every design check\n"
                 "             passes instead of the results: the thickness, stepped by the\n"
                 "             thickness field's resolution upward from its smallest value,\n"
                 "             and at it the bar sizes of the project's bar system with the\n"
                 "             least steel (computed bar counts), the governing check and\n"
                 "             the number of candidates judged; or why none passes. With\n"
                 "             --json, as an \"Optimised\" object\n"
                 "  --help     print this help\n"
                 "\n"
                 "The project is taken as the program's Open takes it: each value outside\n"
                 "its field's limits is brought within them, and each such change, like the\n"
                 "fields of a file that ends early, is listed on standard error.\n"
                 "\n"
                 "Exit status: 0 analysed, or with --optimise a design found; 1 the analysis\n"
                 "stopped at a floating-point fault, or the loads lift the strip off soil that\n"
                 "takes no tension (the results it did not reach show as N.A. or null), or\n"
                 "with --optimise no thickness passes; 2 the project could not be read\n"
                 "or the arguments are wrong; 3 any other failure, such as output that could not\n"
                 "be written.\n";
}

struct TOptions {
    bool Json = false;
    bool TensionLess = false;
    bool Csv = false;
    bool Optimise = false;
    std::optional<std::filesystem::path> File;
};

// Empty when the arguments are not understood.
std::optional<TOptions> ParseArguments(int argc, char** argv, bool& help) {
    TOptions options;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
            help = true;
        } else if (!optionsEnded && arg == "--json") {
            options.Json = true;
        } else if (!optionsEnded && arg == "--tension-less") {
            options.TensionLess = true;
        } else if (!optionsEnded && arg == "--csv") {
            options.Csv = true;
        } else if (!optionsEnded && arg == "--optimise") {
            options.Optimise = true;
        } else if ((!optionsEnded && arg.size() > 1 && arg.front() == '-') || options.File) {
            // An unknown option or a second file.
            return std::nullopt;
        } else {
            options.File = std::filesystem::path(arg);
        }
    }
    // The search has no nodal table to export.
    if (options.Csv && (options.Json || options.Optimise)) return std::nullopt;
    return options;
}

} // namespace

int main(int argc, char** argv) {
    bool help = false;
    const std::optional<TOptions> options = ParseArguments(argc, argv, help);
    if (!options) {
        std::cerr << Usage << '\n';
        return ExitUsage;
    }
    if (help) {
        PrintHelp();
        return std::cout.flush() ? ExitAnalysed : ExitOtherFailure;
    }

    try {
        const std::filesystem::path folder = slabwise::TMatData::DefaultExampleFolder();
        slabwise::TMatData mat{folder};
        const std::filesystem::path file = options->File ? *options->File : folder / EnglishExample;
        try {
            // Taken as the main window's Open takes it; what that changes
            // is said, and is no failure.
            const slabwise::TOpenReport report = slabwise::OpenProject(mat, file);
            for (const std::string& line : report.Lines())
                std::cerr << Program << ": " << file.string() << ": " << line << '\n';
        } catch (const std::filesystem::filesystem_error& e) {
            // Its message names the file already.
            std::cerr << Program << ": " << e.what() << '\n';
            return ExitUnreadable;
        } catch (const std::exception& e) {
            std::cerr << Program << ": " << file.string() << ": " << e.what() << '\n';
            return ExitUnreadable;
        }

        if (options->TensionLess) mat.SoilTakesNoTension = 1;

        if (options->Optimise) {
            const slabwise::TThinnestDesign found = slabwise::FindThinnestDesign(mat);
            if (options->Json)
                std::cout << slabwise::OptimisedJson(mat, found).dump(2) << '\n';
            else
                std::cout << slabwise::OptimisedText(mat, found);
            if (!std::cout.flush()) {
                std::cerr << Program << ": cannot write the results\n";
                return ExitOtherFailure;
            }
            return found.Found ? ExitAnalysed : ExitNoPassingDesign;
        }

        std::optional<std::string> fault, noEquilibrium;
        try {
            mat.Analyze();
        } catch (const slabwise::EFloatFault& e) {
            fault = e.what();
        } catch (const slabwise::ENoEquilibrium& e) {
            noEquilibrium = e.what();
        }

        if (options->Csv)
            std::cout << slabwise::NodeResultsCsv(mat);
        else if (options->Json)
            std::cout << slabwise::AnalysisJson(mat).dump(2) << '\n';
        else
            std::cout << slabwise::AnalysisText(mat);
        if (!std::cout.flush()) {
            std::cerr << Program << ": cannot write the results\n";
            return ExitOtherFailure;
        }
        if (fault) {
            std::cerr << Program << ": the analysis stopped at a floating-point fault: " << *fault << '\n';
            return ExitFloatFault;
        }
        if (noEquilibrium) {
            std::cerr << Program << ": " << *noEquilibrium << '\n';
            return ExitNoEquilibrium;
        }
        return ExitAnalysed;
    } catch (const std::exception& e) {
        std::cerr << Program << ": " << e.what() << '\n';
        return ExitOtherFailure;
    }
}
