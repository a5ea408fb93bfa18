#pragma once

#include "conversion/DecimalText.h"

#include <QString>
#include <QStringView>
#include <array>
#include <cstdint>
#include <optional>

// The texts of the two amount fields: what may stand in them, how they are read as numbers and
// how a converted amount is written back. Amounts always use DecimalSeparator, whatever the
// user's locale, so that reading and writing agree with the filters.
namespace conversion {

// Fixed-point amounts are counts of ten-thousandths.
inline constexpr std::int64_t FixedPointScale = 10000;

// Indexed by the settings' DecimalsIndex. The last pattern has five places although amounts
// carry four; the fifth one never shows.
inline constexpr std::array<QStringView, 5> DisplayPatterns
    = { u"#", u"#.#", u"#.##", u"#.###", u"#.#####" };

// The pattern for a DecimalsIndex; an index beyond the table takes the last pattern.
QStringView DisplayPattern(unsigned decimalsIndex);

// Writes a fixed-point amount by a display pattern: rounded half away from zero to the
// pattern's places, no leading zero, the separator whenever the pattern has one, no trailing
// zeros. A negative amount that does not round to zero gets a leading "-".
QString FormatWithPattern(std::int64_t amount, QStringView pattern);

// Reads an amount text: digits with at most one ","; a trailing "," reads as the integer part.
// Nothing else is accepted (no sign, exponent, spaces, "inf"), and the C library's locale plays
// no part. Empty when the text is not an amount or lies beyond the range of a double; a value
// too small for a double reads as 0.
std::optional<double> ReadAmount(QStringView text);

// value × 10 000 rounded to the nearest integer, an exact half to the even neighbour,
// independent of the floating-point rounding mode. Empty when the result is not finite or
// falls outside the signed 64-bit range.
std::optional<std::int64_t> ToFixedPoint(double value);

} // namespace conversion
