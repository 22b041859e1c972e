#include "main_window/color_form.h"

#include "about/about_form.h"
#include "platform/services/help.h"
#include "platform/services/services.h"
#include "resources/strings.h"

void ColorForm::mnuFileExit_Click()
{
    close(); // the same shutdown as the close box
}

void ColorForm::mnuHelpHelp_Click()
{
    platform::Os().WinHelp(this, platform::HelpFile(), platform::HELP_FINDER, 0);
}

void ColorForm::mnuHelpWebpage_Click()
{
    platform::Os().OpenUrl(resources::LoadResString(resources::kWebPageString));
}

void ColorForm::mnuHelpAbout_Click()
{
    // Made anew for every opening, so that it starts from its load steps.
    AboutForm about(*this);
    about.exec();
}
