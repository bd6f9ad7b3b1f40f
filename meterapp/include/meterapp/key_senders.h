// The threads that repeat a pressed meter key's command byte until the meter
// reports the change (or their bound is reached).
//
// Each sender runs on a thread of its own and serves the key it was started
// for; meterproto::NextKeyStep decides when it writes again. Senders write
// through one port object and never at the same time. StopAll ends every
// running sender and returns only once none of them writes to the port or
// reads the link any more, so the owner calls it before it closes, reopens or
// deletes the port, when the link is lost and before it goes away itself.
// All members are for the owner's thread except FrameArrived and what the
// senders do inside.
#pragma once

#include "meterproto/meter_keys.h"

#include <functional>
#include <memory>

class CComPort;

class CKeySenders {
public:
    // Gives a consistent copy of the instrument state and the stream's
    // position; called on sender threads.
    using LinkSource = std::function<meterproto::SKeyLinkView()>;

    // port is written by the senders and must outlive every sender that runs
    // (StopAll before deleting it).
    CKeySenders(CComPort* port, LinkSource linkSource);
    // Stops every sender (StopAll).
    ~CKeySenders();
    CKeySenders(const CKeySenders&) = delete;
    CKeySenders& operator=(const CKeySenders&) = delete;

    // Starts one sender thread for sender; its handle is let go at once. The
    // first byte is written at once unless the watched state has already
    // changed. False when no thread can be started.
    bool Start(const meterproto::SKeySender& sender);

    // A frame has been decoded: waiting senders decide again. Any thread.
    void FrameArrived();

    // Ends every sender started so far; returns once none of them runs.
    void StopAll();

    // Senders that have started and not yet ended.
    int Running() const;

private:
    struct SShared;
    struct SStart;
    static DWORD WINAPI KeySenderThreadProc(LPVOID start);

    std::shared_ptr<SShared> m_shared;
};
