#include "platform/wayland/wayland_desktop.h"

#include "platform/desktop.h"
#include "platform/polling_sampler.h"
#include "platform/session_key.h"
#include "platform/single_instance.h"

namespace platform::wayland {

namespace {

class WaylandDesktop final : public Desktop {
public:
    ScreenSampler& Sampler() override { return sampler_; }

    bool AnotherCopyRuns(const QString& product) override
    {
        return PreviousInstance(product, SessionKey(QString()));
    }

    void BringRunningCopyForward(const QString&) override { }

    // The compositor places windows and tells nobody where: the stored
    // position is kept for a desktop that does.
    bool PlacesWindows() override { return false; }

private:
    PollingSampler sampler_;
};

} // namespace

Desktop& TheWaylandDesktop()
{
    static WaylandDesktop desktop;
    return desktop;
}

} // namespace platform::wayland
