// The pictures rendered when the program is built: the bitmap drawn at each screen scale, the
// artwork exactly as its SVG file renders, and the image buttons showing it.
#include "resources/Pictures.h"
#include "toolkit/PictureBox.h"

#include <QIcon>
#include <QPainter>
#include <QSvgRenderer>
#include <QWidget>
#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <string>

namespace {

using namespace Qt::StringLiterals;

template <int Size> struct Solid {
    explicit Solid(QRgb colour) { std::fill(std::begin(pixels), std::end(pixels), colour); }
    quint32 pixels[Size * Size];
};

TEST(PictureTest, DrawsTheBitmapOfTheScreenScaleElseTheNearestLargerOne)
{
    const Solid<2> red(0xffff0000);
    const Solid<4> blue(0xff0000ff);
    const Solid<6> green(0xff00ff00);
    const toolkit::Picture picture { { 4, blue.pixels }, { 2, red.pixels }, { 6, green.pixels } };
    struct Case {
        const char* name;
        qreal ratio; // the target is 2 × 2 logical pixels
        QRgb drawn;
    };
    const Case cases[] = {
        { "scale 1 draws the 2 px bitmap", 1, 0xffff0000 },
        { "scale 2 draws the 4 px bitmap", 2, 0xff0000ff },
        { "scale 1.5 scales the 4 px bitmap down", 1.5, 0xff0000ff },
        { "scale 4 scales the largest bitmap up", 4, 0xff00ff00 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int target = int(2 * c.ratio);
        QImage screen(2 * target, 2 * target, QImage::Format_ARGB32_Premultiplied);
        screen.fill(Qt::transparent);
        screen.setDevicePixelRatio(c.ratio);
        QPainter painter(&screen);
        picture.draw(painter, QRect(0, 0, 2, 2));
        painter.end();
        EXPECT_EQ(screen.pixel(target / 2, target / 2), c.drawn);
        EXPECT_EQ(screen.pixel(target - 1, target - 1), c.drawn) << "fills the target";
        EXPECT_EQ(qAlpha(screen.pixel(target, target)), 0) << "stays inside the target";
    }
}

TEST(PictureTest, ArtworkIsItsSvgFileRenderedAtEachOfItsSizes)
{
    struct Case {
        const char* file;
        const toolkit::Picture& picture;
    };
    const Case cases[] = {
        { "quilmar", Pictures::quilmar() },
        { "copier", Pictures::copier() },
        { "coller", Pictures::coller() },
        { "parametres", Pictures::parametres() },
        { "aide", Pictures::aide() },
    };
    for (const Case& c : cases) {
        QSvgRenderer svg(
            QStringLiteral(QUILMAR_ICONS_DIR) + QString::fromLatin1(c.file) + u".svg"_s);
        ASSERT_TRUE(svg.isValid()) << c.file;
        for (const QSize size : c.picture.icon().availableSizes()) {
            SCOPED_TRACE(std::string(c.file) + ' ' + std::to_string(size.width()));
            QImage rendered(size, QImage::Format_ARGB32_Premultiplied);
            rendered.fill(Qt::transparent);
            QPainter painter(&rendered);
            svg.render(&painter, QRectF(QPointF(), size));
            painter.end();
            EXPECT_EQ(c.picture.bitmap(size.width()), rendered);
        }
    }
}

TEST(PictureTest, ImageButtonShowsItsPictureMovedInByItsBorder)
{
    const QImage bitmap = Pictures::aide().bitmap(24);
    for (const int border : { 0, 1 }) {
        SCOPED_TRACE(border ? "pressed look" : "raised");
        QWidget window;
        toolkit::PictureBox box(&window);
        box.widget()->resize(25, 25);
        box.setPicture(Pictures::aide(), 24);
        box.setBorderStyle(border ? toolkit::BorderStyle::FixedSingle : toolkit::BorderStyle::None);
        const QImage shown
            = box.widget()->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);

        QImage expected(shown.size(), QImage::Format_ARGB32_Premultiplied);
        expected.fill(box.widget()->palette().color(QPalette::Window));
        QPainter painter(&expected);
        painter.drawImage(border, border, bitmap);
        painter.end();
        // Inside the border, which is drawn over the picture's last row and column.
        const QRect inside(border, border, 23, 23);
        EXPECT_EQ(shown.copy(inside), expected.copy(inside));
    }
}

} // namespace
