#pragma once

#include "x_session.h"

#include <QFile>
#include <QProcess>
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
        : process_(std::make_unique<QProcess>())
    {
        process_->setProcessEnvironment(env.isEmpty() ? x.Environment() : env);
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
