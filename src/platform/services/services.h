#pragma once

#include "platform/services/help_viewer.h"

#include <QString>
#include <cstdint>

class QWidget;

namespace platform {

// What the forms ask of the operating system that every desktop serves
// alike, behind one interface so that tests can put a fake in its place.
// What differs between desktops is asked of TheDesktop() instead. Each
// service arrives with the command that needs it.
class Services {
public:
    virtual ~Services() = default;

    // Interface colour number 0..30, packed 0x00BBGGRR, read at the moment
    // of the call so that a theme change shows.
    virtual std::uint32_t GetSysColor(int index) = 0;

    // Major version * 100 + minor, as the forms expect of the operating
    // system: 501 and above means every interface colour exists.
    virtual int SystemVersion() = 0;

    // The folder that holds the running executable, without a trailing
    // separator unless it is the root, and the executable's name without
    // its extension.
    virtual QString AppPath() = 0;
    virtual QString AppExeName() = 0;

    // Empties the clipboard and puts plain text on it; false when the
    // clipboard could not be had.
    virtual bool SetClipboardText(const QString& text) = 0;

    // Opens a web address in the user's browser; the outcome is not told.
    virtual void OpenUrl(const QString& url) = 0;

    // The help viewer, as help_viewer.h runs it.
    virtual void WinHelp(QWidget* owner, const QString& helpFile, HelpCommand command, int data)
        = 0;
};

// The services in force: the desktop's own unless a test installed others.
Services& Os();

// Installs `services` (not owned) in place of the desktop's; nullptr restores.
void InstallServices(Services* services);

} // namespace platform
