#pragma once

#include <QString>

class QWidget;

namespace platform {

// Sets the face name of a control's font, leaving size and style alone.
// Where the machine lacks the face, the control keeps the desktop's own
// interface face, the one its menus use: one family and one Japanese
// fallback for the whole window.
void SetFontName(QWidget* control, const QString& face);

} // namespace platform
