// The built program, started in a folder of its own on a real X server with a window manager,
// driven from outside as a user drives it: keys and clicks through xdotool, the clipboard through
// xclip, closing through the window manager. Every case runs under the C locale and under the
// French one. Every wait is a bounded poll, never a fixed sleep.
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
#include <csignal>
#include <gtest/gtest.h>
#include <optional>

// Xlib last: its macros (None, Bool, Status...) would clash with the headers above.
#include <X11/Xlib.h>

using namespace Qt::StringLiterals;

// Amounts and files print as text in failure messages.
void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << '"' << bytes.toStdString() << '"';
}

namespace {

QMap<QString, QString> g_options; // --program, --output, --source

const QString DialogTitle = u"^Quilmar / Param"_s;
const QString HelpTitle = u"^Quilmar / Aide$"_s;
// On the clipboard before a copy, so that a copy that never happens cannot pass.
const QByteArray NothingCopied = "(e2e: nothing copied)";

// Polls until the condition holds or the time is up; 15 s by default, which is generous because
// the sanitizer builds start slowly on a busy machine.
template <class Condition> bool waitUntil(Condition condition, int timeoutMs = 15000)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(40); // paces the polling only
    }
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
    if (!process.waitForFinished(10000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

bool xdotool(const QString& command, const QString& last = {})
{
    return run(u"xdotool "_s + command, last).has_value();
}

QByteArray clipboard() { return run(u"xclip -selection clipboard -o"_s).value_or(""); }

// The settings file, field by field as the program writes it.
struct Ini {
    QByteArray name1 = "Euros", name2 = "Francs", symbol1 = "E", symbol2 = "F", toolTips = "1",
               rate = "6.55957", decimals = "3", left = "3690", top = "3705", width = "4110";

    QByteArray bytes() const
    {
        const QByteArrayList quoted = { name1, name2, symbol1, symbol2 };
        return '"' + quoted.join("\"\r\n\"") + "\"\r\n"
            + QByteArrayList { toolTips, rate, decimals, left, top, width, {} }.join("\r\n");
    }
};

enum Button { Copy1, Paste1, Copy2, Paste2, Settings, Help };

// The program, run one or more times in a working folder of the test's own and killed, if still
// running, when the test ends. The parameter is the locale.
class EndToEnd : public ::testing::TestWithParam<const char*> {
protected:
    // A fresh folder with the files given. The line past the tenth is ignored by the program and
    // dropped by its save: a file equal to the ten lines afterwards proves that it was written.
    bool start(const std::optional<Ini>& ini = Ini(), const QByteArray& help = {})
    {
        m_folder.emplace();
        return (!ini || writeFile(u"Quilmar.ini"_s, ini->bytes() + "fin\r\n"))
            && (help.isEmpty() || writeFile(u"Quilmar.rtf"_s, help)) && restart();
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
        if (m_process.state() != QProcess::NotRunning && !m_process.waitForFinished(15000))
            return -1;
        return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
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
            if (m_process.state() != QProcess::Running)
                return true;
            const QByteArray ids = run(search.arg(m_process.processId()), title).value_or("");
            found = QString::fromLatin1(ids).split(u'\n', Qt::SkipEmptyParts);
            return found.isEmpty() != shown;
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
        const QString command = u"mousemove --window %1 %2 %3 click 1"_s;
        return activate(window) && xdotool(command.arg(window).arg(x).arg(y));
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
    QString open(Button button, const QString& title) const
    {
        return click(button) ? window(title) : QString();
    }

    // Key combinations as xdotool names them, separated by spaces: "Tab ctrl+c shift+End".
    bool keys(const QString& names) const { return xdotool(u"key --delay 30 "_s + names); }
    bool minimise(const QString& window) const
    {
        return xdotool(u"windowminimize "_s + window) && waitUntil([&] {
            return run(u"xprop WM_STATE -id "_s + window).value_or("").contains("Iconic");
        });
    }
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
    // overflow message and answers it.
    bool perform(int row, const QString& steps) const
    {
        for (const auto& step : QRegularExpression(u"\\{([^}]*)\\}|[^{]+"_s).globalMatch(steps)) {
            const QString names = step.captured(1);
            const bool done = !step.captured().startsWith(u'{')
                ? xdotool(u"type --delay 30"_s, step.captured())
                : names == u"paste" ? click(row == 1 ? Paste1 : Paste2)
                : names == u"error" ? answer(u"^Erreur !$"_s)
                                    : keys(names);
            if (!done)
                return false;
        }
        return true;
    }
    bool answer(const QString& title) const
    {
        const QString box = window(title);
        return !box.isEmpty() && activate(box) && keys(u"Return"_s)
            && window(title, false).isEmpty();
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
        const bool clicked = setClipboard(NothingCopied) && click(copy);
        return clicked ? waitForClipboardChange(NothingCopied) : NothingCopied;
    }
    QByteArray amounts() const { return copied(Copy1) + '|' + copied(Copy2); } // "row 1|row 2"

    std::optional<QTemporaryDir> m_folder;
    QProcess m_process;
    QString m_main;
};

// Typing, converting, keystroke rules, clipboard and overflow.
class Conversion : public EndToEnd { };
// The settings dialog and the help window.
class Windows : public EndToEnd { };
// Starting, closing, geometry, signals, and the picture of the main window.
class Session : public EndToEnd { };

TEST_P(Conversion, BothWaysAtEveryDecimalsChoice)
{
    // Decimals; 1 typed in row 1; 100 typed in row 2.
    const std::array<QByteArray, 3> cases[]
        = { { "0", "1|7", "15|100" }, { "1", "1|6,6", "15,2|100" }, { "2", "1|6,56", "15,24|100" },
              { "3", "1|6,56", "15,245|100" }, { "4", "1|6,5596", "15,2449|100" } };
    for (const auto& [decimals, oneEuro, hundredFrancs] : cases) {
        SCOPED_TRACE(decimals.constData());
        const Ini ini { .decimals = decimals };
        ASSERT_TRUE(start(ini) && enter(1, u"1"_s));
        EXPECT_EQ(amounts(), oneEuro);
        ASSERT_TRUE(enter(2, u"100"_s));
        EXPECT_EQ(amounts(), hundredFrancs);
        ASSERT_TRUE(closeProgram());
        EXPECT_EQ(saved(), ini.bytes());
    }
}

TEST_P(Conversion, KeystrokesClipboardAndOverflow)
{
    // Row; clipboard before, when not empty; steps; amounts shown.
    const std::tuple<int, QByteArray, QString, QByteArray> cases[] = {
        { 1, {}, u"12.5"_s, "12,5|81,995" }, // "." types the separator
        { 1, {}, u"1.2.3"_s, "1,23|8,068" }, // a second separator is dropped
        { 1, {}, u"a1b-2 c+"_s, "12|78,715" }, // so are letters, signs and spaces
        { 1, {}, u"123{BackSpace}"_s, "12|78,715" },
        { 2, {}, u"5{BackSpace}"_s, "|" },
        // Ctrl+C copies the whole field, not the selection; Ctrl+V replaces the whole field.
        { 1, {}, u"12,5{shift+Left ctrl+c BackSpace BackSpace Left ctrl+v}"_s, "12,5|81,995" },
        { 2, "1.234,56", u"77{Left ctrl+v}"_s, "0,188|1,23456" },
        // Ctrl+A selects nothing, and Ctrl+X cuts nothing.
        { 1, {}, u"12{ctrl+a}3{shift+Home ctrl+x}"_s, "123|806,827" },
        { 1, "-12 345 €", u"{paste}"_s, "12345|80977,892" },
        { 2, "-12 345 €", u"{paste}"_s, "1881,983|12345" },
        // The message, then the last good pair back.
        { 1, {}, u"1234567890123456{error}"_s, "123456789012345|809823449501707,878" },
        { 2, {}, u"12345678901234567{error}"_s, "188208661562184,115|1234567890123456" },
    };
    ASSERT_TRUE(start());
    for (const auto& [row, clipboard, steps, shown] : cases) {
        SCOPED_TRACE(steps.toStdString());
        ASSERT_TRUE(setClipboard(clipboard.isEmpty() ? NothingCopied : clipboard));
        ASSERT_TRUE(enter(row, steps));
        EXPECT_EQ(amounts(), shown);
    }
    ASSERT_TRUE(closeProgram());
    EXPECT_EQ(saved(), Ini().bytes());
}

TEST_P(Windows, SettingsDialogByKeyboard)
{
    const Ini custom { "Dollars", "Yens", "$", "Y", "0", "2", "0" };
    const QString editRate = u"{Tab Tab Tab Tab Home shift+End}9"_s;
    // File before; steps from the dialog's first field; file after; 1 typed in row 1.
    const std::tuple<Ini, QString, Ini, QByteArray> cases[] = {
        // Every field, names trimmed, then OK by Enter.
        { {},
            u"{Home shift+End}  Dollars US {Tab}${Tab Home shift+End}Yens{Tab}Y{Tab Home shift+End}"
            u"0.5{Tab Home Down Down Tab space Return}"_s,
            { "Dollars US", "Yens", "$", "Y", "0", "0.5", "2" }, "1|0,5" },
        { custom, u"{Tab Tab Tab Tab Tab Tab Tab space Tab Return}"_s, {}, "1|6,56" }, // Reset, OK
        // Reset, Annuler
        { custom, u"{Tab Tab Tab Tab Tab Tab Tab space Tab Tab space}"_s, custom, "1|2" },
        { {}, editRate + u"{Escape}"_s, {}, "1|6,56" },
        { {}, editRate + u"{alt+F4}"_s, {}, "1|6,56" }, // the close box
    };
    for (const auto& [before, steps, after, oneUnit] : cases) {
        SCOPED_TRACE(steps.toStdString());
        ASSERT_TRUE(start(before));
        const QString dialog = open(Settings, DialogTitle);
        ASSERT_TRUE(!dialog.isEmpty() && activate(dialog) && perform(1, steps));
        ASSERT_TRUE(window(DialogTitle, false).isEmpty() && enter(1, u"1"_s));
        EXPECT_EQ(amounts(), oneUnit);
        ASSERT_TRUE(closeProgram());
        EXPECT_EQ(saved(), after.bytes());
    }
}

TEST_P(Windows, HelpWindowOpensReadsQuitsAndReopens)
{
    QFile repository(g_options.value(u"--source"_s) + u"/Quilmar.rtf"_s);
    ASSERT_TRUE(repository.open(QIODevice::ReadOnly));
    const QByteArray body = "Quilmar convertit un montant d’une monnaie";
    const std::pair<QByteArray, QByteArray> cases[]
        = { { repository.readAll(), body }, { {}, body }, // none: the copy built into the program
              { "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Bonjour {\\b\\'zz\\u", "Bonjour" } };
    // Away from the screen's edges, so that the window manager has no reason to move the help.
    const Ini ini { .left = "6000", .top = "6000" };
    for (const auto& [document, shown] : cases) {
        SCOPED_TRACE(shown.constData());
        ASSERT_TRUE(start(ini, document));
        for (int opening = 0; opening < 2; ++opening) {
            const QString help = open(Help, HelpTitle);
            ASSERT_FALSE(help.isEmpty()) << "opening " << opening;
            const QPoint offset = outerGeometry(help).center() - outerGeometry(m_main).center();
            EXPECT_LE(offset.manhattanLength(), 2) << "centred on the main window";
            ASSERT_TRUE(
                setClipboard(NothingCopied) && click(help, 200, 150) && keys(u"ctrl+a ctrl+c"_s));
            EXPECT_TRUE(waitForClipboardChange(NothingCopied).contains(shown));
            if (opening == 0) {
                ASSERT_TRUE(keys(u"alt+f q"_s) && window(HelpTitle, false).isEmpty()) << "&Quitter";
            }
        }
        ASSERT_TRUE(closeProgram()) << "closing with the help window open";
        EXPECT_EQ(saved(), ini.bytes());
    }
}

TEST_P(Session, GeometryKeptAndClampedOverThreeRuns)
{
    // The width in the file, and the width saved at every run.
    for (const auto& [width, kept] :
        { std::pair { "2000", "2900" }, std::pair { "9000", "5700" } }) {
        SCOPED_TRACE(width);
        const int pixels = QByteArray(kept).toInt() / 15;
        int shown = 0; // the outer width settles once the window manager has framed the window
        const auto settled = [&] { return (shown = outerGeometry(m_main).width()) == pixels; };
        for (int run = 0; run < 3; ++run) {
            ASSERT_TRUE(run == 0 ? start(Ini { .left = "1500", .top = "1200", .width = width })
                                 : restart());
            EXPECT_TRUE(waitUntil(settled, 5000)) << "run " << run << ": " << shown << " pixels";
            ASSERT_TRUE(closeProgram());
            EXPECT_EQ(saved(), (Ini { .left = "1500", .top = "1200", .width = kept }.bytes()))
                << "run " << run;
        }
    }
}

TEST_P(Session, EveryWayOfEndingSaves)
{
    constexpr int Closed = 0, Minimised = -1; // otherwise a signal
    // How it ends; whether the dialog, with an edit not stored, and the help are open; whether
    // there is a file. Without one, the designed place is saved.
    const std::tuple<int, bool, bool> cases[] = { { Closed, true, false }, { SIGTERM, true, true },
        { SIGHUP, false, true }, { Minimised, false, true } };
    for (const auto& [end, windows, file] : cases) {
        SCOPED_TRACE(end);
        ASSERT_TRUE(start(file ? std::optional(Ini()) : std::nullopt));
        if (windows) {
            const QString dialog = open(Settings, DialogTitle);
            ASSERT_TRUE(!dialog.isEmpty() && activate(dialog)
                && perform(1, u"{Tab Tab Tab Tab Home shift+End}9"_s));
            ASSERT_FALSE(open(Help, HelpTitle).isEmpty());
        }
        const pid_t pid = pid_t(m_process.processId());
        ASSERT_TRUE(end == Minimised ? minimise(m_main) && requestClose(m_main)
                : end == Closed      ? close(m_main)
                                     : ::kill(pid, end) == 0);
        EXPECT_EQ(finish(), 0);
        EXPECT_EQ(saved(), Ini().bytes());
    }
}

// The picture for the README, in French, after typing 12,5, into the build folder.
TEST_P(Session, MainWindowPicture)
{
    if (GetParam()[0] == 'C')
        GTEST_SKIP() << "the README shows the French one";
    ASSERT_TRUE(start() && enter(1, u"12,5"_s));
    ASSERT_EQ(amounts(), "12,5|81,995");
    ASSERT_TRUE(click(m_main, 72, 17)); // the caret back where the user typed
    const QRect outer = outerGeometry(m_main);
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(
        0, outer.x(), outer.y(), outer.width(), outer.height());
    EXPECT_TRUE(picture.save(g_options.value(u"--output"_s) + u"/main-window.png"_s, "PNG"));
    EXPECT_TRUE(closeProgram());
}

std::string localeName(const ::testing::TestParamInfo<const char*>& info)
{
    return info.param[0] == 'C' ? "C" : "fr_FR";
}
INSTANTIATE_TEST_SUITE_P(Locales, Conversion, ::testing::Values("C", "fr_FR.UTF-8"), localeName);
INSTANTIATE_TEST_SUITE_P(Locales, Windows, ::testing::Values("C", "fr_FR.UTF-8"), localeName);
INSTANTIATE_TEST_SUITE_P(Locales, Session, ::testing::Values("C", "fr_FR.UTF-8"), localeName);

} // namespace

// Options after GoogleTest's own: --program=PATH --output=DIR --source=DIR. Run through
// tests/x11/with-x-server, for an X server with a window manager.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication application(argc, argv);
    for (const QString& argument : QCoreApplication::arguments())
        g_options.insert(argument.section(u'=', 0, 0), argument.section(u'=', 1));
    return RUN_ALL_TESTS();
}
