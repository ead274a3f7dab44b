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

int ignoreErrors(Display*, XErrorEvent*) { return 0; }

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

bool ownedBy(Display* dpy, Window w, pid_t pid) {
    static Atom netWmPid = XInternAtom(dpy, "_NET_WM_PID", False);
    Atom type;
    int format;
    unsigned long n = 0, after = 0;
    unsigned char* data = nullptr;
    bool yes = false;
    if (XGetWindowProperty(dpy, w, netWmPid, 0, 1, False, XA_CARDINAL, &type, &format, &n, &after, &data) ==
            Success &&
        data && n == 1)
        yes = static_cast<pid_t>(*reinterpret_cast<unsigned long*>(data)) == pid;
    if (data)
        XFree(data);
    return yes;
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
            if (ownedBy(dpy, w, pid) && painted(dpy, w)) {
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
