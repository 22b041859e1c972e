#include "platform/desktop/qt_desktop.h"

#include "platform/desktop/single_instance.h"

#include <QGuiApplication>

namespace platform {

bool QtDesktop::AnotherCopyRuns(const QString& product)
{
    return PreviousInstance(product, QGuiApplication::platformName());
}

} // namespace platform
