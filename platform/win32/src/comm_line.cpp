#include "comm_line.h"
#include "win32/internal.h"

#include "comm_baud.h"
#include "win32/errors.h"

#include <cerrno>
#include <sys/ioctl.h>
#include <termios.h>

// The records keep the Win32 layout, bit fields included.
static_assert(sizeof(DCB) == 28, "DCB layout");
static_assert(sizeof(COMMTIMEOUTS) == 20, "COMMTIMEOUTS layout");
static_assert(sizeof(COMSTAT) == 12, "COMSTAT layout");

namespace win32::detail {

namespace {

struct StandardRate {
    unsigned rate;
    speed_t speed;
};

const StandardRate kRates[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},         {150, B150},
    {200, B200},         {300, B300},         {600, B600},         {1200, B1200},       {1800, B1800},
    {2400, B2400},       {4800, B4800},       {9600, B9600},       {19200, B19200},     {38400, B38400},
    {57600, B57600},     {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000}, {1500000, B1500000},
    {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000}, {4000000, B4000000},
};

bool SpeedForRate(unsigned rate, speed_t* speed)
{
    for (const StandardRate& entry : kRates) {
        if (entry.rate == rate) {
            *speed = entry.speed;
            return true;
        }
    }
    return false;
}

unsigned RateForSpeed(speed_t speed)
{
    for (const StandardRate& entry : kRates)
        if (entry.speed == speed)
            return entry.rate;
    return 0;
}

tcflag_t SizeFlag(BYTE byteSize)
{
    switch (byteSize) {
    case 5: return CS5;
    case 6: return CS6;
    case 7: return CS7;
    default: return CS8;
    }
}

void SetModemLine(int fd, int line, bool raised)
{
    // Lines without modem control (pseudo-terminals) refuse this; the setting is then only kept.
    ioctl(fd, raised ? TIOCMBIS : TIOCMBIC, &line);
}

}  // namespace

DWORD MakeLineRaw(int fd)
{
    termios settings;
    if (tcgetattr(fd, &settings) != 0)
        return ErrorFromErrno(errno);
    settings.c_iflag &= ~static_cast<tcflag_t>(BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF |
                                               IXANY | IUCLC | IMAXBEL);
    settings.c_iflag |= IGNBRK;  // a break is an event, not a byte in the data
    settings.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    settings.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN | ECHOE | ECHOK);
    settings.c_cflag |= CREAD | CLOCAL;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (tcsetattr(fd, TCSANOW, &settings) != 0)
        return ErrorFromErrno(errno);
    return ERROR_SUCCESS;
}

DCB ReadLineSettings(int fd)
{
    DCB dcb{};
    dcb.DCBlength = sizeof(DCB);
    dcb.fBinary = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.XonLim = 2048;
    dcb.XoffLim = 512;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    termios settings;
    if (tcgetattr(fd, &settings) != 0)
        return dcb;

    const speed_t speed = cfgetospeed(&settings);
    dcb.BaudRate = RateForSpeed(speed);
    if (dcb.BaudRate == 0)
        dcb.BaudRate = ReadCustomBaudRate(fd);
    if (dcb.BaudRate == 0)
        dcb.BaudRate = CBR_9600;

    switch (settings.c_cflag & CSIZE) {
    case CS5: dcb.ByteSize = 5; break;
    case CS6: dcb.ByteSize = 6; break;
    case CS7: dcb.ByteSize = 7; break;
    default: dcb.ByteSize = 8; break;
    }
    if (settings.c_cflag & PARENB) {
        const bool odd = (settings.c_cflag & PARODD) != 0;
        if (settings.c_cflag & CMSPAR)
            dcb.Parity = odd ? MARKPARITY : SPACEPARITY;
        else
            dcb.Parity = odd ? ODDPARITY : EVENPARITY;
    }
    dcb.StopBits = (settings.c_cflag & CSTOPB) ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fParity = (settings.c_iflag & INPCK) ? 1 : 0;
    if (settings.c_cflag & CRTSCTS) {
        dcb.fOutxCtsFlow = 1;
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    }
    dcb.fOutX = (settings.c_iflag & IXON) ? 1 : 0;
    dcb.fInX = (settings.c_iflag & IXOFF) ? 1 : 0;
    dcb.XonChar = static_cast<char>(settings.c_cc[VSTART]);
    dcb.XoffChar = static_cast<char>(settings.c_cc[VSTOP]);
    return dcb;
}

DWORD ValidateLineSettings(const DCB& dcb)
{
    const bool valid = dcb.BaudRate != 0 && dcb.ByteSize >= 5 && dcb.ByteSize <= 8 && dcb.Parity <= SPACEPARITY &&
                       dcb.StopBits <= TWOSTOPBITS && !((dcb.fOutX || dcb.fInX) && dcb.XonChar == dcb.XoffChar);
    return valid ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
}

DWORD ApplyLineSettings(int fd, const DCB& dcb)
{
    termios previous;
    if (tcgetattr(fd, &previous) != 0)
        return ErrorFromErrno(errno);
    termios settings = previous;

    speed_t speed = B0;
    const bool standardRate = SpeedForRate(dcb.BaudRate, &speed);
    if (standardRate) {
        cfsetispeed(&settings, speed);
        cfsetospeed(&settings, speed);
    }

    settings.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
    settings.c_cflag |= SizeFlag(dcb.ByteSize);
    switch (dcb.Parity) {
    case ODDPARITY: settings.c_cflag |= PARENB | PARODD; break;
    case EVENPARITY: settings.c_cflag |= PARENB; break;
    case MARKPARITY: settings.c_cflag |= PARENB | PARODD | CMSPAR; break;
    case SPACEPARITY: settings.c_cflag |= PARENB | CMSPAR; break;
    default: break;
    }
    // Nearest to 1.5: with 5 data bits a UART sends 1.5 stop bits when asked for two.
    if (dcb.StopBits != ONESTOPBIT)
        settings.c_cflag |= CSTOPB;
    if (dcb.fOutxCtsFlow || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE)
        settings.c_cflag |= CRTSCTS;

    settings.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | INPCK);
    if (dcb.fOutX)
        settings.c_iflag |= IXON;
    if (dcb.fInX)
        settings.c_iflag |= IXOFF;
    if (dcb.fParity && dcb.Parity != NOPARITY)
        settings.c_iflag |= INPCK;
    settings.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    settings.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);

    if (tcsetattr(fd, TCSANOW, &settings) != 0)
        return ErrorFromErrno(errno);
    if (!standardRate && !SetCustomBaudRate(fd, dcb.BaudRate)) {
        tcsetattr(fd, TCSANOW, &previous);
        return ERROR_INVALID_PARAMETER;
    }

    if (dcb.fDtrControl != DTR_CONTROL_HANDSHAKE)
        SetModemLine(fd, TIOCM_DTR, dcb.fDtrControl == DTR_CONTROL_ENABLE);
    if (dcb.fRtsControl != RTS_CONTROL_HANDSHAKE)
        SetModemLine(fd, TIOCM_RTS, dcb.fRtsControl != RTS_CONTROL_DISABLE);
    return ERROR_SUCCESS;
}

}  // namespace win32::detail
