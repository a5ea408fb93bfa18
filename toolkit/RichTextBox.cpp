#include "toolkit/RichTextBox.h"

#include "toolkit/Cp1252.h"
#include "toolkit/RegularFile.h"
#include "toolkit/RichTextView.h"
#include "toolkit/RtfDocumentBuilder.h"
#include "toolkit/RtfReader.h"

#include <QStringDecoder>
#include <QTextBrowser>
#include <QTextDocument>

namespace toolkit {

RichTextBox::RichTextBox(QWidget* parent)
    : Control(new RichTextView(parent))
    , m_view(static_cast<QTextBrowser*>(widget()))
{
    m_view->setReadOnly(true);
    m_view->setOpenLinks(false);
    m_view->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_view->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

bool RichTextBox::setFileName(const QString& path)
{
    const auto file = RegularFile::read(path, MaxFileSize);
    if (!file || !file->whole)
        return false;
    m_fileName = path;
    setContents(file->bytes);
    return true;
}

void RichTextBox::setContents(const QByteArray& bytes)
{
    auto* document = new QTextDocument(m_view);
    if (bytes.startsWith("{\\rtf")) {
        RtfReader::read(bytes, *document, m_truncationNotice);
    } else {
        // Plain text: UTF-8 when it is valid, the Western code page otherwise.
        QStringDecoder utf8(QStringDecoder::Utf8);
        QString text = utf8(bytes);
        if (utf8.hasError())
            text = Cp1252::decode(bytes);
        setPlainText(text, *document, m_truncationNotice);
    }
    // The view deletes the document it made itself as it takes the new one: ask who owns the
    // previous one before that.
    QTextDocument* previous = m_view->document();
    const bool ours = previous && previous->parent() == m_view;
    m_view->setDocument(document);
    if (ours)
        delete previous;
}

void RichTextBox::setPlainText(QStringView text, QTextDocument& document, const QString& notice)
{
    // Through the same bounds as rich text: Qt alone lays a long line out in quadratic time.
    // Qt also lays each paragraph out whole, so a long line becomes paragraphs of at most
    // MaxPlainParagraph characters, ended after a blank where there is one.
    RtfDocumentBuilder builder(document);
    builder.setTruncationNotice(notice);
    qsizetype start = 0;
    while (start < text.size() && !builder.isFull()) {
        qsizetype end = start;
        while (end < text.size() && end - start < MaxPlainParagraph && text[end] != u'\n'
            && text[end] != u'\r')
            ++end;
        qsizetype next = end;
        if (end < text.size() && end - start == MaxPlainParagraph) {
            const qsizetype blank = text.sliced(start, end - start).lastIndexOf(u' ');
            if (blank > 0)
                end = start + blank + 1;
            else if (text[end - 1].isHighSurrogate())
                --end; // never between the halves of a character
            next = end;
        } else if (end < text.size()) {
            next = end + (text.sliced(end).startsWith(u"\r\n") ? 2 : 1);
        }
        builder.appendText(text.sliced(start, end - start));
        if (end < text.size())
            builder.endParagraph();
        start = next;
    }
    builder.finish();
}

QString RichTextBox::plainText() const { return m_view->document()->toPlainText(); }

const QTextDocument* RichTextBox::document() const { return m_view->document(); }

} // namespace toolkit
