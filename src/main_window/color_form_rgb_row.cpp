#include "colour/channel_keys.h"
#include "main_window/color_form.h"

#include "colour/channel_text.h"
#include "colour/conversions.h"
#include "platform/controls/focus.h"
#include "platform/controls/label.h"
#include "platform/controls/scroll_bar.h"
#include "platform/controls/text_box.h"

#include <algorithm>

namespace {

constexpr int kChannelMax = 255;

QString Text(const std::string& s)
{
    return QString::fromStdString(s);
}

} // namespace

void ColorForm::HScroll1_Change(std::int16_t index)
{
    SyncRgbText(index);
    Label3->SetBackColor(CurrentColorValue());

    // A change that came from the model row must not be converted back: the
    // model values stay as the user set them.
    if (ModeChanging)
        return;
    RGBChanging = true;
    const auto [c0, c1, c2] = colour::RgbToModel(HScroll1[0]->Value(), HScroll1[1]->Value(),
        HScroll1[2]->Value(), static_cast<colour::ColorModel>(ModelInForce()));
    HScroll2[0]->SetValue(c0);
    HScroll2[1]->SetValue(c1);
    HScroll2[2]->SetValue(c2);
    platform::MoveFocus(Text1[index]);
    RGBChanging = false;
}

void ColorForm::SyncRgbText(std::int16_t index)
{
    const std::int16_t value = HScroll1[index]->Value();
    if (RgbWrittenInDecimal()) {
        Text1[index]->SetText(Text(colour::ToDecimal(value)));
        return;
    }
    // A hexadecimal box keeps what the user typed while it reads as the
    // value: "F" stays "F" rather than jumping to "0F" under the caret.
    const auto shown = colour::FromHex(Text1[index]->Text().toStdString());
    if (shown != value)
        Text1[index]->SetText(Text(colour::ToHex(value, 2)));
}

void ColorForm::Text1_Change(std::int16_t index)
{
    platform::TextBox* box = Text1[index];
    if (box->Text().isEmpty())
        return; // the user is between values; keep the channel as it is

    const std::string text = box->Text().toStdString();
    const auto read = RgbReadAsHexadecimal() ? colour::FromHex(text) : colour::FromDecimal(text);
    if (!read) {
        // Only pasting gets here. The channel keeps its value and the box
        // shows it again, so what is displayed is what counts.
        box->SetText(Text(RgbWrittenInDecimal() ? colour::ToDecimal(HScroll1[index]->Value())
                                                : colour::ToHex(HScroll1[index]->Value(), 2)));
        return;
    }

    int value = *read;
    if (value < 0) {
        box->SetText(QStringLiteral("0"));
        value = 0;
    } else if (value > kChannelMax) {
        box->SetText(RgbWrittenInDecimal() ? QStringLiteral("255") : QStringLiteral("FF"));
        value = kChannelMax;
    }
    HScroll1[index]->SetValue(value);
}

void ColorForm::Text1_KeyPress(std::int16_t, std::int16_t& keyAscii)
{
    keyAscii = colour::FilterRgbKey(keyAscii, RgbReadAsHexadecimal());
}

void ColorForm::Text1_GotFocus(std::int16_t index)
{
    Text1[index]->SelectAll(); // typing replaces the value
}

void ColorForm::Text1_Step(std::int16_t index, int delta)
{
    // Written into the box as if typed, so the one path for typed values
    // sets the channel.
    const int value = std::clamp(HScroll1[index]->Value() + delta, 0, kChannelMax);
    Text1[index]->SetText(
        Text(RgbWrittenInDecimal() ? colour::ToDecimal(value) : colour::ToHex(value, 2)));
}
