// x11-watch: starts a program and times, from outside it, when something
// happens on the X display. Used by the benchmarks under the desktop rig.
//
//   x11-watch embed -- PROGRAM ARGS...
//       milliseconds from exec until one of its windows is embedded in the
//       system tray (reparented into the tray host);
//   x11-watch map TITLE SINCE_NS [COUNT] -- PROGRAM ARGS...
//       milliseconds from SINCE_NS (CLOCK_REALTIME, nanoseconds) until a
//       window of the program titled TITLE is mapped; with COUNT, one line
//       for each of the first COUNT such windows, the k-th (from 0) timed
//       from k minutes after SINCE_NS, each closed a second after it showed;
//   x11-watch line WORD SINCE_NS -- PROGRAM ARGS...
//       milliseconds from SINCE_NS until the program prints the line WORD on
//       its standard error.
// Prints the figure, or "timeout" after 30 s (and a minute more for each
// further window counted); then kills the program.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
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

// The window itself, or the client window the window manager framed in it,
// when it carries the title; 0 otherwise.
Window clientWithTitle(Display *dpy, Window w, const std::string &title)
{
    if (titleOf(dpy, w) == title)
        return w;
    Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(dpy, w, &rootReturn, &parent, &children, &count))
        return 0;
    Window found = 0;
    for (unsigned i = 0; i < count && !found; ++i) {
        if (titleOf(dpy, children[i]) == title)
            found = children[i];
    }
    if (children)
        XFree(children);
    return found;
}

// The process that made the window or the client window framed in it, by
// its _NET_WM_PID; 0 when it does not say.
long pidOf(Display *dpy, Window w)
{
    const Atom pidAtom = XInternAtom(dpy, "_NET_WM_PID", False);
    const auto read = [&](Window window) -> long {
        Atom type = 0;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char *data = nullptr;
        long pid = 0;
        if (XGetWindowProperty(dpy, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after, &data)
                == Success
            && data) {
            if (items == 1 && format == 32)
                pid = *reinterpret_cast<long *>(data);
            XFree(data);
        }
        return pid;
    };
    if (const long pid = read(w))
        return pid;
    Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    long pid = 0;
    if (XQueryTree(dpy, w, &rootReturn, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !pid; ++i)
            pid = read(children[i]);
        if (children)
            XFree(children);
    }
    return pid;
}

// Whether pid is the process itself or one it started (through env or
// strace, say), by the parents in /proc.
bool startedBy(long pid, pid_t ancestor)
{
    for (int depth = 0; pid > 1 && depth < 8; ++depth) {
        if (pid == ancestor)
            return true;
        char path[64];
        std::snprintf(path, sizeof path, "/proc/%ld/stat", pid);
        FILE *stat = std::fopen(path, "r");
        if (!stat)
            return false;
        char line[512] = {};
        const bool read = std::fgets(line, sizeof line, stat) != nullptr;
        std::fclose(stat);
        const char *afterName = read ? std::strrchr(line, ')') : nullptr;
        long parent = 0;
        if (!afterName || std::sscanf(afterName, ") %*c %ld", &parent) != 1)
            return false;
        pid = parent;
    }
    return false;
}

// Tray icons carry the program's name too; they live inside the tray host.
bool inTray(Display *dpy, Window w, Window tray)
{
    Window rootReturn = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (!tray || !XQueryTree(dpy, w, &rootReturn, &parent, &children, &count))
        return false;
    if (children)
        XFree(children);
    return (parent & kClientBaseMask) == (tray & kClientBaseMask);
}

// Asks the window to close, as its title bar's close box does.
void closeWindow(Display *dpy, Window w)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = w;
    event.xclient.message_type = XInternAtom(dpy, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(dpy, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(dpy, w, False, NoEventMask, &event);
    XFlush(dpy);
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
    std::fputs("usage: x11-watch embed|map TITLE SINCE_NS [COUNT]|line WORD SINCE_NS -- PROGRAM ARGS...\n", stderr);
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
    long long deadline = nowNs() + 30LL * 1000000000LL;

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
    int count = 1;
    if (mode == "embed") {
        if (!args.empty() || !tray)
            return usage();
    } else if (mode == "map") {
        if (args.size() != 2 && args.size() != 3)
            return usage();
        title = args[0];
        since = std::atoll(args[1].c_str());
        if (args.size() == 3)
            count = std::max(1, std::atoi(args[2].c_str()));
        deadline += (count - 1) * 60LL * 1000000000LL;
    } else {
        return usage();
    }

    const long long started = nowNs();
    const pid_t pid = startProgram(program, nullptr);
    if (mode == "embed")
        since = started;

    const int xfd = ConnectionNumber(dpy);
    std::set<Window> counted;
    std::map<unsigned long, bool> ours; // client resource bases: the program's or not
    // Windows counted so far are closed a second after they were mapped, as a
    // user would dismiss them, so that they do not pile up on the screen.
    std::vector<std::pair<Window, long long>> dismissals;
    while (nowNs() < deadline) {
        while (!dismissals.empty() && dismissals.front().second <= nowNs()) {
            closeWindow(dpy, dismissals.front().first);
            dismissals.erase(dismissals.begin());
        }
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
            // Only the program's own windows are looked into (its client's
            // first window is asked about once), so that copies of x11-watch
            // watching side by side do not keep the server busy at every
            // mapping; each window counts once.
            Window client = 0;
            if (event.type == MapNotify) {
                const unsigned long base = event.xmap.window & kClientBaseMask;
                auto known = ours.find(base);
                if (known == ours.end())
                    known = ours.emplace(base, startedBy(pidOf(dpy, event.xmap.window), pid)).first;
                if (known->second && !inTray(dpy, event.xmap.window, tray))
                    client = clientWithTitle(dpy, event.xmap.window, title);
            }
            if (client && counted.insert(client).second) {
                std::printf("%.3f\n", (nowNs() - since) / 1e6);
                std::fflush(stdout);
                if (--count == 0) {
                    stopProgram(pid);
                    return 0;
                }
                since += 60LL * 1000000000LL;
                dismissals.push_back({client, nowNs() + 1000000000LL});
            }
        }
    }
    std::puts("timeout");
    stopProgram(pid);
    return 1;
}
