#include "shell/start_up.h"

#include "main_window/color_form.h"
#include "platform/controls/menu.h"
#include "platform/desktop/desktop.h"
#include "platform/services/application_bus.h"
#include "resources/version.h"

#include <QApplication>

namespace shell {

namespace {

// The object path that goes with a bus name: "org.vantrel.Tinctor" is at
// "/org/vantrel/Tinctor".
QString ObjectPathOf(QString busName)
{
    return u'/' + busName.replace(u'.', u'/');
}

} // namespace

void OpenLauncherDoor(ColorForm& form)
{
    const QString product = QString::fromLatin1(resources::kProductName);
    auto* bus = new platform::ApplicationBus;
    bus->setParent(&form);
    const QString name = QString::fromLatin1(resources::kDesktopId);
    const auto comeForward
        = [product](const QString& token) { platform::TheDesktop().ComeForward(product, token); };
    if (!bus->Serve(name, ObjectPathOf(name), comeForward)) {
        delete bus;
        return;
    }
    bus->AddAction(QStringLiteral("pick"), [&form, comeForward](const QString& token) {
        comeForward(token);
        // A modal dialog keeps its place, as it keeps the menu from being
        // used; a pick under way is the one pick.
        if (QApplication::activeModalWidget())
            return;
        form.mnuEditPicker->trigger();
    });
}

} // namespace shell
