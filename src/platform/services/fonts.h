#pragma once

#include <QString>

class QWidget;

namespace platform {

// Sets the face name of a control's font, leaving size and style alone.
// Faces that a Linux desktop lacks fall back to Japanese faces it has, so
// the captions never show empty boxes.
void SetFontName(QWidget* control, const QString& face);

} // namespace platform
