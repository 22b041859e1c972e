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

namespace {

template <class Items> std::int16_t CheckedIndex(const Items& items)
{
    for (std::int16_t i = 0; i < std::ssize(items); ++i) {
        if (items[i]->Checked())
            return i;
    }
    return -1;
}

} // namespace

std::int16_t ColorForm::RadixInForce() const
{
    return CheckedIndex(mnuViewRGB);
}

std::int16_t ColorForm::ModelInForce() const
{
    return CheckedIndex(mnuViewMode);
}

std::uint32_t ColorForm::CurrentColorValue() const
{
    return colour::Pack({HScroll1[0]->Value(), HScroll1[1]->Value(), HScroll1[2]->Value()});
}
