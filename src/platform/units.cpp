#include "platform/units.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace platform {

namespace {

// Without a screen (no application yet) the classic 96 DPI holds.
double LogicalDpi(bool horizontal)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96.0;
    return horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
}

} // namespace

float TwipsPerPixelX()
{
    return static_cast<float>(1440.0 / LogicalDpi(true));
}

float TwipsPerPixelY()
{
    return static_cast<float>(1440.0 / LogicalDpi(false));
}

int TwipsToPixelsX(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixelX()));
}

int TwipsToPixelsY(double twips)
{
    return static_cast<int>(std::lround(twips / TwipsPerPixelY()));
}

QRect TwipsToPixels(int left, int top, int width, int height)
{
    return QRect(
        TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height));
}

} // namespace platform
