#pragma once

#include "toolkit/rtf/RtfFormatMapper.h"
#include "toolkit/rtf/RtfGroupState.h"
#include "toolkit/rtf/RtfKeywords.h"
#include "toolkit/rtf/RtfLexer.h"
#include "toolkit/rtf/RtfTables.h"

#include <QString>
#include <vector>

namespace toolkit {

class RtfDocumentBuilder;

// Interprets RTF tokens and hands text and formats to a document builder. One loop over the
// tokens, with the group states on a heap stack, so that no input can exhaust the call stack.
class RtfParser {
public:
    static constexpr int kMaxDepth = 1024; // deeper groups are counted but share the deepest state
    static constexpr int kMaxUnicodeSkip = 8;

    explicit RtfParser(RtfDocumentBuilder& builder);

    // Reads the first group of `rtf`; anything after it is ignored.
    void parse(QByteArrayView rtf);

private:
    using Destination = RtfGroupState::Destination;
    using Token = RtfLexer::Token;

    RtfGroupState& state() { return m_stack.back(); }
    Destination destination() const;
    bool overflowed() const { return m_overflowDepth > 0; }

    void openGroup();
    void closeGroup();
    bool consumeSkippedFallback();
    void setDestination(Destination destination);

    void handleWord(const Token& token);
    void handleTextWord(const RtfKeywords::Entry& entry, const Token& token);
    void handleSymbol(char symbol);
    void handleHex(unsigned char byte);
    void handleText(std::string_view bytes);
    void handleUnicode(const Token& token);

    void putCharacter(char32_t ch); // into the current destination
    void emitCharacter(char32_t ch);
    void emitParagraph();
    void emitLineBreak();
    void flushHighSurrogate();
    void syncFormats();

    RtfDocumentBuilder& m_builder;
    RtfTables m_tables;
    RtfFormatMapper m_formats { m_tables };
    std::vector<RtfGroupState> m_stack; // [0] is outside every group
    int m_overflowDepth = 0; // groups opened past kMaxDepth and not yet closed
    int m_overflowSkipFrom = 0; // overflow depth whose group skips its content, 0 when none
    bool m_done = false;

    bool m_charSynced = false;
    RtfGroupState::Character m_syncedCharacter;
    unsigned m_syncedTables = 0; // revision of the tables
    bool m_symbolFont = false;
    bool m_paragraphSynced = false;
    RtfGroupState::Paragraph m_syncedParagraph;

    char16_t m_highSurrogate = 0; // of a \u pair whose second half has not come yet
    QString m_scratch;
};

} // namespace toolkit
