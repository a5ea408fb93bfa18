#pragma once

#include <string_view>
#include <vector>

// What the program makes of its command line. Its work takes no argument: it answers -h, --help
// and --version, and the desktop entry adds --in-config-dir so that a start from the menu keeps
// its settings in the user's configuration folder. Everything else is ignored.
class CommandLine {
public:
    enum class Request { Start, Help, Version };

    static constexpr std::string_view ConfigFolderOption = "--in-config-dir";

    // The first of -h, --help and --version among the arguments (argv[0] excluded) decides;
    // Start when none is there.
    static Request request(int argc, const char* const* argv);
    static bool inConfigFolder(int argc, const char* const* argv);
    // The arguments the program does not use, in order. Called on what Qt leaves once it has
    // taken its own options (-platform, -display...), so those are not reported.
    static std::vector<std::string_view> ignored(int argc, const char* const* argv);

    static const char* usage();
    static const char* version();
};
