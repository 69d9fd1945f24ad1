// slabwise-analyze [--json | --csv] [--tension-less] [FILE.ksw]: analyses one
// project and prints the results as a text report, as JSON or the nodal table
// as CSV.

#include "reporttext/AnalysisReport.h"

#include "model/ContactZones.h"
#include "model/FloatFault.h"
#include "model/MatData.h"
#include "model/OpenProject.h"
#include "model/ResultsCsv.h"

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
constexpr int ExitUnreadable = 2;
constexpr int ExitUsage = 2;
constexpr int ExitOtherFailure = 3;

constexpr std::string_view Program = "slabwise-analyze";
constexpr std::string_view Usage = "usage: slabwise-analyze [--json | --csv] [--tension-less] [FILE.ksw]";
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
                 "  --help     print this help\n"
                 "\n"
                 "The project is taken as the program's Open takes it: each value outside\n"
                 "its field's limits is brought within them, and each such change, like the\n"
                 "fields of a file that ends early, is listed on standard error.\n"
                 "\n"
                 "Exit status: 0 analysed; 1 the analysis stopped at a floating-point fault, or\n"
                 "the loads lift the strip off soil that takes no tension (the results it did\n"
                 "not reach show as N.A. or null); 2 the project could not be read\n"
                 "or the arguments are wrong; 3 any other failure, such as output that could not\n"
                 "be written.\n";
}

struct TOptions {
    bool Json = false;
    bool TensionLess = false;
    bool Csv = false;
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
        } else if ((!optionsEnded && arg.size() > 1 && arg.front() == '-') || options.File) {
            // An unknown option or a second file.
            return std::nullopt;
        } else {
            options.File = std::filesystem::path(arg);
        }
    }
    if (options.Json && options.Csv) return std::nullopt;
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
