#include "comm_testline.h"
#include "win32/errors.h"
#include "win32/ports.h"
#include "win32/system.h"
#include "win32/internal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sys/wait.h>

using testline::PseudoLine;

namespace {

DCB DefaultDcb(HANDLE h)
{
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    EXPECT_TRUE(GetCommState(h, &dcb));
    return dcb;
}

// The port reads back exactly the state it was given, byte for byte.
void ExpectStateIs(HANDLE h, const DCB& expected)
{
    DCB back{};
    ASSERT_TRUE(GetCommState(h, &back));
    EXPECT_EQ(std::memcmp(&back, &expected, sizeof(DCB)), 0);
}

}  // namespace

TEST(CommOpen, NamesPathsMissingAndBusyPorts)
{
    PseudoLine line;
    HANDLE h = line.Open();
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();

    // Held exclusively: by name, by path, and from another process.
    SetLastError(0);
    EXPECT_EQ(CreateFileW(L"COM7", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    const std::wstring widePath(line.slavePath().begin(), line.slavePath().end());
    EXPECT_EQ(CreateFileW(widePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    const pid_t child = fork();
    if (child == 0) {
        HANDLE other = CreateFileW(L"\\\\.\\COM7", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        _exit(other == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    // Closing releases the port for the next open, under any of its names.
    EXPECT_TRUE(CloseHandle(h));
    h = CreateFileW(L"com7", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(h));
    h = CreateFileW(widePath.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(CloseHandle(h));

    // Missing: a number without device, a link to nothing, a path to nothing.
    SetLastError(0);
    EXPECT_EQ(CreateFileW(L"\\\\.\\COM200", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(win32::WritePortLink(8, "/dev/pts/no-such-terminal", ""));
    SetLastError(0);
    EXPECT_EQ(CreateFileW(L"\\\\.\\COM8", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    SetLastError(0);
    EXPECT_EQ(CreateFileW(L"/dev/ttyUSB-missing", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    // Not a terminal, or not opened as an existing device.
    EXPECT_EQ(CreateFileW(L"/dev/null", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
    EXPECT_EQ(CreateFileW(L"COM7", GENERIC_READ, 0, nullptr, 2u /* CREATE_ALWAYS */, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(CommOpen, LineIsRawWithSettingsKept)
{
    PseudoLine line;
    termios before = line.SlaveSettings();
    cfsetospeed(&before, B4800);
    cfsetispeed(&before, B4800);
    before.c_cflag |= CSTOPB;
    ASSERT_EQ(tcsetattr(line.master(), TCSANOW, &before), 0);

    HANDLE h = line.Open();
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const termios t = line.SlaveSettings();
    EXPECT_EQ(t.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(t.c_oflag & OPOST, 0u);
    EXPECT_EQ(t.c_iflag & (ICRNL | IXON), 0u);
    EXPECT_NE(t.c_cflag & CLOCAL, 0u);
    const DCB dcb = DefaultDcb(h);
    EXPECT_EQ(dcb.DCBlength, sizeof(DCB));
    EXPECT_EQ(dcb.BaudRate, 4800u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
    EXPECT_EQ(dcb.fBinary, 1u);
    CloseHandle(h);
}

namespace {

// The kernel's speed code for "rate given in numbers" (asm/termbits.h), not in <termios.h>.
const tcflag_t kBother = 0010000;

struct LineCase {
    DWORD baud;
    speed_t speed;  // B0: set through BOTHER
    BYTE byteSize;
    BYTE parity;
    tcflag_t parityFlags;
    BYTE stopBits;
};

}  // namespace

TEST(CommSettings, LineSettingsReachTermiosAndComeBack)
{
    PseudoLine line;
    HANDLE h = line.Open();
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const LineCase cases[] = {
        {CBR_9600, B9600, 8, NOPARITY, 0, ONESTOPBIT},
        {115200, B115200, 7, ODDPARITY, PARENB | PARODD, TWOSTOPBITS},
        {1200, B1200, 6, EVENPARITY, PARENB, ONESTOPBIT},
        {19200, B19200, 5, MARKPARITY, PARENB | PARODD | CMSPAR, ONE5STOPBITS},
        {57600, B57600, 8, SPACEPARITY, PARENB | CMSPAR, ONESTOPBIT},
        {256000, B0, 8, NOPARITY, 0, ONESTOPBIT},
    };
    for (const LineCase& c : cases) {
        SCOPED_TRACE(c.baud);
        DCB dcb = DefaultDcb(h);
        dcb.BaudRate = c.baud;
        dcb.ByteSize = c.byteSize;
        dcb.Parity = c.parity;
        dcb.StopBits = c.stopBits;
        ASSERT_TRUE(SetCommState(h, &dcb)) << GetLastError();

        const termios t = line.SlaveSettings();
        if (c.speed != B0)
            EXPECT_EQ(cfgetospeed(&t), c.speed);
        else
            EXPECT_EQ(t.c_cflag & CBAUD, kBother);
        // A pseudo-terminal forces CS8 and clears PARENB whatever it is given; the rest shows.
        EXPECT_EQ(t.c_cflag & (PARODD | CMSPAR), c.parityFlags & (PARODD | CMSPAR));
        EXPECT_EQ((t.c_cflag & CSTOPB) != 0, c.stopBits != ONESTOPBIT);

        ExpectStateIs(h, dcb);
    }
    CloseHandle(h);
}

TEST(CommSettings, FlowControlAndKeptFields)
{
    PseudoLine line;
    HANDLE h = line.Open();
    ASSERT_NE(h, INVALID_HANDLE_VALUE);

    DCB dcb = DefaultDcb(h);
    dcb.fOutxCtsFlow = 1;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    dcb.fOutX = 1;
    dcb.fInX = 1;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    dcb.fParity = 1;
    dcb.Parity = EVENPARITY;
    // Fields termios has no place for.
    dcb.fOutxDsrFlow = 1;
    dcb.fDtrControl = DTR_CONTROL_HANDSHAKE;
    dcb.fDsrSensitivity = 1;
    dcb.fTXContinueOnXoff = 1;
    dcb.fErrorChar = 1;
    dcb.fNull = 1;
    dcb.fAbortOnError = 1;
    dcb.XonLim = 100;
    dcb.XoffLim = 200;
    dcb.ErrorChar = '?';
    dcb.EofChar = 0x1A;
    dcb.EvtChar = '\n';
    ASSERT_TRUE(SetCommState(h, &dcb)) << GetLastError();
    termios t = line.SlaveSettings();
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
    EXPECT_NE(t.c_iflag & IXON, 0u);
    EXPECT_NE(t.c_iflag & IXOFF, 0u);
    EXPECT_NE(t.c_iflag & INPCK, 0u);
    EXPECT_EQ(t.c_cc[VSTART], 0x11);
    EXPECT_EQ(t.c_cc[VSTOP], 0x13);
    ExpectStateIs(h, dcb);

    // Switched off again, with other flow characters.
    dcb.fOutxCtsFlow = 0;
    dcb.fRtsControl = 0x03;   // RTS_CONTROL_TOGGLE
    dcb.fOutX = 0;
    dcb.fInX = 1;
    dcb.XonChar = 'Q';
    dcb.XoffChar = 'S';
    ASSERT_TRUE(SetCommState(h, &dcb)) << GetLastError();
    t = line.SlaveSettings();
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_iflag & IXON, 0u);
    EXPECT_NE(t.c_iflag & IXOFF, 0u);
    EXPECT_EQ(t.c_cc[VSTART], 'Q');
    EXPECT_EQ(t.c_cc[VSTOP], 'S');
    ExpectStateIs(h, dcb);
    CloseHandle(h);
}

TEST(CommSettings, InvalidSettingsChangeNothing)
{
    PseudoLine line;
    HANDLE h = line.Open();
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    const DCB good = DefaultDcb(h);
    const termios before = line.SlaveSettings();

    auto rejects = [&](void (*change)(DCB&), const char* what) {
        SCOPED_TRACE(what);
        DCB bad = good;
        change(bad);
        SetLastError(0);
        EXPECT_FALSE(SetCommState(h, &bad));
        EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
        ExpectStateIs(h, good);
    };
    rejects([](DCB& d) { d.BaudRate = 0; }, "baud 0");
    rejects([](DCB& d) { d.ByteSize = 4; }, "4 data bits");
    rejects([](DCB& d) { d.ByteSize = 9; }, "9 data bits");
    rejects([](DCB& d) { d.Parity = 5; }, "parity 5");
    rejects([](DCB& d) { d.StopBits = 3; }, "stop bits 3");
    rejects(
        [](DCB& d) {
            d.fOutX = 1;
            d.XonChar = d.XoffChar = 0x11;
        },
        "same XON and XOFF");
    const termios after = line.SlaveSettings();
    EXPECT_EQ(after.c_cflag, before.c_cflag);
    EXPECT_EQ(after.c_iflag, before.c_iflag);
    CloseHandle(h);
}

TEST(CommSettings, TimeoutsMasksQueuesAndBadArguments)
{
    PseudoLine line;
    HANDLE h = line.Open();
    ASSERT_NE(h, INVALID_HANDLE_VALUE);

    COMMTIMEOUTS t{};
    ASSERT_TRUE(GetCommTimeouts(h, &t));
    EXPECT_EQ(t.ReadIntervalTimeout, 0u);
    COMMTIMEOUTS set{100, 2, 3, 4, 5};
    ASSERT_TRUE(SetCommTimeouts(h, &set));
    ASSERT_TRUE(GetCommTimeouts(h, &t));
    EXPECT_EQ(std::memcmp(&t, &set, sizeof(t)), 0);
    COMMTIMEOUTS allMax{MAXDWORD, MAXDWORD, MAXDWORD, 0, 0};
    EXPECT_FALSE(SetCommTimeouts(h, &allMax));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    DWORD mask = 1234;
    ASSERT_TRUE(GetCommMask(h, &mask));
    EXPECT_EQ(mask, 0u);
    ASSERT_TRUE(SetCommMask(h, 0x1FF));
    ASSERT_TRUE(GetCommMask(h, &mask));
    EXPECT_EQ(mask, 0x1FFu);
    EXPECT_FALSE(SetCommMask(h, 0x2000));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    EXPECT_TRUE(SetupComm(h, 4096, 4096));
    EXPECT_TRUE(PurgeComm(h, PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR));
    EXPECT_FALSE(PurgeComm(h, 0x10));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    DWORD errors = 99;
    COMSTAT stat;
    std::memset(&stat, 0xFF, sizeof(stat));
    ASSERT_TRUE(ClearCommError(h, &errors, &stat));
    EXPECT_EQ(errors, 0u);
    EXPECT_EQ(stat.cbInQue, 0u);
    EXPECT_EQ(stat.cbOutQue, 0u);
    EXPECT_EQ(stat.fCtsHold, 0u);

    // An overlapped handle needs a record.
    char buf[4];
    DWORD n = 0;
    EXPECT_FALSE(ReadFile(h, buf, sizeof(buf), &n, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);

    // The run-time look-up finds CancelIo.
    using CancelIoFn = BOOL (*)(HANDLE);
    auto cancel = reinterpret_cast<CancelIoFn>(GetProcAddress(GetModuleHandleA("KERNEL32.DLL"), "CancelIo"));
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(cancel(h));

    ASSERT_TRUE(CloseHandle(h));
    // Every call on a closed handle.
    DCB dcb{};
    SetLastError(0);
    EXPECT_FALSE(GetCommState(h, &dcb));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(SetCommTimeouts(h, &set));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(SetCommMask(h, EV_RXCHAR));
    EXPECT_FALSE(PurgeComm(h, PURGE_RXCLEAR));
    EXPECT_FALSE(ClearCommError(h, &errors, &stat));
    EXPECT_FALSE(cancel(h));
    OVERLAPPED ov{};
    EXPECT_FALSE(ReadFile(h, buf, sizeof(buf), &n, &ov));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(WriteFile(h, buf, sizeof(buf), &n, &ov));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(WaitCommEvent(h, &mask, &ov));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(CloseHandle(h));
}
