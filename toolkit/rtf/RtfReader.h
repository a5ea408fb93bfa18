#pragma once

#include "toolkit/rtf/RtfLimits.h"

#include <QByteArray>
#include <QString>

class QTextDocument;

namespace toolkit {

// The help window's rich text: Qt reads no RTF, so the program reads it itself. Any bytes are
// safe to read: the reader never recurses on the input's nesting and bounds what it builds.
class RtfReader {
public:
    static constexpr qsizetype kMaxInputSize = RtfLimits {}.maxInputSize;

    // Builds `document` (cleared first) from RTF bytes. Returns false when the document was cut
    // short by the limits; the notice paragraph is then appended at the end.
    static bool read(const QByteArray& rtf, QTextDocument& document, const QString& notice,
        const RtfLimits& limits = {});
};

} // namespace toolkit
