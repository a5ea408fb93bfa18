#include "forms/settings/FrmParam.h"

#include "app/state/ProgramState.h"
#include "conversion/DecimalText.h"
#include "conversion/RateText.h"
#include "resources/Pictures.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/codepage/Cp1252.h"

#include <algorithm>

toolkit::FormSlot<FrmParam> frmParam;

namespace {

namespace KeyCode = toolkit::KeyCode;

toolkit::FormDesign design()
{
    toolkit::FormDesign form;
    form.caption = QStringLiteral("Quilmar / Paramètres");
    form.clientWidth = 4230;
    form.clientHeight = 4860;
    form.border = toolkit::FormDesign::Border::FixedDialog;
    form.minButton = false;
    form.maxButton = false;
    form.icon = Pictures::quilmar();
    return form;
}

// Each said both as the button's tooltip and as its description to a screen reader.
const QString ResetText = QStringLiteral("Paramètres par défauts");
const QString OKText = QStringLiteral("Valider les nouveaux paramètres");
const QString CancelText = QStringLiteral("Annuler les changements");

// Spaces only: a name keeps any other blank the user typed.
QString withoutSurroundingSpaces(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

// The settings file stores names and symbols between double quotes, so one inside would cut the
// file's next reading short: a pasted double quote is never stored.
QString withoutDoubleQuotes(QString text) { return text.remove(u'"'); }

} // namespace

FrmParam::FrmParam()
    : Form(design())
    , Frame1 { toolkit::Frame(clientWidget(), QStringLiteral("Monnaie 1")),
        toolkit::Frame(clientWidget(), QStringLiteral("Monnaie 2")) }
    , Label1 { toolkit::Label(Frame1[0].widget(), QStringLiteral("Nom")),
        toolkit::Label(Frame1[1].widget(), QStringLiteral("Nom")) }
    , Text1 { toolkit::TextBox(Frame1[0].widget()), toolkit::TextBox(Frame1[1].widget()) }
    , Label2 { toolkit::Label(Frame1[0].widget(), QStringLiteral("Symbol")),
        toolkit::Label(Frame1[1].widget(), QStringLiteral("Symbol")) }
    , Text2 { toolkit::TextBox(Frame1[0].widget()), toolkit::TextBox(Frame1[1].widget()) }
    , Label3(clientWidget(), QStringLiteral("Conversion : Monnaie 1 = Monnaie 2 x "))
    , Text3(clientWidget())
    , Label4(clientWidget(), QStringLiteral("Nb de chiffres après la virgule"))
    , Combo1(clientWidget(),
          { QStringLiteral("Aucun"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
              QStringLiteral("4") })
    , Check1(clientWidget(), QStringLiteral("Afficher les infos-bulles"))
    , CommandDefaut(clientWidget(), QStringLiteral("Reset"))
    , CommandOK(clientWidget(), QStringLiteral("OK"))
    , CommandAnnul(clientWidget(), QStringLiteral("Annuler"))
{
    Frame1[0].setGeometry(120, 120, 3975, 1060);
    Frame1[1].setGeometry(120, 1440, 3975, 1060);
    for (std::size_t i = 0; i < 2; ++i) {
        Frame1[i].setFont(QStringLiteral("MS Sans Serif"), 8.25f, true);
        Label1[i].setGeometry(240, 270, 615, 255);
        Text1[i].setGeometry(960, 240, 2775, 285);
        Text1[i].setMaxLength(0); // names have no limit
        Label2[i].setGeometry(240, 630, 615, 255);
        Text2[i].setGeometry(960, 600, 375, 285);
        Text2[i].setMaxLength(1);
    }
    Label3.setGeometry(120, 2780, 2775, 255);
    Text3.setGeometry(2880, 2750, 1215, 285);
    Text3.setAlignment(toolkit::TextBox::Alignment::Right);
    Label4.setGeometry(120, 3290, 2295, 255);
    Combo1.setGeometry(2400, 3240, 1695, 315);
    Check1.setGeometry(120, 3700, 2055, 375);
    CommandDefaut.setGeometry(240, 4440, 735, 255);
    CommandOK.setGeometry(1560, 4320, 1095, 375);
    CommandAnnul.setGeometry(2880, 4320, 1095, 375);
    showFields(SettingsRecord::defaults());

    setTabOrder({ &Text1[0], &Text2[0], &Text1[1], &Text2[1], &Text3, &Combo1, &Check1,
        &CommandDefaut, &CommandOK, &CommandAnnul });
    for (std::size_t i = 0; i < 2; ++i) {
        Label1[i].setLabelFor(Text1[i]);
        Label2[i].setLabelFor(Text2[i]);
    }
    Label3.setLabelFor(Text3);
    Label4.setLabelFor(Combo1);
    const QString ordinals[] = { QStringLiteral("1ère"), QStringLiteral("2ème") };
    for (std::size_t i = 0; i < 2; ++i) {
        const QString currency
            = QStringLiteral(" de la ") + ordinals[i] + QStringLiteral(" monnaie");
        Frame1[i].setAccessibleText(
            Frame1[i].caption(), QStringLiteral("Nom et symbole") + currency);
        Text1[i].setAccessibleText(
            QStringLiteral("Nom") + currency, QStringLiteral("Sans guillemets"));
        Text2[i].setAccessibleText(QStringLiteral("Symbole") + currency,
            QStringLiteral("Un seul caractère ; chaque touche le remplace"));
    }
    Text3.setAccessibleText(QStringLiteral("Taux de conversion"),
        QStringLiteral("Montant en monnaie 2 pour une unité de monnaie 1"));
    // No name of its own: Label4 names it.
    Combo1.setAccessibleText(
        QString(), QStringLiteral("Nombre de décimales affichées pour les conversions"));
    Check1.setAccessibleText(QStringLiteral("Afficher les infos-bulles"),
        QStringLiteral("Affiche ou masque les infos-bulles des deux fenêtres"));
    CommandDefaut.setAccessibleText(QStringLiteral("Reset"), ResetText);
    CommandOK.setAccessibleText(QStringLiteral("OK"), OKText);
    CommandAnnul.setAccessibleText(QStringLiteral("Annuler"), CancelText);
    setDefaultButton(CommandOK);
    setCancelButton(CommandAnnul);

    for (int i = 0; i < 2; ++i) {
        Text1[i].onKeyPress = [this](std::int16_t& code) { Text1KeyPress(code); };
        Text2[i].onKeyPress = [this, i](std::int16_t& code) { Text2KeyPress(i, code); };
    }
    Text3.onKeyPress = [this](std::int16_t& code) { Text3KeyPress(code); };
    Text3.onChange = [this] { Text3Change(); };
    CommandOK.onClick = [this] { CommandOKClick(); };
    CommandDefaut.onClick = [this] { CommandDefautClick(); };
    CommandAnnul.onClick = [this] { CommandAnnulClick(); };
}

FrmParam::~FrmParam() = default;

void FrmParam::showToolTips(const SettingsRecord& settings)
{
    const bool shown = settings.ShowToolTips != 0;
    auto tip = [shown](const QString& text) { return shown ? text : QString(); };
    Text1[0].setToolTipText(tip(QStringLiteral("Nom de la 1ère monnaie")));
    Text1[1].setToolTipText(tip(QStringLiteral("Nom de la 2ème monnaie")));
    Text2[0].setToolTipText(tip(QStringLiteral("Symbol de la 1ère monnaie")));
    Text2[1].setToolTipText(tip(QStringLiteral("Symbol de la 2ème monnaie")));
    Text3.setToolTipText(tip(QStringLiteral("Taux de conversion")));
    Check1.setToolTipText(tip(QStringLiteral("Cochée=Info-bulles ; Non-cochée=rien")));
    CommandOK.setToolTipText(tip(OKText));
    CommandAnnul.setToolTipText(tip(CancelText));
    CommandDefaut.setToolTipText(tip(ResetText));
    Combo1.setToolTipText(
        tip(QStringLiteral("Nb de chiffres après la virgule affichés pour les conversions")));
}

void FrmParam::onLoad()
{
    applySettings();
    centreOn(mainWindow());
}

void FrmParam::Text1KeyPress(std::int16_t& code)
{
    if (code == KeyCode::DoubleQuote)
        code = 0;
}

void FrmParam::Text2KeyPress(int index, std::int16_t& code)
{
    if (code == KeyCode::DoubleQuote) {
        code = 0;
        return;
    }
    if (code == KeyCode::Backspace)
        code = KeyCode::Space;
    if (code >= 17) {
        // Each typed character replaces the one-character symbol; the keystroke itself then
        // finds the field full.
        Text2[std::size_t(index)].setText(
            QString(toolkit::Cp1252::toUnicode(static_cast<unsigned char>(code))));
        return;
    }
    code = 0;
}

void FrmParam::Text3KeyPress(std::int16_t& code)
{
    conversion::FilterDecimalKeystroke(code, Text3.text());
}

void FrmParam::Text3Change()
{
    if (m_rateBusy)
        return;
    const QString text = Text3.text();
    qsizetype caret = Text3.cursorPosition();
    const QString cleaned = conversion::CleanDecimalText(text, caret);
    if (cleaned == text)
        return; // nothing to write back: caret and selection stay where the user left them
    m_rateBusy = true;
    Text3.setText(cleaned);
    m_rateBusy = false;
    // After a paste in the middle, typing goes on after what was kept of the pasted text.
    Text3.setCursorPosition(int(caret));
}

void FrmParam::CommandOKClick()
{
    using EuroProgramme::Settings;
    // Quotes go before the trimming, so that spaces they enclosed at either end go too.
    for (std::size_t i = 0; i < 2; ++i)
        Settings.CurrencyName[i] = withoutSurroundingSpaces(withoutDoubleQuotes(Text1[i].text()));
    for (std::size_t i = 0; i < 2; ++i)
        Settings.CurrencySymbol[i] = withoutDoubleQuotes(Text2[i].text());
    Settings.ShowToolTips = std::uint8_t(Check1.value());
    Settings.DecimalsIndex = std::uint8_t(std::max(0, Combo1.listIndex()));
    Settings.ConversionRate = RateText::parseFieldText(Text3.text());
    applySettings();
    clearMainAmounts();
    frmParam.unload();
}

void FrmParam::CommandDefautClick() { showFields(SettingsRecord::defaults()); }

void FrmParam::showFields(const SettingsRecord& settings)
{
    for (std::size_t i = 0; i < 2; ++i) {
        Text1[i].setText(settings.CurrencyName[i]);
        Text2[i].setText(settings.CurrencySymbol[i]);
    }
    Text3.setText(RateText::fieldText(settings.ConversionRate));
    Check1.setValue(settings.ShowToolTips);
    Combo1.setListIndex(settings.DecimalsIndex);
}

void FrmParam::CommandAnnulClick() { frmParam.unload(); }
