#include "toolkit/rtf/RtfReader.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <random>

namespace {

struct Style {
    const char* font;
    int halfPoints;
    const char* color; // HTML
    int colorIndex; // RTF colour table
    bool bold;
    bool italic;
};

struct Sample {
    QByteArray rtf;
    QString html;
};

// The same text and styles written once as RTF (accents escaped, as word processors do) and
// once as HTML.
Sample makeSample(qsizetype targetBytes)
{
    const char* const fonts[] = { "Arial", "Times New Roman", "Courier New", "Verdana" };
    const char* const colors[] = { "#000000", "#800000", "#0000ff", "#008000" };
    const int sizes[] = { 16, 20, 24, 32 };
    // Latin-1 text: every accent is one byte, written \'hh in RTF.
    const char* const phrases[] = {
        "Le convertisseur affiche l'\xe9"
        "quivalent en francs ",
        "\xe0 la d\xe9"
        "cimale pr\xe8s, sans arrondi suppl\xe9mentaire. ",
        "Les param\xe8tres sont enregistr\xe9s \xe0 la fermeture de la fen\xea"
        "tre principale. ",
        "Copiez le montant, puis collez-le dans le champ de votre choix ; ",
        "le taux de conversion \xe9tant fix\xe9 \xe0 6,55957 francs pour un euro. ",
    };

    Sample sample;
    sample.rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman "
                 "Times New Roman;}{\\f2\\fmodern Courier New;}{\\f3\\fswiss Verdana;}}\r\n"
                 "{\\colortbl\\red0\\green0\\blue0;\\red128\\green0\\blue0;\\red0\\green0\\blue255;"
                 "\\red0\\green128\\blue0;}\r\n";
    QByteArray html = "<html><body>";
    std::mt19937 random(42);
    auto pick = [&random](int count) { return int(random() % unsigned(count)); };
    while (sample.rtf.size() < targetBytes) {
        const bool centred = pick(8) == 0;
        sample.rtf += centred ? "\\pard\\qc\\sa120 " : "\\pard\\sa120 ";
        html += centred ? "<p align=\"center\" style=\"margin-bottom:8px\">"
                        : "<p style=\"margin-bottom:8px\">";
        const int runs = 4 + pick(5);
        for (int r = 0; r < runs; ++r) {
            const int font = pick(4);
            const int color = pick(4);
            const Style style { fonts[font], sizes[pick(4)], colors[color], color, pick(3) == 0,
                pick(4) == 0 };
            const QByteArray text = phrases[pick(5)];

            sample.rtf += "{\\f" + QByteArray::number(font) + "\\fs"
                + QByteArray::number(style.halfPoints) + "\\cf"
                + QByteArray::number(style.colorIndex) + (style.bold ? "\\b" : "")
                + (style.italic ? "\\i" : "") + ' ';
            for (const char c : text) {
                if (static_cast<unsigned char>(c) >= 0x80)
                    sample.rtf += "\\'" + QByteArray::number(static_cast<unsigned char>(c), 16);
                else
                    sample.rtf += c;
            }
            sample.rtf += '}';

            html += QByteArray("<span style=\"font-family:'") + style.font
                + "'; font-size:" + QByteArray::number(style.halfPoints / 2.0)
                + "pt; color:" + style.color + ';' + (style.bold ? " font-weight:bold;" : "")
                + (style.italic ? " font-style:italic;" : "") + "\">" + text + "</span>";
        }
        sample.rtf += "\\par\r\n";
        html += "</p>\n";
    }
    sample.rtf += '}';
    html += "</body></html>";
    sample.html = QString::fromLatin1(html);
    return sample;
}

const Sample& sample()
{
    static const Sample s = makeSample(1024 * 1024);
    return s;
}

void BM_RtfRead(benchmark::State& state)
{
    const QByteArray& rtf = sample().rtf;
    for (auto _ : state) {
        QTextDocument document;
        benchmark::DoNotOptimize(toolkit::RtfReader::read(rtf, document, QString()));
    }
    state.SetBytesProcessed(state.iterations() * rtf.size());
}
BENCHMARK(BM_RtfRead)->Unit(benchmark::kMillisecond);

void BM_HtmlImport(benchmark::State& state)
{
    const QString& html = sample().html;
    for (auto _ : state) {
        QTextDocument document;
        document.setHtml(html);
        benchmark::DoNotOptimize(document.characterCount());
    }
}
BENCHMARK(BM_HtmlImport)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    // The comparison is only fair if both documents hold the same text, all of it.
    QTextDocument fromRtf;
    QTextDocument fromHtml;
    fromHtml.setHtml(sample().html);
    if (!toolkit::RtfReader::read(sample().rtf, fromRtf, QString())
        || fromRtf.toPlainText() != fromHtml.toPlainText()) {
        std::fprintf(stderr, "The RTF and HTML samples do not read as the same text.\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
