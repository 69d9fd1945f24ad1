// The program's command line: one optional project, --help, --version.

#include "CommandLine.h"

#include <gtest/gtest.h>

namespace slabwise::test {
namespace {

TEST(CommandLine, ArgumentsByCase) {
    using A = TCommandLine::TAction;
    const struct {
        QStringList Arguments;
        A Action;
        const char* File;
    } cases[] = {
        {{}, A::Run, ""},
        {{"beam.ksw"}, A::Run, "beam.ksw"},
        {{"/home/eng/My Projects/mat, north.ksw"}, A::Run, "/home/eng/My Projects/mat, north.ksw"},
        {{"--", "-odd.ksw"}, A::Run, "-odd.ksw"},
        {{"-"}, A::Run, "-"},
        {{"--help"}, A::Help, ""},
        {{"-h", "beam.ksw"}, A::Help, ""},
        {{"beam.ksw", "--version"}, A::Version, ""},
        {{"--", "--version"}, A::Run, "--version"},
        {{"a.ksw", "b.ksw"}, A::Wrong, ""},
        {{"--print", "beam.ksw"}, A::Wrong, ""},
        {{""}, A::Wrong, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Arguments.join(QLatin1Char(' ')).toStdString());
        const TCommandLine line = ParseCommandLine(c.Arguments);
        EXPECT_EQ(line.Action, c.Action);
        EXPECT_EQ(line.File, QString::fromUtf8(c.File));
    }
}

} // namespace
} // namespace slabwise::test
