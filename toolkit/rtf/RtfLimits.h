#pragma once

#include <QtGlobal>

namespace toolkit {

// What the reader builds at most, whatever the input: past any bound the document is cut short
// and a notice paragraph says so. Qt lays out one unbroken word in quadratic time and stops
// finishing a document a few million pixels tall, so both are bounded too. The defaults are the
// program's; tests pass small ones.
struct RtfLimits {
    // Larger inputs are read only up to this size.
    qsizetype maxInputSize = 16 * 1024 * 1024;
    qsizetype maxCharacters = 2'000'000;
    int maxParagraphs = 50'000;
    // Qt lays out each run and each distinct font on its own, and finds formats that differ
    // only in their font families in linear time.
    int maxRuns = 30'000;
    int maxFonts = 256; // distinct families, sizes and styles
    // Estimated with generous glyph metrics at a narrow reference width, so that the real
    // height stays well below where Qt's layout stops finishing at any usual width.
    double maxHeight = 4'000'000.0;
    double referenceWidth = 200.0;
    // Longer runs without a break opportunity get a zero-width space.
    int maxUnbrokenRun = 1000;
};

} // namespace toolkit
