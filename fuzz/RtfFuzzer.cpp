#include "toolkit/rtf/PlainTextReader.h"
#include "toolkit/rtf/RtfReader.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>

// Reads any bytes as RTF and as plain text, then lays each document out at a fixed width, so that
// a document Qt cannot lay out in time shows up as a time-out rather than passing unnoticed.

// Qt 6.4's font fallback (QFontEngineMultiFontConfig::getMatchPatternForFallback) loses the
// fontconfig patterns it matches for characters the first font lacks. The reader never calls
// fontconfig itself, so only that leak is silenced; without frame pointers in the system
// libraries the stack ends inside fontconfig, hence the library as the pattern.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt keeps a reference to argc and may edit argv: give it its own, not libFuzzer's.
    static int argc = 1;
    static char name[] = "RtfFuzzer";
    static char* argv[] = { name, nullptr };
    static QGuiApplication app(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray rtf(reinterpret_cast<const char*>(data), qsizetype(size));
    QTextDocument document;
    toolkit::RtfReader::read(rtf, document, QString());
    QTextDocument plain;
    toolkit::PlainTextReader::read(QString::fromUtf8(rtf), plain, QString());
    for (QTextDocument* read : { &document, &plain }) {
        read->setTextWidth(600);
        read->documentLayout()->documentSize();
    }
    return 0;
}
