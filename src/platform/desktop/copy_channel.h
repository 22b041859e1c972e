#pragma once

#include <QString>

#include <functional>

// The way from a later copy of the program to the running one on a desktop
// without a window list to find it by (a Wayland session): a socket beside
// the single-instance lock. Each later copy sends one line, the launcher's
// activation token (empty where none came), and ends.
namespace platform {

// The copy that holds the lock of `product` on the session `desktopKey`
// listens for the rest of its life; `arrived` runs on the user-interface
// thread with each token.
void ListenForLaterCopies(const QString& product, const QString& desktopKey,
    std::function<void(const QString& token)> arrived);

// The activation token this copy's launcher gave it, or an empty string.
// GLib before 2.76, GNOME's dash on Debian 12 among its users, hands it on as
// the startup id alone, which mutter takes as a token all the same.
QString LaunchersToken();

// A later copy's call, with the token its launcher gave it, or `token`;
// false where no running copy answers.
bool CallRunningCopy(const QString& product, const QString& desktopKey);
bool CallRunningCopy(const QString& product, const QString& desktopKey, const QString& token);

// Brings this copy's window forward, the modal dialog it shows first, where
// `token` lets the desktop hand it the focus. The window is found by its
// title, `product`.
void BringThisCopyForward(const QString& product, const QString& token);

} // namespace platform
