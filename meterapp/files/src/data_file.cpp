#include "meterfiles/data_file.h"

#include "meterfiles/decimal_text.h"
#include "meterfiles/file_store.h"

#include <afx/fixed.h>
#include <win32/text.h>

#include <algorithm>
#include <cstring>
#include <utility>

namespace meterfiles {

const char kDataFileHeader[] = "VELDMARK KV415 DATA LOGGER SamplingRate";

namespace {

void AppendUtf8(std::string& out, const CString& text)
{
    out += win32::Utf8FromWide(text.GetString());
}

bool IsAscii(const char* begin, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (static_cast<unsigned char>(begin[i]) >= 0x80)
            return false;
    return true;
}

CString WidenAscii(const char* begin, size_t length)
{
    CString text;
    wchar_t* out = text.GetBufferSetLength(static_cast<int>(length));
    for (size_t i = 0; i < length; ++i)
        out[i] = static_cast<unsigned char>(begin[i]);
    text.ReleaseBuffer(static_cast<int>(length));
    return text;
}

// A line's characters: bytes below 0x80 as they are, the rest as UTF-8.
CString LineText(const char* begin, size_t length)
{
    if (IsAscii(begin, length))
        return WidenAscii(begin, length);
    const std::wstring wide = win32::WideFromUtf8(std::string(begin, length));
    return CString(wide.c_str(), static_cast<int>(wide.size()));
}

CObjData* RecordOfLine(const char* begin, size_t size, double interval);
double HeaderInterval(const char* begin, size_t size);

// The lines of a data file, fed to it one by one.
class Parser {
public:
    explicit Parser(CObArray& out) : m_out(out) {}
    ~Parser() { DeleteAllRecords(&m_read); }

    // Takes the next line (without its LF, nor a CR right before that LF);
    // false once the records are over.
    bool Line(const char* begin, size_t size)
    {
        if (!m_headerSeen) {
            const size_t headerLength = sizeof kDataFileHeader - 1;
            if (size < headerLength || std::memcmp(begin, kDataFileHeader, headerLength) != 0) {
                m_result = EDataFileRead::WrongFormat;
                return false;
            }
            m_headerSeen = true;
            m_interval = HeaderInterval(begin, size);
            m_result = EDataFileRead::Read;
            return true;
        }
        if (size == 0)
            return false;
        if (m_read.GetSize() == static_cast<INT_PTR>(kDataFileMaxRecords)) {
            m_result = EDataFileRead::TooLarge;
            return false;
        }
        CObjData* record = RecordOfLine(begin, size, m_interval);
        if (!record) {
            m_result = EDataFileRead::WrongFormat;
            return false;
        }
        m_read.Add(record);
        return true;
    }

    // The result; on Read the records go to `out`.
    EDataFileRead Finish(EDataFileRead result)
    {
        if (result == EDataFileRead::Read)
            result = m_result;
        if (result == EDataFileRead::Read) {
            m_out.Append(m_read);
            m_read.RemoveAll();
        }
        return result;
    }

private:
    CObArray& m_out;
    CObArray m_read;
    bool m_headerSeen = false;
    double m_interval = 0;
    EDataFileRead m_result = EDataFileRead::WrongFormat;  // until a header is seen
};

// Feeds the complete lines of bytes[0, length) to the parser; the count of
// bytes taken (up to the end of the last complete line), or `length` when
// the parser wants no more.
size_t FeedLines(Parser& parser, const char* bytes, size_t length, bool last, bool* done)
{
    size_t at = 0;
    while (at < length) {
        const char* newline = static_cast<const char*>(std::memchr(bytes + at, '\n', length - at));
        if (!newline && !last)
            break;
        const size_t end = newline ? static_cast<size_t>(newline - bytes) : length;
        size_t size = end - at;
        if (newline && size > 0 && bytes[end - 1] == '\r')
            --size;
        if (!parser.Line(bytes + at, size)) {
            *done = true;
            return length;
        }
        at = newline ? end + 1 : length;
    }
    return at;
}

// The number between the first ':' and the first ';' of a header line, 0
// when there is none.
double HeaderInterval(const char* begin, size_t size)
{
    const char* const end = begin + size;
    const char* const semicolon = std::find(begin, end, ';');
    if (semicolon == end)
        return 0.0;
    const char* const colon = std::find(begin, end, ':');
    const char* const from = colon == end ? begin : colon + 1;
    if (from >= semicolon)
        return 0.0;
    return ReadDecimalNumber(from, static_cast<size_t>(semicolon - from));
}

// Where the last four characters of a text lie, less a final CR and a first blank.
template <class Char> void LastFour(const Char* text, int length, int* start, int* count)
{
    *start = std::max(length - 4, 0);
    *count = length - *start;
    if (*count > 0 && text[*start + *count - 1] == '\r')
        --*count;
    if (*count > 0 && text[*start] == ' ') {
        ++*start;
        --*count;
    }
}

// The unit: the last four characters of a line, less a final CR and a first
// blank. They are found in a tail that starts at a byte below 0x80, where
// the decoding of the whole line also starts a character, and that holds at
// least four characters unless it is the whole line.
CString UnitOfLine(const char* begin, size_t size)
{
    constexpr size_t kFourCharacters = 16;
    size_t from = size > kFourCharacters ? size - kFourCharacters : 0;
    while (from > 0 && static_cast<unsigned char>(begin[from]) >= 0x80)
        --from;
    const char* const tail = begin + from;
    const int length = static_cast<int>(size - from);
    int start = 0;
    int count = 0;
    if (IsAscii(tail, size - from)) {
        LastFour(tail, length, &start, &count);
        return WidenAscii(tail + start, static_cast<size_t>(count));
    }
    const CString text = LineText(tail, size - from);
    LastFour(text.GetString(), text.GetLength(), &start, &count);
    return text.Mid(start, count);
}

// The record of a line, cut as the program always has: the date-time is
// everything before the second comma (before the first when there is one
// only), the level the number between the second and the third comma. Commas
// are single bytes that no character of the UTF-8 text spans, so the line is
// cut on its bytes. Null when the date-time text is longer than any a record
// has.
CObjData* RecordOfLine(const char* begin, size_t size, double interval)
{
    const char* const end = begin + size;
    const char* const first = std::find(begin, end, ',');
    const char* const second = first == end ? end : std::find(first + 1, end, ',');
    const char* const dateEnd = second != end ? second : (first != end ? first : begin);
    const size_t dateBytes = static_cast<size_t>(dateEnd - begin);
    // A character takes at most four bytes.
    if (dateBytes > 4 * static_cast<size_t>(kDataFileMaxDateTimeLength))
        return nullptr;
    CString dateTime = LineText(begin, dateBytes);
    if (dateTime.GetLength() > kDataFileMaxDateTimeLength)
        return nullptr;
    double level = 0.0;
    if (second != end) {
        const char* const third = std::find(second + 1, end, ',');
        if (third != end)
            level = ReadDecimalNumber(second + 1, static_cast<size_t>(third - second - 1));
    }
    return new CObjData(level, std::move(dateTime), UnitOfLine(begin, size), 0, interval);
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
    AfxAppendFixed(out, RecordAt(records, 0)->m_dInterval, 2, 1);
    out += ";\r\n";
    for (INT_PTR i = 0; i < records.GetSize(); ++i) {
        const CObjData* record = RecordAt(records, i);
        AppendUtf8(out, record->m_strDateTime);
        out += ", ";
        AfxAppendFixed(out, record->m_dValue, 5, 2);
        out += ", ";
        AppendUtf8(out, record->m_strUnit);
        out += "\r\n";
    }
    return out;
}

EDataFileRead ParseDataFile(const char* bytes, size_t length, CObArray& out)
{
    Parser parser(out);
    bool done = false;
    FeedLines(parser, bytes, length, true, &done);
    return parser.Finish(EDataFileRead::Read);
}

EDataFileRead ReadDataFile(const CString& path, CObArray& out, CString* problem)
{
    FileReader file;
    if (!file.Open(path, problem))
        return EDataFileRead::Failed;
    Parser parser(out);
    // The bytes read and not yet taken: at most one line and one piece.
    std::string pending;
    size_t total = 0;
    bool done = false;
    char piece[1 << 16];
    while (!done) {
        const long n = file.Read(piece, sizeof piece, problem);
        if (n < 0)
            return EDataFileRead::Failed;
        total += static_cast<size_t>(n);
        if (total > kDataFileMaxBytes)
            return EDataFileRead::TooLarge;
        pending.append(piece, static_cast<size_t>(n));
        // A piece without a line end completes no line: a long line is not
        // searched again for every piece of it.
        if (n > 0 && !std::memchr(piece, '\n', static_cast<size_t>(n)))
            continue;
        const size_t taken = FeedLines(parser, pending.data(), pending.size(), n == 0, &done);
        pending.erase(0, taken);
        if (n == 0)
            break;
    }
    return parser.Finish(EDataFileRead::Read);
}

}  // namespace meterfiles
