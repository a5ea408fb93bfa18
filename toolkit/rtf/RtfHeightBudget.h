#pragma once

#include <QtGlobal>

class QTextBlockFormat;

namespace toolkit {

// Estimates, in pixels, how tall the document being built will be once laid out, so that the
// builder stops before Qt's layout would give up. Glyph metrics are generous: the estimate errs
// on the tall side.
class RtfHeightBudget {
public:
    RtfHeightBudget(double maxHeight, double referenceWidth);

    // The size of the text appended from now on; 0 or less is the default size.
    void setPointSize(qreal points);
    // The current paragraph's margins and spacing.
    void setBlockFormat(const QTextBlockFormat& format);

    // How many of `count` characters still fit on the current paragraph's lines.
    qsizetype fitting(qsizetype count) const;
    void addCharacters(qsizetype count);

    bool lineBreakOverflows() const;
    void breakLine();

    bool paragraphOverflows() const;
    void endParagraph();

private:
    double lineHeight() const;
    double paragraphHeight() const;
    double openLineHeight() const;

    double m_maxHeight;
    double m_referenceWidth;
    double m_charWidth = 0.0; // of the current format
    double m_lineHeight = 0.0; // of the current format
    double m_availableWidth = 0.0; // reference width less the paragraph's margins
    double m_paragraphSpacing = 0.0;
    double m_committedHeight = 0.0; // finished paragraphs
    double m_closedLinesHeight = 0.0; // lines of the current paragraph ended by a line break
    double m_lineUnits = 0.0; // fraction of a line filled so far in the current line
    double m_lineMaxHeight = 0.0; // tallest text in the current line
};

} // namespace toolkit
