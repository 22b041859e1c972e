#pragma once

#include <QDBusConnection>
#include <QImage>
#include <QJsonValue>
#include <QList>
#include <QPointF>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <initializer_list>
#include <memory>
#include <vector>

// A private headless KDE Plasma 5 desktop for one test suite: KWin on two
// virtual 1920x1080 outputs side by side with Xwayland, the desktop portal
// with its KDE backend, and the accessibility bus, under a D-Bus session bus
// of its own that starts nothing by itself. Every process of the desktop is
// started here and ended by its PID with the object. The desktop's settings
// (kdeglobals) make the interface text 11 pt, as Qt's KDE theme reads them.
//
// KWin lets only the programs that a desktop entry names use its privileged
// interfaces: entries for the suite itself (screenshots), the test input
// client (fake input), the given launchers (trusted activation tokens, as
// Plasma's own launcher has) and a copy of Tinctor (our own menu entry, as
// installed for it) are laid down before KWin starts.
class KdeSession {
public:
    // A window as KWin lists it, in layout pixels.
    struct Window {
        QString caption;
        QString appId; // the desktop entry KWin matched it to
        QRect frame; // with the title bar
        QRect inside;
        bool active = false;
        bool fullScreen = false;
        bool demandsAttention = false;
    };
    // A control as a program shows it to assistive technology.
    struct Control {
        QString role;
        QString name;
        // In the window's pixels; a window's own on the screen, where the
        // program knows its place (under X11; on Wayland it is at 0, 0).
        QRect extents;
        int parent = -1; // index in the same list; -1 under the application
    };

    explicit KdeSession(const QStringList& launchers = {}, const QString& tinctor = {});
    ~KdeSession();
    KdeSession(const KdeSession&) = delete;
    KdeSession& operator=(const KdeSession&) = delete;

    bool IsUp() const { return up_; }

    // A client's environment on this desktop, with Qt on native Wayland
    // unless `qtPlatform` says else.
    QProcessEnvironment Environment(const QString& qtPlatform = QStringLiteral("wayland")) const;
    // Ends the desktop portal, or starts it again; true once it is so.
    bool SetPortal(bool up);
    // Where the portal's KDE backend saves the screenshots it takes.
    QString Pictures() const { return home_.filePath(QStringLiteral("Pictures")); }

    // The windows titled exactly `caption`; every window for an empty one.
    QList<Window> Windows(const QString& caption = {}) const;
    bool WaitForWindows(const QString& caption, int count, int timeoutMs = 10000) const;
    // How many windows fill an output.
    int FullScreenWindows() const;
    // What the outputs show in `area`, through KWin's screenshot interface.
    QImage Grab(const QRect& area) const;

    // Puts the pointer at `at` and gives the clients `settleMs` to take it in.
    void MoveTo(QPointF at, int settleMs = 100) const;
    void ClickHere(Qt::MouseButton button = Qt::LeftButton) const;
    // Presses the keys of these evdev codes in order and releases them in
    // reverse, on the focused window.
    void Chord(std::initializer_list<int> keys) const;

    // The controls of the windows of process `pid`, menus' entries left out;
    // empty until the program has shown any.
    QList<Control> Controls(qint64 pid) const;

private:
    // Starts a process of the desktop with what it says in `log`, or on
    // pipes without one.
    bool Start(QProcess& process, const QString& program, const QStringList& arguments = {},
        const QString& log = {});
    bool StartPortal();
    // Evaluates `expression` in a KWin script and returns its value.
    QJsonValue Script(const QString& expression) const;
    void Input(const QByteArray& line) const;

    QTemporaryDir home_;
    QString runtime_;
    QString bus_;
    QString xDisplay_;
    QString connection_;
    bool up_ = false;
    // In the order they start; they end in reverse.
    std::vector<std::unique_ptr<QProcess>> processes_;
    QProcess* input_ = nullptr;
    QProcess* portal_ = nullptr;
};
