#include "meterproto/reading.h"

namespace meterproto {

SPcDate PcDateOf(std::time_t moment)
{
    std::tm local{};
    SPcDate date;
    if (localtime_r(&moment, &local) == nullptr)
        return date;
    date.day = local.tm_mday;
    date.month = local.tm_mon + 1;
    date.year = local.tm_year + 1900;
    return date;
}

void ResetReading(SReading& reading)
{
    reading.hold = 0;
    reading.over = 0;
    reading.displayFreeze = 0;
    reading.displayFollow = 0;
    reading.fast = 0;
    reading.max = 0;
    reading.min = 0;
    reading.rec = 0;
    reading.under = 0;
    reading.powerWatch = 0;
    reading.level = 50.0;
}

}  // namespace meterproto
