// The program's start beside a bare Qt program that shows an empty window of the main window's size: from exec
// until the first frame of the window is on the screen, and until the main thread is free again (what the program
// defers past its first frame included), on a private Xvfb and a private session bus (--no-session-bus: none), 30
// starts each, interleaved at random. Both programs
// run with MQ_QUIT_AFTER_FIRST_FRAME set: they say "first frame" on their standard output once the window's first
// frame is out, then "main thread free", and quit. Each start waits for the one before to be gone and a pause
// besides, outside the timed part: a start that overlaps the last one's exit shares the machine and the X server
// with it. The program runs from a copy in a temporary directory, so that its configuration file and logs start
// fresh and stay out of the build tree. A summary of the medians, their ratios and the machine's load closes the run.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

constexpr int starts = 30;
constexpr int timeoutSecs = 20;
constexpr auto pauseBetweenStarts = std::chrono::milliseconds(50);

struct Program
{
    std::string path;
    std::vector<double> firstFrame;
    std::vector<double> free;
};

// Seconds from exec; negative when the program ended or hung before it.
struct Start
{
    double firstFrame = -1;
    double free = -1;
};

Program bareWindow {MQ_BARE_WINDOW, {}, {}};
Program mainWindow {MQ_MAIN_WINDOW, {}, {}};
std::vector<std::string> childEnvironment;

// Starts the program with stdout on a pipe; its pid, or -1.
pid_t spawn(const std::string &path, int stdoutFd)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char *> argv {const_cast<char *>(path.c_str()), nullptr};
    std::vector<char *> envp;
    for (std::string &entry : childEnvironment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, path.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// One start, after the pause; the program is gone when it returns.
Start timeOneStart(const std::string &path)
{
    Start start;
    std::this_thread::sleep_for(pauseBetweenStarts);
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return start;
    const auto begin = std::chrono::steady_clock::now();
    const pid_t pid = spawn(path, fds[1]);
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return start;
    }
    const auto since
        = [begin] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count(); };
    alarm(timeoutSecs);
    std::string said;
    char buffer[256];
    for (;;) {
        // The alarm interrupts a read that waits too long.
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        said.append(buffer, size_t(n));
        if (start.firstFrame < 0 && said.find("first frame\n") != std::string::npos)
            start.firstFrame = since();
        if (said.find("main thread free\n") != std::string::npos) {
            start.free = since();
            break;
        }
    }
    alarm(0);
    close(fds[0]);
    if (start.free < 0)
        kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) { }
    return start;
}

void startUp(benchmark::State &state, Program *program)
{
    for (auto _ : state) {
        state.PauseTiming();
        const Start start = timeOneStart(program->path);
        state.ResumeTiming();
        if (start.firstFrame < 0 || start.free < 0) {
            state.SkipWithError(("no first frame or no free main thread from " + program->path).c_str());
            break;
        }
        state.SetIterationTime(start.firstFrame);
        state.counters["free_ms"] = start.free * 1e3;
        program->firstFrame.push_back(start.firstFrame);
        program->free.push_back(start.free);
    }
}

void BM_BareWindow(benchmark::State &state)
{
    startUp(state, &bareWindow);
}

void BM_MainWindow(benchmark::State &state)
{
    startUp(state, &mainWindow);
}

BENCHMARK(BM_BareWindow)
    ->Iterations(1)
    ->Repetitions(starts)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MainWindow)
    ->Iterations(1)
    ->Repetitions(starts)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Starts a server that writes one line to the descriptor named on its command line ("{fd}" in argv) once it is
// ready; the line, or empty.
std::string startServer(std::vector<std::string> argv, pid_t *pid)
{
    int fds[2];
    if (pipe(fds) != 0)
        return {};
    for (std::string &argument : argv) {
        const size_t at = argument.find("{fd}");
        if (at != std::string::npos)
            argument.replace(at, 4, std::to_string(fds[1]));
    }
    std::vector<char *> pointers;
    for (std::string &argument : argv)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    const int failed = posix_spawnp(pid, pointers[0], &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    std::string line;
    char c = 0;
    while (!failed && read(fds[0], &c, 1) == 1 && c != '\n')
        line += c;
    close(fds[0]);
    if (failed)
        *pid = -1;
    return line;
}

// A private X server; its display number, or -1.
int startXvfb(pid_t *pid)
{
    const std::string number
        = startServer({"Xvfb", "-displayfd", "{fd}", "-screen", "0", "1920x1080x24", "-nolisten", "tcp"}, pid);
    return number.empty() ? -1 : std::atoi(number.c_str());
}

// A private session bus, as every desktop has one; its address, or empty.
std::string startSessionBus(pid_t *pid)
{
    return startServer({"dbus-daemon", "--session", "--nofork", "--nopidfile", "--print-address={fd}"}, pid);
}

// The parent's environment with the display, the bus (none when empty) and the switch; the same GL choice for both
// programs.
void setChildEnvironment(int display, const std::string &bus)
{
    const char *replaced[] = {"DISPLAY=", "QT_QPA_PLATFORM=", "QT_XCB_GL_INTEGRATION=", "MQ_QUIT_AFTER_FIRST_FRAME=",
        "DBUS_SESSION_BUS_ADDRESS="};
    for (char **entry = environ; *entry; ++entry) {
        const std::string text = *entry;
        if (std::none_of(
                std::begin(replaced), std::end(replaced), [&](const char *p) { return text.rfind(p, 0) == 0; }))
            childEnvironment.push_back(text);
    }
    childEnvironment.push_back("DISPLAY=:" + std::to_string(display));
    childEnvironment.push_back("QT_QPA_PLATFORM=xcb");
    childEnvironment.push_back("QT_XCB_GL_INTEGRATION=none");
    childEnvironment.push_back("MQ_QUIT_AFTER_FIRST_FRAME=1");
    if (!bus.empty())
        childEnvironment.push_back("DBUS_SESSION_BUS_ADDRESS=" + bus);
}

// The load averages over 1, 5 and 15 minutes, as the system reports them.
std::string loadAverages()
{
    std::string text;
    if (FILE *file = std::fopen("/proc/loadavg", "r")) {
        char line[128] = {};
        if (std::fgets(line, sizeof line, file)) {
            text = line;
            // The first three fields.
            size_t at = 0;
            for (int i = 0; i < 3 && at != std::string::npos; ++i)
                at = text.find(' ', at + 1);
            text = text.substr(0, at);
        }
        std::fclose(file);
    }
    return text;
}

void printSummary(const std::string &loadBefore, bool withBus)
{
    const double bare = median(bareWindow.firstFrame) * 1e3;
    const double program = median(mainWindow.firstFrame) * 1e3;
    const double bareFree = median(bareWindow.free) * 1e3;
    const double programFree = median(mainWindow.free) * 1e3;
    std::printf("\nFrom exec, median of %zu / %zu starts, %lld ms apart:\n", bareWindow.firstFrame.size(),
        mainWindow.firstFrame.size(), static_cast<long long>(pauseBetweenStarts.count()));
    std::printf("                   first frame   main thread free\n");
    std::printf("  bare Qt window   %8.1f ms   %8.1f ms\n", bare, bareFree);
    std::printf("  main window      %8.1f ms   %8.1f ms\n", program, programFree);
    std::printf("  ratio            %8.2f      %8.2f\n", bare > 0 ? program / bare : 0.0,
        bareFree > 0 ? programFree / bareFree : 0.0);
    std::printf("  load average     %s before, %s after (%u cores)\n", loadBefore.c_str(), loadAverages().c_str(),
        std::thread::hardware_concurrency());
    std::printf("  session bus      %s\n", withBus ? "a private one" : "none");
}

} // namespace

int main(int argc, char **argv)
{
    // The program keeps its configuration and logs beside itself: a copy in a directory of its own.
    char pattern[] = "/tmp/bench_startup.XXXXXX";
    if (!mkdtemp(pattern)) {
        std::perror("bench_startup: mkdtemp");
        return 1;
    }
    const std::filesystem::path directory = pattern;
    std::error_code error;
    std::filesystem::copy_file(mainWindow.path, directory / "MyQuorvaneRE", error);
    if (error) {
        std::fprintf(stderr, "bench_startup: cannot copy %s: %s\n", mainWindow.path.c_str(), error.message().c_str());
        return 1;
    }
    mainWindow.path = (directory / "MyQuorvaneRE").string();

    pid_t xvfb = -1;
    const int display = startXvfb(&xvfb);
    if (display < 0) {
        std::fprintf(stderr, "bench_startup: Xvfb did not start\n");
        std::filesystem::remove_all(directory, error);
        return 1;
    }
    // --no-session-bus: as on a machine without one, where each program's first question to the bus waits for an
    // attempt to start one.
    std::vector<char *> arguments;
    bool withBus = true;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-session-bus") == 0)
            withBus = false;
        else
            arguments.push_back(argv[i]);
    }
    pid_t bus = -1;
    const std::string busAddress = withBus ? startSessionBus(&bus) : std::string();
    if (withBus && busAddress.empty()) {
        std::fprintf(stderr, "bench_startup: dbus-daemon did not start; going on without a session bus\n");
        withBus = false;
    }
    setChildEnvironment(display, busAddress);
    // Without SA_RESTART the alarm ends a read that waits for a program that hangs.
    struct sigaction action = {};
    action.sa_handler = [](int) {};
    sigaction(SIGALRM, &action, nullptr);

    // The first starts fill the caches and write the configuration file.
    const bool started = timeOneStart(bareWindow.path).free >= 0 && timeOneStart(mainWindow.path).free >= 0;
    int result = 1;
    if (started) {
        const std::string loadBefore = loadAverages();
        // Interleaved starts share whatever else the machine does.
        char interleave[] = "--benchmark_enable_random_interleaving=true";
        arguments.insert(arguments.begin() + 1, interleave);
        int count = int(arguments.size());
        benchmark::Initialize(&count, arguments.data());
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        printSummary(loadBefore, withBus);
        result = 0;
    } else {
        std::fprintf(stderr, "bench_startup: a program showed no first frame\n");
    }

    if (bus > 0) {
        kill(bus, SIGTERM);
        waitpid(bus, nullptr, 0);
    }
    kill(xvfb, SIGTERM);
    waitpid(xvfb, nullptr, 0);
    std::filesystem::remove_all(directory, error);
    return result;
}
