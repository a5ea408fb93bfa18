// Start-up benchmark: the time from starting a program to its first window being mapped, the
// processor time the program had used by then, and its resident memory a second later, for the
// program and for a reference program, alternately, in one run. Runs on an X server without a
// window manager (see scripts/bench), so that the map request reaches the server directly and is
// seen at once. On a loaded machine the elapsed time mostly measures the waiting for a processor;
// the processor time does not.
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>
#include <xcb/xcb.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double milliseconds;
    double cpuMilliseconds;
    long residentKiB;
};

// The processor time of all the process's threads, from the scheduler's nanosecond counts.
double cpuMilliseconds(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* folder = opendir(tasks.c_str());
    if (!folder)
        return -1;
    double nanoseconds = 0;
    while (const dirent* task = readdir(folder)) {
        if (task->d_name[0] == '.')
            continue;
        std::ifstream schedstat(tasks + '/' + task->d_name + "/schedstat");
        double onCpu = 0;
        if (schedstat >> onCpu)
            nanoseconds += onCpu;
    }
    closedir(folder);
    return nanoseconds / 1e6;
}

long residentKiB(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

// Waits for the next top-level window to be mapped; false after ten seconds.
bool waitForMap(xcb_connection_t* connection)
{
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    while (Clock::now() < deadline) {
        while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) {
            const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
            std::free(event);
            if (mapped)
                return true;
        }
        pollfd fd { xcb_get_file_descriptor(connection), POLLIN, 0 };
        poll(&fd, 1, 50);
    }
    return false;
}

bool measure(xcb_connection_t* connection, const char* program, Sample& sample)
{
    char folder[] = "/tmp/quilmar-startup-XXXXXX";
    if (!mkdtemp(folder))
        return false;
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder) != 0)
            _exit(127);
        execl(program, program, static_cast<char*>(nullptr));
        _exit(127);
    }
    const bool mapped = waitForMap(connection);
    sample.milliseconds = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    sample.cpuMilliseconds = cpuMilliseconds(pid);
    sleep(1);
    sample.residentKiB = residentKiB(pid);
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    std::remove((std::string(folder) + "/Quilmar.ini").c_str());
    rmdir(folder);
    return mapped;
}

template <class T> T median(std::vector<T> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PROGRAM REFERENCE [RUNS]\n", argv[0]);
        return 2;
    }
    const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 15;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "cannot reach the X server\n");
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    // Each program starts in a folder of its own: name them by absolute paths.
    char* programs[] = { realpath(argv[1], nullptr), realpath(argv[2], nullptr) };
    if (!programs[0] || !programs[1]) {
        std::fprintf(stderr, "no such program\n");
        return 2;
    }
    std::vector<double> times[2];
    std::vector<double> cpuTimes[2];
    std::vector<long> memory[2];
    for (int run = 0; run < runs + 1; ++run) {
        for (int which = 0; which < 2; ++which) {
            Sample sample {};
            if (!measure(connection, programs[which], sample)) {
                std::fprintf(stderr, "%s mapped no window\n", programs[which]);
                return 1;
            }
            if (run == 0)
                continue; // the first run warms the file cache
            times[which].push_back(sample.milliseconds);
            cpuTimes[which].push_back(sample.cpuMilliseconds);
            memory[which].push_back(sample.residentKiB);
        }
    }
    const double time[] = { median(times[0]), median(times[1]) };
    const double cpu[] = { median(cpuTimes[0]), median(cpuTimes[1]) };
    const long kib[] = { median(memory[0]), median(memory[1]) };
    std::printf("%-12s %12s %14s %14s\n", "", "median (ms)", "CPU (ms)", "resident (KiB)");
    std::printf("%-12s %12.1f %14.1f %14ld\n", "program", time[0], cpu[0], kib[0]);
    std::printf("%-12s %12.1f %14.1f %14ld\n", "reference", time[1], cpu[1], kib[1]);
    std::printf("%-12s %12.2f %14.2f %14.2f\n", "ratio", time[0] / time[1], cpu[0] / cpu[1],
        double(kib[0]) / double(kib[1]));
    xcb_disconnect(connection);
    return 0;
}
