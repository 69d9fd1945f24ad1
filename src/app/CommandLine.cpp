#include "CommandLine.h"

namespace slabwise {

TCommandLine ParseCommandLine(const QStringList& arguments) {
    TCommandLine line;
    bool optionsEnded = false;
    for (const QString& arg : arguments) {
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && (arg == QLatin1String("--help") || arg == QLatin1String("-h"))) {
            return {TCommandLine::TAction::Help, {}};
        } else if (!optionsEnded && arg == QLatin1String("--version")) {
            return {TCommandLine::TAction::Version, {}};
        } else if ((!optionsEnded && arg.size() > 1 && arg.startsWith(QLatin1Char('-'))) ||
                   !line.File.isEmpty() || arg.isEmpty()) {
            // An unknown option, a second file or an empty name.
            line.Action = TCommandLine::TAction::Wrong;
        } else {
            line.File = arg;
        }
    }
    if (line.Action == TCommandLine::TAction::Wrong) line.File.clear();
    return line;
}

QString CommandLineUsage() {
    return QStringLiteral("usage: slabwise [FILE.ksw]\n       slabwise --version | --help\n");
}

QString CommandLineHelp() {
    return CommandLineUsage() +
           QStringLiteral("\n"
                          "Analyses one strip of a mat foundation on elastic soil and designs its\n"
                          "reinforcement.\n"
                          "\n"
                          "  FILE.ksw    the project to open; without it, a new project\n"
                          "  --version   print the version and exit\n"
                          "  --help      print this help and exit\n");
}

} // namespace slabwise
