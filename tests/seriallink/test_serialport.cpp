#include "support/ptyline.h"
#include "seriallink/SerialPort.h"
#include "win32/errors.h"
#include "win32/internal.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>

namespace {

using testutil::PortDirectory;
using testutil::LonePtyLine;

const int kPort = 5;

DCB StateOf(CSerialPort& port)
{
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    port.GetState(&dcb);
    return dcb;
}

TEST(SerialPort, OpenOfAMissingPortThrowsTheCreateFileError)
{
    PortDirectory dir;
    CSerialPort port;
    try {
        port.OpenPort(kPort, 9600, ParityNone, 8, StopBitsOne, FlowNone, TRUE);
        FAIL() << "no exception";
    } catch (CSerialException* e) {
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, e->m_dwError);
        e->Delete();
    }
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(kPort, port.m_nPort);
}

TEST(SerialPort, ABusyPortThrowsAccessDenied)
{
    LonePtyLine line(kPort);
    CSerialPort first, second;
    first.OpenPort(kPort, 9600, ParityNone, 8, StopBitsOne, FlowNone, TRUE);
    ASSERT_TRUE(first.IsOpen());
    try {
        second.OpenPort(kPort, 9600, ParityNone, 8, StopBitsOne, FlowNone, TRUE);
        FAIL() << "no exception";
    } catch (CSerialException* e) {
        EXPECT_EQ(ERROR_ACCESS_DENIED, e->m_dwError);
        e->Delete();
    }
    EXPECT_FALSE(second.IsOpen());
    first.Close();
    first.Close();  // twice is harmless
    EXPECT_FALSE(first.IsOpen());
}

TEST(SerialPort, LineSettingCodesReachTheDevice)
{
    LonePtyLine line(kPort);
    struct Case {
        int parity, stopBits, flow;
        BYTE wantParity, wantStopBits;
        DWORD cts, dsr, outX, inX;
    };
    const Case cases[] = {
        {ParityEven, StopBitsOne, FlowNone, EVENPARITY, ONESTOPBIT, 0, 0, 0, 0},
        {ParityMark, StopBitsTwo, FlowCtsRts, MARKPARITY, TWOSTOPBITS, 1, 0, 0, 0},
        {ParityNone, StopBitsOnePointFive, FlowCtsDtr, NOPARITY, ONE5STOPBITS, 1, 0, 0, 0},
        {ParityOdd, StopBitsOne, FlowDsrRts, ODDPARITY, ONESTOPBIT, 0, 1, 0, 0},
        {ParitySpace, StopBitsOne, FlowDsrDtr, SPACEPARITY, ONESTOPBIT, 0, 1, 0, 0},
        {ParityNone, StopBitsOne, FlowXonXoff, NOPARITY, ONESTOPBIT, 0, 0, 1, 1},
    };
    for (const Case& c : cases) {
        CSerialPort port;
        port.OpenPort(kPort, 19200, c.parity, 7, c.stopBits, c.flow, FALSE);
        const DCB dcb = StateOf(port);
        EXPECT_EQ(19200u, dcb.BaudRate);
        EXPECT_EQ(7, dcb.ByteSize);
        EXPECT_EQ(c.wantParity, dcb.Parity) << "parity code " << c.parity;
        EXPECT_EQ(c.wantStopBits, dcb.StopBits) << "stop-bit code " << c.stopBits;
        EXPECT_EQ(c.cts, dcb.fOutxCtsFlow) << "flow code " << c.flow;
        EXPECT_EQ(c.dsr, dcb.fOutxDsrFlow) << "flow code " << c.flow;
        EXPECT_EQ(c.outX, dcb.fOutX) << "flow code " << c.flow;
        EXPECT_EQ(c.inX, dcb.fInX) << "flow code " << c.flow;
        EXPECT_EQ(0u, dcb.fDsrSensitivity);
        if (c.flow == FlowCtsRts || c.flow == FlowDsrRts) {
            EXPECT_EQ(static_cast<DWORD>(RTS_CONTROL_HANDSHAKE), dcb.fRtsControl);
        }
        if (c.flow == FlowCtsDtr || c.flow == FlowDsrDtr) {
            EXPECT_EQ(static_cast<DWORD>(DTR_CONTROL_HANDSHAKE), dcb.fDtrControl);
        }
        if (c.flow == FlowXonXoff) {
            EXPECT_EQ(0x11, dcb.XonChar);
            EXPECT_EQ(0x13, dcb.XoffChar);
            EXPECT_EQ(100, dcb.XonLim);
            EXPECT_EQ(100, dcb.XoffLim);
        }
    }
}

TEST(SerialPort, UnknownCodesKeepWhatTheLineHas)
{
    LonePtyLine line(kPort);
    {
        CSerialPort port;
        port.OpenPort(kPort, 9600, ParityOdd, 8, StopBitsTwo, FlowXonXoff, FALSE);
    }
    // What the device reports at open, without any setting applied.
    DCB asRead{};
    asRead.DCBlength = sizeof(asRead);
    HANDLE raw = CreateFileW(L"\\\\.\\COM5", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, raw);
    ASSERT_TRUE(GetCommState(raw, &asRead));
    CloseHandle(raw);
    ASSERT_EQ(TWOSTOPBITS, asRead.StopBits);  // the line keeps its stop bits between opens

    CSerialPort port;
    port.OpenPort(kPort, 4800, 7, 8, 5, 9, TRUE);  // must still succeed
    const DCB dcb = StateOf(port);
    EXPECT_EQ(4800u, dcb.BaudRate);
    EXPECT_EQ(asRead.Parity, dcb.Parity);
    EXPECT_EQ(TWOSTOPBITS, dcb.StopBits);
    EXPECT_EQ(asRead.fOutxCtsFlow, dcb.fOutxCtsFlow);
    EXPECT_EQ(asRead.fRtsControl, dcb.fRtsControl);
    EXPECT_EQ(asRead.fOutX, dcb.fOutX);
    EXPECT_EQ(asRead.fInX, dcb.fInX);
    EXPECT_EQ(asRead.XonChar, dcb.XonChar);
    EXPECT_EQ(0u, dcb.fDsrSensitivity);
}

TEST(SerialPort, OverlappedResultCountsInvalidParameterAsSuccess)
{
    LonePtyLine line(kPort);
    CSerialPort port;
    port.OpenPort(kPort, 9600, ParityNone, 8, StopBitsOne, FlowNone, TRUE);
    DWORD bytes = 0;
    // Without a record the system call fails with ERROR_INVALID_PARAMETER.
    EXPECT_TRUE(port.GetOverlappedResult(nullptr, &bytes, FALSE));

    OVERLAPPED record{};
    record.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    char buffer[4];
    COMMTIMEOUTS timeouts{100, 0, 0, 0, 0};
    port.SetTimeouts(&timeouts);
    ASSERT_FALSE(port.Read(buffer, sizeof(buffer), &record, &bytes));
    ASSERT_EQ(ERROR_IO_PENDING, GetLastError());
    EXPECT_FALSE(port.GetOverlappedResult(&record, &bytes, FALSE));
    EXPECT_EQ(ERROR_IO_INCOMPLETE, GetLastError());
    line.Send("hi");
    EXPECT_TRUE(port.GetOverlappedResult(&record, &bytes, TRUE));
    EXPECT_EQ(2u, bytes);
    EXPECT_EQ(0, std::memcmp(buffer, "hi", 2));
    port.Close();
    CloseHandle(record.hEvent);
}

TEST(SerialException, IsADynamicClassWithSystemTexts)
{
    CSerialException* e = new CSerialException(ERROR_ACCESS_DENIED);
    EXPECT_STREQ("CSerialException", e->GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(RUNTIME_CLASS(CException), e->GetRuntimeClass()->m_pBaseClass);

    wchar_t text[256];
    UINT help = 7;
    EXPECT_TRUE(e->GetErrorMessage(text, 256, &help));
    EXPECT_EQ(0u, help);
    const size_t full = std::wcslen(text);
    EXPECT_GT(full, 10u);

    wchar_t small[8];
    std::wmemset(small, L'#', 8);
    EXPECT_TRUE(e->GetErrorMessage(small, 8, nullptr));
    EXPECT_EQ(7u, std::wcslen(small));
    EXPECT_EQ(0, std::wmemcmp(small, text, 7));
    e->Delete();

    CSerialException unknown(0xDEADu);
    std::wmemset(small, L'#', 8);
    help = 7;
    EXPECT_FALSE(unknown.GetErrorMessage(small, 8, &help));
    EXPECT_STREQ(L"", small);
    EXPECT_EQ(0u, help);
}

}  // namespace
