#pragma once

#include <QImage>

#include <optional>

namespace platform::kwin {

// The whole desktop in one image, as the desktop portal's screenshot lays
// it out (every output at its place in the layout, at the largest output
// scale, outputs of a lower scale repeating their pixels), taken by KWin
// itself (org.kde.KWin.ScreenShot2) without the pointer and handed over
// raw through a pipe: no file, no PNG. KWin grants it to a program whose
// installed desktop entry names the interface in
// X-KDE-DBUS-Restricted-Interfaces and whose Exec leads to the running
// executable. Gives up within five seconds whatever KWin does.
// Nothing where KWin is not running or refuses, or the picture comes short
// or is not one of the layout's size and of a 32-bit format: the portal is
// the way then.
std::optional<QImage> CaptureWorkspace();

} // namespace platform::kwin
