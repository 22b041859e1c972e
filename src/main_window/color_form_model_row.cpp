#include "colour/channel_keys.h"
#include "main_window/color_form.h"

#include "colour/channel_text.h"
#include "colour/conversions.h"
#include "platform/controls/focus.h"
#include "platform/controls/scroll_bar.h"
#include "platform/controls/text_box.h"

#include <algorithm>

namespace {

QString Decimal(int value)
{
    return QString::fromStdString(colour::ToDecimal(value));
}

} // namespace

void ColorForm::HScroll2_Change(std::int16_t index)
{
    Text2[index]->SetText(Decimal(HScroll2[index]->Value()));

    // Values pushed here by the RGB row or by a model switch are derived
    // from the colour already; converting them back would move it.
    if (RGBChanging)
        return;
    ModeChanging = true;
    const auto [r, g, b] = colour::ModelToRgb(HScroll2[0]->Value(), HScroll2[1]->Value(),
        HScroll2[2]->Value(), static_cast<colour::ColorModel>(ModelInForce()));
    SetRgb({r, g, b});
    platform::MoveFocus(Text2[index]);
    ModeChanging = false;
}

void ColorForm::Text2_Change(std::int16_t index)
{
    platform::TextBox* box = Text2[index];
    if (box->Text().isEmpty())
        return;

    const std::int16_t max = HScroll2[index]->Max();
    const auto read = colour::FromDecimal(box->Text().toStdString());
    if (!read) {
        box->SetText(Decimal(HScroll2[index]->Value())); // pasted junk: show the value again
        return;
    }
    if (*read < 0)
        box->SetText(QStringLiteral("0"));
    else if (*read > max)
        box->SetText(Decimal(max));

    // Read again: a correction above has rewritten the box.
    if (const auto corrected = colour::FromDecimal(box->Text().toStdString()))
        HScroll2[index]->SetValue(*corrected);
}

void ColorForm::Text2_KeyPress(std::int16_t, std::int16_t& keyAscii)
{
    keyAscii = colour::FilterModelKey(keyAscii);
}

void ColorForm::Text2_GotFocus(std::int16_t index)
{
    Text2[index]->SelectAll();
}

void ColorForm::Text2_Step(std::int16_t index, int delta)
{
    // As typed, as in the RGB row.
    Text2[index]->SetText(
        Decimal(std::clamp(HScroll2[index]->Value() + delta, 0, int(HScroll2[index]->Max()))));
}
