#pragma once

#include <QString>
#include <QVariantMap>

#include <cstdint>

namespace platform::portal {

// The answer to a portal request: 0 success, 1 cancelled by the user, 2
// anything else, a missing portal or interface and a timeout among them.
struct Response {
    std::uint32_t code = 2;
    QVariantMap results;
};

// Calls `method` of the portal's `interface` and waits, at most `timeoutMs`,
// for the Response of the request it opens. Input to the program's windows
// waits too: the user answers the desktop meanwhile, not this program.
Response CallPortal(const QString& interface, const QString& method, const QString& parentWindow,
    QVariantMap options, int timeoutMs);

} // namespace platform::portal
