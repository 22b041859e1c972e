#pragma once

namespace platform {

// Makes F1 the help key of the whole program: it opens the help file at the
// topic of what is active (an open menu that carries a number first, then the
// active window), or at the contents when nothing does. Call once, after the
// QApplication exists.
void InstallHelpKey();

} // namespace platform
