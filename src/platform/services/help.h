#pragma once

#include <QString>

class QObject;

namespace platform {

// The application's help file, set once at start-up; the help commands and
// the help key open it.
void SetHelpFile(const QString& path);
QString HelpFile();

// The help topic of a window or a menu, which the help key opens for it;
// 0 (none given) means "no topic of its own".
void SetHelpContextID(QObject* windowOrMenu, int context);
int HelpContextID(const QObject* windowOrMenu);

} // namespace platform
