#include "platform/services/desktop_colours.h"

#include "platform/services/appearance_portal.h"
#include "platform/services/kde_globals.h"

#include <QList>
#include <QString>

namespace platform {

ColourDesktop ColourDesktopFor(QStringView currentDesktop)
{
    for (QStringView name : currentDesktop.split(QLatin1Char(':'))) {
        if (name == QLatin1String("KDE"))
            return ColourDesktop::Kde;
        if (name == QLatin1String("GNOME"))
            return ColourDesktop::Gnome;
    }
    return ColourDesktop::Other;
}

DesktopSays DesktopSaysNow()
{
    // Asked here alone. A kdeglobals left behind by KDE programs run under
    // another desktop does not describe that desktop's windows.
    static const ColourDesktop desktop
        = ColourDesktopFor(qEnvironmentVariable("XDG_CURRENT_DESKTOP"));
    switch (desktop) {
    case ColourDesktop::Kde: return FromKdeGlobals(CurrentKdeGlobals());
    case ColourDesktop::Gnome: return FromAppearance(PortalAppearance());
    case ColourDesktop::Other: break;
    }
    return {};
}

} // namespace platform
