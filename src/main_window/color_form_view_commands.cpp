#include "main_window/color_form.h"

#include "colour/channel_text.h"
#include "colour/conversions.h"
#include "platform/controls/frame.h"
#include "platform/controls/label.h"
#include "platform/controls/menu.h"
#include "platform/controls/scroll_bar.h"
#include "platform/controls/text_box.h"
#include "resources/strings.h"

namespace {

constexpr std::int16_t kDecimal = 0;
constexpr std::int16_t kHexadecimal = 1;

} // namespace

void ColorForm::mnuViewRGB_Click(std::int16_t index)
{
    if (index != kDecimal && index != kHexadecimal)
        return;
    if (mnuViewRGB[index]->Checked())
        return;

    // The marks first: each text written below is parsed again by the text
    // change reaction, in the radix the marks show.
    mnuViewRGB[kDecimal]->SetChecked(index == kDecimal);
    mnuViewRGB[kHexadecimal]->SetChecked(index == kHexadecimal);

    // The texts are re-expressed, not the values: a value equal to the old
    // one sets nothing further in motion.
    for (std::int16_t i = 0; i < std::ssize(Text1); ++i) {
        platform::TextBox* box = Text1[i];
        const std::string text = box->Text().toStdString();
        if (index == kHexadecimal) {
            // An empty or unreadable decimal box shows the channel's value.
            const auto value = text.empty() ? std::nullopt : colour::FromDecimal(text);
            box->SetText(
                QString::fromStdString(colour::ToHex(value.value_or(HScroll1[i]->Value()), 2)));
        } else {
            // An empty hexadecimal box reads as 0 and sets the channel to 0.
            const auto value = colour::FromHex(text);
            box->SetText(
                QString::fromStdString(colour::ToDecimal(value.value_or(HScroll1[i]->Value()))));
        }
        box->setToolTip(resources::LoadResString(resources::kRgbTooltipBase + index));
    }
}

void ColorForm::mnuViewMode_Click(std::int16_t index)
{
    const colour::ModelRow* model = colour::FindModelRow(static_cast<colour::ColorModel>(index));
    if (!model)
        return;

    // The marks first: the conversions below read the model from them.
    for (std::int16_t m = 0; m < std::ssize(mnuViewMode); ++m)
        mnuViewMode[m]->SetChecked(m == index);

    const int base = resources::kModelCaptionBase + 10 * index;
    Frame2->SetCaption(resources::LoadResString(base));

    // Lowering a maximum clamps the bar, which reports a change; the flag
    // keeps that clamped value from being taken for a new colour.
    RGBChanging = true;
    for (std::int16_t c = 0; c < 3; ++c) {
        Label2[c]->SetCaption(resources::LoadResString(base + c + 1));
        Text2[c]->setToolTip(resources::LoadResString(model->tooltipIds[c]));
        HScroll2[c]->SetMax(model->maxima[c]);
    }
    RGBChanging = false;

    // Derive the whole model row anew from the colour, as a red change does:
    // nothing is converted from the old model, so no rounding accumulates.
    HScroll1_Change(0);
}
