// screenshot X Y WIDTH HEIGHT FILE: saves that rectangle of the X screen, as the user sees it,
// into a PNG file. The end-to-end suite uses it for the picture of the main window.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() != 6) {
        std::fprintf(stderr, "usage: screenshot X Y WIDTH HEIGHT FILE\n");
        return 2;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 1;
    // Window 0 is the root window: the picture includes the frame the window manager draws.
    const QPixmap picture = screen->grabWindow(
        0, arguments[1].toInt(), arguments[2].toInt(), arguments[3].toInt(), arguments[4].toInt());
    return !picture.isNull() && picture.save(arguments[5], "PNG") ? 0 : 1;
}
