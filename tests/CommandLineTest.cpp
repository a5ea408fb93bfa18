#include "app/CommandLine.h"

#include <gtest/gtest.h>
#include <string_view>
#include <vector>

namespace {

using Request = CommandLine::Request;
using Words = std::vector<std::string_view>;

// Each row: the arguments after the program's name, what the program does with them, whether
// it works in the configuration folder, and what it reports as ignored.
TEST(CommandLineTest, ReadsOnlyItsOwnOptions)
{
    const struct {
        const char* name;
        std::vector<const char*> arguments;
        Request request;
        bool inConfigFolder;
        Words ignored;
    } cases[] = {
        { "FirstOfVersionAndHelpWins", { "--version", "--help" }, Request::Version, false,
            { "--version", "--help" } },
        { "HelpAfterOtherArguments", { "x", "--in-config-dir", "--help" }, Request::Help, true,
            { "x", "--help" } },
        { "PrefixOfHelpIsNoHelp", { "--he", "--helpful", "-help" }, Request::Start, false,
            { "--he", "--helpful", "-help" } },
        { "OthersReportedInOrderButTheConfigFolderOption",
            { "-x", "fichier.txt", "--in-config-dir", "" }, Request::Start, true,
            { "-x", "fichier.txt", "" } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The program's own name comes first and never counts, even when it reads like an option.
        std::vector<const char*> argv { "--help" };
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        const int argc = int(argv.size());
        EXPECT_EQ(CommandLine::request(argc, argv.data()), c.request);
        EXPECT_EQ(CommandLine::inConfigFolder(argc, argv.data()), c.inConfigFolder);
        EXPECT_EQ(CommandLine::ignored(argc, argv.data()), c.ignored);
    }
}

}
