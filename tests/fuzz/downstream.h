// What the program does with records once they are loaded, for the fuzz
// targets: the DATALOGGER window's list and a chosen recording's statistics,
// its graph as the user zooms, pans and places cursors, the time axis, the
// export, a save read back, and the page maths of both printouts. The choices
// a user makes (window and page sizes, clicks, drags) come from the input.
#pragma once

#include "meterdata/records.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace fuzzing {

// Reports what failed and aborts, so that libFuzzer keeps the input.
void Check(bool condition, const char* what);

// A record as any reader or recorder makes it: a finite level, a date-time
// text no longer than a data file allows, a unit of at most four characters.
void CheckRecord(const CObjData& record);

// Runs records (CObjData*, not changed) through everything above.
void RecordsDownstream(const CObArray& records, FuzzedDataProvider& choices);

}  // namespace fuzzing
