#pragma once

#include <QPoint>
#include <QRect>

// Layout code speaks twips (1/1440 inch); Qt speaks device-independent pixels.
// The factors come from the primary screen's logical DPI: 15 at 96 DPI.
namespace platform {

float TwipsPerPixelX();
float TwipsPerPixelY();

int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
QRect TwipsToPixels(int left, int top, int width, int height);

} // namespace platform
