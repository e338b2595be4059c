#include "platform/CpuId.h"

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif
#if defined(__linux__)
#include <sched.h>
#endif

namespace velmora::platform
{

#if defined(__i386__) || defined(__x86_64__)

namespace
{

// A processor offers CPUID when bit 21 of the flags register (the ID flag) can be changed.
bool hasCpuidInstruction()
{
#if defined(__i386__)
    std::uint32_t original = 0;
    std::uint32_t flipped = 0;
    asm volatile("pushfl\n\t"
                 "pushfl\n\t"
                 "popl %0\n\t"
                 "movl %0, %1\n\t"
                 "xorl $0x200000, %1\n\t"
                 "pushl %1\n\t"
                 "popfl\n\t"
                 "pushfl\n\t"
                 "popl %1\n\t"
                 "popfl"
                 : "=&r"(original), "=&r"(flipped)
                 :
                 : "cc");
    return ((original ^ flipped) & 0x200000) != 0;
#else
    // Every x86-64 processor has CPUID; its highest function is at least 1.
    return __get_cpuid_max(0, nullptr) != 0;
#endif
}

// Runs run on the lowest-numbered processor the thread may use, then lets the thread move
// again. Function 1 reports the APIC id of the core it runs on in EBX; asking one core makes
// the answer the same every time.
template <typename Run> void onFirstAllowedProcessor(Run run)
{
#if defined(__linux__)
    cpu_set_t allowed;
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) {
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
            if (!CPU_ISSET(cpu, &allowed))
                continue;
            cpu_set_t one;
            CPU_ZERO(&one);
            CPU_SET(cpu, &one);
            const bool pinned = sched_setaffinity(0, sizeof one, &one) == 0;
            run();
            if (pinned)
                sched_setaffinity(0, sizeof allowed, &allowed);
            return;
        }
    }
#endif
    run();
}

} // namespace

std::optional<CpuIdentity> cpuIdentity()
{
    if (!hasCpuidInstruction())
        return std::nullopt;

    CpuIdentity id;
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    onFirstAllowedProcessor([&] { __cpuid(1, eax, ebx, ecx, edx); });
    id.signature = {eax, ebx, ecx, edx};

    __cpuid(0, eax, ebx, ecx, edx);
    for (const unsigned reg : {ebx, edx, ecx})
        for (int byte = 0; byte < 4; ++byte)
            id.vendor += static_cast<char>((reg >> (8 * byte)) & 0xFF);
    return id;
}

#else

std::optional<CpuIdentity> cpuIdentity()
{
    return std::nullopt;
}

#endif

} // namespace velmora::platform
