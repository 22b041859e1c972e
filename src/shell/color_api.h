#pragma once

#include <QString>
#include <cstdint>

// The settings file: its path and the one writer. It lives beside the
// executable, or in the user's configuration folder where the executable's
// folder cannot hold it.
namespace ColorAPI {

// Full path of the settings file, the one written; set once at start-up.
extern QString IniFile;

// The executable's folder, a separator unless the folder already ends in
// one, the executable's name and ".ini".
QString SettingsPath(const QString& folder, const QString& exeName);

// $XDG_CONFIG_HOME (by default ~/.config), "tinctor/", the executable's name
// and ".ini".
QString UserSettingsPath(const QString& exeName);

// Sets IniFile: the file beside the executable where its folder can hold
// it (the folder writable, and the file absent or writable), else the
// user's. Until the user's file exists, the one beside the executable, if
// any, is what is read and what the first save starts from.
void ChooseIniFile(const QString& folder, const QString& exeName);

// The value stored under `key`, or `defaultValue` when the file, the
// section or the key is missing.
std::int32_t ReadIniValue(const QString& section, const QString& key, std::int32_t defaultValue);

// Writes the value as plain decimal text. Between BeginIniWrites and
// EndIniWrites the writes are gathered and land in one replacement of the
// file at the end, so that an interrupted save leaves the old file or the
// new one. A write that fails is ignored: the old file stays whole and the
// program goes on.
void WriteIniValue(const QString& section, const QString& key, std::int32_t value);
void BeginIniWrites();
void EndIniWrites();

} // namespace ColorAPI
