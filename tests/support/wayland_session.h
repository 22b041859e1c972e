#pragma once

#include <QImage>
#include <QJsonObject>
#include <QList>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

// A private headless Wayland desktop for one test suite: sway on a virtual
// output with Xwayland beside it, under a D-Bus session of its own, ended
// by its PID with the object. sway refuses to run as root, so under root it
// and every client of it run as "nobody", which is also the only user its
// Xwayland lets in. Real clients (swaymsg) look at it from outside.
class WaylandSession {
public:
    struct Output {
        int width = 1280; // device pixels
        int height = 1024;
        double scale = 1.0;
    };
    struct Options {
        // Side by side, left to right.
        QList<Output> outputs{Output{}};
        // The desktop portal with its screenshot and colour picker
        // (xdg-desktop-portal-wlr through grim and slurp), pipewire, which
        // that backend needs, and a blank pointer so that captures hold none.
        bool portal = false;
        // The portal's screenshot fails while its colour picker works.
        bool refuseScreenshot = false;
    };

    WaylandSession() : WaylandSession(Options{}) { }
    explicit WaylandSession(const Options& options);
    ~WaylandSession();
    WaylandSession(const WaylandSession&) = delete;
    WaylandSession& operator=(const WaylandSession&) = delete;

    bool IsUp() const { return !display_.isEmpty(); }
    QString WaylandDisplay() const { return display_; }
    QString XDisplay() const { return xDisplay_; }

    // A client's environment: the session's user, runtime folder and
    // displays, with Qt on native Wayland unless `qtPlatform` says else.
    QProcessEnvironment Environment(const QString& qtPlatform = QStringLiteral("wayland")) const;
    // The wrapper that starts a client as the session's user; empty when
    // the tests themselves run as an ordinary user.
    QStringList AsSessionUser() const;
    // Starts `program` as the session's user, in `env` (by default the
    // session's own).
    void StartClient(QProcess& client, const QString& program, const QStringList& arguments = {},
        const QProcessEnvironment& env = {}) const;
    // Lets the session's user read and write `folder` (a test's program
    // folder or settings).
    static void ShareFolder(const QString& folder);
    // Copies `program` into `folder` as "tinctor" beside a tinctor.ini of
    // `settings`, all shared with the session's user; the copy's path.
    static QString InstallShared(
        const QString& folder, const QString& program, const QByteArray& settings);

    // The windows titled exactly `title`, as sway's tree lists them (each
    // with "shell", "app_id", "focused" and the like); empty on a failure.
    QList<QJsonObject> Windows(const QString& title) const;
    // How many client windows fill an output.
    int FullScreenWindows() const;
    // What the outputs show in `area` (layout pixels), read by grim; null on
    // a failure.
    QImage Grab(const QRect& area) const;
    // Whether the first such window has the keyboard focus.
    bool Focused(const QString& title) const;
    // Waits until exactly `count` such windows exist; false on timeout.
    bool WaitForWindows(const QString& title, int count, int timeoutMs = 10000) const;

    // Runs swaymsg with `arguments` and returns what it printed.
    QString Message(const QStringList& arguments) const;
    // The same for a command that turns, adds or takes away outputs; the
    // pointer's motions then span the new layout.
    QString Rearrange(const QStringList& arguments);

    // The portal's screenshots take `ms` longer from now on.
    void SlowScreenshots(int ms) const;
    // Lets the session bus start `program` for `busName`, with the display of
    // `qtPlatform` ("wayland" or "xcb"), as an installed service file does.
    void ProvideBusService(
        const QString& busName, const QString& program, const QString& qtPlatform) const;
    // Ends the compositor as a crash would; the object still cleans up.
    void KillCompositor();

    // Moves the pointer to `at` (layout pixels) and clicks there.
    void Click(QPoint at, Qt::MouseButton button = Qt::LeftButton) const;
    // Presses the keys of these evdev codes (KEY_* of
    // <linux/input-event-codes.h>) in order, modifiers first, and releases
    // them in reverse, on the focused window.
    void Chord(std::initializer_list<int> keys) const;
    // Where a window's inside lies on the output.
    static QRect Inside(const QJsonObject& window);

    // Puts the pointer at `at` (layout pixels, to a 256th) without a click,
    // and gives the clients `settleMs` to take it in.
    void MoveTo(QPointF at, int settleMs = 100) const;
    // Presses and releases `button` where the pointer is.
    void ClickHere(Qt::MouseButton button = Qt::LeftButton) const;
    // The whole layout in logical pixels.
    QRect Layout() const { return layout_; }
    int Outputs() const { return outputs_; }

private:
    bool StartPortal(const Options& options);
    // The client windows of sway's tree that `wanted` accepts.
    QList<QJsonObject> Clients(const std::function<bool(const QJsonObject&)>& wanted) const;

    QTemporaryDir home_;
    QRect layout_;
    int outputs_ = 0;
    QString bus_;
    std::vector<std::unique_ptr<QProcess>> services_;
    std::unique_ptr<QProcess> session_;
    std::unique_ptr<QProcess> input_;
    QString runtime_;
    QString display_;
    QString xDisplay_;
    QString ipc_;
    qint64 swayPid_ = 0;
};
