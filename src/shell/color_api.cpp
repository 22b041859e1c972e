#include "shell/color_api.h"

#include "platform/services/profile_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <optional>
#include <vector>

#include <unistd.h>

namespace ColorAPI {

QString IniFile;

namespace {

// Read while IniFile does not exist yet: the file beside an executable
// whose folder cannot hold the settings any more.
QString seedFile;

std::optional<std::vector<platform::ProfileEntry>> gathered;

bool Writable(const QString& path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

QString Source()
{
    return seedFile.isEmpty() || QFileInfo::exists(IniFile) ? IniFile : seedFile;
}

} // namespace

QString SettingsPath(const QString& folder, const QString& exeName)
{
    QString path = folder;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + exeName + QStringLiteral(".ini");
}

QString UserSettingsPath(const QString& exeName)
{
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return SettingsPath(config + QStringLiteral("/tinctor"), exeName);
}

void ChooseIniFile(const QString& folder, const QString& exeName)
{
    const QString beside = SettingsPath(folder, exeName);
    const bool besideHolds = Writable(folder) && (!QFileInfo::exists(beside) || Writable(beside));
    IniFile = besideHolds ? beside : UserSettingsPath(exeName);
    seedFile = besideHolds ? QString() : beside;
}

std::int32_t ReadIniValue(const QString& section, const QString& key, std::int32_t defaultValue)
{
    return platform::GetPrivateProfileInt(section, key, defaultValue, Source());
}

void WriteIniValue(const QString& section, const QString& key, std::int32_t value)
{
    if (gathered) {
        gathered->push_back({section, key, QString::number(value)});
        return;
    }
    // Failure is deliberately ignored: there is no one to tell at shutdown.
    platform::WritePrivateProfileString(section, key, QString::number(value), IniFile);
}

void BeginIniWrites()
{
    gathered.emplace();
}

void EndIniWrites()
{
    if (!gathered)
        return;
    const std::vector<platform::ProfileEntry> entries = std::move(*gathered);
    gathered.reset();
    // The user's folder may not exist yet; a folder that cannot be made
    // fails the write below, which is ignored like any other.
    if (!seedFile.isEmpty())
        QDir().mkpath(QFileInfo(IniFile).path());
    platform::WritePrivateProfileStrings(entries, IniFile, Source());
}

} // namespace ColorAPI
