#pragma once

#include <QRect>
#include <cstdint>

class QWidget;

// Layout code speaks twips (1/1440 inch); Qt speaks device-independent pixels.
// There are two factors. The screen's comes from the primary screen's logical
// DPI (15 at 96 DPI) and measures places on the screen: the window's position
// and the screen's size, as the settings file stores them. The layout's also
// follows the desktop's text size: the window was drawn for 9 point text, so
// where the desktop's interface text is larger every control grows with it
// (at 11 pt the window is 11/9 as large) and its caption still fits. At 9 pt
// or below the two are the same.
namespace platform {

float TwipsPerPixelX();
float TwipsPerPixelY();
float ScreenTwipsPerPixelX();
float ScreenTwipsPerPixelY();

// Twips to pixels rounds to the nearest pixel, halves away from zero: the
// rule every control of the layout was placed by.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
QRect TwipsToPixels(int left, int top, int width, int height);
int ScreenTwipsToPixelsX(double twips);
int ScreenTwipsToPixelsY(double twips);

// Screen pixels to twips rounds to the nearest twip, halves to even, in
// double precision: the rule of the stored window position.
std::int32_t ScreenPixelsToTwipsX(int pixels);
std::int32_t ScreenPixelsToTwipsY(int pixels);

// Places a control of a form at a twips rectangle of its container.
void Place(QWidget* control, int left, int top, int width, int height);

} // namespace platform
