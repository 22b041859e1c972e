#include "platform/desktop/qt_desktop.h"

#include "platform/desktop/single_instance.h"

#include <QApplication>

namespace platform {

bool QtDesktop::AnotherCopyRuns(const QString& product)
{
    return PreviousInstance(product, QGuiApplication::platformName());
}

void QtDesktop::Beep()
{
    QApplication::beep();
}

} // namespace platform
