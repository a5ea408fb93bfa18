#include "app/SettingsFile.h"

#include "conversion/RateText.h"
#include "toolkit/RegularFile.h"
#include "toolkit/codepage/Cp1252.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string_view>
#include <system_error>

namespace {

bool isBlank(char ch) { return ch == ' ' || ch == '\t'; }

bool isLineEnd(char ch) { return ch == '\r' || ch == '\n'; }

std::string_view trimBlanks(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The next field's text from `pos`, leaving `pos` after the comma or line end that closes it.
// Empty when the input ends before the field begins.
std::optional<std::string_view> nextField(std::string_view input, std::size_t& pos)
{
    while (pos < input.size() && isBlank(input[pos]))
        ++pos;
    if (pos == input.size())
        return std::nullopt;

    std::string_view text;
    if (input[pos] == '"') {
        const std::size_t start = ++pos;
        while (pos < input.size() && input[pos] != '"' && !isLineEnd(input[pos]))
            ++pos;
        text = input.substr(start, pos - start);
        while (pos < input.size() && input[pos] != ',' && !isLineEnd(input[pos]))
            ++pos;
    } else {
        const std::size_t start = pos;
        while (pos < input.size() && input[pos] != ',' && !isLineEnd(input[pos]))
            ++pos;
        text = trimBlanks(input.substr(start, pos - start));
    }

    if (pos < input.size()) {
        const char end = input[pos++];
        if (end == '\r' && pos < input.size() && input[pos] == '\n')
            ++pos;
    }
    return text;
}

QString toText(std::string_view field)
{
    return toolkit::Cp1252::decode(QByteArray(field.data(), static_cast<qsizetype>(field.size())));
}

// A whole number filling the field, within [low, high].
std::optional<std::int64_t> toInteger(std::string_view field, std::int64_t low, std::int64_t high)
{
    field = trimBlanks(field);
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size() || value < low || value > high)
        return std::nullopt;
    return value;
}

std::optional<double> toRate(std::string_view field)
{
    field = trimBlanks(field);
    double value = 0.0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    // from_chars takes "inf" and "nan"; the program never writes them and cannot use them.
    if (error != std::errc() || end != field.data() + field.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Any 8-bit value is read, then brought to the nearest one the program can show, so that a
// hand-edited value does not cost the fields after it.
bool storeByte(std::string_view field, std::uint8_t& target, std::uint8_t highest)
{
    const auto value = toInteger(field, 0, 255);
    if (value)
        target = static_cast<std::uint8_t>(std::min<std::int64_t>(*value, highest));
    return value.has_value();
}

bool storeInt32(std::string_view field, std::int32_t& target)
{
    const auto value = toInteger(field, INT32_MIN, INT32_MAX);
    if (value)
        target = static_cast<std::int32_t>(*value);
    return value.has_value();
}

using StoreField = bool (*)(std::string_view field, SettingsRecord& record);

// The ten fields in file order; each stores its value and says whether the field was valid.
constexpr std::array<StoreField, 10> kFields = {
    [](std::string_view field, SettingsRecord& record) {
        record.CurrencyName[0] = toText(field);
        return true;
    },
    [](std::string_view field, SettingsRecord& record) {
        record.CurrencyName[1] = toText(field);
        return true;
    },
    [](std::string_view field, SettingsRecord& record) {
        record.CurrencySymbol[0] = toText(field);
        return true;
    },
    [](std::string_view field, SettingsRecord& record) {
        record.CurrencySymbol[1] = toText(field);
        return true;
    },
    [](std::string_view field, SettingsRecord& record) {
        return storeByte(field, record.ShowToolTips, 1); // any value but 0 shows them
    },
    [](std::string_view field, SettingsRecord& record) {
        const auto rate = toRate(field);
        if (rate)
            record.ConversionRate = *rate;
        return rate.has_value();
    },
    [](std::string_view field, SettingsRecord& record) {
        return storeByte(field, record.DecimalsIndex, 4);
    },
    [](std::string_view field, SettingsRecord& record) {
        return storeInt32(field, record.WindowLeft);
    },
    [](std::string_view field, SettingsRecord& record) {
        return storeInt32(field, record.WindowTop);
    },
    [](std::string_view field, SettingsRecord& record) {
        return storeInt32(field, record.WindowWidth);
    },
};

QByteArray quoted(const QString& text)
{
    QString safe = text;
    for (QChar& ch : safe) {
        if (ch == u'"' || ch == u'\r' || ch == u'\n')
            ch = u'?';
    }
    return '"' + toolkit::Cp1252::encode(safe) + '"';
}

} // namespace

bool SettingsFile::read(const QByteArray& bytes, SettingsRecord& record)
{
    const std::string_view input(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    std::size_t pos = 0;
    for (const StoreField store : kFields) {
        const auto field = nextField(input, pos);
        if (!field || !store(*field, record))
            return false;
    }
    return true;
}

QByteArray SettingsFile::write(const SettingsRecord& record)
{
    const std::array<QByteArray, 10> lines = {
        quoted(record.CurrencyName[0]),
        quoted(record.CurrencyName[1]),
        quoted(record.CurrencySymbol[0]),
        quoted(record.CurrencySymbol[1]),
        QByteArray::number(record.ShowToolTips),
        RateText::fileText(record.ConversionRate),
        QByteArray::number(record.DecimalsIndex),
        QByteArray::number(record.WindowLeft),
        QByteArray::number(record.WindowTop),
        QByteArray::number(record.WindowWidth),
    };
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

bool SettingsFile::load(const QString& path, SettingsRecord& record)
{
    const auto file = toolkit::RegularFile::read(path, MaxFileSize);
    if (!file)
        return false;
    QByteArray bytes = file->bytes;
    // The field that the bound cuts is not whole: only what ends before the last line end
    // counts, and the read ends there.
    if (!file->whole)
        bytes.truncate(std::max(bytes.lastIndexOf('\n'), bytes.lastIndexOf('\r')) + 1);
    return read(bytes, record);
}

bool SettingsFile::save(const QString& path, const SettingsRecord& record)
{
    return toolkit::RegularFile::replace(path, write(record));
}
