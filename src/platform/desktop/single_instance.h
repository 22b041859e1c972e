#pragma once

#include <QString>

namespace platform {

// True when another copy of the program runs for this user on the desktop
// that `desktopKey` names (the Qt platform and its display, say). The first
// call takes a lock that the kernel releases with the process, however it
// ends, so a crashed copy leaves nothing stale behind; two copies started in
// the same instant cannot both win it. Later calls repeat the first answer.
// `product` names the lock.
bool PreviousInstance(const QString& product, const QString& desktopKey);

// The socket beside the lock through which a later copy reaches the running
// one (see copy_channel.h); its name is short enough for any runtime folder.
QString InstanceSocketPath(const QString& product, const QString& desktopKey);

} // namespace platform
