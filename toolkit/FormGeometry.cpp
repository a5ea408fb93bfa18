#include "toolkit/FormGeometry.h"

#include "toolkit/Twips.h"

#include <algorithm>

namespace toolkit {

FormGeometry::FormGeometry(QRectF client, QMargins frame, bool placeable)
    : m_outer { float(client.left()) - Twips::fromPixels(frame.left()),
        float(client.top()) - Twips::fromPixels(frame.top()),
        float(client.width()) + Twips::fromPixels(frame.left() + frame.right()),
        float(client.height()) + Twips::fromPixels(frame.top() + frame.bottom()) }
    , m_placeable(placeable)
{
}

std::optional<QMargins> FormGeometry::realFrame(const WindowPixels& window)
{
    if (!window.visible || window.outer == window.inner)
        return std::nullopt;
    const QRect& outer = window.outer;
    const QRect& inner = window.inner;
    return QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
        outer.right() - inner.right(), outer.bottom() - inner.bottom());
}

QMargins FormGeometry::frame(const WindowPixels& window, QMargins assumed)
{
    return realFrame(window).value_or(assumed);
}

QSize FormGeometry::outerSize(const WindowPixels& window, QMargins frame)
{
    return { window.inner.width() + frame.left() + frame.right(),
        window.inner.height() + frame.top() + frame.bottom() };
}

WindowPixels FormGeometry::resized(const WindowPixels& window, QSize inner)
{
    WindowPixels shown = window;
    shown.inner.setSize(inner);
    shown.outer = shown.inner.marginsAdded(frame(window, {}));
    return shown;
}

bool FormGeometry::follows(const WindowPixels& window) const
{
    // Enlarged or held, the normal geometry stays what the program reads.
    return window.visible && !window.enlarged && !m_holding;
}

FormGeometry::Outer FormGeometry::read(const WindowPixels& window, QMargins assumed) const
{
    if (!follows(window))
        return m_outer;
    FormGeometry next = *this;
    const std::optional<QSize> inner = next.adoptFrame(window, assumed);
    next.sync(inner ? resized(window, *inner) : window, assumed);
    return next.m_outer;
}

bool FormGeometry::frameChanged(const WindowPixels& window, QMargins assumed) const
{
    return window.visible && frame(window, assumed) != m_frameApplied;
}

std::optional<QSize> FormGeometry::adoptFrame(const WindowPixels& window, QMargins assumed)
{
    if (!frameChanged(window, assumed))
        return std::nullopt;
    const QMargins margins = frame(window, assumed);
    const bool real = realFrame(window).has_value();
    const bool normal = !window.enlarged && !window.minimised;
    const QSize applied(m_appliedPx.width() - m_frameApplied.left() - m_frameApplied.right(),
        m_appliedPx.height() - m_frameApplied.top() - m_frameApplied.bottom());
    m_frameApplied = margins;
    const bool firstFrame = real && !m_framed;
    if (real)
        m_framed = true;
    // Only the first frame replaces the assumed one. Later changes of the frame (a maximised
    // window loses its borders) come with a size that the window manager chose itself:
    // resizing then would fight it.
    if (!firstFrame || !normal || window.inner.size() != applied)
        return std::nullopt; // resized meanwhile: what the window shows now is the truth
    return QSize(std::max(1, m_appliedPx.width() - margins.left() - margins.right()),
        std::max(1, m_appliedPx.height() - margins.top() - margins.bottom()));
}

void FormGeometry::sync(const WindowPixels& window, QMargins assumed)
{
    if (!follows(window))
        return;
    const QPoint position = window.outer.topLeft();
    const QSize size = outerSize(window, frame(window, assumed));
    // What the window still shows as the program set it keeps the program's twips exactly.
    if (m_placeable && position.x() != m_appliedPx.x())
        m_outer.left = Twips::fromPixels(position.x());
    if (m_placeable && position.y() != m_appliedPx.y())
        m_outer.top = Twips::fromPixels(position.y());
    if (size.width() != m_appliedPx.width())
        m_outer.width = Twips::fromPixels(size.width());
    if (size.height() != m_appliedPx.height())
        m_outer.height = Twips::fromPixels(size.height());
    m_appliedPx = QRect(position, size);
}

void FormGeometry::addMenuBar(int pixels)
{
    const float bar = Twips::fromPixels(pixels);
    m_outer.top -= bar;
    m_outer.height += bar;
}

std::optional<QPoint> FormGeometry::placeToApply(bool enlarged)
{
    if (enlarged || m_holding)
        return std::nullopt; // kept for the restore
    const QPoint px(Twips::toPixels(m_outer.left), Twips::toPixels(m_outer.top));
    m_appliedPx.moveTopLeft(px);
    return px;
}

std::optional<QSize> FormGeometry::sizeToApply(bool enlarged, QMargins frame)
{
    if (enlarged || m_holding)
        return std::nullopt; // kept for the restore
    m_frameApplied = frame;
    const int outerWidth = Twips::toPixels(m_outer.width);
    const int outerHeight = Twips::toPixels(m_outer.height);
    m_appliedPx.setSize({ outerWidth, outerHeight });
    return QSize(std::max(1, outerWidth - frame.left() - frame.right()),
        std::max(1, outerHeight - frame.top() - frame.bottom()));
}

bool FormGeometry::holdSettled(const WindowPixels& window, QMargins assumed) const
{
    return outerSize(window, frame(window, assumed)) == m_appliedPx.size()
        && (!m_placeable || window.outer.topLeft() == m_appliedPx.topLeft());
}

void FormGeometry::setWidthRange(float minimum, float maximum)
{
    m_minWidth = minimum;
    m_maxWidth = maximum;
}

void FormGeometry::setFixedClientHeight(float twips) { m_fixedClientHeight = twips; }

std::optional<std::pair<int, int>> FormGeometry::innerWidthRange(QMargins frame) const
{
    if (m_maxWidth <= 0)
        return std::nullopt;
    const int sides = frame.left() + frame.right();
    return std::pair(std::max(1, Twips::toPixels(m_minWidth) - sides),
        std::max(1, Twips::toPixels(m_maxWidth) - sides));
}

std::optional<int> FormGeometry::innerFixedHeight(int menuBar) const
{
    if (m_fixedClientHeight <= 0)
        return std::nullopt;
    return Twips::toPixels(m_fixedClientHeight) + menuBar;
}

} // namespace toolkit
