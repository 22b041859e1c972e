// Loaded with LD_PRELOAD into a Wayland client: the compositor seems to
// offer no screen copy (zwlr_screencopy_manager_v1), as on a desktop
// whose compositor has none, while every other global passes through.
// sway has no setting that withholds the global from one client.

#include <wayland-client-core.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <dlfcn.h>
#include <mutex>

struct wl_registry;

namespace {

struct RegistryListener {
    void (*global)(void*, wl_registry*, uint32_t, const char*, uint32_t);
    void (*globalRemove)(void*, wl_registry*, uint32_t);
};

// The client's own listener for each live registry; a program has few.
std::mutex guard;
std::array<std::pair<const void*, const RegistryListener*>, 64> listeners{};

const RegistryListener* Real(const void* registry)
{
    std::lock_guard lock(guard);
    for (const auto& [proxy, listener] : listeners) {
        if (proxy == registry)
            return listener;
    }
    return nullptr;
}

void Global(
    void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version)
{
    const RegistryListener* real = Real(registry);
    if (real && std::strcmp(interface, "zwlr_screencopy_manager_v1") != 0)
        real->global(data, registry, name, interface, version);
}

void GlobalRemove(void* data, wl_registry* registry, uint32_t name)
{
    if (const RegistryListener* real = Real(registry))
        real->globalRemove(data, registry, name);
}

const RegistryListener kHiding{&Global, &GlobalRemove};

} // namespace

extern "C" int wl_proxy_add_listener(wl_proxy* proxy, void (**implementation)(void), void* data)
{
    using AddListener = int (*)(wl_proxy*, void (**)(void), void*);
    static const auto real = reinterpret_cast<AddListener>(dlsym(RTLD_NEXT, __func__));
    if (std::strcmp(wl_proxy_get_class(proxy), "wl_registry") == 0) {
        std::lock_guard lock(guard);
        for (auto& slot : listeners) {
            if (!slot.first || slot.first == proxy) {
                slot = {proxy, reinterpret_cast<const RegistryListener*>(implementation)};
                implementation
                    = reinterpret_cast<void (**)(void)>(const_cast<RegistryListener*>(&kHiding));
                break;
            }
        }
    }
    return real(proxy, implementation, data);
}

// A program makes a registry for each round trip of its own: a destroyed
// one frees its place.
extern "C" void wl_proxy_destroy(wl_proxy* proxy)
{
    using Destroy = void (*)(wl_proxy*);
    static const auto real = reinterpret_cast<Destroy>(dlsym(RTLD_NEXT, __func__));
    {
        std::lock_guard lock(guard);
        for (auto& slot : listeners) {
            if (slot.first == proxy)
                slot = {};
        }
    }
    real(proxy);
}
