#include "conversion/DecimalText.h"

#include "toolkit/KeyCodes.h"

#include <charconv>
#include <string>
#include <system_error>

namespace conversion {

namespace {

    bool isDigit(char16_t ch) { return ch >= u'0' && ch <= u'9'; }

} // namespace

void FilterDecimalKeystroke(std::int16_t& code, QStringView fieldText)
{
    using namespace toolkit;
    if (code == KeyCode::Period)
        code = KeyCode::Comma;
    if (code == KeyCode::Comma && fieldText.contains(DecimalSeparator))
        code = 0;
    const bool digit = code >= '0' && code <= '9';
    if (!digit && code != KeyCode::Comma && code != KeyCode::Backspace)
        code = 0;
}

QString CleanDecimalText(QStringView text)
{
    qsizetype caret = 0;
    return CleanDecimalText(text, caret);
}

QString CleanDecimalText(QStringView text, qsizetype& caret)
{
    QString result;
    result.reserve(text.size());
    qsizetype cleanedCaret = 0;
    bool separatorSeen = false;
    for (qsizetype at = 0; at < text.size(); ++at) {
        const char16_t code = text[at].unicode() == u'.' ? u',' : text[at].unicode();
        bool kept = isDigit(code);
        if (code == DecimalSeparator && !separatorSeen)
            kept = separatorSeen = true;
        if (!kept)
            continue;
        result.append(QChar(code));
        if (at < caret)
            ++cleanedCaret;
    }
    caret = cleanedCaret;
    return result;
}

DigitRun ReadDigitRun(QStringView text, RunSeparator separator)
{
    DigitRun run;
    std::string ascii;
    bool separatorSeen = false;
    bool anyDigit = false;
    bool wholePartNonZero = false;
    for (; run.length < text.size(); ++run.length) {
        const char16_t code = text[run.length].unicode();
        const bool isSeparator = code == DecimalSeparator
            || (code == u'.' && separator == RunSeparator::CommaOrPeriod);
        if (isDigit(code)) {
            anyDigit = true;
            wholePartNonZero = wholePartNonZero || (!separatorSeen && code != u'0');
            ascii.push_back(static_cast<char>(code));
        } else if (isSeparator && !separatorSeen) {
            separatorSeen = true;
            ascii.push_back('.');
        } else {
            break;
        }
    }
    if (!anyDigit)
        return run;
    if (ascii.front() == '.')
        ascii.insert(ascii.begin(), '0');
    if (ascii.back() == '.')
        ascii.pop_back();

    const char* const end = ascii.data() + ascii.size();
    const auto [stop, error]
        = std::from_chars(ascii.data(), end, run.value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range) {
        // A whole part of 1 or more can only overflow; anything else can only underflow, to a
        // value closer to 0 than any double.
        run.value = 0.0;
        run.outcome = wholePartNonZero ? DigitRun::Outcome::TooLarge : DigitRun::Outcome::Number;
    } else if (error == std::errc() && stop == end) {
        run.outcome = DigitRun::Outcome::Number;
    }
    return run;
}

} // namespace conversion
