#pragma once

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
    explicit PickerForm(QWidget* owner);

    // 0 while a pick runs; 1 (left, keep) or 2 (right, cancel) once it ended.
    std::int32_t MouseButton = 0;

    // Shows the overlay, on top and capturing the pointer, with MouseButton 0.
    void Load();
    // Ends the pick with `button` as a release of it would.
    void End(std::int32_t button);

    // Puts the overlay on screen pixel `at` and paints it `colour` (0x00BBGGRR).
    void Follow(QPoint at, std::uint32_t colour);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
