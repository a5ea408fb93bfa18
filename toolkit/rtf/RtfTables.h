#pragma once

#include "toolkit/rtf/RtfGroupState.h"
#include "toolkit/rtf/RtfKeywords.h"
#include "toolkit/rtf/RtfLexer.h"

#include <QColor>
#include <QFont>
#include <QHash>
#include <QString>
#include <array>
#include <vector>

namespace toolkit {

// The document's font table and colour table, read entry by entry, each bounded in size.
class RtfTables {
public:
    static constexpr int kMaxTableEntries = 4096; // fonts, and colours
    static constexpr int kMaxFontNameLength = 256;

    using ByteCharacters = std::array<char16_t, 256>;

    // What each byte of text stands for: a code page character, or in a symbol font the glyph
    // number. Control bytes other than the tab stand for 0 and are dropped.
    static const ByteCharacters& byteCharacters(bool symbolFont);

    struct Font {
        QString name;
        QFont::StyleHint hint = QFont::AnyStyle;
        bool symbol = false; // its bytes are glyph numbers, not code page characters
    };

    // Changes whenever a font or a colour is added, the colour table restarts or the default font
    // changes: formats built from the tables before are stale then.
    unsigned revision() const { return m_revision; }

    void setDefaultFont(int index);

    void startFontTable() { m_fontOpen = false; }
    void handleFontTableWord(const RtfKeywords::Entry& entry, const RtfLexer::Token& token);
    void appendFontName(char32_t ch);
    // Ends the entry being read, if any.
    void finishFont();

    void startColorTable();
    void handleColorTableWord(const RtfKeywords::Entry& entry, const RtfLexer::Token& token);
    // True when a component was set since the last colour ended.
    bool hasPendingColor() const { return m_colorSet; }
    void finishColor();

    // An index missing from the font table gives the document's default font, or nullptr.
    const Font* font(int index) const;
    // An invalid colour is "auto".
    QColor color(int index) const;

private:
    void startFont(int index);

    unsigned m_revision = 0;
    QHash<int, Font> m_fonts;
    int m_defaultFont = RtfGroupState::kAuto;
    bool m_fontOpen = false; // a font table entry is being read
    int m_fontIndex = 0;
    Font m_font;
    std::vector<QColor> m_colors;
    int m_red = 0;
    int m_green = 0;
    int m_blue = 0;
    bool m_colorSet = false;
};

} // namespace toolkit
