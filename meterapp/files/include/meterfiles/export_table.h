// The spreadsheet export: a recording and its statistics as tab-separated
// 8-bit text, every line ending in TAB CR LF.
//
//   StartTime<TAB><start><TAB>
//   Max<TAB>65.30 @ <time>  dBA<TAB>          "%.2f @ %s  %s\t" (logged-data window: "%s \t")
//   Min<TAB>40.10 @ <time>  dBA<TAB>
//   Average<TAB>52.25<TAB>
//   SampleRate<TAB>0.50<TAB>
//   ID<TAB>Unit<TAB>Value<TAB>DateTime<TAB>
//   1<TAB>dBA<TAB>65.30<TAB><date-time><TAB>  one line per record, numbered from 1
//
// The texts (the start, Max and Min cells, units and date-times) come from
// data files anyone may write: a cell of them that a spreadsheet would take
// for a formula (= + - @, or a quote) is written after an apostrophe.
#pragma once

#include "meterdata/records.h"

#include <string>

namespace meterfiles {

// Which command exports: the main view's or the logged-data window's. Their
// files differ only in the blank the window writes before the Max line's tab.
enum class EExportCopy { MainView, LoggedDataWindow };

// The bytes of the export of records (CObjData*) with their statistics.
std::string FormatExportTable(const CObArray& records, const SStatInfo& stat, EExportCopy copy);

}  // namespace meterfiles
