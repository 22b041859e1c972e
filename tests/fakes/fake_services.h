#pragma once

#include "platform/services.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The operating system as a test wants it: every answer settable, and
// installed in place of the desktop's for the fake's lifetime.
class FakeServices final : public platform::Services {
public:
    FakeServices() { platform::InstallServices(this); }
    ~FakeServices() override
    {
        if (&platform::Os() == this) // a newer fake may have taken over already
            platform::InstallServices(nullptr);
    }
    FakeServices(const FakeServices&) = delete;
    FakeServices& operator=(const FakeServices&) = delete;

    // Distinct colours by default, so that a mix-up of numbers shows.
    std::function<std::uint32_t(int)> sysColor = [](int index) { return 0x010101u * (index + 1); };
    int version = 501;
    QString appPath;
    QString exeName = QStringLiteral("tinctor");

    // What the program asked of the desktop, in order.
    QStringList clipboard;
    QStringList openedUrls;
    int beeps = 0;
    struct Help {
        QString file;
        HelpCommand command;
        int data;
    };
    QList<Help> help;
    QPoint pointer;
    std::function<std::uint32_t(QPoint)> pixel = [](QPoint) { return 0xFFFFFFFFu; };
    bool clipboardAvailable = true;

    std::uint32_t GetSysColor(int index) override { return sysColor(index); }
    int SystemVersion() override { return version; }
    QString AppPath() override { return appPath; }
    QString AppExeName() override { return exeName; }
    bool SetClipboardText(const QString& text) override
    {
        if (clipboardAvailable)
            clipboard << text;
        return clipboardAvailable;
    }
    void OpenUrl(const QString& url) override { openedUrls << url; }
    void Beep() override { ++beeps; }
    void WinHelp(QWidget*, const QString& file, HelpCommand command, int data) override
    {
        help << Help{file, command, data};
    }
    QPoint GetCursorPos() override { return pointer; }
    std::uint32_t GetPixel(QPoint at) override { return pixel(at); }
    bool screenReadable = true;
    bool ScreenReadable() override { return screenReadable; }
};
