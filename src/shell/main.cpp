#include "main_window/color_form.h"
#include "platform/scroll_bar.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    ColorForm form;
    // Until the settings file is read: HSV, decimal, white.
    form.mnuViewMode_Click(0);
    form.mnuViewRGB_Click(0);
    for (platform::ScrollBar* channel : form.HScroll1)
        channel->SetValue(255);
    form.show();
    return app.exec();
}
