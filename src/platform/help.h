#pragma once

#include <QString>

namespace platform {

// The application's help file, set once at start-up; the help commands and
// the help key open it.
void SetHelpFile(const QString& path);
QString HelpFile();

} // namespace platform
