// The meter's front-panel keys: key codes, command bytes and the rule by
// which a key's sender repeats its byte until the meter reports the change.
#pragma once

#include "meterproto/reading.h"

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
    DWORD periodMs = 0;   // the pause after each write
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

// Whether the sender writes its byte again, given how many it has written and
// the state now: while the watched field still holds its value at the press
// and the count is below maxSends (when there is one). The test comes before
// each write, so a started sender writes at once. The caller ends the sender
// on its own when the link is lost, the port closes or the view goes.
bool KeySenderContinues(const SKeySender& sender, int bytesSent, const SReading& now);

}  // namespace meterproto
