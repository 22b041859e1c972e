// Stands in for the launcher of a Wayland desktop in the tests: it shows a
// window, which takes the focus as a launcher's does, and once it has the
// focus prints an activation token on its own line for the program it would
// start. It runs until it is ended.
//
// GNOME and KDE honour a launcher's token only where the launcher asked for
// it from the surface that holds the keyboard focus (mutter: with the serial
// of the input that gave it), as a real launcher does from the click that
// starts a program. Qt keeps no serial of the keyboard's arrival, so a
// keyboard of the launcher's own on Qt's seat watches for it; on a seat
// without a keyboard no serial goes along, and mutter honours no token.

#include "platform/wayland/activation_token.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <wayland-client.h>

#include <cstdio>
#include <unistd.h>

namespace {

struct Focus {
    wl_surface* surface = nullptr;
    quint32 serial = 0;
};

void Keymap(void*, wl_keyboard*, uint32_t, int32_t fd, uint32_t)
{
    ::close(fd);
}

void Enter(void* data, wl_keyboard*, uint32_t serial, wl_surface* surface, wl_array*)
{
    *static_cast<Focus*>(data) = {surface, serial};
}

void Leave(void* data, wl_keyboard*, uint32_t, wl_surface*)
{
    *static_cast<Focus*>(data) = {};
}

void Key(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t)
{ }

void Modifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t)
{ }

void RepeatInfo(void*, wl_keyboard*, int32_t, int32_t)
{ }

const wl_keyboard_listener kKeyboard{Keymap, Enter, Leave, Key, Modifiers, RepeatInfo};

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    Focus focus;
    // Only a seat with a keyboard: mutter 43 crashes on asking a seat
    // without one for its keyboard.
    if (native->nativeResourceForIntegration("wl_keyboard")) {
        auto* seat = static_cast<wl_seat*>(native->nativeResourceForIntegration("wl_seat"));
        wl_keyboard_add_listener(wl_seat_get_keyboard(seat), &kKeyboard, &focus);
    }

    QWidget window;
    window.setWindowTitle(QStringLiteral("Launcher"));
    window.resize(200, 100);
    bool told = false;
    const auto tell = [&] {
        if (told || !window.isActiveWindow())
            return;
        told = true;
        QWindow* handle = window.windowHandle();
        const bool entered
            = focus.surface && focus.surface == native->nativeResourceForWindow("surface", handle);
        const QString token = platform::wayland::RequestActivationToken(
            QStringLiteral("launcher"), handle, entered ? focus.serial : 0);
        std::printf("%s\n", qPrintable(token));
        std::fflush(stdout);
    };
    // The keyboard may arrive just after Qt sees the window activated, or
    // never, on a seat that has none.
    QObject::connect(&app, &QGuiApplication::focusWindowChanged, &app, [&](QWindow* focused) {
        if (focused)
            QTimer::singleShot(300, &app, tell);
    });
    window.show();
    return app.exec();
}
