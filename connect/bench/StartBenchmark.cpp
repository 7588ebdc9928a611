// connect's start against a bare Qt widget program, in the same run, interleaved: the time
// from process start until the program's window shows painted pixels on the X display.
//   connect_start_bench [rounds]
// Runs connect offline (CONNECT_UPDATE_SERVER unreachable) with a private data folder.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kGiveUp = std::chrono::seconds(30);

std::string own_folder()
{
    char path[4096];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
    std::string text(path, length > 0 ? size_t(length) : 0);
    return text.substr(0, text.rfind('/') + 1);
}

pid_t window_pid(Display *display, Window window)
{
    static const Atom pid_atom = XInternAtom(display, "_NET_WM_PID", False);
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char *data = nullptr;
    pid_t pid = 0;
    if (XGetWindowProperty(display, window, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format, &count, &after,
                           &data) == Success && data && count == 1)
        pid = pid_t(*reinterpret_cast<unsigned long *>(data));
    if (data)
        XFree(data);
    return pid;
}

// True when a viewable top-level window of pid shows anything but black on a grid of points.
bool painted(Display *display, pid_t pid)
{
    Window root_return, parent;
    Window *children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, DefaultRootWindow(display), &root_return, &parent, &children, &count))
        return false;
    bool found = false;
    for (unsigned int i = 0; i < count && !found; ++i) {
        XWindowAttributes attributes;
        if (!XGetWindowAttributes(display, children[i], &attributes) || attributes.map_state != IsViewable ||
            attributes.width < 100 || window_pid(display, children[i]) != pid)
            continue;
        XImage *image = XGetImage(display, DefaultRootWindow(display), attributes.x, attributes.y, attributes.width,
                                  attributes.height, AllPlanes, ZPixmap);
        if (!image)
            continue;
        for (int y = 1; y < 8 && !found; ++y)
            for (int x = 1; x < 8 && !found; ++x)
                found = (XGetPixel(image, attributes.width * x / 8, attributes.height * y / 8) & 0xffffff) != 0;
        XDestroyImage(image);
    }
    XFree(children);
    return found;
}

// Milliseconds to first paint, or a negative value when the window never painted.
double time_to_first_paint(Display *display, const std::string &program)
{
    char *argv[] = {const_cast<char *>(program.c_str()), nullptr};
    const Clock::time_point start = Clock::now();
    pid_t pid;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, environ) != 0)
        return -1;
    double elapsed = -1;
    while (Clock::now() - start < kGiveUp) {
        if (painted(display, pid)) {
            elapsed = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return elapsed;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string load()
{
    std::ifstream file("/proc/loadavg");
    std::string line;
    std::getline(file, line);
    return line;
}

} // namespace

int main(int argc, char **argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "no X display (run under xvfb-run)\n");
        return 1;
    }
    char data_home[] = "/tmp/connect-bench-XXXXXX";
    if (!mkdtemp(data_home))
        return 1;
    setenv("XDG_DATA_HOME", data_home, 1);
    setenv("TMPDIR", data_home, 1);
    setenv("CONNECT_UPDATE_SERVER", "http://127.0.0.1:1", 1);

    const std::string folder = own_folder();
    const std::string connect = folder + "../shell/connect";
    const std::string bare = folder + "connect_bare_window";
    std::vector<double> connect_ms, bare_ms, ratios;
    std::printf("load before: %s\n", load().c_str());
    for (int round = 0; round < rounds; ++round) {
        // Alternate which goes first, so neither always meets a warmer cache.
        const bool connect_first = round % 2 == 0;
        const double first = time_to_first_paint(display, connect_first ? connect : bare);
        const double second = time_to_first_paint(display, connect_first ? bare : connect);
        const double c = connect_first ? first : second;
        const double b = connect_first ? second : first;
        if (c < 0 || b < 0) {
            std::fprintf(stderr, "round %d: a window never painted\n", round + 1);
            return 1;
        }
        connect_ms.push_back(c);
        bare_ms.push_back(b);
        ratios.push_back(c / b);
        std::printf("round %2d: connect %7.1f ms, bare Qt %7.1f ms, ratio %.2f\n", round + 1, c, b, c / b);
    }
    std::printf("median: connect %.1f ms, bare Qt %.1f ms\n", median(connect_ms), median(bare_ms));
    std::printf("ratio min / median / max: %.2f / %.2f / %.2f\n", *std::min_element(ratios.begin(), ratios.end()),
                median(ratios), *std::max_element(ratios.begin(), ratios.end()));
    std::printf("load after: %s\n", load().c_str());
    XCloseDisplay(display);
    return 0;
}
