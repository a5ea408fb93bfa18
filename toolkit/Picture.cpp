#include "toolkit/Picture.h"

#include <QIcon>
#include <QPaintDevice>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cmath>

namespace toolkit {

Picture::Picture(std::initializer_list<Bitmap> bitmaps)
{
    for (const Bitmap& bitmap : bitmaps) {
        // Wraps the static pixels: nothing is copied.
        m_bitmaps.emplace_back(reinterpret_cast<const uchar*>(bitmap.pixels), bitmap.size,
            bitmap.size, QImage::Format_ARGB32_Premultiplied);
    }
    std::sort(m_bitmaps.begin(), m_bitmaps.end(),
        [](const QImage& a, const QImage& b) { return a.width() < b.width(); });
}

QImage Picture::bitmap(int devicePixels) const
{
    for (const QImage& image : m_bitmaps) {
        if (image.width() >= devicePixels)
            return image;
    }
    return m_bitmaps.empty() ? QImage() : m_bitmaps.back();
}

void Picture::draw(QPainter& painter, const QRect& target) const
{
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const QImage image = bitmap(int(std::lround(target.width() * ratio)));
    if (image.isNull())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(target), image);
    painter.restore();
}

QIcon Picture::icon() const
{
    QIcon icon;
    for (const QImage& image : m_bitmaps)
        icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

} // namespace toolkit
