// One tool process on core 0, timed from spawn to exit, with its peak
// memory: what the benchmarks that run vellconvert measure.
#pragma once

#include <sched.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <vector>

extern char** environ;

namespace vell {

struct Run {
    bool ok = false;
    double seconds = 0;      // wall clock
    double cpu_seconds = 0;  // user + system of the process
    long peak_kib = 0;
};

// One vellconvert process on core 0, timed from spawn to exit.
inline Run run(const std::string& tool, const std::vector<std::string>& args) {
    std::vector<char*> argv;
    std::string name = tool;
    argv.push_back(&name[0]);
    std::vector<std::string> copy = args;
    for (std::string& a : copy) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(0, &one);
    sched_setaffinity(0, sizeof one, &one);  // inherited by the child
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    Run r;
    if (posix_spawn(&pid, tool.c_str(), nullptr, nullptr, argv.data(), environ) != 0) return r;
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    r.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    r.peak_kib = usage.ru_maxrss;
    r.cpu_seconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                    double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    r.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return r;
}

}  // namespace vell
