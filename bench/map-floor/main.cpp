// map-floor: what mapping a window costs the desktop itself. A bare X
// client makes a window like Tickwell's notice beforehand (a dialog of
// about its size, kept above the others, fixed in size), waits until a
// given moment and asks for the window to be mapped, nothing else (no
// icon, no drawing of its own, no sync counter); the time
// from that moment to the MapNotify is the floor under any program's
// notice on that X server and window manager.
//
//   map-floor WHEN_NS [TITLE]
//       WHEN_NS: CLOCK_REALTIME nanoseconds at which to map; TITLE is the
//       window's title ("floor" unless given). Prints, on standard error,
//       the microseconds from WHEN_NS to the map request's leaving for the
//       server; then waits (up to 30 s) to be stopped.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The notice's size on the rig's fonts (its dialog units in IPA P Gothic).
constexpr int kWidth = 321;
constexpr int kHeight = 148;

void setAtoms(Display *dpy, Window w, const char *property, const char *const *names, int count)
{
    Atom atoms[4] = {};
    for (int i = 0; i < count; ++i)
        atoms[i] = XInternAtom(dpy, names[i], False);
    XChangeProperty(dpy, w, XInternAtom(dpy, property, False), XA_ATOM, 32, PropModeReplace,
        reinterpret_cast<unsigned char *>(atoms), count);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 3) {
        std::fputs("usage: map-floor WHEN_NS [TITLE]\n", stderr);
        return 2;
    }
    const long long when = std::atoll(argv[1]);
    const char *title = argc == 3 ? argv[2] : "floor";
    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fputs("map-floor: no display\n", stderr);
        return 2;
    }
    const int screen = DefaultScreen(dpy);
    XSetWindowAttributes attributes{};
    attributes.background_pixel = WhitePixel(dpy, screen);
    attributes.event_mask = ExposureMask | StructureNotifyMask;
    const Window w = XCreateWindow(dpy, RootWindow(dpy, screen), 0, 0, kWidth, kHeight, 0, CopyFromParent,
        InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &attributes);

    // Owned by a window that never shows, as the notice is by the hidden
    // main frame: one group, the owner its leader.
    const Window owner = XCreateSimpleWindow(dpy, RootWindow(dpy, screen), 0, 0, 1, 1, 0, 0, 0);

    // What a toolkit sets on a dialog of this kind before it maps it.
    XStoreName(dpy, w, title);
    XChangeProperty(dpy, w, XInternAtom(dpy, "_NET_WM_NAME", False), XInternAtom(dpy, "UTF8_STRING", False), 8,
        PropModeReplace, reinterpret_cast<const unsigned char *>(title), static_cast<int>(std::strlen(title)));
    XClassHint classHint{const_cast<char *>("map-floor"), const_cast<char *>("map-floor")};
    XSetClassHint(dpy, w, &classHint);
    XWMHints hints{};
    hints.flags = InputHint | StateHint | WindowGroupHint;
    hints.window_group = owner;
    hints.input = True;
    hints.initial_state = NormalState;
    XSetWMHints(dpy, w, &hints);
    XSizeHints size{};
    size.flags = PMinSize | PMaxSize | PSize;
    size.width = size.min_width = size.max_width = kWidth;
    size.height = size.min_height = size.max_height = kHeight;
    XSetWMNormalHints(dpy, w, &size);
    XSetTransientForHint(dpy, w, owner);
    const char *const protocols[] = {"WM_DELETE_WINDOW", "WM_TAKE_FOCUS"};
    Atom protocolAtoms[2] = {XInternAtom(dpy, protocols[0], False), XInternAtom(dpy, protocols[1], False)};
    XSetWMProtocols(dpy, w, protocolAtoms, 2);
    const char *const type[] = {"_NET_WM_WINDOW_TYPE_DIALOG", "_NET_WM_WINDOW_TYPE_NORMAL"};
    setAtoms(dpy, w, "_NET_WM_WINDOW_TYPE", type, 2);
    const char *const state[] = {"_NET_WM_STATE_ABOVE"};
    setAtoms(dpy, w, "_NET_WM_STATE", state, 1);
    const long pid = getpid();
    XChangeProperty(dpy, w, XInternAtom(dpy, "_NET_WM_PID", False), XA_CARDINAL, 32, PropModeReplace,
        reinterpret_cast<const unsigned char *>(&pid), 1);
    XSync(dpy, False);

    const timespec due{static_cast<time_t>(when / 1000000000LL), static_cast<long>(when % 1000000000LL)};
    while (clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &due, nullptr) == EINTR) {
    }
    XMapWindow(dpy, w);
    XFlush(dpy);
    timespec sent{};
    clock_gettime(CLOCK_REALTIME, &sent);
    std::fprintf(stderr, "%.0f\n", ((sent.tv_sec * 1000000000LL + sent.tv_nsec) - when) / 1e3);

    // Stay, window and all, until the watcher has seen it and stops us;
    // events are read so that the server never waits on us.
    const time_t until = time(nullptr) + 30;
    while (time(nullptr) < until) {
        while (XPending(dpy)) {
            XEvent event;
            XNextEvent(dpy, &event);
        }
        usleep(10000);
    }
    XCloseDisplay(dpy);
    return 0;
}
