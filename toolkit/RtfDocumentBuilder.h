#pragma once

#include <QSet>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;

namespace toolkit {

// Writes text into a QTextDocument in runs of one format, and refuses to build a document that
// Qt's layout could not cope with: past any of the limits the document is cut short and a notice
// paragraph says so. Qt lays out one unbroken word in quadratic time and stops finishing a
// document a few million pixels tall, so both are bounded here, whatever the input.
class RtfDocumentBuilder {
public:
    struct Limits {
        qsizetype maxCharacters = 2'000'000;
        int maxParagraphs = 50'000;
        // Qt lays out each run and each distinct font on its own, and finds formats that differ
        // only in their font families in linear time.
        int maxRuns = 30'000;
        int maxFonts = 256; // distinct families, sizes and styles
        // Estimated with generous glyph metrics at a narrow reference width, so that the real
        // height stays well below where Qt's layout stops finishing at any usual width.
        double maxHeight = 4'000'000.0;
        double referenceWidth = 200.0;
        // Longer runs without a break opportunity get a zero-width space.
        int maxUnbrokenRun = 1000;
    };

    // The paragraph appended at the end of a document cut short; none by default.
    void setTruncationNotice(const QString& notice) { m_truncationNotice = notice; }

    // Clears `document` and starts writing at its beginning.
    explicit RtfDocumentBuilder(QTextDocument& document);
    RtfDocumentBuilder(QTextDocument& document, const Limits& limits);
    ~RtfDocumentBuilder();
    RtfDocumentBuilder(const RtfDocumentBuilder&) = delete;
    RtfDocumentBuilder& operator=(const RtfDocumentBuilder&) = delete;

    // Format of the text appended from now on.
    void setCharFormat(const QTextCharFormat& format);
    // Format of the current paragraph; the last one set before its end applies to all of it.
    void setBlockFormat(const QTextBlockFormat& format);
    void setTabStopDistance(qreal pixels);

    void appendText(QStringView text);
    void appendLineBreak();
    void endParagraph();

    // Records that the document was cut short outside the builder (input too large).
    void markTruncated() { m_truncated = true; }
    // True once a limit was reached: everything appended after that is dropped.
    bool isFull() const { return m_truncated; }

    // Writes the last paragraph and the notice if the document was cut short. Returns false then.
    bool finish();

private:
    void appendSegment(QStringView text);
    void appendCharacter(QChar ch);
    void startPendingParagraph();
    void flushRun();
    void applyBlockFormat();
    double currentParagraphHeight() const;
    void resetParagraphEstimate();

    QTextDocument& m_document;
    Limits m_limits;
    QTextCursor m_cursor;
    bool m_undoWasEnabled;
    bool m_finished = false;
    bool m_truncated = false;
    QString m_truncationNotice;

    QTextCharFormat m_charFormat;
    QString m_run;
    QTextBlockFormat m_blockFormat;
    QTextBlockFormat m_appliedBlockFormat;
    bool m_paragraphPending = false; // a paragraph ended; the next one starts with new content

    qsizetype m_characters = 0;
    int m_paragraphs = 0;
    int m_runs = 0;
    int m_unbroken = 0;
    QSet<QString> m_fonts;

    // Height estimate, in pixels.
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
