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
#include <string>
#include <tuple>
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
        help.setWindowState(state);
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

} // namespace
