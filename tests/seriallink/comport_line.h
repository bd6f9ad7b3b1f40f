// CComPort tests on a pseudo-terminal: the test plays the meter on the far end
// of COM<Number>, registered in a port directory of its own.
#pragma once

#include "seriallink/ComPort.h"
#include "support/ptyline.h"
#include "support/receivelog.h"

#include <gtest/gtest.h>

// Opens port on COM<number> as the meter application does: 9600 baud, eight
// data bits, no parity, one stop bit, no flow control.
inline bool OpenMeterLikeOn(CComPort& port, int number, int mode = AutoReceiveMode)
{
    return port.Open(number, mode, 9600, ParityNone, 8, StopBitsOne, FlowNone);
}

template <int Number>
class ComPortOnLine : public ::testing::Test {
protected:
    static constexpr int kPort = Number;

    bool OpenMeterLike(CComPort& port, int mode = AutoReceiveMode) { return OpenMeterLikeOn(port, Number, mode); }

    // Opens port as OpenMeterLike does, to read in chunks of at most 20 bytes.
    bool OpenInChunksOf20(CComPort& port, int mode = AutoReceiveMode)
    {
        if (!OpenMeterLike(port, mode))
            return false;
        port.m_pReadThread->m_nReadSize = 20;
        return true;
    }

    // Opens port as OpenInChunksOf20 does and hands what comes to log.
    bool OpenLogging(CComPort& port, testutil::ReceiveLog& log, int mode = AutoReceiveMode)
    {
        if (!OpenInChunksOf20(port, mode))
            return false;
        port.SetReceiveCallback(&testutil::ReceiveLog::Callback, &log);
        return true;
    }

    testutil::LonePtyLine line{Number};
};
