// The screen pick on a private Xvfb: how many passes the loop makes per
// second, how long a pointer move takes to show in the preview, and beside
// them the raw rate of one-pixel reads on the same X server.

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
#include <QTimer>

#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Micros(Clock::duration d)
{
    return std::chrono::duration<double, std::micro>(d).count();
}

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
    // The pointer is moved from a connection of the benchmark's own, as
    // the user's hand would move it.
    Display* dpy = XOpenDisplay(x.Display().toLocal8Bit().constData());
    if (!dpy) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    platform::Desktop& desktop = platform::TheDesktop();

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
    QApplication::processEvents();
    // The command returns when the pick has ended.
    QTimer::singleShot(500, &form, [&] {
        form.mnuEditPicker->trigger();
        QCoreApplication::quit();
    });

    // Phase 1 counts passes for two seconds; phase 2 moves the pointer
    // between two swatches and times each move until a pass has shown it.
    const QPoint swatches[2]
        = {form.Label4[4]->mapToGlobal(QPoint(8, 8)), form.Label4[9]->mapToGlobal(QPoint(8, 8))};
    const std::uint32_t colours[2] = {0x000080, 0xFF0000};
    long passes = 0;
    Clock::time_point countStart{}, moved{};
    double passesPerSecond = 0;
    std::vector<double> delays;
    int target = -1;
    PickProbe* probe = nullptr;
    PickProbe pass(desktop, [&] {
        const auto now = Clock::now();
        if (passes++ == 0)
            countStart = now;
        if (passesPerSecond == 0) {
            if (now - countStart >= std::chrono::seconds(2))
                passesPerSecond = (passes - 1) / (Micros(now - countStart) / 1e6);
            return;
        }
        // The pass that read the new colour has ended: the preview shows it.
        if (target >= 0 && probe->lastPixel == colours[target]) {
            delays.push_back(Micros(now - moved));
            target = -1;
        }
        if (target < 0) {
            if (delays.size() >= 300) {
                form.picker->End(platform::kLeftButton);
                return;
            }
            target = static_cast<int>(delays.size() % 2);
            XWarpPointer(dpy, None, DefaultRootWindow(dpy), 0, 0, 0, 0, swatches[target].x(),
                swatches[target].y());
            XSync(dpy, False);
            moved = Clock::now();
        }
    });
    probe = &pass;
    platform::InstallDesktop(&pass);
    QTimer::singleShot(
        60000, &app, [&] { form.picker->End(platform::kLeftButton); }); // a stuck pick ends anyway
    app.exec();
    platform::InstallDesktop(nullptr);

    QString table;
    // The baseline is the raw rate of one-pixel reads on the same server.
    table += QStringLiteral("| pick passes per second (Xvfb), beside one-pixel reads per second "
                            "| %1 | %2 | %3 | %4 |\n")
                 .arg(passesPerSecond, 0, 'f', 0)
                 .arg(readsPerSecond, 0, 'f', 0)
                 .arg(readsPerSecond > 0 ? passesPerSecond / readsPerSecond : 0, 0, 'f', 2)
                 .arg(passes);
    if (!delays.empty()) {
        table += QStringLiteral("| pointer move to preview, median (µs) | %1 | – | – | %2 |\n")
                     .arg(Percentile(delays, 0.5), 0, 'f', 1)
                     .arg(delays.size());
        table += QStringLiteral(
            "| pointer move to preview, 99th percentile (µs) | %1 | – | – | %2 |\n")
                     .arg(Percentile(delays, 0.99), 0, 'f', 1)
                     .arg(delays.size());
    }
    XCloseDisplay(dpy);
    Report(table, argc, argv);
    return 0;
}
