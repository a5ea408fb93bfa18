#pragma once

#include "toolkit/rtf/RtfGroupState.h"
#include "toolkit/rtf/RtfKeywords.h"
#include "toolkit/rtf/RtfLexer.h"
#include "toolkit/units/Units.h"

#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <utility>
#include <vector>

namespace toolkit {

class RtfTables;

// Maps the formatting control words onto a group's state, and that state onto Qt's character and
// paragraph formats.
class RtfFormatMapper {
public:
    static constexpr int kMaxFontSize = 3276; // half-points: 1638 pt
    static constexpr int kMaxTwips = 31680; // 22 inches, the largest indent or spacing kept

    // Formats name their fonts and colours by index into `tables`, which must outlive the mapper.
    explicit RtfFormatMapper(const RtfTables& tables);

    // Applies a character or paragraph formatting word to `state`; other words are ignored.
    static void apply(
        const RtfKeywords::Entry& entry, const RtfLexer::Token& token, RtfGroupState& state);

    // Valid until the next call.
    const QTextCharFormat& charFormat(const RtfGroupState::Character& character);
    static QTextBlockFormat blockFormat(const RtfGroupState::Paragraph& paragraph);

private:
    QTextCharFormat buildCharFormat(const RtfGroupState::Character& character) const;

    const RtfTables& m_tables;
    // Documents switch back and forth between a few formats; building one costs more than finding
    // it again. Emptied when the tables change.
    std::vector<std::pair<RtfGroupState::Character, QTextCharFormat>> m_cache;
    std::size_t m_nextCacheSlot = 0;
    unsigned m_cacheRevision = 0;
};

} // namespace toolkit
