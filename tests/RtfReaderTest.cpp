#include "toolkit/RtfReader.h"

#include "toolkit/RtfDocumentBuilder.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <random>

using toolkit::RtfReader;

namespace {

class GuiEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (QCoreApplication::instance())
            return;
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "RtfReaderTest";
        static char* argv[] = { name, nullptr };
        m_app = std::make_unique<QGuiApplication>(argc, argv);
    }

private:
    std::unique_ptr<QGuiApplication> m_app;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GuiEnvironment);

QByteArray rtf(const char* body) { return QByteArray("{\\rtf1\\ansi ") + body + '}'; }

// The paragraphs joined by '\n', every other character as stored.
QString rawText(const QTextDocument& document)
{
    QString text = document.toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

// The format of the first character of `needle`; an invalid format when it is missing.
QTextCharFormat formatOf(const QTextDocument& document, const QString& needle)
{
    const QTextCursor found = document.find(needle);
    if (found.isNull())
        return QTextCharFormat();
    QTextCursor cursor(found);
    cursor.setPosition(found.selectionStart() + 1);
    return cursor.charFormat();
}

// A document with most of what a word processor writes.
QByteArray realisticDocument()
{
    QByteArray rtf
        = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036{\\fonttbl{\\f0\\fswiss\\fcharset0 "
          "Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}{\\f2\\ftech\\fcharset2 "
          "Symbol;}{\\f3\\fmodern Courier New{\\*\\falt Courier};}}\r\n"
          "{\\colortbl ;\\red128\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
          "{\\stylesheet{\\s0 Normal;}{\\s1\\b\\fs32 heading 1;}}"
          "{\\info{\\title Aide}{\\author Quilmar}{\\creatim\\yr2001\\mo1}}\r\n"
          "{\\*\\generator Quilmar 1.00;}\\viewkind4\\uc1\r\n";
    rtf += "\\pard\\qc\\sb120\\sa120\\f1\\fs32\\cf1\\b Aide Quilmar\\b0\\par\r\n";
    for (int i = 0; i < 8; ++i) {
        rtf += "\\pard\\qj\\li360\\fi-180\\f0\\fs20\\cf0 Le convertisseur affiche l'\\'e9quivalent "
               "en {\\b francs} et en {\\i euros} \\u8364?, {\\ul soulign\\'e9}, "
               "{\\cf2\\highlight1 color\\'e9}\\tab{\\f2\\'b7}\\line suite "
               "{\\field{\\*\\fldinst HYPERLINK \"http://exemple\"}{\\fldrslt lien}}.\\par\r\n";
    }
    rtf += "\\trowd\\cellx2000\\cellx4000\\intbl Euro\\cell Franc\\cell\\row\r\n"
           "{\\pict\\wmetafile8\\picw100\\pich100 0100090000036e00000000004500000000000000}"
           "{\\*\\bkmkstart fin}\\pard\\f3 fin{\\*\\bkmkend fin}\\par}\r\n";
    return rtf;
}

class RtfReaderTest : public ::testing::Test { };

// The help window's designed heading, exactly as the form stores it (CR LF line ends).
TEST_F(RtfReaderTest, DesignedHeadingRendersAsDesigned)
{
    const QByteArray designed = "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans "
                                "Serif;}{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\froman Times New "
                                "Roman;}}\r\n"
                                "{\\colortbl\\red0\\green0\\blue0;\\red128\\green0\\blue0;}\r\n"
                                "\\deflang1036\\pard\\plain\\f2\\fs28\\cf1\\b\\ul Aide Quilmar\r\n"
                                "\\par }\r\n";
    QTextDocument document;
    ASSERT_TRUE(RtfReader::read(designed, document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("Aide Quilmar"));
    const QTextCharFormat format = formatOf(document, QStringLiteral("Aide"));
    EXPECT_EQ(format.font().families(), QStringList { QStringLiteral("Times New Roman") });
    EXPECT_DOUBLE_EQ(format.fontPointSize(), 14.0);
    EXPECT_EQ(format.fontWeight(), QFont::Bold);
    EXPECT_TRUE(format.fontUnderline());
    EXPECT_EQ(format.foreground().color(), QColor(128, 0, 0));
    EXPECT_EQ(formatOf(document, QStringLiteral("Quilmar")), format); // one run
}

struct CharCase {
    const char* name;
    const char* body;
    const char* needle;
    const char* family = nullptr;
    double points = 0.0;
    std::optional<bool> bold = {};
    std::optional<bool> italic = {};
    std::optional<QTextCharFormat::UnderlineStyle> underline = {};
    std::optional<bool> strike = {};
    std::optional<QColor> foreground = {}; // an invalid colour: none set
    std::optional<QColor> background = {};
    std::optional<QTextCharFormat::VerticalAlignment> vertical = {};
};

TEST_F(RtfReaderTest, CharacterFormatting)
{
    constexpr auto kNone = QTextCharFormat::NoUnderline;
    const QColor kUnset;
    const QColor kRed(255, 0, 0);
    const QColor kGreen(0, 128, 0);
    const CharCase cases[] = {
        { .name = "default font is \\deff",
            .body = "x",
            .needle = "x",
            .family = "Arial",
            .points = 12,
            .bold = false,
            .foreground = kUnset },
        { .name = "font by index", .body = "\\f1 x", .needle = "x", .family = "Times New Roman" },
        { .name = "unknown font index keeps default",
            .body = "\\f1\\f99 x",
            .needle = "x",
            .family = "Arial" },
        { .name = "negative font index", .body = "\\f-3 x", .needle = "x", .family = "Arial" },
        { .name = "font name with code page escape",
            .body = "\\f4 x",
            .needle = "x",
            .family = "Caf\xc3\xa9 Sans" },
        { .name = "half-points", .body = "\\fs28 x", .needle = "x", .points = 14 },
        { .name = "odd half-points", .body = "\\fs17 x", .needle = "x", .points = 8.5 },
        { .name = "size clamped", .body = "\\fs99999 x", .needle = "x", .points = 1638 },
        { .name = "zero size is default", .body = "\\fs0 x", .needle = "x", .points = 12 },
        { .name = "negative size is default", .body = "\\fs-40 x", .needle = "x", .points = 12 },
        { .name = "bold", .body = "\\b x", .needle = "x", .bold = true },
        { .name = "bold off", .body = "\\b\\b0 x", .needle = "x", .bold = false },
        { .name = "group restores",
            .body = "{\\b\\i\\ul a}x",
            .needle = "x",
            .bold = false,
            .italic = false,
            .underline = kNone },
        { .name = "italic", .body = "\\i x", .needle = "x", .italic = true },
        { .name = "italic off", .body = "\\i\\i0 x", .needle = "x", .italic = false },
        { .name = "underline",
            .body = "\\ul x",
            .needle = "x",
            .underline = QTextCharFormat::SingleUnderline },
        { .name = "underline off", .body = "\\ul\\ul0 x", .needle = "x", .underline = kNone },
        { .name = "ulnone", .body = "\\ul\\ulnone x", .needle = "x", .underline = kNone },
        { .name = "dotted",
            .body = "\\uld x",
            .needle = "x",
            .underline = QTextCharFormat::DotLine },
        { .name = "wave",
            .body = "\\ulwave x",
            .needle = "x",
            .underline = QTextCharFormat::WaveUnderline },
        { .name = "strike", .body = "\\strike x", .needle = "x", .strike = true },
        { .name = "strike off", .body = "\\strike\\strike0 x", .needle = "x", .strike = false },
        { .name = "colour 1", .body = "\\cf1 x", .needle = "x", .foreground = kRed },
        { .name = "colour 2", .body = "\\cf2 x", .needle = "x", .foreground = kGreen },
        { .name = "auto colour 0", .body = "\\cf1\\cf0 x", .needle = "x", .foreground = kUnset },
        { .name = "colour out of range", .body = "\\cf9 x", .needle = "x", .foreground = kUnset },
        { .name = "negative colour", .body = "\\cf-1 x", .needle = "x", .foreground = kUnset },
        { .name = "background", .body = "\\cb2 x", .needle = "x", .background = kGreen },
        { .name = "highlight", .body = "\\highlight1 x", .needle = "x", .background = kRed },
        { .name = "highlight off",
            .body = "\\highlight1\\highlight0 x",
            .needle = "x",
            .background = kUnset },
        { .name = "plain resets",
            .body = "\\f1\\fs40\\b\\i\\ul\\strike\\cf1\\cb2\\plain x",
            .needle = "x",
            .family = "Arial",
            .points = 12,
            .bold = false,
            .italic = false,
            .underline = kNone,
            .strike = false,
            .foreground = kUnset,
            .background = kUnset },
        { .name = "superscript",
            .body = "\\super x",
            .needle = "x",
            .vertical = QTextCharFormat::AlignSuperScript },
        { .name = "subscript",
            .body = "\\sub x",
            .needle = "x",
            .vertical = QTextCharFormat::AlignSubScript },
        { .name = "formatting inside a field result",
            .body = "{\\field{\\*\\fldinst X}{\\fldrslt\\b x}}",
            .needle = "x",
            .bold = true },
    };
    const QByteArray header
        = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman "
          "Times New Roman;}{\\f3\\ftech\\fcharset2 Symbol;}{\\f4 Caf\\'e9 "
          "Sans;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green128\\blue0;}";
    for (const CharCase& c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument document;
        ASSERT_TRUE(RtfReader::read(header + c.body + '}', document));
        const QTextCharFormat f = formatOf(document, QString::fromUtf8(c.needle));
        ASSERT_TRUE(f.isValid());
        if (c.family) {
            EXPECT_EQ(f.font().families(), QStringList { QString::fromUtf8(c.family) });
        }
        if (c.points > 0) {
            EXPECT_DOUBLE_EQ(f.fontPointSize(), c.points);
        }
        if (c.bold) {
            EXPECT_EQ(f.fontWeight() == QFont::Bold, *c.bold);
        }
        if (c.italic) {
            EXPECT_EQ(f.fontItalic(), *c.italic);
        }
        if (c.underline) {
            EXPECT_EQ(f.underlineStyle(), *c.underline);
        }
        if (c.strike) {
            EXPECT_EQ(f.fontStrikeOut(), *c.strike);
        }
        if (c.foreground) {
            EXPECT_EQ(f.hasProperty(QTextFormat::ForegroundBrush), c.foreground->isValid());
            if (c.foreground->isValid()) {
                EXPECT_EQ(f.foreground().color(), *c.foreground);
            }
        }
        if (c.background) {
            EXPECT_EQ(f.hasProperty(QTextFormat::BackgroundBrush), c.background->isValid());
            if (c.background->isValid()) {
                EXPECT_EQ(f.background().color(), *c.background);
            }
        }
        if (c.vertical) {
            EXPECT_EQ(f.verticalAlignment(), *c.vertical);
        }
    }
}

TEST_F(RtfReaderTest, FontTableWithoutGroupsAndStyleHints)
{
    QTextDocument document;
    ASSERT_TRUE(RtfReader::read(rtf("{\\fonttbl\\f0\\fmodern Courier New;\\f1\\fscript Brush;}"
                                    "\\f0 a\\f1 b"),
        document));
    EXPECT_EQ(rawText(document), QStringLiteral("ab"));
    EXPECT_EQ(formatOf(document, QStringLiteral("a")).font().families(),
        QStringList { QStringLiteral("Courier New") });
    EXPECT_EQ(formatOf(document, QStringLiteral("a")).fontStyleHint(), QFont::Monospace);
    EXPECT_EQ(formatOf(document, QStringLiteral("b")).fontStyleHint(), QFont::Cursive);
}

struct ParagraphCase {
    const char* name;
    const char* body;
    int block;
    Qt::Alignment alignment;
    double left = 0, right = 0, indent = 0, top = 0, bottom = 0;
};

TEST_F(RtfReaderTest, ParagraphFormatting)
{
    const ParagraphCase cases[] = {
        { "left by default", "a", 0, Qt::AlignLeft },
        { "centred", "\\qc a", 0, Qt::AlignHCenter },
        { "right", "\\qr a", 0, Qt::AlignRight },
        { "justified", "\\qj a", 0, Qt::AlignJustify },
        { "left again", "\\qc\\ql a", 0, Qt::AlignLeft },
        { "twips to pixels", "\\li1440\\ri720\\fi-360\\sb240\\sa120 a", 0, Qt::AlignLeft, 96, 48,
            -24, 16, 8 },
        { "pard resets", "\\qc\\li1440\\sb240\\pard a", 0, Qt::AlignLeft },
        { "format at the paragraph's end applies", "a\\qr\\par b", 0, Qt::AlignRight },
        { "next paragraph keeps the format", "\\qc a\\par b", 1, Qt::AlignHCenter },
        { "next paragraph after pard", "\\qc a\\par\\pard b", 1, Qt::AlignLeft },
        { "indents clamped", "\\li99999999\\ri-5\\fi-99999999\\sb-20 a", 0, Qt::AlignLeft, 2112, 0,
            -2112, 0, 0 },
        { "logical indents", "\\lin720\\rin360 a", 0, Qt::AlignLeft, 48, 24 },
    };
    for (const ParagraphCase& c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument document;
        ASSERT_TRUE(RtfReader::read(rtf(c.body), document));
        const QTextBlock block = document.findBlockByNumber(c.block);
        ASSERT_TRUE(block.isValid());
        const QTextBlockFormat f = block.blockFormat();
        EXPECT_EQ(f.alignment() & Qt::AlignHorizontal_Mask, c.alignment);
        EXPECT_DOUBLE_EQ(f.leftMargin(), c.left);
        EXPECT_DOUBLE_EQ(f.rightMargin(), c.right);
        EXPECT_DOUBLE_EQ(f.textIndent(), c.indent);
        EXPECT_DOUBLE_EQ(f.topMargin(), c.top);
        EXPECT_DOUBLE_EQ(f.bottomMargin(), c.bottom);
    }
}

struct TextCase {
    const char* name;
    QByteArray input;
    QString expected; // paragraphs joined by '\n'
};

TEST_F(RtfReaderTest, Text)
{
    const QString kReplacement(QChar(0xFFFD));
    const TextCase cases[] = {
        // Paragraphs and breaks.
        { "paragraphs", rtf("a\\par b"), QStringLiteral("a\nb") },
        { "final par adds nothing", rtf("a\\par"), QStringLiteral("a") },
        { "empty paragraph", rtf("a\\par\\par b"), QStringLiteral("a\n\nb") },
        { "page and section", rtf("a\\page b\\sect c"), QStringLiteral("a\nb\nc") },
        { "backslash line end", rtf("a\\\r\nb"), QStringLiteral("a\nb") },
        { "line ends ignored", rtf("a\r\nb\rc\nd"), QStringLiteral("abcd") },
        { "line break", rtf("a\\line b"), QStringLiteral("a\u2028b") },
        { "tab", rtf("a\\tab b"), QStringLiteral("a\tb") },
        { "literal tab", rtf("a\tb"), QStringLiteral("a\tb") },
        { "control bytes dropped",
            rtf("a\x01\x7f"
                "b"),
            QStringLiteral("ab") },
        // Code page.
        { "accent", rtf("caf\\'e9"), QStringLiteral("caf\u00e9") },
        { "euro", rtf("\\'80"), QStringLiteral("\u20ac") },
        { "upper-case hex", rtf("\\'C9"), QStringLiteral("\u00c9") },
        { "raw high byte", rtf("caf\xe9"), QStringLiteral("caf\u00e9") },
        { "unknown code page falls back", "{\\rtf1\\ansi\\ansicpg1251 \\'e9\\'80}",
            QStringLiteral("\u00e9\u20ac") },
        { "symbol font keeps the byte",
            "{\\rtf1{\\fonttbl{\\f1\\fcharset2 Symbol;}}{\\f1 \\'61\\'80\\'e9}\\'80}",
            QStringLiteral("a\u00e9\u20ac") },
        // Unicode.
        { "u with fallback", rtf("\\u233?"), QStringLiteral("\u00e9") },
        { "u with hex fallback", rtf("\\u233\\'e9x"), QStringLiteral("\u00e9x") },
        { "uc2", rtf("\\uc2\\u233 abx"), QStringLiteral("\u00e9x") },
        { "uc0", rtf("\\uc0\\u233 x"), QStringLiteral("\u00e9x") },
        { "uc restored by group end", rtf("{\\uc2\\u233 ab}\\u233 cd"),
            QStringLiteral("\u00e9\u00e9d") },
        { "negative u", rtf("\\u-3913?"), QString(QChar(0xF0B7)) },
        { "surrogate pair", rtf("\\u-10179?\\u-8704?"), QStringLiteral("\U0001F600") },
        { "lone high surrogate", rtf("\\u-10179?x"), kReplacement + u'x' },
        { "lone low surrogate", rtf("\\u-8704?x"), kReplacement + u'x' },
        { "high surrogate at the end", rtf("x\\u-10179?"), u'x' + kReplacement },
        { "u too negative", rtf("\\u-70000?"), kReplacement },
        { "u reserved by Qt", rtf("\\u64976?\\u8233?\\u13?"),
            kReplacement + u'\u2028' + u'\u2028' },
        // Escapes and special characters.
        { "escaped symbols", rtf("a\\~b\\-c\\_d\\{\\}\\\\"),
            QStringLiteral("a\u00a0b\u00adc\u2011d{}\\") },
        { "quotes and dashes",
            rtf("\\lquote\\rquote\\ldblquote\\rdblquote\\emdash\\endash\\bullet"),
            QStringLiteral("\u2018\u2019\u201c\u201d\u2014\u2013\u2022") },
        { "unknown words ignored", rtf("x\\foo y\\bar42 z"), QStringLiteral("xyz") },
        // Destinations.
        { "info", rtf("{\\info{\\title T}{\\author A}}x"), QStringLiteral("x") },
        { "stylesheet", rtf("{\\stylesheet{\\s0 Normal;}}x"), QStringLiteral("x") },
        { "optional destination", rtf("{\\*\\unknown zz{nested}}x"), QStringLiteral("x") },
        { "picture", rtf("{\\pict\\wmetafile8 0a0b{\\*\\blipuid 1}}x"), QStringLiteral("x") },
        { "header and footer", rtf("{\\header h}{\\footerl f}x"), QStringLiteral("x") },
        { "footnote", rtf("x{\\footnote note}y"), QStringLiteral("xy") },
        { "bookmarks", rtf("{\\*\\bkmkstart b}x{\\*\\bkmkend b}"), QStringLiteral("x") },
        { "object", rtf("{\\object{\\*\\objdata 00}{\\result r}}x"), QStringLiteral("x") },
        { "generator and tables",
            rtf("{\\*\\generator W;}{\\listtable{\\list x}}{\\rsidtbl\\rsid1}x"),
            QStringLiteral("x") },
        { "hidden text", rtf("a{\\v hidden}b"), QStringLiteral("ab") },
        { "old list bullet shown", rtf("{\\pntext\\'b7\\tab}item"),
            QStringLiteral("\u00b7\titem") },
        { "binary data", rtf("a\\bin3 {}\\b"), QStringLiteral("ab") },
        // Fields and tables.
        { "field result", rtf("{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt lien}}"),
            QStringLiteral("lien") },
        { "field without star", rtf("{\\field{\\fldinst PAGE}{\\fldrslt 3}}"),
            QStringLiteral("3") },
        { "table cells", rtf("\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row c"),
            QStringLiteral("a\tb\t\nc") },
        // Outside the document's group.
        { "text after the document", "{\\rtf1 a}b", QStringLiteral("a") },
        { "text before the document", "b{\\rtf1 a}", QStringLiteral("a") },
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.name);
        QTextDocument document;
        EXPECT_TRUE(RtfReader::read(c.input, document));
        EXPECT_EQ(rawText(document), c.expected);
    }
}

TEST_F(RtfReaderTest, RealisticDocument)
{
    QTextDocument document;
    ASSERT_TRUE(RtfReader::read(realisticDocument(), document));
    const QString text = document.toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral(
        "Aide Quilmar\nLe convertisseur affiche l'\u00e9quivalent "
        "en francs et en euros \u20ac, soulign\u00e9, color\u00e9\t\u00b7\nsuite lien.\n")))
        << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("Euro\tFranc\t\nfin"))) << text.toStdString();
    EXPECT_EQ(formatOf(document, QStringLiteral("fin")).font().families(),
        QStringList { QStringLiteral("Courier New") });
}

TEST_F(RtfReaderTest, ReadingAgainReplacesTheDocument)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("old"));
    ASSERT_TRUE(RtfReader::read(rtf("\\qc new"), document));
    ASSERT_TRUE(RtfReader::read(rtf("newer"), document));
    EXPECT_EQ(rawText(document), QStringLiteral("newer"));
    EXPECT_EQ(
        document.firstBlock().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_TRUE(document.isUndoRedoEnabled());
    EXPECT_FALSE(document.isUndoAvailable());
}

// ---- Hostile input ------------------------------------------------------------------------

QByteArray repeated(const QByteArray& part, int count) { return part.repeated(count); }

QByteArray bitFlipped(const QByteArray& original, unsigned seed)
{
    std::mt19937 random(seed);
    QByteArray copy = original;
    std::uniform_int_distribution<qsizetype> position(0, copy.size() - 1);
    std::uniform_int_distribution<int> bit(0, 7);
    for (int i = 0; i < copy.size() / 50; ++i)
        copy[position(random)] ^= char(1 << bit(random));
    return copy;
}

QByteArray hexPicture(qsizetype bytes)
{
    QByteArray line = QByteArray("0123456789abcdef").repeated(8) + "\r\n";
    return "{\\rtf1 a{\\pict\\pngblip\\picw10\\pich10 " + line.repeated(bytes / line.size())
        + "}b}";
}

enum class Match { Exact, Prefix, Any };

// The bounds catch layouts that take seconds or never end; sanitizers slow everything down.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kTimeScale = 3;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr int kTimeScale = 3;
#else
constexpr int kTimeScale = 1;
#endif
#else
constexpr int kTimeScale = 1;
#endif

struct HostileCase {
    std::string name;
    QByteArray input;
    QString expected; // document.toPlainText(), without the notice
    Match match = Match::Exact;
    bool truncated = false;
    int maxMilliseconds = 1000; // reading and laying out, on a loaded machine
};

std::vector<HostileCase> hostileCases()
{
    const QString notice = toolkit::RtfDocumentBuilder::truncationNotice();
    std::vector<HostileCase> cases = {
        { "100 000 nested groups",
            "{\\rtf1 " + repeated("{", 100000) + "deep" + repeated("}", 100000) + " after}",
            QStringLiteral("deep after") },
        { "destination past the depth limit",
            "{\\rtf1 " + repeated("{", 3000) + "{\\*\\x z}w" + repeated("}", 3000) + "v}",
            QStringLiteral("wv") },
        { "formatting past the depth limit",
            "{\\rtf1 " + repeated("{", 3000) + "{\\b\\fs99 a}" + repeated("}", 3000) + "b}",
            QStringLiteral("ab") },
        { "unclosed nesting", "{\\rtf1 " + repeated("{\\b a ", 50000),
            QStringLiteral("a ").repeated(50000) },
        { "extra closing braces", "{\\rtf1 a}}}}b", QStringLiteral("a") },
        { "closing braces first", "}}}{\\rtf1 a}", QStringLiteral("a") },
        { "unclosed groups", "{\\rtf1 {\\b a{\\i b", QStringLiteral("ab") },
        { "empty file", "", QString() },
        { "one brace", "{", QString() },
        { "empty group", "{}", QString() },
        { "plain text", "Bonjour tout le monde", QString() },
        { "10 000-letter control word", "{\\rtf1 \\" + QByteArray(10000, 'a') + " x}",
            QStringLiteral("x") },
        { "long word with a long parameter",
            "{\\rtf1 \\" + QByteArray(10000, 'b') + QByteArray(5000, '7') + " x}",
            QStringLiteral("x") },
        { "huge parameters",
            "{\\rtf1 \\fs99999999999999999999 \\li99999999999 \\cf99999999999 \\uc999999999 "
            "\\f999999999999 x}",
            QStringLiteral("x") },
        { "negative parameters",
            "{\\rtf1 \\fs-99999999999 \\li-2147483649 \\cf-5 \\f-9 \\sb-1 \\uc-4 x}",
            QStringLiteral("x") },
        { "huge u", "{\\rtf1 \\u99999999999 xy}", QStringLiteral("\ufffdy") },
        { "height bomb", "{\\rtf1\\fs32767 " + repeated("x\\par ", 3700) + "}",
            QStringLiteral("x\nx\nx\n"), Match::Prefix, true },
        { "line break bomb", "{\\rtf1\\fs32767 x" + repeated("\\line ", 20000) + "}",
            QStringLiteral("x\n\n"), Match::Prefix, true },
        { "Unicode line separator bomb", "{\\rtf1\\fs32767 x" + repeated("\\u8232?", 20000) + "}",
            QStringLiteral("x\n\n"), Match::Prefix, true },
        { "spacing bomb", "{\\rtf1\\sb31680\\sa31680 " + repeated("x\\par ", 5000) + "}",
            QStringLiteral("x\nx\n"), Match::Prefix, true },
        { "indent bomb", "{\\rtf1\\fs200\\li31680\\ri31680 " + repeated("x ", 100000) + "}",
            QStringLiteral("x x "), Match::Prefix, true },
        { "paragraph flood", "{\\rtf1 " + repeated("\\par", 200000) + "}", QStringLiteral("\n\n"),
            Match::Prefix, true },
        { "format flood", "{\\rtf1 " + repeated("{\\b a}{\\i a}", 150000) + "}",
            QStringLiteral("aaaa"), Match::Prefix, true },
        { "3 million characters", "{\\rtf1 " + repeated("abc ", 750000) + "}",
            QStringLiteral("abc abc"), Match::Prefix, true, 2000 },
        { "input over 16 MiB", "{\\rtf1 x" + QByteArray(17 * 1024 * 1024, ' ') + "}",
            QStringLiteral("x"), Match::Prefix, true },
        { "one unbroken word of a million letters", "{\\rtf1 " + QByteArray(1000000, 'a') + "}",
            QStringLiteral("aaa"), Match::Prefix, false, 2000 },
        { "uc skip ends at group start", "{\\rtf1\\uc3 \\u233 a{b}c}", QStringLiteral("\u00e9bc") },
        { "uc skip ends at group end", "{\\rtf1 {\\uc2\\u233}xy}", QStringLiteral("\u00e9xy") },
        { "uc skip counts control words", "{\\rtf1\\uc2\\u233\\b\\i xy}",
            QStringLiteral("\u00e9xy") },
        { "truncated backslash", "{\\rtf1 a\\", QStringLiteral("a") },
        { "truncated hex", "{\\rtf1 a\\'", QStringLiteral("a") },
        { "half hex", "{\\rtf1 a\\'4", QStringLiteral("a") },
        { "bad hex", "{\\rtf1 a\\'4g b}", QStringLiteral("ag b") },
        { "truncated u", "{\\rtf1 a\\u", QStringLiteral("a") },
        { "truncated negative u", "{\\rtf1 a\\u-", QStringLiteral("a-") },
        { "truncated bin", "{\\rtf1 a\\bin5 ab", QStringLiteral("a") },
        { "huge bin", "{\\rtf1 a\\bin999999999 bc}", QStringLiteral("a") },
        { "negative bin", "{\\rtf1 a\\bin-5 bc}", QStringLiteral("abc") },
        { "bin without length", "{\\rtf1 a\\bin bc}", QStringLiteral("abc") },
        { "braces inside bin", "{\\rtf1 a{\\bin2 }}b}c}", QStringLiteral("abc") },
        { "5 MB picture", hexPicture(5 * 1024 * 1024), QStringLiteral("ab") },
        { "huge font table",
            [] {
                QByteArray table = "{\\rtf1{\\fonttbl";
                for (int i = 0; i < 10000; ++i)
                    table += "{\\f" + QByteArray::number(i) + "\\froman Font"
                        + QByteArray::number(i) + ";}";
                return table + "}\\f9999 x\\f5000 y\\f-1 z}";
            }(),
            QStringLiteral("xyz") },
        { "endless font name", "{\\rtf1{\\fonttbl{\\f0 " + QByteArray(1000000, 'n') + ";}}\\f0 x}",
            QStringLiteral("x") },
        { "huge colour table",
            "{\\rtf1{\\colortbl;" + repeated("\\red1\\green2\\blue3;", 10000)
                + "}\\cf9999 x\\cf4096 y}",
            QStringLiteral("xy") },
        { "nested font tables", "{\\rtf1{\\fonttbl" + repeated("{\\fonttbl\\f1 A;", 5000) + "}}x}",
            QString() },
        // Each distinct font costs a font lookup; distinct families also a linear format search.
        { "4096 font families in use",
            [] {
                QByteArray table = "{\\rtf1{\\fonttbl";
                QByteArray text;
                for (int i = 0; i < 4096; ++i) {
                    table
                        += "{\\f" + QByteArray::number(i) + " Font" + QByteArray::number(i) + ";}";
                    text += "\\f" + QByteArray::number(i) + " a ";
                }
                return table + '}' + text + '}';
            }(),
            QStringLiteral("a a a "), Match::Prefix, true },
        { "every font size in use",
            [] {
                QByteArray text = "{\\rtf1 ";
                for (int i = 1; i <= 3276; ++i)
                    text += "\\fs" + QByteArray::number(i) + " a ";
                return text + '}';
            }(),
            QStringLiteral("a a a "), Match::Prefix, true },
    };
    const QByteArray realistic = realisticDocument();
    for (unsigned seed = 1; seed <= 30; ++seed)
        cases.push_back({ "bit flips, seed " + std::to_string(seed), bitFlipped(realistic, seed),
            QString(), Match::Any });
    for (HostileCase& c : cases) {
        if (c.truncated && c.match == Match::Exact)
            c.expected += u'\n' + notice;
    }
    return cases;
}

TEST_F(RtfReaderTest, HostileInputIsReadBestEffortAndQuickly)
{
    const QString notice = toolkit::RtfDocumentBuilder::truncationNotice();
    for (const HostileCase& c : hostileCases()) {
        SCOPED_TRACE(c.name);
        QElapsedTimer timer;
        timer.start();
        QTextDocument document;
        const bool complete = RtfReader::read(c.input, document);
        document.setTextWidth(600);
        const QSizeF size = document.documentLayout()->documentSize();
        const qint64 elapsed = timer.elapsed();
        EXPECT_LT(elapsed, c.maxMilliseconds * kTimeScale);
        EXPECT_LT(size.height(), 8'000'000.0);

        const QString text = document.toPlainText();
        if (c.match != Match::Any) {
            EXPECT_EQ(complete, !c.truncated);
            EXPECT_EQ(text.endsWith(notice), c.truncated);
        } else {
            EXPECT_EQ(text.endsWith(notice), !complete);
        }
        if (c.match == Match::Exact) {
            EXPECT_EQ(text, c.expected);
        } else if (c.match == Match::Prefix) {
            EXPECT_TRUE(text.startsWith(c.expected)) << text.left(40).toStdString();
        }
    }
}

TEST_F(RtfReaderTest, LongWordsGetBreakOpportunities)
{
    QTextDocument document;
    ASSERT_TRUE(RtfReader::read("{\\rtf1 " + QByteArray(2500, 'a') + " b}", document));
    const QString text = document.toRawText();
    EXPECT_EQ(text.count(u'a'), 2500);
    EXPECT_EQ(text.count(QChar(0x200B)), 2);
    EXPECT_EQ(text.indexOf(QChar(0x200B)), 1000);
    EXPECT_TRUE(text.endsWith(QStringLiteral(" b")));
}

} // namespace
