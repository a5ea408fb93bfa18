#include "app/RateText.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

using namespace Qt::StringLiterals;

constexpr double kMax = std::numeric_limits<double>::max();

struct TextCase {
    double rate;
    const char* file;
    const char16_t* field;
};

// The file's text must read back as a finite number and the field's text must hold only digits
// and one ",", whatever the rate.
const TextCase kTexts[] = {
    { 6.55957, "6.55957", u"6,55957" },
    { 7.0, "7", u"7" },
    { 0.5, "0.5", u"0,5" },
    { 1e-07, "1e-07", u"0,0000001" },
    { 1e20, "1e+20", u"100000000000000000000" },
    { 123456789012345678.0, "1.23456789012346e+17", u"123456789012346000" },
    { 0.1 + 0.2, "0.3", u"0,3" },
    { -2.5, "-2.5", u"2,5" },
    { 0.0, "0", u"0" },
    { 100.25, "100.25", u"100,25" },
    { 123456789012345.0, "123456789012345", u"123456789012345" },
    { 0.000123, "0.000123", u"0,000123" },
    { kMax, "1.7976931348623157e+308", nullptr },
    { std::numeric_limits<double>::infinity(), "0", u"0" },
    { std::numeric_limits<double>::quiet_NaN(), "0", u"0" },
};

TEST(RateTextTest, FileAndFieldForms)
{
    for (const TextCase& c : kTexts) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(RateText::fileText(c.rate), QByteArray(c.file));
        if (c.field) {
            EXPECT_EQ(RateText::fieldText(c.rate), QString::fromUtf16(c.field));
        }
    }
}

TEST(RateTextTest, FieldTextReadsBackToTheFifteenDigitValue)
{
    for (double rate : { 6.55957, 1e-07, 1e20, 0.1 + 0.2, 1234.5678, 5e-324, kMax, 3.0e-300 }) {
        SCOPED_TRACE(rate);
        const QString field = RateText::fieldText(rate);
        EXPECT_FALSE(field.contains(u'e') || field.contains(u'-') || field.contains(u'.'));
        EXPECT_EQ(RateText::fileText(RateText::parseFieldText(field)), RateText::fileText(rate));
    }
}

struct ParseCase {
    const char16_t* text;
    double rate;
};

const ParseCase kParses[] = {
    { u"6,55957", 6.55957 },
    { u",5", 0.5 },
    { u"6,", 6.0 },
    { u"", 0.0 },
    { u".", 0.0 },
    { u",", 0.0 },
    { u"abc", 0.0 },
    { u"  12,5abc", 12.5 },
    { u"1.2.3", 1.2 },
    { u"1,2,3", 1.2 },
    { u"0,5", 0.5 },
    { u"12", 12.0 },
    { u"-3", 0.0 },
    { u"\t3", 0.0 },
    { u"1e5", 1.0 },
    { u"\u0663", 0.0 }, // a non-ASCII digit is not a digit here
    { u"00000000000000000000000000000000000000000007,25", 7.25 },
};

TEST(RateTextTest, ParseFieldText)
{
    for (const ParseCase& c : kParses) {
        const QString text = QString::fromUtf16(c.text);
        SCOPED_TRACE(text.toStdString());
        EXPECT_EQ(RateText::parseFieldText(text), c.rate);
    }
}

TEST(RateTextTest, DigitRunsBeyondDoubleStayFinite)
{
    const QString huge(400, u'9');
    EXPECT_EQ(RateText::parseFieldText(huge), kMax);
    EXPECT_EQ(RateText::parseFieldText(huge + u",5"_s), kMax);
    EXPECT_EQ(RateText::parseFieldText(u"0,"_s + QString(400, u'0') + u'1'), 0.0);
    EXPECT_EQ(RateText::parseFieldText(QString(400, u'0') + u'1'), 1.0);
}

} // namespace
