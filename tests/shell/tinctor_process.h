#pragma once

#include "x_pixels.h"
#include "x_session.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

// Whole files, for the settings a test lays down and reads back; an
// unreadable file reads as empty.
inline void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
}

inline QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The preview square of the one shown main window, as another program sees
// it on the screen; invalid while there is not exactly one such window.
inline QColor PreviewOnScreen(const XSession& x)
{
    const QStringList shown = x.VisibleWindows(QStringLiteral("Tinctor"));
    if (shown.size() != 1)
        return {};
    // The client area lies below the menu bar, at the bottom of the window.
    const QRect inside = x.WindowGeometry(shown.first());
    return x_pixels::ScreenPixel(x.Display(), QPoint(inside.x() + 22, inside.bottom() + 1 - 298));
}

// Brings the main window to the front, so that the keys xdotool sends reach it.
inline void ActivateMainWindow(const XSession& x)
{
    const QString window = x.VisibleWindows(QStringLiteral("Tinctor")).value(0);
    x.Run("xdotool", {"windowactivate", "--sync", window});
}

// Root reads and writes any file, so a test of a file the program may not
// touch runs it as "nobody" with this wrapper; empty without setpriv.
inline QStringList AsNobody()
{
    if (QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        return {};
    return {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", "--"};
}

// The session's environment without root's runtime folder and home.
inline QProcessEnvironment NobodysEnvironment(const XSession& x)
{
    QProcessEnvironment env = x.Environment();
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    env.insert(QStringLiteral("HOME"), QStringLiteral("/nonexistent"));
    return env;
}

// The real executable, copied into a folder of its own so that its settings
// file lands there, started on a private X server.
class TinctorProcess {
public:
    // Copies the built program into `folder` under `name`.
    static QString Install(
        const QTemporaryDir& folder, const QString& name = QStringLiteral("tinctor"))
    {
        const QString target = folder.filePath(name);
        QFile::copy(QStringLiteral(TINCTOR_EXE), target);
        return target;
    }

    // With SeparateChannels for `channels`, what the program prints on
    // stderr is kept for the test to read instead of passed through.
    TinctorProcess(const XSession& x, const QString& program, const QStringList& wrapper = {},
        const QProcessEnvironment& env = {},
        QProcess::ProcessChannelMode channels = QProcess::ForwardedErrorChannel)
        : TinctorProcess(program, wrapper, env.isEmpty() ? x.Environment() : env, channels)
    { }

    // On another desktop, whose environment `env` is.
    TinctorProcess(const QString& program, const QStringList& wrapper,
        const QProcessEnvironment& env,
        QProcess::ProcessChannelMode channels = QProcess::ForwardedErrorChannel)
        : process_(std::make_unique<QProcess>())
    {
        process_->setProcessEnvironment(env);
        process_->setProcessChannelMode(channels);
        if (wrapper.isEmpty()) {
            process_->start(program, {});
        } else {
            process_->start(wrapper.first(), wrapper.mid(1) + QStringList{program});
        }
    }

    ~TinctorProcess()
    {
        if (process_->state() != QProcess::NotRunning) {
            process_->kill();
            process_->waitForFinished(3000);
        }
    }

    QProcess& Process() { return *process_; }

    // Asks the program to end as a logout does; its exit code, or -1.
    int Terminate(int timeoutMs = 10000)
    {
        process_->terminate();
        return Finished(timeoutMs);
    }

    int Finished(int timeoutMs = 10000)
    {
        // waitForFinished() answers false for a process that has ended already.
        if (process_->state() != QProcess::NotRunning && !process_->waitForFinished(timeoutMs))
            return -1;
        if (process_->exitStatus() != QProcess::NormalExit)
            return -1;
        return process_->exitCode();
    }

private:
    std::unique_ptr<QProcess> process_;
};
