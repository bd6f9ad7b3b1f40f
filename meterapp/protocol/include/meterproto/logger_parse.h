// The logger download's blocks as samples.
//
// Block: header (8 bytes), block mark 0xAC, samples (2 bytes each).
//   header byte 0    weighting: 0xAA "dBA", anything else "dBC"
//   header byte 1    year within the century (BCD; year = 2000 + YY)
//   header byte 2-3  month, day (BCD)
//   header byte 4    hour: high nibble flags (bit 0 adds 10, bit 1 adds 12), low nibble units
//   header byte 5-7  minute, second, sampling interval in seconds (BCD)
//   sample           four BCD digits, high byte first: tenths of a dB (0x06 0x53 = 65.3 dB)
// Numbers are read from the hex text as decimal numbers: the leading decimal
// digits count, the first hex letter ends the number, no digit reads 0.
#pragma once

#include "afx/cstring.h"

#include <vector>

namespace meterproto {

struct SLoggedSample {
    double value;      // dB
    CString dateTime;  // "%.2d-%.2d-%d,%d:%.2d:%.2d": day, month, year, unpadded hour, minute, second
    CString unit;      // "dBA" or "dBC"
    int recordSet;     // the block's number in the download, from 1
    double interval;   // seconds
};

struct SLoggerData {
    std::vector<SLoggedSample> samples;
    int blocks = 0;  // block marks found
};

// Parses a download's text: the hex text after the reply header up to and
// including the first "dd". Every "ac" is a block mark; the 16 characters
// before it are the block's header (the first 16 of what is left when fewer
// precede it), the text between two headers the samples of the first, the
// text between the last mark and the first "dd" after it the last block's
// samples. A sample group is 4 characters; a shorter group at the end of a
// block becomes a sample of its digits / 10, but not right before the end
// mark, where it is dropped. Text before the first header is dropped: it has
// no header to give it a time. Sample times start at the header's time and
// step by the interval in calendar time without a time zone (days, months
// and years roll over; no daylight-saving hour is skipped or repeated). A
// header whose date or time is out of range (year from 1900, month 1-12, day 1-31, hour
// 0-23, minute and second 0-59) gives all its samples the header's own
// date-time text, unstepped. Never fails.
SLoggerData ParseLoggerText(const CString& text);

// The decimal number at the front of the `count` characters at `start`
// (fewer when the text is shorter): its leading decimal digits, 0 when there
// are none.
int LeadingDecimal(const CString& text, int start, int count);

}  // namespace meterproto
