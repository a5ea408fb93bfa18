#include "conversion/AmountText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace conversion {

namespace {

    bool isDigit(char16_t ch) { return ch >= u'0' && ch <= u'9'; }

    constexpr std::uint64_t powerOfTen(int exponent)
    {
        std::uint64_t result = 1;
        for (int i = 0; i < exponent; ++i)
            result *= 10;
        return result;
    }

    // Nearest integer, an exact half to the even neighbour, whatever the rounding mode.
    double roundHalfEven(double value)
    {
        // From 2^52 on every double is a whole number already.
        constexpr double allWhole = 4503599627370496.0;
        if (!(std::fabs(value) < allWhole))
            return value;
        const double below = std::floor(value);
        const double fraction = value - below; // exact below 2^52
        if (fraction < 0.5)
            return below;
        if (fraction > 0.5)
            return below + 1.0;
        return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
    }

} // namespace

QStringView DisplayPattern(unsigned decimalsIndex)
{
    return DisplayPatterns[std::min<std::size_t>(decimalsIndex, DisplayPatterns.size() - 1)];
}

QString FilterAmountText(QStringView text)
{
    QString result;
    result.reserve(text.size());
    bool separatorSeen = false;
    for (const QChar ch : text) {
        const char16_t code = ch.unicode() == u'.' ? u',' : ch.unicode();
        if (isDigit(code)) {
            result.append(QChar(code));
        } else if (code == u',' && !separatorSeen) {
            separatorSeen = true;
            result.append(DecimalSeparator);
        }
    }
    return result;
}

QString FormatWithPattern(std::int64_t amount, QStringView pattern)
{
    const qsizetype dot = pattern.indexOf(u'.');
    const auto places = dot < 0
        ? 0
        : static_cast<int>(std::count(pattern.begin() + dot + 1, pattern.end(), u'#'));
    // Amounts carry four decimals; further places would only show zeros, which are trimmed.
    const int shown = std::min(places, 4);

    // Unsigned magnitude, so that the most negative amount has one too.
    const std::uint64_t magnitude
        = amount < 0 ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
    const std::uint64_t step = powerOfTen(4 - shown);
    std::uint64_t units = magnitude / step;
    if ((magnitude % step) * 2 >= step)
        ++units; // half away from zero, on the magnitude
    const std::uint64_t unitsPerWhole = powerOfTen(shown);
    const std::uint64_t whole = units / unitsPerWhole;
    const std::uint64_t fraction = units % unitsPerWhole;

    QString result;
    if (amount < 0 && units != 0)
        result.append(u'-');
    if (whole != 0)
        result.append(QString::number(whole));
    if (dot >= 0)
        result.append(DecimalSeparator);
    if (fraction != 0) {
        QString digits = QString::number(fraction).rightJustified(shown, u'0');
        while (digits.endsWith(u'0'))
            digits.chop(1);
        result.append(digits);
    }
    return result;
}

std::optional<double> ReadAmount(QStringView text)
{
    std::string ascii;
    ascii.reserve(static_cast<std::size_t>(text.size()) + 1);
    bool separatorSeen = false;
    bool anyDigit = false;
    bool wholePartNonZero = false;
    for (const QChar ch : text) {
        const char16_t code = ch.unicode();
        if (isDigit(code)) {
            anyDigit = true;
            wholePartNonZero = wholePartNonZero || (!separatorSeen && code != u'0');
            ascii.push_back(static_cast<char>(code));
        } else if (code == DecimalSeparator && !separatorSeen) {
            separatorSeen = true;
            ascii.push_back('.');
        } else {
            return std::nullopt;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    if (ascii.front() == '.')
        ascii.insert(ascii.begin(), '0');
    if (ascii.back() == '.')
        ascii.pop_back();

    double value = 0.0;
    const char* const end = ascii.data() + ascii.size();
    const auto [stop, error] = std::from_chars(ascii.data(), end, value, std::chars_format::fixed);
    if (error == std::errc::result_out_of_range)
        // Out of range below 1 is an underflow: the value is closer to 0 than any double.
        return wholePartNonZero ? std::nullopt : std::optional<double>(0.0);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::optional<std::int64_t> ToFixedPoint(double value)
{
    const double rounded = roundHalfEven(value * static_cast<double>(FixedPointScale));
    // 2^63 is exact as a double; the largest double below it is a whole number in range.
    constexpr double limit = 9223372036854775808.0;
    if (!(rounded >= -limit && rounded < limit)) // also refuses NaN
        return std::nullopt;
    return static_cast<std::int64_t>(rounded);
}

} // namespace conversion
