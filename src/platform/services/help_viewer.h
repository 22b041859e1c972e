#pragma once

#include <QString>

class QWidget;

namespace platform {

// What a help request asks: HELP_CONTEXT the topic numbered by its data,
// HELP_QUIT to close the viewer if it is open, HELP_FINDER the contents.
enum HelpCommand { HELP_CONTEXT = 1, HELP_QUIT = 2, HELP_FINDER = 11 };

// Our help viewer, in place of the platform's: one window for the program,
// showing the help file (HTML).
void RunHelpViewer(QWidget* owner, const QString& helpFile, HelpCommand command, int data);

// The viewer's window once the first help command made it, else nullptr.
QWidget* HelpViewerWindow();

} // namespace platform
