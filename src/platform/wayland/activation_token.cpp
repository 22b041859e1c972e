#include "platform/wayland/activation_token.h"

#include "xdg-activation-v1-client-protocol.h"

#include <QGuiApplication>
#include <QUuid>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <wayland-client.h>

#include <cstring>

namespace platform::wayland {

namespace {

// mutter's gtk_shell1, of which only the launch notice of version 3 is
// used. Debian ships its XML in no package, so the interface is written out
// here as wayland-scanner would generate it.
const wl_interface kGtkSurface{"gtk_surface1", 1, 0, nullptr, 0, nullptr};
const wl_interface* kNoTypes[]{nullptr};
const wl_interface* kGetSurfaceTypes[]{&kGtkSurface, &wl_surface_interface};
const wl_interface* kBellTypes[]{&kGtkSurface};
const wl_message kGtkShellRequests[]{
    {"get_gtk_surface", "no", kGetSurfaceTypes},
    {"set_startup_id", "?s", kNoTypes},
    {"system_bell", "?o", kBellTypes},
    {"notify_launch", "3s", kNoTypes},
};
const wl_message kGtkShellEvents[]{{"capabilities", "u", kNoTypes}};
const wl_interface kGtkShell{"gtk_shell1", 3, 4, kGtkShellRequests, 1, kGtkShellEvents};
constexpr uint32_t kNotifyLaunch = 3;

// A compositor that never sends the token must not hold the program up;
// one that does sends it before the first round trip ends.
constexpr int kRoundTrips = 3;

QPlatformNativeInterface* Native()
{
    return qGuiApp ? QGuiApplication::platformNativeInterface() : nullptr;
}

// Qt's own connection, with a queue of our own: our round trips dispatch
// only our objects, and Qt's none of them. Binds the globals we use.
class Connection {
public:
    Connection()
    {
        QPlatformNativeInterface* native = Native();
        display_ = native
            ? static_cast<wl_display*>(native->nativeResourceForIntegration("wl_display"))
            : nullptr;
        if (!display_)
            return; // not on Wayland
        queue_ = wl_display_create_queue(display_);
        auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display_));
        wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue_);
        registry_ = wl_display_get_registry(wrapper);
        wl_proxy_wrapper_destroy(wrapper);
        wl_registry_add_listener(registry_, &kRegistry, this);
        RoundTrip();
    }
    ~Connection()
    {
        if (activation)
            xdg_activation_v1_destroy(activation);
        if (gtkShell)
            wl_proxy_destroy(gtkShell);
        if (registry_)
            wl_registry_destroy(registry_);
        if (queue_)
            wl_event_queue_destroy(queue_);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool RoundTrip() { return wl_display_roundtrip_queue(display_, queue_) >= 0; }

    xdg_activation_v1* activation = nullptr;
    wl_proxy* gtkShell = nullptr;
    bool seat = false;

private:
    static void Global(
        void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
    {
        auto* self = static_cast<Connection*>(data);
        if (std::strcmp(interface, xdg_activation_v1_interface.name) == 0)
            self->activation = static_cast<xdg_activation_v1*>(
                wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
        else if (std::strcmp(interface, wl_seat_interface.name) == 0)
            self->seat = true;
        else if (std::strcmp(interface, kGtkShell.name) == 0 && version >= 3)
            self->gtkShell
                = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kGtkShell, 3));
    }
    static void GlobalRemoved(void*, wl_registry*, uint32_t) { }
    static constexpr wl_registry_listener kRegistry{Global, GlobalRemoved};

    wl_display* display_ = nullptr;
    wl_event_queue* queue_ = nullptr;
    wl_registry* registry_ = nullptr;
};

struct Answer {
    QString token;
    bool done = false;
};

void Done(void* data, xdg_activation_token_v1*, const char* token)
{
    *static_cast<Answer*>(data) = {QString::fromUtf8(token), true};
}

const xdg_activation_token_v1_listener kToken{Done};

} // namespace

QString RequestActivationToken(const QString& appId, QWindow* window, quint32 serial)
{
    Connection connection;
    if (!connection.activation)
        return {};
    QPlatformNativeInterface* native = Native();
    Answer answer;
    xdg_activation_token_v1* token = xdg_activation_v1_get_activation_token(connection.activation);
    xdg_activation_token_v1_add_listener(token, &kToken, &answer);
    xdg_activation_token_v1_set_app_id(token, appId.toUtf8().constData());
    auto* surface = window
        ? static_cast<wl_surface*>(native->nativeResourceForWindow("surface", window))
        : nullptr;
    if (surface) {
        xdg_activation_token_v1_set_surface(token, surface);
        // Qt's Wayland plugin answers for the seat it made of the
        // compositor's, and fails where there is none.
        if (window->isActive() && connection.seat) {
            if (serial == 0)
                serial = static_cast<quint32>(
                    reinterpret_cast<quintptr>(native->nativeResourceForIntegration("serial")));
            auto* seat = static_cast<wl_seat*>(native->nativeResourceForIntegration("wl_seat"));
            if (seat && serial != 0)
                xdg_activation_token_v1_set_serial(token, serial, seat);
        }
    }
    xdg_activation_token_v1_commit(token);
    for (int trip = 0; trip < kRoundTrips && !answer.done; ++trip) {
        if (!connection.RoundTrip())
            break;
    }
    xdg_activation_token_v1_destroy(token);
    return answer.token;
}

QString AnnounceLaunch()
{
    Connection connection;
    if (!connection.gtkShell)
        return {};
    const QByteArray id = QUuid::createUuid().toByteArray(QUuid::WithoutBraces);
    wl_proxy_marshal(connection.gtkShell, kNotifyLaunch, id.constData());
    // The running copy speaks on a connection of its own: the notice must
    // have arrived before it names it.
    if (!connection.RoundTrip())
        return {};
    return QString::fromLatin1(id);
}

} // namespace platform::wayland
