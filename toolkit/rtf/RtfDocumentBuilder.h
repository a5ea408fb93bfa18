#pragma once

#include "toolkit/rtf/RtfHeightBudget.h"
#include "toolkit/rtf/RtfLimits.h"

#include <QSet>
#include <QString>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>

class QTextDocument;

namespace toolkit {

// Writes text into a QTextDocument in runs of one format, and refuses to build a document that
// Qt's layout could not cope with: past any of the limits the document is cut short and a notice
// paragraph says so.
class RtfDocumentBuilder {
public:
    using Limits = RtfLimits;

    // The paragraph appended at the end of a document cut short; none by default.
    void setTruncationNotice(const QString& notice) { m_truncationNotice = notice; }

    // Clears `document` and starts writing at its beginning.
    explicit RtfDocumentBuilder(QTextDocument& document, const Limits& limits = {});
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

    RtfHeightBudget m_height;
};

} // namespace toolkit
