// The sampling intervals Decibar offers, in the order of every rate list: the
// main view's, the logged-data window's and the real-time setup dialog's, so
// that an index means the same interval in each.
#pragma once

#include <afx/afxcore.h>

struct SSampleRate {
    double seconds;
    const wchar_t* listText;   // the view's and the logged-data window's: "0.1" ... "1" ... "10"
    const wchar_t* setupText;  // the setup dialog's, with one decimal: "0.1" ... "1.0" ... "10.0"
};

constexpr int kSampleRateCount = 10;
extern const SSampleRate kSampleRates[kSampleRateCount];

// What the view's list and the setup dialog start with: 0.5 s.
constexpr int kDefaultSampleRate = 2;

// The index of an interval in the rate lists, its "%.1f" text compared with
// the setup texts; -1 when it is none of them.
int RateIndexOf(double interval);
