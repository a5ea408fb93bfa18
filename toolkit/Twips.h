#pragma once

namespace toolkit {

// Window geometry is in twips of the screen's logical inch. Qt's pixels are device-independent,
// which keeps the windows' proportions on a HiDPI screen.
class Twips {
public:
    static float perPixel();
    static int toPixels(float twips);
    static float fromPixels(int pixels);

    // Tests pin the logical dpi (0 goes back to the screen's own).
    static void overrideDpi(float dpi);
};

} // namespace toolkit
