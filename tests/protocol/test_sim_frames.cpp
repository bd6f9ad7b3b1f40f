// The simulated meter's frames read back as the state it encoded.
#include "frames.h"
#include "live_frame.h"
#include "meterproto/frame_decode.h"
#include "meterproto/receive_path.h"

#include <gtest/gtest.h>

namespace {

using metersim::BuildLiveFrame;
using metersim::FrameKind;
using metersim::MaxMinMode;
using metersim::MeterState;
using metersim::Range;

prototest::Bytes BytesOf(const metersim::LiveFrame& frame)
{
    return prototest::Bytes(frame.begin(), frame.end());
}

TEST(SimFrames, EveryStateAndLevelDecodesAsEncoded)
{
    const Range ranges[] = { Range::Low30to80, Range::Mid50to100, Range::High80to130, Range::Auto30to130 };
    const MaxMinMode modes[] = { MaxMinMode::Off, MaxMinMode::Max, MaxMinMode::Min };
    int checked = 0;
    for (int bits = 0; bits < 8; ++bits) {
        for (Range range : ranges) {
            for (MaxMinMode mode : modes) {
                MeterState state;
                state.fast = bits & 1;
                state.weightingA = bits & 2;
                state.rec = bits & 4;
                state.maxMin = mode;
                state.range = range;
                for (int tenths = 0; tenths <= 1400; tenths += 37) {
                    const metersim::TimeOfDay time { (tenths / 37) % 24, tenths % 60, (tenths / 7) % 60 };
                    const metersim::Limit limit = metersim::LimitFor(range, tenths);
                    // The time frame carries no limits, the status frame no
                    // time; each is read on top of the other, as on the line.
                    SReading r;
                    for (FrameKind kind : { FrameKind::FullStatus, FrameKind::WithTime }) {
                        const metersim::LiveFrame frame = BuildLiveFrame(state, tenths, limit, time, kind);
                        meterproto::DecodeFrame(prototest::Hex(BytesOf(frame)), r, prototest::kToday);
                    }
                    ASSERT_NEAR(r.level, tenths / 10.0, 1e-9);
                    ASSERT_EQ(r.fast, state.fast ? 1 : 0);
                    ASSERT_EQ(r.weightingA, state.weightingA ? 1 : 0);
                    ASSERT_EQ(r.rec, state.rec ? 1 : 0);
                    ASSERT_EQ(r.max, mode == MaxMinMode::Max ? 1 : 0);
                    ASSERT_EQ(r.min, mode == MaxMinMode::Min ? 1 : 0);
                    ASSERT_EQ(r.range, static_cast<int>(range));
                    ASSERT_EQ(r.under, limit == metersim::Limit::Under ? 1 : 0);
                    ASSERT_EQ(r.over, limit == metersim::Limit::Over ? 1 : 0);
                    CString stamp;
                    stamp.Format(L"09-12-2026,%.2d:%.2d:%.2d", time.hour, time.minute, time.second);
                    ASSERT_EQ(r.timeStamp, stamp);
                    ++checked;
                }
            }
        }
    }
    EXPECT_GT(checked, 3000);
}

TEST(SimFrames, AStreamJoinedMidFrameShowsTheLastWholeFrame)
{
    MeterState state;
    state.range = Range::Mid50to100;
    prototest::Bytes stream;
    for (int n = 0; n < 50; ++n) {
        const auto frame = BuildLiveFrame(state, 600 + n, metersim::Limit::Inside, { 10, 0, n % 60 },
                                          n % 2 ? FrameKind::WithTime : FrameKind::FullStatus);
        stream.insert(stream.end(), frame.begin(), frame.end());
    }
    CString strRx;
    SReading reading;
    int logBytes = 0;
    meterproto::SLiveStream live;
    // Start in the middle of a frame, as when the port opens while the meter talks.
    for (size_t at = 7; at + 20 <= stream.size(); at += 20) {
        const prototest::Bytes chunk(stream.begin() + at, stream.begin() + at + 20);
        meterproto::ReceiveChunk(prototest::Hex(chunk), 20, false, false, strRx, reading, logBytes, prototest::kToday,
                                 live);
        EXPECT_EQ(reading.hold, 0);
    }
    // The last chunk ends 7 bytes into frame 49, which shows frame 48 whole.
    EXPECT_NEAR(reading.level, 64.8, 1e-9);
    EXPECT_EQ(reading.range, 2);
}

}  // namespace
