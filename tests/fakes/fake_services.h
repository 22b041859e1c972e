#pragma once

#include "platform/services.h"

#include <QString>
#include <functional>

// The operating system as a test wants it: every answer settable, and
// installed in place of the desktop's for the fake's lifetime.
class FakeServices final : public platform::Services {
public:
    FakeServices() { platform::InstallServices(this); }
    ~FakeServices() override
    {
        if (&platform::Os() == this) // a newer fake may have taken over already
            platform::InstallServices(nullptr);
    }
    FakeServices(const FakeServices&) = delete;
    FakeServices& operator=(const FakeServices&) = delete;

    // Distinct colours by default, so that a mix-up of numbers shows.
    std::function<std::uint32_t(int)> sysColor = [](int index) { return 0x010101u * (index + 1); };
    int version = 501;
    QString appPath;
    QString exeName = QStringLiteral("tinctor");

    std::uint32_t GetSysColor(int index) override { return sysColor(index); }
    int SystemVersion() override { return version; }
    QString AppPath() override { return appPath; }
    QString AppExeName() override { return exeName; }
};
