// Renders the SVG artwork at build time into one C++ array of premultiplied ARGB pixels, and
// defines for each picture the function of resources/Pictures.h that returns its bitmaps, so that
// the program shows its pictures without parsing or rendering SVG.
//
// usage: quilmar_render_pictures OUT.cpp NAME FILE.svg SIZE[,SIZE...] [NAME FILE.svg SIZES]...
// A name may come back with more sizes. The bitmaps lie in the array in the order given: the
// program's memory only takes in the pages of those it draws, as long as they lie together.
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>
#include <cstdio>
#include <map>

int main(int argc, char** argv)
{
    if (argc < 5 || (argc - 2) % 3 != 0) {
        std::fprintf(stderr, "usage: %s OUT.cpp NAME FILE.svg SIZE[,SIZE...]...\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QString pixels;
    QTextStream pixelOut(&pixels);
    qsizetype offset = 0;
    QStringList names; // in the order of their first bitmap
    std::map<QString, QStringList> bitmaps; // "{ size, pixels + offset }" by name
    for (int arg = 2; arg < argc; arg += 3) {
        const QString name = QString::fromLocal8Bit(argv[arg]);
        QSvgRenderer renderer(QString::fromLocal8Bit(argv[arg + 1]));
        if (!renderer.isValid()) {
            std::fprintf(stderr, "cannot read %s\n", argv[arg + 1]);
            return 1;
        }
        if (!names.contains(name))
            names << name;
        for (const QString& sizeText : QString::fromLocal8Bit(argv[arg + 2]).split(u',')) {
            const int size = sizeText.toInt();
            if (size <= 0) {
                std::fprintf(stderr, "bad size %s\n", qPrintable(sizeText));
                return 2;
            }
            QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            renderer.render(&painter, QRectF(0, 0, size, size));
            painter.end();

            bitmaps[name] << QStringLiteral("{ %1, pixels + %2 }").arg(size).arg(offset);
            pixelOut << "    // " << name << ", " << size << " px";
            for (int y = 0; y < size; ++y) {
                const auto* row = reinterpret_cast<const quint32*>(image.constScanLine(y));
                for (int x = 0; x < size; ++x, ++offset) {
                    pixelOut << ((y * size + x) % 8 == 0 ? "\n    " : " ");
                    if (row[x] == 0)
                        pixelOut << "0,";
                    else
                        pixelOut << "0x" << QString::number(row[x], 16).rightJustified(8, u'0')
                                 << ',';
                }
            }
            pixelOut << '\n';
        }
    }

    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    QTextStream text(&out);
    text << "// Generated at build time by quilmar_render_pictures from the SVG artwork.\n"
         << "#include \"resources/Pictures.h\"\n\nnamespace {\n\nconst quint32 pixels[] = {\n"
         << pixels << "};\n\n} // namespace\n";
    for (const QString& name : names) {
        text << "\nconst toolkit::Picture& Pictures::" << name << "()\n{\n"
             << "    static const toolkit::Picture picture { " << bitmaps[name].join(u", ")
             << " };\n    return picture;\n}\n";
    }
    text.flush();
    return out.error() == QFile::NoError ? 0 : 1;
}
