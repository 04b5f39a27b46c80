#include <gtest/gtest.h>

#include "service/command_line.h"
#include "service/core/request_log.h"

namespace {

TEST(ParseCommandLine, UsesTheDefaultsWithoutOptions)
{
    const CommandLine parsed = ParseCommandLine({}, 6);
    EXPECT_EQ(parsed.action, CommandLine::Action::Run);
    EXPECT_EQ(parsed.settings.address, "127.0.0.1");
    EXPECT_EQ(parsed.settings.port, 8936);
    EXPECT_EQ(parsed.settings.threads, 6);
}

TEST(ParseCommandLine, ReadsListenAndThreadsInBothSpellings)
{
    const CommandLine spaced = ParseCommandLine({"--listen", "0.0.0.0:9000", "--threads", "3"}, 1);
    EXPECT_EQ(spaced.action, CommandLine::Action::Run);
    EXPECT_EQ(spaced.settings.address, "0.0.0.0");
    EXPECT_EQ(spaced.settings.port, 9000);
    EXPECT_EQ(spaced.settings.threads, 3);

    const CommandLine joined = ParseCommandLine({"--listen=[::1]:0", "--threads=1"}, 4);
    EXPECT_EQ(joined.settings.address, "::1");
    EXPECT_EQ(joined.settings.port, 0);
    EXPECT_EQ(joined.settings.threads, 1);
}

TEST(ParseCommandLine, HelpAndVersionWinOverRunning)
{
    EXPECT_EQ(ParseCommandLine({"--help"}, 1).action, CommandLine::Action::Help);
    EXPECT_EQ(ParseCommandLine({"--version"}, 1).action, CommandLine::Action::Version);
    EXPECT_EQ(ParseCommandLine({"--version", "--help"}, 1).action, CommandLine::Action::Help);
}

TEST(ParseCommandLine, RejectsWhatItCannotUse)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--listen"},          {"--listen", "8936"},        {"--listen", "localhost:8936"},
        {"--listen", "1.2.3.4:70000"}, {"--listen", "1.2.3.4:"}, {"--listen", "1.2.3.4:80x"},
        {"--threads", "0"},    {"--threads", "many"},       {"--threads", "100000"},
        {"--threads"},         {"--port", "1"},             {"extra"},
        {"--help=yes"},
    };
    for (const auto& arguments : bad) {
        const CommandLine parsed = ParseCommandLine(arguments, 1);
        EXPECT_EQ(parsed.action, CommandLine::Action::Fail) << testing::PrintToString(arguments);
        EXPECT_FALSE(parsed.error.empty());
    }
}

TEST(FormatLogLine, NamesMethodTargetStatusBytesAndTime)
{
    EXPECT_EQ(FormatLogLine({"GET", "/healthz", 200, 3, 0.25}), "GET /healthz 200 3 bytes 0.25 ms\n");
}

TEST(FormatLogLine, EscapesBytesThatCouldForgeOrGarbleLines)
{
    EXPECT_EQ(FormatLogLine({"G\nT", "/a b\\\x01\xE5", 400, 0, 1}),
              "G\\x0AT /a\\x20b\\x5C\\x01\\xE5 400 0 bytes 1.00 ms\n");
}

}  // namespace
