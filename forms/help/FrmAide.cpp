#include "forms/help/FrmAide.h"

#include "app/state/ProgramState.h"
#include "resources/Pictures.h"

#include <QCoreApplication>
#include <QFile>

toolkit::FormSlot<FrmAide> frmAide;

namespace {

toolkit::FormDesign design()
{
    toolkit::FormDesign form;
    form.caption = QStringLiteral("Quilmar / Aide");
    form.clientLeft = 2070;
    form.clientTop = 2820;
    form.clientWidth = 7845;
    form.clientHeight = 5745;
    form.icon = Pictures::quilmar();
    return form;
}

// The copy of the help document built into the program, for when the file cannot be read.
QByteArray builtInHelp()
{
    QFile file(QStringLiteral(":/help/Quilmar.rtf"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : FrmAide::designedDocument();
}

} // namespace

FrmAide::FrmAide()
    : Form(design())
    , RichTextBox1(clientWidget())
    , rien(*this, QStringLiteral("&Fichier"))
    , AideQuit(rien, QStringLiteral("&Quitter"))
{
    RichTextBox1.setGeometry(240, 240, 6135, 5295);
    RichTextBox1.setTruncationNotice(
        QStringLiteral("[Document tronqué : trop volumineux pour être affiché en entier.]"));
    RichTextBox1.setContents(designedDocument());
    setTabOrder({ &RichTextBox1 });
    RichTextBox1.setAccessibleText(
        QStringLiteral("Aide de Quilmar"), QStringLiteral("Le document d'aide, en lecture seule"));
    AideQuit.setShortcuts({ QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::Key_Escape) });
    AideQuit.onClick = [] { frmAide.unload(); };
}

FrmAide::~FrmAide() = default;

QByteArray FrmAide::designedDocument()
{
    return QByteArrayLiteral(
        "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}"
        "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\froman Times New Roman;}}\r\n"
        "{\\colortbl\\red0\\green0\\blue0;\\red128\\green0\\blue0;}\r\n"
        "\\deflang1036\\pard\\plain\\f2\\fs28\\cf1\\b\\ul Aide Quilmar\r\n"
        "\\par }\r\n");
}

void FrmAide::onLoad()
{
    // The working directory's document first; then the copy installed with the program; then
    // the one built in, so that the user is never left without help.
    const QString name = QString::fromUtf16(EuroProgramme::HelpFileName);
    const QString installed
        = QCoreApplication::applicationDirPath() + QStringLiteral("/../share/quilmar/") + name;
    if (!loadHelp(EuroProgramme::ProgramDir + name) && !loadHelp(installed))
        RichTextBox1.setContents(builtInHelp());
    centreOn(mainWindow());
}

bool FrmAide::loadHelp(const QString& path)
{
    return RichTextBox1.setFileName(path) && !RichTextBox1.plainText().trimmed().isEmpty();
}

void FrmAide::onResize()
{
    if (windowState() == toolkit::WindowState::Minimised)
        return;
    RichTextBox1.setTop(0);
    RichTextBox1.setLeft(0);
    RichTextBox1.setWidth(scaleWidth());
    RichTextBox1.setHeight(scaleHeight());
}
