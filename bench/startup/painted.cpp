// Starts a program and measures what its user waits for: the time from its start until a window
// of the given title is mapped on the X display, and until that window is first painted (the
// first X DAMAGE report on it after its map: the moment its contents reach the screen). The
// program is kept running until then and ended there, so its peak memory is that of a window on
// the screen, not of one that was never drawn.
//
// Prints one line: milliseconds to the map, milliseconds to the first paint, the program's
// processor milliseconds (user and system) up to its end just after the paint, and its peak
// resident set size in kB. Exits 1 without a line when the program ends, or the time runs out,
// before the paint. Usage: bench_startup_painted [--timeout SECONDS] TITLE PROGRAM [ARGUMENTS...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

std::string titleOf(Display* display, Window window)
{
    const Atom netName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netName, 0, 1024, False, utf8, &type, &format, &count, &after, &data)
            == Success
        && data) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
    }
    if (title.empty()) {
        char* name = nullptr;
        if (XFetchName(display, window, &name) && name) {
            title = name;
            XFree(name);
        }
    }
    return title;
}

// Windows can vanish between their events and our look at them; that is no error here.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

double millisecondsBetween(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Ends the program and reaps it; what the kernel accounted to it. One that outlives the signal
// by a second is killed.
rusage endAndReap(pid_t child, int signal)
{
    kill(child, signal);
    int status = 0;
    rusage usage {};
    const Clock::time_point patience = Clock::now() + std::chrono::seconds(1);
    while (wait4(child, &status, WNOHANG, &usage) == 0) {
        if (Clock::now() > patience && signal != SIGKILL) {
            kill(child, SIGKILL);
            signal = SIGKILL;
        }
        usleep(1000);
    }
    return usage;
}

double milliseconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_usec) / 1e3;
}

struct Watched {
    std::string title;
    bool mapped = false;
};

}

int main(int argc, char** argv)
{
    int first = 1;
    double timeoutSeconds = 60;
    if (argc > 2 && std::strcmp(argv[1], "--timeout") == 0) {
        timeoutSeconds = std::atof(argv[2]);
        first = 3;
    }
    if (argc - first < 2 || !(timeoutSeconds > 0)) {
        std::fprintf(stderr, "usage: %s [--timeout SECONDS] TITLE PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const std::string title = argv[first];
    char** command = argv + first + 1;

    // A busy server's queue of connections can be full for a moment (EAGAIN): wait, do not fail.
    Display* display = nullptr;
    for (int tries = 0; !display && tries < 200; ++tries) {
        display = XOpenDisplay(nullptr);
        if (!display)
            usleep(10000);
    }
    if (!display) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 2;
    }
    int damageEventBase = 0;
    int damageErrorBase = 0;
    if (!XDamageQueryExtension(display, &damageEventBase, &damageErrorBase)) {
        std::fprintf(stderr, "%s: the display has no DAMAGE extension\n", argv[0]);
        return 2;
    }
    XSetErrorHandler(&ignoreErrors);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 2;
    }
    if (child == 0) {
        execvp(command[0], command);
        std::fprintf(stderr, "%s: cannot run %s: %s\n", argv[0], command[0], std::strerror(errno));
        _exit(127);
    }

    // Every top-level window is watched from its creation, before it can be mapped or drawn:
    // its title as it is set, its map, and the damage done to it.
    const Atom wmName = XInternAtom(display, "WM_NAME", False);
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    std::map<Window, Watched> windows;
    Clock::time_point mappedAt;
    Clock::time_point paintedAt;
    bool painted = false;
    const auto handleEvents = [&] {
        while (!painted && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify && event.xcreatewindow.parent == DefaultRootWindow(display)) {
                const Window w = event.xcreatewindow.window;
                XSelectInput(display, w, PropertyChangeMask);
                XDamageCreate(display, w, XDamageReportNonEmpty);
                windows[w].title = titleOf(display, w);
            } else if (event.type == PropertyNotify && event.xproperty.state == PropertyNewValue
                       && (event.xproperty.atom == wmName || event.xproperty.atom == netWmName)) {
                if (auto it = windows.find(event.xproperty.window); it != windows.end())
                    it->second.title = titleOf(display, it->first);
            } else if (event.type == MapNotify) {
                auto it = windows.find(event.xmap.window);
                if (it == windows.end())
                    continue;
                if (it->second.title.empty())
                    it->second.title = titleOf(display, it->first);
                if (it->second.title == title && !it->second.mapped) {
                    it->second.mapped = true;
                    mappedAt = Clock::now();
                }
            } else if (event.type == damageEventBase + XDamageNotify) {
                const auto& damage = reinterpret_cast<const XDamageNotifyEvent&>(event);
                auto it = windows.find(damage.drawable);
                if (it != windows.end() && it->second.mapped && it->second.title == title) {
                    paintedAt = Clock::now();
                    painted = true;
                }
            }
        }
    };

    const Clock::time_point deadline
        = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(timeoutSeconds));
    while (!painted) {
        handleEvents();
        if (painted)
            break;
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "%s: %s ended (%s %d) before a window titled \"%s\" was painted\n", argv[0],
                         command[0], WIFEXITED(status) ? "exit" : "signal",
                         WIFEXITED(status) ? WEXITSTATUS(status) : WTERMSIG(status), title.c_str());
            return 1;
        }
        if (Clock::now() > deadline) {
            std::fprintf(stderr, "%s: no window titled \"%s\" painted after %g s\n", argv[0], title.c_str(),
                         timeoutSeconds);
            endAndReap(child, SIGKILL);
            return 1;
        }
        pollfd connection { ConnectionNumber(display), POLLIN, 0 };
        poll(&connection, 1, 5);
    }
    // Ended by a signal it does not handle, as a user's logout would: nothing of its shut-down is timed.
    const rusage usage = endAndReap(child, SIGTERM);
    XCloseDisplay(display);
    std::printf("%.2f %.2f %.2f %ld\n", millisecondsBetween(start, mappedAt), millisecondsBetween(start, paintedAt),
                milliseconds(usage.ru_utime) + milliseconds(usage.ru_stime), usage.ru_maxrss);
    return 0;
}
