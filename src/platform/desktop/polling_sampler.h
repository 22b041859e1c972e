#pragma once

#include "platform/desktop/screen_sampler.h"

namespace platform {

// The one-pixel overlay that sits on the pixel under the pointer, painted in
// that pixel's colour so that it cannot be seen, with passes that follow
// each other without pause. Reading the screen is left to the desktop's
// backend: here the screen cannot be read, and only the program's own
// windows are captured.
class PollingSampler : public ScreenSampler {
public:
    bool Prepare() override { return false; }
    void Begin(QWidget* overlay, const QCursor& cursor) override;
    void End(QWidget* overlay) override;
    QPoint HotSpot() override { return {}; }
    std::uint32_t Pixel(QPoint) override { return 0xFFFFFFFF; }
    void Follow(QWidget* overlay, QPoint at, std::uint32_t colour) override;
    PickState NextPass() override;

protected:
    // Sends the mouse button events to `overlay` and shows `cursor` until
    // Release.
    virtual void Capture(QWidget* overlay, const QCursor& cursor);
    virtual void Release(QWidget* overlay);
};

} // namespace platform
