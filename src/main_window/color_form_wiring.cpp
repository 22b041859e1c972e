#include "main_window/color_form.h"

#include "platform/menu.h"
#include "platform/scroll_bar.h"
#include "platform/text_box.h"

// The window's event list: every notification and the handler it runs.
void ColorForm::Wire()
{
    for (std::int16_t i = 0; i < std::ssize(HScroll1); ++i) {
        connect(HScroll1[i], &platform::ScrollBar::Change, this, [this, i] { HScroll1_Change(i); });
        connect(HScroll1[i], &platform::ScrollBar::Scroll, this, [this, i] { HScroll1_Change(i); });
        connect(Text1[i], &platform::TextBox::Change, this, [this, i] { Text1_Change(i); });
        connect(Text1[i], &platform::TextBox::KeyPress, this,
            [this, i](std::int16_t& keyAscii) { Text1_KeyPress(i, keyAscii); });
        connect(Text1[i], &platform::TextBox::GotFocus, this, [this, i] { Text1_GotFocus(i); });
    }
    for (std::int16_t i = 0; i < std::ssize(HScroll2); ++i) {
        connect(HScroll2[i], &platform::ScrollBar::Change, this, [this, i] { HScroll2_Change(i); });
        connect(HScroll2[i], &platform::ScrollBar::Scroll, this, [this, i] { HScroll2_Change(i); });
        connect(Text2[i], &platform::TextBox::Change, this, [this, i] { Text2_Change(i); });
        connect(Text2[i], &platform::TextBox::KeyPress, this,
            [this, i](std::int16_t& keyAscii) { Text2_KeyPress(i, keyAscii); });
        connect(Text2[i], &platform::TextBox::GotFocus, this, [this, i] { Text2_GotFocus(i); });
    }

    for (std::int16_t i = 0; i < std::ssize(mnuViewRGB); ++i)
        connect(
            mnuViewRGB[i], &platform::MenuItem::Click, this, [this, i] { mnuViewRGB_Click(i); });
    for (std::int16_t i = 0; i < std::ssize(mnuViewMode); ++i)
        connect(
            mnuViewMode[i], &platform::MenuItem::Click, this, [this, i] { mnuViewMode_Click(i); });
}
