#include "main_window/color_form.h"

#include "colour/derived_colours.h"
#include "colour/notations.h"
#include "colour/pasted_colour.h"
#include "platform/controls/focus.h"
#include "platform/controls/menu.h"
#include "platform/controls/scroll_bar.h"
#include "platform/controls/text_box.h"
#include "platform/services/services.h"

void ColorForm::mnuEditCopy_Click(std::int16_t index)
{
    if (index < colour::Html || index > colour::RgbFunction)
        return;
    // The scroll values are the colour: a half-typed box does not count.
    const std::string text = colour::CopyText(
        HScroll1[0]->Value(), HScroll1[1]->Value(), HScroll1[2]->Value(), colour::Notation(index));
    // A clipboard that cannot be had is given up on quietly; the colour
    // and the window stay as they are.
    platform::Os().SetClipboardText(QString::fromStdString(text));
}

void ColorForm::Text_Paste(const QString& text, bool& taken)
{
    // A colour copied from a page or from source, whole, in any channel box:
    // it is set as a swatch sets it. Anything else goes into the box as
    // typed text would, cut to the box's length.
    constexpr qsizetype kLongestLooked = 1024;
    if (text.size() > kLongestLooked)
        return;
    const std::optional<colour::Rgb> pasted = colour::ReadColourText(text.toStdString());
    if (!pasted)
        return;
    taken = true;
    SetRgb(*pasted);
    platform::MoveFocus(Text1[0]);
}

void ColorForm::mnuEditColor_Click(std::int16_t index)
{
    const int r = HScroll1[0]->Value(), g = HScroll1[1]->Value(), b = HScroll1[2]->Value();
    SetRgb(index == 0 ? colour::Invert(r, g, b) : colour::Complement(r, g, b));
}

void ColorForm::mnuEditSystem_Click()
{
    // Each entry shows the colour it would set now; choosing it still reads
    // the colour again at the click.
    platform::Services& os = platform::Os();
    for (std::int16_t i = 0; i < std::ssize(mnuEditSysColor); ++i) {
        if (mnuEditSysColor[i]->isVisible())
            mnuEditSysColor[i]->SetSwatch(os.GetSysColor(i));
    }
}

void ColorForm::mnuEditSysColor_Click(std::int16_t index)
{
    // Read at the moment of the click, so a changed theme shows.
    SetRgb(colour::Unpack(platform::Os().GetSysColor(index)));
}

void ColorForm::SetRgb(colour::Rgb c)
{
    // Channel by channel, so each changed one runs its own reaction before
    // the next is set.
    HScroll1[0]->SetValue(c.r);
    HScroll1[1]->SetValue(c.g);
    HScroll1[2]->SetValue(c.b);
}
