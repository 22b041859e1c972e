#include "startup_on_wayland.h"

#include "wayland_session.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <memory>

Resources HeldBy(qint64 pid)
{
    Resources held;
    // Nanoseconds on a CPU: finer than the clock ticks of /proc/PID/stat.
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (schedstat.open(QIODevice::ReadOnly))
            held.cpu += schedstat.readAll().split(' ').value(0).toDouble() / 1e6;
    }
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(pid));
    if (rollup.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : rollup.readAll().split('\n')) {
            if (line.startsWith("Rss:"))
                held.rss = line.mid(4).trimmed().split(' ').first().toDouble();
            else if (line.startsWith("Pss:"))
                held.pss = line.mid(4).trimmed().split(' ').first().toDouble();
        }
    }
    return held;
}

namespace {

// The output's pixel at `at` as 0xRRGGBB; -1 on a failure.
long PixelAt(const WaylandSession& desktop, QPoint at)
{
    const QImage pixel = desktop.Grab(QRect(at, QSize(1, 1)));
    return pixel.isNull() ? -1 : long(pixel.pixel(0, 0) & 0xFFFFFF);
}

void StartOnce(const WaylandSession& desktop, StartFigures& program, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    QElapsedTimer clock;
    clock.start();
    desktop.StartClient(process, program.command.first(), program.command.mid(1));
    double mapped = -1, painted = -1;
    while (clock.elapsed() < 20000 && painted < 0) {
        // Asked each time: the compositor may still move a new window.
        const QList<QJsonObject> windows = desktop.Windows(program.title);
        if (windows.isEmpty())
            continue;
        if (mapped < 0)
            mapped = clock.nsecsElapsed() / 1e6;
        const QRect inside = WaylandSession::Inside(windows.first());
        const QPoint client(inside.x(), inside.bottom() + 1 - kClientHeight);
        if (PixelAt(desktop, client + kSquare) == kStartColour)
            painted = clock.nsecsElapsed() / 1e6;
    }
    program.mapped.push_back(mapped);
    program.painted.push_back(painted);
    process.terminate();
    process.waitForFinished(5000);
    desktop.WaitForWindows(program.title, 0);
}

} // namespace

void HoldAtRest(std::vector<StartFigures>& programs,
    const std::function<void(QProcess&, const StartFigures&)>& start,
    const std::function<void()>& ended)
{
    for (int round = 0; round < kRestRuns; ++round) {
        std::vector<std::unique_ptr<QProcess>> running;
        for (const StartFigures& program : programs)
            start(*running.emplace_back(std::make_unique<QProcess>()), program);
        QThread::sleep(2);
        for (std::size_t i = 0; i < programs.size(); ++i)
            programs[i].Hold(HeldBy(running[i]->processId()));
        for (auto& process : running) {
            process->terminate();
            process->waitForFinished(5000);
        }
        if (ended)
            ended();
    }
}

bool StartOnWayland(std::vector<StartFigures>& programs, const QString& folder, int rounds)
{
    WaylandSession desktop;
    if (!desktop.IsUp())
        return false;
    // As Tinctor's window, of a fixed size, floats: the baseline's would
    // fill the output and move its square.
    desktop.Message({QStringLiteral("for_window [title=\"^Baseline$\"] floating enable")});
    for (int round = 0; round < rounds; ++round) {
        for (StartFigures& program : programs)
            StartOnce(desktop, program, folder);
    }
    HoldAtRest(
        programs,
        [&desktop, &folder](QProcess& process, const StartFigures& program) {
            process.setWorkingDirectory(folder);
            desktop.StartClient(process, program.command.first(), program.command.mid(1));
        },
        [&desktop, &programs] {
            for (const StartFigures& program : programs)
                desktop.WaitForWindows(program.title, 0);
        });
    return true;
}
