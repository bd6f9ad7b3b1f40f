// What the logged-data window makes of the logged records, without a window:
// its list of recordings, the records of one recording and their statistics.
#pragma once

#include "meterdata/records.h"

#include <vector>

// One row of the list: a run of consecutive records with the same recording
// number, shown by its first record. A number that comes back after another
// starts a row of its own.
struct SRecordingRow {
    int recordSet;      // "ID"
    CString dateTime;   // "DATETIME": of the run's first record
    CString unit;       // "UNIT"
    double interval;    // "Sampling Rate", seconds
    int count;          // "Nums": the run's length
};

std::vector<SRecordingRow> RecordingRows(const CObArray& records);

// Appends to `out` (which refers to them, owning nothing) every record of
// `records` whose recording number is recordSet, in array order: all its runs.
void SelectRecording(const CObArray& records, int recordSet, CObArray& out);

// The statistics of a loaded recording: maximum from 0 and minimum from 130,
// strictly beaten, so the earliest of equal values gives time and unit; the
// average, the sum, the first record's interval and date-time. False, with
// `stat` left as it was, when there are no records.
bool LoadedStatistics(const CObArray& records, SStatInfo* stat);
