// The help window through its real widgets: opened by the main window's help button, centred on
// it, filled by the help document, and made afresh after each closing.
#include "app/EuroProgramme.h"
#include "forms/help/FrmAide.h"
#include "forms/main/FrmQuilmar.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/FormWindow.h"
#include "toolkit/RichTextBox.h"

#include <QElapsedTimer>
#include <QMenuBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <functional>
#include <malloc.h>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>
#include <utility>

namespace {

using namespace Qt::StringLiterals;

std::string str(const QString& text) { return text.toStdString(); }

class HelpWindowTest : public ProgramFixture {
protected:
    // Opens the help window as the user does, with the main window's help button, the help file
    // holding the given bytes, or no help file at all.
    FrmAide& open(const QByteArray& file = QByteArray())
    {
        if (!frmQuilmar.exists())
            EuroProgramme::StartUp();
        QFile::remove(path(u"Quilmar.rtf"_s));
        if (!file.isNull())
            writeFile(u"Quilmar.rtf"_s, file);
        QTest::mouseClick(frmQuilmar->Picture1.widget(), Qt::LeftButton);
        EXPECT_TRUE(frmAide.exists() && frmAide->isVisible());
        return *frmAide;
    }
};

void quit() { frmAide->window()->menuBar()->actions()[0]->menu()->actions()[0]->trigger(); }

TEST_F(HelpWindowTest, EachOpeningAfterAClosingLoadsTheHelpAgainAndCentresTheWindow)
{
    // How the open window is closed (Fichier, Quitter; or its close box), the help file then, and
    // what the window shows once opened again.
    const std::tuple<void (*)(), QByteArray, const char*> steps[] = {
        { [] {}, "Version 2", "Version 1" }, // left open: neither loaded again nor moved
        { quit, "{\\rtf1\\ansi Version 3\\par}", "Version 3" },
        { [] { frmAide->window()->close(); }, QByteArray(), "Quilmar convertit un montant" },
        { quit, "", "Quilmar convertit un montant" }, // an empty file: the built-in help too
        { quit, QByteArray("Trop grand").leftJustified(toolkit::RichTextBox::MaxFileSize + 1),
            "Quilmar convertit un montant" }, // one too large to read: that too
        { quit, "Taux\n6,55957 \xe2\x82\xac", "Taux\n6,55957 €" }, // UTF-8
        { quit, "Caf\xe9 \x80 10\r\nfin", "Café € 10\nfin" }, // the Western code page
    };
    open("{\\rtf1\\ansi Version 1\\par}");
    for (const auto& [close, file, shown] : steps) {
        SCOPED_TRACE(shown);
        const std::pair place(frmAide->left(), frmAide->top());
        FrmQuilmar& m = *frmQuilmar;
        m.setLeft(m.left() + 450);
        m.setTop(m.top() - 1300);
        close();
        EXPECT_TRUE(m.isVisible() && !toolkit::Form::programEnded());
        const FrmAide& help = open(file);
        const QString text = help.RichTextBox1.plainText();
        EXPECT_TRUE(text.contains(QString::fromUtf8(shown))) << str(text);
        if (&close == &std::get<0>(steps[0])) {
            EXPECT_EQ(std::pair(help.left(), help.top()), place);
            continue;
        }
        // Centred to the half twip, and left above the screen when it comes out there.
        EXPECT_EQ(help.top(), float(double(m.top()) + (double(m.height()) - help.height()) / 2));
        EXPECT_EQ(help.left(), float(double(m.left()) + (double(m.width()) - help.width()) / 2));
        EXPECT_LT(help.window()->frameGeometry().top(), 0);
    }
}

TEST_F(HelpWindowTest, DocumentFillsTheClientAreaExceptWhileMinimised)
{
    // The window's width and height (0: left as they are) set after its state (1: minimised).
    const std::tuple<float, float, int> cases[] = { { 0, 0, 0 }, { 3000, 2000, 0 },
        { 12000, 9000, 0 }, { 0, 0, 2 }, { 0, 0, 1 }, { 5000, 4000, 1 }, { 0, 0, 0 } };
    FrmAide& help = open();
    const QWidget* box = help.RichTextBox1.widget();
    for (const auto& [width, height, state] : cases) {
        const QRect before = box->geometry();
        help.setWindowState(toolkit::WindowState(state));
        help.setWidth(width > 0 ? width : help.width());
        help.setHeight(height > 0 ? height : help.height());
        EXPECT_EQ(box->geometry(), state == 1 ? before : help.clientWidget()->rect()) << width;
    }
}

TEST_F(HelpWindowTest, DesignedHeadingAndCaptions)
{
    const auto bare = std::make_unique<FrmAide>(); // made without its load, as the slot does first
    const QTextCharFormat heading
        = bare->RichTextBox1.document()->begin().begin().fragment().charFormat();
    EXPECT_EQ(str(bare->RichTextBox1.plainText()), "Aide Quilmar");
    EXPECT_TRUE(heading.fontUnderline() && heading.foreground().color() == QColor(128, 0, 0));
    const FrmAide& help = open();
    EXPECT_EQ(str(help.caption() + help.rien.caption() + help.AideQuit.caption()),
        "Quilmar / Aide&Fichier&Quitter");
}

// Help files that are not what they seem, or whose lines are too long for Qt's layout: opening
// the help never waits on them, and what it shows has the rich text's bounds: a break at least
// every thousand characters and a bounded number of paragraphs.
TEST_F(HelpWindowTest, HostileHelpFilesOpenPromptly)
{
    const auto bytes = [this](QByteArray content) {
        return [this, content](const QByteArray&) { writeFile(u"Quilmar.rtf"_s, content); };
    };
    QByteArray words;
    while (words.size() < 1'000'000)
        words += "mot ";
    QByteArray lines;
    while (lines.size() < 16'000'000)
        lines += "ligne courte\n";
    const char* builtIn = "Quilmar convertit un montant";
    struct Case {
        const char* name;
        std::function<void(const QByteArray& path)> make;
        const char* shown;
    };
    // clang-format off
    const Case cases[] = {
        { "FIFO", [](const QByteArray& p) { ASSERT_EQ(::mkfifo(p, 0600), 0); }, builtIn },
        { "link to /dev/zero", [](const QByteArray& p) { ASSERT_EQ(::symlink("/dev/zero", p), 0); }, builtIn },
        { "256 kB on one line", bytes(QByteArray(256 * 1024, 'x')), "xxxxxxxxxx" },
        { "1 MB of words on one line", bytes(words), "mot mot mot" },
        { "16 MB of short lines", bytes(lines.left(toolkit::RichTextBox::MaxFileSize)), "ligne courte\nligne courte" },
    };
    // clang-format on
    EuroProgramme::StartUp();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        frmAide.unload();
        QFile::remove(path(u"Quilmar.rtf"_s));
        c.make(QFile::encodeName(path(u"Quilmar.rtf"_s)));
        QElapsedTimer timer;
        timer.start();
        QTest::mouseClick(frmQuilmar->Picture1.widget(), Qt::LeftButton);
        QCoreApplication::processEvents();
        // Well under a second in a release build; the bound leaves room for the sanitizers.
        EXPECT_LT(timer.elapsed(), 5000);
        const QString text = frmAide->RichTextBox1.plainText();
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.shown)));
        qsizetype unbroken = 0;
        for (const QChar ch : text) {
            const bool breaks = ch.isSpace() || ch == QChar(0x200B);
            unbroken = breaks ? 0 : unbroken + 1;
            ASSERT_LE(unbroken, 1000);
        }
        EXPECT_LE(frmAide->RichTextBox1.document()->blockCount(), 50'001);
    }
}

// Each opening's window, view and document go at its closing: 200 openings and closings leave
// the memory in use where the first few left it. Every opening shows the one icon object of the
// run, since an icon made afresh is drawn again into new entries of Qt's pixmap cache (11 MB
// after 200 openings on an X server).
TEST_F(HelpWindowTest, OpeningsReleaseWhatTheyTook)
{
    EuroProgramme::StartUp();
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
