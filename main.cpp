#include "app/EuroProgramme.h"
#include "toolkit/Application.h"

#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    // The program takes no arguments; Qt's own platform options still reach Qt.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::puts("Convertisseur Euro & autres monnaies " QUILMAR_VERSION_TEXT);
            return 0;
        }
    }
    toolkit::Application application(argc, argv);
    EuroProgramme::StartUp();
    return application.exec();
}
