// Starts a program and measures the time from its start until a window of the given title is
// shown (mapped on the X display: what `xdotool search --onlyvisible` finds), then ends it.
// Prints the milliseconds. Usage: bench_startup_shown TITLE PROGRAM [ARGUMENTS...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
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

// Windows can vanish between their map event and our look at them; that is no error here.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

}

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s TITLE PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "%s: cannot open the display\n", argv[0]);
        return 1;
    }
    XSetErrorHandler(&ignoreErrors);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        return 1;
    }
    if (child == 0) {
        execvp(argv[2], argv + 2);
        std::fprintf(stderr, "%s: cannot run %s: %s\n", argv[0], argv[2], std::strerror(errno));
        _exit(127);
    }

    // Titles are read as they are set: a program that ends right after showing its window may
    // be gone before its map event is looked at.
    const Atom wmName = XInternAtom(display, "WM_NAME", False);
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    std::map<Window, std::string> titles;
    bool shown = false;
    Clock::time_point shownAt;
    const auto handleEvents = [&] {
        while (!shown && XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == CreateNotify) {
                XSelectInput(display, event.xcreatewindow.window, PropertyChangeMask);
                titles[event.xcreatewindow.window] = titleOf(display, event.xcreatewindow.window);
            } else if (event.type == PropertyNotify && event.xproperty.state == PropertyNewValue
                       && (event.xproperty.atom == wmName || event.xproperty.atom == netWmName)) {
                titles[event.xproperty.window] = titleOf(display, event.xproperty.window);
            } else if (event.type == MapNotify) {
                std::string& known = titles[event.xmap.window];
                if (known.empty())
                    known = titleOf(display, event.xmap.window);
                if (known == title) {
                    shownAt = Clock::now();
                    shown = true;
                }
            }
        }
    };

    const Clock::time_point deadline = start + std::chrono::seconds(30);
    bool ended = false;
    while (!shown) {
        handleEvents();
        if (shown)
            break;
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            ended = true;
            XSync(display, False);
            handleEvents();
            if (shown)
                break;
            std::fprintf(stderr, "%s: %s ended before a window titled \"%s\" was shown\n", argv[0], argv[2],
                         title.c_str());
            return 1;
        }
        if (Clock::now() > deadline) {
            std::fprintf(stderr, "%s: no window titled \"%s\" after 30 s\n", argv[0], title.c_str());
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return 1;
        }
        pollfd connection { ConnectionNumber(display), POLLIN, 0 };
        poll(&connection, 1, 5);
    }
    if (!ended) {
        kill(child, SIGTERM);
        int status = 0;
        waitpid(child, &status, 0);
    }
    XCloseDisplay(display);
    std::printf("%.2f\n", std::chrono::duration<double, std::milli>(shownAt - start).count());
    return 0;
}
