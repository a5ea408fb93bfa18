#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <memory>

class QApplication;

namespace toolkit {

// The toolkit's process: Qt's application object with Qt's own dialogs and menus in the
// program's language, and the session's end (log-off, SIGTERM, SIGHUP, SIGINT, the loss of the X
// display) turned into the normal closing of every form, so that nothing the program saves at
// closing is lost.
class Application {
public:
    // What the program tells the desktop about itself, and the font its windows were designed
    // around.
    struct Design {
        QString name;
        // The desktop entry's name without ".desktop"; Wayland's app_id too.
        QString desktopFileName;
        QLocale::Language language = QLocale::English; // of Qt's own dialogs and menus
        // The designed font, and the fonts standing in for it wherever it is named; the first
        // stand-in that is installed becomes the application's font, at the designed size.
        QString designedFont;
        QStringList fontStandIns;
        qreal fontPointSize = 0;
    };

    Application(int& argc, char** argv, const Design& design);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the event loop until the program ends.
    int exec();

private:
    std::unique_ptr<QApplication> m_app;
};

} // namespace toolkit
