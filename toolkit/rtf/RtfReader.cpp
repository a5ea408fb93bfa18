#include "toolkit/rtf/RtfReader.h"

#include "toolkit/rtf/RtfDocumentBuilder.h"
#include "toolkit/rtf/RtfParser.h"

#include <QTextDocument>

namespace toolkit {

bool RtfReader::read(
    const QByteArray& rtf, QTextDocument& document, const QString& notice, const RtfLimits& limits)
{
    RtfDocumentBuilder builder(document, limits);
    builder.setTruncationNotice(notice);
    RtfParser parser(builder);
    parser.parse(QByteArrayView(rtf).first(std::min(rtf.size(), limits.maxInputSize)));
    if (rtf.size() > limits.maxInputSize)
        builder.markTruncated();
    return builder.finish();
}

} // namespace toolkit
