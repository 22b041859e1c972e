#pragma once

#include <QString>

class QWidget;

namespace platform {

// Our help viewer, in place of the platform's: one window for the program,
// showing the help file (HTML). `command` is HELP_CONTEXT (1, topic `data`),
// HELP_QUIT (2, closes the viewer if open) or HELP_FINDER (11, contents).
void RunHelpViewer(QWidget* owner, const QString& helpFile, int command, int data);

// The viewer's window once the first help command made it, else nullptr.
QWidget* HelpViewerWindow();

} // namespace platform
