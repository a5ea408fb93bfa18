#include "forms/main/FrmQuilmar.h"

#include "app/state/ProgramState.h"
#include "forms/help/FrmAide.h"
#include "forms/settings/FrmParam.h"
#include "resources/Pictures.h"

#include <cmath>

toolkit::FormSlot<FrmQuilmar> frmQuilmar;

namespace {

toolkit::FormDesign design()
{
    toolkit::FormDesign form;
    form.caption = QStringLiteral("Quilmar v1.0");
    form.clientLeft = 3750;
    form.clientTop = 4050;
    form.clientWidth = 3990;
    form.clientHeight = FrmQuilmar::DesignedClientHeight;
    form.maxButton = false;
    form.icon = Pictures::quilmar();
    return form;
}

// Pixels, as the button pictures are drawn.
constexpr int ButtonPictureSize = 24;

// The texts composed from the currency names, for the tooltips and for what a screen reader says.
QString copyText(const QString& name) { return QStringLiteral("Copier le montant en ") + name; }
QString pasteText(const QString& name) { return QStringLiteral("Coller le montant en ") + name; }
QString enterText(const QString& from, const QString& to)
{
    return QStringLiteral("Entrez ici le montant en ") + from + QStringLiteral(" à convertir en ")
        + to;
}

// Whole twips, an exact half going to the even neighbour.
std::int32_t wholeTwips(float twips) { return std::int32_t(std::lrint(twips)); }

} // namespace

FrmQuilmar::FrmQuilmar()
    : Form(design())
    , Picture2(clientWidget())
    , Picture1(clientWidget())
    , PictureColler2(clientWidget())
    , PictureColler1(clientWidget())
    , PictureCopier2(clientWidget())
    , PictureCopier1(clientWidget())
    , TextFranc(clientWidget())
    , TextEuro(clientWidget())
    , LabelFranc(clientWidget(), QStringLiteral("€"))
    , LabelEuro(clientWidget(), QStringLiteral("F"))
    , m_conversion(TextEuro, TextFranc, EuroProgramme::Settings)
{
    designImageButton(Picture2, 3480, 120, Pictures::parametres());
    designImageButton(Picture1, 3480, 600, Pictures::aide());
    designImageButton(PictureColler2, 480, 600, Pictures::coller());
    designImageButton(PictureColler1, 480, 120, Pictures::coller());
    designImageButton(PictureCopier2, 120, 600, Pictures::copier());
    designImageButton(PictureCopier1, 120, 120, Pictures::copier());

    for (toolkit::TextBox* text : { &TextFranc, &TextEuro })
        text->setAlignment(toolkit::TextBox::Alignment::Right);
    TextFranc.setGeometry(960, 600, 2055, 285);
    TextEuro.setGeometry(960, 120, 2055, 285);

    LabelFranc.setGeometry(3120, 600, 375, 255);
    LabelEuro.setGeometry(3120, 120, 375, 255);
    for (toolkit::Label* label : { &LabelFranc, &LabelEuro })
        label->setFont(QStringLiteral("Arial"), 9.75f, true);

    setTabOrder({ &TextEuro, &TextFranc, &PictureCopier1, &PictureCopier2, &PictureColler1,
        &PictureColler2, &Picture1, &Picture2 });
    setUserWidthRange(MinimumWidth, MaximumWidth);
    setUserFixedHeight(DesignedClientHeight);

    TextEuro.onKeyPress = [this](std::int16_t& code) { m_conversion.TextEuroKeyPress(code); };
    TextFranc.onKeyPress = [this](std::int16_t& code) { m_conversion.TextFrancKeyPress(code); };
    PictureCopier1.onClick = [this] { conversion::AmountConverter::CopyAmount(TextEuro); };
    PictureCopier2.onClick = [this] { conversion::AmountConverter::CopyAmount(TextFranc); };
    PictureColler1.onClick = [this] { conversion::AmountConverter::PasteAmount(TextEuro); };
    PictureColler2.onClick = [this] { conversion::AmountConverter::PasteAmount(TextFranc); };
    Picture1.onClick = [] { frmAide->show(); };
    Picture2.onClick = [] { frmParam->show(); };
    // The desktop's keys for help and for quitting: F1 as the help button, Ctrl+Q as the close box.
    addShortcut(QKeySequence(Qt::Key_F1), [this] { Picture1.click(); });
    addShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), [] { frmQuilmar.unload(); });
}

FrmQuilmar::~FrmQuilmar() = default;

void FrmQuilmar::designImageButton(
    toolkit::PictureBox& button, float left, float top, const toolkit::Picture& picture)
{
    button.setGeometry(left, top, 375, 375);
    button.setPicture(picture, ButtonPictureSize);
    // Pressed look: a border while any mouse button is held down on it.
    button.onMouseDown = [&button] {
        button.setBorderStyle(toolkit::BorderStyle::FixedSingle);
        button.refresh();
    };
    button.onMouseUp = [&button] {
        button.setBorderStyle(toolkit::BorderStyle::None);
        button.refresh();
    };
}

void FrmQuilmar::showSymbols(const SettingsRecord& settings)
{
    LabelEuro.setCaption(settings.CurrencySymbol[0]);
    LabelFranc.setCaption(settings.CurrencySymbol[1]);
}

void FrmQuilmar::showToolTips(const SettingsRecord& settings)
{
    const QString& name1 = settings.CurrencyName[0];
    const QString& name2 = settings.CurrencyName[1];
    const bool shown = settings.ShowToolTips != 0;
    auto tip = [shown](const QString& text) { return shown ? text : QString(); };
    PictureCopier1.setToolTipText(tip(copyText(name1)));
    PictureCopier2.setToolTipText(tip(copyText(name2)));
    PictureColler1.setToolTipText(tip(pasteText(name1)));
    PictureColler2.setToolTipText(tip(pasteText(name2)));
    LabelEuro.setToolTipText(tip(name1));
    LabelFranc.setToolTipText(tip(name2));
    Picture2.setToolTipText(tip(QStringLiteral("Paramètres")));
    Picture1.setToolTipText(tip(QStringLiteral("Aide")));
    TextEuro.setToolTipText(tip(enterText(name1, name2)));
    TextFranc.setToolTipText(tip(enterText(name2, name1)));

    // What a screen reader says does not depend on whether tooltips are shown.
    TextEuro.setAccessibleText(QStringLiteral("Montant en ") + name1, enterText(name1, name2));
    TextFranc.setAccessibleText(QStringLiteral("Montant en ") + name2, enterText(name2, name1));
    LabelEuro.setAccessibleText(
        QStringLiteral("Symbole des ") + name1, QStringLiteral("Symbole de la 1ère monnaie"));
    LabelFranc.setAccessibleText(
        QStringLiteral("Symbole des ") + name2, QStringLiteral("Symbole de la 2ème monnaie"));
    const QString toClipboard = QStringLiteral(" dans le presse-papiers");
    const QString fromClipboard = QStringLiteral(" par celui du presse-papiers");
    PictureCopier1.setAccessibleText(
        copyText(name1), QStringLiteral("Copie le montant en ") + name1 + toClipboard);
    PictureCopier2.setAccessibleText(
        copyText(name2), QStringLiteral("Copie le montant en ") + name2 + toClipboard);
    PictureColler1.setAccessibleText(
        pasteText(name1), QStringLiteral("Remplace le montant en ") + name1 + fromClipboard);
    PictureColler2.setAccessibleText(
        pasteText(name2), QStringLiteral("Remplace le montant en ") + name2 + fromClipboard);
    Picture2.setAccessibleText(
        QStringLiteral("Paramètres"), QStringLiteral("Ouvre la fenêtre des paramètres"));
    Picture1.setAccessibleText(QStringLiteral("Aide"), QStringLiteral("Ouvre la fenêtre d'aide"));
}

void FrmQuilmar::clearAmounts()
{
    TextEuro.setText(QString());
    TextFranc.setText(QString());
}

void FrmQuilmar::onResize()
{
    if (windowState() == toolkit::WindowState::Minimised)
        return;
    // The client area keeps its designed height whatever the window manager's title bar.
    setHeight(DesignedClientHeight + nonClientHeight());
    if (width() < MinimumWidth)
        setWidth(MinimumWidth);
    if (width() > MaximumWidth)
        setWidth(MaximumWidth);
    const float w = width();
    Picture1.setLeft(w - 630);
    Picture2.setLeft(w - 630);
    LabelEuro.setLeft(Picture1.left() - 350);
    LabelFranc.setLeft(Picture1.left() - 350);
    TextEuro.setWidth(LabelEuro.left() - TextEuro.left() - 100);
    TextFranc.setWidth(LabelEuro.left() - TextEuro.left() - 100);
}

void FrmQuilmar::onQueryUnload(bool&)
{
    using EuroProgramme::Settings;
    setWindowState(toolkit::WindowState::Normal);
    Settings.WindowLeft = wholeTwips(left());
    Settings.WindowTop = wholeTwips(top());
    Settings.WindowWidth = wholeTwips(width());
    saveSettings();
}

void FrmQuilmar::onUnload() { toolkit::Form::endProgram(); }
