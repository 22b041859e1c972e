#include "platform/controls/scroll_bar.h"

namespace platform {

ScrollBar::ScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent)
{
    // Every change hands the focus to the row's text box, so a focused bar
    // would lose it after one step anyway.
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QAbstractSlider::valueChanged, this, [this] {
        if (isSliderDown())
            emit Scroll();
        else
            emit Change();
    });
    connect(this, &QAbstractSlider::sliderPressed, this, [this] { valueAtPress_ = value(); });
    // The end of a drag that moved the thumb is a change of its own.
    connect(this, &QAbstractSlider::sliderReleased, this, [this] {
        if (value() != valueAtPress_)
            emit Change();
    });
}

} // namespace platform
