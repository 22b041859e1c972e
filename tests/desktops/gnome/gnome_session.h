#pragma once

#include <QDBusConnection>
#include <QJsonValue>
#include <QList>
#include <QPointF>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QTemporaryDir>

#include <initializer_list>
#include <memory>
#include <vector>

// A private headless GNOME 43 desktop for one test suite: gnome-shell on two
// virtual monitors side by side, 1920 x 1080 and 1280 x 1024, with Xwayland
// and the desktop portal (its GNOME and GTK backends), under a D-Bus session
// bus of its own and a stand-in system bus, all ended by their PIDs with the
// object. gnome-shell runs as whoever runs the tests, root included.
//
// The tests look and type through a small shell extension
// (extension/extension.js): it opens org.gnome.Shell.Eval and drives a
// virtual pointer and keyboard on mutter's own seat.
class GnomeSession {
public:
    struct Window {
        QString title;
        QRect frame; // layout pixels
        bool focused = false;
        bool x11 = false;
        QString app; // the desktop entry the shell matched it to
        bool minimised = false;
    };

    GnomeSession();
    ~GnomeSession();
    GnomeSession(const GnomeSession&) = delete;
    GnomeSession& operator=(const GnomeSession&) = delete;

    bool IsUp() const { return up_; }
    // The user's home, where the portal would leave its screenshots.
    QString Home() const { return home_.path(); }
    // A client's environment: the session's displays, buses and settings,
    // with Qt on native Wayland unless `qtPlatform` says else.
    QProcessEnvironment Environment(const QString& qtPlatform = QStringLiteral("wayland")) const;

    QList<QRect> Monitors() const;
    // The windows titled exactly `title`, X11 override-redirect ones included.
    QList<Window> Windows(const QString& title) const;
    bool WaitForWindows(const QString& title, int count, int timeoutMs = 10000) const;
    // How many windows cover a whole monitor each.
    int Covers() const;

    // Saves what the monitors show in `area` (layout pixels) as a PNG file.
    bool Screenshot(const QRect& area, const QString& file) const;

    // What the shell gives a program it starts from its dash or overview,
    // made at the moment of the click.
    QString LaunchToken() const;
    // The names of the entries that the dash's menu for the desktop entry
    // `app` adds for its actions, and a click on the one for `action`.
    QStringList AppActions(const QString& app) const;
    void ChooseAppAction(const QString& app, const QString& action) const;
    // Minimises the windows titled exactly `title`, as their title bar's button does.
    void Minimise(const QString& title) const;

    // Puts the pointer at `at` (layout pixels) and gives the clients a moment.
    void MoveTo(QPointF at) const;
    // Presses and releases `button` where the pointer is.
    void Click(Qt::MouseButton button = Qt::LeftButton) const;
    // Presses the keys of these evdev codes (KEY_* of
    // <linux/input-event-codes.h>) in order and releases them in reverse.
    void Chord(std::initializer_list<int> keys) const;

private:
    // Runs `script` in the shell; its result, undefined on a failure.
    QJsonValue Eval(const QString& script) const;
    QProcess& Start(const QString& program, const QStringList& arguments,
        const QProcessEnvironment& env, const QString& log);
    bool StartShell();
    bool StartPortal();
    void Show(const QString& log) const;

    QTemporaryDir home_;
    QString runtime_;
    QString bus_;
    QString systemBus_;
    QString xDisplay_;
    QString xAuthority_;
    std::unique_ptr<QDBusConnection> dbus_;
    // The buses first, the shell last: ended in reverse.
    std::vector<std::unique_ptr<QProcess>> processes_;
    qint64 group_ = 0; // the session bus's process group, which its services share
    bool up_ = false;
};
