// libFuzzer target: bytes from the meter through the live receive path every
// chunk takes, the face they draw, the real-time samples they give, and,
// while a download runs, the download collector and the parser; then the
// records of a download and of a recording through everything they feed.
//
// Input: the session, then kChoiceBytes bytes of the user's choices for the
// records (as the records target takes them); a shorter input is all choices.
// The session is read with FuzzedDataProvider: the line's bytes from the
// front, the events from the back: the next chunk's size, a download started
// or abandoned, a recording started or stopped, a sampling tick.
#include "downstream.h"

#include "meterdata/face_layout.h"
#include "meterdata/recording.h"
#include "meterproto/hex_text.h"
#include "meterproto/logger_parse.h"
#include "meterproto/logger_reply.h"
#include "meterproto/receive_path.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

using fuzzing::Check;

constexpr size_t kChoiceBytes = 48;
constexpr int kMaxChunk = 64;
constexpr int kMaxSamples = 2000;

void CheckDownload(const meterproto::SLoggerData& data, const CString& text)
{
    // A sample takes at least one character of text.
    Check(data.samples.size() <= static_cast<size_t>(text.GetLength()), "no more samples than characters");
    for (const meterproto::SLoggedSample& s : data.samples) {
        Check(std::isfinite(s.value) && s.value >= 0 && s.value <= 999.9, "a logged level has four BCD digits");
        Check(s.unit == L"dBA" || s.unit == L"dBC", "a logged unit is dBA or dBC");
        Check(s.recordSet >= 1 && s.recordSet <= data.blocks, "a logged sample belongs to a block");
        Check(!s.dateTime.IsEmpty(), "a logged sample has a date-time");
    }
}

void CheckFace(const std::vector<SFaceOp>& ops)
{
    Check(ops.size() <= 100, "the face is a bounded number of pictures and texts");
    for (const SFaceOp& op : ops) {
        Check(op.x >= kDisplayArea.x && op.x < kDisplayArea.x + kDisplayArea.width && op.y >= kDisplayArea.y
                && op.y < kDisplayArea.y + kDisplayArea.height,
            "the face draws inside the display");
        Check(op.kind == SFaceOp::Kind::Text ? op.text.GetLength() <= 16 : op.bitmapId != 0,
            "the face's texts are short and its pictures named");
    }
}

// The view's side of the line: the state its receive callback, its download
// and its recording keep.
struct Session {
    CString strRx;
    SReading reading;
    meterproto::SLiveStream stream;
    int logBytes = 0;
    bool logMode = false;
    bool logFailed = false;
    meterproto::SLogCollector collector;
    bool recording = false;
    double digitsValue = kFaceStartValue;
    double barValue = kFaceStartValue;
    SStatInfo stat;
    CObArray realTime;
    CObArray downloaded;
    meterproto::SPcDate today;

    ~Session()
    {
        DeleteAllRecords(&realTime);
        DeleteAllRecords(&downloaded);
    }

    void Chunk(const std::vector<uint8_t>& bytes)
    {
        const int length = static_cast<int>(bytes.size());
        const CString hex = meterproto::ChunkToHex(bytes.data(), length);
        const std::uint64_t chunksBefore = stream.position.chunks;
        const meterproto::SRxResult result = meterproto::ReceiveChunk(
            hex, length, logMode, recording, strRx, reading, logBytes, today, stream);
        Check(stream.position.chunks == chunksBefore + 1, "every chunk is counted");
        Check(stream.position.lastFrameFrom <= stream.position.chunks, "a frame came with a chunk already received");
        Check(std::isfinite(reading.level), "the level is a number");
        Check(reading.range >= 0 && reading.range <= 4, "a range is one of four, or none");
        if (!logMode && !result.sendStop && hex.Find(meterproto::kHoldText) < 0) {
            Check(strRx.GetLength() <= meterproto::kLiveBufferLimit, "the live buffer is bounded");
            Check(stream.spans.size() <= static_cast<size_t>(strRx.GetLength()) + 1,
                "the stream remembers only chunks whose text is in the buffer");
        }
        CheckFace(MeterFaceOps(reading, digitsValue, barValue));
        if (result.sendStop)
            recording = false;
        if (result.toCollector)
            Collect(hex);
    }

    // CDecibarView::CollectLoggerChunk and what its messages do.
    void Collect(const CString& hex)
    {
        if (!logMode || logFailed)
            return;
        const meterproto::SLogChunk step = meterproto::CollectLogChunk(hex, strRx, collector, logBytes);
        Check(strRx.GetLength() <= meterproto::kLogMaxDataChars + 2 * kMaxChunk + meterproto::kLogReplyHeaderChars,
            "a download's buffer is bounded");
        switch (step.step) {
        case meterproto::ELogStep::Waiting:
        case meterproto::ELogStep::Receiving:
            break;
        case meterproto::ELogStep::Empty:
            DeleteAllRecords(&downloaded);
            logMode = false;
            break;
        case meterproto::ELogStep::Overflow:
            logFailed = true;
            logMode = false;
            break;
        case meterproto::ELogStep::Complete: {
            Check(step.text.GetLength() >= 2 && step.text.Mid(step.text.GetLength() - 2) == L"dd", "a download ends with its end mark");
            const meterproto::SLoggerData data = meterproto::ParseLoggerText(step.text);
            CheckDownload(data, step.text);
            DeleteAllRecords(&downloaded);
            for (const meterproto::SLoggedSample& s : data.samples)
                downloaded.Add(new CObjData(s.value, s.dateTime, s.unit, s.recordSet, s.interval));
            logMode = false;
            break;
        }
        }
    }

    // The sampling timer's tick while a recording runs.
    void Tick(double interval)
    {
        if (!recording)
            return;
        const ESampleTick tick = DecideSampleTick(reading.hold != 0, true, realTime.GetSize(), kMaxSamples);
        if (tick == ESampleTick::Stop) {
            recording = false;
            return;
        }
        if (tick != ESampleTick::Take)
            return;
        std::tm local {};
        local.tm_year = today.year - 1900;
        local.tm_mon = today.month - 1;
        local.tm_mday = today.day;
        local.tm_hour = static_cast<int>(realTime.GetSize() / 3600 % 24);
        local.tm_min = static_cast<int>(realTime.GetSize() / 60 % 60);
        local.tm_sec = static_cast<int>(realTime.GetSize() % 60);
        realTime.Add(MakeSample(reading.level, reading.weightingA != 0, local, interval));
        const SSampleEffect effect = AddSampleToStatistics(stat, realTime);
        Check(!effect.newMax || stat.max == RecordAt(realTime, realTime.GetSize() - 1)->m_dValue,
            "a new maximum is the newest sample");
    }
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("TZ", "Europe/Amsterdam", 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const size_t choiceBytes = std::min(size, kChoiceBytes);
    FuzzedDataProvider input(data, size - choiceBytes);
    FuzzedDataProvider choices(data + size - choiceBytes, choiceBytes);
    Session session;
    session.today = meterproto::PcDateOf(static_cast<std::time_t>(input.ConsumeIntegralInRange<long long>(0, 4102444800LL)));
    const double interval = 0.1 * input.ConsumeIntegralInRange(1, 100);
    while (input.remaining_bytes() > 0) {
        const uint8_t event = input.ConsumeIntegral<uint8_t>();
        switch (event) {
        case 0xF0:  // DataLogger
            if (!session.recording && !session.logMode) {
                session.collector = meterproto::SLogCollector();
                session.logFailed = false;
                session.logMode = true;
            }
            break;
        case 0xF1:  // the download's timeout, or Esc
            session.logMode = false;
            break;
        case 0xF2:  // Start, or Stop
            if (session.recording) {
                session.recording = false;
            } else if (!session.logMode) {
                DeleteAllRecords(&session.realTime);
                ResetRecordingStatistics(session.stat);
                session.recording = true;
            }
            break;
        case 0xF3:
            session.Tick(interval);
            break;
        default: {
            const std::vector<uint8_t> chunk = input.ConsumeBytes<uint8_t>(1 + event % kMaxChunk);
            if (!chunk.empty())
                session.Chunk(chunk);
            break;
        }
        }
    }
    fuzzing::RecordsDownstream(session.downloaded, choices);
    fuzzing::RecordsDownstream(session.realTime, choices);
    return 0;
}
