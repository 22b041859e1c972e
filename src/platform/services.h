#pragma once

#include <QString>
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

    // Major version * 100 + minor, as the forms expect of the operating
    // system: 501 and above means every interface colour exists.
    virtual int SystemVersion() = 0;

    // The folder that holds the running executable, without a trailing
    // separator unless it is the root, and the executable's name without
    // its extension.
    virtual QString AppPath() = 0;
    virtual QString AppExeName() = 0;
};

// The services in force: the desktop's own unless a test installed others.
Services& Os();

// Installs `services` (not owned) in place of the desktop's; nullptr restores.
void InstallServices(Services* services);

} // namespace platform
