#pragma once

#include <QString>
#include <cstdint>

// The settings file beside the executable: its path and the one writer.
namespace ColorAPI {

// Full path of the settings file; set once at start-up.
extern QString IniFile;

// The executable's folder, a separator unless the folder already ends in
// one, the executable's name and ".ini".
QString SettingsPath(const QString& folder, const QString& exeName);

// The value stored under `key`, or `defaultValue` when the file, the
// section or the key is missing.
std::int32_t ReadIniValue(const QString& section, const QString& key, std::int32_t defaultValue);

// Writes the value as plain decimal text. A write that fails is ignored:
// the old file stays whole and the program goes on.
void WriteIniValue(const QString& section, const QString& key, std::int32_t value);

} // namespace ColorAPI
