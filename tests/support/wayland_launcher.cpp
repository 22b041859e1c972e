// Stands in for the launcher of a Wayland desktop in the tests: it shows a
// window, which takes the focus as a launcher's does, and once it has the
// focus prints an activation token on its own line for the program it would
// start. It runs until it is ended.

#include "platform/wayland/activation_token.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Launcher"));
    window.resize(200, 100);
    QObject::connect(&app, &QGuiApplication::focusWindowChanged, &app, [](QWindow* focused) {
        static bool told = false;
        if (!focused || told)
            return;
        told = true;
        const QString token = platform::wayland::RequestActivationToken(QStringLiteral("launcher"));
        std::printf("%s\n", qPrintable(token));
        std::fflush(stdout);
    });
    window.show();
    return app.exec();
}
