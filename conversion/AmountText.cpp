#include "conversion/AmountText.h"

#include <algorithm>
#include <cmath>

namespace conversion {

namespace {

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
    const DigitRun run = ReadDigitRun(text, RunSeparator::Comma);
    if (run.length != text.size() || run.outcome != DigitRun::Outcome::Number)
        return std::nullopt;
    return run.value;
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
