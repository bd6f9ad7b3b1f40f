// The data file as bytes: what the writers produce, how the reader cuts lines
// and where it refuses a file.
#include "meterfiles/data_file.h"
#include "meterfiles/decimal_text.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using meterfiles::EDataFileRead;
using meterfiles::ParseDataFile;

// An owning array of records for one test.
struct Records {
    CObArray array;
    ~Records() { DeleteAllRecords(&array); }
    void Add(double value, const wchar_t* dateTime, const wchar_t* unit, int set, double interval)
    {
        array.Add(new CObjData(value, dateTime, unit, set, interval));
    }
    const CObjData& operator[](INT_PTR i) const { return *RecordAt(array, i); }
    INT_PTR Size() const { return array.GetSize(); }
};

EDataFileRead Parse(const std::string& bytes, Records& out)
{
    return ParseDataFile(bytes.data(), bytes.size(), out.array);
}

TEST(DataFileWriter, WritesTheHeaderAndOneCrLfLinePerRecord)
{
    Records records;
    records.Add(65.3, L"15-06-2011,13:30:00", L"dBA", 0, 0.5);
    records.Add(5.3, L"15-06-2011,13:30:01", L"dBC", 0, 2.0);
    records.Add(100.5, L"15-06-2011,13:30:02", L"dBA", 0, 2.0);
    EXPECT_EQ(meterfiles::FormatDataFile(records.array),
        "VELDMARK KV415 DATA LOGGER SamplingRate:0.5;\r\n"
        "15-06-2011,13:30:00, 65.30, dBA\r\n"
        "15-06-2011,13:30:01,  5.30, dBC\r\n"
        "15-06-2011,13:30:02, 100.50, dBA\r\n");
}

// As on Windows: exact ties away from zero, other values as their binary value rounds.
TEST(DataFileWriter, RoundsExactTiesAwayFromZero)
{
    Records records;
    records.Add(60.125, L"15-06-2011,13:30:00", L"dBA", 0, 1.0);
    records.Add(5.125, L"15-06-2011,13:30:01", L"dBA", 0, 1.0);
    records.Add(1.005, L"15-06-2011,13:30:02", L"dBA", 0, 1.0);
    EXPECT_EQ(meterfiles::FormatDataFile(records.array),
        "VELDMARK KV415 DATA LOGGER SamplingRate:1.0;\r\n"
        "15-06-2011,13:30:00, 60.13, dBA\r\n"
        "15-06-2011,13:30:01,  5.13, dBA\r\n"
        "15-06-2011,13:30:02,  1.00, dBA\r\n");
}

TEST(DataFileWriter, TakesTheFirstRecordsIntervalWithOneDecimalAndWritesNothingForNoRecords)
{
    Records records;
    records.Add(40, L"01-01-2026,00:00:00", L"dBA", 3, 10);
    records.Add(41, L"01-01-2026,00:00:10", L"dBA", 3, 0.1);
    EXPECT_EQ(meterfiles::FormatDataFile(records.array).substr(0, 47),
        "VELDMARK KV415 DATA LOGGER SamplingRate:10.0;\r\n");
    EXPECT_EQ(meterfiles::FormatDataFile(CObArray()), "");
}

TEST(DataFileReader, ReadsBackWhatTheWriterWroteAsRecordingZeroWithTheHeadersInterval)
{
    Records written;
    written.Add(65.3, L"08-12-2011,9:05:00", L"dBA", 2, 2.0);
    written.Add(5.3, L"08-12-2011,9:05:02", L"dBC", 2, 2.0);
    written.Add(100.5, L"08-12-2011,10:05:04", L"dBA", 3, 5.0);
    Records read;
    ASSERT_EQ(Parse(meterfiles::FormatDataFile(written.array), read), EDataFileRead::Read);
    ASSERT_EQ(read.Size(), 3);
    for (INT_PTR i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(read[i].m_strDateTime, written[i].m_strDateTime);
        EXPECT_EQ(read[i].m_strUnit, written[i].m_strUnit);
        EXPECT_DOUBLE_EQ(read[i].m_dValue, written[i].m_dValue);
        EXPECT_EQ(read[i].m_nRecordSet, 0);
        EXPECT_DOUBLE_EQ(read[i].m_dInterval, 2.0);
    }
}

TEST(DataFileReader, RefusesAnotherFirstLineAndLeavesTheArrayAsItWas)
{
    for (const std::string& bytes : { std::string(), std::string("\r\n"),
             std::string("veldmark KV415 DATA LOGGER SamplingRate:0.5;\r\n1,2, 3, dBA\r\n"),
             std::string("VELDMARK KV415 DATA LOGGER Samplingrate:0.5;\r\n"),
             std::string(" VELDMARK KV415 DATA LOGGER SamplingRate:0.5;\r\n"),
             std::string("VELDMARK KV415 DATA LOGGER SamplingRat") }) {
        SCOPED_TRACE(bytes);
        Records read;
        read.Add(1, L"kept", L"dBA", 4, 1);
        EXPECT_EQ(Parse(bytes, read), EDataFileRead::WrongFormat);
        ASSERT_EQ(read.Size(), 1);
        EXPECT_EQ(read[0].m_strDateTime, L"kept");
    }
}

TEST(DataFileReader, TakesTheIntervalBetweenTheFirstColonAndTheFirstSemicolon)
{
    struct Case {
        const char* header;
        double interval;
    } cases[] = {
        { "VELDMARK KV415 DATA LOGGER SamplingRate", 0 },
        { "VELDMARK KV415 DATA LOGGER SamplingRate:0.5", 0 },
        { "VELDMARK KV415 DATA LOGGER SamplingRate: 2.5;", 2.5 },
        { "VELDMARK KV415 DATA LOGGER SamplingRate:10.0;x:3;", 10 },
        { "VELDMARK KV415 DATA LOGGER SamplingRate;:5", 0 },
        { "VELDMARK KV415 DATA LOGGER SamplingRate:abc;", 0 },
        { "VELDMARK KV415 DATA LOGGER SamplingRate:1.5e1s;", 15 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        Records read;
        ASSERT_EQ(Parse(std::string(c.header) + "\r\n01-01-2026,00:00:00, 50.00, dBA\r\n", read),
            EDataFileRead::Read);
        ASSERT_EQ(read.Size(), 1);
        EXPECT_DOUBLE_EQ(read[0].m_dInterval, c.interval);
    }
}

TEST(DataFileReader, StopsAtTheFirstEmptyLineAndReadsAHeaderAloneAsNoRecords)
{
    Records read;
    ASSERT_EQ(Parse("VELDMARK KV415 DATA LOGGER SamplingRate:1.0;\r\n"
                    "01-01-2026,00:00:00, 50.00, dBA\r\n"
                    "\r\n"
                    "01-01-2026,00:00:01, 51.00, dBA\r\n",
                  read),
        EDataFileRead::Read);
    EXPECT_EQ(read.Size(), 1);

    Records none;
    EXPECT_EQ(Parse("VELDMARK KV415 DATA LOGGER SamplingRate:1.0;\r\n", none), EDataFileRead::Read);
    EXPECT_EQ(none.Size(), 0);
}

TEST(DataFileReader, CutsMalformedLinesAsThePartsFallAndNeverFails)
{
    struct Case {
        const char* line;
        const wchar_t* dateTime;
        double value;
        const wchar_t* unit;
    } cases[] = {
        { "no commas here dBA", L"", 0, L"dBA" },
        { "ab", L"", 0, L"ab" },
        { "one,comma 12.5", L"one", 0, L"12.5" },
        { "a,b, 7.25", L"a,b", 0, L"7.25" },
        { "a,b,x12,dBC", L"a,b", 0, L",dBC" },
        { ",,5, dBA", L",", 5, L"dBA" },
        { "d,t,   -3.5e1 junk, u", L"d,t", -35, L"k, u" },
        { "d,t, 1e999, dBA", L"d,t", 0, L"dBA" },
        { "d,t, inf, dBA", L"d,t", 0, L"dBA" },
        { "d,t, 65.30, dBA\r\r", L"d,t", 65.3, L"dBA" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Records read;
        ASSERT_EQ(Parse(std::string("VELDMARK KV415 DATA LOGGER SamplingRate:1.0;\n") + c.line + "\n", read),
            EDataFileRead::Read);
        ASSERT_EQ(read.Size(), 1);
        EXPECT_EQ(read[0].m_strDateTime, c.dateTime);
        EXPECT_DOUBLE_EQ(read[0].m_dValue, c.value);
        EXPECT_EQ(read[0].m_strUnit, c.unit);
    }
}

TEST(DataFileReader, ReadsLfOnlyLinesAndALastLineWithoutLineEnd)
{
    Records read;
    ASSERT_EQ(Parse("VELDMARK KV415 DATA LOGGER SamplingRate:0.5;\n"
                    "15-06-2011,13:30:00, 65.30, dBA\n"
                    "15-06-2011,13:30:01, 66.00, dBC",
                  read),
        EDataFileRead::Read);
    ASSERT_EQ(read.Size(), 2);
    EXPECT_EQ(read[1].m_strUnit, L"dBC");
    EXPECT_DOUBLE_EQ(read[1].m_dValue, 66.0);
}

TEST(DataFileReader, KeepsUtf8TextsAndTurnsBrokenBytesIntoReplacementCharacters)
{
    const char bytes[] = "VELDMARK KV415 DATA LOGGER SamplingRate:1.0;\n"
                         "caf\xc3\xa9,12:00, 50.00, d\xc2\xb5"
                         "A\n"
                         "\xff\xfe,x\x01, 1.00, \x80\n"
                         "01-01-2020,0:0:0, 3.00, \xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\xe2\x82\xac\n";
    Records read;
    ASSERT_EQ(Parse(std::string(bytes, sizeof bytes - 1), read), EDataFileRead::Read);
    ASSERT_EQ(read.Size(), 3);
    EXPECT_EQ(read[0].m_strDateTime, L"caf\u00e9,12:00");
    EXPECT_EQ(read[0].m_strUnit, L"d\u00b5A");
    EXPECT_EQ(read[1].m_strDateTime, L"\ufffd\ufffd,x\x01");
    EXPECT_DOUBLE_EQ(read[1].m_dValue, 1.0);
    EXPECT_EQ(read[1].m_strUnit, L"0, \ufffd");
    EXPECT_EQ(read[2].m_strUnit, L"\u20ac\u20ac\u20ac\u20ac");   // four characters, not four bytes
}

TEST(DataFileReader, RefusesMoreRecordsThanAnyRecordingHoldsWithoutTouchingTheArray)
{
    std::string bytes = "VELDMARK KV415 DATA LOGGER SamplingRate:1.0;\n";
    bytes.reserve(bytes.size() + 2 * (meterfiles::kDataFileMaxRecords + 1));
    for (size_t i = 0; i <= meterfiles::kDataFileMaxRecords; ++i)
        bytes += "x\n";
    Records read;
    read.Add(1, L"kept", L"dBA", 4, 1);
    EXPECT_EQ(Parse(bytes, read), EDataFileRead::TooLarge);
    EXPECT_EQ(read.Size(), 1);

    bytes.resize(bytes.size() - 2);
    Records all;
    EXPECT_EQ(Parse(bytes, all), EDataFileRead::Read);
    EXPECT_EQ(static_cast<size_t>(all.Size()), meterfiles::kDataFileMaxRecords);
}

TEST(DataFileReader, ADateTimeLongerThanAnyRecordHasMakesTheFileWrongButALevelReadsAtAnyLength)
{
    const std::string header = "VELDMARK KV415 DATA LOGGER SamplingRate:1.0;\r\n";
    const std::string longest = "31-12--2147483648,23:59:59";
    struct Case {
        std::string dateTime;
        EDataFileRead result;
    } cases[] = {
        { longest, EDataFileRead::Read },
        { std::string(meterfiles::kDataFileMaxDateTimeLength - 3, '7') + ",00", EDataFileRead::Read },
        { std::string(meterfiles::kDataFileMaxDateTimeLength - 2, '7') + ",00", EDataFileRead::WrongFormat },
        { std::string(10u << 20, '7') + ",00:00:00", EDataFileRead::WrongFormat },
        // Characters, not bytes, count.
        { "\xc3\xa9" + std::string(meterfiles::kDataFileMaxDateTimeLength - 3, '7') + ",0", EDataFileRead::Read },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dateTime.size());
        Records read;
        read.Add(50, L"kept", L"dBA", 3, 1);
        ASSERT_EQ(Parse(header + "01-01-2020,0:0:0, 2.00, dBA\r\n" + c.dateTime + ", 1.00, dBA\r\n", read),
            c.result);
        ASSERT_EQ(read.Size(), c.result == EDataFileRead::Read ? 3 : 1);
        EXPECT_EQ(read[0].m_strDateTime, L"kept");
    }

    Records read;
    ASSERT_EQ(Parse(header + longest + ", " + std::string(10u << 20, '0') + "1.00, dBA\r\n", read),
        EDataFileRead::Read);
    ASSERT_EQ(read.Size(), 1);
    EXPECT_DOUBLE_EQ(read[0].m_dValue, 1.0);
    EXPECT_EQ(read[0].m_strUnit, L"dBA");
}

TEST(DecimalText, ReadsTheLeadingDecimalNumberOnly)
{
    struct Case {
        std::string text;
        double value;
    } cases[] = {
        { " 65.30", 65.3 }, { "\t+2", 2 }, { ".5", 0.5 }, { "5.", 5 }, { "1e", 1 }, { "1e+2x", 100 },
        { "-", 0 }, { "abc", 0 }, { "nan", 0 }, { "0x10", 0 }, { "1e-400", 0 }, { "", 0 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_DOUBLE_EQ(meterfiles::ReadDecimalNumber(c.text.data(), c.text.size()), c.value);
    }
}

}  // namespace
