#pragma once

#include "platform/desktop/screen_sampler.h"

#include <QObject>
#include <QPoint>

#include <functional>
#include <optional>

class QKeyEvent;

namespace platform {

// What a key means during a pick, on every desktop: an arrow nudges the hot
// spot by one device pixel (ten with Shift); Enter or Space keeps the colour
// as the left button does, Escape puts back the one from before as the
// right button does. Any other key means nothing to the pick.
struct PickKey {
    QPoint nudge;
    std::optional<PickState> end;
};
std::optional<PickKey> ReadPickKey(const QKeyEvent& event);

// Installed on the application for a pick: takes the pick's keys from
// whichever window has them, before any control sees them, and hands each on.
class PickKeyFilter final : public QObject {
public:
    explicit PickKeyFilter(std::function<void(const PickKey&)> onKey) : onKey_(std::move(onKey)) { }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void(const PickKey&)> onKey_;
};

} // namespace platform
