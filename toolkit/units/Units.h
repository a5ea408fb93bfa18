#pragma once

// Geometry is in twips: 1440 to the logical inch, so 15 to the pixel at the standard 96 dpi. The
// windows and the help document's indents both measure in them.
namespace toolkit::units {

inline constexpr float TwipsPerInch = 1440.0f;
// Where the screen does not say otherwise.
inline constexpr float StandardDpi = 96.0f;
inline constexpr float TwipsPerStandardPixel = TwipsPerInch / StandardDpi;

} // namespace toolkit::units
