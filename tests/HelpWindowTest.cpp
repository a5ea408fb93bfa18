// The help window through its real widgets: opened by the main window's help button, centred on
// it, filled by the help document, and made afresh after each closing.
#include "app/EuroProgramme.h"
#include "forms/help/FrmAide.h"
#include "forms/main/FrmQuilmar.h"
#include "tests/support/ProgramFixture.h"
#include "tests/support/Text.h"
#include "toolkit/FormWindow.h"
#include "toolkit/RichTextBox.h"

#include <QElapsedTimer>
#include <QMenuBar>
#include <QTest>
#include <QTextDocument>
#include <functional>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

using namespace Qt::StringLiterals;

class HelpWindowTest : public StartedProgramFixture {
protected:
    // The help file holding these bytes, or no help file at all.
    void setHelpFile(const QByteArray& bytes)
    {
        QFile::remove(path(u"Quilmar.rtf"_s));
        if (!bytes.isNull())
            writeFile(u"Quilmar.rtf"_s, bytes);
    }

    // Opens the help window as the user does, with the main window's help button.
    FrmAide& open()
    {
        QTest::mouseClick(frmQuilmar->Picture1.widget(), Qt::LeftButton);
        EXPECT_TRUE(frmAide.exists() && frmAide->isVisible());
        return *frmAide;
    }
};

void quit() { frmAide->window()->menuBar()->actions()[0]->menu()->actions()[0]->trigger(); }

TEST_F(HelpWindowTest, EachOpeningAfterAClosingLoadsTheHelpAgainAndCentresTheWindow)
{
    // How the open window is closed (Fichier, Quitter; or its close box), the help file then,
    // what the window shows once opened again and where. The main window, 4110 by 1125, moves 450
    // right and 1300 up from 3690, 3705 before each step; the help window, 7905 by 6090, is
    // centred on it to the half twip, left above the screen when it comes out there: opened
    // first on the main window at 3690, 3705, at 3690 + (4110 - 7905) / 2, 3705 + (1125 - 6090)
    // / 2.
    struct Step {
        const char* name;
        void (*close)();
        QByteArray file;
        const char* shown;
        float left, top;
    };
    const char* builtIn = "Quilmar convertit un montant";
    const QByteArray tooLarge
        = QByteArray("Trop grand").leftJustified(toolkit::RichTextBox::MaxFileSize + 1);
    // clang-format off
    const Step steps[] = {
        { "LeftOpenNeitherLoadedAgainNorMoved", [] {}, "Version 2", "Version 1", 1792.5f, 1222.5f },
        { "QuitThenANewFile", quit, "{\\rtf1\\ansi Version 3\\par}", "Version 3", 2692.5f, -1377.5f },
        { "CloseBoxThenNoFileShowsTheBuiltInHelp", [] { frmAide->window()->close(); }, QByteArray(), builtIn, 3142.5f, -2677.5f },
        { "AnEmptyFileShowsTheBuiltInHelp", quit, "", builtIn, 3592.5f, -3977.5f },
        { "AFileTooLargeToReadShowsTheBuiltInHelp", quit, tooLarge, builtIn, 4042.5f, -5277.5f },
        { "PlainTextInUtf8", quit, "Taux\n6,55957 \xe2\x82\xac", "Taux\n6,55957 €", 4492.5f, -6577.5f },
        { "PlainTextInTheWesternCodePage", quit, "Caf\xe9 \x80 10\r\nfin", "Café € 10\nfin", 4942.5f, -7877.5f },
    };
    // clang-format on
    setHelpFile("{\\rtf1\\ansi Version 1\\par}");
    open();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        FrmQuilmar& m = *frmQuilmar;
        m.setLeft(m.left() + 450);
        m.setTop(m.top() - 1300);
        step.close();
        EXPECT_TRUE(m.isVisible() && !toolkit::Form::programEnded());
        setHelpFile(step.file);
        const FrmAide& help = open();
        const QString text = help.RichTextBox1.plainText();
        EXPECT_TRUE(text.contains(QString::fromUtf8(step.shown))) << str(text);
        EXPECT_EQ(std::pair(help.left(), help.top()), std::pair(step.left, step.top));
    }
    EXPECT_LT(frmAide->window()->frameGeometry().top(), 0);
}

TEST_F(HelpWindowTest, DocumentFillsTheClientAreaExceptWhileMinimised)
{
    // The window's width and height (0: left as they are) set after its state (1: minimised).
    struct Case {
        const char* name;
        float width, height;
        int state;
    };
    const Case cases[] = {
        { "AsOpened", 0, 0, 0 },
        { "Smaller", 3000, 2000, 0 },
        { "Minimised", 0, 0, 1 },
        { "ResizedWhileMinimised", 5000, 4000, 1 },
        { "Restored", 0, 0, 0 },
    };
    FrmAide& help = open();
    const QWidget* box = help.RichTextBox1.widget();
    for (const auto& [name, width, height, state] : cases) {
        SCOPED_TRACE(name);
        const QRect before = box->geometry();
        help.setWindowState(toolkit::WindowState(state));
        help.setWidth(width > 0 ? width : help.width());
        help.setHeight(height > 0 ? height : help.height());
        EXPECT_EQ(box->geometry(), state == 1 ? before : help.clientWidget()->rect());
    }
}

// Help files that are not what they seem (the other kinds are in the settings file's tests: both
// files are read through the same guard), or whose lines are too long for Qt's layout: opening the
// help never waits on them, and what it shows has the rich text's bounds: a break at least every
// thousand characters and a bounded number of paragraphs.
TEST_F(HelpWindowTest, HostileHelpFilesOpenPromptly)
{
    const QByteArray file = QFile::encodeName(path(u"Quilmar.rtf"_s));
    const QString builtIn = u"Aide Quilmar\nQuilmar convertit un montant"_s;
    const QByteArray lines = QByteArray("ligne courte\n").repeated(1'300'000);
    struct Case {
        const char* name;
        std::function<void()> make;
        QString shownFirst;
    };
    // clang-format off
    const Case cases[] = {
        { "FIFO", [&] { ASSERT_EQ(::mkfifo(file, 0600), 0); }, builtIn },
        { "256kBOnOneLineBrokenEveryThousandCharacters", [&] { setHelpFile(QByteArray(256 * 1024, 'x')); }, QString(1000, u'x') + QChar(0x200B) + u'x' },
        { "16MBOfShortLinesCutToTheParagraphBound", [&] { setHelpFile(lines.left(toolkit::RichTextBox::MaxFileSize)); }, u"ligne courte\nligne courte"_s },
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmAide.unload();
        setHelpFile(QByteArray());
        c.make();
        QElapsedTimer timer;
        timer.start();
        open();
        QCoreApplication::processEvents();
        // Well under a second in a release build; the bound leaves room for the sanitizers.
        EXPECT_LT(timer.elapsed(), 5000);
        EXPECT_TRUE(frmAide->RichTextBox1.plainText().startsWith(c.shownFirst));
        EXPECT_LE(frmAide->RichTextBox1.document()->blockCount(), 50'001);
    }
}

// Each opening's window, view and document go at its closing: 200 openings and closings leave
// the memory in use where the first few left it. Every opening shows the one icon object of the
// run, since an icon made afresh is drawn again into new entries of Qt's pixmap cache (11 MB
// after 200 openings on an X server).
TEST_F(HelpWindowTest, OpeningsReleaseWhatTheyTook)
{
    const qint64 icon = frmQuilmar->window()->windowIcon().cacheKey();
    const auto openAndQuit = [icon](int times) {
        for (int i = 0; i < times; ++i) {
            QTest::mouseClick(frmQuilmar->Picture1.widget(), Qt::LeftButton);
            EXPECT_EQ(frmAide->window()->windowIcon().cacheKey(), icon);
            quit();
            QCoreApplication::processEvents(); // the unloaded window is deleted from the loop
        }
        return ::mallinfo2().uordblks;
    };
    [[maybe_unused]] const std::size_t settled = openAndQuit(20);
    [[maybe_unused]] const std::size_t after = openAndQuit(200);
#if !defined(__SANITIZE_ADDRESS__) // which keeps freed memory aside
    EXPECT_LT(after, settled + 1024 * 1024);
#endif
}

} // namespace
