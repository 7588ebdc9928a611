// connect's start against a bare Qt widget program, in the same run, interleaved: the time
// from process start until the program's window shows painted pixels on the X display. The bare
// program runs with Qt::AA_ForceRasterWidgets, as connect does, and without it.
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
double time_to_first_paint(Display *display, const std::vector<std::string> &command)
{
    std::vector<char *> argv;
    for (const std::string &word : command)
        argv.push_back(const_cast<char *>(word.c_str()));
    argv.push_back(nullptr);
    const Clock::time_point start = Clock::now();
    pid_t pid;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0)
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

std::string load()
{
    std::ifstream file("/proc/loadavg");
    std::string line;
    std::getline(file, line);
    return line;
}

struct Program {
    const char *name;
    std::vector<std::string> command;
    std::vector<double> ms;
};

void print_spread(const char *what, std::vector<double> values, const char *unit)
{
    std::sort(values.begin(), values.end());
    std::printf("%-34s min / median / max: %7.2f / %7.2f / %7.2f%s\n", what, values.front(),
                values[values.size() / 2], values.back(), unit);
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
    const std::string bare = folder + "connect_bare_window";
    std::vector<Program> programs = {{"connect", {folder + "../shell/connect"}, {}},
                                      {"bare Qt, raster widgets", {bare, "--raster"}, {}},
                                      {"bare Qt", {bare}, {}}};
    std::printf("load before: %s\n", load().c_str());
    for (int round = 0; round < rounds; ++round) {
        // Each round starts with the next program, so none always meets a warmer cache.
        std::printf("round %2d:", round + 1);
        for (size_t i = 0; i < programs.size(); ++i) {
            Program &program = programs[(round + i) % programs.size()];
            const double ms = time_to_first_paint(display, program.command);
            if (ms < 0) {
                std::fprintf(stderr, "\nround %d: %s never painted\n", round + 1, program.name);
                return 1;
            }
            program.ms.push_back(ms);
            std::printf(" %s %.1f ms;", program.name, ms);
        }
        std::printf("\n");
    }
    for (const Program &program : programs)
        print_spread(program.name, program.ms, " ms");
    for (size_t peer = 1; peer < programs.size(); ++peer) {
        std::vector<double> ratios;
        for (int round = 0; round < rounds; ++round)
            ratios.push_back(programs[0].ms[round] / programs[peer].ms[round]);
        const std::string what = "connect / " + std::string(programs[peer].name);
        print_spread(what.c_str(), ratios, "x");
    }
    std::printf("load after: %s\n", load().c_str());
    XCloseDisplay(display);
    return 0;
}
