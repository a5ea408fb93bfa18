#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

class QTextDocument;

namespace toolkit {

// Plain text shown as a document, within the same bounds as rich text: Qt alone lays a long
// line out in quadratic time.
class PlainTextReader {
public:
    // The longest paragraph that plain text becomes; a longer line is split.
    static constexpr qsizetype MaxParagraph = 2000;

    // Builds `document`, one paragraph a line; `notice` ends a document cut short.
    static void read(QStringView text, QTextDocument& document, const QString& notice);
};

} // namespace toolkit
