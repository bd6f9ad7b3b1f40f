// The meter's front-panel keys: key codes, command bytes and the rule by
// which a key's sender repeats its byte until the meter reports the change.
#pragma once

#include "meterproto/reading.h"
#include "meterproto/receive_path.h"

#include <cstdint>

// Key codes, as WM_METER_KEY carries them.
enum MeterKeyCode {
    METER_KEY_STOP = 0,
    METER_KEY_REC = 1,
    METER_KEY_MAXMIN = 2,
    METER_KEY_FASTSLOW = 3,
    METER_KEY_LEVEL = 4,
    METER_KEY_AC = 5,
};
constexpr int METER_KEY_COUNT = 6;

// One-byte key commands, indexed by key code.
constexpr BYTE MeterKeyCommand[METER_KEY_COUNT] = { 0x33, 0x55, 0x11, 0x77, 0x88, 0x99 };

namespace meterproto {

// Repeat period of a key's sender: 500 ms for FastSlow, 600 ms for the others.
DWORD MeterKeyPeriodMs(MeterKeyCode key);

// The field of the instrument state whose change ends a key's sender.
enum class KeyWatch { PowerWatch, Rec, Min, Max, Fast, Range, WeightingA };

// The Stop key watches a field that never changes, so its sender is bounded
// by a count instead: one byte, the one press the user made. Stop toggles the
// meter's HOLD, so a repeated byte would undo the press.
constexpr int kStopKeyMaxSends = 1;

// What one sender does, fixed when it starts.
struct SKeySender {
    MeterKeyCode key = METER_KEY_STOP;
    BYTE command = 0;     // the byte written each time
    DWORD periodMs = 0;   // the least time between two writes
    KeyWatch watch = KeyWatch::PowerWatch;
    int watchedValue = 0; // the watched field at the press
    int maxSends = 0;     // 0: no limit but the watched field
};

// Starts a sender for keyCode with the state at the press: MaxMin watches
// min when min is set then, else max. Returns false, leaving *sender alone,
// for a code outside 0..5.
bool BeginKeySender(int keyCode, const SReading& atPress, SKeySender* sender);

// The value of the watched field in a state.
int WatchedValue(KeyWatch watch, const SReading& reading);

// What a sender sees when it decides: the instrument state, and where the
// stream stood when that state was decoded.
struct SKeyLinkView {
    SReading reading;
    SStreamPosition stream;
};

// The sender's own record.
struct SKeyProgress {
    int bytesSent = 0;
    std::uint64_t chunksAtWrite = 0; // chunks received when the last byte had been written
    DWORD msSinceWrite = 0;
};

enum class KeyStep {
    Write, // write the byte now
    Wait,  // decide again after *waitMs, or sooner when a frame arrives
    End,   // the meter reports the change, or the count is reached
};

// The sender's next step. It ends once the watched field differs from its
// value at the press, or at maxSends bytes (when there is a limit). The first
// byte goes out at once. A further byte goes out only when the key's period
// has passed since the last one and the meter still reports the old state in
// the second frame that began arriving after that byte: the first may have
// left the meter before the byte reached it, and a meter that reports a press
// in its next regular frame shows it no sooner, so a byte is sent again only
// when the meter missed it, never a second press while the first is still on
// its way. The caller ends the sender on its own when the link is lost, the
// port closes or the view goes.
KeyStep NextKeyStep(const SKeySender& sender, const SKeyProgress& progress, const SKeyLinkView& now,
                    DWORD* waitMs);

}  // namespace meterproto
