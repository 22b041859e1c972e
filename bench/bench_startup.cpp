// Start-up and memory of the real program beside a minimal Qt program, on
// a private Xvfb with openbox, measured from outside: a window being
// mapped, the preview square showing the start colour, and the memory and
// the CPU time used two seconds after the start. The minimal program runs
// twice, with the Japanese texts and with Latin ones only, so that the
// share of the Japanese font shows on its own.

#include "x_session.h"

#include "bench_table.h"
#include "startup_on_wayland.h"
#include "wayland_session.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <vector>

namespace {

int IgnoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

// The mapped top-level client titled `title`, or 0.
Window FindMapped(Display* dpy, const char* title)
{
    Window root = 0, parent = 0, *frames = nullptr;
    unsigned int count = 0;
    Window found = 0;
    if (!XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &frames, &count))
        return 0;
    for (unsigned int i = 0; i < count && !found; ++i) {
        // Under a window manager the client sits inside its frame.
        Window r = 0, p = 0, *children = nullptr;
        unsigned int n = 0;
        std::vector<Window> candidates{frames[i]};
        if (XQueryTree(dpy, frames[i], &r, &p, &children, &n)) {
            candidates.insert(candidates.end(), children, children + n);
            XFree(children);
        }
        for (Window w : candidates) {
            char* name = nullptr;
            XWindowAttributes a;
            if (XFetchName(dpy, w, &name) && name) {
                if (qstrcmp(name, title) == 0 && XGetWindowAttributes(dpy, w, &a)
                    && a.map_state == IsViewable)
                    found = w;
                XFree(name);
            }
        }
    }
    if (frames)
        XFree(frames);
    return found;
}

bool ShowsColour(Display* dpy, Window w, QPoint at, unsigned long rgb)
{
    XImage* image = XGetImage(dpy, w, at.x(), at.y(), 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return false;
    const bool same = (XGetPixel(image, 0, 0) & 0xFFFFFF) == rgb;
    XDestroyImage(image);
    return same;
}

struct Times {
    double mappedMs = -1;
    double paintedMs = -1;
};

// Starts `program` and polls the X server until its window is mapped and
// its square shows the start colour.
Times StartOnce(const XSession& x, Display* dpy, const QStringList& command, const char* title,
    const QString& folder)
{
    QProcess process;
    process.setProcessEnvironment(x.Environment());
    process.setWorkingDirectory(folder);
    QElapsedTimer clock;
    clock.start();
    process.start(command.first(), command.mid(1));
    Times times;
    Window w = 0;
    while (clock.elapsed() < 20000) {
        if (!w && (w = FindMapped(dpy, title)))
            times.mappedMs = clock.nsecsElapsed() / 1e6;
        if (w) {
            XWindowAttributes a;
            XGetWindowAttributes(dpy, w, &a);
            if (ShowsColour(dpy, w, QPoint(0, a.height - kClientHeight) + kSquare, kStartColour)) {
                times.paintedMs = clock.nsecsElapsed() / 1e6;
                break;
            }
        }
        QThread::usleep(200);
    }
    process.terminate();
    process.waitForFinished(5000);
    // Let the window manager forget the window before the next start.
    while (FindMapped(dpy, title))
        QThread::msleep(5);
    return times;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString benchDir = QCoreApplication::applicationDirPath();
    XSession x(true);
    if (!x.IsUp())
        return 1;
    Display* dpy = XOpenDisplay(x.Display().toLocal8Bit().constData());
    XSetErrorHandler(IgnoreErrors);

    // The program in a folder of its own, with the settings every start
    // begins from.
    QTemporaryDir folder;
    const QString tinctor = folder.filePath(QStringLiteral("tinctor"));
    QFile::copy(QStringLiteral(TINCTOR_EXE), tinctor);
    QFile ini(folder.filePath(QStringLiteral("tinctor.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write(kStartSettings);
    ini.close();
    const QString baseline = benchDir + QStringLiteral("/baseline_app");
    std::vector<StartFigures> programs = Contenders(tinctor, baseline);
    // Enough rounds that a change of a few per cent stands out of the noise.
    constexpr int kRuns = 31;
    for (int run = 0; run < kRuns; ++run) {
        for (StartFigures& program : programs) {
            const Times times = StartOnce(
                x, dpy, program.command, program.title.toUtf8().constData(), folder.path());
            program.mapped.push_back(times.mappedMs);
            program.painted.push_back(times.paintedMs);
        }
    }
    HoldAtRest(programs, [&x, &folder](QProcess& process, const StartFigures& program) {
        process.setProcessEnvironment(x.Environment());
        process.setWorkingDirectory(folder.path());
        process.start(program.command.first(), program.command.mid(1));
    });
    XCloseDisplay(dpy);

    QString table;
    // Tinctor beside each baseline, the first program beside the second and
    // the third.
    const auto rows = [&table](const std::vector<StartFigures>& on, const QString& desktop) {
        const StartFigures& ours = on[0];
        for (const auto& [base, beside] :
            {std::pair{&on[1], "beside Japanese texts"}, std::pair{&on[2], "beside Latin texts"}}) {
            const auto row = [&](const char* figure, const char* unit, const std::vector<double>& o,
                                 const std::vector<double>& b) {
                table += Row(QStringLiteral("%1%2 (%3), %4")
                                 .arg(desktop, QLatin1String(figure), QLatin1String(unit),
                                     QLatin1String(beside)),
                    Percentile(o, 0.5), 1, o.size(), Percentile(b, 0.5));
            };
            row("start to window mapped", "ms", ours.mapped, base->mapped);
            row("start to first complete paint", "ms", ours.painted, base->painted);
            row("RSS two seconds after start", "KiB", ours.rss, base->rss);
            row("PSS two seconds after start", "KiB", ours.pss, base->pss);
            row("CPU to idle", "ms", ours.cpu, base->cpu);
        }
    };
    rows(programs, QString());

    // The same natively on a headless Wayland desktop, whose clients run as
    // its session's user: the folder is shared with it.
    QTemporaryDir shared;
    const QString waylandTinctor
        = WaylandSession::InstallShared(shared.path(), QStringLiteral(TINCTOR_EXE), kStartSettings);
    std::vector<StartFigures> wayland = Contenders(waylandTinctor, baseline);
    constexpr int kWaylandRuns = 15;
    if (StartOnWayland(wayland, shared.path(), kWaylandRuns))
        rows(wayland, QStringLiteral("Wayland: "));
    Report(table, argc, argv);
    return 0;
}
