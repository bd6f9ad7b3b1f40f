#include "support/scopedenv.h"
#include "win32/errors.h"
#include "win32/system.h"
#include "win32/testing.h"
#include "win32/user.h"
#include "win32/internal.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <thread>

TEST(LastError, IsPerThread)
{
    SetLastError(ERROR_ACCESS_DENIED);
    DWORD seenByOther = 1234;
    std::thread([&] { seenByOther = GetLastError(); SetLastError(ERROR_IO_PENDING); }).join();
    EXPECT_EQ(seenByOther, ERROR_SUCCESS);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST(Version, Windows7UnlessATestReportsAnother)
{
    OSVERSIONINFOW w{};
    w.dwOSVersionInfoSize = sizeof(w);
    ASSERT_TRUE(GetVersionExW(&w));
    EXPECT_EQ(w.dwMajorVersion, 6u);
    EXPECT_EQ(w.dwMinorVersion, 1u);
    EXPECT_EQ(w.dwPlatformId, VER_PLATFORM_WIN32_NT);
    {
        // A shipped program obeys no switch in its environment.
        testutil::ScopedEnv version("WIN32_VERSION", "5.1.2600");
        testutil::ScopedEnv platform("WIN32_PLATFORM", "1");
        ASSERT_TRUE(GetVersionExW(&w));
        EXPECT_EQ(w.dwMajorVersion, 6u);
        EXPECT_EQ(w.dwPlatformId, VER_PLATFORM_WIN32_NT);
    }

    win32test::ScopedWindowsVersion reported(1, 5, 1, 2600);
    OSVERSIONINFOA a{};
    a.dwOSVersionInfoSize = 148;  // the record's size on Windows is accepted too
    ASSERT_TRUE(GetVersionExA(&a));
    EXPECT_EQ(a.dwMajorVersion, 5u);
    EXPECT_EQ(a.dwMinorVersion, 1u);
    EXPECT_EQ(a.dwBuildNumber, 2600u);
    EXPECT_EQ(a.dwPlatformId, 1u);

    a.dwOSVersionInfoSize = 12;
    SetLastError(0);
    EXPECT_FALSE(GetVersionExA(&a));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

TEST(Modules, Kernel32LookUps)
{
    HMODULE k1 = GetModuleHandleA("KERNEL32.DLL");
    HMODULE k2 = GetModuleHandleA("kernel32");
    ASSERT_NE(k1, nullptr);
    EXPECT_EQ(k1, k2);
    EXPECT_EQ(GetModuleHandleA("user32"), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
    EXPECT_EQ(GetProcAddress(k1, "NoSuchFunction"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, "IsWow64Process"), nullptr);
}

TEST(Modules, Wow64AnswersForThisMachineOrTheTestsSystem)
{
    HMODULE k = GetModuleHandleA("kernel32");
    auto ask = [&](BOOL* answer) {
        auto fn = reinterpret_cast<BOOL (*)(HANDLE, PBOOL)>(GetProcAddress(k, "IsWow64Process"));
        return fn && fn(GetCurrentProcess(), answer);
    };
    BOOL answer = 7;
    ASSERT_TRUE(ask(&answer));
    EXPECT_EQ(answer, sizeof(void*) == 8 ? TRUE : FALSE) << "this machine's answer";
    {
        win32test::ScopedWow64 wow(win32test::ScopedWow64::Answer::Yes);
        ASSERT_TRUE(ask(&answer));
        EXPECT_EQ(answer, TRUE);
    }
    {
        win32test::ScopedWow64 wow(win32test::ScopedWow64::Answer::No);
        ASSERT_TRUE(ask(&answer));
        EXPECT_EQ(answer, FALSE);
    }
    {
        win32test::ScopedWow64 wow(win32test::ScopedWow64::Answer::Missing);
        EXPECT_EQ(GetProcAddress(k, "IsWow64Process"), nullptr);
    }
}

TEST(Messages, KnownAndUnknownCodes)
{
    LPWSTR text = nullptr;
    DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_FROM_SYSTEM,
                             nullptr, ERROR_ACCESS_DENIED, MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT),
                             reinterpret_cast<LPWSTR>(&text), 0, nullptr);
    ASSERT_GT(n, 2u);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::wcslen(text), n);
    EXPECT_EQ(std::wstring(text + n - 2), L"\r\n");
    LocalFree(text);

    text = nullptr;
    EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM, nullptr, 0xDEADBEEF, 0,
                             reinterpret_cast<LPWSTR>(&text), 0, nullptr),
              0u);
    EXPECT_EQ(text, nullptr);
    EXPECT_EQ(GetLastError(), ERROR_MR_MID_NOT_FOUND);

    WCHAR small[4];
    EXPECT_EQ(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_ACCESS_DENIED, 0, small, 4, nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
}

namespace {
std::wstring g_seenText;
int RecordingHandler(HWND, LPCWSTR text, LPCWSTR, UINT) { g_seenText = text; return IDNO; }
}

TEST(MessageBox, HandlerAnswersElseDefaultButton)
{
    EXPECT_EQ(MessageBoxW(nullptr, L"a question", L"Tip", MB_YESNO), IDYES);
    EXPECT_EQ(MessageBoxW(nullptr, L"x", L"y", MB_YESNO | MB_DEFBUTTON2), IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, L"x", L"y", MB_OK), IDOK);
    win32::MessageBoxHandler old = win32::SetMessageBoxHandler(&RecordingHandler);
    EXPECT_EQ(MessageBoxW(nullptr, L"File not found!\r\n/x", L"Setwell", MB_OK), IDNO);
    EXPECT_EQ(g_seenText, L"File not found!\r\n/x");
    win32::SetMessageBoxHandler(old);
}
