#include "shell/start_up.h"

#include "main_window/color_form.h"
#include "platform/controls/scroll_bar.h"
#include "platform/desktop/desktop.h"
#include "platform/services/help.h"
#include "platform/services/services.h"
#include "platform/services/units.h"
#include "shell/color_api.h"
#include "shell/settings_rules.h"

namespace shell {

namespace {

void WriteSettings(const ColorForm& form)
{
    // One replacement of the file for the whole save: a kill or a power cut
    // halfway must not leave a colour the user never had.
    ColorAPI::BeginIniWrites();

    // The restored position, so that closing while minimised saves the
    // place the window comes back to. Where the desktop keeps the position
    // from the program, the one stored stays for a desktop that does not.
    if (platform::TheDesktop().PlacesWindows()) {
        const QPoint normal = form.NormalPosition();
        WritePosition(kLeftKey, platform::ScreenPixelsToTwipsX(normal.x()));
        WritePosition(kTopKey, platform::ScreenPixelsToTwipsY(normal.y()));
    }

    const colour::Rgb colour = form.ColourToKeep();
    WriteColorSetting(kRedSetting, colour.r);
    WriteColorSetting(kGreenSetting, colour.g);
    WriteColorSetting(kBlueSetting, colour.b);
    // Nothing for a menu without a check mark, which no command leaves.
    if (const std::int16_t radix = form.RadixInForce(); radix >= 0)
        WriteColorSetting(kRadixSetting, radix);
    if (const std::int16_t model = form.ModelInForce(); model >= 0)
        WriteColorSetting(kModeSetting, model);
    ColorAPI::EndIniWrites();
}

} // namespace

void Form_Unload(ColorForm& form)
{
    // Whether or not help was ever opened.
    platform::Os().WinHelp(&form, platform::HelpFile(), platform::HELP_QUIT, 0);
    WriteSettings(form);
}

void SaveWithoutDisplay(const ColorForm& form)
{
    WriteSettings(form);
}

} // namespace shell
