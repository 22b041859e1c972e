#pragma once

#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>

namespace platform::portal {

// One screenshot of the whole desktop, every output in one image in layout
// order, taken without asking the user to choose a region. The file the
// portal wrote for it is gone by the time this returns. Nothing where the
// portal refuses, cannot or is missing.
std::optional<QImage> TakeScreenshot(const QString& parentWindow);

// The desktop's own one-shot colour picker.
struct PickedColour {
    enum Outcome { Picked, Cancelled, Unavailable } outcome = Unavailable;
    std::uint32_t colour = 0; // 0x00BBGGRR when Picked
};
PickedColour PickColour(const QString& parentWindow);

} // namespace platform::portal
