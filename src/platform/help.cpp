#include "platform/help.h"

namespace platform {

namespace {
QString helpFile;
}

void SetHelpFile(const QString& path)
{
    helpFile = path;
}

QString HelpFile()
{
    return helpFile;
}

} // namespace platform
