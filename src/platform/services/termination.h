#pragma once

class QWidget;

namespace platform {

// Closes `window` (running its unload) when the process is asked to end:
// SIGTERM, SIGINT or SIGHUP, as a logout or `kill` sends them, or the
// application quitting for the session manager. The signals are caught
// from the first call on; call it first thing in main(), then again with
// the window once it exists.
void CloseOnTermination(QWidget* window);

} // namespace platform
