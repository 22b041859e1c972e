#include "main_window/color_form.h"

#include "platform/controls/menu.h"
#include "platform/controls/scroll_bar.h"

// The radix and the model are kept nowhere but in the View menu's check
// marks; every reader comes here.

bool ColorForm::RgbWrittenInDecimal() const
{
    return mnuViewRGB[0]->Checked();
}

bool ColorForm::RgbReadAsHexadecimal() const
{
    return mnuViewRGB[1]->Checked();
}

std::int16_t ColorForm::ModelInForce() const
{
    for (std::int16_t m = 0; m < std::ssize(mnuViewMode); ++m) {
        if (mnuViewMode[m]->Checked())
            return m;
    }
    return -1; // before the first model command: nothing is converted meaningfully
}

std::uint32_t ColorForm::CurrentColorValue() const
{
    return colour::Pack({HScroll1[0]->Value(), HScroll1[1]->Value(), HScroll1[2]->Value()});
}
