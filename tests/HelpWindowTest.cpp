// The help window through its real widgets: opened by the main window's help button, centred on
// it, filled by the help document, and made afresh after each closing.
#include "app/EuroProgramme.h"
#include "forms/help/FrmAide.h"
#include "forms/main/FrmQuilmar.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/FormWindow.h"
#include "toolkit/RichTextBox.h"

#include <QMenuBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <memory>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

using namespace Qt::StringLiterals;

// The help document that ships with the program: the one at the repository's root when the
// tests know where that is, else the copy built into the program from it.
QByteArray shippedHelp()
{
    const QString root = qEnvironmentVariable("QUILMAR_SOURCE_DIR");
    QFile file(root.isEmpty() ? u":/help/Quilmar.rtf"_s : root + u"/Quilmar.rtf"_s);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class HelpWindowTest : public ProgramFixture {
protected:
    void SetUp() override
    {
        ProgramFixture::SetUp();
        EuroProgramme::StartUp();
    }

    static FrmQuilmar& main() { return *frmQuilmar; }

    // Opens the help window as the user does, with the main window's help button.
    static FrmAide& open()
    {
        QTest::mouseClick(main().Picture1.widget(), Qt::LeftButton);
        EXPECT_TRUE(frmAide.exists());
        return *frmAide;
    }

    void writeHelp(const QByteArray& bytes) const { writeFile(u"Quilmar.rtf"_s, bytes); }

    // Centred on where the main window stands now, a half twip kept.
    static void expectCentredOnMain(const toolkit::Form& help)
    {
        FrmQuilmar& m = main();
        EXPECT_EQ(help.top(), float(double(m.top()) + (double(m.height()) - help.height()) / 2));
        EXPECT_EQ(help.left(), float(double(m.left()) + (double(m.width()) - help.width()) / 2));
    }
};

TEST_F(HelpWindowTest, OpensOnceAndIsMadeAfreshOnlyAfterClosing)
{
    struct Step {
        const char* what;
        void (*between)(); // what happens while the help window is open
        QByteArray written; // the help file changed meanwhile
        QString shown; // what the window shows after the next click
        bool centredAgain;
    };
    const Step steps[] = {
        { "clicked while open: no reload, no move", [] {}, "Version 2", u"Version 1"_s, false },
        { "closed with Quitter", [] { frmAide->AideQuit.click(); }, "Version 3", u"Version 3"_s,
            true },
        { "closed with its close box", [] { frmAide->window()->close(); }, "Version 4",
            u"Version 4"_s, true },
    };
    writeHelp("{\\rtf1\\ansi Version 1\\par}");
    FrmAide& first = open();
    EXPECT_TRUE(first.isVisible());
    EXPECT_EQ(first.RichTextBox1.plainText(), u"Version 1"_s);
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        const float left = frmAide->left();
        const float top = frmAide->top();
        writeHelp("{\\rtf1\\ansi " + s.written + "\\par}");
        main().setLeft(main().left() + 450);
        main().setTop(main().top() - 300);
        s.between();
        EXPECT_TRUE(main().isVisible()) << "closing the help leaves the main window alone";
        EXPECT_FALSE(toolkit::Form::programEnded());
        FrmAide& help = open();
        EXPECT_TRUE(help.isVisible());
        EXPECT_EQ(help.RichTextBox1.plainText(), s.shown);
        if (s.centredAgain) {
            expectCentredOnMain(help);
        } else {
            EXPECT_EQ(help.left(), left);
            EXPECT_EQ(help.top(), top);
        }
    }
    EXPECT_FALSE(QFile::exists(path(u"Quilmar.ini"_s))) << "only the main window's closing saves";
}

TEST_F(HelpWindowTest, CentredOnTheMainWindowWithTheDesignedSizeAndNoClamping)
{
    struct Case {
        float left, top, width;
    };
    const Case cases[] = {
        { 3690, 3705, 4110 }, // the designed place
        { 2000, 1000, 4110 }, // the help window's top goes above the screen
        { 1001, 1000, 4111 },
        { -1500, -45, 5700 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.left);
        main().setLeft(c.left);
        main().setTop(c.top);
        main().setWidth(c.width);
        FrmAide& help = open();
        // The designed client area below the menu bar, within the frame of the main window.
        EXPECT_EQ(help.scaleWidth(), 7845);
        EXPECT_EQ(help.scaleHeight(), 5745);
        expectCentredOnMain(help);
        help.AideQuit.click();
    }
    // The arithmetic above keeps a half twip and goes off the screen: check it did.
    main().setLeft(2000);
    main().setTop(1000);
    main().setWidth(4110);
    FrmAide& help = open();
    EXPECT_EQ(help.left(), 2000 + (4110 - help.width()) / 2.0f);
    EXPECT_LT(help.top(), 0);
    EXPECT_LT(help.window()->frameGeometry().top(), 0) << "not moved back onto the screen";
}

TEST_F(HelpWindowTest, DocumentFillsTheClientAreaExceptWhileMinimised)
{
    struct Case {
        float width, height;
        int state;
        bool fits; // false: the document keeps its previous size
    };
    const Case cases[] = {
        { 0, 0, 0, true }, // as opened
        { 3000, 2000, 0, true }, { 12000, 9000, 0, true }, { 1000, 900, 0, true },
        { 0, 0, 2, true }, // maximised
        { 0, 0, 0, true }, // restored
        { 0, 0, 1, false }, // minimised
        { 5000, 4000, 1, false }, // resized while minimised
        { 0, 0, 0, true }, // restored again
    };
    FrmAide& help = open();
    toolkit::RichTextBox& box = help.RichTextBox1;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.width) + " " + std::to_string(c.state));
        const float width = box.width();
        const float height = box.height();
        help.setWindowState(c.state);
        if (c.width > 0) {
            help.setWidth(c.width);
            help.setHeight(c.height);
        }
        EXPECT_EQ(box.left(), 0);
        EXPECT_EQ(box.top(), 0);
        if (c.fits) {
            EXPECT_EQ(box.width(), help.scaleWidth());
            EXPECT_EQ(box.height(), help.scaleHeight());
            EXPECT_EQ(box.widget()->geometry(), help.clientWidget()->rect());
        } else {
            EXPECT_EQ(box.width(), width);
            EXPECT_EQ(box.height(), height);
        }
    }
}

TEST_F(HelpWindowTest, ShowsTheFileOrTheBuiltInHelp)
{
    enum class File { Missing, Bytes, Directory, TooLarge };
    struct Case {
        const char* name;
        File file;
        QByteArray bytes;
        QStringList shown; // texts that the window shows
        QString exactly; // the whole text, when it is known
    };
    const QStringList builtIn = { u"Aide Quilmar"_s, u"Quilmar convertit un montant"_s };
    const Case cases[] = {
        { "the shipped document", File::Bytes, shippedHelp(),
            { u"Aide Quilmar"_s, u"Quilmar convertit un montant d\u2019une monnaie"_s,
                u"au taux officiel de 1\u00a0€ = 6,55957 francs\u00a0;"_s,
                u"la fenêtre affiche alors les symboles E et F"_s,
                u"À droite se trouvent le bouton Paramètres"_s,
                u"«\u00a0Dépassement du nombre de caractères maximum.\u00a0»"_s,
                u"Quilmar v1.0 \u2013 Convertisseur Euro & autres monnaies"_s },
            {} },
        { "missing", File::Missing, {}, builtIn, {} },
        { "a directory of that name", File::Directory, {}, builtIn, {} },
        { "too large to read", File::TooLarge, {}, builtIn, {} },
        { "plain UTF-8 text", File::Bytes, "Bonjour,\nle taux est 6,55957 \xe2\x82\xac.\n", {},
            u"Bonjour,\nle taux est 6,55957 €.\n"_s },
        { "plain Western text", File::Bytes, "Caf\xe9 \x80 10\r\nfin", {}, u"Café € 10\nfin"_s },
        { "rich text of its own", File::Bytes, "{\\rtf1\\ansi Mon aide \\'e0 moi\\par}", {},
            u"Mon aide à moi"_s },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        switch (c.file) {
        case File::Missing:
            break;
        case File::Bytes:
            ASSERT_FALSE(c.bytes.isEmpty());
            writeHelp(c.bytes);
            break;
        case File::Directory:
            ASSERT_TRUE(QDir::current().mkdir(u"Quilmar.rtf"_s));
            break;
        case File::TooLarge: {
            QFile file(path(u"Quilmar.rtf"_s));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("{\\rtf1 Trop grand\\par}");
            ASSERT_TRUE(file.resize(toolkit::RichTextBox::MaxFileSize + 1)); // sparse
            break;
        }
        }
        FrmAide& help = open();
        // The raw text keeps the non-breaking spaces that the plain text turns into blanks.
        const QString raw = help.RichTextBox1.document()->toRawText();
        for (const QString& part : c.shown) {
            EXPECT_TRUE(raw.contains(part)) << part.toStdString();
        }
        if (!c.exactly.isNull()) {
            EXPECT_EQ(help.RichTextBox1.plainText(), c.exactly);
        }
        help.AideQuit.click();
        QFile::remove(path(u"Quilmar.rtf"_s));
        QDir::current().rmdir(u"Quilmar.rtf"_s);
    }
}

TEST_F(HelpWindowTest, DesignedWindowMenuAndDocument)
{
    {
        // Made without its load, as the slot does just before it: the designed heading shows.
        const auto bare = std::make_unique<FrmAide>();
        EXPECT_EQ(bare->RichTextBox1.plainText(), u"Aide Quilmar"_s);
        const QTextCharFormat heading
            = bare->RichTextBox1.document()->begin().begin().fragment().charFormat();
        EXPECT_EQ(heading.foreground().color(), QColor(128, 0, 0));
        EXPECT_TRUE(heading.fontUnderline());
        EXPECT_FALSE(bare->isVisible());
    }
    writeHelp("{\\rtf1 Charg\\'e9\\par}");
    FrmAide& help = open();
    EXPECT_EQ(help.RichTextBox1.plainText(), u"Chargé"_s) << "the file replaces the heading";
    EXPECT_EQ(help.caption(), u"Quilmar / Aide"_s);
    EXPECT_EQ(help.rien.caption(), u"&Fichier"_s);
    EXPECT_EQ(help.AideQuit.caption(), u"&Quitter"_s);
    const QList<QAction*> menus = help.window()->menuBar()->actions();
    ASSERT_EQ(menus.size(), 1);
    EXPECT_EQ(menus[0]->menu(), help.rien.menu());
    EXPECT_EQ(help.rien.menu()->actions().size(), 1);
    const Qt::WindowFlags flags = help.window()->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    EXPECT_FALSE(help.window()->windowIcon().isNull());
    EXPECT_EQ(help.window()->focusWidget(), help.RichTextBox1.widget());
}

} // namespace
