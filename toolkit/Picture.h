#pragma once

#include <QImage>
#include <QtGlobal>
#include <initializer_list>
#include <vector>

class QIcon;
class QPainter;
class QRect;

namespace toolkit {

// A picture kept as square bitmaps rendered beforehand at a few sizes, so that showing it
// parses and renders nothing at run time. Each size is drawn as it is; a size in between is the
// nearest larger bitmap scaled down.
class Picture {
public:
    // One rendering: size × size premultiplied ARGB pixels, row by row, that outlive the
    // picture (static data).
    struct Bitmap {
        int size;
        const quint32* pixels;
    };

    Picture() = default;
    Picture(std::initializer_list<Bitmap> bitmaps);

    bool isNull() const { return m_bitmaps.empty(); }
    // The bitmap to draw at a size in device pixels: that size, else the nearest larger one,
    // else the largest.
    QImage bitmap(int devicePixels) const;
    // Draws the picture into target, given in the painter's logical pixels.
    void draw(QPainter& painter, const QRect& target) const;
    // Every rendering, for a window's icon.
    QIcon icon() const;
    // The same for every copy of one picture.
    qint64 cacheKey() const { return isNull() ? 0 : m_bitmaps.front().cacheKey(); }

private:
    std::vector<QImage> m_bitmaps; // by increasing size
};

} // namespace toolkit
