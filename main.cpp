#include "app/EuroProgramme.h"
#include "toolkit/Application.h"

int main(int argc, char** argv)
{
    toolkit::Application application(argc, argv);
    EuroProgramme::StartUp();
    return application.exec();
}
