#include "main_window/color_form.h"
#include "resources/help_topics.h"

#include "acquisition/picker_form.h"
#include "colour/notations.h"
#include "platform/label.h"
#include "platform/scroll_bar.h"
#include "platform/services.h"
#include "platform/text_box.h"

#include <QApplication>

namespace {

constexpr std::uint32_t kBlack = 0x000000;
constexpr std::uint32_t kWhite = 0xFFFFFF;

} // namespace

void ColorForm::mnuEditPicker_Click()
{
    // Started again from the keyboard inside a pick: the pick already runs.
    if (picking_)
        return;
    platform::Services& os = platform::Os();
    // Where no program may read the screen, a pick could never see a click
    // on its overlay and would never end.
    if (!os.ScreenReadable()) {
        os.Beep();
        return;
    }
    picking_ = true;
    for (int i = 0; i < 3; ++i)
        colourBeforePick_[i] = HScroll1[i]->Value();
    Label3->SetCaption(QStringLiteral("\r\n\r\n取得中"));
    SetHelpContextID(resources::kPickTopic);
    if (!picker)
        picker = new PickerForm(this);
    picker->Load();

    // The loop polls without pause, as the colour must follow the pointer
    // live; the overlay's button release, handled in processEvents(), ends it.
    while (picker->MouseButton == 0) {
        const QPoint at = os.GetCursorPos();
        const std::uint32_t c = os.GetPixel(at); // a failed read is white
        picker->Follow(at, c);
        const int red = c & 0xFF, green = (c >> 8) & 0xFF, blue = (c >> 16) & 0xFF;
        HScroll1[0]->SetValue(red);
        HScroll1[1]->SetValue(green);
        HScroll1[2]->SetValue(blue);
        Label3->SetForeColor(colour::BlackTextReadable(red, green, blue) ? kBlack : kWhite);
        platform::MoveFocus(Text1[0]);
        QApplication::processEvents();
    }

    if (picker->MouseButton == 2) {
        for (int i = 0; i < 3; ++i)
            HScroll1[i]->SetValue(colourBeforePick_[i]);
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

void ColorForm::EndPickForUnload()
{
    // Closing the window mid-pick abandons the pick: the grab goes, and the
    // colour from before it is the one saved.
    if (picking_ && picker && picker->MouseButton == 0) {
        picker->End(2);
        for (int i = 0; i < 3; ++i)
            HScroll1[i]->SetValue(colourBeforePick_[i]);
    }
}
