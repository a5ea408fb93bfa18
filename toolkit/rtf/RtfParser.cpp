#include "toolkit/rtf/RtfParser.h"

#include "toolkit/rtf/RtfDocumentBuilder.h"

#include <algorithm>

namespace toolkit {

namespace {

    using Keyword = RtfKeywords::Keyword;

    constexpr char16_t kReplacement = 0xFFFD;

} // namespace

RtfParser::RtfParser(RtfDocumentBuilder& builder)
    : m_builder(builder)
{
    m_stack.reserve(64);
    m_stack.emplace_back();
}

void RtfParser::parse(QByteArrayView rtf)
{
    RtfLexer lexer(rtf);
    while (!m_done && !m_builder.isFull()) {
        const Token token = lexer.next();
        switch (token.kind) {
        case RtfLexer::Kind::End:
            m_done = true;
            break;
        case RtfLexer::Kind::GroupOpen:
            openGroup();
            break;
        case RtfLexer::Kind::GroupClose:
            closeGroup();
            break;
        case RtfLexer::Kind::Text:
            if (m_stack.size() > 1)
                handleText(token.text);
            break;
        default:
            if (m_stack.size() <= 1 || consumeSkippedFallback())
                break;
            if (token.kind == RtfLexer::Kind::Word)
                handleWord(token);
            else if (token.kind == RtfLexer::Kind::Symbol)
                handleSymbol(token.symbol);
            else if (token.kind == RtfLexer::Kind::Hex)
                handleHex(token.byte);
            break;
        }
    }
    flushHighSurrogate();
}

RtfParser::Destination RtfParser::destination() const
{
    return m_overflowSkipFrom > 0 ? Destination::Skip : m_stack.back().destination;
}

void RtfParser::openGroup()
{
    state().pendingSkip = 0; // a fallback never reaches into another group
    if (overflowed() || int(m_stack.size()) > kMaxDepth) {
        ++m_overflowDepth;
        return;
    }
    m_stack.push_back(m_stack.back());
}

void RtfParser::closeGroup()
{
    if (overflowed()) {
        if (m_overflowSkipFrom == m_overflowDepth)
            m_overflowSkipFrom = 0;
        --m_overflowDepth;
        state().pendingSkip = 0;
        if (state().destination == Destination::FontTable)
            m_tables.finishFont();
        return;
    }
    if (m_stack.size() <= 1)
        return; // a stray closing brace before the document's group
    const Destination leaving = m_stack.back().destination;
    m_stack.pop_back();
    if (leaving == Destination::FontTable)
        m_tables.finishFont();
    else if (leaving == Destination::ColorTable && m_tables.hasPendingColor()
        && m_stack.back().destination != Destination::ColorTable)
        m_tables.finishColor(); // the last colour often lacks its semicolon
    if (m_stack.size() == 1)
        m_done = true; // the document's group ended; what follows is not RTF
}

// A character of a \u fallback is dropped; every token counts as one character.
bool RtfParser::consumeSkippedFallback()
{
    int& pending = state().pendingSkip;
    if (pending <= 0)
        return false;
    --pending;
    return true;
}

void RtfParser::setDestination(Destination destination)
{
    if (overflowed()) {
        // Past the depth limit the group has no state of its own; remember where skipping began.
        if (m_overflowSkipFrom == 0)
            m_overflowSkipFrom = m_overflowDepth;
        return;
    }
    state().destination = destination;
    if (destination == Destination::FontTable)
        m_tables.startFontTable();
    else if (destination == Destination::ColorTable)
        m_tables.startColorTable();
}

void RtfParser::handleWord(const Token& token)
{
    const Destination current = destination();
    if (current == Destination::Skip)
        return;
    const RtfKeywords::Entry* entry = RtfKeywords::find(token.text);
    if (!entry)
        return;
    switch (entry->keyword) {
    case Keyword::SkipDestination:
        setDestination(Destination::Skip);
        return;
    case Keyword::FontTable:
        setDestination(Destination::FontTable);
        return;
    case Keyword::ColorTable:
        setDestination(Destination::ColorTable);
        return;
    case Keyword::Unicode:
        handleUnicode(token);
        return;
    case Keyword::UnicodeSkip:
        if (token.hasParameter && !overflowed())
            state().unicodeSkip = std::clamp(token.parameter, 0, kMaxUnicodeSkip);
        return;
    default:
        break;
    }
    if (current == Destination::Text)
        handleTextWord(*entry, token);
    else if (current == Destination::FontTable)
        m_tables.handleFontTableWord(*entry, token);
    else if (current == Destination::ColorTable)
        m_tables.handleColorTableWord(*entry, token);
}

void RtfParser::handleTextWord(const RtfKeywords::Entry& entry, const Token& token)
{
    switch (entry.keyword) {
    case Keyword::Paragraph:
        emitParagraph();
        return;
    case Keyword::LineBreak:
        emitLineBreak();
        return;
    case Keyword::Character:
        emitCharacter(char32_t(entry.value));
        return;
    case Keyword::DefaultFont:
        if (token.hasParameter)
            m_tables.setDefaultFont(token.parameter);
        return;
    case Keyword::DefaultTab:
        if (token.hasParameter && token.parameter > 0)
            m_builder.setTabStopDistance(std::min(token.parameter, RtfFormatMapper::kMaxTwips)
                / units::TwipsPerStandardPixel);
        return;
    default:
        break;
    }

    // Past the depth limit, formatting would leak out of its group: it is ignored there.
    if (overflowed())
        return;
    RtfFormatMapper::apply(entry, token, state());
}

void RtfParser::handleSymbol(char symbol)
{
    if (destination() == Destination::Skip)
        return;
    switch (symbol) {
    case '*':
        // This reader renders none of the optional destinations.
        setDestination(Destination::Skip);
        break;
    case '~':
        putCharacter(0x00A0);
        break;
    case '-':
        putCharacter(0x00AD);
        break;
    case '_':
        putCharacter(0x2011);
        break;
    case '\\':
    case '{':
    case '}':
        putCharacter(char32_t(symbol));
        break;
    case '\t':
        putCharacter(u'\t');
        break;
    default:
        break;
    }
}

void RtfParser::handleHex(unsigned char byte)
{
    const Destination current = destination();
    if (current == Destination::Text) {
        syncFormats();
        putCharacter(RtfTables::byteCharacters(m_symbolFont)[byte]);
    } else if (current == Destination::FontTable) {
        putCharacter(RtfTables::byteCharacters(false)[byte]);
    }
}

void RtfParser::handleText(std::string_view bytes)
{
    const Destination current = destination();
    if (current == Destination::Skip)
        return;
    int& pending = state().pendingSkip;
    if (pending > 0) {
        const std::size_t skipped = std::min(std::size_t(pending), bytes.size());
        pending -= int(skipped);
        bytes.remove_prefix(skipped);
    }
    if (bytes.empty())
        return;

    if (current == Destination::Text) {
        if (state().character.hidden)
            return;
        flushHighSurrogate();
        syncFormats();
        const RtfTables::ByteCharacters& table = RtfTables::byteCharacters(m_symbolFont);
        m_scratch.resize(qsizetype(bytes.size()));
        char16_t* out = reinterpret_cast<char16_t*>(m_scratch.data());
        qsizetype length = 0;
        for (const char byte : bytes) {
            const char16_t ch = table[static_cast<unsigned char>(byte)];
            out[length] = ch;
            length += ch != 0;
        }
        m_builder.appendText(QStringView(m_scratch).first(length));
    } else if (current == Destination::FontTable) {
        for (const char byte : bytes) {
            if (byte == ';')
                m_tables.finishFont();
            else
                m_tables.appendFontName(
                    RtfTables::byteCharacters(false)[static_cast<unsigned char>(byte)]);
        }
    } else if (current == Destination::ColorTable) {
        for (const char byte : bytes) {
            if (byte == ';')
                m_tables.finishColor();
        }
    }
}

void RtfParser::handleUnicode(const Token& token)
{
    if (!token.hasParameter)
        return;
    // Writers store code units as signed 16-bit numbers.
    qint64 value = token.parameter;
    if (value < 0)
        value += 0x10000;
    state().pendingSkip = state().unicodeSkip;

    if (value >= 0xD800 && value <= 0xDBFF) {
        flushHighSurrogate();
        m_highSurrogate = char16_t(value);
        return;
    }
    char32_t ch = kReplacement;
    if (value >= 0xDC00 && value <= 0xDFFF) {
        if (m_highSurrogate != 0)
            ch = 0x10000 + ((char32_t(m_highSurrogate) - 0xD800) << 10)
                + (char32_t(value) - 0xDC00);
        m_highSurrogate = 0;
    } else if (value >= 0 && value <= 0x10FFFF) {
        ch = char32_t(value);
    }
    putCharacter(ch);
}

void RtfParser::putCharacter(char32_t ch)
{
    const Destination current = destination();
    if (current == Destination::Text)
        emitCharacter(ch);
    else if (current == Destination::FontTable)
        m_tables.appendFontName(ch);
}

void RtfParser::emitCharacter(char32_t ch)
{
    if (ch == 0 || state().character.hidden)
        return;
    flushHighSurrogate();
    syncFormats();
    char16_t units[2];
    qsizetype length = 1;
    if (ch > 0xFFFF) {
        units[0] = QChar::highSurrogate(ch);
        units[1] = QChar::lowSurrogate(ch);
        length = 2;
    } else {
        units[0] = char16_t(ch);
    }
    m_builder.appendText(QStringView(units, length));
}

void RtfParser::emitParagraph()
{
    flushHighSurrogate();
    syncFormats();
    m_builder.endParagraph();
}

void RtfParser::emitLineBreak()
{
    flushHighSurrogate();
    syncFormats();
    m_builder.appendLineBreak();
}

void RtfParser::flushHighSurrogate()
{
    if (m_highSurrogate == 0)
        return;
    m_highSurrogate = 0;
    if (destination() == Destination::Text && !state().character.hidden) {
        syncFormats();
        const char16_t replacement = kReplacement;
        m_builder.appendText(QStringView(&replacement, 1));
    }
}

void RtfParser::syncFormats()
{
    const RtfGroupState& current = m_stack.back();
    if (!m_charSynced || current.character != m_syncedCharacter
        || m_syncedTables != m_tables.revision()) {
        m_charSynced = true;
        m_syncedCharacter = current.character;
        m_syncedTables = m_tables.revision();
        const RtfTables::Font* font = m_tables.font(current.character.font);
        m_symbolFont = font && font->symbol;
        m_builder.setCharFormat(m_formats.charFormat(current.character));
    }
    if (!m_paragraphSynced || current.paragraph != m_syncedParagraph) {
        m_paragraphSynced = true;
        m_syncedParagraph = current.paragraph;
        m_builder.setBlockFormat(RtfFormatMapper::blockFormat(current.paragraph));
    }
}

} // namespace toolkit
