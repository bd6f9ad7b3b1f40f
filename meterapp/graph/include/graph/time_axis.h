// The time axis: six ticks, each labelled with the time of the record under
// it, or, beyond the records, with a time carried on from the start or from
// the two ticks before it. The labelling rule is shared by the screen graph
// and the printed graph page; each computes its own tick indices and start
// offsets and hands them to LabelTimeTicks.
#pragma once

#include "graph/graph_state.h"

#include <ctime>

namespace graph {

constexpr int kTimeTicks = 6;

// What an empty graph's axis starts from, at one second per sample.
extern const wchar_t kEmptyGraphStartText[];  // "23-07-2010,00:00:00"
constexpr double kEmptyGraphRate = 1.0;

// Reads a date-time text as a local time (daylight saving decided by the
// system): the low 8 bits of each character, read as "%d-%d-%d,%d:%d:%d"
// (day, month, year, hour, minute, second). False when a number is missing,
// the year is outside 1900..3000 (the years CTime holds), the month outside
// 1..12, the day outside 1..31, the hour outside 0..23, the minute or second
// outside 0..59, or the calendar conversion rejects the time.
bool ReadTimeText(const CString& text, std::time_t* out);

// A tick time as its full text "%.2d-%.2d-%d,%.2d:%.2d:%.2d" (day, month,
// year, hour, minute, second) and its label "%H:%M:%S", local time. False
// when the time lies outside the years CTime holds.
bool FormatTickTime(std::time_t t, CString* fullText, CString* label);

// The part of a date-time text after its first comma; the whole text when it
// has none.
CString TimeOfDayLabel(const CString& dateTime);

struct STimeTickLabels {
    CString fullText[kTimeTicks];
    CString label[kTimeTicks];
    // Ticks 0 .. labelled - 1 carry labels. When it is below six, tick
    // `labelled` met a text that does not read (failedText): it keeps its
    // mark without a label and the ticks after it are not drawn.
    int labelled = kTimeTicks;
    CString failedText;
    bool Failed() const { return labelled < kTimeTicks; }
};

// The labelling rule, for tick m = 0..5:
// - a tick whose index lies in 0 <= index < count takes that record's
//   date-time text; its label is the part after the first comma;
// - otherwise ticks 0 and 1 take the start text read as a time plus their
//   start offset in seconds;
// - otherwise ticks 2..5 repeat the step between the two ticks before them:
//   t(m-1) + (t(m-1) - t(m-2)), both read back from their full texts.
// Computed times get the full text and label of FormatTickTime.
STimeTickLabels LabelTimeTicks(const CObArray& records, const CString& startText,
    const int tickIndex[kTimeTicks], const long long startOffsetSeconds[2]);

// The screen graph's axis: tick m at x = m × width / 5 + 45 (integer
// division) over the index at offset trunc(m × width / 5) (floating); start
// offsets trunc(m × width × X scale / 5 × rate). The start text and rate are
// the first record's, or kEmptyGraphStartText at 1 s without records.
struct SScreenTimeAxis {
    int x[kTimeTicks];
    STimeTickLabels labels;
};
SScreenTimeAxis ScreenTimeAxis(const SGraphState& s, const CObArray& records);

} // namespace graph
