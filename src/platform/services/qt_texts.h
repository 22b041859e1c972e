#pragma once

namespace platform {

// Makes Qt's own texts (a box's or a scroll bar's menu, the standard
// dialogs' buttons) speak Japanese like the rest of the window, whatever
// the desktop's language. Where the translation is not installed they stay
// in English.
void SpeakJapaneseInQtTexts();

} // namespace platform
