// A plain timing harness: each benchmark registers a function that prints its figures.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace velmora::bench
{

using BenchFn = std::function<void()>;

inline std::vector<std::pair<std::string, BenchFn>> &registry()
{
    static std::vector<std::pair<std::string, BenchFn>> list;
    return list;
}

struct Register {
    Register(std::string name, BenchFn fn) { registry().emplace_back(std::move(name), std::move(fn)); }
};

// The resident set size of this process in MB (VmRSS of /proc/self/status).
inline double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kilobytes = 0;
            status >> kilobytes;
            return kilobytes / 1024.0;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

inline void report(const std::string &name, double value, const char *unit)
{
    std::printf("%s: %.3f %s\n", name.c_str(), value, unit);
    std::fflush(stdout);
}

template <class F> double millisecondsOf(F &&f)
{
    auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// The processor time f takes, in ms: on a core shared with other work, wall time would
// count the others' turns too.
template <class F> double cpuMillisecondsOf(F &&f)
{
    const auto now = [] {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
    };
    const double t0 = now();
    f();
    return now() - t0;
}

// Whether a benchmark is selected by a name given on the command line: the name itself or a
// family of which it is a member ("editor" selects "editor-20MB").
inline bool selects(const std::string &given, const std::string &name)
{
    return name == given ||
           (name.size() > given.size() && name.compare(0, given.size(), given) == 0 && name[given.size()] == '-');
}

// Runs the benchmarks named, or all of them when none is named.
inline int runAll(const std::vector<std::string> &names)
{
    for (auto &[name, fn] : registry())
        if (names.empty() ||
            std::any_of(names.begin(), names.end(), [&](const std::string &given) { return selects(given, name); }))
            fn();
    return 0;
}

} // namespace velmora::bench
