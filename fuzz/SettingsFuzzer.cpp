// libFuzzer target for the settings file reader. Besides surviving any bytes, the reader must
// never store a value the settings dialog cannot show, and a complete read must survive a
// write and a second read: the strings (with the characters the writer cannot store replaced),
// the whole numbers exactly, and the rate as its file text.
#include "app/SettingsFile.h"
#include "conversion/RateText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QString writable(QString text)
{
    for (QChar& ch : text) {
        if (ch == u'"' || ch == u'\r' || ch == u'\n')
            ch = u'?';
    }
    return text;
}

void check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    SettingsRecord record = SettingsRecord::defaults();
    const bool complete = SettingsFile::read(bytes, record);
    check(record.ShowToolTips <= 1 && record.DecimalsIndex <= 4);
    if (!complete)
        return 0;

    const QByteArray written = SettingsFile::write(record);
    SettingsRecord again;
    check(SettingsFile::read(written, again));
    for (std::size_t i = 0; i < 2; ++i) {
        check(again.CurrencyName[i] == writable(record.CurrencyName[i]));
        check(again.CurrencySymbol[i] == writable(record.CurrencySymbol[i]));
    }
    check(again.ShowToolTips == record.ShowToolTips);
    check(again.DecimalsIndex == record.DecimalsIndex);
    check(again.WindowLeft == record.WindowLeft && again.WindowTop == record.WindowTop
        && again.WindowWidth == record.WindowWidth);
    check(RateText::fileText(again.ConversionRate) == RateText::fileText(record.ConversionRate));
    check(SettingsFile::write(again) == written);
    return 0;
}
