#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>
#include <utility>

namespace toolkit {

// What a top-level window shows at a given moment, in pixels.
struct WindowPixels {
    bool visible = false;
    bool enlarged = false; // maximised or full screen
    bool minimised = false;
    QRect inner {}; // the window without the window manager's frame
    QRect outer {}; // the frame included; equal to inner until the window is framed
};

// A form's place and size: the outer rectangle in twips that the program sets and reads, and
// how it maps onto the pixels of a window inside a window manager's frame. Pixels that have not
// changed since they were applied or seen read back the program's twips exactly. While the
// window is enlarged, or from a restore until the window shows the normal geometry again, the
// normal geometry is held for the restore. Nothing here touches a window: the caller applies
// what it is told to.
class FormGeometry {
public:
    struct Outer {
        float left = 0, top = 0, width = 0, height = 0;
        bool operator==(const Outer&) const = default;
    };

    FormGeometry() = default;
    // The designed client area, in twips, within the given frame. Where the window manager
    // cannot be told where a window goes (Wayland), the place given stays what the program reads.
    FormGeometry(QRectF client, QMargins frame, bool placeable);

    // The window manager's frame, once it has framed the window.
    static std::optional<QMargins> realFrame(const WindowPixels& window);
    // The real frame, or the assumed one until then.
    static QMargins frame(const WindowPixels& window, QMargins assumed);

    // The window given another inner size, in the same frame.
    static WindowPixels resized(const WindowPixels& window, QSize inner);

    // What the program reads now. The same as after sync(), with nothing changed.
    Outer read(const WindowPixels& window, QMargins assumed) const;
    // Takes in what the window shows: after adoptFrame(), and after applying its answer.
    void sync(const WindowPixels& window, QMargins assumed);
    // The window has a frame other than the one the size was applied with: the inner size that
    // keeps the program's outer size when it is the window manager's first frame and the window
    // still has the size applied, else nothing (what the window shows is then the truth).
    std::optional<QSize> adoptFrame(const WindowPixels& window, QMargins assumed);
    bool frameChanged(const WindowPixels& window, QMargins assumed) const;
    // The window is shown again: its first frame is still to come.
    void expectFrame() { m_framed = false; }

    Outer& outer() { return m_outer; }
    const Outer& outer() const { return m_outer; }
    // The designed client area lies below a menu bar: the window grows by its height.
    void addMenuBar(int pixels);

    // Where the window goes, and the inner size within the frame, unless the normal geometry is
    // being held; both are then taken as applied.
    std::optional<QPoint> placeToApply(bool enlarged);
    std::optional<QSize> sizeToApply(bool enlarged, QMargins frame);

    // From a restore until the window shows the normal geometry again.
    void hold() { m_holding = true; }
    void release() { m_holding = false; }
    bool holding() const { return m_holding; }
    bool holdSettled(const WindowPixels& window, QMargins assumed) const;

    // Limits for the user's dragging, in outer twips; 0 leaves them out.
    void setWidthRange(float minimum, float maximum);
    void setFixedClientHeight(float twips);
    // The same limits for the inner window, in pixels.
    std::optional<std::pair<int, int>> innerWidthRange(QMargins frame) const;
    std::optional<int> innerFixedHeight(int menuBar) const;

private:
    // The window's size when its frame is added to its inner size.
    static QSize outerSize(const WindowPixels& window, QMargins frame);
    bool follows(const WindowPixels& window) const;

    Outer m_outer;
    bool m_placeable = true;
    QRect m_appliedPx; // outer pixels as last set or seen
    QMargins m_frameApplied; // the frame the size was last applied with
    bool m_framed = false; // the window manager's first frame has been seen since shown
    bool m_holding = false;
    float m_minWidth = 0, m_maxWidth = 0, m_fixedClientHeight = 0;
};

} // namespace toolkit
