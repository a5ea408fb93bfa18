#pragma once

#include <QtGlobal>

namespace toolkit {

// What one RTF group carries and restores when it ends: the character and paragraph formatting,
// where its text goes, and the state of Unicode fallback skipping.
struct RtfGroupState {
    enum class Destination {
        Text, // shown
        Skip, // read for its braces only
        FontTable,
        ColorTable,
    };
    enum class Underline { None, Single, Dotted, Dashed, Wave };
    enum class VerticalAlign { Normal, Superscript, Subscript };
    enum class Align { Left, Center, Right, Justify };

    static constexpr int kDefaultFontSize = 24; // half-points
    static constexpr int kAuto = -1; // colour or font index meaning "the default"

    struct Character {
        int font = kAuto;
        int fontSize = kDefaultFontSize;
        int foreground = kAuto;
        int background = kAuto;
        bool bold = false;
        bool italic = false;
        bool strike = false;
        bool hidden = false;
        Underline underline = Underline::None;
        VerticalAlign verticalAlign = VerticalAlign::Normal;

        bool operator==(const Character&) const = default;
    };

    // Lengths in twips.
    struct Paragraph {
        Align align = Align::Left;
        int leftIndent = 0;
        int rightIndent = 0;
        int firstIndent = 0;
        int spaceBefore = 0;
        int spaceAfter = 0;

        bool operator==(const Paragraph&) const = default;
    };

    Character character;
    Paragraph paragraph;
    Destination destination = Destination::Text;
    int unicodeSkip = 1; // \uc: fallback characters after each \u
    int pendingSkip = 0; // fallback characters still to drop in this group

    // \plain: character formatting back to defaults (font kAuto is the document's default font).
    void resetCharacter();
    // \pard
    void resetParagraph();
};

} // namespace toolkit
