// The built program, started in a folder of its own on a real X server with a window manager,
// driven from outside as a user drives it: keys and clicks through xdotool, the clipboard through
// xclip, closing through the window manager or a signal. It runs under its users' French locale
// (the window tests run under the C locale). Every wait is a bounded poll, never a fixed sleep. The
// rules themselves are proven by the unit and window tests: here one representative pass per rule
// shows the whole program following it, where only a real desktop can show it.
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
#include <clocale>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>
#include <sys/resource.h>
#include <utility>
#include <vector>

using namespace Qt::StringLiterals;

// Amounts, files and places print as text in failure messages.
void PrintTo(const QByteArray& b, std::ostream* out) { *out << '"' << b.toStdString() << '"'; }
void PrintTo(const QRect& r, std::ostream* out)
{
    *out << r.x() << ", " << r.y() << ", " << r.width() << " x " << r.height();
}

namespace {

QMap<QString, QString> g_options; // --program, --output

const QString MainTitle = u"^Quilmar v1\\.0$"_s;
const QString DialogTitle = u"^Quilmar / Param"_s;
const QString HelpTitle = u"^Quilmar / Aide$"_s;
const QString ErrorTitle = u"^Erreur !$"_s;
// From the dialog's first field, types over its rate: an edit that OK would store.
const QString RateEdit = u"{Tab}{Tab}{Tab}{Tab}{Home}{Shift+End}9"_s;
// Seventeen digits: too many, the amount overflows.
const QString Overflow = u"12345678901234567"_s;
// Requests to the window manager about states.
const QString Maximised = u"add,maximized_vert,maximized_horz"_s;
const QString Restored = u"remove,maximized_vert,maximized_horz"_s;
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

// A key named as the window tests name it ("Tab", "Ctrl+C", "Shift+End", "Num+Enter"), as X
// names it for xdotool: modifiers in lower case, and letters too, else xdotool would add Shift.
QString xKeyName(const QString& name)
{
    static const QMap<QString, QString> renamed = {
        { u"Backspace"_s, u"BackSpace"_s },
        { u"Space"_s, u"space"_s },
        { u"Esc"_s, u"Escape"_s },
        { u"Num+Enter"_s, u"KP_Enter"_s },
    };
    QStringList parts = renamed.value(name, name).split(u'+');
    for (QString& part : parts)
        if (&part != &parts.last() || part.size() == 1)
            part = part.toLower();
    return parts.join(u'+');
}

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

// At 400, 400 pixels, away from the screen's edges, so that the window manager has no reason to
// move a window.
Ini awayFromTheEdges(const QByteArray& width = "4110")
{
    return Ini { .left = "6000", .top = "6000", .width = width };
}

// The image buttons that the cases click; the paste buttons are the window tests'.
enum Button { Copy1, Copy2, Settings, Help };

// The program, run one or more times in a working folder of the test's own and killed, if still
// running, when the test ends.
class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        locale_t french = newlocale(LC_ALL_MASK, "fr_FR.UTF-8", nullptr);
        if (!french)
            GTEST_SKIP() << "fr_FR.UTF-8 is not installed here";
        freelocale(french);
    }

    // A fresh folder with the settings file given; m_main is the main window once focused. The
    // line past the tenth is ignored by the program and dropped by its save: a file equal to the
    // ten lines afterwards proves that it was written.
    bool start(const std::optional<Ini>& ini = Ini())
    {
        m_folder.emplace();
        if (ini && !writeFile(u"Quilmar.ini"_s, ini->bytes() + "fin\r\n"))
            return false;
        m_main = launch() ? window(MainTitle) : QString();
        return !m_main.isEmpty() && activate(m_main);
    }

    // Starts the program in the same folder, on another display when one is given.
    bool launch(const QString& display = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"LC_ALL"_s, u"fr_FR.UTF-8"_s);
        if (!display.isEmpty())
            environment.insert(u"DISPLAY"_s, display);
        m_process.setProcessEnvironment(environment);
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.setWorkingDirectory(m_folder->path());
        m_process.start(g_options.value(u"--program"_s), {});
        return m_process.waitForStarted();
    }

    // The program's exit code once it has ended, or -1 when it crashed or did not end.
    int finish()
    {
        const bool ended
            = m_process.state() == QProcess::NotRunning || m_process.waitForFinished(15000);
        return ended && m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
    }
    // The close request that a task bar sends; Alt+F4 has cases of its own.
    bool closeProgram() { return requestClose(m_main) && finish() == 0; }

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

    // A property of the window as xprop prints it: "NAME(TYPE) = item, item".
    QString property(const QString& window, const QString& name) const
    {
        return QString::fromLatin1(run(u"xprop -id %1 %2"_s.arg(window, name)).value_or(""));
    }
    // The window's client area on the screen.
    QRect clientGeometry(const QString& window) const
    {
        const QRegularExpressionMatch match
            = QRegularExpression(u"Absolute upper-left X: +(-?\\d+).*?Y: +(-?\\d+).*?Width: (\\d+)"
                                 ".*?Height: (\\d+)"_s,
                QRegularExpression::DotMatchesEverythingOption)
                  .match(QString::fromLatin1(run(u"xwininfo -id "_s + window).value_or("")));
        const auto at = [&](int field) { return match.captured(field).toInt(); };
        return QRect(at(1), at(2), at(3), at(4));
    }
    // With the window manager's frame around it, its left, right, top and bottom.
    QRect outerGeometry(const QString& window) const
    {
        const QStringList frame
            = property(window, u"_NET_FRAME_EXTENTS"_s).section(u'=', 1).split(u',');
        const auto at = [&](int side) { return frame.value(side).trimmed().toInt(); };
        return clientGeometry(window) + QMargins(at(0), at(2), at(1), at(3));
    }

    // The outer geometry once the window manager has framed the window and left it alone.
    QRect settledGeometry(const QString& window) const
    {
        QRect last, now;
        waitUntil([&] {
            last = std::exchange(now, outerGeometry(window));
            return now == last && property(window, u"_NET_FRAME_EXTENTS"_s).contains(u'=');
        });
        return now;
    }
    bool maximised(const QString& window) const
    {
        return property(window, u"_NET_WM_STATE"_s).contains(u"MAXIMIZED"_s);
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
        const int x[] = { 120, 120, right, right }, y[] = { 120, 600, 120, 600 };
        return click(m_main, x[button] / 15 + 12, y[button] / 15 + 12);
    }
    QString open(Button b, const QString& title) const { return click(b) ? window(title) : u""_s; }

    // Types a script in the window tests' notation: characters as text, keys named in braces.
    bool keys(const QString& script) const
    {
        for (const auto& step : QRegularExpression(u"\\{([^}]+)\\}|[^{]+"_s).globalMatch(script)) {
            const bool typed = step.hasCaptured(1)
                ? xdotool(u"key --delay 30 "_s + xKeyName(step.captured(1)))
                : run(u"xdotool type --delay 30"_s, step.captured()).has_value();
            if (!typed)
                return false;
        }
        return true;
    }
    // Requests through the window manager, as a pager or a task bar sends them: to close the
    // window, or to add or remove states ("-b add,maximized_vert,maximized_horz").
    bool requestClose(const QString& window) const
    {
        return run(u"wmctrl -i -c "_s + window).has_value();
    }
    bool requestState(const QString& window, const QString& change) const
    {
        return run(u"wmctrl -i -r %1 -b %2"_s.arg(window, change)).has_value();
    }
    // The window manager handles requests in order: once a later request shows, the requests
    // before it have been handled, granted or not.
    bool handled(const QString& window) const
    {
        return requestState(window, u"add,above"_s)
            && waitUntil([&] { return property(window, u"_NET_WM_STATE"_s).contains(u"ABOVE"_s); });
    }

    // Empties an amount field (clicked near its left end, half-way down), then types the script.
    bool enter(int row, const QString& script) const
    {
        return click(m_main, 72, row == 1 ? 17 : 49) && keys(u"{Home}{Shift+End}{Backspace}"_s)
            && keys(script);
    }
    // Opens the settings dialog and types the script into it.
    bool inDialog(const QString& script) const
    {
        return activate(open(Settings, DialogTitle)) && keys(script);
    }
    // Sets the clipboard and waits until it is served. xclip stays in the background to serve
    // it until another program takes it, and must not hold our pipes meanwhile.
    bool setClipboard(const QByteArray& text) const
    {
        const QString script = u"printf %s '%1' | xclip -selection clipboard -i >/dev/null 2>&1"_s;
        return run(u"sh -c"_s, script.arg(QString::fromUtf8(text)))
            && waitUntil([&] { return clipboard() == text; });
    }
    // An amount as its row's copy button puts it on the clipboard, or NothingCopied.
    QByteArray copied(Button copy) const
    {
        QByteArray now = NothingCopied;
        if (setClipboard(NothingCopied) && click(copy))
            waitUntil([&] { return (now = clipboard()) != NothingCopied; });
        return now;
    }
    QByteArray amounts() const { return copied(Copy1) + '|' + copied(Copy2); } // "upper|lower"

    std::optional<QTemporaryDir> m_folder;
    QProcess m_process;
    QString m_main;
};

// Typing, converting, the clipboard between programs, the overflow's message, keys of the
// desktop and the keyboard alone, the settings dialog and the settings saved, and the picture of
// the main window.
class Conversion : public EndToEnd { };
// Every way the program ends, and the place and settings it saves then.
class Session : public EndToEnd { };
// The window manager's own requests and what it makes of the windows.
class WindowManager : public EndToEnd { };

TEST_F(Conversion, KeysClipboardAndWindowsThenTheSettingsSaved)
{
    // In order, in one program: the row and what another program put on the clipboard; the keys
    // typed into the row's emptied field; the window they open and the keys that close it again;
    // and the amounts shown, "upper|lower". Space and Enter on the image buttons, and the tab
    // order, are proven in the window tests.
    struct Entry {
        const char* name;
        int row;
        QByteArray clipboard;
        QString keys;
        QString opens, closing;
        QByteArray shown;
    };
    // clang-format off
    const Entry entries[] = {
        { "TypedKeysFollowTheAmountRules", 1, {}, u"a1.b-2.3 c+4{Backspace}{Ctrl+A}5{Shift+Home}{Ctrl+X}"_s, {}, {}, "1,235|8,101" },
        { "CtrlCCopiesAndCtrlVReplacesTheWholeField", 1, {}, u"12,5{Shift+Left}{Ctrl+C}{Backspace}{Backspace}{Left}{Ctrl+V}"_s, {}, {}, "12,5|81,995" },
        { "CtrlVCleansAnotherProgramsText", 2, "1.234,56", u"77{Left}{Ctrl+V}"_s, {}, {}, "0,188|1,23456" },
        { "OverflowShowsTheMessageThenTheLastGoodPair", 2, {}, Overflow, ErrorTitle, u"{Return}"_s, "188208661562184,115|1234567890123456" },
        { "F1OpensTheHelpEscapeClosesIt", 1, {}, u"12,5{F1}"_s, HelpTitle, u"{Esc}"_s, "12,5|81,995" },
        { "CtrlWClosesTheHelp", 1, {}, u"12,5{F1}"_s, HelpTitle, u"{Ctrl+W}"_s, "12,5|81,995" },
        { "KeypadEnterOnTheSixthTabOpensTheHelpAltFQQuitsIt", 1, {}, u"12,5{Tab}{Tab}{Tab}{Tab}{Tab}{Tab}{Num+Enter}"_s, HelpTitle, u"{Alt+F}q"_s, "12,5|81,995" },
    };
    // clang-format on
    // Every field of the dialog, names trimmed, then OK by Enter.
    const QString newSettings = u"{Home}{Shift+End}  Dollars US {Tab}${Tab}{Home}{Shift+End}Yens"
                                u"{Tab}Y{Tab}{Home}{Shift+End}1.2345{Tab}{Home}{Down}{Down}{Tab}"
                                u"{Space}{Return}"_s;
    ASSERT_TRUE(start());
    // The picture for the README, with 12,5 typed, into the build folder.
    ASSERT_TRUE(enter(1, u"12,5"_s) && amounts() == "12,5|81,995" && click(m_main, 72, 17));
    const QPixmap screen = QGuiApplication::primaryScreen()->grabWindow(0);
    EXPECT_TRUE(screen.copy(outerGeometry(m_main))
                    .save(g_options.value(u"--output"_s) + u"/main-window.png"_s, "PNG"));
    for (const Entry& e : entries) {
        SCOPED_TRACE(e.name);
        ASSERT_TRUE(setClipboard(e.clipboard.isEmpty() ? NothingCopied : e.clipboard));
        ASSERT_TRUE(enter(e.row, e.keys));
        if (!e.opens.isEmpty()) {
            const QString opened = window(e.opens);
            ASSERT_TRUE(!opened.isEmpty() && activate(opened) && keys(e.closing));
            EXPECT_TRUE(window(e.opens, false).isEmpty()) << "still open";
        }
        EXPECT_EQ(amounts(), e.shown);
    }
    ASSERT_TRUE(inDialog(newSettings) && window(DialogTitle, false).isEmpty() && enter(1, u"1"_s));
    EXPECT_EQ(amounts(), "1|1,23");
    ASSERT_TRUE(activate(m_main) && keys(u"{Ctrl+Q}"_s));
    EXPECT_EQ(finish(), 0) << "Ctrl+Q ends the program the normal way";
    // Under the French locale, a point in the file all the same.
    EXPECT_EQ(saved(), (Ini { "Dollars US", "Yens", "$", "Y", "0", "1.2345", "2" }.bytes()));
}

TEST_F(Session, EveryWayOfEndingSavesTheClampedPlaceShown)
{
    // Ending with Alt+F4, through a task bar's close while minimised, or by a signal.
    constexpr int AltF4 = 0, TaskBarWhileMinimised = -1;
    // Open then: the dialog with an edit not stored and the help, or the overflow's message.
    enum Open { Nothing, DialogAndHelp, Message };
    // The settings file (none: a folder without one); what is open and how the program ends;
    // whether a file-size limit makes the save fail, which leaves the old file whole; the outer
    // left, top and width shown in pixels with the client area's height, which no title bar takes
    // from; and the width saved.
    struct Ending {
        const char* name;
        std::optional<Ini> ini;
        Open open;
        int end;
        bool limited;
        QRect shown;
        QByteArray savedWidth;
    };
    const Ini odd { .left = "3001", .top = "2999", .width = "4111" };
    // clang-format off
    const Ending endings[] = {
        { "NoFileAltF4WithTheDialogAndHelpOpen", std::nullopt, DialogAndHelp, AltF4, false, { 246, 247, 274, 71 }, "4110" },
        { "OddTwipsAltF4KeptToTheTwip", odd, Nothing, AltF4, false, { 200, 200, 274, 71 }, "4111" },
        { "TooNarrowClosedWhileMinimised", awayFromTheEdges("2000"), Nothing, TaskBarWhileMinimised, false, { 400, 400, 193, 71 }, "2900" },
        { "TooWideSigintWithTheDialogAndHelpOpen", awayFromTheEdges("9000"), DialogAndHelp, SIGINT, false, { 400, 400, 380, 71 }, "5700" },
        { "SighupWithTheMessageOpen", awayFromTheEdges(), Message, SIGHUP, false, { 400, 400, 274, 71 }, "4110" },
        { "SigtermPastAFileSizeLimitKeepsTheOldFile", awayFromTheEdges(), Nothing, SIGTERM, true, { 400, 400, 274, 71 }, "4110" },
    };
    // clang-format on
    for (const Ending& e : endings) {
        SCOPED_TRACE(e.name);
        m_process.setChildProcessModifier([limited = e.limited] {
            const rlimit limit { 16, 16 };
            if (limited)
                ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        ASSERT_TRUE(start(e.ini));
        const QRect outer = settledGeometry(m_main);
        EXPECT_EQ(
            QRect(outer.topLeft(), QSize(outer.width(), clientGeometry(m_main).height())), e.shown);
        ASSERT_TRUE(
            e.open != DialogAndHelp || (inDialog(RateEdit) && !open(Help, HelpTitle).isEmpty()));
        ASSERT_TRUE(e.open != Message || (enter(1, Overflow) && !window(ErrorTitle).isEmpty()));
        ASSERT_TRUE(e.end == TaskBarWhileMinimised
                ? xdotool(u"windowminimize --sync "_s + m_main) && requestClose(m_main)
                : e.end == AltF4 ? activate(m_main) && keys(u"{Alt+F4}"_s)
                                 : ::kill(pid_t(m_process.processId()), e.end) == 0);
        EXPECT_EQ(finish(), 0);
        Ini kept = e.ini.value_or(Ini());
        kept.width = e.savedWidth;
        EXPECT_EQ(saved(), kept.bytes() + (e.limited ? "fin\r\n" : ""));
    }
    m_process.setChildProcessModifier({});
}

// When its X server goes away, the program saves its settings before it ends.
TEST_F(Session, LosingTheDisplaySavesTheSettings)
{
    QProcess server; // an X server of this test's own, since it is to be lost
    server.start(u"Xvfb"_s, { u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s });
    ASSERT_TRUE(server.waitForStarted());
    while (!server.canReadLine())
        ASSERT_TRUE(server.waitForReadyRead(15000)) << "no display number";
    const QString display = u":"_s + QString::fromLatin1(server.readLine().trimmed());
    m_folder.emplace();
    ASSERT_TRUE(writeFile(u"Quilmar.ini"_s, awayFromTheEdges().bytes() + "fin\r\n"));
    ASSERT_TRUE(launch(display));
    ASSERT_TRUE(waitUntil([&] {
        return run(u"xwininfo -root -tree -display "_s + display)
            .value_or("")
            .contains("Quilmar v1.0");
    }));
    server.kill();
    server.waitForFinished();
    EXPECT_NE(finish(), -1) << "crashed, or did not end";
    EXPECT_EQ(saved(), awayFromTheEdges().bytes());
}

TEST_F(WindowManager, MainWindowNeverStaysMaximisedAndClosingSavesItsNormalPlace)
{
    for (const bool closedAtOnce : { false, true }) {
        SCOPED_TRACE(closedAtOnce ? "closed right after the request" : "closed once back");
        ASSERT_TRUE(start(awayFromTheEdges()));
        const QRect normal = settledGeometry(m_main);
        ASSERT_EQ(normal, QRect(400, 400, 274, normal.height()));
        ASSERT_TRUE(requestState(m_main, Maximised));
        if (!closedAtOnce) {
            ASSERT_TRUE(handled(m_main));
            waitUntil([&] { return outerGeometry(m_main) == normal; });
            EXPECT_EQ(outerGeometry(m_main), normal);
            EXPECT_FALSE(maximised(m_main));
        }
        ASSERT_TRUE(closeProgram());
        EXPECT_EQ(saved(), awayFromTheEdges().bytes());
    }
}

// Centred on the main window, frames and all; maximised and restored. Copying from its document
// is checked on the installed package.
TEST_F(WindowManager, HelpWindowCentredAndMaximisedAgainAndAgain)
{
    ASSERT_TRUE(start(awayFromTheEdges()));
    const QString help = open(Help, HelpTitle);
    ASSERT_FALSE(help.isEmpty());
    const QRect normal = settledGeometry(help);
    EXPECT_LE((normal.center() - outerGeometry(m_main).center()).manhattanLength(), 2);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    for (const char* round : { "first", "again" }) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(requestState(help, Maximised));
        waitUntil([&] { return outerGeometry(help) == screen; });
        EXPECT_EQ(outerGeometry(help), screen);
        ASSERT_TRUE(requestState(help, Restored));
        waitUntil([&] { return outerGeometry(help) == normal; });
        EXPECT_EQ(outerGeometry(help), normal);
    }
    ASSERT_TRUE(closeProgram()) << "closing with the help window open";
    EXPECT_EQ(saved(), awayFromTheEdges().bytes());
}

TEST_F(WindowManager, SettingsDialogOffersNoMaximiseOrMinimiseAndStaysAsItIs)
{
    ASSERT_TRUE(start());
    const QString dialog = open(Settings, DialogTitle);
    ASSERT_FALSE(dialog.isEmpty());
    const QRect shown = settledGeometry(dialog);
    // Openbox offers minimise to every dialog, owned or not, whatever its hints say: the
    // program's part is to ask for none. The hints: which fields count, then the functions.
    constexpr unsigned MotifFunctions = 1, Minimise = 8, Maximise = 16;
    const QStringList motif = property(dialog, u"_MOTIF_WM_HINTS"_s).section(u'=', 1).split(u',');
    ASSERT_GE(motif.size(), 2);
    const unsigned fields = motif[0].trimmed().toUInt(nullptr, 0),
                   functions = motif[1].trimmed().toUInt(nullptr, 0);
    EXPECT_TRUE((fields & MotifFunctions) && !(functions & (Minimise | Maximise))) << functions;
    ASSERT_TRUE(requestState(dialog, Maximised) && handled(dialog));
    EXPECT_FALSE(maximised(dialog));
    EXPECT_EQ(outerGeometry(dialog), shown);
    // Minimised all the same, it comes back through its button.
    const auto inState = [&](const QString& state) {
        return waitUntil([&] { return property(dialog, u"WM_STATE"_s).contains(state); });
    };
    ASSERT_TRUE(xdotool(u"windowminimize "_s + dialog) && inState(u"state: Iconic"_s));
    ASSERT_TRUE(click(Settings));
    EXPECT_TRUE(inState(u"state: Normal"_s)) << "still minimised";
    ASSERT_TRUE(closeProgram());
}

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
