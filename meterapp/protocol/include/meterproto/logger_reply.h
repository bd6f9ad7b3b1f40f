// The logger download's byte format and the collector that follows the
// meter's reply as it arrives, chunk by chunk, on the port's reader thread.
//
// Request, PC to meter: 0x5A 0xAC.
// Reply, meter to PC:
//   0xBB                   reply tag
//   N (2 bytes, high first) N - 98 data bytes announced; N - 98 = 2: the logger is empty
//   blocks                 header (8 bytes), block mark 0xAC, samples (2 bytes each)
//   0xDD                   end mark
// Everything is handled as lower-case hex text; the tags and marks are found
// by searching the text at any character position.
#pragma once

#include "afx/cstring.h"
#include "win32/types.h"

namespace meterproto {

constexpr BYTE LOG_REQUEST[] = { 0x5A, 0xAC };
constexpr BYTE LOG_REPLY = 0xBB;
constexpr BYTE LOG_BLOCK_MARK = 0xAC;
constexpr BYTE LOG_END = 0xDD;
constexpr BYTE LOG_UNIT_A = 0xAA;
constexpr wchar_t kLogReplyText[] = L"bb";
constexpr wchar_t kLogBlockMarkText[] = L"ac";
constexpr wchar_t kLogEndText[] = L"dd";

// N - kLogCountOffset is the number of data bytes a reply announces; a reply
// announcing kLogEmptyData bytes says the logger holds nothing.
constexpr int kLogCountOffset = 98;
constexpr int kLogEmptyData = 2;
// The reply header: the tag and N, as hex text.
constexpr int kLogReplyHeaderChars = 6;
// No count can announce more than this much hex text after the reply header.
constexpr int kLogMaxDataChars = 2 * 0x10000;

// What the collector knows of the current download.
struct SLogCollector {
    bool replySeen = false;  // the reply header has arrived
    int expected = 0;        // N - 98: the progress range
};

enum class ELogStep {
    Waiting,    // the reply header is not complete yet
    Receiving,  // the data are coming: show progress (expected, logBytes)
    Empty,      // the logger is empty: the download is over, without records
    Complete,   // the end mark has arrived: `text` is the download to parse
    Overflow,   // more text than any reply holds and no end mark: the download failed
};

struct SLogChunk {
    ELogStep step = ELogStep::Waiting;
    CString text;  // Complete: the text after the reply header up to and including the first "dd"
};

// One chunk's hex text while a download runs. It is appended to strRx (the
// receive buffer); logBytes already counts the chunk's bytes.
// Before the reply header: text before the first "bb" is dropped; once "bb"
// and N are there, they are dropped too, collector.expected = N - 98 and
// logBytes = the whole bytes received after them. Then, and for every later
// chunk, an end mark ends the download: when the chunk's own text holds
// "dd" (or, on the header's chunk, the buffer does), the buffer's text up to
// and including its first "dd" is cut off its front and returned, and
// logBytes is set to 0. An empty logger is reported at once, whatever follows.
// strRx never grows beyond one reply's text: without "bb" only its last
// character is kept, and a reply without an end mark ends as Overflow.
SLogChunk CollectLogChunk(const CString& chunkHex, CString& strRx, SLogCollector& collector, int& logBytes);

}  // namespace meterproto
