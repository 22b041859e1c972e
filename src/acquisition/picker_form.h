#pragma once

#include "platform/desktop/screen_sampler.h"

#include <QWidget>
#include <cstdint>

// The overlay of a screen pick: it follows the pointer as the desktop shows
// it (on X11 a window of one pixel on the pixel under the pointer, painted in
// that pixel's colour so that it cannot be seen), holds the pointer capture
// with the eyedropper, and reports the button that ended the pick. One
// instance lives as long as the program; its window is loaded for each pick.
class PickerForm : public QWidget {
    Q_OBJECT

public:
    // `screen` serves every pick of the program's life.
    PickerForm(QWidget* owner, platform::ScreenSampler& screen);

    // 0 while a pick runs; kLeftButton (keep) or kRightButton (cancel) once
    // it ended.
    std::int32_t MouseButton = 0;

    platform::ScreenSampler& Screen() const { return screen_; }

    // Shows the overlay, on top and capturing the pointer, with MouseButton 0.
    void Load();
    // Ends the pick with `button` as a release of it would.
    void End(std::int32_t button);

    // Puts the overlay on screen pixel `at` and paints it `colour` (0x00BBGGRR).
    void Follow(QPoint at, std::uint32_t colour);
    // Runs the events until the next pass is due; a pick the desktop saw
    // end meanwhile ends here as the matching button would end it.
    void NextPass();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // Ends the pick where `state` says it ended.
    void EndAs(platform::PickState state);

    platform::ScreenSampler& screen_;
};
