// The screen pick on a private Xvfb: what a pick costs while the pointer
// rests, in passes and in CPU (ours and the X server's); how soon a colour
// that changes under the resting pointer shows in the preview; how soon a
// pointer move does; and beside them the raw rate of one-pixel reads on the
// same X server.

#include "acquisition/picker_form.h"
#include "main_window/color_form.h"
#include "platform/controls/label.h"
#include "platform/controls/menu.h"
#include "platform/controls/mouse.h"
#include "platform/controls/scroll_bar.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/screen_sampler.h"
#include "x_session.h"

#include "bench_table.h"
#include "pick_probe.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTimer>

#include <unistd.h>

#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Micros(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

// The fields of /proc/<pid>/stat after the command name, which may hold
// spaces: the process state is the first.
QList<QByteArray> StatFields(const QString& path, QByteArray* command = nullptr)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray stat = file.readAll();
    const qsizetype open = stat.indexOf('('), close = stat.lastIndexOf(')');
    if (open < 0 || close < open)
        return {};
    if (command)
        *command = stat.mid(open + 1, close - open - 1);
    return stat.mid(close + 2).split(' ');
}

// The CPU time a process has had so far, all its threads, in seconds. The
// scheduler's nanoseconds where the kernel keeps them: stat's ticks of
// 10 ms are coarse beside a resting pick's share.
double CpuSeconds(pid_t pid)
{
    const QDir tasks(QStringLiteral("/proc/%1/task").arg(pid));
    double nanoseconds = 0;
    bool counted = false;
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile schedstat(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (!schedstat.open(QIODevice::ReadOnly))
            continue;
        nanoseconds += schedstat.readAll().split(' ').value(0).toDouble();
        counted = true;
    }
    if (counted)
        return nanoseconds / 1e9;
    const QList<QByteArray> fields = StatFields(QStringLiteral("/proc/%1/stat").arg(pid));
    if (fields.size() < 13)
        return 0;
    return (fields[11].toDouble() + fields[12].toDouble()) / sysconf(_SC_CLK_TCK);
}

// Our child process of that name (the X server the session started), or 0.
pid_t ChildNamed(const QByteArray& name)
{
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool isPid = false;
        const pid_t pid = entry.toInt(&isPid);
        if (!isPid)
            continue;
        QByteArray command;
        const QList<QByteArray> fields
            = StatFields(QStringLiteral("/proc/%1/stat").arg(pid), &command);
        if (command == name && fields.size() > 1 && fields[1].toInt() == getpid())
            return pid;
    }
    return 0;
}

// Calls back when a widget is about to paint: the preview shows a colour
// from then on.
class PaintWatch final : public QObject {
public:
    explicit PaintWatch(std::function<void()> painting) : painting_(std::move(painting)) { }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painting_();
        return false;
    }

private:
    std::function<void()> painting_;
};

// One CPU share over a span, in per cent of a core.
struct CpuShare {
    pid_t pid = 0;
    double startCpu = 0;
    Clock::time_point startWall{};

    void Start()
    {
        startCpu = CpuSeconds(pid);
        startWall = Clock::now();
    }
    double PercentSinceStart() const
    {
        return 100 * (CpuSeconds(pid) - startCpu) / (Micros(Clock::now() - startWall) / 1e6);
    }
};

constexpr auto kRest = std::chrono::seconds(4);
constexpr int kColourChanges = 100;
constexpr auto kNotShown = std::chrono::milliseconds(100);
constexpr std::size_t kMoves = 300;

} // namespace

int main(int argc, char* argv[])
{
    XSession x(false);
    if (!x.IsUp()) {
        std::fprintf(stderr, "no Xvfb\n");
        return 1;
    }
    qputenv("DISPLAY", x.Display().toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    // The pointer is moved, and the screen changed, from a connection of the
    // benchmark's own, as the user's hand and another program would.
    Display* dpy = XOpenDisplay(x.Display().toLocal8Bit().constData());
    if (!dpy) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const Window root = DefaultRootWindow(dpy);
    platform::Desktop& desktop = platform::TheDesktop();
    CpuShare ours{getpid()}, server{ChildNamed("Xvfb")};

    // Raw one-pixel reads, for comparison.
    int reads = 0;
    const auto readStart = Clock::now();
    while (Clock::now() - readStart < std::chrono::seconds(1)) {
        desktop.Sampler().Pixel(QPoint(reads % 200, 100));
        ++reads;
    }
    const double readsPerSecond = reads / (Micros(Clock::now() - readStart) / 1e6);

    ColorForm form;
    form.mnuViewMode_Click(0);
    form.mnuViewRGB_Click(0);
    form.move(100, 100);
    form.show();

    // A patch away from the window, in one of two colours (X pixels of the
    // 24-bit visual and the same colours as the pick reads them); the
    // pointer rests on it.
    const unsigned long patchPixels[2] = {0x204060, 0x604020};
    const std::uint32_t patchColours[2] = {0x604020, 0x204060};
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = patchPixels[0];
    const Window patch = XCreateWindow(dpy, root, 900, 600, 32, 32, 0, CopyFromParent, InputOutput,
        CopyFromParent, CWOverrideRedirect | CWBackPixel, &attributes);
    XMapRaised(dpy, patch);
    XWarpPointer(dpy, None, root, 0, 0, 0, 0, 916, 616);
    XSync(dpy, False);
    QApplication::processEvents();

    // The X server's own share with no pick running, over the two seconds
    // before the pick.
    double serverIdle = 0;
    QTimer::singleShot(500, &form, [&] { server.Start(); });
    QTimer::singleShot(2500, &form, [&] {
        serverIdle = server.PercentSinceStart();
        // The command returns when the pick has ended.
        form.mnuEditPicker->trigger();
        QCoreApplication::quit();
    });

    // The pick first rests, counting passes and CPU; then the patch changes
    // colour at random moments under the resting pointer; then the pointer
    // moves between two swatches, each move once the last has shown.
    enum class Phase { Resting, Changing, Moving, Done } phase = Phase::Resting;
    PickProbe* probe = nullptr;
    long passes = 0;
    Clock::time_point restStart{};
    double passesPerSecond = 0, ourCpu = 0, serverCpu = 0;

    std::mt19937 random(27);
    int patchColour = 0, changes = 0, notShown = 0;
    bool awaiting = false, read = false;
    Clock::time_point changed{};
    std::vector<double> changeDelays;
    std::function<void()> nextChange = [&] {
        if (changes++ == kColourChanges) {
            phase = Phase::Moving;
            return;
        }
        // Between two and three frames apart, so a change falls anywhere
        // within the frame.
        const int wait = std::uniform_int_distribution<int>(34, 50)(random);
        QTimer::singleShot(wait, Qt::PreciseTimer, &form, [&] {
            patchColour ^= 1;
            XSetWindowBackground(dpy, patch, patchPixels[patchColour]);
            XClearWindow(dpy, patch);
            XSync(dpy, False);
            changed = Clock::now();
            awaiting = true;
            read = false;
        });
    };

    const QPoint swatches[2]
        = {form.Label4[4]->mapToGlobal(QPoint(8, 8)), form.Label4[9]->mapToGlobal(QPoint(8, 8))};
    const std::uint32_t swatchColours[2] = {0x000080, 0xFF0000};
    int target = -1;
    Clock::time_point moved{};
    std::vector<double> moveDelays;

    PaintWatch preview([&] {
        if (!read)
            return;
        read = false;
        const auto now = Clock::now();
        if (phase == Phase::Changing && awaiting) {
            changeDelays.push_back(Micros(now - changed) / 1000);
            awaiting = false;
            nextChange();
        } else if (phase == Phase::Moving && target >= 0) {
            moveDelays.push_back(Micros(now - moved));
            target = -1;
        }
    });
    form.Label3->installEventFilter(&preview);

    PickProbe pass(desktop, {}, [&] {
        const auto now = Clock::now();
        switch (phase) {
        case Phase::Resting:
            if (passes++ == 0) {
                restStart = now;
                ours.Start();
                server.Start();
            } else if (now - restStart >= kRest) {
                ourCpu = ours.PercentSinceStart();
                serverCpu = server.PercentSinceStart();
                passesPerSecond = (passes - 1) / (Micros(now - restStart) / 1e6);
                phase = Phase::Changing;
                nextChange();
            }
            break;
        case Phase::Changing:
            if (!awaiting)
                break;
            if (probe->lastPixel == patchColours[patchColour])
                read = true; // the preview shows it when it next paints
            if (now - changed > kNotShown) {
                ++notShown;
                awaiting = false;
                read = false;
                nextChange();
            }
            break;
        case Phase::Moving:
            if (target >= 0 && probe->lastPixel == swatchColours[target])
                read = true;
            if (target < 0) {
                if (moveDelays.size() >= kMoves) {
                    phase = Phase::Done;
                    form.picker->End(platform::kLeftButton);
                    return;
                }
                target = static_cast<int>(moveDelays.size() % 2);
                XWarpPointer(
                    dpy, None, root, 0, 0, 0, 0, swatches[target].x(), swatches[target].y());
                XSync(dpy, False);
                moved = Clock::now();
            }
            break;
        case Phase::Done: break;
        }
    });
    probe = &pass;
    platform::InstallDesktop(&pass);
    QTimer::singleShot(
        60000, &app, [&] { form.picker->End(platform::kLeftButton); }); // a stuck pick ends anyway
    app.exec();
    platform::InstallDesktop(nullptr);
    form.Label3->removeEventFilter(&preview);

    QString table;
    // The baseline is the raw rate of one-pixel reads on the same server.
    table += Row(QStringLiteral("pick passes per second, pointer resting (Xvfb), beside one-pixel "
                                "reads per second"),
        passesPerSecond, 0, static_cast<std::size_t>(passes), readsPerSecond);
    table += Row(QStringLiteral("CPU of the pick, pointer resting (% of a core)"), ourCpu, 2, 1);
    // The baseline is the server's share with no pick running.
    table += Row(QStringLiteral("CPU of the X server during it, beside the server idle (% of a "
                                "core)"),
        serverCpu, 2, 1, serverIdle);
    table += Row(QStringLiteral("CPU of the pick and the X server, pointer resting (% of a core)"),
        ourCpu + serverCpu, 2, 1);
    table += Row(QStringLiteral("colour change under a resting pointer to preview, median (ms)"),
        Percentile(changeDelays, 0.5), 1, changeDelays.size());
    table += Row(QStringLiteral("colour change under a resting pointer to preview, 99th "
                                "percentile (ms)"),
        Percentile(changeDelays, 0.99), 1, changeDelays.size());
    table += Row(QStringLiteral("colour changes under a resting pointer not shown within %1 ms")
                     .arg(kNotShown.count()),
        notShown, 0, static_cast<std::size_t>(kColourChanges));
    table += Row(QStringLiteral("pointer move to preview, median (µs)"),
        Percentile(moveDelays, 0.5), 1, moveDelays.size());
    table += Row(QStringLiteral("pointer move to preview, 99th percentile (µs)"),
        Percentile(moveDelays, 0.99), 1, moveDelays.size());
    XDestroyWindow(dpy, patch);
    XCloseDisplay(dpy);
    Report(table, argc, argv);
    return 0;
}
