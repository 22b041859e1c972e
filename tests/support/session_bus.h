#pragma once

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <memory>

// A D-Bus session bus of a test's own, for a desktop that has none; it ends
// with the object. The programs it starts on demand get the environment it
// was started with, as a login's bus gives its own.
class SessionBus {
public:
    explicit SessionBus(const QProcessEnvironment& desktop);
    ~SessionBus();
    SessionBus(const SessionBus&) = delete;
    SessionBus& operator=(const SessionBus&) = delete;

    bool IsUp() const { return up_; }
    // The desktop's environment with this bus as its session bus.
    QProcessEnvironment Environment() const { return environment_; }

    // Lets the bus start `program` when a call is made to `busName`.
    void ProvideService(const QString& busName, const QString& program) const;
    // The process that owns `busName`, or 0.
    qint64 OwnerOf(const QString& busName) const;

private:
    QTemporaryDir folder_;
    QProcessEnvironment environment_;
    std::unique_ptr<QProcess> daemon_;
    bool up_ = false;
};
