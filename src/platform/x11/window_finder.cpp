#include "platform/x11/window_finder.h"

#include <vector>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace platform::x11 {

namespace {

Atom Intern(Display* dpy, const char* name)
{
    return XInternAtom(dpy, name, False);
}

// A window-list property of the root window (_NET_CLIENT_LIST and the like).
std::vector<Window> WindowList(Display* dpy, const char* property)
{
    std::vector<Window> windows;
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(dpy, DefaultRootWindow(dpy), Intern(dpy, property), 0, 1 << 16, False,
            XA_WINDOW, &type, &format, &count, &remaining, &data)
            == Success
        && data && type == XA_WINDOW && format == 32) {
        const auto* list = reinterpret_cast<const Window*>(data);
        windows.assign(list, list + count);
    }
    if (data)
        XFree(data);
    return windows;
}

// Without a window manager's list, the root's children are the top level.
std::vector<Window> TopLevelWindows(Display* dpy)
{
    std::vector<Window> windows = WindowList(dpy, "_NET_CLIENT_LIST_STACKING");
    if (!windows.empty())
        return windows;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(dpy, DefaultRootWindow(dpy), &root, &parent, &children, &count) && children) {
        windows.assign(children, children + count);
        XFree(children);
    }
    return windows;
}

QString Title(Display* dpy, Window window)
{
    Atom type = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    QString title;
    if (XGetWindowProperty(dpy, window, Intern(dpy, "_NET_WM_NAME"), 0, 1024, False,
            Intern(dpy, "UTF8_STRING"), &type, &format, &count, &remaining, &data)
            == Success
        && data && format == 8) {
        title = QString::fromUtf8(reinterpret_cast<const char*>(data), int(count));
    } else {
        char* name = nullptr;
        if (XFetchName(dpy, window, &name) && name) {
            title = QString::fromLocal8Bit(name);
            XFree(name);
        }
    }
    if (data)
        XFree(data);
    return title;
}

bool Viewable(Display* dpy, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(dpy, window, &attributes) && attributes.map_state == IsViewable;
}

void SendClientMessage(Display* dpy, Window window, const char* type, long l0, long l1 = 0)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = Intern(dpy, type);
    event.xclient.format = 32;
    event.xclient.data.l[0] = l0;
    event.xclient.data.l[1] = l1;
    XSendEvent(dpy, DefaultRootWindow(dpy), False,
        SubstructureRedirectMask | SubstructureNotifyMask, &event);
}

} // namespace

WindowId FindWindow(Display* dpy, const QString& title)
{
    // Top of the stacking order first, like a search of the window list.
    const std::vector<Window> windows = TopLevelWindows(dpy);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (Title(dpy, *it) == title)
            return *it;
    }
    return 0;
}

WindowId GetLastActivePopup(Display* dpy, WindowId owner)
{
    if (!owner)
        return owner;
    // The window manager stacks the window active last on top, so the
    // highest shown window that is transient for the owner was active last.
    const std::vector<Window> windows = TopLevelWindows(dpy);
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        Window transientFor = 0;
        if (*it != owner && XGetTransientForHint(dpy, *it, &transientFor) && transientFor == owner
            && Viewable(dpy, *it))
            return *it;
    }
    return owner;
}

void SetForegroundWindow(Display* dpy, WindowId window)
{
    if (!window)
        return;
    // Source 2 speaks for the user (as a pager does): window managers do not
    // treat it as focus stealing, which a start by the user is not.
    SendClientMessage(dpy, window, "_NET_ACTIVE_WINDOW", 2, CurrentTime);
    XRaiseWindow(dpy, window);
    XFlush(dpy);
}

void ShowWindowRestore(Display* dpy, WindowId window)
{
    if (!window)
        return;
    // Mapping an iconic window de-iconifies it (ICCCM); the activation
    // after it does the same under an EWMH window manager.
    XMapRaised(dpy, window);
    SendClientMessage(dpy, window, "_NET_ACTIVE_WINDOW", 2, CurrentTime);
    XSync(dpy, False);
}

void BringForward(Display* dpy, const QString& title)
{
    const WindowId running = FindWindow(dpy, title);
    if (!running)
        return;
    const WindowId front = GetLastActivePopup(dpy, running);
    SetForegroundWindow(dpy, front);
    ShowWindowRestore(dpy, front);
}

} // namespace platform::x11
