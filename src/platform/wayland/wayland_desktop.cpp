#include "platform/wayland/wayland_desktop.h"

#include "platform/desktop/copy_channel.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/session_key.h"
#include "platform/desktop/single_instance.h"
#include "platform/portal/cover_session.h"
#include "platform/portal/frozen_sampler.h"
#include "platform/wayland/activation_token.h"
#include "platform/wayland/commit_after_configure.h"
#include "platform/wayland/theme_sound.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QWidget>

namespace platform::wayland {

namespace {

// The app id Qt gives our windows, by Qt's own rule: a token for another id
// would not be ours to use.
QString AppId()
{
    QString name = QGuiApplication::desktopFileName();
    if (name.endsWith(QLatin1String(".desktop")))
        name.chop(8);
    if (!name.isEmpty())
        return name;
    return QFileInfo(QCoreApplication::applicationFilePath()).baseName();
}

// Covers as native windows, which the compositor lays full-screen on their
// outputs and gives the focus to.
class NativeCovers final : public portal::CoverSession {
public:
    // The portal could be told of a native window only through a handle
    // exported for it (xdg-foreign), which is not asked for.
    QString PortalParent(const QWidget*) const override { return {}; }

    // An ordinary window kind, not a tool tip: the compositor gives the
    // keyboard only to covers that look like they want it.
    Qt::WindowFlags CoverFlags() const override { return Qt::Window | Qt::FramelessWindowHint; }
    void ShowCover(QWidget* cover) const override { cover->showFullScreen(); }

    bool PressesWhereTheyHappen() const override { return true; }

    // The compositor places windows and tells nobody where.
    bool ClearCovers() const override { return true; }
    bool KnowsWindowPlaces() const override { return false; }

    // mutter and KWin grant a token only to the surface with the focus,
    // which is a cover's until the covers go; one Qt would ask for later
    // on the main window's behalf would at most mark it.
    void ReturnFocus(QWidget* mainWindow, const std::function<void()>& dropCovers) const override
    {
        const QString token = RequestActivationToken(AppId(), QGuiApplication::focusWindow());
        dropCovers();
        if (!token.isEmpty())
            qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
        mainWindow->activateWindow();
    }
};

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
            ListenForLaterCopies(product, key,
                [this, product](const QString& token) { ComeForward(product, token); });
        }
        return another;
    }

    void ComeForward(const QString& product, const QString& token) override
    {
        // Without a launcher's token the compositor would refuse the focus:
        // this copy asks for one of its own, which sway honours, and on
        // which mutter and KWin at least mark the window as wanting
        // attention.
        BringThisCopyForward(product,
            token.isEmpty() ? RequestActivationToken(AppId(), QGuiApplication::focusWindow())
                            : token);
    }

    // Hands on the token the launcher gave this copy for its window, which
    // it will never show. Started without one (from a terminal), this copy
    // is itself the launcher: mutter honours its launch notice, and no token
    // the running copy could ask for.
    void BringRunningCopyForward(const QString& product) override
    {
        QString token = LaunchersToken();
        if (token.isEmpty())
            token = AnnounceLaunch();
        CallRunningCopy(product, SessionKey(QString()), token);
    }

    // The compositor places windows and tells nobody where: the stored
    // position is kept for a desktop that does.
    bool PlacesWindows() override { return false; }

    // Qt's Wayland plugin has no bell: the desktop's sound theme plays the
    // information sound, or nothing does.
    void Beep() override { PlayThemeSound("dialog-information"); }

private:
    CommitAfterConfigure commits_;
    NativeCovers covers_;
    portal::FrozenSampler sampler_{covers_};
};

} // namespace

Desktop& TheWaylandDesktop()
{
    static WaylandDesktop desktop;
    return desktop;
}

} // namespace platform::wayland
