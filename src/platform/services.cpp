#include "platform/services.h"

#include "platform/system_colours.h"

#include <QCoreApplication>
#include <QFileInfo>
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

    // A Linux desktop has every interface colour the menu offers.
    int SystemVersion() override { return 501; }

    QString AppPath() override { return QCoreApplication::applicationDirPath(); }

    QString AppExeName() override
    {
        return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
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
