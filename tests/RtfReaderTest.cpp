#include "toolkit/rtf/RtfReader.h"

#include "tests/support/Text.h"
#include "toolkit/rtf/PlainTextReader.h"
#include "toolkit/rtf/RtfDocumentBuilder.h"
#include "toolkit/rtf/RtfLimits.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>
#include <optional>
#include <random>

using toolkit::RtfLimits;
using toolkit::RtfReader;
using namespace Qt::StringLiterals;

namespace {

// Each paragraph as "[its format] run{its format} run", paragraphs joined by " / ". A format
// lists only what differs from the default. Runs: family unless Arial, style hint h, points unless
// 12, b i u<style> s, fg and bg colours. Paragraphs: c r j unless left, then the Left and Right
// margins, first-line Indent, Top and Bottom spacing, in pixels.
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

// A document with most of what a word processor writes.
QByteArray realisticDocument()
{
    const QByteArray paragraph
        = "\\pard\\qj\\li360\\fi-180\\f0\\fs20\\cf0 Le convertisseur affiche l'\\'e9quivalent en "
          "{\\b francs} et en {\\i euros} \\u8364?, {\\ul soulign\\'e9}, {\\cf2\\highlight1 "
          "color\\'e9}\\tab{\\f2\\'b7}\\line suite {\\field{\\*\\fldinst HYPERLINK "
          "\"http://exemple\"}{\\fldrslt lien}}.\\par\r\n";
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fcharset0 "
           "Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\ftech\\fcharset2 Symbol;}"
           "{\\f3\\fmodern Courier New{\\*\\falt Courier};}}\r\n{\\colortbl ;\\red128\\green0"
           "\\blue0;\\red0\\green0\\blue255;}\r\n{\\stylesheet{\\s0 Normal;}{\\s1\\b\\fs32 "
           "heading 1;}}{\\info{\\title Aide}{\\author Quilmar}{\\creatim\\yr2001\\mo1}}\r\n"
           "{\\*\\generator Quilmar 1.00;}\\viewkind4\\uc1\r\n\\pard\\qc\\sb120\\sa120\\f1\\fs32"
           "\\cf1\\b Aide Quilmar\\b0\\par\r\n"
        + paragraph.repeated(8)
        + "\\trowd\\cellx2000\\cellx4000\\intbl Euro\\cell Franc\\cell\\row\r\n{\\pict\\wmetafile8"
          "\\picw100\\pich100 0100090000036e00000000004500000000000000}{\\*\\bkmkstart fin}\\pard"
          "\\f3 fin{\\*\\bkmkend fin}\\par}\r\n";
}

TEST(RtfReaderTest, RendersTextAndFormats)
{
    // The last font and colour lack their semicolons, as writers often leave them.
    const QByteArray head = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}{\\f1\\froman Times New "
                            "Roman;}{\\f3\\fcharset2 Symbol;}{\\f4 Caf\\'e9 Sans}}{\\colortbl;"
                            "\\red255\\green0\\blue0;\\red0\\green128\\blue0}";
    // Bodies go inside head's document unless they are whole documents.
    const std::pair<QByteArray, QString> cases[] = {
        // The help window's designed heading, exactly as the form stores it (CR LF line ends).
        { "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}{\\f1\\froman"
          "\\fcharset2 Symbol;}{\\f2\\froman Times New Roman;}}\r\n{\\colortbl\\red0\\green0"
          "\\blue0;\\red128\\green0\\blue0;}\r\n\\deflang1036\\pard\\plain\\f2\\fs28\\cf1\\b\\ul "
          "Aide Quilmar\r\n\\par }\r\n",
            u"Aide Quilmar{Times New Roman h1 14 b u1 fg#800000}"_s },
        { "x\\f1 y\\f99 z\\f4 w", u"x y{Times New Roman h1} z w{Caf\u00e9 Sans}"_s },
        { "{\\fonttbl\\f5\\fmodern Mono;\\f6\\fscript Brush;{\\f7 Courier{\\*\\falt C};}}"
          "\\f5 m\\f6 b\\f7 c",
            u"m{Mono h7} b{Brush h6} c{Courier}"_s },
        { "\\fs28 a\\fs17 b\\fs99999 c\\fs0 d\\fs40\\fs-40 e", u"a{14} b{8.5} c{1638} de"_s },
        { "\\b\\i\\ul\\strike a\\b0\\i0\\ul0\\strike0 b{\\b\\i\\ul c}d\\ul e\\ulnone f\\uld g"
          "\\ulwave h\\f1\\fs40\\b\\i\\ul\\strike\\cf1\\cb2\\plain i",
            u"a{b i u1 s} b c{b i u1} d e{u1} f g{u3} h{u6} i"_s },
        { "\\cf1 a\\cf2 b\\cf0 c\\cf9 d\\cb2 e\\highlight1 f\\highlight0 g",
            u"a{fg#ff0000} b{fg#008000} cd e{bg#008000} f{bg#ff0000} g"_s },
        // A paragraph takes the format set last before its end, and passes it on.
        { "\\li1440\\ri720\\fi-360\\sb240\\sa120 a\\par\\li99999999\\ri-5\\fi-99999999\\sb-20 b",
            u"[L96 R48 I-24 T16 B8] a / [L2112 I-2112 B8] b"_s },
        { "\\qc\\li1440\\pard a\\par b\\qr\\par\\qj c\\par d\\par\\qc e\\par\\ql f",
            u"a / [r] b / [j] c / [j] d / [c] e / f"_s },
        { "a\\par\\par b\\sect c\\page d\\\r\ne\r\nf\rg\nh\\line i\\tab j\tk\x01\x7fl\\par",
            u"a /  / b / c / d / efgh\u2028i\tj\tkl"_s },
        { "caf\\'e9 \\'80\\'C9 caf\xe9", u"caf\u00e9 \u20ac\u00c9 caf\u00e9"_s },
        { "{\\f3 \\'61\\'80\\'e9}\\'80", u"a\u00e9{Symbol} \u20ac"_s },
        { "\\u233?\\u233\\'e9x{\\uc2\\u233 ab}\\u233 cd\\uc0\\u233 z",
            u"\u00e9\u00e9x\u00e9\u00e9d\u00e9z"_s },
        { "\\u-3913?\\u-10179?\\u-8704?\\u-10179?x\\u-8704?y\\u-70000?\\u64976?\\u65532?\\u8233?"
          "\\u13?\\u-10179?",
            u"\uf0b7\U0001F600\ufffdx\ufffdy\ufffd\ufffd\ufffd\u2028\u2028\ufffd"_s },
        { "a\\~b\\-c\\_d\\{\\}\\\\}{e}", u"a\u00a0b\u00adc\u2011d{}\\"_s },
        { "{\\*\\unknown z{z}}{\\info T}{\\stylesheet{\\s0 N;}}{\\pict 0a0b}{\\header h}"
          "a{\\v hidden}b\\bin3 {}\\c",
            u"abc"_s },
        { "{\\field{\\fldinst HYPERLINK \"http://a\"}{\\fldrslt\\b x}}", u"x{b}"_s },
        { "\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row c", u"a\tb\t / c"_s },
    };
    QTextDocument document; // shared: each read must replace what the previous one built
    for (const auto& [rtf, expected] : cases) {
        SCOPED_TRACE(rtf.left(70).toStdString());
        EXPECT_TRUE(RtfReader::read(
            rtf.startsWith("{\\rtf") ? rtf : head + rtf + '}', document, QString()));
        EXPECT_EQ(describe(document), expected);
    }
    EXPECT_TRUE(document.isUndoRedoEnabled());
    EXPECT_FALSE(document.isUndoAvailable());
}

struct Hostile {
    std::string name;
    QByteArray input;
    std::optional<QString> text = {}; // toPlainText() without the notice; its start when truncated
    bool truncated = false;
};

// The longest stretch of a document's text without a break opportunity: Qt lays one out in
// quadratic time.
qsizetype longestUnbrokenRun(const QString& text)
{
    qsizetype longest = 0;
    qsizetype current = 0;
    for (const QChar c : text) {
        const bool breaks = c.isSpace() || c == QChar(0x200B);
        current = breaks ? 0 : current + 1;
        longest = std::max(longest, current);
    }
    return longest;
}

// Whatever the input, the document stays small enough for Qt to lay out; how fast that is on
// this machine is measured in bench/, not here.
void expectWithinLimits(const QTextDocument& document, const RtfLimits& limits)
{
    EXPECT_LE(document.blockCount(), limits.maxParagraphs + 2); // the last one, and the notice
    EXPECT_LE(document.characterCount(), limits.maxCharacters + limits.maxParagraphs + 100);
    EXPECT_LE(longestUnbrokenRun(document.toPlainText()), limits.maxUnbrokenRun);
}

TEST(RtfReaderTest, HostileInputIsReadBestEffort)
{
    const auto rtf = [](const QByteArray& body) { return "{\\rtf1 " + body + '}'; };
    const auto times = [](const char* part, int count) { return QByteArray(part).repeated(count); };
    const auto numbered = [](const char* part, int count) { // each '#' replaced by 0, 1, 2...
        QByteArray out;
        for (int i = 0; i < count; ++i)
            out += QByteArray(part).replace('#', QByteArray::number(i));
        return out;
    };
    std::vector<Hostile> cases = {
        { "realistic document", realisticDocument(),
            u"Aide Quilmar\n"_s
                + u"Le convertisseur affiche l'\u00e9quivalent en francs et en euros \u20ac, "
                  u"soulign\u00e9, color\u00e9\t\u00b7\nsuite lien.\n"_s.repeated(8)
                + u"Euro\tFranc\t\nfin"_s },
        { "100 000 nested groups", rtf(times("{", 99999) + "{deep" + times("}", 100000) + " after"),
            u"deep after"_s },
        { "past the depth limit",
            rtf(times("{", 3000) + "{\\*\\x z}{\\b\\fs99 a}w" + times("}", 3000) + "v"), u"awv"_s },
        { "unclosed nesting", "{\\rtf1 " + times("{\\b a ", 50000), u"a "_s.repeated(50000) },
        { "stray closing braces", "}}}{\\rtf1 a}}}b", u"a"_s },
        { "empty file", "", u""_s },
        { "plain text", "Bonjour tout le monde", u""_s },
        { "10 000-letter word", rtf("\\" + times("a", 10000) + times("7", 5000) + " x"), u"x"_s },
        { "huge and negative parameters",
            rtf("\\u9999999999 x\\fs99999999999999999999 \\li9999999999 \\cf9999999999 "
                "\\uc9999999999 \\f9999999999 y\\fs-9999999999 \\li-2147483649 \\cf-5 \\f-9 "
                "\\sb-1 \\uc-4 z"),
            u"\ufffdyz"_s },
        { "uc skips across group ends",
            rtf("{\\uc3 \\u233 a{b}c}{\\uc2\\u233}xy{\\uc2\\u233\\b\\i zw}"),
            u"\u00e9bc\u00e9xy\u00e9zw"_s },
        { "truncated backslash", "{\\rtf1 a\\", u"a"_s },
        { "truncated hex", "{\\rtf1 a\\'", u"a"_s },
        { "half hex", "{\\rtf1 a\\'4", u"a"_s },
        { "bad hex", rtf("a\\'4g b"), u"ag b"_s },
        { "truncated u", "{\\rtf1 a\\u", u"a"_s },
        { "truncated negative u", "{\\rtf1 a\\u-", u"a-"_s },
        { "truncated bin", "{\\rtf1 a\\bin5 ab", u"a"_s },
        { "huge bin", rtf("a\\bin999999999 bc"), u"a"_s },
        { "negative bin, bin without length", rtf("a\\bin-5 b\\bin c"), u"abc"_s },
        { "braces inside bin", rtf("a{\\bin2 }}b}c"), u"abc"_s },
        { "picture", rtf("a{\\pict\\pngblip " + times("0123456789abcdef", 4096) + "}b"), u"ab"_s },
        { "huge font table",
            rtf("{\\fonttbl" + numbered("{\\f# F#;}", 10000) + "}\\f9999 x\\f-1 y"), u"xy"_s },
        { "endless font name", rtf("{\\fonttbl{\\f0 " + times("n", 10000) + ";}}\\f0 x"), u"x"_s },
        { "huge colour table",
            rtf("{\\colortbl;" + times("\\red1;", 10000) + "}\\cf9999 x\\cf4096 y"), u"xy"_s },
        // With the program's limits, the height estimate stops these well before Qt's layout
        // would give up.
        { "height bomb", rtf("\\fs32767 " + times("x\\par ", 3700)), u"x\nx\nx\n"_s, true },
        { "line break bomb", rtf("\\fs32767 x" + times("\\line ", 20000)), u"x\n\n"_s, true },
        { "spacing bomb", rtf("\\sb31680\\sa31680 " + times("\\par ", 5000)), u"\n\n"_s, true },
        { "indent bomb", rtf("\\fs200\\li31680\\ri31680 " + times("x ", 100000)), u"x x "_s, true },
    };
    for (unsigned seed = 1; seed <= 30; ++seed) {
        std::mt19937 random(seed);
        Hostile& c = cases.emplace_back(
            Hostile { "bit flips " + std::to_string(seed), realisticDocument() });
        for (qsizetype i = 0; i < c.input.size() / 50; ++i)
            c.input[random() % c.input.size()] ^= char(1 << random() % 8);
    }

    const QString notice = QStringLiteral("[cut short]");
    for (const Hostile& c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument document;
        const bool complete = RtfReader::read(c.input, document, notice);
        expectWithinLimits(document, RtfLimits {});
        document.setTextWidth(600);
        EXPECT_LT(document.documentLayout()->documentSize().height(), 8e6);
        const QString text = document.toPlainText();
        EXPECT_EQ(text.endsWith(notice), !complete);
        if (c.text) {
            EXPECT_EQ(text.endsWith(u'\n' + notice), c.truncated);
            EXPECT_EQ(c.truncated ? text.left(c.text->size()) : text, *c.text);
        }
    }
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
        { "a final line end adds nothing", u"a\r\n"_s, 1 },
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

template <typename T> RtfLimits limitedTo(T RtfLimits::*bound, T value)
{
    RtfLimits limits;
    limits.*bound = value;
    return limits;
}

// One bound lowered for a small input: the text kept, and whether the notice follows it.
struct Bound {
    std::string name;
    RtfLimits limits;
    QByteArray body;
    QString text;
    bool truncated;
};

void PrintTo(const Bound& bound, std::ostream* os) { *os << bound.name; }

class RtfBoundTest : public testing::TestWithParam<Bound> { };

// Default glyph metrics: a 12-point line is 20 pixels tall and 9.6 pixels per character wide,
// in a 200-pixel reference width. A paragraph that fits ends, and the notice starts a new one.
// clang-format off
const Bound kBounds[] = {
    { "input_at_its_size", limitedTo(&RtfLimits::maxInputSize, qsizetype(14)), "abcdef", u"abcdef"_s, false },
    { "input_over_its_size", limitedTo(&RtfLimits::maxInputSize, qsizetype(10)), "abcdef", u"abc"_s, true },
    { "characters_at_the_bound", limitedTo(&RtfLimits::maxCharacters, qsizetype(5)), "ab\\line cd", u"ab\ncd"_s, false },
    { "characters_over_the_bound", limitedTo(&RtfLimits::maxCharacters, qsizetype(5)), "abcdefgh", u"abcde"_s, true },
    { "line_break_over_the_characters", limitedTo(&RtfLimits::maxCharacters, qsizetype(5)), "abcde\\line f", u"abcde"_s, true },
    { "paragraphs_at_the_bound", limitedTo(&RtfLimits::maxParagraphs, 3), "a\\par b\\par c\\par d", u"a\nb\nc\nd"_s, false },
    { "paragraphs_over_the_bound", limitedTo(&RtfLimits::maxParagraphs, 3), "a\\par b\\par c\\par d\\par e", u"a\nb\nc\nd"_s, true },
    { "runs_at_the_bound", limitedTo(&RtfLimits::maxRuns, 3), "{\\b a}{\\i b}{\\ul c}", u"abc"_s, false },
    { "runs_over_the_bound", limitedTo(&RtfLimits::maxRuns, 3), "{\\b a}{\\i b}{\\ul c}{\\b d}", u"abc"_s, true },
    { "fonts_at_the_bound", limitedTo(&RtfLimits::maxFonts, 3), "a{\\fs20 b}{\\fs20 c}", u"abc"_s, false },
    { "fonts_over_the_bound", limitedTo(&RtfLimits::maxFonts, 3), "a{\\fs20 b}{\\fs22 c}", u"ab"_s, true },
    { "paragraphs_at_the_height", limitedTo(&RtfLimits::maxHeight, 60.0), "a\\par b\\par c", u"a\nb\nc"_s, false },
    { "paragraph_over_the_height", limitedTo(&RtfLimits::maxHeight, 60.0), "a\\par b\\par c\\par d", u"a\nb\nc\n"_s, true },
    { "line_breaks_at_the_height", limitedTo(&RtfLimits::maxHeight, 60.0), "a\\line b\\line c", u"a\nb\nc"_s, false },
    { "line_break_over_the_height", limitedTo(&RtfLimits::maxHeight, 60.0), "a\\line b\\line c\\line d", u"a\nb\nc"_s, true },
    { "wrapped_line_over_the_height", limitedTo(&RtfLimits::maxHeight, 20.0), "abcdefghijklmnopqrstuvwxyz", u"abcdefghijklmnopqrst"_s, true },
    { "margins_narrow_the_lines", limitedTo(&RtfLimits::maxHeight, 20.0), "\\li1500 abcdefghijklmnop", u"abcdefghij"_s, true },
    { "unbroken_run_cut", limitedTo(&RtfLimits::maxUnbrokenRun, 3), "abcdefg hijk", u"abc\u200bdef\u200bg hij\u200bk"_s, false },
};
// clang-format on

TEST_P(RtfBoundTest, CutsTheDocumentAtTheBound)
{
    const Bound& bound = GetParam();
    QTextDocument document;
    const QString notice = QStringLiteral("[cut short]");
    const bool complete
        = RtfReader::read("{\\rtf1 " + bound.body + '}', document, notice, bound.limits);
    EXPECT_EQ(document.toPlainText(), bound.truncated ? bound.text + u'\n' + notice : bound.text);
    EXPECT_EQ(complete, !bound.truncated);
    if (!bound.truncated)
        expectWithinLimits(document, bound.limits);
}

INSTANTIATE_TEST_SUITE_P(Limits, RtfBoundTest, testing::ValuesIn(kBounds),
    [](const testing::TestParamInfo<Bound>& info) { return info.param.name; });

} // namespace
