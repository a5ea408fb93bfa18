#pragma once

#include <string_view>

namespace toolkit {

// The control words the reader acts on. Words not listed here are ignored.
class RtfKeywords {
public:
    enum class Keyword {
        SkipDestination, // a group whose content is never shown
        FontTable,
        ColorTable,
        DefaultFont,
        DefaultTab,
        Plain,
        Font,
        FontSize,
        Foreground,
        Background,
        Highlight,
        Bold,
        Italic,
        Strike,
        Hidden,
        Underline, // value: RtfGroupState::Underline
        UnderlineNone,
        VerticalAlign, // value: RtfGroupState::VerticalAlign
        Pard,
        Align, // value: RtfGroupState::Align
        LeftIndent,
        RightIndent,
        FirstIndent,
        SpaceBefore,
        SpaceAfter,
        Paragraph,
        LineBreak,
        Character, // value: the UTF-16 character
        Unicode,
        UnicodeSkip,
        FontFamily, // value: QFont::StyleHint
        FontCharset,
        Red,
        Green,
        Blue,
    };

    struct Entry {
        std::string_view name;
        Keyword keyword;
        int value;
    };

    // The entry of a control word, or nullptr.
    static const Entry* find(std::string_view word);
};

} // namespace toolkit
