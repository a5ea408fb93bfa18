#include "conversion/RateText.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <tuple>
#include <utility>

namespace {

using namespace Qt::StringLiterals;

// The file's text must read back as a finite number, the field's text hold only digits and one
// ",", and "OK" on the field as shown keep the rate the file would hold.
TEST(RateTextTest, FileAndFieldForms)
{
    const std::tuple<double, const char*, QString> rows[] = { { 7.0, "7", u"7"_s },
        { 6.55957, "6.55957", u"6,55957"_s }, { 0.5, "0.5", u"0,5"_s }, { -2.5, "-2.5", u"2,5"_s },
        { 1e-07, "1e-07", u"0,0000001"_s }, { 1e20, "1e+20", u"100000000000000000000"_s },
        { 123456789012345678.0, "1.23456789012346e+17", u"123456789012346000"_s },
        { DBL_MAX, "1.7976931348623157e+308", u"179769313486232"_s + QString(294, u'0') },
        { 5e-324, "4.94065645841247e-324", u"0,"_s + QString(323, u'0') + u"494065645841247"_s },
        { 0.0, "0", u"0"_s }, { INFINITY, "0", u"0"_s }, { NAN, "0", u"0"_s } };
    for (const auto& [rate, file, field] : rows) {
        SCOPED_TRACE(file);
        EXPECT_EQ(RateText::fileText(rate), QByteArray(file));
        EXPECT_EQ(RateText::fieldText(rate).toStdString(), field.toStdString());
        EXPECT_EQ(RateText::fileText(RateText::parseFieldText(RateText::fieldText(rate))),
            RateText::fileText(std::fabs(rate)));
    }
}

// No sign, no exponent, only spaces skipped; a run beyond a double's range stays finite.
TEST(RateTextTest, ParseFieldText)
{
    const QString nines(400, u'9'), zeros(400, u'0');
    const std::pair<QString, double> rows[] = { { u"6,55957"_s, 6.55957 }, { u",5"_s, 0.5 },
        { u"6,"_s, 6.0 }, { u""_s, 0.0 }, { u"-3"_s, 0.0 }, { u"\t3"_s, 0.0 }, { u"1e5"_s, 1.0 },
        { u"  12,5abc"_s, 12.5 }, { u"1.2,3"_s, 1.2 }, { zeros + u"7,25"_s, 7.25 },
        { nines, DBL_MAX }, { nines + u",5"_s, DBL_MAX }, { u"0,"_s + zeros + u'1', 0.0 } };
    for (const auto& [text, rate] : rows)
        EXPECT_EQ(RateText::parseFieldText(text), rate) << text.left(20).toStdString();
}

} // namespace
