#include "platform/wayland/theme_sound.h"

#include <dlfcn.h>

namespace platform::wayland {

namespace {

// libcanberra's C interface, as far as it is used here.
struct ca_context;
using Create = int (*)(ca_context**);
using Play = int (*)(ca_context*, unsigned int, ...);
constexpr int kSuccess = 0;

struct Canberra {
    Play play = nullptr;
    ca_context* context = nullptr;
};

// Loaded on demand rather than linked: a start-up that never beeps pays
// nothing for it, and a machine without it simply stays silent.
const Canberra& Library()
{
    static const Canberra canberra = [] {
        Canberra loaded;
        void* library = ::dlopen("libcanberra.so.0", RTLD_LAZY | RTLD_LOCAL);
        if (!library)
            return loaded;
        const auto create = reinterpret_cast<Create>(::dlsym(library, "ca_context_create"));
        loaded.play = reinterpret_cast<Play>(::dlsym(library, "ca_context_play"));
        // The context lives as long as the program: a sound plays on after
        // the call that started it.
        if (!create || !loaded.play || create(&loaded.context) != kSuccess)
            loaded = {};
        return loaded;
    }();
    return canberra;
}

} // namespace

bool PlayThemeSound(const char* eventId)
{
    const Canberra& canberra = Library();
    if (!canberra.context)
        return false;
    return canberra.play(canberra.context, 0, "event.id", eventId, nullptr) == kSuccess;
}

} // namespace platform::wayland
