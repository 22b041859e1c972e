// The screen pick over a frozen screen on a headless sway desktop, with
// xdg-desktop-portal and its wlr backend: the time from the command to the
// first live colour (screenshot, covers and one pass), on one 1920 x 1080
// output and on two outputs of scales 1 and 2, once through sway's screen
// copy and once through the portal, with the screen copy hidden from the
// client; the time from a pointer motion to the three channel values; and
// the CPU the pick takes while the pointer rests.
//
// With --gnome, apart from `make bench`, the same start through the portal
// on the GNOME desktop of `make test-desktops` (two monitors at scale 1,
// 1920 x 1080 and 1280 x 1024), natively.
//
// One program, two roles: the harness starts the desktop and itself again
// inside it as the client (`--client`), moves the pointer, and reads the
// client's report lines. Both read the same monotonic clock.

#include "acquisition/picker_form.h"
#include "gnome_session.h"
#include "main_window/color_form.h"
#include "platform/controls/menu.h"
#include "platform/controls/mouse.h"
#include "platform/desktop/desktop.h"
#include "wayland_session.h"

#include "bench_table.h"
#include "pick_probe.h"

#include <QApplication>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kStartRounds = 25;
constexpr int kMoves = 200;
constexpr int kRestMs = 2000;
// Motions this far apart each meet an idle client: the figure is the way of
// one motion, not a queue behind the repaint of the loupe before.
constexpr int kPaceMs = 20;

qint64 Nanos()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
        .count();
}

double CpuMillis()
{
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return used.tv_sec * 1e3 + used.tv_nsec / 1e6;
}

void Say(const QByteArray& line)
{
    std::fputs((line + '\n').constData(), stdout);
    std::fflush(stdout);
}

void Wait(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// When the last pointer motion reached a widget of ours.
class Arrivals final : public QObject {
public:
    qint64 Last() const { return last_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter)
            last_ = Nanos();
        return QObject::eventFilter(watched, event);
    }

private:
    qint64 last_ = 0;
};

int Client(int argc, char* argv[])
{
    QApplication app(argc, argv);
    Arrivals arrived;
    app.installEventFilter(&arrived);
    ColorForm form;
    form.show();
    Wait(500);

    enum class Phase { Start, Motion } phase = Phase::Start;
    qint64 commanded = 0;
    qint64 shotTaken = 0;
    bool firstPass = false;
    PickProbe* probe = nullptr;
    PickProbe pass(platform::TheDesktop(), {}, [&] {
        if (!firstPass) {
            if (phase == Phase::Start) {
                Say("start " + QByteArray::number((Nanos() - commanded) / 1e6, 'f', 2) + ' '
                    + QByteArray::number((shotTaken - commanded) / 1e6, 'f', 2));
                firstPass = true;
                form.picker->End(platform::kLeftButton);
                return;
            }
            Say("moving");
        }
        firstPass = true;
        const QPoint at = probe->lastHotSpot;
        Say("pass " + QByteArray::number(Nanos()) + ' ' + QByteArray::number(at.x()) + ' '
            + QByteArray::number(at.y()) + ' ' + QByteArray::number(arrived.Last()));
    });
    probe = &pass;
    pass.prepared = [&] { shotTaken = Nanos(); };
    platform::InstallDesktop(&pass);

    for (int round = 0; round < kStartRounds; ++round) {
        firstPass = false;
        shotTaken = 0;
        commanded = Nanos();
        form.mnuEditPicker->trigger();
        // Let the compositor take the covers down before the next.
        Wait(400);
    }

    // The harness says "rest" once it has moved the pointer enough.
    phase = Phase::Motion;
    firstPass = false;
    QSocketNotifier told(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&told, &QSocketNotifier::activated, [&] {
        char line[64];
        if (read(STDIN_FILENO, line, sizeof line) <= 0)
            return;
        told.setEnabled(false);
        const double before = CpuMillis();
        QTimer::singleShot(kRestMs, [&, before] {
            Say("cpu " + QByteArray::number((CpuMillis() - before) * 1000 / kRestMs, 'f', 2));
            form.picker->End(platform::kLeftButton);
        });
    });
    QTimer::singleShot(
        120000, [&] { form.picker->End(platform::kLeftButton); }); // a stuck pick ends anyway
    form.mnuEditPicker->trigger();
    platform::InstallDesktop(nullptr);
    Say("done");
    return 0;
}

struct Figures {
    std::vector<double> starts;
    std::vector<double> shots;
    std::vector<double> motions;
    std::vector<double> ours; // from the motion's arrival in Tinctor
    double cpu = -1;
};

QList<QByteArray> Field(const QByteArray& line)
{
    return line.trimmed().split(' ');
}

// Reads report lines until one starts with `word`; empty after `timeoutMs`.
QList<QByteArray> Await(QProcess& client, const QByteArray& word, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < deadline) {
        while (client.canReadLine()) {
            const QList<QByteArray> fields = Field(client.readLine());
            if (fields.value(0) == word)
                return fields;
        }
        client.waitForReadyRead(100);
    }
    return {};
}

enum class Shot { ScreenCopy, Portal };

Figures Measure(const QList<WaylandSession::Output>& outputs, const QString& self, Shot shot)
{
    Figures figures;
    WaylandSession::Options options;
    options.outputs = outputs;
    options.portal = true;
    WaylandSession desktop(options);
    if (!desktop.IsUp()) {
        std::fprintf(stderr, "sway or the desktop portal did not start\n");
        return figures;
    }
    double scale = 1;
    for (const WaylandSession::Output& output : outputs)
        scale = std::max(scale, output.scale);

    QProcess client;
    client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment env = desktop.Environment(QStringLiteral("wayland"));
    if (shot == Shot::Portal)
        env.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(HIDE_SCREEN_COPY_LIB));
    desktop.StartClient(client, self, {QStringLiteral("--client")}, env);
    for (int round = 0; round < kStartRounds; ++round) {
        const QList<QByteArray> start = Await(client, "start", 10000);
        if (start.isEmpty())
            break;
        figures.starts.push_back(start.value(1).toDouble());
        figures.shots.push_back(start.value(2).toDouble());
    }
    if (!Await(client, "moving", 10000).isEmpty()) {
        // Back and forth on the last output, a fraction of a pixel off the
        // grid.
        const WaylandSession::Output& last = outputs.back();
        const QRectF screen(desktop.Layout().right() + 1 - last.width / last.scale, 0,
            last.width / last.scale, last.height / last.scale);
        const QPointF ends[2] = {QPointF(screen.left() + 100.25, screen.center().y() + 0.5),
            QPointF(screen.right() - 100.75, screen.center().y() + 0.25)};
        for (int move = 0; move < kMoves; ++move) {
            const QPointF at = ends[move % 2];
            const QPoint expected(std::floor(at.x() * scale), std::floor(at.y() * scale));
            QThread::msleep(kPaceMs);
            const qint64 moved = Nanos();
            desktop.MoveTo(at, 0);
            for (;;) {
                const QList<QByteArray> pass = Await(client, "pass", 2000);
                if (pass.isEmpty())
                    break;
                if (QPoint(pass.value(2).toInt(), pass.value(3).toInt()) == expected) {
                    figures.motions.push_back((pass.value(1).toLongLong() - moved) / 1e6);
                    figures.ours.push_back(
                        (pass.value(1).toLongLong() - pass.value(4).toLongLong()) / 1e6);
                    break;
                }
            }
        }
        client.write("rest\n");
        const QList<QByteArray> cpu = Await(client, "cpu", kRestMs + 5000);
        if (!cpu.isEmpty())
            figures.cpu = cpu.value(1).toDouble();
    }
    Await(client, "done", 5000);
    if (!client.waitForFinished(5000))
        client.kill();
    return figures;
}

Figures MeasureGnome(const QString& self)
{
    Figures figures;
    GnomeSession desktop;
    if (!desktop.IsUp()) {
        std::fprintf(stderr, "gnome-shell or the desktop portal did not start\n");
        return figures;
    }
    QProcess client;
    client.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    client.setProcessEnvironment(desktop.Environment(QStringLiteral("wayland")));
    client.start(self, {QStringLiteral("--client")});
    for (int round = 0; round < kStartRounds; ++round) {
        const QList<QByteArray> start = Await(client, "start", 20000);
        if (start.isEmpty())
            break;
        figures.starts.push_back(start.value(1).toDouble());
        figures.shots.push_back(start.value(2).toDouble());
    }
    // No motions: past the start the pick is the same as on sway.
    if (!Await(client, "moving", 20000).isEmpty())
        client.write("rest\n");
    Await(client, "done", kRestMs + 5000);
    if (!client.waitForFinished(5000))
        client.kill();
    return figures;
}

QString Rows(const QString& layout, Shot shot, const Figures& figures)
{
    QString rows;
    const QString through
        = shot == Shot::ScreenCopy ? QStringLiteral("screen copy") : QStringLiteral("portal");
    const QString taken = layout + QStringLiteral(", ") + through;
    const auto row = [&](const char* figure, const QString& where,
                         const std::vector<double>& values, double share, int decimals) {
        if (!values.empty())
            rows
                += Row(QStringLiteral("Wayland pick, %1").arg(QString::fromUtf8(figure).arg(where)),
                    Percentile(values, share), decimals, values.size());
    };
    row("command to first live colour, %1, median (ms)", taken, figures.starts, 0.5, 1);
    row("command to first live colour, %1, 99th percentile (ms)", taken, figures.starts, 0.99, 1);
    row("of which the screenshot, %1, median (ms)", taken, figures.shots, 0.5, 1);
    // Past the start, the pick does not depend on where the picture came from.
    if (shot == Shot::Portal)
        return rows;
    row("pointer motion to channels (compositor included), %1, 99th percentile (ms)", layout,
        figures.motions, 0.99, 2);
    row("of which from its arrival in Tinctor, %1, 99th percentile (ms)", layout, figures.ours,
        0.99, 2);
    if (figures.cpu >= 0)
        rows += Row(
            QStringLiteral("Wayland pick, CPU while the pointer rests, %1 (ms per s)").arg(layout),
            figures.cpu, 2, 1);
    return rows;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc > 1 && QByteArray(argv[1]) == "--client")
        return Client(argc, argv);

    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    if (argc > 1 && QByteArray(argv[1]) == "--gnome") {
        Report(Rows(QStringLiteral("GNOME 43, monitors 1920×1080 and 1280×1024"), Shot::Portal,
                   MeasureGnome(self)),
            argc - 1, argv + 1);
        return 0;
    }
    QString table;
    for (const Shot shot : {Shot::ScreenCopy, Shot::Portal}) {
        table += Rows(
            QStringLiteral("one 1920×1080 output"), shot, Measure({{1920, 1080, 1.0}}, self, shot));
        table += Rows(QStringLiteral("two outputs at scales 1 and 2"), shot,
            Measure({{1920, 1080, 1.0}, {1920, 1080, 2.0}}, self, shot));
    }
    Report(table, argc, argv);
    return 0;
}
