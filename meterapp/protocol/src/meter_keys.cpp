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

KeyStep NextKeyStep(const SKeySender& sender, const SKeyProgress& progress, const SKeyLinkView& now,
                    DWORD* waitMs)
{
    if (WatchedValue(sender.watch, now.reading) != sender.watchedValue)
        return KeyStep::End;
    if (sender.maxSends > 0 && progress.bytesSent >= sender.maxSends)
        return KeyStep::End;
    if (progress.bytesSent == 0)
        return KeyStep::Write;
    if (progress.msSinceWrite < sender.periodMs) {
        *waitMs = sender.periodMs - progress.msSinceWrite;
        return KeyStep::Wait;
    }
    // Frames are decoded in the order they arrive, so the one before the last
    // began arriving no later than the last.
    if (now.stream.previousFrameFrom > progress.chunksAtWrite)
        return KeyStep::Write;
    *waitMs = sender.periodMs;
    return KeyStep::Wait;
}

}  // namespace meterproto
