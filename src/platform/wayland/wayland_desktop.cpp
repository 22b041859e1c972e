#include "platform/wayland/wayland_desktop.h"

#include "platform/desktop/copy_channel.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/session_key.h"
#include "platform/desktop/single_instance.h"
#include "platform/portal/frozen_sampler.h"
#include "platform/wayland/activation_token.h"
#include "platform/wayland/commit_after_configure.h"

#include <QCoreApplication>

namespace platform::wayland {

namespace {

class WaylandDesktop final : public Desktop {
public:
    WaylandDesktop() { qApp->installEventFilter(&commits_); }
    ~WaylandDesktop() override
    {
        if (qApp)
            qApp->removeEventFilter(&commits_);
    }

    ScreenSampler& Sampler() override { return sampler_; }

    // The winner listens for later copies, which have no window list to
    // find it by.
    bool AnotherCopyRuns(const QString& product) override
    {
        const QString key = SessionKey(QString());
        const bool another = PreviousInstance(product, key);
        if (!another) {
            ListenForLaterCopies(product, key, [product](QString token) {
                // Without a launcher's token the compositor would refuse
                // the focus: this copy asks for one of its own.
                if (token.isEmpty())
                    token = RequestActivationToken(QStringLiteral("tinctor"));
                BringThisCopyForward(product, token);
            });
        }
        return another;
    }

    // Hands on the token the launcher gave this copy for its window, which
    // it will never show.
    void BringRunningCopyForward(const QString& product) override
    {
        CallRunningCopy(product, SessionKey(QString()));
    }

    // The compositor places windows and tells nobody where: the stored
    // position is kept for a desktop that does.
    bool PlacesWindows() override { return false; }

private:
    CommitAfterConfigure commits_;
    portal::FrozenSampler sampler_{
        false, [] { return RequestActivationToken(QStringLiteral("tinctor")); }};
};

} // namespace

Desktop& TheWaylandDesktop()
{
    static WaylandDesktop desktop;
    return desktop;
}

} // namespace platform::wayland
