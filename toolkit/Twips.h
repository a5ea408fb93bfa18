#pragma once

namespace toolkit {

// Window geometry is in twips: 1440 to the logical inch of the screen, so 15 to the pixel at
// 96 dpi. Qt's pixels are device-independent, which keeps the windows' proportions on a HiDPI
// screen.
class Twips {
public:
    static constexpr float PerInch = 1440.0f;
    // Where the screen does not say otherwise.
    static constexpr float StandardDpi = 96.0f;
    static constexpr float PerStandardPixel = PerInch / StandardDpi;

    static float perPixel();
    static int toPixels(float twips);
    static float fromPixels(int pixels);

    // Tests pin the logical dpi (0 goes back to the screen's own).
    static void overrideDpi(float dpi);
};

} // namespace toolkit
