#include "platform/portal/screenshot_portal.h"

#include "colour/color_value.h"
#include "platform/portal/png_shot.h"
#include "platform/portal/portal_request.h"

#include <QDBusArgument>
#include <QFile>
#include <QUrl>

namespace platform::portal {

namespace {

const QString kScreenshot = QStringLiteral("org.freedesktop.portal.Screenshot");

// GNOME asks the user once whether programs may take screenshots; the
// answer may take a while.
constexpr int kScreenshotTimeoutMs = 60000;
// The user picks with the desktop's own tool, at leisure.
constexpr int kPickTimeoutMs = 300000;

} // namespace

std::optional<QImage> TakeScreenshot(const QString& parentWindow)
{
    const Response response = CallPortal(kScreenshot, QStringLiteral("Screenshot"), parentWindow,
        {{QStringLiteral("interactive"), false}}, kScreenshotTimeoutMs);
    if (response.code != 0)
        return std::nullopt;
    const QUrl uri(response.results.value(QStringLiteral("uri")).toString());
    if (!uri.isLocalFile())
        return std::nullopt;
    // GNOME and KDE save it among the user's pictures: a pick must leave no
    // file behind, whether or not it could be read.
    const QString file = uri.toLocalFile();
    // In the one format the overlays draw without converting and the pick
    // reads a pixel of directly.
    QImage shot = ReadShot(file);
    QFile::remove(file);
    if (shot.isNull())
        return std::nullopt;
    return shot;
}

PickedColour PickColour(const QString& parentWindow)
{
    const Response response
        = CallPortal(kScreenshot, QStringLiteral("PickColor"), parentWindow, {}, kPickTimeoutMs);
    if (response.code == 1)
        return {PickedColour::Cancelled};
    if (response.code != 0)
        return {};
    const QVariant value = response.results.value(QStringLiteral("color"));
    if (!value.canConvert<QDBusArgument>())
        return {};
    const QDBusArgument argument = value.value<QDBusArgument>();
    double r = 0;
    double g = 0;
    double b = 0;
    argument.beginStructure();
    argument >> r >> g >> b;
    argument.endStructure();
    const colour::Rgb rgb{
        colour::ChannelFromUnit(r), colour::ChannelFromUnit(g), colour::ChannelFromUnit(b)};
    return {PickedColour::Picked, colour::Pack(rgb)};
}

} // namespace platform::portal
