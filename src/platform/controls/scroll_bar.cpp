#include "platform/controls/scroll_bar.h"

#include <QKeyEvent>

namespace platform {

ScrollBar::ScrollBar(QWidget* parent) : QScrollBar(Qt::Horizontal, parent)
{
    // Reached by Tab, to be moved by the keys as a desktop's scroll bar is;
    // a click leaves the focus where the change puts it.
    setFocusPolicy(Qt::TabFocus);
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

void ScrollBar::keyPressEvent(QKeyEvent* event)
{
    // A horizontal bar's keys as the desktops have them: right, down and
    // Page Down raise the value. Qt's own inverts some of them for a bar.
    SliderAction action = SliderNoAction;
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up: action = SliderSingleStepSub; break;
    case Qt::Key_Right:
    case Qt::Key_Down: action = SliderSingleStepAdd; break;
    case Qt::Key_PageUp: action = SliderPageStepSub; break;
    case Qt::Key_PageDown: action = SliderPageStepAdd; break;
    case Qt::Key_Home: action = SliderToMinimum; break;
    case Qt::Key_End: action = SliderToMaximum; break;
    default: QScrollBar::keyPressEvent(event); return;
    }
    triggerAction(action);
    event->accept();
}

} // namespace platform
