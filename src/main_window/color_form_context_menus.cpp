#include "main_window/color_form.h"

#include "platform/controls/focus.h"
#include "platform/controls/frame.h"
#include "platform/controls/label.h"
#include "platform/controls/menu.h"
#include "platform/controls/mouse.h"
#include "platform/controls/text_box.h"
#include "platform/services/units.h"

#include <QMenu>

namespace {

constexpr float kSwatchTwips = 240;

platform::MouseArgs MovedBy(const platform::MouseArgs& args, const QWidget* control)
{
    platform::MouseArgs moved = args;
    moved.x += control->x() * platform::TwipsPerPixelX();
    moved.y += control->y() * platform::TwipsPerPixelY();
    return moved;
}

// Shows `menu` with `hidden` taken out for the time it is open only: the
// menu bar always offers the full menus.
void PopUpWithout(QMenu* menu, std::initializer_list<QAction*> hidden)
{
    for (QAction* item : hidden)
        item->setVisible(false);
    platform::PopupMenu(menu);
    for (QAction* item : hidden)
        item->setVisible(true);
}

} // namespace

void ColorForm::Frame1_MouseUp(const platform::MouseArgs& args)
{
    if (args.button != platform::kRightButton || !platform::Inside(args, Frame1->size()))
        return;
    PopUpWithout(mnuView, {mnuViewMode[0], mnuViewMode[1], mnuViewMode[2], mnuViewSeparate});
}

void ColorForm::Label1_MouseUp(std::int16_t index, const platform::MouseArgs& args)
{
    // A caption stands for its frame: the same click, at the same spot.
    Frame1_MouseUp(MovedBy(args, Label1[index]));
}

void ColorForm::Frame2_MouseUp(const platform::MouseArgs& args)
{
    if (args.button != platform::kRightButton || !platform::Inside(args, Frame2->size()))
        return;
    PopUpWithout(mnuView, {mnuViewRGB[0], mnuViewRGB[1], mnuViewSeparate});
}

void ColorForm::Label2_MouseUp(std::int16_t index, const platform::MouseArgs& args)
{
    Frame2_MouseUp(MovedBy(args, Label2[index]));
}

void ColorForm::Label3_MouseUp(const platform::MouseArgs& args)
{
    if (args.button != platform::kRightButton || !platform::Inside(args, Label3->size()))
        return;
    PopUpWithout(mnuEdit, {mnuEditSeparate2, mnuEditPicker, mnuEditSystem->menuAction()});
}

void ColorForm::Label4_MouseUp(std::int16_t index, const platform::MouseArgs& args)
{
    // The swatch's fixed size, not its measured one.
    if (args.button != platform::kLeftButton || !platform::Inside(args, kSwatchTwips, kSwatchTwips))
        return;
    SetRgb(colour::Unpack(Label4[index]->BackColor()));
    platform::MoveFocus(Text1[0]);
}
