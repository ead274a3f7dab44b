// Prints the milliseconds from launching a program to its first window being
// on screen and painted: viewable, and showing more than one colour.
//
//   firstframe PROGRAM [ARGS...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

int ignoreErrors(Display*, XErrorEvent*) {
    return 0;
}

void collect(Display* dpy, Window w, std::vector<Window>& out) {
    out.push_back(w);
    Window r, p, *children = nullptr;
    unsigned int n = 0;
    if (XQueryTree(dpy, w, &r, &p, &children, &n)) {
        for (unsigned int i = 0; i < n; ++i)
            collect(dpy, children[i], out);
        if (children)
            XFree(children);
    }
}

// A program's own top-level window: new since the launch and carrying a
// name or a class (not every program sets _NET_WM_PID or WM_CLASS).
bool isNewClient(Display* dpy, Window w, const std::vector<Window>& before) {
    for (Window b : before)
        if (b == w)
            return false;
    XClassHint hint{};
    if (XGetClassHint(dpy, w, &hint)) {
        XFree(hint.res_name);
        XFree(hint.res_class);
        return true;
    }
    char* name = nullptr;
    if (XFetchName(dpy, w, &name) && name) {
        XFree(name);
        return true;
    }
    return false;
}

bool painted(Display* dpy, Window w) {
    XWindowAttributes a;
    if (!XGetWindowAttributes(dpy, w, &a) || a.map_state != IsViewable || a.width < 2 || a.height < 2)
        return false;
    XImage* img = XGetImage(dpy, w, 0, 0, a.width, a.height, AllPlanes, ZPixmap);
    if (!img)
        return false;
    unsigned long first = XGetPixel(img, a.width / 2, a.height - 1);
    bool differs = false;
    for (int y = 0; y < a.height && !differs; y += 2)
        for (int x = 0; x < a.width && !differs; x += 2)
            differs = XGetPixel(img, x, y) != first;
    XDestroyImage(img);
    return differs;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: firstframe PROGRAM [ARGS...]\n");
        return 2;
    }
    Display* dpy = XOpenDisplay(nullptr);
    if (!dpy) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    XSetErrorHandler(ignoreErrors);
    std::vector<Window> before;
    collect(dpy, DefaultRootWindow(dpy), before);
    auto start = std::chrono::steady_clock::now();
    pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    double ms = -1;
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(10)) {
        std::vector<Window> all;
        collect(dpy, DefaultRootWindow(dpy), all);
        bool done = false;
        for (Window w : all)
            if (isNewClient(dpy, w, before) && painted(dpy, w)) {
                done = true;
                break;
            }
        if (done) {
            ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    XCloseDisplay(dpy);
    std::printf("%.1f\n", ms);
    return ms < 0 ? 1 : 0;
}
