#include "meterproto/meter_keys.h"

namespace meterproto {

DWORD MeterKeyPeriodMs(MeterKeyCode key)
{
    return key == METER_KEY_FASTSLOW ? 500 : 600;
}

int WatchedValue(KeyWatch watch, const SReading& reading)
{
    switch (watch) {
    case KeyWatch::PowerWatch: return reading.powerWatch;
    case KeyWatch::Rec: return reading.rec;
    case KeyWatch::Min: return reading.min;
    case KeyWatch::Max: return reading.max;
    case KeyWatch::Fast: return reading.fast;
    case KeyWatch::Range: return reading.range;
    case KeyWatch::WeightingA: return reading.weightingA;
    }
    return 0;
}

namespace {

KeyWatch WatchOf(MeterKeyCode key, const SReading& atPress)
{
    switch (key) {
    case METER_KEY_STOP: return KeyWatch::PowerWatch;
    case METER_KEY_REC: return KeyWatch::Rec;
    case METER_KEY_MAXMIN: return atPress.min ? KeyWatch::Min : KeyWatch::Max;
    case METER_KEY_FASTSLOW: return KeyWatch::Fast;
    case METER_KEY_LEVEL: return KeyWatch::Range;
    case METER_KEY_AC: return KeyWatch::WeightingA;
    }
    return KeyWatch::PowerWatch;
}

}  // namespace

bool BeginKeySender(int keyCode, const SReading& atPress, SKeySender* sender)
{
    if (keyCode < 0 || keyCode >= METER_KEY_COUNT || sender == nullptr)
        return false;
    SKeySender s;
    s.key = static_cast<MeterKeyCode>(keyCode);
    s.command = MeterKeyCommand[keyCode];
    s.periodMs = MeterKeyPeriodMs(s.key);
    s.watch = WatchOf(s.key, atPress);
    s.watchedValue = WatchedValue(s.watch, atPress);
    s.maxSends = s.key == METER_KEY_STOP ? kStopKeyMaxSends : 0;
    *sender = s;
    return true;
}

bool KeySenderContinues(const SKeySender& sender, int bytesSent, const SReading& now)
{
    if (sender.maxSends > 0 && bytesSent >= sender.maxSends)
        return false;
    return WatchedValue(sender.watch, now) == sender.watchedValue;
}

}  // namespace meterproto
