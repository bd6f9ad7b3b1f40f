// Files, clock times and rectangles of the framework core.
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

TEST(File, OpenFailuresAreReportedNotThrownByOpen)
{
    CFile f;
    CFileException error;
    EXPECT_FALSE(f.Open(L"/nonexistent-dir/x.txt", CFile::modeRead, &error));
    EXPECT_EQ(error.m_cause, CFileException::fileNotFound);
    EXPECT_FALSE(f.Open(L"", CFile::modeRead));
}

TEST(File, OpensRegularFilesOnlyAndNeverWaitsOnAPipe)
{
    testutil::TempDir dir;
    const std::string pipe = dir.path() + "/pipe.txt";
    testutil::MakePipe(pipe);
    const std::wstring widePipe(pipe.begin(), pipe.end());
    for (UINT flags : {UINT(CFile::modeRead), UINT(CFile::modeCreate | CFile::modeWrite), UINT(CFile::modeReadWrite)}) {
        CFile f;
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
        CFile f;
        EXPECT_FALSE(f.Open(wide.c_str(), CFile::modeRead)) << path;
        EXPECT_FALSE(f.Open(wide.c_str(), CFile::modeCreate | CFile::modeWrite)) << path;
    }
}

TEST(Time, FieldsComeBackAsLocalTime)
{
    std::tm tm{};
    ASSERT_NE(CTime(2026, 3, 4, 5, 6, 7).GetLocalTm(&tm), nullptr);
    EXPECT_EQ(tm.tm_year + 1900, 2026);
    EXPECT_EQ(tm.tm_mon + 1, 3);
    EXPECT_EQ(tm.tm_mday, 4);
    EXPECT_EQ(tm.tm_hour, 5);
    EXPECT_EQ(tm.tm_min, 6);
    EXPECT_EQ(tm.tm_sec, 7);
    EXPECT_EQ(CTime(2026, 13, 1, 0, 0, 0).GetTime(), -1);
}

TEST(Time, HoldsTheYears1900To3000BothWays)
{
    std::tm tm{};
    const CTime last(3000, 12, 31, 23, 59, 59);
    ASSERT_NE(last.GetLocalTm(&tm), nullptr);
    EXPECT_EQ(tm.tm_year + 1900, 3000);
    ASSERT_NE(CTime(1900, 1, 1, 0, 0, 0).GetLocalTm(&tm), nullptr);
    EXPECT_EQ(tm.tm_year + 1900, 1900);
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
}

}  // namespace
