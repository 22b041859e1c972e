// Takes CLIPBOARD and PRIMARY on $DISPLAY and then never answers a request
// for either, as a hung program that holds the clipboard would. Prints
// "owned" once it holds both, then "request SELECTION TARGET" for each
// request it leaves unanswered, and runs until it is killed or the display
// goes away.

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <initializer_list>

int main()
{
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy)
        return 1;
    const Window window = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 1, 1, 0, 0, 0);
    const Atom clipboard = XInternAtom(dpy, "CLIPBOARD", False);
    for (const Atom selection : {clipboard, static_cast<Atom>(XA_PRIMARY)})
        XSetSelectionOwner(dpy, selection, window, CurrentTime);
    if (XGetSelectionOwner(dpy, clipboard) != window
        || XGetSelectionOwner(dpy, XA_PRIMARY) != window)
        return 1;
    std::puts("owned");
    std::fflush(stdout);
    // Events are read, so the connection stays healthy, and dropped: a
    // SelectionRequest never gets its SelectionNotify.
    for (;;) {
        XEvent event;
        XNextEvent(dpy, &event);
        if (event.type != SelectionRequest)
            continue;
        char* selection = XGetAtomName(dpy, event.xselectionrequest.selection);
        char* target = XGetAtomName(dpy, event.xselectionrequest.target);
        std::printf("request %s %s\n", selection ? selection : "?", target ? target : "?");
        std::fflush(stdout);
        XFree(selection);
        XFree(target);
    }
}
