#pragma once

#include <QByteArray>
#include <QMargins>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// One run of the built program on the test's X display, driven from outside as a user drives it:
// keys and mouse through xdotool, the clipboard through xclip, closing through the window
// manager. The program runs in a fresh working folder of its own and is killed, if still
// running, when the desktop goes. Every wait is a bounded poll, never a fixed sleep.
class Desktop {
public:
    // How long a window, a clipboard content or the program's end may take to come. Generous,
    // because the sanitizer builds start slowly on a busy machine.
    static constexpr int Patience = 15000;

    struct ToolResult {
        bool finished = false;
        int exitCode = -1;
        QByteArray output;
    };

    explicit Desktop(QString program);
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // The working folder and its files.
    QString path(const QString& name) const;
    bool writeFile(const QString& name, const QByteArray& bytes) const;
    QByteArray readFile(const QString& name) const;

    // Starts the program under the locale (LANG and LC_ALL) and waits for its main window to
    // be shown and focused; returns that window, or an empty id when it did not come.
    QString start(const QString& locale);
    bool running() const;
    bool waitForExit(int timeoutMs = Patience);
    // 0 unless the program ended normally with that code.
    int exitCode() const;
    bool sendSignal(int signal) const;

    // The program's visible windows whose title matches the regular expression.
    QString waitForWindow(const QString& title, int timeoutMs = Patience) const;
    bool waitForNoWindow(const QString& title, int timeoutMs = Patience) const;
    // Raises and focuses the window through the window manager, then waits until it has focus.
    bool activate(const QString& window) const;
    QString activeWindow() const;
    // The client area on the screen, and the window manager's frame around it.
    QRect clientGeometry(const QString& window) const;
    QMargins frameExtents(const QString& window) const;

    // A left click at a point of the window's client area, in pixels, after raising it.
    bool click(const QString& window, int x, int y) const;
    // Types the text into the focused window, a few milliseconds between characters.
    bool type(const QString& text) const;
    // Presses key combinations as xdotool names them ("Tab", "ctrl+c", "shift+End").
    bool keys(const QStringList& names) const;

    bool minimise(const QString& window) const;
    bool isMinimised(const QString& window) const;
    // Closes as the user does: Alt+F4, which the window manager turns into a close request.
    bool closeWithKeyboard(const QString& window) const;
    // Asks the window manager to close the window (what its close button does), without
    // focusing or restoring it first.
    bool requestClose(const QString& window) const;

    bool setClipboard(const QByteArray& text) const;
    QByteArray clipboard() const;
    // Waits until the clipboard holds something other than `before`, and returns it; returns
    // `before` when nothing else came.
    QByteArray waitForClipboardChange(const QByteArray& before, int timeoutMs = Patience) const;

    static ToolResult run(const QString& tool, const QStringList& arguments,
        const QByteArray& input = {}, int timeoutMs = 10000);

private:
    ToolResult xdotool(const QStringList& arguments) const;
    QStringList findWindows(const QString& title) const;

    QString m_program;
    QTemporaryDir m_folder;
    QProcess m_process;
};
