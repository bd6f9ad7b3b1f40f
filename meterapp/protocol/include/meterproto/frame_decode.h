// Decoding of one live frame's hex text into the instrument state.
#pragma once

#include "meterproto/reading.h"

namespace meterproto {

// Applies one frame to reading. frameText is the frame's hex text, normally
// 40 characters starting "a50d"; a shorter text reads as if the missing
// characters were absent (fields that need them are skipped or read as 0).
// Sets level, the weighting when the frame names one, the time stamp (with
// today's date) when the frame carries a time item, and the status codes;
// every field a frame does not carry keeps its value, except the two display
// flags, which always describe this frame.
// A frame whose level characters are not four decimal digits is corrupt:
// returns false and leaves reading as it was.
bool DecodeFrame(const CString& frameText, SReading& reading, const SPcDate& today);

// Whether characters 4-7 of a frame text (the level's BCD nibbles) are all
// decimal digits.
bool FrameLevelIsBcd(const CString& frameText);

// The level of a frame text: characters 4-6 (5-6 when character 4 is '0'),
// a point, character 7, read as the longest leading decimal number (0 when
// there is none). Locale-independent.
double FrameLevel(const CString& frameText);

// The hour of a time item's hour byte given as its two hex characters: the
// units digit (non-digits count 0), plus 10 for bit 0 and 12 for bit 1 of the
// flag character's code; 24 reads as 12. A character 0 means "none".
int HourFromHexChars(wchar_t flagChar, wchar_t unitsChar);

}  // namespace meterproto
