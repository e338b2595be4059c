// A plain timing harness: each benchmark registers a function that prints its figures.
#pragma once

#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace velmora::bench {

using BenchFn = std::function<void()>;

inline std::vector<std::pair<std::string, BenchFn>> &registry()
{
    static std::vector<std::pair<std::string, BenchFn>> list;
    return list;
}

struct Register {
    Register(std::string name, BenchFn fn) { registry().emplace_back(std::move(name), std::move(fn)); }
};

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

inline int runAll()
{
    for (auto &[name, fn] : registry())
        fn();
    return 0;
}

} // namespace velmora::bench
