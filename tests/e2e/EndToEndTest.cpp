// The built program, started in a folder of its own on a real X server with a window manager,
// driven from outside as a user drives it: keys and clicks through xdotool, the clipboard through
// xclip, closing through the window manager. Every case runs under the C locale and under the
// French one. Every wait is a bounded poll, never a fixed sleep. The rules themselves are proven
// by the unit and window tests: here one representative case per rule shows the whole program
// following it.
#include <QDeadlineTimer>
#include <QFile>
#include <QGuiApplication>
#include <QMap>
#include <QPixmap>
#include <QProcess>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <sys/resource.h>
#include <utility>
#include <vector>

// Xlib last: its macros (None, Bool, Status...) would clash with the headers above.
#include <X11/Xlib.h>

using namespace Qt::StringLiterals;

// Amounts and files print as text in failure messages.
void PrintTo(const QByteArray& b, std::ostream* out) { *out << '"' << b.toStdString() << '"'; }

namespace {

QMap<QString, QString> g_options; // --program, --output

const QString DialogTitle = u"^Quilmar / Param"_s;
const QString HelpTitle = u"^Quilmar / Aide$"_s;
// Opens the settings dialog and types over its rate, an edit that OK would store.
const QString EditRate = u"{dialog}{Tab Tab Tab Tab Home shift+End}9"_s;
// On the clipboard before a copy, so that a copy that never happens cannot pass.
const QByteArray NothingCopied = "(e2e: nothing copied)";

// Polls until the condition holds or the time is up; 15 s by default, which is generous because
// the sanitizer builds start slowly on a busy machine. The sleep paces the polling only.
template <class Condition> bool waitUntil(Condition condition, int timeoutMs = 15000)
{
    for (const QDeadlineTimer deadline(timeoutMs); !condition(); QThread::msleep(40))
        if (deadline.hasExpired())
            return false;
    return true;
}

// Runs a tool to its end: its standard output, or nothing when it failed. The command splits at
// spaces; `last` is one argument more, spaces and all. A hanging tool is killed on leaving.
std::optional<QByteArray> run(const QString& command, const QString& last = {})
{
    QStringList arguments = command.split(u' ', Qt::SkipEmptyParts);
    if (!last.isNull())
        arguments.append(last);
    QProcess process;
    process.start(arguments.takeFirst(), arguments);
    const bool done = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit
        && process.exitCode() == 0;
    return done ? std::optional(process.readAllStandardOutput()) : std::nullopt;
}

bool xdotool(const QString& arguments) { return run(u"xdotool "_s + arguments).has_value(); }

QByteArray clipboard() { return run(u"xclip -selection clipboard -o"_s).value_or(""); }

// The settings file, field by field as the program writes it.
struct Ini {
    QByteArray name1 = "Euros", name2 = "Francs", symbol1 = "E", symbol2 = "F", toolTips = "1",
               rate = "6.55957", decimals = "3", left = "3690", top = "3705", width = "4110";

    QByteArray bytes() const
    {
        return '"' + QByteArrayList { name1, name2, symbol1, symbol2 }.join("\"\r\n\"") + "\"\r\n"
            + QByteArrayList { toolTips, rate, decimals, left, top, width, {} }.join("\r\n");
    }
};

enum Button { Copy1, Paste1, Copy2, Paste2, Settings, Help };

// The program, run one or more times in a working folder of the test's own and killed, if still
// running, when the test ends. The parameter is the locale.
class EndToEnd : public ::testing::TestWithParam<const char*> {
protected:
    // A fresh folder with the settings file given. The line past the tenth is ignored by the
    // program and dropped by its save: a file equal to the ten lines afterwards proves that it was
    // written.
    bool start(const std::optional<Ini>& ini = Ini())
    {
        m_folder.emplace();
        return (!ini || writeFile(u"Quilmar.ini"_s, ini->bytes() + "fin\r\n")) && restart();
    }

    // Starts the program again in the same folder; m_main is its main window once focused.
    bool restart()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(u"LANGUAGE"_s);
        environment.insert(u"LC_ALL"_s, QString::fromLatin1(GetParam()));
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.setWorkingDirectory(m_folder->path());
        m_process.start(g_options.value(u"--program"_s), {});
        m_main = m_process.waitForStarted() ? window(u"^Quilmar v1\\.0$"_s) : QString();
        return !m_main.isEmpty() && activate(m_main);
    }

    // The program's exit code once it has ended, or -1 when it crashed or did not end.
    int finish()
    {
        const bool ended
            = m_process.state() == QProcess::NotRunning || m_process.waitForFinished(15000);
        return ended && m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    // Alt+F4 first; should it reach the window manager before the window has the focus, the
    // close request that a task bar sends.
    bool closeProgram()
    {
        if (!(close(m_main) && m_process.waitForFinished(3000)))
            requestClose(m_main);
        return finish() == 0;
    }

    bool writeFile(const QString& name, const QByteArray& bytes) const
    {
        QFile file(m_folder->filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    QByteArray saved() const
    {
        QFile file(m_folder->filePath(u"Quilmar.ini"_s));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // Waits until the program shows a window whose title matches the regular expression or,
    // when not `shown`, until it shows none; returns the first one left, or an empty id.
    QString window(const QString& title, bool shown = true) const
    {
        const QString search = u"xdotool search --all --onlyvisible --pid %1 --name"_s;
        QStringList found;
        waitUntil([&] {
            const QByteArray ids = run(search.arg(m_process.processId()), title).value_or("");
            found = QString::fromLatin1(ids).split(u'\n', Qt::SkipEmptyParts);
            return m_process.state() != QProcess::Running || found.isEmpty() != shown;
        });
        return found.value(0);
    }

    // Raises and focuses the window through the window manager, asking again now and then: it
    // may ignore a request that comes while it is still mapping the window.
    bool activate(const QString& window) const
    {
        int polls = 0;
        return waitUntil([&] {
            if (polls++ % 25 == 0)
                xdotool(u"windowactivate "_s + window);
            return run(u"xdotool getactivewindow"_s).value_or("").trimmed() == window.toLatin1();
        });
    }

    // The window with the window manager's frame around it, on the screen: xwininfo's place and
    // size, then the frame's left, right, top and bottom.
    QRect outerGeometry(const QString& window) const
    {
        const QString info = QString::fromUtf8(run(u"xwininfo -id "_s + window).value_or("")
            + run(u"xprop _NET_FRAME_EXTENTS -id "_s + window).value_or(""));
        const QRegularExpressionMatch match
            = QRegularExpression(u"Absolute upper-left X: +(-?\\d+).*?Y: +(-?\\d+).*?Width: (\\d+)"
                                 ".*?Height: (\\d+).*?= (\\d+), (\\d+), (\\d+), (\\d+)"_s,
                QRegularExpression::DotMatchesEverythingOption)
                  .match(info);
        const auto at = [&](int field) { return match.captured(field).toInt(); };
        return QRect(at(1), at(2), at(3), at(4)) + QMargins(at(5), at(7), at(6), at(8));
    }

    // A left click at a point of the window's client area, in pixels, after activating it.
    bool click(const QString& window, int x, int y) const
    {
        return activate(window)
            && xdotool(u"mousemove --window %1 %2 %3 click 1"_s.arg(window).arg(x).arg(y));
    }
    // Image buttons are 375 twips square at 15 twips a pixel; the right-hand column stands 630
    // twips left of the window's outer right edge, so it moves with the width.
    bool click(Button button) const
    {
        const int right = outerGeometry(m_main).width() * 15 - 630;
        const int x[] = { 120, 480, 120, 480, right, right },
                  y[] = { 120, 120, 600, 600, 120, 600 };
        return click(m_main, x[button] / 15 + 12, y[button] / 15 + 12);
    }
    QString open(Button b, const QString& title) const { return click(b) ? window(title) : u""_s; }

    // Key combinations as xdotool names them, separated by spaces: "Tab ctrl+c shift+End".
    bool keys(const QString& names) const { return xdotool(u"key --delay 30 "_s + names); }
    // Alt+F4, which the window manager turns into a close request to the focused window.
    bool close(const QString& window) const { return activate(window) && keys(u"alt+F4"_s); }

    // What a task bar's close does: a request through the window manager, the window left as it
    // is. Source 2, a pager or a task bar: the user's own request.
    bool requestClose(const QString& window) const
    {
        Display* display = XOpenDisplay(nullptr);
        if (!display)
            return false;
        XEvent event = { .xclient = { ClientMessage, 0, True, display, Window(window.toULong()),
                             XInternAtom(display, "_NET_CLOSE_WINDOW", False), 32,
                             { .l = { CurrentTime, 2 } } } };
        const Status sent = XSendEvent(display, DefaultRootWindow(display), False,
            SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XCloseDisplay(display); // flushes the request
        return sent != 0;
    }

    // Text is typed; {names} are keys; {paste} is the row's paste button; {error} waits for the
    // overflow message and answers it; {dialog} opens the settings dialog and {main}, once it is
    // gone, empties the row's field again; {help} opens the help window.
    bool perform(int row, const QString& steps) const
    {
        for (const auto& step : QRegularExpression(u"\\{([^}]*)\\}|[^{]+"_s).globalMatch(steps)) {
            const QString names = step.captured(1);
            const bool done = !step.captured().startsWith(u'{')
                ? run(u"xdotool type --delay 30"_s, step.captured()).has_value()
                : names == u"paste" ? click(row == 1 ? Paste1 : Paste2)
                : names == u"error" ? activate(window(u"^Erreur !$"_s)) && keys(u"Return"_s)
                    && window(u"^Erreur !$"_s, false).isEmpty()
                : names == u"help"   ? !open(Help, HelpTitle).isEmpty()
                : names == u"dialog" ? activate(open(Settings, DialogTitle))
                : names == u"main"   ? window(DialogTitle, false).isEmpty() && enter(row, {})
                                     : keys(names);
            if (!done)
                return false;
        }
        return true;
    }

    // Empties an amount field (clicked near its left end, half-way down), then does the steps.
    bool enter(int row, const QString& steps) const
    {
        return click(m_main, 72, row == 1 ? 17 : 49) && keys(u"Home shift+End BackSpace"_s)
            && perform(row, steps);
    }

    // Sets the clipboard and waits until it is served. xclip stays in the background to serve
    // it until another program takes it, and must not hold our pipes meanwhile.
    bool setClipboard(const QByteArray& text) const
    {
        const QString script = u"xclip -selection clipboard -i '%1' >/dev/null 2>&1"_s;
        return writeFile(u"clipboard"_s, text)
            && run(u"sh -c"_s, script.arg(m_folder->filePath(u"clipboard"_s)))
            && waitUntil([&] { return clipboard() == text; });
    }
    // The clipboard once it holds something other than `before`, or `before` when nothing came.
    QByteArray waitForClipboardChange(const QByteArray& before) const
    {
        QByteArray now = before;
        waitUntil([&] { return (now = clipboard()) != before; });
        return now;
    }
    // An amount as its row's copy button puts it on the clipboard.
    QByteArray copied(Button copy) const
    {
        return setClipboard(NothingCopied) && click(copy) ? waitForClipboardChange(NothingCopied)
                                                          : NothingCopied;
    }
    QByteArray amounts() const { return copied(Copy1) + '|' + copied(Copy2); } // "row 1|row 2"

    std::optional<QTemporaryDir> m_folder;
    QProcess m_process;
    QString m_main;
};

// Typing, converting both ways, keystroke rules, clipboard, overflow, the settings dialog, the
// settings kept for the next run, and the picture of the main window.
class Conversion : public EndToEnd { };
// The help window.
class Windows : public EndToEnd { };
// Starting, closing, geometry and signals.
class Session : public EndToEnd { };

TEST_P(Conversion, KeystrokesClipboardOverflowAndSettings)
{
    // Row; clipboard before, when not empty; steps; amounts shown.
    const std::tuple<int, QByteArray, QString, QByteArray> cases[] = {
        // "." types the separator, a second one is dropped, so are letters, signs and spaces;
        // Ctrl+A selects nothing, and Ctrl+X cuts nothing.
        { 1, {}, u"a1.b-2.3 c+4{BackSpace ctrl+a}5{shift+Home ctrl+x}"_s, "1,235|8,101" },
        // Ctrl+C copies the whole field, not the selection; Ctrl+V replaces the whole field.
        { 1, {}, u"12,5{shift+Left ctrl+c BackSpace BackSpace Left ctrl+v}"_s, "12,5|81,995" },
        { 2, "1.234,56", u"77{Left ctrl+v}"_s, "0,188|1,23456" },
        { 1, "-12 345 €", u"{paste}"_s, "12345|80977,892" },
        { 2, "-12 345 €", u"{paste}"_s, "1881,983|12345" },
        // The message, then the last good pair back.
        { 2, {}, u"12345678901234567{error}"_s, "188208661562184,115|1234567890123456" },
        // In the dialog, from its first field: the rate edited, then Reset and OK; an edit
        // dropped by the close box; every field, names trimmed, 2 decimals, then OK by Enter.
        { 1, {}, EditRate + u"{Tab Tab Tab space Tab Return}{main}1"_s, "1|6,56" },
        { 1, {}, EditRate + u"{alt+F4}{main}1"_s, "1|6,56" },
        { 1, {},
            u"{dialog}{Home shift+End}  Dollars US {Tab}${Tab Home shift+End}Yens{Tab}Y"
            u"{Tab Home shift+End}1.2345{Tab Home Down Down Tab space Return}{main}1"_s,
            "1|1,23" },
    };
    ASSERT_TRUE(start());
    // The picture for the README, in French, with 12,5 typed, into the build folder.
    if (GetParam()[0] != 'C') {
        ASSERT_TRUE(enter(1, u"12,5"_s) && amounts() == "12,5|81,995" && click(m_main, 72, 17));
        const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
        EXPECT_TRUE(screen.copy(outerGeometry(m_main))
                        .save(g_options.value(u"--output"_s) + u"/main-window.png"_s, "PNG"));
    }
    for (const auto& [row, clipboard, steps, shown] : cases) {
        SCOPED_TRACE(steps.toStdString());
        ASSERT_TRUE(setClipboard(clipboard.isEmpty() ? NothingCopied : clipboard));
        ASSERT_TRUE(enter(row, steps));
        EXPECT_EQ(amounts(), shown);
    }
    ASSERT_TRUE(closeProgram() && restart() && enter(1, u"1"_s)) << "the settings read again";
    EXPECT_EQ(amounts(), "1|1,23");
    ASSERT_TRUE(closeProgram());
    EXPECT_EQ(saved(), (Ini { "Dollars US", "Yens", "$", "Y", "0", "1.2345", "2" }.bytes()));
}

TEST_P(Conversion, BothWaysAtEachDecimalChoice)
{
    // The decimals index in the file; 1 typed above, 100 typed below.
    const std::tuple<QByteArray, QByteArray, QByteArray> cases[]
        = { { "0", "1|7", "15|100" }, { "1", "1|6,6", "15,2|100" }, { "2", "1|6,56", "15,24|100" },
              { "3", "1|6,56", "15,245|100" }, { "4", "1|6,5596", "15,2449|100" } };
    for (const auto& [decimals, down, up] : cases) {
        ASSERT_TRUE(start(Ini { .decimals = decimals }));
        EXPECT_TRUE(enter(1, u"1"_s) && amounts() == down) << decimals.constData();
        EXPECT_TRUE(enter(2, u"100"_s) && amounts() == up) << decimals.constData();
        ASSERT_TRUE(closeProgram());
    }
}

TEST_P(Windows, HelpWindowOpensReadsQuitsAndReopens)
{
    // Away from the screen's edges, so that the window manager has no reason to move the help.
    const Ini ini { .left = "6000", .top = "6000" };
    // The folder's document, even a broken one; once it is gone, the copy built into the program.
    const QByteArray broken = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Bonjour {\\b\\'zz\\u";
    ASSERT_TRUE(start(ini) && writeFile(u"Quilmar.rtf"_s, broken));
    for (const QByteArray shown : { "Bonjour", "Quilmar convertit un montant d’une monnaie" }) {
        const QString help = open(Help, HelpTitle);
        ASSERT_FALSE(help.isEmpty()) << shown.constData();
        const QPoint offset = outerGeometry(help).center() - outerGeometry(m_main).center();
        EXPECT_LE(offset.manhattanLength(), 2) << "centred on the main window";
        ASSERT_TRUE(
            setClipboard(NothingCopied) && click(help, 200, 150) && keys(u"ctrl+a ctrl+c"_s));
        EXPECT_TRUE(waitForClipboardChange(NothingCopied).contains(shown));
        if (shown == "Bonjour") {
            ASSERT_TRUE(keys(u"alt+f q"_s) && window(HelpTitle, false).isEmpty()) << "&Quitter";
            ASSERT_TRUE(QFile::remove(m_folder->filePath(u"Quilmar.rtf"_s)));
        }
    }
    ASSERT_TRUE(closeProgram()) << "closing with the help window open";
    EXPECT_EQ(saved(), ini.bytes());
}

// The keyboard alone: Tab reaches each image button, Space or Enter runs it.
TEST_P(Windows, TabReachesEachImageButtonAndSpaceOrEnterRunsIt)
{
    // From the upper field holding 12,5, with 7 on the clipboard: the keys, then what the button
    // did: the clipboard it filled, the amounts it pasted, or the window it opened (which Escape
    // closes again: "&Quitter" of the help, "Annuler" of the dialog).
    const struct {
        const char* button;
        QString keys;
        QByteArray copied, shown;
        QString opened;
    } cases[] = {
        { "PictureCopier1", u"Tab Tab space"_s, "12,5", {}, {} },
        { "PictureCopier2", u"Tab Tab Tab Return"_s, "81,995", {}, {} },
        { "PictureColler1", u"Tab Tab Tab Tab space"_s, {}, "7|45,917", {} },
        { "PictureColler2", u"Tab Tab Tab Tab Tab Return"_s, {}, "1,067|7", {} },
        { "Picture1", u"Tab Tab Tab Tab Tab Tab space"_s, {}, {}, HelpTitle },
        { "Picture2", u"Tab Tab Tab Tab Tab Tab Tab Return"_s, {}, {}, DialogTitle },
    };
    ASSERT_TRUE(start());
    for (const auto& [button, names, copied, shown, opened] : cases) {
        SCOPED_TRACE(button);
        ASSERT_TRUE(setClipboard("7") && enter(1, u"12,5"_s) && keys(names));
        if (!copied.isEmpty()) {
            EXPECT_EQ(waitForClipboardChange("7"), copied);
        }
        if (!shown.isEmpty()) {
            EXPECT_EQ(amounts(), shown);
        }
        if (!opened.isEmpty()) {
            const QString shownWindow = window(opened);
            ASSERT_FALSE(shownWindow.isEmpty());
            ASSERT_TRUE(activate(shownWindow) && keys(u"Escape"_s));
            EXPECT_TRUE(window(opened, false).isEmpty());
        }
    }
    ASSERT_TRUE(closeProgram());
}

// F1 opens the help, Escape and Ctrl+W close it, Ctrl+Q closes the program the normal way.
TEST_P(Windows, DesktopKeysForHelpAndQuitting)
{
    // Away from the screen's edges, so that the window manager has no reason to move a window.
    const Ini ini { .left = "6000", .top = "6000" };
    ASSERT_TRUE(start(ini) && enter(1, u"12,5"_s));
    for (const QString& close : { u"Escape"_s, u"ctrl+w"_s }) {
        ASSERT_TRUE(activate(m_main) && keys(u"F1"_s));
        const QString help = window(HelpTitle);
        ASSERT_FALSE(help.isEmpty()) << "F1 from the amount field";
        ASSERT_TRUE(activate(help) && keys(close));
        EXPECT_TRUE(window(HelpTitle, false).isEmpty()) << close.toStdString();
    }
    ASSERT_TRUE(activate(m_main) && keys(u"ctrl+q"_s));
    EXPECT_EQ(finish(), 0) << "Ctrl+Q";
    EXPECT_EQ(saved(), ini.bytes());
}

TEST_P(Session, EveryWayOfEndingKeepsTheClampedGeometry)
{
    constexpr int Closed = 0, Minimised = -1; // otherwise a signal
    // The width in the file (none: the run before's file; empty: a folder without one, where the
    // designed place is saved); how the run ends; whether the dialog, with an edit not stored,
    // and the help are open; and the width then shown and saved.
    const std::tuple<const char*, int, bool, const char*> runs[]
        = { { "2000", Closed, true, "2900" }, { nullptr, SIGTERM, true, "2900" },
              { nullptr, Minimised, false, "2900" }, { "9000", SIGTERM, false, "5700" },
              { nullptr, Closed, false, "5700" }, { "", Closed, true, "4110" } };
    // Away from the screen's edges, so that the window manager has no reason to move a window.
    const auto placed
        = [](const char* w) { return Ini { .left = "6000", .top = "6000", .width = w }; };
    for (const auto& [width, end, windows, kept] : runs) {
        SCOPED_TRACE("width " + std::string(kept) + ", ending " + std::to_string(end));
        ASSERT_TRUE(!width ? restart() : *width ? start(placed(width)) : start(std::nullopt));
        int shown = 0; // the outer width settles once the window manager has framed the window
        const auto settled
            = [&] { return (shown = outerGeometry(m_main).width()) == atoi(kept) / 15; };
        EXPECT_TRUE(waitUntil(settled, 5000)) << shown << " pixels";
        ASSERT_TRUE(!windows || perform(1, EditRate + u"{help}"_s));
        // A task bar closes a minimised window without restoring it first.
        ASSERT_TRUE(end == Minimised
                ? xdotool(u"windowminimize --sync "_s + m_main) && requestClose(m_main)
                : end == Closed ? close(m_main)
                                : ::kill(pid_t(m_process.processId()), end) == 0);
        EXPECT_EQ(finish(), 0);
        EXPECT_EQ(saved(), (width && !*width ? Ini() : placed(kept)).bytes());
    }
}

TEST_P(Session, SignalsAndAFileSizeLimitEndTheProgramTheNormalWay)
{
    // The signal, what is open then (the dialog with an edit not stored, or the overflow's
    // message box), and whether a file-size limit makes the save fail: the old file then stays
    // whole and the program still ends normally.
    struct Case {
        const char* name;
        int signal;
        QString steps;
        const char* waitFor;
        bool limited;
    };
    // clang-format off
    const Case cases[] = {
        { "SIGINT", SIGINT, {}, nullptr, false },
        { "SIGINT, the dialog open", SIGINT, EditRate, nullptr, false },
        { "SIGINT, a message box open", SIGINT, u"12345678901234567"_s, "^Erreur !$", false },
        { "SIGHUP, a message box open", SIGHUP, u"12345678901234567"_s, "^Erreur !$", false },
        { "SIGTERM, past a file-size limit", SIGTERM, {}, nullptr, true },
    };
    // clang-format on
    const Ini ini { .left = "6000", .top = "6000" };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_process.setChildProcessModifier([limited = c.limited] {
            const rlimit limit { 16, 16 };
            if (limited)
                ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        ASSERT_TRUE(start(ini) && enter(1, c.steps));
        ASSERT_TRUE(!c.waitFor || !window(QString::fromLatin1(c.waitFor)).isEmpty());
        ASSERT_EQ(::kill(pid_t(m_process.processId()), c.signal), 0);
        EXPECT_EQ(finish(), 0);
        EXPECT_EQ(saved(), c.limited ? ini.bytes() + "fin\r\n" : ini.bytes());
    }
    m_process.setChildProcessModifier({});
}

// When its X server goes away, the program saves its settings before it ends.
TEST_P(Session, LosingTheDisplaySavesTheSettings)
{
    QProcess server; // an X server of this test's own, since it is to be lost
    server.start(u"Xvfb"_s, { u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s });
    ASSERT_TRUE(server.waitForStarted());
    while (!server.canReadLine())
        ASSERT_TRUE(server.waitForReadyRead(15000)) << "no display number";
    const QString display = u":"_s + QString::fromLatin1(server.readLine().trimmed());
    const Ini ini { .left = "6000", .top = "6000" };
    m_folder.emplace();
    ASSERT_TRUE(writeFile(u"Quilmar.ini"_s, ini.bytes() + "fin\r\n"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"DISPLAY"_s, display);
    environment.insert(u"LC_ALL"_s, QString::fromLatin1(GetParam()));
    m_process.setProcessEnvironment(environment);
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    m_process.setWorkingDirectory(m_folder->path());
    m_process.start(g_options.value(u"--program"_s), {});
    ASSERT_TRUE(waitUntil([&] {
        return run(u"xwininfo -root -tree -display "_s + display)
            .value_or("")
            .contains("Quilmar v1.0");
    }));
    server.kill();
    server.waitForFinished();
    EXPECT_NE(finish(), -1) << "crashed, or did not end";
    EXPECT_EQ(saved(), ini.bytes());
}

// Maximise and restore requests as a pager or a task bar sends them, with the window
// manager's answers read from the windows' properties.
class WindowManager : public EndToEnd {
protected:
    void SetUp() override { ASSERT_NE(m_display, nullptr); }
    void TearDown() override
    {
        if (m_display)
            XCloseDisplay(m_display);
    }

    Atom atom(const char* name) const { return XInternAtom(m_display, name, False); }

    // A window property of 32-bit items: atoms or cardinals.
    std::vector<unsigned long> property(const QString& window, const char* name) const
    {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        std::vector<unsigned long> items;
        if (XGetWindowProperty(m_display, Window(window.toULong()), atom(name), 0, 64, False,
                AnyPropertyType, &type, &format, &count, &after, &data)
                == Success
            && data && format == 32) {
            const auto* values = reinterpret_cast<const unsigned long*>(data);
            items.assign(values, values + count);
        }
        if (data)
            XFree(data);
        return items;
    }
    bool has(const QString& window, const char* name, const char* item) const
    {
        const auto items = property(window, name);
        return std::find(items.begin(), items.end(), atom(item)) != items.end();
    }
    bool maximised(const QString& window) const
    {
        return has(window, "_NET_WM_STATE", "_NET_WM_STATE_MAXIMIZED_VERT")
            || has(window, "_NET_WM_STATE", "_NET_WM_STATE_MAXIMIZED_HORZ");
    }

    // Adds or removes states, as the user's own request through a pager (source 2).
    bool requestState(
        const QString& window, bool add, const char* first, const char* second = nullptr) const
    {
        XEvent event = {
            .xclient = { ClientMessage, 0, True, m_display, Window(window.toULong()),
                atom("_NET_WM_STATE"), 32,
                { .l = { add ? 1 : 0, long(atom(first)), second ? long(atom(second)) : 0, 2, 0 } } }
        };
        const Status sent = XSendEvent(m_display, DefaultRootWindow(m_display), False,
            SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XSync(m_display, False);
        return sent != 0;
    }
    bool requestMaximised(const QString& window, bool add) const
    {
        return requestState(
            window, add, "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ");
    }
    // The window manager handles requests in order: once a later request shows, the maximise
    // request before it has been handled, granted or not.
    bool handled(const QString& window) const
    {
        return requestState(window, true, "_NET_WM_STATE_ABOVE")
            && waitUntil([&] { return has(window, "_NET_WM_STATE", "_NET_WM_STATE_ABOVE"); });
    }

    // The outer geometry once the window manager has framed the window and left it alone.
    QRect settledGeometry(const QString& window) const
    {
        QRect last, now;
        waitUntil([&] {
            last = std::exchange(now, outerGeometry(window));
            return now == last && !property(window, "_NET_FRAME_EXTENTS").empty();
        });
        return now;
    }

    QRect screen() const
    {
        return QRect(0, 0, DisplayWidth(m_display, DefaultScreen(m_display)),
            DisplayHeight(m_display, DefaultScreen(m_display)));
    }

    Display* m_display = XOpenDisplay(nullptr);
};

TEST_P(WindowManager, MainWindowNeverStaysMaximisedAndClosingSavesItsNormalPlace)
{
    // Away from the screen's edges, so that the window manager has no reason to move it.
    const Ini ini { .left = "6000", .top = "6000" };
    for (const bool closedAtOnce : { false, true }) {
        SCOPED_TRACE(closedAtOnce ? "closed right after the request" : "closed once back");
        ASSERT_TRUE(start(ini));
        const QRect normal = settledGeometry(m_main);
        ASSERT_EQ(normal, QRect(400, 400, 274, normal.height()));
        ASSERT_TRUE(requestMaximised(m_main, true));
        if (!closedAtOnce) {
            ASSERT_TRUE(handled(m_main));
            EXPECT_TRUE(waitUntil([&] {
                return !maximised(m_main) && outerGeometry(m_main) == normal;
            })) << "still maximised, or at "
                << outerGeometry(m_main).x() << ", " << outerGeometry(m_main).y() << " and "
                << outerGeometry(m_main).width() << " pixels wide";
        }
        ASSERT_TRUE(closeProgram());
        EXPECT_EQ(saved(), ini.bytes());
    }
}

TEST_P(WindowManager, HelpWindowMaximisesAndRestoresEveryTime)
{
    ASSERT_TRUE(start(Ini { .left = "6000", .top = "6000" }));
    const QString help = open(Help, HelpTitle);
    ASSERT_FALSE(help.isEmpty());
    const QRect normal = settledGeometry(help);
    for (int round = 1; round <= 4; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(requestMaximised(help, true));
        EXPECT_TRUE(waitUntil([&] { return maximised(help) && outerGeometry(help) == screen(); }))
            << "maximised to " << outerGeometry(help).width() << " x "
            << outerGeometry(help).height();
        ASSERT_TRUE(requestMaximised(help, false));
        EXPECT_TRUE(waitUntil([&] { return !maximised(help) && outerGeometry(help) == normal; }))
            << "restored to " << outerGeometry(help).width() << " x "
            << outerGeometry(help).height();
    }
    ASSERT_TRUE(closeProgram());
}

TEST_P(WindowManager, SettingsDialogOffersNoMaximiseOrMinimiseAndStaysAsItIs)
{
    constexpr unsigned long MotifFunctions = 1, Minimise = 8, Maximise = 16;
    ASSERT_TRUE(start());
    const QString dialog = open(Settings, DialogTitle);
    ASSERT_FALSE(dialog.isEmpty());
    const QRect shown = settledGeometry(dialog);
    EXPECT_FALSE(has(dialog, "_NET_WM_ALLOWED_ACTIONS", "_NET_WM_ACTION_MAXIMIZE_HORZ")
        || has(dialog, "_NET_WM_ALLOWED_ACTIONS", "_NET_WM_ACTION_MAXIMIZE_VERT"));
    // Openbox offers minimise to every dialog, owned or not, whatever its hints say: the
    // program's part is to ask for none.
    const auto motif = property(dialog, "_MOTIF_WM_HINTS");
    ASSERT_GE(motif.size(), 2U);
    EXPECT_TRUE((motif[0] & MotifFunctions) && !(motif[1] & (Minimise | Maximise)))
        << "functions " << motif[1];
    ASSERT_TRUE(requestMaximised(dialog, true) && handled(dialog));
    EXPECT_FALSE(maximised(dialog));
    EXPECT_EQ(outerGeometry(dialog), shown);
    // Minimised all the same, it comes back through its button.
    constexpr unsigned long Normal = 1, Iconic = 3;
    const auto wmState = [&] {
        const auto items = property(dialog, "WM_STATE");
        return items.empty() ? 0 : items.front();
    };
    ASSERT_TRUE(xdotool(u"windowminimize "_s + dialog));
    ASSERT_TRUE(waitUntil([&] { return wmState() == Iconic; }));
    ASSERT_TRUE(click(Settings));
    EXPECT_TRUE(waitUntil([&] { return wmState() == Normal; })) << "still minimised";
    ASSERT_TRUE(closeProgram());
}

const auto localeName
    = [](const auto& i) { return std::string(i.param[0] == 'C' ? "C" : "fr_FR"); };
INSTANTIATE_TEST_SUITE_P(Locales, Conversion, ::testing::Values("C", "fr_FR.UTF-8"), localeName);
INSTANTIATE_TEST_SUITE_P(Locales, Windows, ::testing::Values("C", "fr_FR.UTF-8"), localeName);
INSTANTIATE_TEST_SUITE_P(Locales, Session, ::testing::Values("C", "fr_FR.UTF-8"), localeName);
INSTANTIATE_TEST_SUITE_P(Locales, WindowManager, ::testing::Values("C", "fr_FR.UTF-8"), localeName);

} // namespace

// Options after GoogleTest's own: --program=PATH --output=DIR.
// Run through tests/x11/with-x-server, for an X server with a window manager.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication application(argc, argv);
    for (const QString& argument : QCoreApplication::arguments())
        g_options.insert(argument.section(u'=', 0, 0), argument.section(u'=', 1));
    return RUN_ALL_TESTS();
}
