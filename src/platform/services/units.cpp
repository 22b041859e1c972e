#include "platform/services/units.h"

#include "colour/rounding.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace platform {

namespace {

constexpr double kDrawnForPoints = 9.0;

// Without a screen (no application yet) the classic 96 DPI holds.
double LogicalDpi(bool horizontal)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96.0;
    return horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
}

// The desktop's interface text against the size the layout was drawn for;
// never below 1, so that small text keeps the window as drawn.
double TextScale()
{
    const QFont font = QGuiApplication::font();
    double points = font.pointSizeF();
    if (points <= 0 && font.pixelSize() > 0)
        points = font.pixelSize() * 72.0 / LogicalDpi(false);
    return points > kDrawnForPoints ? points / kDrawnForPoints : 1.0;
}

float LayoutFactor(bool horizontal)
{
    return static_cast<float>(1440.0 / (LogicalDpi(horizontal) * TextScale()));
}

float ScreenFactor(bool horizontal)
{
    return static_cast<float>(1440.0 / LogicalDpi(horizontal));
}

int ToPixels(double twips, float twipsPerPixel)
{
    return colour::RoundHalfAwayFromZero(twips / twipsPerPixel);
}

} // namespace

float TwipsPerPixelX()
{
    return LayoutFactor(true);
}

float TwipsPerPixelY()
{
    return LayoutFactor(false);
}

float ScreenTwipsPerPixelX()
{
    return ScreenFactor(true);
}

float ScreenTwipsPerPixelY()
{
    return ScreenFactor(false);
}

int TwipsToPixelsX(double twips)
{
    return ToPixels(twips, TwipsPerPixelX());
}

int TwipsToPixelsY(double twips)
{
    return ToPixels(twips, TwipsPerPixelY());
}

QRect TwipsToPixels(int left, int top, int width, int height)
{
    return QRect(
        TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width), TwipsToPixelsY(height));
}

int ScreenTwipsToPixelsX(double twips)
{
    return ToPixels(twips, ScreenTwipsPerPixelX());
}

int ScreenTwipsToPixelsY(double twips)
{
    return ToPixels(twips, ScreenTwipsPerPixelY());
}

std::int32_t ScreenPixelsToTwipsX(int pixels)
{
    return colour::RoundHalfEven(pixels * static_cast<double>(ScreenTwipsPerPixelX()));
}

std::int32_t ScreenPixelsToTwipsY(int pixels)
{
    return colour::RoundHalfEven(pixels * static_cast<double>(ScreenTwipsPerPixelY()));
}

void Place(QWidget* control, int left, int top, int width, int height)
{
    control->setGeometry(TwipsToPixels(left, top, width, height));
}

} // namespace platform
