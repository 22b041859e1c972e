#pragma once

#include <QWidget>
#include <cstdint>

namespace platform {

// A one-pixel line between two points given in twips of its container. It
// takes no mouse input and no focus; whatever lies outside the container is
// clipped, as a line drawn past the client area is.
class Line : public QWidget {
    Q_OBJECT

public:
    explicit Line(QWidget* parent);

    void SetPoints(float x1, float y1, float x2, float y2);
    float X1() const { return x1_; }
    float Y1() const { return y1_; }
    float X2() const { return x2_; }
    float Y2() const { return y2_; }

    void SetBorderColor(std::uint32_t colour);
    std::uint32_t BorderColor() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    float x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    std::uint32_t colour_ = 0;
};

} // namespace platform
