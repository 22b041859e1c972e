#pragma once

#include "platform/services/system_colours.h"

namespace platform {

// The desktop portal's appearance settings as last heard. The first call
// asks the portal without waiting, and answers nothing until it replies;
// later changes arrive with the portal's SettingChanged signal. A portal
// that never answers leaves nothing said. Needs the QCoreApplication.
const Appearance& PortalAppearance();

} // namespace platform
