#include "shell/start_up.h"

#include "platform/single_instance.h"
#include "platform/window_finder.h"
#include "resources/version.h"

namespace shell {

bool Form_Initialize()
{
    const QString product = QString::fromLatin1(resources::kProductName);
    if (!platform::PreviousInstance(product))
        return true;

    // The running copy is found by its title, as it has borne it since its
    // window exists. A dialog it shows comes first, or the user would face
    // a main window that does not respond.
    const WId running = platform::FindWindow(product);
    if (running) {
        const WId front = platform::GetLastActivePopup(running);
        platform::SetForegroundWindow(front);
        platform::ShowWindowRestore(front);
    }
    return false;
}

} // namespace shell
