// The data file: one recording as 8-bit text with CR LF line ends.
//
//   VELDMARK KV415 DATA LOGGER SamplingRate:0.5;      "...SamplingRate:%2.1f;"
//   15-06-2011,13:30:00, 65.30, dBA                   "%s, %5.2f, %s"
//   ...
// The header carries the first record's interval; each following line one
// record: its date-time text (which holds a comma of its own), its level and
// its unit. Texts are stored as UTF-8; what the program writes is plain ASCII.
#pragma once

#include "meterdata/records.h"

#include <cstddef>
#include <string>

namespace meterfiles {

// The text a data file's first line must begin with, letter case included.
extern const char kDataFileHeader[];

// Reading stops short of these: a data file of the program holds at most a few
// ten thousand records, and a larger file is not one of them. The byte count
// is of what is read, up to the end of the records.
constexpr size_t kDataFileMaxBytes = 16u << 20;
constexpr size_t kDataFileMaxRecords = 1000000;
// The longest date-time text of a record, in characters. The program writes
// 19 ("15-06-2011,13:30:00"), 26 at most for any year an int holds; a longer
// one makes the file not a data file. (The unit, the line's last four
// characters, is never longer.)
constexpr int kDataFileMaxDateTimeLength = 64;

// The bytes of a data file of records (CObjData*). Empty records give an
// empty text: the program writes no file for them.
std::string FormatDataFile(const CObArray& records);

enum class EDataFileRead {
    Read,         // records appended
    WrongFormat,  // the first line does not begin with kDataFileHeader, or a
                  // record's date-time is longer than kDataFileMaxDateTimeLength
    TooLarge,     // more than kDataFileMaxRecords records, or kDataFileMaxBytes bytes read
    Failed,       // the file is not a regular file, or cannot be opened or read
};

// Reads the bytes of a data file and appends a new CObjData (recording number
// 0, the header's interval) for each record line up to the first empty line
// or the end. Lines end at LF; a CR right before the LF belongs to the line
// end. Record lines are cut as the program always has: the date-time is
// everything before the second comma, the level the text between the second
// and the third comma, the unit the last four characters less a final CR and
// a first blank. Anything other than Read leaves `out` as it was.
EDataFileRead ParseDataFile(const char* bytes, size_t length, CObArray& out);

// Reads the data file at path as ParseDataFile reads its bytes, piece by
// piece: reading ends at the first empty line. Failed sets *problem.
EDataFileRead ReadDataFile(const CString& path, CObArray& out, CString* problem);

}  // namespace meterfiles
