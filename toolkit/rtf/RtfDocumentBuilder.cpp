#include "toolkit/rtf/RtfDocumentBuilder.h"

#include <QTextDocument>
#include <QTextOption>

namespace toolkit {

namespace {

    bool isBreakOpportunity(char16_t c)
    {
        return c == u' ' || c == u'\t' || c == 0x1680 || (c >= 0x2000 && c <= 0x200B) || c == 0x205F
            || c == 0x3000;
    }

    // Characters that would end a block inside QTextCursor::insertText or that Qt reserves.
    bool isLineBreak(char16_t c) { return c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029; }

    bool isUnshowable(char16_t c)
    {
        return (c >= 0xFDD0 && c <= 0xFDEF) || c == 0xFFFC || c == 0xFFFE || c == 0xFFFF;
    }

    bool isControl(char16_t c) { return (c < 0x20 && c != u'\t') || (c >= 0x7F && c < 0xA0); }

} // namespace

RtfDocumentBuilder::RtfDocumentBuilder(QTextDocument& document, const Limits& limits)
    : m_document(document)
    , m_limits(limits)
    , m_undoWasEnabled(document.isUndoRedoEnabled())
    , m_height(limits.maxHeight, limits.referenceWidth)
{
    // The reader builds a read-only document: an undo history would only cost time and memory.
    m_document.setUndoRedoEnabled(false);
    m_document.clear();
    m_cursor = QTextCursor(&m_document);
    m_cursor.beginEditBlock();
    m_appliedBlockFormat = m_cursor.blockFormat();
    setCharFormat(QTextCharFormat());
    setBlockFormat(QTextBlockFormat());
}

RtfDocumentBuilder::~RtfDocumentBuilder()
{
    if (!m_finished) {
        m_cursor.endEditBlock();
        m_document.setUndoRedoEnabled(m_undoWasEnabled);
    }
}

void RtfDocumentBuilder::setCharFormat(const QTextCharFormat& format)
{
    flushRun();
    m_charFormat = format;
    const QString font = format.font().key() + QString::number(int(format.verticalAlignment()));
    if (!m_fonts.contains(font)) {
        if (m_fonts.size() >= m_limits.maxFonts)
            m_truncated = true;
        else
            m_fonts.insert(font);
    }
    m_height.setPointSize(format.fontPointSize());
}

void RtfDocumentBuilder::setBlockFormat(const QTextBlockFormat& format)
{
    m_blockFormat = format;
    m_height.setBlockFormat(format);
}

void RtfDocumentBuilder::setTabStopDistance(qreal pixels)
{
    QTextOption option = m_document.defaultTextOption();
    option.setTabStopDistance(pixels);
    m_document.setDefaultTextOption(option);
}

void RtfDocumentBuilder::appendText(QStringView text)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isLineBreak(text[i].unicode())) {
            appendSegment(text.sliced(start, i - start));
            appendLineBreak();
            start = i + 1;
        }
    }
    appendSegment(text.sliced(start));
}

void RtfDocumentBuilder::appendSegment(QStringView text)
{
    if (m_truncated || text.isEmpty())
        return;
    startPendingParagraph();

    // How much of the text fits within the character and height budgets.
    qsizetype allowed
        = m_height.fitting(std::min(text.size(), m_limits.maxCharacters - m_characters));
    if (allowed < text.size()) {
        m_truncated = true;
        if (allowed > 0 && text[allowed - 1].isHighSurrogate())
            --allowed;
    }
    if (allowed <= 0)
        return;
    if (m_run.isEmpty() && ++m_runs > m_limits.maxRuns) {
        m_truncated = true;
        return;
    }

    for (qsizetype i = 0; i < allowed; ++i) {
        char16_t c = text[i].unicode();
        if (isControl(c))
            continue;
        if (QChar::isHighSurrogate(c) && i + 1 < allowed && text[i + 1].isLowSurrogate()) {
            if (++m_unbroken > m_limits.maxUnbrokenRun) {
                m_run.append(QChar(0x200B));
                m_unbroken = 1;
            }
            m_run.append(text[i]);
            m_run.append(text[++i]);
            continue;
        }
        if (QChar::isSurrogate(c) || isUnshowable(c))
            c = 0xFFFD;
        if (isBreakOpportunity(c)) {
            m_unbroken = 0;
        } else if (++m_unbroken > m_limits.maxUnbrokenRun) {
            m_run.append(QChar(0x200B));
            m_unbroken = 1;
        }
        m_run.append(QChar(c));
    }
    m_characters += allowed;
    m_height.addCharacters(allowed);
}

void RtfDocumentBuilder::appendLineBreak()
{
    if (m_truncated)
        return;
    startPendingParagraph();
    if (m_height.lineBreakOverflows() || m_characters >= m_limits.maxCharacters) {
        m_truncated = true;
        return;
    }
    if (m_run.isEmpty() && ++m_runs > m_limits.maxRuns) {
        m_truncated = true;
        return;
    }
    m_run.append(QChar(QChar::LineSeparator));
    ++m_characters;
    m_height.breakLine();
    m_unbroken = 0;
}

void RtfDocumentBuilder::endParagraph()
{
    if (m_truncated)
        return;
    if (m_paragraphs >= m_limits.maxParagraphs || m_height.paragraphOverflows()) {
        m_truncated = true;
        return;
    }
    startPendingParagraph();
    flushRun();
    applyBlockFormat();
    m_height.endParagraph();
    m_unbroken = 0;
    // The break itself waits for more content, so that a final \par adds no empty paragraph.
    m_paragraphPending = true;
    ++m_paragraphs;
}

bool RtfDocumentBuilder::finish()
{
    if (m_finished)
        return !m_truncated;
    m_finished = true;
    flushRun();
    if (!m_paragraphPending)
        applyBlockFormat();
    if (m_truncated) {
        if (m_cursor.position() > 0 || m_paragraphPending)
            m_cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
        else
            m_cursor.setBlockFormat(QTextBlockFormat());
        m_cursor.insertText(m_truncationNotice, QTextCharFormat());
    }
    m_cursor.endEditBlock();
    m_document.setUndoRedoEnabled(m_undoWasEnabled);
    return !m_truncated;
}

void RtfDocumentBuilder::startPendingParagraph()
{
    if (!m_paragraphPending)
        return;
    m_cursor.insertBlock(); // keeps the previous block's format until this one ends
    m_paragraphPending = false;
}

void RtfDocumentBuilder::flushRun()
{
    if (m_run.isEmpty())
        return;
    m_cursor.insertText(m_run, m_charFormat);
    m_run.clear();
}

void RtfDocumentBuilder::applyBlockFormat()
{
    if (m_blockFormat == m_appliedBlockFormat)
        return;
    m_cursor.setBlockFormat(m_blockFormat);
    m_appliedBlockFormat = m_blockFormat;
}

} // namespace toolkit
