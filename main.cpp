#include "app/ApplicationDesign.h"
#include "app/CommandLine.h"
#include "app/ConfigFolder.h"
#include "app/EuroProgramme.h"
#include "toolkit/Application.h"

#include <cstdio>

namespace {

// Prints the text and reports whether it reached the output: a full disk or a closed pipe is no
// success.
int print(const char* text)
{
    return std::fputs(text, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
}

}

int main(int argc, char** argv)
{
    // Answered before Qt starts, so that no window opens and no file is touched.
    switch (CommandLine::request(argc, argv)) {
    case CommandLine::Request::Help:
        return print(CommandLine::usage());
    case CommandLine::Request::Version:
        return print(CommandLine::version());
    case CommandLine::Request::Start:
        break;
    }
    if (CommandLine::inConfigFolder(argc, argv))
        ConfigFolder::enter();
    toolkit::Application application(argc, argv, quilmarApplicationDesign());
    for (const std::string_view argument : CommandLine::ignored(argc, argv))
        std::fprintf(
            stderr, "quilmar : argument ignoré : %.*s\n", int(argument.size()), argument.data());
    EuroProgramme::StartUp();
    return application.exec();
}
