// x11-watch: starts a program and times, from outside it, when something
// happens on the X display. Used by the benchmarks under the desktop rig.
//
//   x11-watch embed -- PROGRAM ARGS...
//       milliseconds from exec until one of its windows is embedded in the
//       system tray (reparented into the tray host);
//   x11-watch map TITLE SINCE_NS -- PROGRAM ARGS...
//       milliseconds from SINCE_NS (CLOCK_REALTIME, nanoseconds) until a
//       window titled TITLE is mapped;
//   x11-watch line WORD SINCE_NS -- PROGRAM ARGS...
//       milliseconds from SINCE_NS until the program prints the line WORD on
//       its standard error.
// Prints the figure, or "timeout" after 30 s; then kills the program.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr unsigned long kClientBaseMask = ~0x1fffffUL;

long long nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return ts.tv_sec * 1000000000LL + ts.tv_nsec;
}

std::string titleOf(Display *dpy, Window w)
{
    std::string title;
    Atom utf8 = XInternAtom(dpy, "UTF8_STRING", False);
    Atom netName = XInternAtom(dpy, "_NET_WM_NAME", False);
    Atom type = 0;
    int format = 0;
    unsigned long items = 0, after = 0;
    unsigned char *data = nullptr;
    if (XGetWindowProperty(dpy, w, netName, 0, 1024, False, utf8, &type, &format, &items, &after, &data)
            == Success
        && data) {
        title.assign(reinterpret_cast<char *>(data), items);
        XFree(data);
    }
    if (title.empty()) {
        char *name = nullptr;
        if (XFetchName(dpy, w, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

// The window itself, or a client window the window manager framed in it.
bool hasTitle(Display *dpy, Window w, const std::string &title)
{
    if (titleOf(dpy, w) == title)
        return true;
    Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(dpy, w, &rootReturn, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned i = 0; i < count && !found; ++i)
        found = titleOf(dpy, children[i]) == title;
    if (children)
        XFree(children);
    return found;
}

int ignoreErrors(Display *, XErrorEvent *)
{
    return 0;
}

pid_t startProgram(char **argv, int *stderrPipe)
{
    int fds[2] = {-1, -1};
    if (stderrPipe && pipe(fds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        if (stderrPipe) {
            dup2(fds[1], 2);
            close(fds[0]);
            close(fds[1]);
        }
        execvp(argv[0], argv);
        _exit(127);
    }
    if (stderrPipe) {
        close(fds[1]);
        *stderrPipe = fds[0];
    }
    return pid;
}

void stopProgram(pid_t pid)
{
    if (pid <= 0)
        return;
    kill(-pid, SIGKILL);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int usage()
{
    std::fputs("usage: x11-watch embed|map TITLE SINCE_NS|line WORD SINCE_NS -- PROGRAM ARGS...\n", stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 4)
        return usage();
    const std::string mode = argv[1];
    int dash = 2;
    while (dash < argc && std::strcmp(argv[dash], "--") != 0)
        ++dash;
    if (dash >= argc - 1)
        return usage();
    std::vector<std::string> args(argv + 2, argv + dash);
    char **program = argv + dash + 1;
    const long long deadline = nowNs() + 30LL * 1000000000LL;

    if (mode == "line") {
        if (args.size() != 2)
            return usage();
        const long long since = std::atoll(args[1].c_str());
        int fd = -1;
        const pid_t pid = startProgram(program, &fd);
        std::string buffer;
        while (nowNs() < deadline) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 100) <= 0)
                continue;
            char chunk[256];
            const ssize_t n = read(fd, chunk, sizeof chunk);
            if (n <= 0)
                break;
            buffer.append(chunk, static_cast<std::size_t>(n));
            if (buffer.find(args[0] + "\n") != std::string::npos) {
                std::printf("%.3f\n", (nowNs() - since) / 1e6);
                stopProgram(pid);
                return 0;
            }
        }
        std::puts("timeout");
        stopProgram(pid);
        return 1;
    }

    Display *dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fputs("x11-watch: no display\n", stderr);
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(dpy);
    XSelectInput(dpy, root, SubstructureNotifyMask);
    const Window tray = XGetSelectionOwner(dpy, XInternAtom(dpy, "_NET_SYSTEM_TRAY_S0", False));
    XSync(dpy, False);

    long long since = 0;
    std::string title;
    if (mode == "embed") {
        if (!args.empty() || !tray)
            return usage();
    } else if (mode == "map") {
        if (args.size() != 2)
            return usage();
        title = args[0];
        since = std::atoll(args[1].c_str());
    } else {
        return usage();
    }

    const long long started = nowNs();
    const pid_t pid = startProgram(program, nullptr);
    if (mode == "embed")
        since = started;

    const int xfd = ConnectionNumber(dpy);
    while (nowNs() < deadline) {
        if (!XPending(dpy)) {
            pollfd p{xfd, POLLIN, 0};
            poll(&p, 1, 100);
            continue;
        }
        XEvent event;
        XNextEvent(dpy, &event);
        // The tray host's windows share the resource-id base of its
        // selection owner (X servers hand each client one id range).
        if (mode == "embed" && event.type == ReparentNotify && event.xreparent.parent != root
            && (event.xreparent.parent & kClientBaseMask) == (tray & kClientBaseMask)) {
            std::printf("%.3f\n", (nowNs() - since) / 1e6);
            stopProgram(pid);
            return 0;
        }
        if (mode == "map") {
            // New top-level windows are watched themselves, so that their
            // mapping is seen after the window manager has framed them.
            if (event.type == CreateNotify)
                XSelectInput(dpy, event.xcreatewindow.window, StructureNotifyMask | PropertyChangeMask);
            if (event.type == MapNotify && hasTitle(dpy, event.xmap.window, title)) {
                std::printf("%.3f\n", (nowNs() - since) / 1e6);
                stopProgram(pid);
                return 0;
            }
        }
    }
    std::puts("timeout");
    stopProgram(pid);
    return 1;
}
