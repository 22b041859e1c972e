#include "main_window/color_form.h"
#include "platform/services/display_loss.h"
#include "platform/services/help_key.h"
#include "platform/services/identity.h"
#include "platform/services/qt_texts.h"
#include "platform/services/termination.h"
#include "resources/version.h"
#include "shell/start_up.h"

#include <QApplication>
#include <QPointer>

int main(int argc, char* argv[])
{
    // From the very start, so that a logout racing the start-up still saves.
    platform::CloseOnTermination(nullptr);

    QApplication app(argc, argv);
    // Before a second start asks for the focus in the entry's name.
    platform::TellDesktopWhoWeAre(QString::fromLatin1(resources::kDesktopId));
    platform::SpeakJapaneseInQtTexts();
    if (!shell::Form_Initialize())
        return 0; // the running copy is in front now

    platform::InstallHelpKey();
    ColorForm form;
    // The help viewer and the version dialog carry the main window's icon,
    // for desktops that draw a window's own.
    QApplication::setWindowIcon(form.windowIcon());
    QObject::connect(&form, &platform::Form::Unload, &form, [&form] { shell::Form_Unload(form); });
    platform::CloseOnTermination(&form);
    platform::SaveOnDisplayLoss([window = QPointer(&form)] {
        if (window)
            shell::SaveWithoutDisplay(*window);
    });
    shell::Form_Load(form);
    form.show();
    shell::OpenLauncherDoor(form);
    return app.exec();
}
