#include "toolkit/rtf/RtfFormatMapper.h"

#include "toolkit/rtf/RtfTables.h"

#include <QBrush>
#include <algorithm>

namespace toolkit {

namespace {

    using Keyword = RtfKeywords::Keyword;

    constexpr std::size_t kFormatCacheSize = 64;

    int clampTwips(const RtfLexer::Token& token, int low)
    {
        return std::clamp(token.parameter, low, RtfFormatMapper::kMaxTwips);
    }

} // namespace

RtfFormatMapper::RtfFormatMapper(const RtfTables& tables)
    : m_tables(tables)
    , m_cacheRevision(tables.revision())
{
}

void RtfFormatMapper::apply(
    const RtfKeywords::Entry& entry, const RtfLexer::Token& token, RtfGroupState& state)
{
    RtfGroupState::Character& ch = state.character;
    RtfGroupState::Paragraph& para = state.paragraph;
    const bool on = !token.hasParameter || token.parameter != 0;
    const int value = token.hasParameter ? token.parameter : 0;
    switch (entry.keyword) {
    case Keyword::Plain:
        state.resetCharacter();
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
        state.resetParagraph();
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

const QTextCharFormat& RtfFormatMapper::charFormat(const RtfGroupState::Character& character)
{
    if (m_cacheRevision != m_tables.revision()) {
        m_cache.clear();
        m_nextCacheSlot = 0;
        m_cacheRevision = m_tables.revision();
    }
    auto cached = std::find_if(m_cache.begin(), m_cache.end(),
        [&](const auto& entry) { return entry.first == character; });
    if (cached != m_cache.end())
        return cached->second;
    std::pair entry { character, buildCharFormat(character) };
    if (m_cache.size() < kFormatCacheSize) {
        m_cache.push_back(std::move(entry));
        return m_cache.back().second;
    }
    cached = m_cache.begin() + std::ptrdiff_t(m_nextCacheSlot);
    *cached = std::move(entry);
    m_nextCacheSlot = (m_nextCacheSlot + 1) % kFormatCacheSize;
    return cached->second;
}

QTextCharFormat RtfFormatMapper::buildCharFormat(const RtfGroupState::Character& character) const
{
    QTextCharFormat format;
    if (const RtfTables::Font* font = m_tables.font(character.font);
        font && !font->name.isEmpty()) {
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
    if (const QColor foreground = m_tables.color(character.foreground); foreground.isValid())
        format.setForeground(foreground);
    if (const QColor background = m_tables.color(character.background); background.isValid())
        format.setBackground(background);
    return format;
}

QTextBlockFormat RtfFormatMapper::blockFormat(const RtfGroupState::Paragraph& paragraph)
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
        format.setLeftMargin(paragraph.leftIndent / units::TwipsPerStandardPixel);
    if (paragraph.rightIndent != 0)
        format.setRightMargin(paragraph.rightIndent / units::TwipsPerStandardPixel);
    if (paragraph.firstIndent != 0)
        format.setTextIndent(paragraph.firstIndent / units::TwipsPerStandardPixel);
    if (paragraph.spaceBefore != 0)
        format.setTopMargin(paragraph.spaceBefore / units::TwipsPerStandardPixel);
    if (paragraph.spaceAfter != 0)
        format.setBottomMargin(paragraph.spaceAfter / units::TwipsPerStandardPixel);
    return format;
}

} // namespace toolkit
