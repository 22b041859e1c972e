#include "platform/services/system_colours.h"

#include "platform/controls/qt_color.h"

#include <QPalette>

#include <optional>

namespace platform {

namespace {

struct Source {
    const char* meaning;
    std::optional<QPalette::ColorRole> role; // nullopt: no Qt role means this
    QPalette::ColorGroup group;
    std::uint32_t classic; // 0x00BBGGRR of the classic scheme
};

constexpr auto kActive = QPalette::Active;
constexpr auto kDisabled = QPalette::Disabled;
constexpr std::nullopt_t kFixed = std::nullopt;

// Index = colour number. Window decorations and the desktop are drawn by the
// window manager, which Qt knows nothing of: they keep the classic colours.
const Source kSources[kSystemColourCount] = {
    {"scroll bar area", kFixed, kActive, 0xC8D0D4},
    {"desktop", kFixed, kActive, 0xA56E3A},
    {"active title bar", kFixed, kActive, 0x6A240A},
    {"inactive title bar", kFixed, kActive, 0x808080},
    {"menu background", QPalette::Window, kActive, 0xC8D0D4},
    {"window background", QPalette::Base, kActive, 0xFFFFFF},
    {"window frame", kFixed, kActive, 0x000000},
    {"menu text", QPalette::WindowText, kActive, 0x000000},
    {"window text", QPalette::Text, kActive, 0x000000},
    {"title bar text", kFixed, kActive, 0xFFFFFF},
    {"active window border", kFixed, kActive, 0xC8D0D4},
    {"inactive window border", kFixed, kActive, 0xC8D0D4},
    {"multiple-document background", kFixed, kActive, 0x808080},
    {"selected item background", QPalette::Highlight, kActive, 0x6A240A},
    {"selected item text", QPalette::HighlightedText, kActive, 0xFFFFFF},
    {"button face", QPalette::Button, kActive, 0xC8D0D4},
    {"button shadow", QPalette::Dark, kActive, 0x808080},
    {"greyed text", QPalette::Text, kDisabled, 0x808080},
    {"button text", QPalette::ButtonText, kActive, 0x000000},
    {"inactive title bar text", kFixed, kActive, 0xC8D0D4},
    {"3-D highlight", QPalette::Light, kActive, 0xFFFFFF},
    {"3-D dark shadow", QPalette::Shadow, kActive, 0x404040},
    {"3-D light", QPalette::Midlight, kActive, 0xC8D0D4},
    {"tooltip text", QPalette::ToolTipText, kActive, 0x000000},
    {"tooltip background", QPalette::ToolTipBase, kActive, 0xE1FFFF},
    {"alternate button face", kFixed, kActive, 0xB5B5B5},
    {"hot-tracked item", QPalette::Link, kActive, 0x800000},
    {"active title bar gradient end", kFixed, kActive, 0xF0CAA6},
    {"inactive title bar gradient end", kFixed, kActive, 0xC0C0C0},
    {"selected flat menu item", QPalette::Highlight, kActive, 0xC56A31},
    {"flat menu bar", QPalette::Window, kActive, 0xC8D0D4},
};

} // namespace

std::uint32_t SystemColour(const QPalette& palette, int index)
{
    if (index < 0 || index >= kSystemColourCount)
        return 0;
    const Source& source = kSources[index];
    if (!source.role)
        return source.classic;
    return ToColorValue(palette.color(source.group, *source.role));
}

} // namespace platform
