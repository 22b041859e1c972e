#include "main_window/color_form.h"
#include "resources/captions.h"
#include "resources/help_topics.h"

#include "acquisition/picker_form.h"
#include "colour/derived_colours.h"
#include "platform/controls/focus.h"
#include "platform/controls/label.h"
#include "platform/controls/mouse.h"
#include "platform/controls/scroll_bar.h"
#include "platform/controls/text_box.h"
#include "platform/desktop/desktop.h"
#include "platform/desktop/screen_sampler.h"

#include <QTimer>

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

const QString kUnreadable = QString::fromUtf8(resources::kScreenUnreadable);
constexpr int kUnreadableShownMs = 4000;

} // namespace

void ColorForm::mnuEditPicker_Click()
{
    // Started again inside a pick, from the keyboard or a launcher, the
    // pick already runs. Taking the screen waits on the desktop, and a
    // command that arrives meanwhile must find the pick begun.
    if (picking_)
        return;
    picking_ = true;
    colourBeforePick_ = {HScroll1[0]->Value(), HScroll1[1]->Value(), HScroll1[2]->Value()};
    if (!picker)
        picker = new PickerForm(this, platform::TheDesktop().Sampler());
    platform::ScreenSampler& screen = picker->Screen();
    // Where no program may read the screen, a pick could never see a click
    // on its overlay and would never end.
    if (!screen.Prepare()) {
        picking_ = false;
        SayScreenUnreadable();
        return;
    }
    Label3->SetCaption(QString::fromUtf8(resources::kPicking));
    SetHelpContextID(resources::kPickTopic);
    picker->Load();

    // The colour must follow the pointer live; the button release, handled
    // while the desktop waits for the next pass, ends the loop.
    while (picker->MouseButton == 0) {
        const QPoint at = screen.HotSpot();
        const std::uint32_t c = screen.Pixel(at); // a failed read is white
        picker->Follow(at, c);
        const colour::Rgb rgb = colour::Unpack(c);
        SetRgb(rgb);
        Label3->SetForeColor(colour::BlackTextReadable(rgb.r, rgb.g, rgb.b) ? kBlack : kWhite);
        platform::MoveFocus(Text1[0]);
        picker->NextPass();
    }

    if (picker->MouseButton == platform::kRightButton) {
        PutBackColourBeforePick();
        platform::MoveFocus(Text1[0]);
    }
    Label3->SetCaption(QString());
    // Back to the main window, its focus in the control that had it.
    activateWindow();
    if (QWidget* control = focusWidget())
        control->setFocus(Qt::ActiveWindowFocusReason);
    SetHelpContextID(resources::kMainWindowTopic);
    picking_ = false;
}

// A command that does nothing must not seem to have worked: the preview
// says why for a while, with the sound.
void ColorForm::SayScreenUnreadable()
{
    platform::TheDesktop().Beep();
    Label3->SetCaption(kUnreadable);
    QTimer::singleShot(kUnreadableShownMs, this, [this] {
        if (!picking_ && Label3->Caption() == kUnreadable)
            Label3->SetCaption(QString());
    });
}

void ColorForm::PutBackColourBeforePick()
{
    SetRgb(colourBeforePick_);
}

bool ColorForm::CloseAbandonsPick() const
{
    // A pick with a button held is being decided, and keeps what it has.
    return picking_ && picker && picker->MouseButton == 0;
}

colour::Rgb ColorForm::ColourToKeep() const
{
    if (CloseAbandonsPick())
        return colourBeforePick_;
    return {HScroll1[0]->Value(), HScroll1[1]->Value(), HScroll1[2]->Value()};
}

void ColorForm::EndPickForUnload()
{
    // Closing the window mid-pick abandons the pick: the grab goes, and the
    // colour from before it is the one saved.
    if (CloseAbandonsPick()) {
        picker->End(platform::kRightButton);
        PutBackColourBeforePick();
    }
}
