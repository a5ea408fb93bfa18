#pragma once

#include <memory>

class QApplication;

namespace toolkit {

// The toolkit's process: Qt's application object with French texts for Qt's own dialogs and
// menus, and the session's end (log-off, SIGTERM, SIGHUP, SIGINT, the loss of the X display)
// turned into the normal closing of every form, so that nothing the program saves at closing is
// lost.
class Application {
public:
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Runs the event loop until the program ends.
    int exec();

private:
    std::unique_ptr<QApplication> m_app;
};

} // namespace toolkit
