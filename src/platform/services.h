#pragma once

#include <cstdint>

namespace platform {

// What the forms ask of the operating system, behind one interface so that
// tests can put a fake in its place. Each service arrives with the command
// that needs it.
class Services {
public:
    virtual ~Services() = default;

    // Interface colour number 0..30, packed 0x00BBGGRR, read at the moment
    // of the call so that a theme change shows.
    virtual std::uint32_t GetSysColor(int index) = 0;
};

// The services in force: the desktop's own unless a test installed others.
Services& Os();

// Installs `services` (not owned) in place of the desktop's; nullptr restores.
void InstallServices(Services* services);

} // namespace platform
