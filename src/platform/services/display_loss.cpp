#include "platform/services/display_loss.h"

#include <QString>
#include <QtGlobal>

#include <mutex>

namespace platform {

namespace {

std::function<void()> saveBeforeTheEnd;
std::once_flag saved;
QtMessageHandler qtsOwn = nullptr;

// Qt's last words before it ends the program for a lost display (the xcb
// and Wayland plugins of Qt 6).
bool SaysTheDisplayIsLost(const QString& message)
{
    return message.startsWith(u"The X11 connection broke")
        || message.startsWith(u"The Wayland connection broke")
        || message.startsWith(u"The Wayland connection experienced a fatal error");
}

void Listen(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && SaysTheDisplayIsLost(message))
        DisplayLost();
    if (qtsOwn)
        qtsOwn(type, context, message);
}

} // namespace

void SaveOnDisplayLoss(std::function<void()> save)
{
    saveBeforeTheEnd = std::move(save);
    if (!qtsOwn)
        qtsOwn = qInstallMessageHandler(Listen);
}

void DisplayLost()
{
    // Qt's event threads may both see the end at once.
    std::call_once(saved, [] {
        if (saveBeforeTheEnd)
            saveBeforeTheEnd();
    });
}

} // namespace platform
