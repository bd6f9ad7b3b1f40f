// The live receive path: what one received chunk does to the receive buffer
// and the instrument state, and what the view has to do afterwards.
//
// The caller serialises the calls (they run on the port's reader thread) and
// guards strRx, reading and stream against other threads while a call runs.
#pragma once

#include "meterproto/meter_codes.h"
#include "meterproto/reading.h"

#include <cstdint>
#include <deque>

namespace meterproto {

// The live buffer never keeps more than this many characters after a chunk is
// appended: beyond it only the newest kLiveBufferKeep characters are kept.
// Normal streams stay below two frames, so the limit only bites on
// garbage without a frame start, or on a backlog (text left by a download,
// frames longer than 20 bytes) whose frames would be shown ever later.
constexpr int kLiveBufferLimit = 4 * kLiveFrameChars;
constexpr int kLiveBufferKeep = 2 * kLiveFrameChars;

// Where the stream stands, counted in received chunks (the first is chunk 1).
struct SStreamPosition {
    std::uint64_t chunks = 0;            // chunks received so far, in every mode
    std::uint64_t lastFrameFrom = 0;     // the chunk that brought the first character of the
                                         // last decoded frame; 0: none yet, or not known
    std::uint64_t previousFrameFrom = 0; // the same for the frame decoded before it
};

// The receive path's record of the stream: its position, and which chunk
// brought each part of the live buffer's text.
struct SLiveStream {
    struct SChunkSpan {
        std::int64_t end;    // one past the chunk's last character, counted in `appended`
        std::uint64_t chunk; // 0: text that came into the buffer some other way
    };
    SStreamPosition position;
    std::deque<SChunkSpan> spans; // oldest first; only chunks with text still in the buffer
    std::int64_t appended = 0;    // characters appended to the buffer, as counted here
    int lengthLeft = 0;           // the buffer's length when the last live call ended
};

struct SRxResult {
    bool toCollector = false;  // download mode: hand the chunk's hex text to the download collector
    bool sendStop = false;     // the meter holds during a recording: send the Stop command and wait
    bool redraw = false;       // the face may show something new: a frame start heads the buffer, or
                               // the hold state changed
    bool frameDecoded = false; // a frame reached the instrument state
};

// One chunk through the receive callback, after the view has set its link
// time and connected flag. chunkHex is ChunkToHex of the chunk and length its
// byte count; logBytes is the download's byte counter (length is added first;
// a live call that reaches the decoder sets it to 0).
// Live mode: a chunk whose text holds "ff" anywhere sets hold and is dropped
// (sendStop when recording); otherwise it is appended to strRx and, once the
// buffer holds a frame's length or more, hold is cleared and DecodeLiveFrame
// runs. Download mode changes nothing but logBytes and the chunk count.
// Text that reaches strRx other than through this call (a download's) counts
// as coming from an unknown chunk.
SRxResult ReceiveChunk(const CString& chunkHex, int length, bool logMode, bool recording, CString& strRx,
                       SReading& reading, int& logBytes, const SPcDate& today, SLiveStream& stream);

enum class FrameCut {
    Waiting,  // fewer than 40 characters, no "a50d", or fewer than 40 left after it
    AtHead,   // a frame start heads the buffer; nothing decoded yet
    Rejected, // the frame at the head was cut off but its level is no BCD: nothing decoded
    Decoded,  // the frame at the head was cut off and decoded
};

// Frame cutting on strRx, resynchronised on the first "a50d" at any character
// position. Everything but Waiting asks for the face to be redrawn.
//  - fewer than 40 characters, or no "a50d": Waiting, buffer unchanged;
//  - "a50d" at f > 0: the f characters before it are dropped; AtHead when 40
//    or more remain (the frame is decoded on a later call), else Waiting;
//  - "a50d" at 0 and exactly 40 characters: buffer unchanged; AtHead;
//  - "a50d" at 0 and more: the first 40 characters are cut off and decoded
//    (Decoded), or left undecoded when their level is corrupt (Rejected).
// So a frame is decoded when the chunk after its last byte arrives.
FrameCut DecodeLiveFrame(CString& strRx, SReading& reading, const SPcDate& today);

}  // namespace meterproto
