// Start-up and memory of the real program beside a minimal Qt program, on
// a private Xvfb with openbox, measured from outside: a window being
// mapped, the preview square showing the start colour, and the memory two
// seconds after the start.

#include "x_session.h"

#include "bench_table.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
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
// the square at `at` (window coordinates, below the menu bar) shows `rgb`.
Times StartOnce(const XSession& x, Display* dpy, const QString& program, const char* title,
    QPoint at, unsigned long rgb, const QString& folder)
{
    QProcess process;
    process.setProcessEnvironment(x.Environment());
    process.setWorkingDirectory(folder);
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
    Times times;
    Window w = 0;
    while (clock.elapsed() < 20000) {
        if (!w && (w = FindMapped(dpy, title)))
            times.mappedMs = clock.nsecsElapsed() / 1e6;
        if (w) {
            XWindowAttributes a;
            XGetWindowAttributes(dpy, w, &a);
            // The client area is the bottom 320 pixels of the window.
            if (ShowsColour(dpy, w, QPoint(at.x(), a.height - 320 + at.y()), rgb)) {
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

// Resident and proportional set sizes in KiB, two seconds after start.
std::pair<long, long> Memory(const XSession& x, const QString& program, const QString& folder)
{
    QProcess process;
    process.setProcessEnvironment(x.Environment());
    process.setWorkingDirectory(folder);
    process.start(program, {});
    QThread::sleep(2);
    long rss = 0, pss = 0;
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(process.processId()));
    if (rollup.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : rollup.readAll().split('\n')) {
            if (line.startsWith("Rss:"))
                rss = line.mid(4).trimmed().split(' ').first().toLong();
            else if (line.startsWith("Pss:"))
                pss = line.mid(4).trimmed().split(' ').first().toLong();
        }
    }
    process.terminate();
    process.waitForFinished(5000);
    return {rss, pss};
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
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

    // The program in a folder of its own, starting at the colour 18, 52, 86.
    QTemporaryDir folder;
    const QString tinctor = folder.filePath(QStringLiteral("tinctor"));
    QFile::copy(QStringLiteral(TINCTOR_EXE), tinctor);
    QFile ini(folder.filePath(QStringLiteral("tinctor.ini")));
    ini.open(QIODevice::WriteOnly);
    ini.write("[Color]\nRed=18\nGreen=52\nBlue=86\n");
    ini.close();
    const QString baseline = benchDir + QStringLiteral("/baseline_app");
    const unsigned long colour = 0x123456; // as the X server packs it: red high

    constexpr int kRuns = 15;
    std::vector<double> ourMapped, ourPainted, baseMapped, basePainted;
    for (int run = 0; run < kRuns; ++run) {
        const Times ours
            = StartOnce(x, dpy, tinctor, "Tinctor", QPoint(20, 20), colour, folder.path());
        const Times base
            = StartOnce(x, dpy, baseline, "Baseline", QPoint(20, 20), colour, folder.path());
        ourMapped.push_back(ours.mappedMs);
        ourPainted.push_back(ours.paintedMs);
        baseMapped.push_back(base.mappedMs);
        basePainted.push_back(base.paintedMs);
    }
    std::vector<double> ourRss, ourPss, baseRss, basePss;
    for (int run = 0; run < 3; ++run) {
        const auto [rss, pss] = Memory(x, tinctor, folder.path());
        const auto [brss, bpss] = Memory(x, baseline, folder.path());
        ourRss.push_back(rss);
        ourPss.push_back(pss);
        baseRss.push_back(brss);
        basePss.push_back(bpss);
    }
    XCloseDisplay(dpy);

    QString table;
    const auto row = [&](const char* figure, const std::vector<double>& ours,
                         const std::vector<double>& base) {
        const double o = Median(ours), b = Median(base);
        table += QStringLiteral("| %1 | %2 | %3 | %4 | %5 |\n")
                     .arg(QString::fromUtf8(figure))
                     .arg(o, 0, 'f', 1)
                     .arg(b, 0, 'f', 1)
                     .arg(b > 0 ? o / b : 0, 0, 'f', 2)
                     .arg(ours.size());
    };
    row("start to window mapped (ms)", ourMapped, baseMapped);
    row("start to first complete paint (ms)", ourPainted, basePainted);
    row("RSS two seconds after start (KiB)", ourRss, baseRss);
    row("PSS two seconds after start (KiB)", ourPss, basePss);
    Report(table, argc, argv);
    return 0;
}
