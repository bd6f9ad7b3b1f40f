// Text files, clock times and rectangles of the framework core.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <unistd.h>

#include "afx/ctime.h"
#include "afx/file.h"
#include "afx/geometry.h"
#include "support/pipe_watch.h"
#include "support/tempdir.h"

namespace {

class TempFile {
public:
    TempFile()
    {
        char name[] = "/tmp/afx_file_XXXXXX";
        int fd = mkstemp(name);
        close(fd);
        m_path = name;
    }
    ~TempFile() { std::remove(m_path.c_str()); }
    std::wstring Wide() const { return std::wstring(m_path.begin(), m_path.end()); }
    std::string Bytes() const
    {
        std::ifstream in(m_path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    void Write(const std::string& bytes) const
    {
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }

private:
    std::string m_path;
};

TEST(StdioFile, TextModeWritesCrLfAndReadsLinesBack)
{
    TempFile file;
    {
        CStdioFile f;
        ASSERT_TRUE(f.Open(file.Wide().c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeText));
        f.WriteString(L"VELDMARK KV415 DATA LOGGER SamplingRate:0.5;\n");
        f.WriteString(L"01-02-2026,10:11:12, 55.20, dBA\n");
        f.WriteString(L"last line without end");
        f.Close();
    }
    EXPECT_EQ(file.Bytes(),
              "VELDMARK KV415 DATA LOGGER SamplingRate:0.5;\r\n01-02-2026,10:11:12, 55.20, dBA\r\nlast line without end");

    CStdioFile f;
    ASSERT_TRUE(f.Open(file.Wide().c_str(), CFile::modeRead | CFile::typeText));
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, L"VELDMARK KV415 DATA LOGGER SamplingRate:0.5;");
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, L"01-02-2026,10:11:12, 55.20, dBA");
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, L"last line without end");
    EXPECT_FALSE(f.ReadString(line));
    EXPECT_TRUE(line.IsEmpty());
}

TEST(StdioFile, EightBitTextRoundTripsAndWideCharactersBecomeQuestionMarks)
{
    TempFile file;
    {
        CStdioFile f(file.Wide().c_str(), CFile::modeCreate | CFile::modeWrite);
        f.WriteString(L"d\u00e9cibel \u00b0C \u4e2d\n");
    }
    EXPECT_EQ(file.Bytes(), std::string("d\xe9" "cibel \xb0" "C ?\r\n"));
    CStdioFile f(file.Wide().c_str(), CFile::modeRead);
    CString line;
    ASSERT_TRUE(f.ReadString(line));
    EXPECT_EQ(line, L"d\u00e9cibel \u00b0C ?");
}

TEST(StdioFile, ReadsLfOnlyAndEmptyLinesAndStopsAtTheEnd)
{
    TempFile file;
    file.Write("one\n\ntwo\r\n\r\n");
    CStdioFile f(file.Wide().c_str(), CFile::modeRead | CFile::typeText);
    CString line;
    std::vector<std::wstring> lines;
    while (f.ReadString(line))
        lines.push_back(line.GetString());
    EXPECT_EQ(lines, (std::vector<std::wstring>{L"one", L"", L"two", L""}));
}

TEST(StdioFile, BinaryModeKeepsBytesAsTheyAre)
{
    TempFile file;
    {
        CStdioFile f(file.Wide().c_str(), CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        f.WriteString(L"a\nb");
    }
    EXPECT_EQ(file.Bytes(), "a\nb");
}

TEST(StdioFile, OpenFailuresAreReportedNotThrownByOpen)
{
    CStdioFile f;
    CFileException error;
    EXPECT_FALSE(f.Open(L"/nonexistent-dir/x.txt", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_FALSE(f.Open(L"", CFile::modeRead));
    bool thrown = false;
    try {
        CStdioFile g(L"/nonexistent-dir/x.txt", CFile::modeRead);
    } catch (CFileException* e) {
        thrown = true;
        EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST(StdioFile, OpensRegularFilesOnlyAndNeverWaitsOnAPipe)
{
    testutil::TempDir dir;
    const std::string pipe = dir.path() + "/pipe.txt";
    testutil::MakePipe(pipe);
    const std::wstring widePipe(pipe.begin(), pipe.end());
    for (UINT flags : {UINT(CFile::modeRead), UINT(CFile::modeCreate | CFile::modeWrite), UINT(CFile::modeReadWrite)}) {
        CStdioFile f;
        CFileException error;
        BOOL opened = TRUE;
        EXPECT_TRUE(testutil::ReturnsWithoutWaitingOn(pipe, [&] { opened = f.Open(widePipe.c_str(), flags, &error); }))
            << flags;
        EXPECT_FALSE(opened) << flags;
        EXPECT_EQ(error.m_cause, CFileException::invalidFile) << flags;
    }
    const std::string zero = dir.path() + "/zero.txt";
    ASSERT_EQ(symlink("/dev/zero", zero.c_str()), 0);
    for (const std::string& path : {zero, std::string("/dev/null"), dir.path()}) {
        const std::wstring wide(path.begin(), path.end());
        CStdioFile f;
        EXPECT_FALSE(f.Open(wide.c_str(), CFile::modeRead)) << path;
        EXPECT_FALSE(f.Open(wide.c_str(), CFile::modeCreate | CFile::modeWrite)) << path;
    }
}

TEST(Time, FieldsFormatAndArithmetic)
{
    CTime t(2026, 3, 4, 5, 6, 7);
    EXPECT_EQ(t.GetYear(), 2026);
    EXPECT_EQ(t.GetMonth(), 3);
    EXPECT_EQ(t.GetDay(), 4);
    EXPECT_EQ(t.GetHour(), 5);
    EXPECT_EQ(t.GetMinute(), 6);
    EXPECT_EQ(t.GetSecond(), 7);
    EXPECT_EQ(t.Format(L"%Y-%m-%d %H:%M:%S"), L"2026-03-04 05:06:07");
    CTime later = t + CTimeSpan(0, 1, 0, 30);
    EXPECT_EQ((later - t).GetTotalSeconds(), 3630);
    EXPECT_EQ(later.GetHour(), 6);
    EXPECT_EQ(later.GetSecond(), 37);
    EXPECT_EQ(CTime(2026, 13, 1, 0, 0, 0).GetTime(), -1);
    EXPECT_GE(CTime::GetCurrentTime().GetYear(), 2024);
}

TEST(Time, HoldsTheYears1900To3000BothWays)
{
    std::tm tm{};
    const CTime last(3000, 12, 31, 23, 59, 59);
    ASSERT_NE(last.GetLocalTm(&tm), nullptr);
    EXPECT_EQ(tm.tm_year + 1900, 3000);
    EXPECT_EQ(last.GetYear(), 3000);
    EXPECT_EQ(CTime(1900, 1, 1, 0, 0, 0).GetYear(), 1900);
    for (int year : {3001, 1899, INT_MAX, INT_MIN, -1})
        EXPECT_EQ(CTime(year, 1, 1, 0, 0, 0).GetTime(), -1) << year;
    // A time past the last year breaks down to nothing rather than a year no int holds.
    for (std::time_t t : {last.GetTime() + 1, std::time_t(67768036191676799), std::numeric_limits<std::time_t>::max()})
        EXPECT_EQ(CTime(t).GetLocalTm(&tm), nullptr) << t;
}

TEST(Geometry, RectangleOperations)
{
    CRect r(10, 20, 110, 70);
    EXPECT_EQ(r.Width(), 100);
    EXPECT_EQ(r.Height(), 50);
    EXPECT_TRUE(r.PtInRect(CPoint(10, 20)));
    EXPECT_FALSE(r.PtInRect(CPoint(110, 20)));
    CRect overlap;
    EXPECT_TRUE(overlap.IntersectRect(r, CRect(100, 60, 200, 200)));
    EXPECT_EQ(overlap, CRect(100, 60, 110, 70));
    EXPECT_FALSE(overlap.IntersectRect(r, CRect(200, 200, 300, 300)));
    EXPECT_TRUE(overlap.IsRectNull());
    CRect flipped(5, 5, 0, 0);
    flipped.NormalizeRect();
    EXPECT_EQ(flipped, CRect(0, 0, 5, 5));
}

}  // namespace
