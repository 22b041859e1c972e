#include "shell/start_up.h"

#include "platform/desktop/desktop.h"
#include "resources/version.h"

namespace shell {

bool Form_Initialize()
{
    const QString product = QString::fromLatin1(resources::kProductName);
    platform::Desktop& desktop = platform::TheDesktop();
    if (!desktop.AnotherCopyRuns(product))
        return true;
    desktop.BringRunningCopyForward(product);
    return false;
}

} // namespace shell
