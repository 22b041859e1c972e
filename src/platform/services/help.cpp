#include "platform/services/help.h"

#include <QObject>
#include <QVariant>

namespace platform {

namespace {

QString helpFile;

// A dynamic property, so that menus and plain widgets carry a topic too.
constexpr const char* kContextProperty = "HelpContextID";

} // namespace

void SetHelpFile(const QString& path)
{
    helpFile = path;
}

QString HelpFile()
{
    return helpFile;
}

void SetHelpContextID(QObject* windowOrMenu, int context)
{
    windowOrMenu->setProperty(kContextProperty, context);
}

int HelpContextID(const QObject* windowOrMenu)
{
    return windowOrMenu->property(kContextProperty).toInt();
}

} // namespace platform
