#pragma once

#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <memory>

// A private X server for one test, with a window manager when the test
// needs one; both end with the object. Real X clients (xdotool, xwininfo)
// look at it from outside.
class XSession {
public:
    explicit XSession(
        bool withWindowManager, const QString& screenSize = QStringLiteral("1280x1024x24"));
    ~XSession();
    XSession(const XSession&) = delete;
    XSession& operator=(const XSession&) = delete;

    bool IsUp() const { return !display_.isEmpty(); }
    QString Display() const { return display_; }
    QProcessEnvironment Environment() const;

    // Runs an X client to completion and returns what it printed.
    QString Run(const QString& program, const QStringList& arguments) const;

    // The shown top-level windows titled exactly `title`.
    QStringList VisibleWindows(const QString& title) const;
    // Where a window's inside lies on the screen, as xwininfo tells it.
    QRect WindowGeometry(const QString& window) const;

    // Waits until exactly `count` such windows show; false on timeout.
    bool WaitForWindows(const QString& title, int count, int timeoutMs = 10000) const;

    // The display going away under its clients, as when the X server
    // crashes: SIGKILL, so it has no chance to say goodbye. The window
    // manager loses its connection with everyone else.
    void KillServer();

private:
    std::unique_ptr<QProcess> server_;
    std::unique_ptr<QProcess> windowManager_;
    QString display_;
};
