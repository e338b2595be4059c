// The processor's identification through the CPUID instruction.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace velmora::platform
{

struct CpuIdentity {
    std::array<std::uint32_t, 4> signature{}; // EAX, EBX, ECX, EDX of CPUID function 1
    std::string vendor;                       // the 12 characters of CPUID function 0
};

// What the processor reports; nullopt when it has no CPUID instruction (or is no x86).
std::optional<CpuIdentity> cpuIdentity();

} // namespace velmora::platform
