#include "conversion/AmountConverter.h"

#include "conversion/AmountText.h"
#include "conversion/DecimalText.h"
#include "toolkit/Clipboard.h"
#include "toolkit/KeyCodes.h"
#include "toolkit/MessageBox.h"

#include <optional>

namespace conversion {

namespace {

    constexpr std::uint8_t Idle = 0;
    constexpr std::uint8_t Euro = 1;
    constexpr std::uint8_t Franc = 2;

} // namespace

AmountConverter::AmountConverter(
    toolkit::TextField& textEuro, toolkit::TextField& textFranc, const SettingsRecord& settings)
    : m_textEuro(textEuro)
    , m_textFranc(textFranc)
    , m_settings(settings)
{
    m_textEuro.onChange = [this] { handleChange(Euro); };
    m_textFranc.onChange = [this] { handleChange(Franc); };
}

AmountConverter::~AmountConverter()
{
    m_textEuro.onChange = nullptr;
    m_textFranc.onChange = nullptr;
}

void AmountConverter::TextEuroKeyPress(std::int16_t& code) { keyPress(m_textEuro, code); }

void AmountConverter::TextFrancKeyPress(std::int16_t& code) { keyPress(m_textFranc, code); }

void AmountConverter::CopyAmount(const toolkit::TextField& field)
{
    toolkit::Clipboard& clipboard = toolkit::Clipboard::current();
    clipboard.clear();
    clipboard.setText(field.text());
}

void AmountConverter::PasteAmount(toolkit::TextField& field)
{
    field.setText(CleanDecimalText(toolkit::Clipboard::current().getText()));
}

void AmountConverter::keyPress(toolkit::TextField& field, std::int16_t& code)
{
    if (code == toolkit::KeyCode::Paste) {
        PasteAmount(field);
        code = 0; // the field's own paste would insert the raw text as well
    }
    if (code == toolkit::KeyCode::Copy) {
        CopyAmount(field);
        code = 0;
    }
    FilterDecimalKeystroke(code, field.text());
}

toolkit::TextField& AmountConverter::field(std::uint8_t number) const
{
    return number == Euro ? m_textEuro : m_textFranc;
}

void AmountConverter::handleChange(std::uint8_t own)
{
    const std::uint8_t other = own == Euro ? Franc : Euro;
    toolkit::TextField& self = field(own);
    toolkit::TextField& opposite = field(other);

    // Cleaning runs even while the other field writes into this one: a negative rate makes it
    // write a sign, which goes here.
    self.setText(CleanDecimalText(self.text()));
    if (m_state.ConversionSource == other)
        return; // the other field's conversion is writing this one; never convert back
    m_state.ConversionSource = own;

    const QString text = self.text();
    if (text.isEmpty()) {
        opposite.setText(QString());
        m_state.ConversionSource = Idle;
        return;
    }
    if (text == DecimalSeparator) {
        self.setText(QString());
        opposite.setText(QString());
        m_state.ConversionSource = Idle;
        return;
    }
    if (text.front() == DecimalSeparator) {
        // The nested handling converts the completed text in full. If it failed, it has shown
        // the message and restored the last good pair; converting again would only repeat that.
        const std::uint64_t recoveriesBefore = m_recoveries;
        self.setText(QChar(u'0') + text);
        if (m_recoveries != recoveriesBefore) {
            m_state.ConversionSource = Idle;
            return;
        }
        // The nested handling has gone idle; this one is still converting.
        m_state.ConversionSource = own;
    }

    if (!convert(own))
        recover();
    m_state.ConversionSource = Idle;
}

bool AmountConverter::convert(std::uint8_t own)
{
    const std::optional<double> amount = ReadAmount(field(own).text());
    if (!amount)
        return false;
    const double rate = m_settings.ConversionRate;
    double result = 0.0;
    if (own == Euro) {
        result = *amount * rate;
    } else {
        if (rate == 0.0)
            return false;
        result = *amount / rate;
    }
    const std::optional<std::int64_t> fixed = ToFixedPoint(result);
    if (!fixed)
        return false;
    m_state.ConvertedAmount = *fixed;

    QString shown = FormatWithPattern(*fixed, DisplayPattern(m_settings.DecimalsIndex));
    if (shown.startsWith(DecimalSeparator))
        shown.prepend(u'0');
    if (shown.endsWith(DecimalSeparator))
        shown.chop(1);
    field(own == Euro ? Franc : Euro).setText(shown);

    m_state.LastGoodAmounts[0] = m_textEuro.text();
    m_state.LastGoodAmounts[1] = m_textFranc.text();
    return true;
}

void AmountConverter::recover()
{
    ++m_recoveries;
    toolkit::MessageBox::show(QStringLiteral("Dépassement du nombre de\ncaractères maximum."),
        QStringLiteral("Erreur !"), toolkit::MessageBox::Information);
    // Copies, and entry 2 read only after entry 1 is back: restoring TextEuro may convert it
    // and save a new pair.
    const QString euro = m_state.LastGoodAmounts[0];
    m_textEuro.setText(euro);
    const QString franc = m_state.LastGoodAmounts[1];
    m_textFranc.setText(franc);
}

} // namespace conversion
