#pragma once

#include "platform/desktop/desktop.h"
#include "platform/desktop/polling_sampler.h"

namespace platform {

// The desktop as Qt alone can serve it: no pixel of the screen can be read,
// no other program's window found, and the window is placed where asked.
// Copies are rivals on the same Qt platform.
class QtDesktop : public Desktop {
public:
    ScreenSampler& Sampler() override { return sampler_; }
    bool AnotherCopyRuns(const QString& product) override;
    void BringRunningCopyForward(const QString&) override { }
    bool PlacesWindows() override { return true; }
    void Beep() override;

private:
    PollingSampler sampler_;
};

} // namespace platform
