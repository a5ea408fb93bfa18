#include "toolkit/rtf/RtfReader.h"

#include "toolkit/rtf/RtfDocumentBuilder.h"
#include "toolkit/rtf/RtfParser.h"

#include <QTextDocument>

namespace toolkit {

bool RtfReader::read(const QByteArray& rtf, QTextDocument& document)
{
    RtfDocumentBuilder builder(document);
    RtfParser parser(builder);
    parser.parse(QByteArrayView(rtf).first(std::min(rtf.size(), kMaxInputSize)));
    if (rtf.size() > kMaxInputSize)
        builder.markTruncated();
    return builder.finish();
}

} // namespace toolkit
