// libFuzzer target: any bytes as a data file that File > Open or Import reads,
// through the reader they call (a regular file read piece by piece, within
// its size limit), checked against the parser reading the same bytes whole.
//
// Input: a layout byte, then the file. Below 0xE0 the rest is the file as it
// stands. From 0xE0 to 0xFE, the file is the rest's first line followed by
// the rest of it repeated up to a size at a piece boundary of the reader, so
// that lines straddle the pieces. At 0xFF, the next byte chooses a size at the
// reader's size limit (one less, equal, one more) and whether the file ends
// in a line end: the rest's last line is lengthened to that size, so that the
// limit falls in a record without a million records to build first.
#include "downstream.h"

#include "meterfiles/data_file.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

using fuzzing::Check;
using meterfiles::EDataFileRead;

constexpr size_t kPiece = 1 << 16;
const size_t kPieceSizes[] = { kPiece - 1, kPiece, kPiece + 1, 2 * kPiece - 2, 2 * kPiece + 1, 3 * kPiece + 7,
    5 * kPiece - 1 };

std::string g_path;

void RemoveScratchFile()
{
    unlink(g_path.c_str());
}

std::string FileOf(const uint8_t* data, size_t size)
{
    if (size == 0)
        return std::string();
    const uint8_t layout = data[0];
    std::string body(reinterpret_cast<const char*>(data + 1), size - 1);
    if (layout < 0xE0)
        return body;
    if (layout == 0xFF) {
        const int choice = body.empty() ? 0 : static_cast<uint8_t>(body[0]) % 6;
        if (!body.empty())
            body.erase(0, 1);
        const size_t target = meterfiles::kDataFileMaxBytes - 1 + static_cast<size_t>(choice % 3);
        const size_t ending = choice >= 3 ? 1 : 0;
        if (body.size() + ending < target)
            body.append(target - body.size() - ending, 'x');
        if (ending)
            body += '\n';
        return body;
    }
    const size_t target = kPieceSizes[(layout - 0xE0) % (sizeof kPieceSizes / sizeof kPieceSizes[0])];
    const size_t lineEnd = body.find('\n');
    const size_t headerLength = lineEnd == std::string::npos ? 0 : lineEnd + 1;
    const std::string repeated = body.substr(headerLength);
    std::string file = body.substr(0, headerLength);
    if (repeated.empty())
        return file;
    file.reserve(target);
    while (file.size() < target)
        file.append(repeated, 0, std::min(repeated.size(), target - file.size()));
    return file;
}

void WriteScratchFile(const std::string& bytes)
{
    const int fd = open(g_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    Check(fd >= 0, "the scratch file can be written");
    size_t at = 0;
    while (at < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + at, bytes.size() - at);
        Check(n > 0, "the scratch file takes the bytes");
        at += static_cast<size_t>(n);
    }
    close(fd);
}

bool SameRecords(const CObArray& a, INT_PTR aFrom, const CObArray& b)
{
    if (a.GetSize() - aFrom != b.GetSize())
        return false;
    for (INT_PTR i = 0; i < b.GetSize(); ++i) {
        const CObjData* x = RecordAt(a, aFrom + i);
        const CObjData* y = RecordAt(b, i);
        if (x->m_dValue != y->m_dValue || x->m_dInterval != y->m_dInterval || x->m_nRecordSet != y->m_nRecordSet
            || x->m_strDateTime != y->m_strDateTime || x->m_strUnit != y->m_strUnit)
            return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    const char* folder = std::getenv("TMPDIR");
    g_path = std::string(folder && *folder ? folder : "/tmp") + "/decibar-fuzz-" + std::to_string(getpid()) + ".txt";
    std::atexit(RemoveScratchFile);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string file = FileOf(data, size);
    WriteScratchFile(file);

    // Open appends to what the array holds, and leaves it as it was on failure.
    CObArray read;
    CObjData* before = new CObjData(1.0, L"01-01-2000,00:00:00", L"dBA", 3, 1.0);
    read.Add(before);
    CString problem;
    const EDataFileRead result = meterfiles::ReadDataFile(CString(g_path.c_str()), read, &problem);
    Check(result != EDataFileRead::Failed, "a regular file is read");
    Check(read.GetSize() >= 1 && read.GetAt(0) == before, "reading keeps what the array held");
    Check(result == EDataFileRead::Read || read.GetSize() == 1, "a refused file adds no record");
    for (INT_PTR i = 1; i < read.GetSize(); ++i) {
        const CObjData* record = RecordAt(read, i);
        fuzzing::CheckRecord(*record);
        Check(record->m_nRecordSet == 0, "a file's records belong to no logged block");
    }
    Check(read.GetSize() - 1 <= static_cast<INT_PTR>(meterfiles::kDataFileMaxRecords), "no more records than allowed");

    // Piece by piece reads what the whole reads, or stops at the size limit.
    const bool overLimit = file.size() > meterfiles::kDataFileMaxBytes;
    if (!overLimit || result != EDataFileRead::TooLarge) {
        CObArray whole;
        const EDataFileRead parsed = meterfiles::ParseDataFile(file.data(), file.size(), whole);
        Check(parsed == result, "reading in pieces gives the whole's result");
        Check(result != EDataFileRead::Read || SameRecords(read, 1, whole), "reading in pieces gives the whole's records");
        DeleteAllRecords(&whole);
    }
    DeleteAllRecords(&read);
    return 0;
}
