#include "app/CommandLine.h"

CommandLine::Request CommandLine::request(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "-h" || argument == "--help")
            return Request::Help;
        if (argument == "--version")
            return Request::Version;
    }
    return Request::Start;
}

bool CommandLine::inConfigFolder(int argc, const char* const* argv)
{
    for (int i = 1; i < argc; ++i) {
        if (argv[i] == ConfigFolderOption)
            return true;
    }
    return false;
}

std::vector<std::string_view> CommandLine::ignored(int argc, const char* const* argv)
{
    std::vector<std::string_view> result;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument != ConfigFolderOption)
            result.push_back(argument);
    }
    return result;
}

const char* CommandLine::usage()
{
    return "Utilisation : quilmar [OPTION]\n"
           "Convertisseur Euro & autres monnaies.\n"
           "\n"
           "Le programme garde ses paramètres dans le fichier Quilmar.ini du dossier où il\n"
           "est lancé.\n"
           "\n"
           "  --in-config-dir  travailler dans $XDG_CONFIG_HOME/quilmar (par défaut\n"
           "                   ~/.config/quilmar), créé au besoin : c'est ainsi que le menu\n"
           "                   du bureau le lance\n"
           "  -h, --help       afficher cette aide et quitter\n"
           "  --version        afficher la version et quitter\n"
           "\n"
           "Tout autre argument est ignoré, hormis les options de Qt (-platform, -display...).\n"
           "Voir aussi : man quilmar\n";
}

const char* CommandLine::version()
{
    return "Convertisseur Euro & autres monnaies " QUILMAR_VERSION_TEXT "\n";
}
