#include "toolkit/rtf/RtfTables.h"

#include "toolkit/codepage/Cp1252.h"

#include <algorithm>

namespace toolkit {

namespace {

    using Keyword = RtfKeywords::Keyword;

    RtfTables::ByteCharacters makeByteCharacters(bool symbol)
    {
        RtfTables::ByteCharacters table {};
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

} // namespace

const RtfTables::ByteCharacters& RtfTables::byteCharacters(bool symbolFont)
{
    static const ByteCharacters codePage = makeByteCharacters(false);
    static const ByteCharacters symbol = makeByteCharacters(true);
    return symbolFont ? symbol : codePage;
}

void RtfTables::setDefaultFont(int index)
{
    m_defaultFont = index;
    ++m_revision;
}

void RtfTables::handleFontTableWord(const RtfKeywords::Entry& entry, const RtfLexer::Token& token)
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

void RtfTables::startFont(int index)
{
    finishFont();
    if (m_fonts.size() >= kMaxTableEntries && !m_fonts.contains(index))
        return;
    m_fontOpen = true;
    m_fontIndex = index;
    m_font = Font {};
}

void RtfTables::appendFontName(char32_t ch)
{
    if (!m_fontOpen || ch < 0x20 || m_font.name.size() >= kMaxFontNameLength)
        return;
    if (ch > 0xFFFF)
        ch = 0xFFFD; // no font is named with such characters
    m_font.name.append(QChar(char16_t(ch)));
}

void RtfTables::finishFont()
{
    if (!m_fontOpen)
        return;
    m_fontOpen = false;
    m_font.name = m_font.name.trimmed();
    m_fonts.insert(m_fontIndex, std::move(m_font));
    m_font = Font {};
    ++m_revision;
}

void RtfTables::startColorTable()
{
    m_colors.clear();
    m_colorSet = false;
    m_red = m_green = m_blue = 0;
    ++m_revision;
}

void RtfTables::handleColorTableWord(const RtfKeywords::Entry& entry, const RtfLexer::Token& token)
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

void RtfTables::finishColor()
{
    if (int(m_colors.size()) < kMaxTableEntries)
        m_colors.push_back(m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
    m_colorSet = false;
    m_red = m_green = m_blue = 0;
    ++m_revision;
}

const RtfTables::Font* RtfTables::font(int index) const
{
    if (index != RtfGroupState::kAuto) {
        const auto it = m_fonts.constFind(index);
        if (it != m_fonts.constEnd())
            return &*it;
    }
    const auto it = m_fonts.constFind(m_defaultFont);
    return it != m_fonts.constEnd() ? &*it : nullptr;
}

QColor RtfTables::color(int index) const
{
    if (index < 0 || index >= int(m_colors.size()))
        return QColor();
    return m_colors[std::size_t(index)];
}

} // namespace toolkit
