#include "main_window/color_form.h"

#include "platform/controls/frame.h"
#include "platform/controls/label.h"
#include "platform/controls/menu.h"
#include "platform/controls/scroll_bar.h"
#include "platform/controls/text_box.h"

#include <QMenu>

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
        connect(Text1[i], &platform::TextBox::Paste, this, &ColorForm::Text_Paste);
        connect(Text1[i], &platform::TextBox::Step, this,
            [this, i](int delta) { Text1_Step(i, delta); });
    }
    for (std::int16_t i = 0; i < std::ssize(HScroll2); ++i) {
        connect(HScroll2[i], &platform::ScrollBar::Change, this, [this, i] { HScroll2_Change(i); });
        connect(HScroll2[i], &platform::ScrollBar::Scroll, this, [this, i] { HScroll2_Change(i); });
        connect(Text2[i], &platform::TextBox::Change, this, [this, i] { Text2_Change(i); });
        connect(Text2[i], &platform::TextBox::KeyPress, this,
            [this, i](std::int16_t& keyAscii) { Text2_KeyPress(i, keyAscii); });
        connect(Text2[i], &platform::TextBox::GotFocus, this, [this, i] { Text2_GotFocus(i); });
        connect(Text2[i], &platform::TextBox::Paste, this, &ColorForm::Text_Paste);
        connect(Text2[i], &platform::TextBox::Step, this,
            [this, i](int delta) { Text2_Step(i, delta); });
    }

    connect(Frame1, &platform::Frame::MouseUp, this, &ColorForm::Frame1_MouseUp);
    connect(Frame2, &platform::Frame::MouseUp, this, &ColorForm::Frame2_MouseUp);
    connect(Label3, &platform::Label::MouseUp, this, &ColorForm::Label3_MouseUp);
    for (std::int16_t i = 0; i < std::ssize(Label1); ++i) {
        connect(Label1[i], &platform::Label::MouseUp, this,
            [this, i](const platform::MouseArgs& args) { Label1_MouseUp(i, args); });
        connect(Label2[i], &platform::Label::MouseUp, this,
            [this, i](const platform::MouseArgs& args) { Label2_MouseUp(i, args); });
    }
    for (std::int16_t i = 0; i < std::ssize(Label4); ++i) {
        connect(Label4[i], &platform::Label::MouseUp, this,
            [this, i](const platform::MouseArgs& args) { Label4_MouseUp(i, args); });
    }

    for (std::int16_t i = 0; i < std::ssize(mnuEditCopy); ++i)
        connect(
            mnuEditCopy[i], &platform::MenuItem::Click, this, [this, i] { mnuEditCopy_Click(i); });
    for (std::int16_t i = 0; i < std::ssize(mnuEditColor); ++i)
        connect(mnuEditColor[i], &platform::MenuItem::Click, this,
            [this, i] { mnuEditColor_Click(i); });
    connect(mnuEditPicker, &platform::MenuItem::Click, this, &ColorForm::mnuEditPicker_Click);
    // Before anything else hears of the closing, so that shutdown saves the
    // colour from before an abandoned pick.
    connect(this, &platform::Form::Unload, this, &ColorForm::EndPickForUnload);
    // Opening the submenu is its click.
    connect(mnuEditSystem, &QMenu::aboutToShow, this, &ColorForm::mnuEditSystem_Click);
    for (std::int16_t i = 0; i < std::ssize(mnuEditSysColor); ++i) {
        connect(mnuEditSysColor[i], &platform::MenuItem::Click, this,
            [this, i] { mnuEditSysColor_Click(i); });
    }
    connect(mnuFileExit, &platform::MenuItem::Click, this, &ColorForm::mnuFileExit_Click);
    connect(mnuHelpHelp, &platform::MenuItem::Click, this, &ColorForm::mnuHelpHelp_Click);
    connect(mnuHelpWebpage, &platform::MenuItem::Click, this, &ColorForm::mnuHelpWebpage_Click);
    connect(mnuHelpAbout, &platform::MenuItem::Click, this, &ColorForm::mnuHelpAbout_Click);

    for (std::int16_t i = 0; i < std::ssize(mnuViewRGB); ++i)
        connect(
            mnuViewRGB[i], &platform::MenuItem::Click, this, [this, i] { mnuViewRGB_Click(i); });
    for (std::int16_t i = 0; i < std::ssize(mnuViewMode); ++i)
        connect(
            mnuViewMode[i], &platform::MenuItem::Click, this, [this, i] { mnuViewMode_Click(i); });
}
