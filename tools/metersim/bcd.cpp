#include "bcd.h"

#include <algorithm>

namespace metersim {

uint8_t BcdByte(int value)
{
    value = std::clamp(value, 0, 99);
    return static_cast<uint8_t>(((value / 10) << 4) | (value % 10));
}

BcdPair BcdTenths(int tenths)
{
    tenths = std::clamp(tenths, 0, 9999);
    return {BcdByte(tenths / 100), BcdByte(tenths % 100)};
}

uint8_t HourByte(int hour)
{
    hour = std::clamp(hour, 0, 23);
    // Midnight is sent as 0 rather than "12 am", which would read back as 12.
    if (hour == 0)
        return 0x00;
    const bool afternoon = hour >= 12;
    int onClock = afternoon ? hour - 12 : hour;  // 0..11
    if (afternoon && onClock == 0)
        onClock = 12;
    const int tensFlag = onClock >= 10 ? 1 : 0;
    const int units = onClock - 10 * tensFlag;
    return static_cast<uint8_t>(((tensFlag | (afternoon ? 2 : 0)) << 4) | units);
}

}  // namespace metersim
