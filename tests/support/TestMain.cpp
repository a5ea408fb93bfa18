// The main of every test program: Qt's offscreen platform unless a test runs on a real X
// server, the locale pinned, and a temporary working directory, since the program reads and
// writes its files in the working directory.
#include "app/ApplicationDesign.h"

#include <QDir>
#include <QLocale>
#include <QTemporaryDir>
#include <clocale>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("LC_ALL", "C.UTF-8");
    std::setlocale(LC_ALL, "C.UTF-8");
    QLocale::setDefault(QLocale::c());

    QTemporaryDir workingDirectory;
    if (!workingDirectory.isValid() || !QDir::setCurrent(workingDirectory.path()))
        return 2;

    toolkit::Application application(argc, argv, quilmarApplicationDesign());
    return RUN_ALL_TESTS();
}
