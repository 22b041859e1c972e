#include "main_window/color_form.h"
#include "resources/captions.h"
#include "resources/help_topics.h"

#include "platform/controls/menu.h"
#include "platform/controls/named.h"
#include "platform/services/help.h"

#include <QMenu>
#include <QMenuBar>

using platform::MenuItem;
using platform::Named;

namespace {

QMenu* AddMenu(QMenuBar* bar, const char* name, const char* caption)
{
    return Named(bar->addMenu(QString::fromUtf8(caption)), name);
}

MenuItem* AddItem(QMenu* menu, const char* name, int index, const char* caption)
{
    auto* item = Named(new MenuItem(QString::fromUtf8(caption), menu), name, index);
    menu->addAction(item);
    return item;
}

MenuItem* AddItem(QMenu* menu, const char* name, const char* caption)
{
    return AddItem(menu, name, -1, caption);
}

} // namespace

void ColorForm::CreateMenus()
{
    QMenuBar* bar = menuBar();

    mnuFile = AddMenu(bar, "mnuFile", resources::kFileMenu);
    mnuFileExit = AddItem(mnuFile, "mnuFileExit", resources::kFileExit);

    mnuEdit = AddMenu(bar, "mnuEdit", resources::kEditMenu);
    for (int i = 0; i < std::ssize(mnuEditCopy); ++i)
        mnuEditCopy[i] = AddItem(mnuEdit, "mnuEditCopy", i, resources::kCopyCaptions[i]);
    mnuEditSeparate1 = AddItem(mnuEdit, "mnuEditSeparate1", "-");
    for (int i = 0; i < std::ssize(mnuEditColor); ++i)
        mnuEditColor[i] = AddItem(mnuEdit, "mnuEditColor", i, resources::kColourCommandCaptions[i]);
    mnuEditSeparate2 = AddItem(mnuEdit, "mnuEditSeparate2", "-");
    mnuEditPicker = AddItem(mnuEdit, "mnuEditPicker", resources::kEditPicker);
    mnuEditSystem
        = Named(mnuEdit->addMenu(QString::fromUtf8(resources::kEditSystem)), "mnuEditSystem");
    platform::SetHelpContextID(mnuEditSystem, resources::kSystemColourMenuTopic);
    for (int i = 0; i < std::ssize(mnuEditSysColor); ++i)
        mnuEditSysColor[i]
            = AddItem(mnuEditSystem, "mnuEditSysColor", i, resources::kSysColorCaptions[i]);

    mnuView = AddMenu(bar, "mnuView", resources::kViewMenu);
    for (int i = 0; i < std::ssize(mnuViewRGB); ++i)
        mnuViewRGB[i] = AddItem(mnuView, "mnuViewRGB", i, resources::kRadixCaptions[i]);
    mnuViewSeparate = AddItem(mnuView, "mnuViewSeparate", "-");
    for (int i = 0; i < std::ssize(mnuViewMode); ++i)
        mnuViewMode[i] = AddItem(mnuView, "mnuViewMode", i, resources::kModelCaptions[i]);

    mnuHelp = AddMenu(bar, "mnuHelp", resources::kHelpMenu);
    mnuHelpHelp = AddItem(mnuHelp, "mnuHelpHelp", resources::kHelpHelp);
    mnuHelpSeparate1 = AddItem(mnuHelp, "mnuHelpSeparate1", "-");
    mnuHelpWebpage = AddItem(mnuHelp, "mnuHelpWebpage", resources::kHelpWebpage);
    mnuHelpSeparate2 = AddItem(mnuHelp, "mnuHelpSeparate2", "-");
    mnuHelpAbout = AddItem(mnuHelp, "mnuHelpAbout", resources::kHelpAbout);
}
