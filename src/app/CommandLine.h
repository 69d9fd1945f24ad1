#pragma once

#include <QString>
#include <QStringList>

namespace slabwise {

// What the program was asked to do on its command line: one optional project
// to open, or --help / --version.
struct TCommandLine {
    enum class TAction { Run, Help, Version, Wrong };
    TAction Action = TAction::Run;
    QString File; // empty: start on a new project
};

// arguments: without the program name; "--" ends the options, so a project
// whose name starts with "-" can still be given.
TCommandLine ParseCommandLine(const QStringList& arguments);
QString CommandLineUsage();
QString CommandLineHelp();

} // namespace slabwise
