#include "shell/color_api.h"

#include "platform/profile_file.h"

namespace ColorAPI {

QString IniFile;

QString SettingsPath(const QString& folder, const QString& exeName)
{
    QString path = folder;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + exeName + QStringLiteral(".ini");
}

std::int32_t ReadIniValue(const QString& section, const QString& key, std::int32_t defaultValue)
{
    return platform::GetPrivateProfileInt(section, key, defaultValue, IniFile);
}

void WriteIniValue(const QString& section, const QString& key, std::int32_t value)
{
    // Failure is deliberately ignored: there is no one to tell at shutdown.
    platform::WritePrivateProfileString(section, key, QString::number(value), IniFile);
}

} // namespace ColorAPI
