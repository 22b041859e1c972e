#include "platform/services/termination.h"

#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <QWidget>

#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

int wakeUp[2] = {-1, -1}; // written by the handler, read on the UI thread
QPointer<QWidget> windowToClose;

void OnSignal(int)
{
    const char byte = 1;
    // Only async-signal-safe calls here; a full pipe means a wake-up is
    // already pending.
    [[maybe_unused]] const auto written = ::write(wakeUp[1], &byte, 1);
}

// The main window first, so that its unload runs; then whatever else is
// open (a modal dialog, the help viewer), which would keep the program alive.
void CloseWindow()
{
    if (windowToClose)
        windowToClose->close();
    QApplication::closeAllWindows();
}

} // namespace

void CloseOnTermination(QWidget* window)
{
    if (wakeUp[0] < 0) {
        if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, wakeUp) != 0)
            return;
        struct sigaction action { };
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        for (int signal : {SIGTERM, SIGINT, SIGHUP})
            ::sigaction(signal, &action, nullptr);
    }
    if (!window || !QCoreApplication::instance())
        return;
    windowToClose = window;

    // A signal that came before the event loop runs is read here too.
    auto* notifier = new QSocketNotifier(wakeUp[0], QSocketNotifier::Read, window);
    QObject::connect(notifier, &QSocketNotifier::activated, window, [] {
        char drain[16];
        while (::read(wakeUp[0], drain, sizeof drain) > 0) { }
        CloseWindow();
    });
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, window, &CloseWindow);
}

} // namespace platform
