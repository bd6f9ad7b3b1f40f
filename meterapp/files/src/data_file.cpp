#include "meterfiles/data_file.h"

#include "meterfiles/decimal_text.h"

#include <win32/text.h>

#include <cstring>
#include <memory>
#include <vector>

namespace meterfiles {

const char kDataFileHeader[] = "VELDMARK KV415 DATA LOGGER SamplingRate";

namespace {

void AppendUtf8(std::string& out, const CString& text)
{
    out += win32::Utf8FromWide(text.GetString());
}

// A line's characters: bytes below 0x80 as they are, the rest as UTF-8.
CString LineText(const char* begin, size_t length)
{
    bool ascii = true;
    for (size_t i = 0; i < length && ascii; ++i)
        ascii = static_cast<unsigned char>(begin[i]) < 0x80;
    if (ascii)
        return CString(begin, static_cast<int>(length));
    const std::wstring wide = win32::WideFromUtf8(std::string(begin, length));
    return CString(wide.c_str(), static_cast<int>(wide.size()));
}

class LineReader {
public:
    LineReader(const char* bytes, size_t length) : m_next(bytes), m_end(bytes + length) {}

    // The next line without its LF (and a CR right before that LF); false at the end.
    bool Next(const char** begin, size_t* length)
    {
        if (m_next == m_end)
            return false;
        const char* newline = static_cast<const char*>(std::memchr(m_next, '\n', static_cast<size_t>(m_end - m_next)));
        const char* stop = newline ? newline : m_end;
        *begin = m_next;
        *length = static_cast<size_t>(stop - m_next);
        if (newline && *length > 0 && newline[-1] == '\r')
            --*length;
        m_next = newline ? newline + 1 : m_end;
        return true;
    }

private:
    const char* m_next;
    const char* m_end;
};

// Positions are those of the cut described in the header, taken on the line
// itself so that a long line is not copied piece by piece.
CObjData* RecordOfLine(const CString& line, double interval)
{
    const int firstComma = line.Find(L',');
    const int secondComma = firstComma < 0 ? -1 : line.Find(L',', firstComma + 1);
    const int dateLength = secondComma >= 0 ? secondComma : firstComma;
    const CString dateTime = dateLength > 0 ? line.Left(dateLength) : CString();
    const int levelStart = secondComma >= 0 ? secondComma + 1 : firstComma + 1;
    const int levelEnd = line.Find(L',', levelStart);
    const double level = levelEnd > levelStart
        ? ReadDecimalNumber(line.GetString() + levelStart, static_cast<size_t>(levelEnd - levelStart))
        : 0.0;

    CString unit = line.Right(4);
    if (!unit.IsEmpty() && unit[unit.GetLength() - 1] == L'\r')
        unit = unit.Left(unit.GetLength() - 1);
    if (!unit.IsEmpty() && unit[0] == L' ')
        unit = unit.Mid(1);
    return new CObjData(level, dateTime, unit, 0, interval);
}

}  // namespace

std::string FormatDataFile(const CObArray& records)
{
    std::string out;
    if (records.GetSize() == 0)
        return out;
    out.reserve(static_cast<size_t>(records.GetSize()) * 34 + 64);
    out += kDataFileHeader;
    out += ':';
    AppendFixed(out, RecordAt(records, 0)->m_dInterval, 2, 1);
    out += ";\r\n";
    for (INT_PTR i = 0; i < records.GetSize(); ++i) {
        const CObjData* record = RecordAt(records, i);
        AppendUtf8(out, record->m_strDateTime);
        out += ", ";
        AppendFixed(out, record->m_dValue, 5, 2);
        out += ", ";
        AppendUtf8(out, record->m_strUnit);
        out += "\r\n";
    }
    return out;
}

double HeaderInterval(const CString& header)
{
    const int colon = header.Find(L':');
    const int semicolon = header.Find(L';');
    if (semicolon < 0)
        return 0.0;
    const int count = semicolon - colon - 1;
    if (count <= 0)
        return 0.0;
    return ReadDecimalNumber(header.GetString() + colon + 1, static_cast<size_t>(count));
}

EDataFileRead ParseDataFile(const char* bytes, size_t length, CObArray& out)
{
    LineReader lines(bytes, length);
    const char* begin = nullptr;
    size_t size = 0;
    const size_t headerLength = sizeof kDataFileHeader - 1;
    if (!lines.Next(&begin, &size) || size < headerLength || std::memcmp(begin, kDataFileHeader, headerLength) != 0)
        return EDataFileRead::WrongFormat;
    const double interval = HeaderInterval(LineText(begin, size));

    std::vector<std::unique_ptr<CObjData>> read;
    while (lines.Next(&begin, &size) && size > 0) {
        if (read.size() == kDataFileMaxRecords)
            return EDataFileRead::TooLarge;
        read.emplace_back(RecordOfLine(LineText(begin, size), interval));
    }
    for (auto& record : read)
        out.Add(record.release());
    return EDataFileRead::Read;
}

}  // namespace meterfiles
