// Waits for a top-level X window with the given title and asks it to close,
// as a window manager's close button does (WM_DELETE_WINDOW):
// `close-window TITLE SECONDS`. Exits 0 once the request is sent, 1 if no such
// window showed up in time, 2 without an X display.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

std::string Title(Display *display, Window window)
{
    XTextProperty property;
    if (!XGetWMName(display, window, &property) || !property.value)
        return {};
    std::string title(reinterpret_cast<const char *>(property.value), property.nitems);
    XFree(property.value);
    return title;
}

bool Viewable(Display *display, Window window)
{
    XWindowAttributes attributes;
    return XGetWindowAttributes(display, window, &attributes) && attributes.map_state == IsViewable;
}

/// Searches the children of `parent` two levels deep; without a window
/// manager the program's windows are children of the root window. Only shown
/// windows count: the toolkit's hidden helper windows may carry the title too.
Window Find(Display *display, Window parent, const std::string &title, int depth)
{
    Window root = 0;
    Window ignored = 0;
    Window *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, parent, &root, &ignored, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        if (Title(display, children[i]) == title && Viewable(display, children[i]))
            found = children[i];
        else if (depth > 0)
            found = Find(display, children[i], title, depth - 1);
    }
    if (children)
        XFree(children);
    return found;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s TITLE SECONDS\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(std::atoi(argv[2]));

    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    Window window = 0;
    while (!(window = Find(display, DefaultRootWindow(display), title, 1))) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::fprintf(stderr, "no window titled \"%s\"\n", title.c_str());
            XCloseDisplay(display);
            return 1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }

    XEvent event;
    std::memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XFlush(display);
    std::printf("asked window 0x%lx \"%s\" to close\n", window, title.c_str());
    XCloseDisplay(display);
    return 0;
}
