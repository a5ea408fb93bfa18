// The built program, started in a folder of its own on a real X server with a window manager,
// driven as a user drives it: keys, clicks on the image buttons, the system clipboard, closing
// through the window manager. Every case runs under the C locale and under the French one.
#include "tests/e2e/Desktop.h"

#include <QCoreApplication>
#include <QFile>
#include <QPoint>
#include <csignal>
#include <gtest/gtest.h>
#include <optional>
#include <ostream>
#include <vector>

// Amounts and files print as text in failure messages.
void PrintTo(const QByteArray& bytes, std::ostream* out)
{
    *out << '"' << bytes.toStdString() << '"';
}

namespace {

struct Paths {
    QString program; // the program under test
    QString screenshot; // the screenshot tool
    QString output; // where the screenshot goes
    QString source; // the repository, for its help document
};
Paths g_paths;

const QString MainTitle = QStringLiteral("^Quilmar v1\\.0$");
const QString DialogTitle = QStringLiteral("^Quilmar / Param");
const QString HelpTitle = QStringLiteral("^Quilmar / Aide$");
const QString ErrorTitle = QStringLiteral("^Erreur !$");
// What the clipboard holds before a copy, so that a copy that never happens cannot pass.
const QByteArray NothingCopied = QByteArrayLiteral("(e2e: nothing copied)");

// The settings file, field by field as the program writes it.
struct Ini {
    QByteArray name1 = "Euros", name2 = "Francs", symbol1 = "E", symbol2 = "F";
    QByteArray toolTips = "1", rate = "6.55957", decimals = "3";
    QByteArray left = "3690", top = "3705", width = "4110";

    QByteArray bytes() const
    {
        QByteArray file;
        for (const QByteArray& text : { name1, name2, symbol1, symbol2 })
            file += '"' + text + "\"\r\n";
        for (const QByteArray& number : { toolTips, rate, decimals, left, top, width })
            file += number + "\r\n";
        return file;
    }
};

// A user's action: keys pressed by their names, or text typed.
struct Step {
    bool typed;
    QString text;
};
Step press(const char16_t* names) { return { false, QString::fromUtf16(names) }; }
Step type(const char16_t* text) { return { true, QString::fromUtf16(text) }; }
using Steps = std::vector<Step>;

// In the order of their places in EndToEnd::centre().
enum class Button { Copy1, Paste1, Copy2, Paste2, Settings, Help };

class EndToEnd : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("DISPLAY") || g_paths.program.isEmpty())
            GTEST_SKIP() << "needs an X server and --program (run through tests/x11/with-x-server)";
        m_desktop.emplace(g_paths.program);
    }

    Desktop& desktop() { return *m_desktop; }

    // Starts the program with the settings file given (none when empty).
    bool start(const std::optional<Ini>& ini = Ini())
    {
        // A line past the tenth, which the program ignores and its save drops: a file equal to
        // the ten lines afterwards proves that the program wrote it.
        if (ini && !desktop().writeFile(QStringLiteral("Quilmar.ini"), ini->bytes() + "fin\r\n"))
            return false;
        m_main = desktop().start(QString::fromLatin1(GetParam()));
        return !m_main.isEmpty();
    }

    // Closes the main window through the window manager and waits for the program's end.
    bool closeProgram()
    {
        return desktop().closeWithKeyboard(m_main) && desktop().waitForExit()
            && desktop().exitCode() == 0;
    }

    // The centre of an image button, in client pixels: the buttons are 375 twips (25 pixels at
    // 96 dpi, 15 twips a pixel) square; the right-hand column stands 630 twips left of the
    // window's outer right edge, so it moves with the width.
    QPoint centre(Button button)
    {
        const QMargins frame = desktop().frameExtents(m_main);
        const int outerWidth
            = desktop().clientGeometry(m_main).width() + frame.left() + frame.right();
        const int right = outerWidth * 15 - 630;
        const QPoint twips[] = { { 120, 120 }, { 480, 120 }, { 120, 600 }, { 480, 600 },
            { right, 120 }, { right, 600 } };
        const QPoint at = twips[int(button)];
        return { at.x() / 15 + 12, at.y() / 15 + 12 };
    }

    bool click(Button button)
    {
        const QPoint at = centre(button);
        return desktop().click(m_main, at.x(), at.y());
    }

    bool perform(const Steps& steps)
    {
        for (const Step& step : steps) {
            const bool done = step.typed
                ? desktop().type(step.text)
                : desktop().keys(step.text.split(u' ', Qt::SkipEmptyParts));
            if (!done)
                return false;
        }
        return true;
    }

    // Puts the caret at the end of an amount field (row 1 or 2) by clicking into it, near its
    // left end (960 twips) and half-way down its 285 twips.
    bool focusField(int row)
    {
        return desktop().click(m_main, 960 / 15 + 8, (row == 1 ? 120 : 600) / 15 + 9)
            && perform({ press(u"End") });
    }

    // Empties the field with the keyboard, then does the steps in it.
    bool enter(int row, const Steps& steps)
    {
        return focusField(row) && perform({ press(u"Home shift+End BackSpace") }) && perform(steps);
    }

    // The amount of a row, as its copy button puts it on the clipboard.
    QByteArray copied(int row)
    {
        if (!desktop().setClipboard(NothingCopied)
            || !click(row == 1 ? Button::Copy1 : Button::Copy2))
            return NothingCopied;
        return desktop().waitForClipboardChange(NothingCopied);
    }

    std::pair<QByteArray, QByteArray> amounts() { return { copied(1), copied(2) }; }

    // Opens one of the two other windows with its button and waits for it.
    QString open(Button button, const QString& title)
    {
        return click(button) ? desktop().waitForWindow(title) : QString();
    }

    QByteArray savedFile() { return desktop().readFile(QStringLiteral("Quilmar.ini")); }

    std::optional<Desktop> m_desktop;
    QString m_main;
};

using Amounts = std::pair<QByteArray, QByteArray>;

// Typing, converting, keystroke rules, clipboard and overflow.
class Conversion : public EndToEnd { };
// The settings dialog and the help window.
class Windows : public EndToEnd { };
// Starting, closing, geometry and signals.
class Session : public EndToEnd { };

TEST_P(Conversion, ConvertsBothWaysAtEveryDecimalsChoice)
{
    struct Case {
        const char* decimals;
        const char* francsForOneEuro;
        const char* eurosForHundredFrancs;
    };
    const Case cases[] = {
        { "0", "7", "15" },
        { "1", "6,6", "15,2" },
        { "2", "6,56", "15,24" },
        { "3", "6,56", "15,245" },
        { "4", "6,5596", "15,2449" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.decimals);
        const Ini ini { .decimals = c.decimals };
        m_desktop.emplace(g_paths.program);
        ASSERT_TRUE(start(ini));
        ASSERT_TRUE(enter(1, { type(u"1") }));
        EXPECT_EQ(amounts(), Amounts("1", c.francsForOneEuro));
        ASSERT_TRUE(enter(2, { type(u"100") }));
        EXPECT_EQ(amounts(), Amounts(c.eurosForHundredFrancs, "100"));
        ASSERT_TRUE(closeProgram());
        EXPECT_EQ(savedFile(), ini.bytes());
    }
}

TEST_P(Conversion, KeystrokeRulesAndClipboardKeys)
{
    struct Case {
        const char* what;
        int row;
        QByteArray clipboardBefore; // set before the keys when not empty
        Steps steps;
        QByteArray own, other;
        QByteArray clipboardAfter; // checked after the keys when not empty
    };
    const Case cases[] = {
        { "a dot becomes the separator", 1, {}, { type(u"12.5") }, "12,5", "81,995", {} },
        { "a second separator is dropped", 1, {}, { type(u"1.2.3") }, "1,23", "8,068", {} },
        { "a comma after a comma is dropped", 1, {}, { type(u"1,5,") }, "1,5", "9,839", {} },
        { "a dot typed in the middle", 1, {}, { type(u"12"), press(u"Left"), type(u".") }, "1,2",
            "7,872", {} },
        { "letters, signs and spaces are dropped", 1, {}, { type(u"a1b-2 c+") }, "12", "78,715",
            {} },
        { "Enter inserts nothing", 1, {}, { type(u"1"), press(u"Return"), type(u"2") }, "12",
            "78,715", {} },
        { "backspace deletes", 1, {}, { type(u"123"), press(u"BackSpace") }, "12", "78,715", {} },
        { "backspace empties both fields", 1, {}, { type(u"5"), press(u"BackSpace") }, "", "", {} },
        { "a lone separator empties the field", 1, {}, { type(u",3") }, "3", "19,679", {} },
        { "deleting the first digit of 0,5 gives 0,5 again", 1, {},
            { type(u"0,5"), press(u"Home Delete") }, "0,5", "3,28", {} },
        { "typing into the second field", 2, {}, { type(u"100") }, "100", "15,245", {} },
        { "Ctrl+C copies the whole field, not the selection", 1, {},
            { type(u"12,5"), press(u"shift+Left ctrl+c") }, "12,5", "81,995", "12,5" },
        { "Ctrl+V replaces the whole field with the cleaned text", 2, "1.234,56",
            { type(u"77"), press(u"Left ctrl+v") }, "1,23456", "0,188", {} },
        { "Ctrl+A then Ctrl+X cut nothing", 1, {}, { type(u"12"), press(u"ctrl+a ctrl+x") }, "12",
            "78,715", {} },
    };
    ASSERT_TRUE(start());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(desktop().setClipboard(
            c.clipboardBefore.isEmpty() ? NothingCopied : c.clipboardBefore));
        ASSERT_TRUE(enter(c.row, c.steps));
        if (!c.clipboardAfter.isEmpty()) {
            EXPECT_EQ(desktop().waitForClipboardChange(NothingCopied), c.clipboardAfter);
        }
        const Amounts shown = amounts();
        EXPECT_EQ(c.row == 1 ? shown : Amounts(shown.second, shown.first), Amounts(c.own, c.other));
    }
    ASSERT_TRUE(closeProgram());
    EXPECT_EQ(savedFile(), Ini().bytes());
}

TEST_P(Conversion, PasteButtonsCleanTheClipboardText)
{
    struct Case {
        QByteArray clipboard;
        Button button;
        QByteArray own, other;
    };
    const Case cases[] = {
        { "-12 345 €", Button::Paste1, "12345", "80977,892" },
        { "-12 345 €", Button::Paste2, "12345", "1881,983" },
        { "1.234,56", Button::Paste1, "1,23456", "8,098" },
        { ",5", Button::Paste1, "0,5", "3,28" },
        { "12,50", Button::Paste1, "12,50", "81,995" },
        { "pas de chiffres", Button::Paste2, "", "" },
    };
    ASSERT_TRUE(start());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.clipboard.constData());
        ASSERT_TRUE(desktop().setClipboard(c.clipboard));
        ASSERT_TRUE(click(c.button));
        const Amounts shown = amounts();
        EXPECT_EQ(c.button == Button::Paste1 ? shown : Amounts(shown.second, shown.first),
            Amounts(c.own, c.other));
    }
    ASSERT_TRUE(closeProgram());
}

TEST_P(Conversion, OverflowShowsTheMessageAndPutsBackTheLastGoodPair)
{
    struct Case {
        int row;
        const char16_t* typed;
        QByteArray own, other;
    };
    const Case cases[] = {
        { 1, u"1234567890123456", "123456789012345", "809823449501707,878" },
        { 2, u"12345678901234567", "1234567890123456", "188208661562184,115" },
    };
    ASSERT_TRUE(start());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        ASSERT_TRUE(enter(c.row, { type(c.typed) }));
        const QString message = desktop().waitForWindow(ErrorTitle);
        ASSERT_FALSE(message.isEmpty()) << "no message box";
        ASSERT_TRUE(desktop().activate(message));
        ASSERT_TRUE(desktop().keys({ QStringLiteral("Return") }));
        ASSERT_TRUE(desktop().waitForNoWindow(ErrorTitle));
        const Amounts shown = amounts();
        EXPECT_EQ(c.row == 1 ? shown : Amounts(shown.second, shown.first), Amounts(c.own, c.other));
    }
    ASSERT_TRUE(closeProgram());
}

TEST_P(Windows, SettingsDialogByKeyboard)
{
    const Ini custom { .name1 = "Dollars",
        .name2 = "Yens",
        .symbol1 = "$",
        .symbol2 = "Y",
        .toolTips = "0",
        .rate = "2",
        .decimals = "0" };
    struct Case {
        const char* what;
        Ini before;
        Steps steps; // from the first field of the dialog, which has the focus
        Ini after;
        QByteArray francsForOneEuro;
    };
    const Case cases[] = {
        { "OK by Enter stores the rate", {},
            { press(u"Tab Tab Tab Tab Home shift+End"), type(u"2"), press(u"Return") },
            { .rate = "2" }, "2" },
        { "every field", {},
            { press(u"Home shift+End"), type(u"  Dollars US "), press(u"Tab"), type(u"$"),
                press(u"Tab Home shift+End"), type(u"Yens"), press(u"Tab"), type(u"Y"),
                press(u"Tab Home shift+End"), type(u"0.5"), press(u"Tab Home Down Down"),
                press(u"Tab space Return") },
            { .name1 = "Dollars US",
                .name2 = "Yens",
                .symbol1 = "$",
                .symbol2 = "Y",
                .toolTips = "0",
                .rate = "0.5",
                .decimals = "2" },
            "0,5" },
        { "Reset then OK", custom, { press(u"Tab Tab Tab Tab Tab Tab Tab space Tab Return") }, {},
            "6,56" },
        { "Reset then Annuler", custom,
            { press(u"Tab Tab Tab Tab Tab Tab Tab space Tab Tab space") }, custom, "2" },
        { "Escape discards", {},
            { press(u"Tab Tab Tab Tab Home shift+End"), type(u"9"), press(u"Escape") }, {},
            "6,56" },
        { "the close box discards", {},
            { press(u"Tab Tab Tab Tab Home shift+End"), type(u"9"), press(u"alt+F4") }, {},
            "6,56" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_desktop.emplace(g_paths.program);
        ASSERT_TRUE(start(c.before));
        const QString dialog = open(Button::Settings, DialogTitle);
        ASSERT_FALSE(dialog.isEmpty()) << "no settings dialog";
        ASSERT_TRUE(desktop().activate(dialog));
        ASSERT_TRUE(perform(c.steps));
        ASSERT_TRUE(desktop().waitForNoWindow(DialogTitle));
        ASSERT_TRUE(enter(1, { type(u"1") }));
        EXPECT_EQ(copied(2), c.francsForOneEuro);
        ASSERT_TRUE(closeProgram());
        EXPECT_EQ(savedFile(), c.after.bytes());
    }
}

TEST_P(Windows, HelpWindowShowsTheDocumentOrTheBuiltInHelp)
{
    struct Case {
        const char* what;
        std::optional<QByteArray> document; // none: no Quilmar.rtf
        QByteArray shows;
    };
    QFile repositoryHelp(g_paths.source + QStringLiteral("/Quilmar.rtf"));
    ASSERT_TRUE(repositoryHelp.open(QIODevice::ReadOnly));
    const Case cases[] = {
        { "the repository's document", repositoryHelp.readAll(), "Aide Quilmar" },
        { "no document", std::nullopt, "Aide Quilmar" },
        { "plain text", "Bonjour", "Bonjour" },
        { "broken rich text", "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Bonjour {\\b\\'zz\\u",
            "Bonjour" },
        { "rich text that shows nothing", "{\\rtf1{\\fonttbl{\\f0 Bonjour;}", "Aide Quilmar" },
    };
    // Away from the screen's edges, so that the window manager has no reason to move the help.
    const Ini ini { .left = "6000", .top = "6000" };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_desktop.emplace(g_paths.program);
        if (c.document) {
            ASSERT_TRUE(desktop().writeFile(QStringLiteral("Quilmar.rtf"), *c.document));
        }
        ASSERT_TRUE(start(ini));
        for (int opening = 0; opening < 2; ++opening) {
            const QString help = open(Button::Help, HelpTitle);
            ASSERT_FALSE(help.isEmpty()) << "no help window at opening " << opening;
            const QRect helpOuter = desktop().clientGeometry(help) + desktop().frameExtents(help);
            const QRect mainOuter
                = desktop().clientGeometry(m_main) + desktop().frameExtents(m_main);
            EXPECT_LE((helpOuter.center() - mainOuter.center()).manhattanLength(), 2)
                << "centred on the main window";
            ASSERT_TRUE(desktop().setClipboard(NothingCopied));
            ASSERT_TRUE(desktop().click(help, 200, 150));
            ASSERT_TRUE(desktop().keys({ QStringLiteral("ctrl+a"), QStringLiteral("ctrl+c") }));
            const QByteArray shown = desktop().waitForClipboardChange(NothingCopied);
            EXPECT_TRUE(shown.contains(c.shows)) << shown.toStdString();
            if (opening == 0) {
                ASSERT_TRUE(desktop().keys({ QStringLiteral("alt+f"), QStringLiteral("q") }));
                ASSERT_TRUE(desktop().waitForNoWindow(HelpTitle)) << "&Quitter did not close it";
            }
        }
        ASSERT_TRUE(closeProgram()) << "closing with the help window open";
        EXPECT_EQ(savedFile(), ini.bytes());
    }
}

TEST_P(Session, GeometryIsKeptAndClampedOverThreeRuns)
{
    struct Case {
        std::optional<Ini> before;
        Ini saved;
    };
    const Case cases[] = {
        { std::nullopt, {} },
        { Ini { .left = "1500", .top = "1200", .width = "4200" },
            { .left = "1500", .top = "1200", .width = "4200" } },
        { Ini { .left = "1500", .top = "1200", .width = "2000" },
            { .left = "1500", .top = "1200", .width = "2900" } },
        { Ini { .left = "1500", .top = "1200", .width = "9000" },
            { .left = "1500", .top = "1200", .width = "5700" } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.saved.width.constData());
        m_desktop.emplace(g_paths.program);
        for (int run = 0; run < 3; ++run) {
            SCOPED_TRACE(run);
            ASSERT_TRUE(start(run == 0 ? c.before : std::nullopt));
            const QMargins frame = desktop().frameExtents(m_main);
            EXPECT_EQ(desktop().clientGeometry(m_main).width() + frame.left() + frame.right(),
                qRound(c.saved.width.toDouble() / 15));
            // The settings button follows the right edge at every width.
            ASSERT_FALSE(open(Button::Settings, DialogTitle).isEmpty());
            ASSERT_TRUE(desktop().keys({ QStringLiteral("Escape") }));
            ASSERT_TRUE(desktop().waitForNoWindow(DialogTitle));
            ASSERT_TRUE(closeProgram());
            EXPECT_EQ(savedFile(), c.saved.bytes());
        }
    }
}

TEST_P(Session, ClosingWhileMinimisedSavesTheRestoredGeometry)
{
    const Ini ini { .left = "1500", .top = "1200", .width = "4200" };
    ASSERT_TRUE(start(ini));
    ASSERT_TRUE(desktop().minimise(m_main));
    ASSERT_TRUE(desktop().requestClose(m_main));
    ASSERT_TRUE(desktop().waitForExit());
    EXPECT_EQ(desktop().exitCode(), 0);
    EXPECT_EQ(savedFile(), ini.bytes());
}

TEST_P(Session, ClosingOrSignalsEndEverythingAndSave)
{
    struct Case {
        const char* what;
        bool withFile;
        bool openWindows; // the dialog, with an edit not stored, and the help window
        int signal; // 0: closed through the window manager
    };
    const Case cases[] = {
        { "closed with every window open", true, true, 0 },
        { "SIGTERM, first run", false, false, SIGTERM },
        { "SIGTERM with every window open", true, true, SIGTERM },
        { "SIGHUP", true, false, SIGHUP },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        m_desktop.emplace(g_paths.program);
        ASSERT_TRUE(start(c.withFile ? std::optional<Ini>(Ini()) : std::nullopt));
        if (c.openWindows) {
            const QString dialog = open(Button::Settings, DialogTitle);
            ASSERT_FALSE(dialog.isEmpty());
            ASSERT_TRUE(desktop().activate(dialog));
            ASSERT_TRUE(perform({ press(u"Tab Tab Tab Tab Home shift+End"), type(u"9") }));
            ASSERT_FALSE(open(Button::Help, HelpTitle).isEmpty());
        }
        if (c.signal == 0) {
            ASSERT_TRUE(desktop().closeWithKeyboard(m_main));
        } else {
            ASSERT_TRUE(desktop().sendSignal(c.signal));
        }
        ASSERT_TRUE(desktop().waitForExit()) << "the program did not end";
        EXPECT_EQ(desktop().exitCode(), 0);
        EXPECT_EQ(savedFile(), Ini().bytes());
    }
}

// Not per locale: the picture of the main window for the README, after typing 12,5.
TEST(EndToEndScreenshot, MainWindow)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") || g_paths.screenshot.isEmpty())
        GTEST_SKIP() << "needs an X server and --screenshot";
    Desktop desktop(g_paths.program);
    const QString main = desktop.start(QStringLiteral("fr_FR.UTF-8"));
    ASSERT_FALSE(main.isEmpty());
    ASSERT_TRUE(desktop.type(QStringLiteral("12,5")));
    // Wait until the conversion is there, through the copy button of the second row.
    ASSERT_TRUE(desktop.setClipboard(NothingCopied));
    ASSERT_TRUE(desktop.click(main, 20, 52));
    ASSERT_EQ(desktop.waitForClipboardChange(NothingCopied), "81,995");
    ASSERT_TRUE(desktop.click(main, 72, 17)); // the caret back where the user typed
    const QRect outer = desktop.clientGeometry(main) + desktop.frameExtents(main);
    const QString file = g_paths.output + QStringLiteral("/main-window.png");
    const Desktop::ToolResult shot = Desktop::run(g_paths.screenshot,
        { QString::number(outer.x()), QString::number(outer.y()), QString::number(outer.width()),
            QString::number(outer.height()), file });
    EXPECT_EQ(shot.exitCode, 0);
    QFile png(file);
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    EXPECT_TRUE(png.read(8).startsWith("\x89PNG"));
    desktop.closeWithKeyboard(main);
    EXPECT_TRUE(desktop.waitForExit());
}

std::string localeName(const ::testing::TestParamInfo<const char*>& info)
{
    return info.param[0] == 'C' ? "C" : "fr_FR";
}

INSTANTIATE_TEST_SUITE_P(Locales, Conversion, ::testing::Values("C", "fr_FR.UTF-8"), localeName);
INSTANTIATE_TEST_SUITE_P(Locales, Windows, ::testing::Values("C", "fr_FR.UTF-8"), localeName);
INSTANTIATE_TEST_SUITE_P(Locales, Session, ::testing::Values("C", "fr_FR.UTF-8"), localeName);

} // namespace

// Options after GoogleTest's own: --program=PATH --screenshot=PATH --output=DIR --source=DIR.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QCoreApplication application(argc, argv);
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        const QString value = argument.section(u'=', 1);
        if (argument.startsWith(u"--program="))
            g_paths.program = value;
        else if (argument.startsWith(u"--screenshot="))
            g_paths.screenshot = value;
        else if (argument.startsWith(u"--output="))
            g_paths.output = value;
        else if (argument.startsWith(u"--source="))
            g_paths.source = value;
    }
    return RUN_ALL_TESTS();
}
