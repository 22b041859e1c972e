#pragma once

#include <cstdint>

// The settings file's sections and keys, with the rules start-up holds a
// stored value to; start-up reads and shutdown writes through this one
// table. Kept apart from the form so that the settings fuzz target holds any
// file to exactly the program's rules.
namespace shell {

// The window's stored position, in twips.
inline constexpr char kWindowSection[] = "Window";
inline constexpr char kLeftKey[] = "PosX";
inline constexpr char kTopKey[] = "PosY";

// A [Color] key with the range of values the program itself writes there.
inline constexpr char kColorSection[] = "Color";
struct ColorSetting {
    const char* key;
    std::int16_t defaultValue;
    std::int16_t min;
    std::int16_t max;
};

inline constexpr ColorSetting kModeSetting{"Mode", 0, 0, 2}; // HSV, HLS, YUV
inline constexpr ColorSetting kRadixSetting{"RGB", 0, 0, 1}; // decimal, hexadecimal
inline constexpr ColorSetting kRedSetting{"Red", 255, 0, 255};
inline constexpr ColorSetting kGreenSetting{"Green", 255, 0, 255};
inline constexpr ColorSetting kBlueSetting{"Blue", 255, 0, 255};

// A stored value the program never writes falls back to the key's default.
std::int16_t InRange(const ColorSetting& setting, std::int32_t stored);

// X11 coordinates are 16-bit: a stored position beyond them cannot be a
// place the window was ever saved at.
bool UsablePosition(std::int32_t twips, float twipsPerPixel);

// The stored position's `key` (kLeftKey, kTopKey), or `fallback`.
std::int32_t ReadPosition(const char* key, std::int32_t fallback);
void WritePosition(const char* key, std::int32_t twips);

// The stored value of `setting`, held to its range.
std::int16_t ReadColorSetting(const ColorSetting& setting);
void WriteColorSetting(const ColorSetting& setting, std::int16_t value);

} // namespace shell
