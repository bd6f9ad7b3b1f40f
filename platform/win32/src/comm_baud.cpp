// Kept apart: the kernel's termios2 cannot share a translation unit with <termios.h>.
#include "comm_baud.h"

#include <asm/termbits.h>
#include <sys/ioctl.h>

namespace win32::detail {

bool SetCustomBaudRate(int fd, unsigned rate)
{
    struct termios2 settings;
    if (ioctl(fd, TCGETS2, &settings) != 0)
        return false;
    settings.c_cflag &= ~(CBAUD | (CBAUD << IBSHIFT));
    settings.c_cflag |= BOTHER | (BOTHER << IBSHIFT);
    settings.c_ispeed = rate;
    settings.c_ospeed = rate;
    if (ioctl(fd, TCSETS2, &settings) != 0)
        return false;
    const unsigned actual = ReadCustomBaudRate(fd);
    const unsigned difference = actual > rate ? actual - rate : rate - actual;
    return actual != 0 && static_cast<unsigned long long>(difference) * 100u <= static_cast<unsigned long long>(rate) * 3u;
}

unsigned ReadCustomBaudRate(int fd)
{
    struct termios2 settings;
    if (ioctl(fd, TCGETS2, &settings) != 0)
        return 0;
    return settings.c_ospeed;
}

}  // namespace win32::detail
