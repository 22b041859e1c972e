#include "shell/start_up.h"

#include "main_window/color_form.h"
#include "platform/controls/label.h"
#include "platform/controls/line.h"
#include "platform/controls/menu.h"
#include "platform/controls/scroll_bar.h"
#include "platform/desktop/desktop.h"
#include "platform/services/fonts.h"
#include "platform/services/help.h"
#include "platform/services/screen.h"
#include "platform/services/services.h"
#include "platform/services/units.h"
#include "resources/captions.h"
#include "resources/version.h"
#include "shell/color_api.h"
#include "shell/settings_rules.h"

#include <QMargins>
#include <QMenu>
#include <QMenuBar>

#include <limits>
#include <optional>

namespace shell {

namespace {

QString InterfaceFontName(int systemVersion)
{
    return QString::fromUtf8(
        systemVersion == 400 ? resources::kClassicFace : resources::kInterfaceFace);
}

// Menus, lines and scroll bars have no font of their own to set. A desktop
// face can be wider than the one the captions were laid out for: they grow
// out of their places rather than lose their ends.
void ApplyInterfaceFont(ColorForm& form, const QString& face)
{
    for (QWidget* control : form.Client()->findChildren<QWidget*>()) {
        if (qobject_cast<platform::ScrollBar*>(control) || qobject_cast<platform::Line*>(control))
            continue;
        platform::SetFontName(control, face);
        auto* label = qobject_cast<platform::Label*>(control);
        if (label && !label->Caption().isEmpty())
            label->FitCaption();
    }
}

// The place of the window's inside that centres the whole window, its frame
// too, on the primary screen.
QPoint CentredPlace(ColorForm& form)
{
    const QMargins frame = platform::TheDesktop().FrameBeforeShow(&form);
    const std::int32_t frameLeft = platform::ScreenPixelsToTwipsX(frame.left());
    const std::int32_t frameTop = platform::ScreenPixelsToTwipsY(frame.top());
    const std::int32_t width
        = form.Width() + platform::ScreenPixelsToTwipsX(frame.left() + frame.right());
    const std::int32_t height
        = form.Height() + platform::ScreenPixelsToTwipsY(frame.top() + frame.bottom());
    return {(platform::ScreenWidth() - width) / 2 + frameLeft,
        (platform::ScreenHeight() - height) / 2 + frameTop};
}

void PlaceWindow(ColorForm& form)
{
    // Centring asks the window manager for the frame: only where needed. A
    // missing key reads as a place no screen has.
    std::optional<QPoint> centred;
    const auto centre = [&] {
        if (!centred)
            centred = CentredPlace(form);
        return *centred;
    };
    constexpr std::int32_t kMissing = std::numeric_limits<std::int32_t>::min();
    std::int32_t left = ReadPosition(kLeftKey, kMissing);
    if (!UsablePosition(left, platform::ScreenTwipsPerPixelX()))
        left = centre().x();
    std::int32_t top = ReadPosition(kTopKey, kMissing);
    if (!UsablePosition(top, platform::ScreenTwipsPerPixelY()))
        top = centre().y();
    // A place saved on a monitor that is gone (unplugged, undocked) would
    // open the window where nobody can see it: it opens as on a first start.
    // The stored values stay until a shutdown writes the real place.
    if (!form.TopStripOnAScreen(left, top)) {
        left = centre().x();
        top = centre().y();
    }
    form.SetLeft(left);
    form.SetTop(top);
}

} // namespace

void Form_Load(ColorForm& form)
{
    platform::Services& os = platform::Os();
    const QString folder = os.AppPath();
    ColorAPI::ChooseIniFile(folder, os.AppExeName());

    // Where the desktop places the window itself, the stored position is
    // kept for the next start on a desktop that lets the program place it.
    if (platform::TheDesktop().PlacesWindows())
        PlaceWindow(form);

    form.setWindowTitle(QString::fromLatin1(resources::kProductName));

    // Model before radix, both before the colour: the colour's change
    // reactions then fill every box in the restored model and radix.
    form.mnuViewMode_Click(ReadColorSetting(kModeSetting));
    form.mnuViewRGB_Click(ReadColorSetting(kRadixSetting));
    form.HScroll1[0]->SetValue(ReadColorSetting(kRedSetting));
    form.HScroll1[1]->SetValue(ReadColorSetting(kGreenSetting));
    form.HScroll1[2]->SetValue(ReadColorSetting(kBlueSetting));

    QString helpFolder = folder;
    if (!helpFolder.endsWith(QLatin1Char('/')))
        helpFolder += QLatin1Char('/');
    platform::SetHelpFile(
        helpFolder + QString::fromLatin1(resources::kProductName) + QStringLiteral(".hlp"));

    const int version = os.SystemVersion();
    ApplyInterfaceFont(form, InterfaceFontName(version));
    for (int i = 25; i <= 28; ++i)
        form.mnuEditSysColor[i]->setVisible(version >= 410);
    for (int i = 29; i <= 30; ++i)
        form.mnuEditSysColor[i]->setVisible(version >= 501);

    // One screen pixel below the first line, whatever the pixel density.
    platform::Line* second = form.Line1[1];
    const float onePixel = platform::TwipsPerPixelY();
    second->SetPoints(second->X1(), onePixel, second->X2(), onePixel);
}

} // namespace shell
