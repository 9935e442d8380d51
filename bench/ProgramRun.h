// The built program run in a fresh process, in a home of its own, for the benchmarks that measure the
// whole program (Linux): its marks on the way, its time, processor time, peak memory and end.
// TESSARAY_BENCH_PROGRAM names another build of the program to measure (an older one, for a comparison).
#pragma once

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ProcessMemory.h"

namespace bench {

inline double Now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// The machine's load over the last minute, to read the figures by.
inline double Load1() {
    std::ifstream in("/proc/loadavg");
    double load = 0;
    in >> load;
    return load;
}

inline const char* Program() {
    const char* other = std::getenv("TESSARAY_BENCH_PROGRAM");
    return other && *other ? other : TESSARAY_PROGRAM;
}

// A temporary home, configuration and runtime folder for the children, removed at the end; they run
// headless (offscreen) unless QT_QPA_PLATFORM names another platform, e.g. xcb with DISPLAY.
struct ProgramHome {
    std::filesystem::path dir;
    std::vector<std::string> env;

    explicit ProgramHome(const std::string& name)
        : dir(std::filesystem::temp_directory_path() /
              ("tessaray_bench_" + name + "_" + std::to_string(::getpid()))) {
        namespace fs = std::filesystem;
        for (const char* sub : {"home", "config", "data", "runtime"})
            fs::create_directories(dir / sub);
        fs::permissions(dir / "runtime", fs::perms::owner_all);
        env = {"HOME=" + (dir / "home").string(),
               "XDG_CONFIG_HOME=" + (dir / "config").string(),
               "XDG_DATA_HOME=" + (dir / "data").string(),
               "XDG_RUNTIME_DIR=" + (dir / "runtime").string(),
               "PATH=/usr/bin:/bin",
               "TESSARAY_STARTUP_MARKS=1"};
        const char* platform = std::getenv("QT_QPA_PLATFORM");
        env.push_back(std::string("QT_QPA_PLATFORM=") + (platform ? platform : "offscreen"));
        if (const char* display = std::getenv("DISPLAY")) env.push_back(std::string("DISPLAY=") + display);
    }
    ~ProgramHome() {
        std::error_code ec;
        std::filesystem::remove_all(dir, ec);
    }
    ProgramHome(const ProgramHome&) = delete;
    ProgramHome& operator=(const ProgramHome&) = delete;
};

struct ProgramRun {
    std::map<std::string, double> marks;  // seconds after the start
    double process = 0;                   // the whole process, unless stopped at a mark
    double cpu = 0;                       // its processor time, user and system
    double peakMB = 0;                    // its peak resident set
    int status = -1;                      // exit status; 0 when stopped at the mark, -1 after a signal
    int signal = 0;                       // the signal that ended it
    bool overTime = false;                // killed at the time limit
    bool overMemory = false;              // killed at the memory limit
    std::string lastMessage;              // its last line on stderr other than a mark
};

// Killed after seconds, or once its resident set passes residentMB (when not 0): a runaway child must
// neither hang the benchmark nor take the shared machine's memory.
struct RunLimits {
    double seconds = 60;
    double residentMB = 0;
};

inline double ResidentMB(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    return 0.0;
}

// Starts the program with args (stdout to /dev/null) and reads its marks from stderr; stops it at
// stopAt when named.
inline ProgramRun RunProgram(const std::vector<std::string>& args, const std::vector<std::string>& env,
                             const std::string& stopAt = std::string(), RunLimits limits = {}) {
    ProgramRun run;
    int fds[2];
    if (::pipe(fds) != 0) return run;
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 2);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    posix_spawn_file_actions_addclose(&actions, fds[1]);
    // The child starts in this process's memory (vfork) and takes its peak for its own at the exec:
    // brought down to the present size, below any child's.
    benchmem::ResetPeak();
    pid_t pid = 0;
    const double start = Now();
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(fds[1]);
    int fd = fds[0];
    if (spawned != 0) {
        ::close(fd);
        return run;
    }
    std::string pending;
    const auto take = [&](const char* bytes, std::size_t n) {
        pending.append(bytes, n);
        std::size_t eol;
        for (; (eol = pending.find('\n')) != std::string::npos; pending.erase(0, eol + 1)) {
            const std::string text = pending.substr(0, eol);
            std::istringstream line(text);
            std::string word, name;
            double at = 0;
            if (line >> word >> name >> at && word == "tessaray-mark")
                run.marks.emplace(name, at - start);
            else if (!text.empty())
                run.lastMessage = text.substr(0, 1000);
        }
        if (pending.size() > 65536) pending.erase(1000);  // a line without end: its start will do
    };
    // Reads what is there, waiting up to timeoutMs; closes at the end of the stream. False when
    // nothing came.
    const auto read = [&](int timeoutMs) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, timeoutMs) <= 0) return false;
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            take(buffer, static_cast<std::size_t>(n));
        } else {
            ::close(fd);
            fd = -1;
        }
        return true;
    };
    int status = 0;
    struct rusage usage {};
    bool ended = false, stopped = false;
    double checked = start;
    for (;;) {
        if (fd >= 0)
            read(10);
        else
            ::usleep(1000);  // the stream ended with the process: its exit is a moment away
        if (!stopAt.empty() && run.marks.count(stopAt)) {
            stopped = true;
            break;
        }
        if (::wait4(pid, &status, WNOHANG, &usage) == pid) {
            ended = true;
            break;
        }
        const double now = Now();
        if (now - start > limits.seconds) {
            run.overTime = true;
            break;
        }
        if (limits.residentMB > 0 && now - checked > 0.01) {
            checked = now;
            if (ResidentMB(pid) > limits.residentMB) {
                run.overMemory = true;
                break;
            }
        }
    }
    if (!ended) {
        ::kill(pid, SIGKILL);
        ::wait4(pid, &status, 0, &usage);
    }
    if (!stopped) run.process = Now() - start;
    while (fd >= 0 && read(100)) {
    }
    if (fd >= 0) ::close(fd);  // held open by a process of its own
    const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec * 1e-6; };
    run.cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    run.peakMB = usage.ru_maxrss / 1024.0;
    run.signal = !stopped && WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    run.status = stopped ? 0 : WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

}  // namespace bench
