#include "toolkit/rtf/PlainTextReader.h"

#include "toolkit/rtf/RtfDocumentBuilder.h"

namespace toolkit {

void PlainTextReader::read(QStringView text, QTextDocument& document, const QString& notice)
{
    // Qt lays each paragraph out whole, so a long line becomes paragraphs of at most
    // MaxParagraph characters, ended after a blank where there is one.
    RtfDocumentBuilder builder(document);
    builder.setTruncationNotice(notice);
    qsizetype start = 0;
    while (start < text.size() && !builder.isFull()) {
        qsizetype end = start;
        while (end < text.size() && end - start < MaxParagraph && text[end] != u'\n'
            && text[end] != u'\r')
            ++end;
        qsizetype next = end;
        if (end < text.size() && end - start == MaxParagraph) {
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

} // namespace toolkit
