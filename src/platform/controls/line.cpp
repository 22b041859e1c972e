#include "platform/controls/line.h"

#include "platform/controls/qt_color.h"
#include "platform/services/units.h"

#include <QPainter>

#include <algorithm>

namespace platform {

Line::Line(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
}

void Line::SetPoints(float x1, float y1, float x2, float y2)
{
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    const int left = TwipsToPixelsX(std::min(x1, x2));
    const int top = TwipsToPixelsY(std::min(y1, y2));
    const int right = TwipsToPixelsX(std::max(x1, x2));
    const int bottom = TwipsToPixelsY(std::max(y1, y2));
    setGeometry(left, top, right - left + 1, bottom - top + 1);
    update();
}

void Line::SetBorderColor(std::uint32_t colour)
{
    colour_ = colour;
    update();
}

void Line::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setPen(QPen(ToQColor(colour_), 1));
    const QPoint origin = pos();
    const QPoint a(TwipsToPixelsX(x1_), TwipsToPixelsY(y1_));
    const QPoint b(TwipsToPixelsX(x2_), TwipsToPixelsY(y2_));
    p.drawLine(a - origin, b - origin);
}

} // namespace platform
