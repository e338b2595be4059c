// Runs a piece of a test in a child process whose address space may grow by only so many
// bytes: the real effect of a memory limit, without risk to the test process itself.
#pragma once

#include <QFile>

#include <functional>

#include <malloc.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::testing
{

// Under AddressSanitizer memory running out ends the process with a report instead of
// throwing std::bad_alloc, so there is nothing to observe.
#ifdef __SANITIZE_ADDRESS__
inline constexpr bool kMemoryLimitsThrow = false;
#else
inline constexpr bool kMemoryLimitsThrow = true;
#endif

// The body's result as the child's exit code; -1 when the child did not exit by itself.
inline int inChildUnderMemoryLimit(std::size_t growth, const std::function<int()> &body)
{
    const pid_t child = ::fork();
    if (child < 0)
        return -1;
    if (child == 0) {
        // Memory that earlier tests freed stays with the process and would serve new requests
        // without growing it: it is taken up first, so that the limit counts what the body needs.
        for (std::size_t block = std::size_t(1) << 26; block >= 64 * 1024; block /= 2)
            for (std::size_t tries = ::mallinfo2().fordblks / block + 1; tries > 0 && ::mallinfo2().fordblks >= block;
                 --tries)
                if (!::malloc(block))
                    break;
        QFile statm(QStringLiteral("/proc/self/statm"));
        if (!statm.open(QIODevice::ReadOnly))
            ::_exit(101);
        const rlim_t size = statm.readAll().split(' ').value(0).toULongLong() * rlim_t(::sysconf(_SC_PAGESIZE));
        const rlimit limit{size + growth, size + growth};
        ::_exit(::setrlimit(RLIMIT_AS, &limit) == 0 ? body() : 100);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

} // namespace velmora::testing
