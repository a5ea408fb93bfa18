#include "tests/e2e/Desktop.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <sys/types.h>

// Xlib last: its macros (None, Bool, Status...) would clash with the headers above.
#include <X11/Xlib.h>

namespace {

// Polls the condition until it holds or the time is up; the pause only paces the polling.
template <class Condition> bool waitUntil(Condition condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (condition())
            return true;
        if (timer.elapsed() > timeoutMs)
            return false;
        QThread::msleep(40);
    }
}

QString windowId(const QByteArray& output) { return QString::fromLatin1(output.trimmed()); }

} // namespace

Desktop::Desktop(QString program)
    : m_program(std::move(program))
{
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
}

Desktop::~Desktop()
{
    if (running()) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString Desktop::path(const QString& name) const { return QDir(m_folder.path()).filePath(name); }

bool Desktop::writeFile(const QString& name, const QByteArray& bytes) const
{
    QFile file(path(name));
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        && file.write(bytes) == bytes.size();
}

QByteArray Desktop::readFile(const QString& name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Desktop::start(const QString& locale)
{
    if (!m_folder.isValid() || running())
        return {};
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("LANGUAGE"));
    environment.insert(QStringLiteral("LANG"), locale);
    environment.insert(QStringLiteral("LC_ALL"), locale);
    m_process.setProcessEnvironment(environment);
    m_process.setWorkingDirectory(m_folder.path());
    m_process.start(m_program, {});
    if (!m_process.waitForStarted(Patience))
        return {};
    const QString window = waitForWindow(QStringLiteral("^Quilmar v1\\.0$"));
    if (window.isEmpty() || !activate(window))
        return {};
    return window;
}

bool Desktop::running() const { return m_process.state() != QProcess::NotRunning; }

bool Desktop::waitForExit(int timeoutMs)
{
    return !running() || m_process.waitForFinished(timeoutMs);
}

int Desktop::exitCode() const
{
    if (running() || m_process.exitStatus() != QProcess::NormalExit)
        return -1;
    return m_process.exitCode();
}

bool Desktop::sendSignal(int signal) const
{
    return running() && ::kill(pid_t(m_process.processId()), signal) == 0;
}

QStringList Desktop::findWindows(const QString& title) const
{
    if (!running())
        return {};
    const ToolResult found = xdotool({ QStringLiteral("search"), QStringLiteral("--all"),
        QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
        QString::number(m_process.processId()), QStringLiteral("--name"), title });
    return QString::fromLatin1(found.output).split(u'\n', Qt::SkipEmptyParts);
}

QString Desktop::waitForWindow(const QString& title, int timeoutMs) const
{
    QStringList windows;
    waitUntil([&] { return !(windows = findWindows(title)).isEmpty(); }, timeoutMs);
    return windows.value(0);
}

bool Desktop::waitForNoWindow(const QString& title, int timeoutMs) const
{
    return waitUntil([&] { return findWindows(title).isEmpty(); }, timeoutMs);
}

bool Desktop::activate(const QString& window) const
{
    // The request is repeated now and then: a window manager may ignore one that comes
    // while it is still mapping the window.
    int polls = 0;
    return waitUntil(
        [&] {
            if (polls++ % 25 == 0)
                xdotool({ QStringLiteral("windowactivate"), window });
            return activeWindow() == window;
        },
        Patience);
}

QString Desktop::activeWindow() const
{
    return windowId(xdotool({ QStringLiteral("getactivewindow") }).output);
}

QRect Desktop::clientGeometry(const QString& window) const
{
    const QString info = QString::fromUtf8(
        run(QStringLiteral("xwininfo"), { QStringLiteral("-id"), window }).output);
    auto field = [&](const QString& label) {
        const QRegularExpression pattern(label + QStringLiteral(":\\s*(-?\\d+)"));
        return pattern.match(info).captured(1).toInt();
    };
    return QRect(field(QStringLiteral("Absolute upper-left X")),
        field(QStringLiteral("Absolute upper-left Y")), field(QStringLiteral("Width")),
        field(QStringLiteral("Height")));
}

QMargins Desktop::frameExtents(const QString& window) const
{
    const QByteArray output = run(QStringLiteral("xprop"),
        { QStringLiteral("-id"), window, QStringLiteral("_NET_FRAME_EXTENTS") })
                                  .output;
    // "_NET_FRAME_EXTENTS(CARDINAL) = left, right, top, bottom"
    const QStringList values
        = QString::fromLatin1(output.mid(output.indexOf('=') + 1)).split(u',', Qt::SkipEmptyParts);
    if (values.size() != 4)
        return {};
    return QMargins(values[0].trimmed().toInt(), values[2].trimmed().toInt(),
        values[1].trimmed().toInt(), values[3].trimmed().toInt());
}

bool Desktop::click(const QString& window, int x, int y) const
{
    return activate(window)
        && xdotool({ QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                       QString::number(x), QString::number(y), QStringLiteral("click"),
                       QStringLiteral("1") })
               .exitCode
        == 0;
}

bool Desktop::type(const QString& text) const
{
    return xdotool(
               { QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), text })
               .exitCode
        == 0;
}

bool Desktop::keys(const QStringList& names) const
{
    return xdotool(QStringList {
                       QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("30") }
               + names)
               .exitCode
        == 0;
}

bool Desktop::minimise(const QString& window) const
{
    xdotool({ QStringLiteral("windowminimize"), window });
    return waitUntil([&] { return isMinimised(window); }, Patience);
}

bool Desktop::isMinimised(const QString& window) const
{
    return run(
        QStringLiteral("xprop"), { QStringLiteral("-id"), window, QStringLiteral("WM_STATE") })
        .output.contains("Iconic");
}

bool Desktop::closeWithKeyboard(const QString& window) const
{
    // Alt+F4 goes through XTEST to the window manager's key binding, which asks the focused
    // window to close.
    return activate(window) && keys({ QStringLiteral("alt+F4") });
}

bool Desktop::requestClose(const QString& window) const
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XEvent event = {};
    event.xclient.type = ClientMessage;
    event.xclient.window = Window(window.toULong());
    event.xclient.message_type = XInternAtom(display, "_NET_CLOSE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = CurrentTime;
    event.xclient.data.l[1] = 2; // from a pager or a task bar: the user's own request
    const Status sent = XSendEvent(display, DefaultRootWindow(display), False,
        SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(display);
    XCloseDisplay(display);
    return sent != 0;
}

bool Desktop::setClipboard(const QByteArray& text) const
{
    // xclip stays in the background to serve the selection until another program takes it or
    // the display goes; it must not hold our pipes meanwhile.
    QProcess xclip;
    xclip.setStandardOutputFile(QProcess::nullDevice());
    xclip.setStandardErrorFile(QProcess::nullDevice());
    xclip.start(QStringLiteral("xclip"),
        { QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-i") });
    if (!xclip.waitForStarted(Patience))
        return false;
    xclip.write(text);
    xclip.closeWriteChannel();
    if (!xclip.waitForFinished(Patience)) {
        xclip.kill();
        xclip.waitForFinished(1000);
        return false;
    }
    return waitUntil([&] { return clipboard() == text; }, Patience);
}

QByteArray Desktop::clipboard() const
{
    const ToolResult got = run(QStringLiteral("xclip"),
        { QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o") });
    return got.exitCode == 0 ? got.output : QByteArray();
}

QByteArray Desktop::waitForClipboardChange(const QByteArray& before, int timeoutMs) const
{
    QByteArray now = before;
    waitUntil([&] { return (now = clipboard()) != before; }, timeoutMs);
    return now;
}

Desktop::ToolResult Desktop::run(
    const QString& tool, const QStringList& arguments, const QByteArray& input, int timeoutMs)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(tool, arguments);
    if (!process.waitForStarted(timeoutMs))
        return {};
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    ToolResult result;
    result.finished = process.waitForFinished(timeoutMs);
    if (!result.finished) {
        process.kill();
        process.waitForFinished(1000);
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.output = process.readAllStandardOutput();
    return result;
}

Desktop::ToolResult Desktop::xdotool(const QStringList& arguments) const
{
    return run(QStringLiteral("xdotool"), arguments);
}
