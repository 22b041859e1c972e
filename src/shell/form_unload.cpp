#include "shell/start_up.h"

#include "main_window/color_form.h"
#include "platform/help.h"
#include "platform/menu.h"
#include "platform/scroll_bar.h"
#include "platform/services.h"
#include "platform/units.h"
#include "shell/color_api.h"

#include <cmath>

namespace shell {

namespace {

std::int32_t PixelsToTwips(int pixels, float twipsPerPixel)
{
    return static_cast<std::int32_t>(std::nearbyint(pixels * static_cast<double>(twipsPerPixel)));
}

} // namespace

void Form_Unload(ColorForm& form)
{
    using ColorAPI::WriteIniValue;
    const QString window = QStringLiteral("Window");
    const QString color = QStringLiteral("Color");

    // Whether or not help was ever opened.
    platform::Os().WinHelp(&form, platform::HelpFile(), platform::Services::HELP_QUIT, 0);

    // The restored position, so that closing while minimised saves the
    // place the window comes back to.
    const QPoint normal = form.NormalPosition();
    WriteIniValue(
        window, QStringLiteral("PosX"), PixelsToTwips(normal.x(), platform::TwipsPerPixelX()));
    WriteIniValue(
        window, QStringLiteral("PosY"), PixelsToTwips(normal.y(), platform::TwipsPerPixelY()));

    WriteIniValue(color, QStringLiteral("Red"), form.HScroll1[0]->Value());
    WriteIniValue(color, QStringLiteral("Green"), form.HScroll1[1]->Value());
    WriteIniValue(color, QStringLiteral("Blue"), form.HScroll1[2]->Value());
    for (std::int16_t i = 0; i < std::ssize(form.mnuViewRGB); ++i) {
        if (form.mnuViewRGB[i]->Checked())
            WriteIniValue(color, QStringLiteral("RGB"), i);
    }
    for (std::int16_t i = 0; i < std::ssize(form.mnuViewMode); ++i) {
        if (form.mnuViewMode[i]->Checked())
            WriteIniValue(color, QStringLiteral("Mode"), i);
    }
}

} // namespace shell
