#include "platform/services/services.h"

#include "platform/services/desktop_colours.h"
#include "platform/services/system_colours.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QPalette>
#include <QUrl>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>

namespace platform {

namespace {

// Qt names files by UTF-8 text, so a folder whose name is in another
// encoding (an archive unpacked from a Japanese Windows machine keeps its
// Shift_JIS names) cannot be reached by the decoded name: the settings would
// silently never be read or written. Such a folder is held open for the
// process's life and reached through its descriptor's /proc entry instead.
QString ReachableFolder(const QByteArray& folder)
{
    const QString decoded = QFile::decodeName(folder);
    if (QFile::encodeName(decoded) == folder)
        return decoded;
    const int fd = ::open(folder.constData(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    return fd < 0 ? decoded : QStringLiteral("/proc/self/fd/%1").arg(fd);
}

// The executable's path as the kernel has it, in bytes; Qt's own answer is
// empty when the path is not UTF-8.
const QByteArray& ExecutablePath()
{
    static const QByteArray path = [] {
        std::array<char, 4096> bytes{};
        const ssize_t length = ::readlink("/proc/self/exe", bytes.data(), bytes.size());
        if (length <= 0 || length == static_cast<ssize_t>(bytes.size()))
            return QFile::encodeName(QCoreApplication::applicationFilePath());
        return QByteArray(bytes.data(), length);
    }();
    return path;
}

class DesktopServices final : public Services {
public:
    std::uint32_t GetSysColor(int index) override
    {
        return SystemColour(QGuiApplication::palette(), DesktopSaysNow(), index);
    }

    // A Linux desktop has every interface colour the menu offers.
    int SystemVersion() override { return 501; }

    QString AppPath() override
    {
        static const QString folder = [] {
            const QByteArray& path = ExecutablePath();
            return ReachableFolder(path.left(std::max<qsizetype>(path.lastIndexOf('/'), 1)));
        }();
        return folder;
    }

    QString AppExeName() override
    {
        const QByteArray& path = ExecutablePath();
        return QFileInfo(QFile::decodeName(path.mid(path.lastIndexOf('/') + 1))).completeBaseName();
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

    void WinHelp(QWidget* owner, const QString& helpFile, HelpCommand command, int data) override
    {
        RunHelpViewer(owner, helpFile, command, data);
    }
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
