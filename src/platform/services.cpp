#include "platform/services.h"

#include "platform/system_colours.h"

#include <QGuiApplication>
#include <QPalette>

namespace platform {

namespace {

class DesktopServices final : public Services {
public:
    std::uint32_t GetSysColor(int index) override
    {
        return SystemColour(QGuiApplication::palette(), index);
    }
};

Services* installed = nullptr;

} // namespace

Services& Os()
{
    static DesktopServices desktop;
    return installed ? *installed : desktop;
}

void InstallServices(Services* services)
{
    installed = services;
}

} // namespace platform
