#pragma once

#include "platform/desktop/desktop.h"
#include "platform/desktop/polling_sampler.h"
#include "platform/desktop/qt_desktop.h"
#include "platform/services/services.h"

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <functional>

// The operating system as a test wants it: every answer settable, and
// installed in place of the desktop's for the fake's lifetime. The screen
// of a pick is played by `pointer` and `pixel`, its passes polled as on X11.
class FakeServices final : public platform::Services {
public:
    FakeServices()
    {
        platform::InstallServices(this);
        platform::InstallDesktop(&desktop_);
    }
    ~FakeServices() override
    {
        if (&platform::Os() == this) // a newer fake may have taken over already
            platform::InstallServices(nullptr);
        if (&platform::TheDesktop() == &desktop_)
            platform::InstallDesktop(nullptr);
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
        platform::HelpCommand command;
        int data;
    };
    QList<Help> help;
    QPoint pointer;
    std::function<std::uint32_t(QPoint)> pixel = [](QPoint) { return 0xFFFFFFFFu; };
    bool clipboardAvailable = true;
    bool screenReadable = true;
    bool placesWindows = true;

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
    void WinHelp(QWidget*, const QString& file, platform::HelpCommand command, int data) override
    {
        help << Help{file, command, data};
    }

private:
    class Screen final : public platform::PollingSampler {
    public:
        explicit Screen(FakeServices& os) : os_(os) { }
        bool Prepare() override { return os_.screenReadable; }
        QPoint HotSpot() override { return os_.pointer; }
        std::uint32_t Pixel(QPoint at) override { return os_.pixel(at); }

    private:
        FakeServices& os_;
    };

    class Desktop final : public platform::QtDesktop {
    public:
        explicit Desktop(FakeServices& os) : os_(os), screen_(os) { }
        platform::ScreenSampler& Sampler() override { return screen_; }
        bool PlacesWindows() override { return os_.placesWindows; }
        void Beep() override { ++os_.beeps; }

    private:
        FakeServices& os_;
        Screen screen_;
    };

    Desktop desktop_{*this};
};
