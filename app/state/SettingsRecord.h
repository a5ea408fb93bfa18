#pragma once

#include <QString>
#include <array>
#include <cstdint>

// The one record of the user's settings, in the order the settings file holds its fields.
// The two-entry arrays are indexed by currency minus one: entry 0 is currency 1, the upper row
// of the main window (TextEuro), entry 1 is currency 2 (TextFranc).
struct SettingsRecord {
    std::array<QString, 2> CurrencyName;
    std::array<QString, 2> CurrencySymbol;
    std::uint8_t ShowToolTips = 0;
    double ConversionRate = 0.0; // units of currency 2 for one unit of currency 1
    std::uint8_t DecimalsIndex = 0; // 0 to 4, the display pattern of the conversions
    std::int32_t WindowLeft = 0; // twips
    std::int32_t WindowTop = 0;
    std::int32_t WindowWidth = 0;

    // The values StartUp gives fields 1 to 7 before the file is read; the window fields stay 0.
    static SettingsRecord defaults()
    {
        SettingsRecord record;
        record.CurrencyName = { QStringLiteral("Euros"), QStringLiteral("Francs") };
        record.CurrencySymbol = { QStringLiteral("E"), QStringLiteral("F") };
        record.ShowToolTips = 1;
        record.ConversionRate = 6.55957;
        record.DecimalsIndex = 3;
        return record;
    }

    bool operator==(const SettingsRecord&) const = default;
};
