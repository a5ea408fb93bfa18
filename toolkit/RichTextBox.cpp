#include "toolkit/RichTextBox.h"

#include "toolkit/RegularFile.h"
#include "toolkit/RichTextView.h"
#include "toolkit/codepage/Cp1252.h"
#include "toolkit/rtf/PlainTextReader.h"
#include "toolkit/rtf/RtfReader.h"

#include <QStringDecoder>
#include <QTextBrowser>
#include <QTextDocument>

namespace toolkit {

const qint64 RichTextBox::MaxFileSize = RtfReader::kMaxInputSize;

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
        PlainTextReader::read(text, *document, m_truncationNotice);
    }
    // The view deletes the document it made itself as it takes the new one: ask who owns the
    // previous one before that.
    QTextDocument* previous = m_view->document();
    const bool ours = previous && previous->parent() == m_view;
    m_view->setDocument(document);
    if (ours)
        delete previous;
}

QString RichTextBox::plainText() const { return m_view->document()->toPlainText(); }

const QTextDocument* RichTextBox::document() const { return m_view->document(); }

} // namespace toolkit
