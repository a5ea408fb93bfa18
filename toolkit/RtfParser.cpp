#include "toolkit/RtfParser.h"

#include "toolkit/Cp1252.h"
#include "toolkit/RtfDocumentBuilder.h"
#include "toolkit/Twips.h"

#include <QBrush>
#include <algorithm>
#include <array>

namespace toolkit {

namespace {

    using Keyword = RtfKeywords::Keyword;
    using ByteTable = std::array<char16_t, 256>;

    constexpr double kTwipsPerPixel = Twips::PerStandardPixel;
    constexpr std::size_t kFormatCacheSize = 64;
    constexpr char16_t kReplacement = 0xFFFD;

    // Control bytes other than the tab map to 0 and are dropped.
    ByteTable makeTable(bool symbol)
    {
        ByteTable table {};
        for (int byte = 0; byte < 256; ++byte) {
            if (byte < 0x20 && byte != '\t')
                table[std::size_t(byte)] = 0;
            else if (symbol)
                table[std::size_t(byte)] = char16_t(byte);
            else
                table[std::size_t(byte)]
                    = Cp1252::toUnicode(static_cast<unsigned char>(byte)).unicode();
        }
        return table;
    }

    const ByteTable& codePageTable()
    {
        static const ByteTable table = makeTable(false);
        return table;
    }

    const ByteTable& symbolTable()
    {
        static const ByteTable table = makeTable(true);
        return table;
    }

    int clampTwips(const RtfLexer::Token& token, int low)
    {
        return std::clamp(token.parameter, low, RtfParser::kMaxTwips);
    }

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
            finishFont();
        return;
    }
    if (m_stack.size() <= 1)
        return; // a stray closing brace before the document's group
    const Destination leaving = m_stack.back().destination;
    m_stack.pop_back();
    if (leaving == Destination::FontTable)
        finishFont();
    else if (leaving == Destination::ColorTable && m_colorSet
        && m_stack.back().destination != Destination::ColorTable)
        finishColor(); // the last colour often lacks its semicolon
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
    if (destination == Destination::FontTable) {
        m_fontOpen = false;
    } else if (destination == Destination::ColorTable) {
        m_colors.clear();
        m_colorSet = false;
        m_red = m_green = m_blue = 0;
        tablesChanged();
    }
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
        handleFontTableWord(*entry, token);
    else if (current == Destination::ColorTable)
        handleColorTableWord(*entry, token);
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
        if (token.hasParameter) {
            m_defaultFont = token.parameter;
            tablesChanged();
        }
        return;
    case Keyword::DefaultTab:
        if (token.hasParameter && token.parameter > 0)
            m_builder.setTabStopDistance(std::min(token.parameter, kMaxTwips) / kTwipsPerPixel);
        return;
    default:
        break;
    }

    // Past the depth limit, formatting would leak out of its group: it is ignored there.
    if (overflowed())
        return;
    RtfGroupState::Character& ch = state().character;
    RtfGroupState::Paragraph& para = state().paragraph;
    const bool on = !token.hasParameter || token.parameter != 0;
    const int value = token.hasParameter ? token.parameter : 0;
    switch (entry.keyword) {
    case Keyword::Plain:
        state().resetCharacter();
        break;
    case Keyword::Font:
        if (token.hasParameter)
            ch.font = value;
        break;
    case Keyword::FontSize:
        if (token.hasParameter)
            ch.fontSize
                = value > 0 ? std::min(value, kMaxFontSize) : RtfGroupState::kDefaultFontSize;
        break;
    case Keyword::Foreground:
        ch.foreground = value >= 0 ? value : RtfGroupState::kAuto;
        break;
    case Keyword::Background:
    case Keyword::Highlight:
        ch.background = value > 0 ? value : RtfGroupState::kAuto;
        break;
    case Keyword::Bold:
        ch.bold = on;
        break;
    case Keyword::Italic:
        ch.italic = on;
        break;
    case Keyword::Strike:
        ch.strike = on;
        break;
    case Keyword::Hidden:
        ch.hidden = on;
        break;
    case Keyword::Underline:
        ch.underline = on ? RtfGroupState::Underline(entry.value) : RtfGroupState::Underline::None;
        break;
    case Keyword::UnderlineNone:
        ch.underline = RtfGroupState::Underline::None;
        break;
    case Keyword::VerticalAlign:
        ch.verticalAlign = RtfGroupState::VerticalAlign(entry.value);
        break;
    case Keyword::Pard:
        state().resetParagraph();
        break;
    case Keyword::Align:
        para.align = RtfGroupState::Align(entry.value);
        break;
    case Keyword::LeftIndent:
        para.leftIndent = clampTwips(token, 0);
        break;
    case Keyword::RightIndent:
        para.rightIndent = clampTwips(token, 0);
        break;
    case Keyword::FirstIndent:
        para.firstIndent = clampTwips(token, -kMaxTwips);
        break;
    case Keyword::SpaceBefore:
        para.spaceBefore = clampTwips(token, 0);
        break;
    case Keyword::SpaceAfter:
        para.spaceAfter = clampTwips(token, 0);
        break;
    default:
        break;
    }
}

void RtfParser::handleFontTableWord(const RtfKeywords::Entry& entry, const Token& token)
{
    switch (entry.keyword) {
    case Keyword::Font:
        if (token.hasParameter)
            startFont(token.parameter);
        break;
    case Keyword::FontFamily:
        if (m_fontOpen)
            m_font.hint = QFont::StyleHint(entry.value);
        break;
    case Keyword::FontCharset:
        if (m_fontOpen)
            m_font.symbol = token.parameter == 2;
        break;
    default:
        break;
    }
}

void RtfParser::handleColorTableWord(const RtfKeywords::Entry& entry, const Token& token)
{
    const int component = std::clamp(token.parameter, 0, 255);
    switch (entry.keyword) {
    case Keyword::Red:
        m_red = component;
        break;
    case Keyword::Green:
        m_green = component;
        break;
    case Keyword::Blue:
        m_blue = component;
        break;
    default:
        return;
    }
    m_colorSet = true;
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
        putCharacter((m_symbolFont ? symbolTable() : codePageTable())[byte]);
    } else if (current == Destination::FontTable) {
        putCharacter(codePageTable()[byte]);
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
        const ByteTable& table = m_symbolFont ? symbolTable() : codePageTable();
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
                finishFont();
            else
                appendFontName(codePageTable()[static_cast<unsigned char>(byte)]);
        }
    } else if (current == Destination::ColorTable) {
        for (const char byte : bytes) {
            if (byte == ';')
                finishColor();
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
        appendFontName(ch);
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
    if (!m_charSynced || current.character != m_syncedCharacter) {
        m_charSynced = true;
        m_syncedCharacter = current.character;
        const Font* font = resolveFont(current.character.font);
        m_symbolFont = font && font->symbol;
        auto cached = std::find_if(m_formatCache.begin(), m_formatCache.end(),
            [&](const auto& entry) { return entry.first == current.character; });
        if (cached == m_formatCache.end()) {
            std::pair entry { current.character, charFormat(current.character) };
            if (m_formatCache.size() < kFormatCacheSize) {
                m_formatCache.push_back(std::move(entry));
                cached = m_formatCache.end() - 1;
            } else {
                cached = m_formatCache.begin() + std::ptrdiff_t(m_nextCacheSlot);
                *cached = std::move(entry);
                m_nextCacheSlot = (m_nextCacheSlot + 1) % kFormatCacheSize;
            }
        }
        m_builder.setCharFormat(cached->second);
    }
    if (!m_paragraphSynced || current.paragraph != m_syncedParagraph) {
        m_paragraphSynced = true;
        m_syncedParagraph = current.paragraph;
        m_builder.setBlockFormat(blockFormat(current.paragraph));
    }
}

void RtfParser::startFont(int index)
{
    finishFont();
    if (m_fonts.size() >= kMaxTableEntries && !m_fonts.contains(index))
        return;
    m_fontOpen = true;
    m_fontIndex = index;
    m_font = Font {};
}

void RtfParser::finishFont()
{
    if (!m_fontOpen)
        return;
    m_fontOpen = false;
    m_font.name = m_font.name.trimmed();
    m_fonts.insert(m_fontIndex, std::move(m_font));
    m_font = Font {};
    tablesChanged();
}

void RtfParser::appendFontName(char32_t ch)
{
    if (!m_fontOpen || ch < 0x20 || m_font.name.size() >= kMaxFontNameLength)
        return;
    if (ch > 0xFFFF)
        ch = kReplacement; // no font is named with such characters
    m_font.name.append(QChar(char16_t(ch)));
}

void RtfParser::finishColor()
{
    if (int(m_colors.size()) < kMaxTableEntries)
        m_colors.push_back(m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
    m_colorSet = false;
    m_red = m_green = m_blue = 0;
    tablesChanged();
}

void RtfParser::tablesChanged()
{
    m_formatCache.clear();
    m_nextCacheSlot = 0;
    m_charSynced = false;
}

// An index missing from the font table keeps the document's default font.
const RtfParser::Font* RtfParser::resolveFont(int index) const
{
    if (index != RtfGroupState::kAuto) {
        const auto it = m_fonts.constFind(index);
        if (it != m_fonts.constEnd())
            return &*it;
    }
    const auto it = m_fonts.constFind(m_defaultFont);
    return it != m_fonts.constEnd() ? &*it : nullptr;
}

QColor RtfParser::color(int index) const
{
    if (index < 0 || index >= int(m_colors.size()))
        return QColor();
    return m_colors[std::size_t(index)];
}

QTextCharFormat RtfParser::charFormat(const RtfGroupState::Character& character) const
{
    QTextCharFormat format;
    if (const Font* font = resolveFont(character.font); font && !font->name.isEmpty()) {
        // The name is kept even when the font is not installed: the font system substitutes it.
        format.setFontFamilies(QStringList { font->name });
        format.setFontStyleHint(font->hint);
    }
    format.setFontPointSize(character.fontSize / 2.0);
    if (character.bold)
        format.setFontWeight(QFont::Bold);
    if (character.italic)
        format.setFontItalic(true);
    if (character.strike)
        format.setFontStrikeOut(true);
    switch (character.underline) {
    case RtfGroupState::Underline::None:
        break;
    case RtfGroupState::Underline::Single:
        format.setFontUnderline(true);
        break;
    case RtfGroupState::Underline::Dotted:
        format.setUnderlineStyle(QTextCharFormat::DotLine);
        break;
    case RtfGroupState::Underline::Dashed:
        format.setUnderlineStyle(QTextCharFormat::DashUnderline);
        break;
    case RtfGroupState::Underline::Wave:
        format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        break;
    }
    if (character.verticalAlign == RtfGroupState::VerticalAlign::Superscript)
        format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (character.verticalAlign == RtfGroupState::VerticalAlign::Subscript)
        format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (const QColor foreground = color(character.foreground); foreground.isValid())
        format.setForeground(foreground);
    if (const QColor background = color(character.background); background.isValid())
        format.setBackground(background);
    return format;
}

QTextBlockFormat RtfParser::blockFormat(const RtfGroupState::Paragraph& paragraph)
{
    QTextBlockFormat format;
    switch (paragraph.align) {
    case RtfGroupState::Align::Left:
        format.setAlignment(Qt::AlignLeft);
        break;
    case RtfGroupState::Align::Center:
        format.setAlignment(Qt::AlignHCenter);
        break;
    case RtfGroupState::Align::Right:
        format.setAlignment(Qt::AlignRight);
        break;
    case RtfGroupState::Align::Justify:
        format.setAlignment(Qt::AlignJustify);
        break;
    }
    if (paragraph.leftIndent != 0)
        format.setLeftMargin(paragraph.leftIndent / kTwipsPerPixel);
    if (paragraph.rightIndent != 0)
        format.setRightMargin(paragraph.rightIndent / kTwipsPerPixel);
    if (paragraph.firstIndent != 0)
        format.setTextIndent(paragraph.firstIndent / kTwipsPerPixel);
    if (paragraph.spaceBefore != 0)
        format.setTopMargin(paragraph.spaceBefore / kTwipsPerPixel);
    if (paragraph.spaceAfter != 0)
        format.setBottomMargin(paragraph.spaceAfter / kTwipsPerPixel);
    return format;
}

} // namespace toolkit
