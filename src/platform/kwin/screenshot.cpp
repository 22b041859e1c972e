#include "platform/kwin/screenshot.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusUnixFileDescriptor>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QVariantMap>

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace platform::kwin {

namespace {

// KWin draws the picture at the outputs' next frame, a few tenths of a
// second for a large layout on a busy machine. The portal asks KWin for
// the same picture and encodes it on top, so a slow KWin is waited for
// longer than a screen copy would be; one that hangs still leaves the
// portal its turn.
constexpr int kPatienceMs = 5000;
// The pipe's default 64 KiB makes a 50 MB picture some 800 reads; a larger
// one, where the system allows it, a few dozen.
constexpr int kPipeBytes = 1 << 20;
// Three 4K outputs at scale 2 are 100 MB: a size far above is a fault.
constexpr qint64 kMostBytes = qint64(1) << 30;

// The fourth byte of the X formats is undefined, and a transparent one in
// the premultiplied format is black where no output lies: the covers must
// never show through.
constexpr uint32_t kOpaque = 0xFF000000u;

// Reads `size` bytes into `to`, until the deadline; false on a pipe that
// ends first, since KWin gave up writing.
bool ReadWhole(int from, uchar* to, size_t size, const QDeadlineTimer& deadline)
{
    size_t got = 0;
    while (got < size) {
        pollfd wait{from, POLLIN, 0};
        const int ready = poll(&wait, 1, int(deadline.remainingTime()));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0)
            return false;
        const ssize_t read = ::read(from, to + got, size - got);
        if (read < 0 && errno == EINTR)
            continue;
        if (read <= 0)
            return false;
        got += size_t(read);
    }
    return true;
}

// Qt's idea of the layout, which the pick maps the picture to by ratio:
// a picture of another shape is of another desktop, or cut.
bool FitsTheLayout(QSize picture)
{
    QRect layout;
    for (const QScreen* screen : QGuiApplication::screens())
        layout |= screen->geometry();
    if (layout.isEmpty())
        return false;
    const double across = double(picture.width()) / layout.width();
    const double down = double(picture.height()) / layout.height();
    return across >= 0.99 && std::abs(across - down) <= 0.01 * across;
}

} // namespace

std::optional<QImage> CaptureWorkspace()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return std::nullopt;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0)
        return std::nullopt;
    const int from = ends[0];
    fcntl(from, F_SETPIPE_SZ, kPipeBytes); // a hint: the default size without it
    const QDeadlineTimer deadline(kPatienceMs);

    // The message holds a copy of the pipe's far end: gone before the
    // reading, so that a KWin that stops writing ends the pipe.
    QVariantMap shot;
    {
        QDBusMessage message = QDBusMessage::createMethodCall(QStringLiteral("org.kde.KWin"),
            QStringLiteral("/org/kde/KWin/ScreenShot2"), QStringLiteral("org.kde.KWin.ScreenShot2"),
            QStringLiteral("CaptureWorkspace"));
        // Never start a KWin on another desktop's bus.
        message.setAutoStartService(false);
        // Later KWins leave the caller's own windows out unless told, and
        // the pick must see our main window as the user does.
        message << QVariantMap{{QStringLiteral("include-cursor"), false},
            {QStringLiteral("native-resolution"), true},
            {QStringLiteral("hide-caller-windows"), false}}
                << QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]));
        close(ends[1]);
        const QDBusMessage reply = bus.call(message, QDBus::Block, int(deadline.remainingTime()));
        if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
            shot = qdbus_cast<QVariantMap>(reply.arguments().constFirst());
    }

    const int width = shot.value(QStringLiteral("width")).toInt();
    const int height = shot.value(QStringLiteral("height")).toInt();
    const qint64 stride = shot.value(QStringLiteral("stride")).toLongLong();
    const auto format = QImage::Format(shot.value(QStringLiteral("format")).toInt());
    const bool raw = shot.value(QStringLiteral("type"), QStringLiteral("raw")).toString()
        == QLatin1String("raw");
    const bool wide = format > QImage::Format_Invalid && format < QImage::NImageFormats
        && QImage::toPixelFormat(format).bitsPerPixel() == 32;
    const qint64 size = stride * height;
    if (!raw || !wide || width <= 0 || height <= 0 || stride < qint64(width) * 4 || stride % 4 != 0
        || size > kMostBytes || !FitsTheLayout({width, height})) {
        close(from);
        return std::nullopt;
    }

    auto* bits = static_cast<uchar*>(std::malloc(size_t(size)));
    const bool whole = bits && ReadWhole(from, bits, size_t(size), deadline);
    close(from);
    if (!whole) {
        std::free(bits);
        return std::nullopt;
    }
    // KWin's own formats are ours already but for the fourth byte: the
    // picture stays where it was read.
    const bool ours = format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
        || format == QImage::Format_ARGB32_Premultiplied;
    if (ours) {
        for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(bits + y * stride);
            for (int x = 0; x < width; ++x)
                row[x] |= kOpaque;
        }
    }
    QImage picture(
        bits, width, height, qsizetype(stride), ours ? QImage::Format_RGB32 : format,
        [](void* data) { std::free(data); }, bits);
    if (ours)
        return picture;
    return picture.convertToFormat(QImage::Format_RGB32);
}

} // namespace platform::kwin
