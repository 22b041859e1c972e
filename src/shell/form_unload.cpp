#include "shell/start_up.h"

#include "main_window/color_form.h"
#include "platform/controls/menu.h"
#include "platform/controls/scroll_bar.h"
#include "platform/desktop/desktop.h"
#include "platform/services/help.h"
#include "platform/services/services.h"
#include "platform/services/units.h"
#include "shell/color_api.h"

namespace shell {

void Form_Unload(ColorForm& form)
{
    using ColorAPI::WriteIniValue;
    const QString window = QStringLiteral("Window");
    const QString color = QStringLiteral("Color");

    // Whether or not help was ever opened.
    platform::Os().WinHelp(&form, platform::HelpFile(), platform::HELP_QUIT, 0);

    // One replacement of the file for the whole save: a kill or a power cut
    // halfway must not leave a colour the user never had.
    ColorAPI::BeginIniWrites();

    // The restored position, so that closing while minimised saves the
    // place the window comes back to. Where the desktop keeps the position
    // from the program, the one stored stays for a desktop that does not.
    if (platform::TheDesktop().PlacesWindows()) {
        const QPoint normal = form.NormalPosition();
        WriteIniValue(window, QStringLiteral("PosX"), platform::PixelsToTwipsX(normal.x()));
        WriteIniValue(window, QStringLiteral("PosY"), platform::PixelsToTwipsY(normal.y()));
    }

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
    ColorAPI::EndIniWrites();
}

} // namespace shell
