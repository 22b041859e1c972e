#pragma once

#include <QString>
#include <Qt>

#include <functional>

class QWidget;

namespace platform::portal {

// How the covers of a pick over a screenshot meet the compositor, which a
// native Wayland client and an X client of Xwayland do differently. The
// backend of each gives its own; the pick itself never asks which it is.
class CoverSession {
public:
    virtual ~CoverSession() = default;

    // The window the portal's dialogs belong to, in the portal's notation
    // ("x11:1c00005"), or empty where the portal cannot be told.
    virtual QString PortalParent(const QWidget* activeWindow) const = 0;

    // The flags a cover is made with, and how it is shown over the whole of
    // its screen, above everything, taking the keyboard (Escape must reach
    // the pick).
    virtual Qt::WindowFlags CoverFlags() const = 0;
    virtual void ShowCover(QWidget* cover) const = 0;

    // Whether a press arrives at the place it happened. Where it does not,
    // the last motion before it stands for it.
    virtual bool PressesWhereTheyHappen() const = 0;

    // Whether a cover can show the live screen through it until the
    // screenshot is in, and then the picture.
    virtual bool ClearCovers() const = 0;

    // Whether our windows' places on the layout are known. Where they are
    // not, our main window is looked for in the screenshot.
    virtual bool KnowsWindowPlaces() const = 0;

    // Takes the covers away with `dropCovers` and hands the focus back to
    // `mainWindow`, where the compositor would give it to whatever lies
    // under the pointer.
    virtual void ReturnFocus(
        QWidget* mainWindow, const std::function<void()>& dropCovers) const = 0;
};

} // namespace platform::portal
