// The live receive path: what one received chunk does to the receive buffer
// and the instrument state, and what the view has to do afterwards.
//
// The caller serialises the calls (they run on the port's reader thread) and
// guards strRx and reading against other threads while a call runs.
#pragma once

#include "meterproto/meter_codes.h"
#include "meterproto/reading.h"

namespace meterproto {

// The live buffer never keeps more than this many characters after a chunk is
// appended: beyond it only the newest kLiveBufferKeep characters are kept.
// Normal streams stay below two frames, so the limit only bites on
// garbage without a frame start, or on a backlog (text left by a download,
// frames longer than 20 bytes) whose frames would be shown ever later.
constexpr int kLiveBufferLimit = 4 * kLiveFrameChars;
constexpr int kLiveBufferKeep = 2 * kLiveFrameChars;

enum class RxAction {
    Nothing,      // no further work for the view
    ToCollector,  // download mode: hand the chunk's hex text to the download collector
    SendStop,     // the meter holds during a recording: send the Stop command and wait
    Redraw,       // a frame start heads the buffer: redraw the meter face
};

// One chunk through the receive callback, after the view has set its link
// time and connected flag. chunkHex is ChunkToHex of the chunk and length its
// byte count; logBytes is the download's byte counter (length is added first;
// a live call that reaches the decoder sets it to 0).
// Live mode: a chunk whose text holds "ff" anywhere sets hold and is dropped
// (SendStop when recording); otherwise it is appended to strRx and, once the
// buffer holds a frame's length or more, hold is cleared and DecodeLiveFrame
// runs. Download mode changes nothing but logBytes.
RxAction ReceiveChunk(const CString& chunkHex, int length, bool logMode, bool recording,
                      CString& strRx, SReading& reading, int& logBytes, const SPcDate& today);

// Frame cutting on strRx, resynchronised on the first "a50d" at any character
// position. Returns true when the face is to be redrawn.
//  - fewer than 40 characters, or no "a50d": false, buffer unchanged;
//  - "a50d" at f > 0: the f characters before it are dropped; true when 40 or
//    more remain (the frame is decoded on a later call);
//  - "a50d" at 0 and exactly 40 characters: buffer unchanged; true;
//  - "a50d" at 0 and more: the first 40 characters are cut off and decoded; true.
// So a frame is decoded when the chunk after its last byte arrives.
bool DecodeLiveFrame(CString& strRx, SReading& reading, const SPcDate& today);

}  // namespace meterproto
