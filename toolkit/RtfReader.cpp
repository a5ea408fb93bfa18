#include "toolkit/RtfReader.h"

#include "toolkit/RtfDocumentBuilder.h"
#include "toolkit/RtfParser.h"

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
