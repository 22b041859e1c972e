#include "platform/services.h"

#include "platform/help_viewer.h"
#include "platform/screen_pixels.h"
#include "platform/system_colours.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileInfo>
#include <QPalette>
#include <QUrl>

namespace platform {

namespace {

class DesktopServices final : public Services {
public:
    std::uint32_t GetSysColor(int index) override
    {
        return SystemColour(QGuiApplication::palette(), index);
    }

    // A Linux desktop has every interface colour the menu offers.
    int SystemVersion() override { return 501; }

    QString AppPath() override { return QCoreApplication::applicationDirPath(); }

    QString AppExeName() override
    {
        return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    }

    bool SetClipboardText(const QString& text) override
    {
        // Taking the X11 CLIPBOARD selection cannot be refused; Qt answers
        // other programs' requests for it from the event loop.
        QClipboard* clipboard = QGuiApplication::clipboard();
        if (!clipboard)
            return false;
        clipboard->setText(text, QClipboard::Clipboard);
        return true;
    }

    void OpenUrl(const QString& url) override
    {
        QDesktopServices::openUrl(QUrl(url)); // no browser: nothing to report
    }

    void Beep() override { QApplication::beep(); }

    void WinHelp(QWidget* owner, const QString& helpFile, HelpCommand command, int data) override
    {
        RunHelpViewer(owner, helpFile, command, data);
    }

    QPoint GetCursorPos() override { return PointerPosition(); }

    std::uint32_t GetPixel(QPoint at) override { return ScreenPixel(at); }

    bool ScreenReadable() override { return ScreenPixelsReadable(); }
};

Services* installed = nullptr;

} // namespace

Services& Os()
{
    static DesktopServices desktop;
    return installed ? *installed : desktop;
}

void InstallServices(Services* services)
{
    installed = services;
}

} // namespace platform
