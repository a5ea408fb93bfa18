#include "toolkit/Twips.h"

#include "toolkit/units/Units.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace toolkit {

namespace {
    float g_dpiOverride = 0.0f;
}

float Twips::perPixel()
{
    float dpi = g_dpiOverride;
    if (dpi <= 0.0f) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        dpi = screen ? float(screen->logicalDotsPerInchY()) : units::StandardDpi;
        if (dpi <= 0.0f)
            dpi = units::StandardDpi;
    }
    return units::TwipsPerInch / dpi;
}

int Twips::toPixels(float twips) { return int(std::lround(twips / perPixel())); }

float Twips::fromPixels(int pixels) { return float(pixels) * perPixel(); }

void Twips::overrideDpi(float dpi) { g_dpiOverride = dpi; }

} // namespace toolkit
