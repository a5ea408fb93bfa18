// libFuzzer target for the settings file reader. Besides surviving any bytes, the reader must
// never store a value the settings dialog cannot show, and a complete read must survive a
// write and a second read: the strings (with the characters the writer cannot store replaced),
// the whole numbers exactly, and the rate as its file text.
#include "app/SettingsFile.h"
#include "conversion/RateText.h"

#include <QRegularExpression>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

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
    check(RateText::fileText(again.ConversionRate) == RateText::fileText(record.ConversionRate));
    record.ConversionRate = again.ConversionRate;
    for (auto* texts : { &record.CurrencyName, &record.CurrencySymbol }) {
        for (QString& text : *texts)
            text.replace(QRegularExpression(QStringLiteral("[\"\r\n]")), QStringLiteral("?"));
    }
    check(again == record);
    check(SettingsFile::write(again) == written);
    return 0;
}
