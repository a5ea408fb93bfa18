#pragma once

#include "toolkit/Control.h"

class QByteArray;
class QTextBrowser;
class QTextDocument;

namespace toolkit {

// A read-only rich text view with scroll bars; its text can be selected and copied.
class RichTextBox final : public Control {
public:
    // Files larger than this are not read at all, nor is anything but a regular file: the RTF
    // reader's own input bound.
    static const qint64 MaxFileSize;

    explicit RichTextBox(QWidget* parent);

    QString fileName() const { return m_fileName; }
    // Reads the file and shows it in place of the current document: rich text when it begins
    // as such, plain text otherwise. Returns false, keeping the current document, when the file
    // cannot be read.
    bool setFileName(const QString& path);
    // Shows a document given as rich text (or plain text) bytes.
    void setContents(const QByteArray& bytes);
    // The paragraph that ends a document cut short by the reading's bounds, from the next
    // document shown on.
    void setTruncationNotice(const QString& notice) { m_truncationNotice = notice; }

    QString plainText() const;
    const QTextDocument* document() const;

private:
    QTextBrowser* m_view;
    QString m_fileName;
    QString m_truncationNotice;
};

} // namespace toolkit
