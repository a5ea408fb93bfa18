#include "app/RateText.h"

#include <cmath>
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
const TextCase kTexts[] = { { 6.55957, "6.55957", u"6,55957" }, { 7.0, "7", u"7" },
    { 0.5, "0.5", u"0,5" }, { 1e-07, "1e-07", u"0,0000001" },
    { 1e20, "1e+20", u"100000000000000000000" },
    { 123456789012345678.0, "1.23456789012346e+17", u"123456789012346000" },
    { 0.1 + 0.2, "0.3", u"0,3" }, { -2.5, "-2.5", u"2,5" }, { 0.0, "0", u"0" },
    { 100.25, "100.25", u"100,25" }, { 123456789012345.0, "123456789012345", u"123456789012345" },
    { 0.000123, "0.000123", u"0,000123" }, { kMax, "1.7976931348623157e+308", nullptr },
    { 5e-324, "4.94065645841247e-324", nullptr }, { 3.25e-300, "3.25e-300", nullptr },
    { std::numeric_limits<double>::infinity(), "0", u"0" },
    { std::numeric_limits<double>::quiet_NaN(), "0", u"0" } };

TEST(RateTextTest, FileAndFieldForms)
{
    for (const TextCase& c : kTexts) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(RateText::fileText(c.rate), QByteArray(c.file));
        if (c.field) {
            EXPECT_EQ(RateText::fieldText(c.rate), QString::fromUtf16(c.field));
        }
        // "OK" on the field as shown keeps the rate the file would hold.
        const double shown = RateText::parseFieldText(RateText::fieldText(c.rate));
        EXPECT_EQ(RateText::fileText(shown), RateText::fileText(std::fabs(c.rate)));
    }
}

struct ParseCase {
    QString text;
    double rate;
};

const ParseCase kParses[] = { { u"6,55957"_s, 6.55957 }, { u",5"_s, 0.5 }, { u"6,"_s, 6.0 },
    { u""_s, 0.0 }, { u"."_s, 0.0 }, { u","_s, 0.0 }, { u"abc"_s, 0.0 }, { u"  12,5abc"_s, 12.5 },
    { u"1.2.3"_s, 1.2 }, { u"1,2,3"_s, 1.2 }, { u"0,5"_s, 0.5 }, { u"12"_s, 12.0 },
    { u"-3"_s, 0.0 }, { u"\t3"_s, 0.0 }, { u"1e5"_s, 1.0 },
    { u"\u0663"_s, 0.0 }, // a non-ASCII digit is not a digit here
    { QString(40, u'0') + u"7,25"_s, 7.25 },
    // Runs beyond a double's range stay finite: the largest double, or 0.
    { QString(400, u'9'), kMax }, { QString(400, u'9') + u",5"_s, kMax },
    { u"0,"_s + QString(400, u'0') + u'1', 0.0 }, { QString(400, u'0') + u'1', 1.0 } };

TEST(RateTextTest, ParseFieldText)
{
    for (const ParseCase& c : kParses) {
        SCOPED_TRACE(c.text.left(20).toStdString());
        EXPECT_EQ(RateText::parseFieldText(c.text), c.rate);
    }
}

} // namespace
