// The instrument state: what the meter shows, as its live frames report it.
#pragma once

#include "afx/cstring.h"
#include "win32/types.h"

#include <ctime>

// Written by the live-frame decoder; read by the face drawing, the key senders
// and the sampling timer. The default values are those the view starts from.
struct SReading {
    double level = 50.0;    // dB of the last decoded frame
    CString timeStamp;      // "dd-mm-yyyy,hh:mm:ss": the PC's date, the meter's time
    int range = 0;          // 1 = 30-80, 2 = 50-100, 3 = 80-130, 4 = 30-130 dB (auto);
                            // 0 until a frame reports one: no bar is drawn
    BYTE fast = 0;          // FAST time weighting (0 = SLOW)
    BYTE rec = 0;           // REC annunciator
    BYTE weightingA = 1;    // A weighting (0 = C); A until a frame reports one
    BYTE max = 0;
    BYTE min = 0;
    BYTE hold = 0;
    BYTE under = 0;
    BYTE over = 0;
    BYTE powerWatch = 0;    // watched by the Stop key's sender; only 0 is stored
    BYTE displayFollow = 0; // the last decoded frame carried the follow code
    BYTE displayFreeze = 0; // the last decoded frame carried the freeze code
};

namespace meterproto {

// The PC's calendar date that a decoded time of day is stamped with.
struct SPcDate {
    int day = 1;    // 1..31
    int month = 1;  // 1..12
    int year = 1970; // four digits
};

// The local calendar date of a moment.
SPcDate PcDateOf(std::time_t moment);

// What the view's initial update does to the state: level 50.0 and every
// flag cleared. The time stamp, the range and the weighting keep their values.
void ResetReading(SReading& reading);

}  // namespace meterproto
