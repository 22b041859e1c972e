#include "platform/services/system_colours.h"

#include "colour/color_value.h"
#include "platform/controls/qt_color.h"
#include "platform/services/kde_globals.h"

#include <QPalette>

namespace platform {

namespace {

// A kdeglobals key, tried in turn with the others of its entry; a null
// group ends the list.
struct KdeKey {
    const char* group = nullptr;
    const char* key = nullptr;
};
using KdeKeys = std::array<KdeKey, 3>;

constexpr const char* kHeader = "Colors:Header";
constexpr const char* kHeaderInactive = "Colors:Header\x1d"
                                        "Inactive";

// KWin draws title bars and frames in the scheme's header colours where it
// has them (Plasma 5.21 and later), else in the window manager's own [WM]
// colours. An inactive header is [Colors:Header][Inactive], or the header.
constexpr KdeKeys kActiveBar = {{{kHeader, "BackgroundNormal"}, {"WM", "activeBackground"}}};
constexpr KdeKeys kActiveBarText = {{{kHeader, "ForegroundNormal"}, {"WM", "activeForeground"}}};
constexpr KdeKeys kInactiveBar = {{{kHeaderInactive, "BackgroundNormal"},
    {kHeader, "BackgroundNormal"}, {"WM", "inactiveBackground"}}};
constexpr KdeKeys kInactiveBarText = {{{kHeaderInactive, "ForegroundNormal"},
    {kHeader, "ForegroundNormal"}, {"WM", "inactiveForeground"}}};
constexpr KdeKeys kActiveFrame = {{{kHeader, "BackgroundNormal"}, {"WM", "frame"}}};
constexpr KdeKeys kInactiveFrame = {{{kHeaderInactive, "BackgroundNormal"},
    {kHeader, "BackgroundNormal"}, {"WM", "inactiveFrame"}}};
// The gradient's far end is what KDE's scheme calls the blend.
constexpr KdeKeys kActiveBlend = {{{"WM", "activeBlend"}}};
constexpr KdeKeys kInactiveBlend = {{{"WM", "inactiveBlend"}}};

constexpr KdeKeys Kde(const char* group, const char* key)
{
    return {{{group, key}}};
}

// GNOME 43's title bars are libadwaita 1.2's header bars: flat, so the
// gradient ends where it starts, with no coloured border. Their text is
// translucent (80 %, halved again when the window is inactive) and is
// given here as it shows over its bar.
enum class Gnome { None, ActiveBar, ActiveText, InactiveBar, InactiveText, Accent };
constexpr std::uint32_t kAdwaita[4][2] = {
    // light, dark; 0x00BBGGRR
    {0xEBEBEB, 0x303030}, // active bar
    {0x2F2F2F, 0xFFFFFF}, // active text
    {0xFAFAFA, 0x242424}, // inactive bar
    {0x969696, 0x929292}, // inactive text
};

struct Source {
    const char* meaning;
    std::optional<QPalette::ColorRole> role; // nullopt: no Qt role means this
    QPalette::ColorGroup group;
    std::uint32_t classic; // 0x00BBGGRR of the classic scheme
    KdeKeys kde;
    Gnome gnome;
};

constexpr auto kActive = QPalette::Active;
constexpr auto kDisabled = QPalette::Disabled;
constexpr std::nullopt_t kFixed = std::nullopt;
constexpr KdeKeys kNoKde = {};

// Index = colour number. Window decorations and the desktop are drawn by the
// window manager, which Qt knows nothing of: only the desktop can say what
// they are, and where it does not they keep the classic colours.
const Source kSources[kSystemColourCount] = {
    {"scroll bar area", kFixed, kActive, 0xC8D0D4, kNoKde, Gnome::None},
    {"desktop", kFixed, kActive, 0xA56E3A, kNoKde, Gnome::None},
    {"active title bar", kFixed, kActive, 0x6A240A, kActiveBar, Gnome::ActiveBar},
    {"inactive title bar", kFixed, kActive, 0x808080, kInactiveBar, Gnome::InactiveBar},
    {"menu background", QPalette::Window, kActive, 0xC8D0D4,
        Kde("Colors:Window", "BackgroundNormal"), Gnome::None},
    {"window background", QPalette::Base, kActive, 0xFFFFFF, Kde("Colors:View", "BackgroundNormal"),
        Gnome::None},
    {"window frame", kFixed, kActive, 0x000000, kNoKde, Gnome::None},
    {"menu text", QPalette::WindowText, kActive, 0x000000, Kde("Colors:Window", "ForegroundNormal"),
        Gnome::None},
    {"window text", QPalette::Text, kActive, 0x000000, Kde("Colors:View", "ForegroundNormal"),
        Gnome::None},
    {"title bar text", kFixed, kActive, 0xFFFFFF, kActiveBarText, Gnome::ActiveText},
    {"active window border", kFixed, kActive, 0xC8D0D4, kActiveFrame, Gnome::None},
    {"inactive window border", kFixed, kActive, 0xC8D0D4, kInactiveFrame, Gnome::None},
    {"multiple-document background", kFixed, kActive, 0x808080, kNoKde, Gnome::None},
    {"selected item background", QPalette::Highlight, kActive, 0x6A240A,
        Kde("Colors:Selection", "BackgroundNormal"), Gnome::Accent},
    {"selected item text", QPalette::HighlightedText, kActive, 0xFFFFFF,
        Kde("Colors:Selection", "ForegroundNormal"), Gnome::None},
    {"button face", QPalette::Button, kActive, 0xC8D0D4, Kde("Colors:Button", "BackgroundNormal"),
        Gnome::None},
    {"button shadow", QPalette::Dark, kActive, 0x808080, kNoKde, Gnome::None},
    {"greyed text", QPalette::Text, kDisabled, 0x808080, kNoKde, Gnome::None},
    {"button text", QPalette::ButtonText, kActive, 0x000000,
        Kde("Colors:Button", "ForegroundNormal"), Gnome::None},
    {"inactive title bar text", kFixed, kActive, 0xC8D0D4, kInactiveBarText, Gnome::InactiveText},
    {"3-D highlight", QPalette::Light, kActive, 0xFFFFFF, kNoKde, Gnome::None},
    {"3-D dark shadow", QPalette::Shadow, kActive, 0x404040, kNoKde, Gnome::None},
    {"3-D light", QPalette::Midlight, kActive, 0xC8D0D4, kNoKde, Gnome::None},
    {"tooltip text", QPalette::ToolTipText, kActive, 0x000000,
        Kde("Colors:Tooltip", "ForegroundNormal"), Gnome::None},
    {"tooltip background", QPalette::ToolTipBase, kActive, 0xE1FFFF,
        Kde("Colors:Tooltip", "BackgroundNormal"), Gnome::None},
    {"alternate button face", kFixed, kActive, 0xB5B5B5, kNoKde, Gnome::None},
    {"hot-tracked item", QPalette::Link, kActive, 0x800000, Kde("Colors:View", "ForegroundLink"),
        Gnome::None},
    {"active title bar gradient end", kFixed, kActive, 0xF0CAA6, kActiveBlend, Gnome::ActiveBar},
    {"inactive title bar gradient end", kFixed, kActive, 0xC0C0C0, kInactiveBlend,
        Gnome::InactiveBar},
    {"selected flat menu item", QPalette::Highlight, kActive, 0xC56A31,
        Kde("Colors:Selection", "BackgroundNormal"), Gnome::Accent},
    {"flat menu bar", QPalette::Window, kActive, 0xC8D0D4, Kde("Colors:Window", "BackgroundNormal"),
        Gnome::None},
};

} // namespace

std::uint32_t SystemColour(const QPalette& palette, const DesktopSays& desktop, int index)
{
    if (index < 0 || index >= kSystemColourCount)
        return 0;
    if (desktop[index])
        return *desktop[index];
    const Source& source = kSources[index];
    if (!source.role)
        return source.classic;
    return ToColorValue(palette.color(source.group, *source.role));
}

DesktopSays FromKdeGlobals(const KdeGlobals& kde)
{
    DesktopSays says;
    for (int i = 0; i < kSystemColourCount; ++i) {
        for (const KdeKey& key : kSources[i].kde) {
            if (!key.group || says[i])
                break;
            says[i] = KdeColour(kde.Value(key.group, key.key));
        }
    }
    return says;
}

DesktopSays FromAppearance(const Appearance& appearance)
{
    std::optional<std::uint32_t> accent;
    if (const auto& rgb = appearance.accent) {
        const auto inRange = [](double v) { return v >= 0 && v <= 1; }; // false for NaN too
        if (inRange((*rgb)[0]) && inRange((*rgb)[1]) && inRange((*rgb)[2])) {
            accent = colour::Pack({colour::ChannelFromUnit((*rgb)[0]),
                colour::ChannelFromUnit((*rgb)[1]), colour::ChannelFromUnit((*rgb)[2])});
        }
    }
    const bool dark = appearance.colorScheme == 1u;
    DesktopSays says;
    for (int i = 0; i < kSystemColourCount; ++i) {
        const Gnome gnome = kSources[i].gnome;
        if (gnome == Gnome::Accent)
            says[i] = accent;
        else if (gnome != Gnome::None && appearance.colorScheme)
            says[i] = kAdwaita[static_cast<int>(gnome) - 1][dark ? 1 : 0];
    }
    return says;
}

} // namespace platform
