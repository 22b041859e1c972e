#include "platform/services/units.h"

#include "colour/rounding.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

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
    return colour::RoundHalfAwayFromZero(twips / TwipsPerPixelX());
}

int TwipsToPixelsY(double twips)
{
    return colour::RoundHalfAwayFromZero(twips / TwipsPerPixelY());
}

QRect TwipsToPixels(int left, int top, int width, int height)
{
    return QRect(
        TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height));
}

std::int32_t PixelsToTwipsX(int pixels)
{
    return colour::RoundHalfEven(pixels * static_cast<double>(TwipsPerPixelX()));
}

std::int32_t PixelsToTwipsY(int pixels)
{
    return colour::RoundHalfEven(pixels * static_cast<double>(TwipsPerPixelY()));
}

void Place(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(TwipsToPixels(left, top, width, height));
}

} // namespace platform
