#include "conversion/RateText.h"

#include "conversion/DecimalText.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>

namespace {

constexpr int kSignificantDigits = 15;

// Room for the longest shortest-round-trip form of a double, with sign and exponent.
constexpr std::size_t kNumberBuffer = 64;

bool readsBackFinite(std::string_view text)
{
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

} // namespace

QByteArray RateText::fileText(double rate)
{
    if (!std::isfinite(rate))
        return QByteArrayLiteral("0");
    char buffer[kNumberBuffer];
    auto result = std::to_chars(
        buffer, buffer + sizeof buffer, rate, std::chars_format::general, kSignificantDigits);
    // Within rounding of the largest double, 15 digits name a number beyond it that no reader
    // takes back; the exact shortest form is the only text that keeps the file readable there.
    if (!readsBackFinite(std::string_view(buffer, result.ptr)))
        result = std::to_chars(buffer, buffer + sizeof buffer, rate, std::chars_format::general);
    return QByteArray(buffer, result.ptr - buffer);
}

QString RateText::fieldText(double rate)
{
    if (!std::isfinite(rate) || rate == 0.0)
        return QStringLiteral("0");
    // "d.dddddddddddddde±x": the 15 significant digits and the power of ten of the first one.
    char buffer[kNumberBuffer];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(rate),
        std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buffer, result.ptr);
    const std::size_t exponentAt = text.find('e');
    std::string digits;
    digits += text[0];
    digits += text.substr(2, exponentAt - 2);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();
    const int exponent = std::atoi(std::string(text.substr(exponentAt + 1)).c_str());

    // Digits before the separator; none or fewer than zero means leading zeros after it.
    const int integerDigits = exponent + 1;
    const auto digitCount = static_cast<int>(digits.size());
    std::string field;
    if (integerDigits <= 0) {
        field = "0," + std::string(static_cast<std::size_t>(-integerDigits), '0') + digits;
    } else if (integerDigits >= digitCount) {
        field = digits + std::string(static_cast<std::size_t>(integerDigits - digitCount), '0');
    } else {
        field = digits;
        field.insert(static_cast<std::size_t>(integerDigits), 1, ',');
    }
    return QString::fromLatin1(field.data(), static_cast<qsizetype>(field.size()));
}

double RateText::parseFieldText(const QString& text)
{
    qsizetype at = 0;
    while (at < text.size() && text[at] == u' ')
        ++at;
    const conversion::DigitRun run = conversion::ReadDigitRun(
        QStringView(text).sliced(at), conversion::RunSeparator::CommaOrPeriod);
    if (run.outcome == conversion::DigitRun::Outcome::TooLarge)
        return std::numeric_limits<double>::max();
    return run.value; // 0 when there is no number
}
