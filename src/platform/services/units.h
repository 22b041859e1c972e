#pragma once

#include <QRect>
#include <cstdint>

class QWidget;

// Layout code speaks twips (1/1440 inch); Qt speaks device-independent pixels.
// The factors come from the primary screen's logical DPI: 15 at 96 DPI. Each
// direction has one conversion per axis, each with its own rounding rule.
namespace platform {

float TwipsPerPixelX();
float TwipsPerPixelY();

// Twips to pixels rounds to the nearest pixel, halves away from zero: the
// rule every control of the layout was placed by.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
QRect TwipsToPixels(int left, int top, int width, int height);

// Pixels to twips rounds to the nearest twip, halves to even, in double
// precision: the rule of the stored window position.
std::int32_t PixelsToTwipsX(int pixels);
std::int32_t PixelsToTwipsY(int pixels);

// Places a control of a form at a twips rectangle of its container.
void Place(QWidget* control, int left, int top, int width, int height);

} // namespace platform
