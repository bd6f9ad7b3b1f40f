// libFuzzer target: bytes on the line during a download, cut into chunks,
// through the collector and, when it hands a download over, the parser.
#include "meterproto/hex_text.h"
#include "meterproto/logger_parse.h"
#include "meterproto/logger_reply.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckParsed(const CString& text)
{
    const meterproto::SLoggerData data = meterproto::ParseLoggerText(text);
    // A sample takes at least one character of text.
    Check(data.samples.size() <= static_cast<size_t>(text.GetLength()));
    for (const auto& s : data.samples) {
        Check(std::isfinite(s.value) && s.value >= 0 && s.value <= 999.9);
        Check(s.unit == L"dBA" || s.unit == L"dBC");
        Check(s.recordSet >= 1 && s.recordSet <= data.blocks);
        Check(!s.dateTime.IsEmpty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte sets the chunk sizes, as the reader's reads would.
    unsigned seed = data[0];
    ++data;
    --size;

    CString strRx;
    meterproto::SLogCollector collector;
    int logBytes = 0;
    size_t at = 0;
    while (at < size) {
        seed = seed * 1103515245u + 12345u;
        const size_t chunk = std::min<size_t>(size - at, 1 + (seed >> 16) % 20);
        logBytes += static_cast<int>(chunk);
        const CString hex = meterproto::ChunkToHex(data + at, static_cast<int>(chunk));
        const meterproto::SLogChunk step = meterproto::CollectLogChunk(hex, strRx, collector, logBytes);
        at += chunk;
        Check(strRx.GetLength() <= meterproto::kLogMaxDataChars + 2 * 20 + meterproto::kLogReplyHeaderChars);
        if (step.step == meterproto::ELogStep::Complete) {
            Check(step.text.GetLength() >= 2 && step.text.Right(2) == L"dd");
            CheckParsed(step.text);
            break;
        }
        if (step.step == meterproto::ELogStep::Empty || step.step == meterproto::ELogStep::Overflow)
            break;
    }
    // The parser on its own takes any hex text.
    CheckParsed(meterproto::ChunkToHex(data, static_cast<int>(size)));
    return 0;
}
