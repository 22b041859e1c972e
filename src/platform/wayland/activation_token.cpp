#include "platform/wayland/activation_token.h"

#include "xdg-activation-v1-client-protocol.h"

#include <wayland-client.h>

#include <cstring>

namespace platform::wayland {

namespace {

struct Request {
    xdg_activation_v1* activation = nullptr;
    QString token;
    bool done = false;
};

void Global(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    auto* request = static_cast<Request*>(data);
    if (std::strcmp(interface, xdg_activation_v1_interface.name) == 0)
        request->activation = static_cast<xdg_activation_v1*>(
            wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
}

void GlobalRemoved(void*, wl_registry*, uint32_t)
{ }

const wl_registry_listener kRegistry{Global, GlobalRemoved};

void Done(void* data, xdg_activation_token_v1*, const char* token)
{
    auto* request = static_cast<Request*>(data);
    request->token = QString::fromUtf8(token);
    request->done = true;
}

const xdg_activation_token_v1_listener kToken{Done};

} // namespace

QString RequestActivationToken(const QString& appId)
{
    wl_display* display = wl_display_connect(nullptr);
    if (!display)
        return {};
    Request request;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistry, &request);
    wl_display_roundtrip(display);
    if (request.activation) {
        xdg_activation_token_v1* token = xdg_activation_v1_get_activation_token(request.activation);
        xdg_activation_token_v1_add_listener(token, &kToken, &request);
        xdg_activation_token_v1_set_app_id(token, appId.toUtf8().constData());
        xdg_activation_token_v1_commit(token);
        // The answer comes with the next round trip; a compositor that sends
        // none leaves the token empty rather than the program waiting.
        for (int trip = 0; trip < 3 && !request.done; ++trip) {
            if (wl_display_roundtrip(display) < 0)
                break;
        }
        xdg_activation_token_v1_destroy(token);
        xdg_activation_v1_destroy(request.activation);
    }
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return request.token;
}

} // namespace platform::wayland
