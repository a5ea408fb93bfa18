#pragma once

#include "app/state/SettingsRecord.h"
#include "toolkit/TextField.h"

#include <QString>
#include <array>
#include <cstdint>

namespace conversion {

// Keeps the two amount fields converted into each other. Every change of either field's text is
// cleaned, read, converted at the settings' rate, rounded to ten-thousandths and written into the
// other field, formatted by the settings' DecimalsIndex. A conversion that fails shows a message
// and puts both fields back to the last pair that converted.
//
// The converter hooks itself onto both fields' onChange and unhooks in its destructor, so it must
// be destroyed before the fields (declare it after them).
class AmountConverter {
public:
    struct State {
        // 0: idle; 1: TextEuro is converting into TextFranc; 2: TextFranc into TextEuro.
        std::uint8_t ConversionSource = 0;
        // TextEuro's and TextFranc's texts at the end of the last completed conversion.
        std::array<QString, 2> LastGoodAmounts;
        // The last conversion's result, in ten-thousandths.
        std::int64_t ConvertedAmount = 0;
    };

    // The settings are read at every conversion, so later edits take effect at once.
    AmountConverter(toolkit::TextField& textEuro, toolkit::TextField& textFranc,
        const SettingsRecord& settings);
    ~AmountConverter();
    AmountConverter(const AmountConverter&) = delete;
    AmountConverter& operator=(const AmountConverter&) = delete;

    // Keystroke filters of the two fields: code is the typed character, set to 0 to drop it or
    // replaced. Ctrl+V pastes and Ctrl+C copies the whole field.
    void TextEuroKeyPress(std::int16_t& code);
    void TextFrancKeyPress(std::int16_t& code);

    // Replaces the clipboard's content by the field's whole text.
    static void CopyAmount(const toolkit::TextField& field);
    // Replaces the field's whole text by the clipboard's cleaned text; the change converts it.
    static void PasteAmount(toolkit::TextField& field);

    const State& state() const { return m_state; }

private:
    void keyPress(toolkit::TextField& field, std::int16_t& code);
    void handleChange(std::uint8_t own);
    bool convert(std::uint8_t own);
    void recover();
    toolkit::TextField& field(std::uint8_t number) const;

    toolkit::TextField& m_textEuro;
    toolkit::TextField& m_textFranc;
    const SettingsRecord& m_settings;
    State m_state;
    // Counts recoveries, so that a handling can tell that a nested one has failed and recovered.
    std::uint64_t m_recoveries = 0;
};

} // namespace conversion
