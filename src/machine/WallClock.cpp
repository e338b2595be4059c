#include "machine/WallClock.h"

#include <ctime>

namespace velmora::machine
{

uint32_t WallTime::ticksSinceMidnight() const
{
    constexpr uint64_t kTicksPerDay = 0x1800B0;
    const uint64_t hundredthsToday = ((uint64_t(hour) * 60 + minute) * 60 + second) * 100 + hundredths;
    return uint32_t(hundredthsToday * kTicksPerDay / (24ull * 3600 * 100));
}

WallTime hostLocalTime()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    localtime_r(&now.tv_sec, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday,
            local.tm_hour,        local.tm_min,     local.tm_sec,  int(now.tv_nsec / 10'000'000)};
}

} // namespace velmora::machine
