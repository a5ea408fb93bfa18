#pragma once

#include "toolkit/rtf/RtfGroupState.h"
#include "toolkit/rtf/RtfKeywords.h"
#include "toolkit/rtf/RtfLexer.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <utility>
#include <vector>

namespace toolkit {

class RtfDocumentBuilder;

// Interprets RTF tokens and hands text and formats to a document builder. One loop over the
// tokens, with the group states on a heap stack, so that no input can exhaust the call stack.
class RtfParser {
public:
    static constexpr int kMaxDepth = 1024; // deeper groups are counted but share the deepest state
    static constexpr int kMaxTableEntries = 4096; // fonts, and colours
    static constexpr int kMaxFontNameLength = 256;
    static constexpr int kMaxFontSize = 3276; // half-points: 1638 pt
    static constexpr int kMaxTwips = 31680; // 22 inches, the largest indent or spacing kept
    static constexpr int kMaxUnicodeSkip = 8;

    explicit RtfParser(RtfDocumentBuilder& builder);

    // Reads the first group of `rtf`; anything after it is ignored.
    void parse(QByteArrayView rtf);

private:
    using Destination = RtfGroupState::Destination;
    using Token = RtfLexer::Token;

    struct Font {
        QString name;
        QFont::StyleHint hint = QFont::AnyStyle;
        bool symbol = false; // its bytes are glyph numbers, not code page characters
    };

    RtfGroupState& state() { return m_stack.back(); }
    Destination destination() const;
    bool overflowed() const { return m_overflowDepth > 0; }

    void openGroup();
    void closeGroup();
    bool consumeSkippedFallback();
    void setDestination(Destination destination);

    void handleWord(const Token& token);
    void handleTextWord(const RtfKeywords::Entry& entry, const Token& token);
    void handleFontTableWord(const RtfKeywords::Entry& entry, const Token& token);
    void handleColorTableWord(const RtfKeywords::Entry& entry, const Token& token);
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

    void startFont(int index);
    void finishFont();
    void appendFontName(char32_t ch);
    void finishColor();
    void tablesChanged();

    const Font* resolveFont(int index) const;
    QColor color(int index) const;
    QTextCharFormat charFormat(const RtfGroupState::Character& character) const;
    static QTextBlockFormat blockFormat(const RtfGroupState::Paragraph& paragraph);

    RtfDocumentBuilder& m_builder;
    std::vector<RtfGroupState> m_stack; // [0] is outside every group
    int m_overflowDepth = 0; // groups opened past kMaxDepth and not yet closed
    int m_overflowSkipFrom = 0; // overflow depth whose group skips its content, 0 when none
    bool m_done = false;

    QHash<int, Font> m_fonts;
    int m_defaultFont = RtfGroupState::kAuto;
    bool m_fontOpen = false; // a font table entry is being read
    int m_fontIndex = 0;
    Font m_font;
    std::vector<QColor> m_colors; // an invalid colour is "auto"
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colorSet = false;

    bool m_charSynced = false;
    RtfGroupState::Character m_syncedCharacter;
    bool m_symbolFont = false;
    bool m_paragraphSynced = false;
    RtfGroupState::Paragraph m_syncedParagraph;
    // Documents switch back and forth between a few formats; building one costs more than finding
    // it again.
    std::vector<std::pair<RtfGroupState::Character, QTextCharFormat>> m_formatCache;
    std::size_t m_nextCacheSlot = 0;

    char16_t m_highSurrogate = 0; // of a \u pair whose second half has not come yet
    QString m_scratch;
};

} // namespace toolkit
