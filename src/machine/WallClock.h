// The date and time the PC's DOS and BIOS report: the host's local time, or a fixed one
// that a test gives.
#pragma once

#include <cstdint>
#include <functional>

namespace velmora::machine
{

struct WallTime {
    int year = 1980, month = 1, day = 1;
    int weekday = 2; // 0 = Sunday
    int hour = 0, minute = 0, second = 0, hundredths = 0;

    // The BIOS timer count since midnight: 1573040 ticks a day (about 18.2 a second).
    uint32_t ticksSinceMidnight() const;
};

using WallClock = std::function<WallTime()>;

WallTime hostLocalTime();

} // namespace velmora::machine
