#include "toolkit/rtf/RtfHeightBudget.h"

#include <QTextBlockFormat>
#include <algorithm>
#include <cmath>

namespace toolkit {

namespace {

    constexpr double kPixelsPerPoint = 96.0 / 72.0;
    constexpr double kCharWidthEm = 0.6;
    constexpr double kLineHeightEm = 1.25;
    constexpr double kMinLineHeight = 3.0; // Qt never lays a line out thinner, whatever the size
    constexpr double kMinCharWidth = 1.0;
    constexpr qreal kDefaultPointSize = 12.0;

} // namespace

RtfHeightBudget::RtfHeightBudget(double maxHeight, double referenceWidth)
    : m_maxHeight(maxHeight)
    , m_referenceWidth(referenceWidth)
{
}

void RtfHeightBudget::setPointSize(qreal points)
{
    if (!(points > 0.0))
        points = kDefaultPointSize;
    const double pixels = points * kPixelsPerPoint;
    m_charWidth = std::max(pixels * kCharWidthEm, kMinCharWidth);
    m_lineHeight = std::max(pixels * kLineHeightEm, kMinLineHeight);
}

void RtfHeightBudget::setBlockFormat(const QTextBlockFormat& format)
{
    const double margins = std::max(0.0, format.leftMargin()) + std::max(0.0, format.rightMargin());
    m_availableWidth = std::max(m_referenceWidth - margins, 1.0);
    m_paragraphSpacing = std::max(0.0, format.topMargin()) + std::max(0.0, format.bottomMargin());
}

qsizetype RtfHeightBudget::fitting(qsizetype count) const
{
    const double units = std::min(1.0, m_charWidth / m_availableWidth); // of a line, per character
    const double budget
        = m_maxHeight - m_committedHeight - m_closedLinesHeight - m_paragraphSpacing;
    const double maxLines = std::floor(budget / lineHeight());
    const double room = maxLines >= 1.0 ? (maxLines - m_lineUnits) / units : 0.0;
    if (room < double(count))
        return std::max<qsizetype>(0, qsizetype(room));
    return count;
}

void RtfHeightBudget::addCharacters(qsizetype count)
{
    const double units = std::min(1.0, m_charWidth / m_availableWidth);
    m_lineUnits += double(count) * units;
    m_lineMaxHeight = lineHeight();
}

bool RtfHeightBudget::lineBreakOverflows() const
{
    // The new line must have room for at least one line of the current format.
    return m_committedHeight + m_closedLinesHeight + openLineHeight() + m_lineHeight
        + m_paragraphSpacing
        > m_maxHeight;
}

void RtfHeightBudget::breakLine()
{
    m_closedLinesHeight += openLineHeight();
    m_lineUnits = 0.0;
    m_lineMaxHeight = 0.0;
}

bool RtfHeightBudget::paragraphOverflows() const
{
    return m_committedHeight + paragraphHeight() > m_maxHeight;
}

void RtfHeightBudget::endParagraph()
{
    m_committedHeight += paragraphHeight();
    m_closedLinesHeight = 0.0;
    m_lineUnits = 0.0;
    m_lineMaxHeight = 0.0;
}

// The tallest text on the current line, at least a line of the current format.
double RtfHeightBudget::lineHeight() const { return std::max(m_lineMaxHeight, m_lineHeight); }

// The current line's height, counting the lines its text wraps onto.
double RtfHeightBudget::openLineHeight() const
{
    return std::max(1.0, std::ceil(m_lineUnits)) * lineHeight();
}

double RtfHeightBudget::paragraphHeight() const
{
    return m_closedLinesHeight + openLineHeight() + m_paragraphSpacing;
}

} // namespace toolkit
