#include "toolkit/rtf/RtfReader.h"

#include "tests/support/Text.h"
#include "toolkit/rtf/PlainTextReader.h"
#include "toolkit/rtf/RtfLimits.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

using toolkit::RtfLimits;
using toolkit::RtfReader;
using namespace Qt::StringLiterals;

namespace {

const QString kNotice = u"[cut short]"_s;

// Each paragraph as "[its format] run{its format} run", paragraphs joined by " / ", the notice as
// its text alone. A format lists only what differs from the default. Runs: family unless Arial,
// style hint h, points unless 12, b i u<style> s, fg and bg colours. Paragraphs: c r j unless
// left, then the Left and Right margins, first-line Indent, Top and Bottom spacing, in pixels.
QString describe(const QTextDocument& document)
{
    const auto n = [](double value) { return QString::number(value); };
    const auto tag = [](bool set, const QString& text) { return set ? text : QString(); };
    const auto px = [&](QChar name, double pixels) { return tag(pixels != 0, name + n(pixels)); };
    const auto bracketed = [](QStringList tags, QChar open, QChar close) {
        tags.removeAll(QString());
        return tags.isEmpty() ? QString() : open + tags.join(u' ') + close;
    };
    QStringList paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text() == kNotice) {
            paragraphs += kNotice;
            continue;
        }
        const QTextBlockFormat b = block.blockFormat();
        const Qt::Alignment align = b.alignment() & Qt::AlignHorizontal_Mask;
        QStringList runs = { bracketed(
            { tag(align == Qt::AlignHCenter, u"c"_s), tag(align == Qt::AlignRight, u"r"_s),
                tag(align == Qt::AlignJustify, u"j"_s), px(u'L', b.leftMargin()),
                px(u'R', b.rightMargin()), px(u'I', b.textIndent()), px(u'T', b.topMargin()),
                px(u'B', b.bottomMargin()) },
            u'[', u']') };
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const QString family = f.font().families().value(0, u"?"_s);
            runs += it.fragment().text()
                + bracketed(
                    { tag(family != u"Arial", family),
                        tag(f.fontStyleHint() != QFont::AnyStyle, u'h' + n(f.fontStyleHint())),
                        tag(f.fontPointSize() != 12, n(f.fontPointSize())),
                        tag(f.fontWeight() == QFont::Bold, u"b"_s), tag(f.fontItalic(), u"i"_s),
                        tag(f.underlineStyle(), u'u' + n(f.underlineStyle())),
                        tag(f.fontStrikeOut(), u"s"_s),
                        tag(f.foreground().style(), u"fg"_s + f.foreground().color().name()),
                        tag(f.background().style(), u"bg"_s + f.background().color().name()) },
                    u'{', u'}');
        }
        runs.removeAll(QString());
        paragraphs += runs.join(u' ');
    }
    return paragraphs.join(u" / ");
}

// Bodies are read inside this document; the last font and colour lack their semicolons, as
// writers often leave them.
const QByteArray kHead = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\froman Times New "
                         "Roman;}{\\f3\\fcharset2 Symbol;}{\\f4 Caf\\'e9 Sans}}{\\colortbl;"
                         "\\red255\\green0\\blue0;\\red0\\green128\\blue0}";

QByteArray times(const char* part, int count) { return QByteArray(part).repeated(count); }

struct Reading {
    const char* name;
    QByteArray body; // a whole document when it holds "{\rtf"
    QString described;
    RtfLimits limits = {};
};

// What each body reads as, with the program's limits unless the row sets smaller ones.
// clang-format off
const Reading kReadings[] = {
    // Fonts, colours, paragraphs and characters as writers use them.
    { "FontsByNumberAnUnknownOneIsTheDefault", "x\\f1 y\\f99 z\\f4 w", u"x y{Times New Roman h1} z w{Caf\u00e9 Sans}"_s },
    { "FontTableWithoutGroupsAndStyleHints", "{\\fonttbl\\f5\\fmodern Mono;\\f6\\fscript Brush;{\\f7 Courier{\\*\\falt C};}}\\f5 m\\f6 b\\f7 c", u"m{Mono h7} b{Brush h6} c{Courier}"_s },
    { "FontSizesClamped", "\\fs28 a\\fs17 b\\fs99999 c\\fs0 d\\fs40\\fs-40 e", u"a{14} b{8.5} c{1638} de"_s },
    { "StylesOnOffAndPlain", "\\b\\i\\ul\\strike a\\b0\\i0\\ul0\\strike0 b{\\b\\i\\ul c}d\\ul e\\ulnone f\\uld g\\ulwave h\\f1\\fs40\\b\\i\\ul\\strike\\cf1\\cb2\\plain i", u"a{b i u1 s} b c{b i u1} d e{u1} f g{u3} h{u6} i"_s },
    { "ColoursAndHighlights", "\\cf1 a\\cf2 b\\cf0 c\\cf9 d\\cb2 e\\highlight1 f\\highlight0 g", u"a{fg#ff0000} b{fg#008000} cd e{bg#008000} f{bg#ff0000} g"_s },
    { "ParagraphTakesTheFormatSetLastAndPassesItOn", "\\li1440\\ri720\\fi-360\\sb240\\sa120 a\\par\\li99999999\\ri-5\\fi-99999999\\sb-20 b", u"[L96 R48 I-24 T16 B8] a / [L2112 I-2112 B8] b"_s },
    { "AlignmentsAndPard", "\\qc\\li1440\\pard a\\par b\\qr\\par\\qj c\\par d\\par\\qc e\\par\\ql f", u"a / [r] b / [j] c / [j] d / [c] e / f"_s },
    { "BreaksLineEndsAndControlCharacters", "a\\par\\par b\\sect c\\page d\\\r\ne\r\nf\rg\nh\\line i\\tab j\tk\x01\x7fl\\par", u"a /  / b / c / d / efgh\u2028i\tj\tkl"_s },
    { "WesternCodePageBytes", "caf\\'e9 \\'80\\'C9 caf\xe9", u"caf\u00e9 \u20ac\u00c9 caf\u00e9"_s },
    { "SymbolFontBytes", "{\\f3 \\'61\\'80\\'e9}\\'80", u"a\u00e9{Symbol} \u20ac"_s },
    { "UnicodeFallbacksSkipped", "\\u233?\\u233\\'e9x{\\uc2\\u233 ab}\\u233 cd\\uc0\\u233 z", u"\u00e9\u00e9x\u00e9\u00e9d\u00e9z"_s },
    { "FallbackSkipEndsWithItsGroup", "{\\uc3 \\u233 a{b}c}{\\uc2\\u233}xy{\\uc2\\u233\\b\\i zw}", u"\u00e9bc\u00e9xy\u00e9zw"_s },
    { "SurrogatePairsAndInvalidCodePoints", "\\u-3913?\\u-10179?\\u-8704?\\u-10179?x\\u-8704?y\\u-70000?\\u64976?\\u65532?\\u8233?\\u13?\\u-10179?", u"\uf0b7\U0001F600\ufffdx\ufffdy\ufffd\ufffd\ufffd\u2028\u2028\ufffd"_s },
    { "EscapedCharacters", "a\\~b\\-c\\_d\\{\\}\\\\}{e}", u"a\u00a0b\u00adc\u2011d{}\\"_s },
    { "DestinationsNotShown", "{\\*\\unknown z{z}}{\\info T}{\\stylesheet{\\s0 N;}}{\\pict 0a0b}{\\header h}a{\\v hidden}b\\bin3 {}\\c", u"abc"_s },
    { "FieldShowsItsResult", "{\\field{\\fldinst HYPERLINK \"http://a\"}{\\fldrslt\\b x}}", u"x{b}"_s },
    { "TableCellsAsTabs", "\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row c", u"a\tb\t / c"_s },
    // Damaged or hostile input, read as far as it makes sense (the fuzz corpus replay guards
    // against crashes; these rows pin what is shown).
    { "StrayClosingBracesAndTextAfterTheDocument", "}}}" + kHead + "a}}}b", u"a"_s },
    { "PastTheDepthLimitFormatsAndDestinationsStayInside", times("{", 3000) + "{\\*\\x z}{\\b\\fs99 a}w" + times("}", 3000) + "v", u"awv"_s },
    { "LongControlWordWithItsDigits", "\\" + times("a", 100) + times("7", 50) + " x", u"x"_s },
    { "HugeParametersSaturate", "\\u9999999999 x\\fs99999999999999999999 y", u"\ufffd y{1638}"_s },
    { "MalformedOrCutShortHexDropped", kHead + "a\\'4g b\\'4", u"ag b"_s },
    { "BinaryDataWithinTheInput", "a{\\bin2 }}b}c\\bin-5 d\\bin e\\bin999999999 fg", u"abcde"_s },
    // Small limits, one bound each: at a 12-point size a line is 20 pixels tall and 9.6 pixels
    // per character wide, in a 200-pixel reference width. A paragraph that fits ends; the notice
    // starts a new one.
    { "InputSize", "abcdef", u"abc / [cut short]"_s, { .maxInputSize = kHead.size() + 3 } },
    { "CharactersWithALineBreak", "ab\\line cdef", u"ab\u2028cd / [cut short]"_s, { .maxCharacters = 5 } },
    { "Paragraphs", "a\\par b\\par c\\par d\\par e", u"a / b / c / d / [cut short]"_s, { .maxParagraphs = 3 } },
    { "Runs", "{\\b a}{\\i b}{\\ul c}{\\b d}", u"a{b} b{i} c{u1} / [cut short]"_s, { .maxRuns = 3 } },
    { "Fonts", "a{\\fs20 b}{\\fs22 c}", u"a b{10} / [cut short]"_s, { .maxFonts = 3 } },
    { "HeightOfLineBreaks", "a\\line b\\line c\\line d", u"a\u2028b\u2028c / [cut short]"_s, { .maxHeight = 60.0 } },
    { "HeightOfLinesWrappedBetweenMargins", "\\li1500 abcdefghijklmnop", u"[L100] abcdefghij / [cut short]"_s, { .maxHeight = 20.0 } },
    { "HeightOfParagraphsWithTheirSpacing", "\\sa300 a\\par b\\par c", u"[B20] a / [B20] / [cut short]"_s, { .maxHeight = 60.0 } },
    { "UnbrokenRun", "abcdefg hijk", u"abc\u200bdef\u200bg hij\u200bk"_s, { .maxUnbrokenRun = 3 } },
};
// clang-format on

TEST(RtfReaderTest, ReadsTextAndFormatsWithinItsLimits)
{
    QTextDocument document; // shared: each read must replace what the previous one built
    for (const Reading& r : kReadings) {
        SCOPED_TRACE(r.name);
        const QByteArray rtf = r.body.contains("{\\rtf") ? r.body : kHead + r.body + '}';
        const bool complete = RtfReader::read(rtf, document, kNotice, r.limits);
        EXPECT_EQ(describe(document), r.described);
        EXPECT_EQ(complete, !r.described.endsWith(kNotice));
    }
    EXPECT_TRUE(document.isUndoRedoEnabled());
    EXPECT_FALSE(document.isUndoAvailable());
}

// The program's own limits stop a document well before it is too tall for Qt's layout to finish.
TEST(RtfReaderTest, DefaultLimitsKeepTheLayoutFinishing)
{
    QTextDocument document;
    const QByteArray tallLines = "{\\rtf1\\fs32767 x" + times("\\line ", 20000) + '}';
    EXPECT_FALSE(RtfReader::read(tallLines, document, kNotice));
    document.setTextWidth(600);
    EXPECT_LT(document.documentLayout()->documentSize().height(), 8e6);
}

// Plain text: each line a paragraph, whatever its line ends, and a line longer than a paragraph
// may be split into several, after a blank where there is one and never inside a character;
// nothing is lost or changed.
TEST(PlainTextTest, LinesBecomeParagraphsOfBoundedLength)
{
    using toolkit::PlainTextReader;
    const QString words = u"mot "_s.repeated(PlainTextReader::MaxParagraph); // 4 paragraphs
    const QString letters(PlainTextReader::MaxParagraph * 2, u'x'); // 2
    const QString emoji = QString(PlainTextReader::MaxParagraph - 1, u'x') + u"😀y"_s; // 2
    struct Case {
        const char* name;
        QString text;
        int paragraphs;
    };
    // clang-format off
    const Case cases[] = {
        { "every kind of line end", u"a\r\nb\rc\nd"_s, 4 },
        { "an empty line stays", u"a\n\nb"_s, 3 },
        { "a long line of words splits after blanks", words, 4 },
        { "a long line without blanks splits where it must", letters, 2 },
        { "a character is never cut in two", emoji, 2 },
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument document;
        PlainTextReader::read(c.text, document, QString());
        EXPECT_EQ(document.blockCount(), c.paragraphs);
        QString joined;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            const QString text = block.text().remove(QChar(0x200B)); // the builder's breaks
            EXPECT_LE(text.size(), PlainTextReader::MaxParagraph);
            joined += text;
        }
        EXPECT_EQ(joined, QString(c.text).remove(u'\r').remove(u'\n'));
    }
}

} // namespace
