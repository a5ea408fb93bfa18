#include "toolkit/Application.h"

#include "toolkit/Form.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QSocketNotifier>
#include <QThread>
#include <QTranslator>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace toolkit {

namespace {
    int g_signalPipe[2] = { -1, -1 };

    void onTerminationSignal(int)
    {
        const char byte = 1;
        [[maybe_unused]] const auto written = ::write(g_signalPipe[0], &byte, 1);
    }

    void watchTerminationSignals(QApplication& app)
    {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalPipe) != 0)
            return;
        auto* notifier = new QSocketNotifier(g_signalPipe[1], QSocketNotifier::Read, &app);
        QObject::connect(notifier, &QSocketNotifier::activated, &app, [] {
            char byte;
            [[maybe_unused]] const auto got = ::read(g_signalPipe[1], &byte, 1);
            Form::closeAll();
        });
        struct sigaction action = {};
        action.sa_handler = onTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGHUP, &action, nullptr);
        sigaction(SIGINT, &action, nullptr);
    }

    // Qt's X11 platform ends the process with exit() once its connection to the X server has
    // broken, and says so first through the message handler: the last moment at which the
    // forms can still close the normal way and keep what they save at closing.
    QtMessageHandler g_previousHandler = nullptr;

    void onQtMessage(QtMsgType type, const QMessageLogContext& context, const QString& message)
    {
        static bool closing = false;
        if (g_previousHandler) // Qt's own, which prints
            g_previousHandler(type, context, message);
        const bool displayLost = message.startsWith(u"The X11 connection broke");
        const auto* app = QCoreApplication::instance();
        const bool mainThread = app && QThread::currentThread() == app->thread();
        if (displayLost && !closing && mainThread) {
            closing = true;
            Form::closeAll();
        }
    }
}

Application::Application(int& argc, char** argv, const Design& design)
    : m_app(std::make_unique<QApplication>(argc, argv))
{
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(design.name);
    QGuiApplication::setDesktopFileName(design.desktopFileName);

    if (!design.fontStandIns.isEmpty()) {
        QFont::insertSubstitutions(design.designedFont, design.fontStandIns);
        QFont font(design.fontStandIns.first());
        font.setFamilies(design.fontStandIns);
        font.setPointSizeF(design.fontPointSize);
        QApplication::setFont(font);
    }

    auto* translator = new QTranslator(m_app.get());
    if (translator->load(QLocale(design.language), QStringLiteral("qtbase"), QStringLiteral("_"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);

    watchTerminationSignals(*m_app);
    // Past a file-size limit a write fails and the save keeps the old file, rather than the
    // signal ending the program there.
    std::signal(SIGXFSZ, SIG_IGN);
    g_previousHandler = qInstallMessageHandler(onQtMessage);
    QObject::connect(m_app.get(), &QGuiApplication::commitDataRequest, m_app.get(),
        [](QSessionManager&) { Form::closeAll(); });
}

Application::~Application()
{
    qInstallMessageHandler(g_previousHandler);
    Form::destroyAll();
}

int Application::exec()
{
    if (Form::programEnded())
        return 0;
    return QApplication::exec();
}

} // namespace toolkit
