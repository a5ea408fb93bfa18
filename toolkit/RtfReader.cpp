#include "toolkit/RtfReader.h"

#include "toolkit/RtfDocumentBuilder.h"
#include "toolkit/RtfParser.h"

#include <QTextDocument>

namespace toolkit {

bool RtfReader::read(const QByteArray& rtf, QTextDocument& document, const QString& notice)
{
    RtfDocumentBuilder builder(document);
    builder.setTruncationNotice(notice);
    RtfParser parser(builder);
    parser.parse(QByteArrayView(rtf).first(std::min(rtf.size(), kMaxInputSize)));
    if (rtf.size() > kMaxInputSize)
        builder.markTruncated();
    return builder.finish();
}

} // namespace toolkit
