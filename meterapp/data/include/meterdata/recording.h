// The real-time recorder's rules, free of windows: the sampling interval
// from the rate list's text, what each sampling tick does, the sample it
// takes and the running statistics it keeps.
#pragma once

#include "meterdata/records.h"

#include <ctime>

// The statistics of a fresh recording: average 0, maximum 0, minimum 150, sum
// 0, the maximum, minimum and start times empty. Units and interval stay.
void ResetRecordingStatistics(SStatInfo& stat);

// The rate list's text read as a decimal number, whatever the locale ("0.5"
// is half a second everywhere): its longest leading part that reads as one,
// as atof does. False (and 0) when no number leads the text.
bool ParseRateText(const CString& text, double* seconds);

// The sampling timer's period: interval × 1000 ms, truncated (100 for 0.1 s,
// 1500 for 1.5 s); 0 for intervals that give no positive period.
UINT SamplePeriodMs(double seconds);

// What one sampling tick does, in this order: the meter holds or the link is
// down: no sample; the recording holds maxSamples records or more: it ends,
// without a sample; otherwise a sample is taken.
enum class ESampleTick { Skip, Stop, Take };
ESampleTick DecideSampleTick(bool hold, bool connected, INT_PTR count, int maxSamples);

// One sample: the level, "dBA" when weightingA is non-zero else "dBC", the
// local clock time as "dd-mm-yyyy,hh:mm:ss", record set 0 and the interval.
CObjData* MakeSample(double level, bool weightingA, const std::tm& local, double interval);

// The statistics after a sample was appended to `records` (its last record):
// the start time is the first record's; a value strictly above the maximum
// or below the minimum replaces it with its time and unit; the sum grows and
// the average is sum / count.
struct SSampleEffect {
    bool newMax = false;
    bool newMin = false;
};
SSampleEffect AddSampleToStatistics(SStatInfo& stat, const CObArray& records);
