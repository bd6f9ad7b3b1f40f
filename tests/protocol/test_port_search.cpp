#include "meterproto/port_search.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

namespace {

using meterproto::FindMeterPort;

// -1 when the search finds nothing.
int Search(const std::vector<const wchar_t*>& friendlyNames)
{
    const std::vector<CString> names(friendlyNames.begin(), friendlyNames.end());
    int number = -1;
    return FindMeterPort(names, &number) ? number : -1;
}

TEST(PortSearch, FindsTheBridgeByItsFriendlyName)
{
    struct Case {
        std::vector<const wchar_t*> names;
        int expected;
    };
    const Case cases[] = {
        { {}, -1 },
        { { L"Communications Port (COM1)", L"USB Serial Port (COM5)" }, -1 },
        { { L"Silicon Labs CP210x USB to UART Bridge (COM4)" }, 4 },
        { { L"Silicon Labs CP210x USB to UART Bridge (COM12)" }, 12 },
        { { L"Communications Port (COM1)", L"Silicon Labs CP210x USB to UART Bridge (COM35)",
            L"USB Serial Port (COM5)" },
          35 },
        // The later of two bridges wins.
        { { L"Silicon Labs CP210x USB to UART Bridge (COM3)", L"Silicon Labs CP210x USB to UART Bridge (COM7)" }, 7 },
        { { L"Silicon Labs CP210x USB to UART Bridge (COM7)", L"Silicon Labs CP210x USB to UART Bridge (COM3)" }, 3 },
        // The prefix is compared with its letter case.
        { { L"silicon labs cp210x usb to uart bridge (COM4)" }, -1 },
        { { L"SILICON LABS CP210X USB TO UART BRIDGE (COM4)" }, -1 },
        { { L"Silicon Labs CP210x USB to UART" }, -1 },
        // The bare prefix names no port: no match, and it does not hide an earlier one.
        { { L"Silicon Labs CP210x USB to UART Bridge" }, -1 },
        { { L"Silicon Labs CP210x USB to UART Bridge (COM6)", L"Silicon Labs CP210x USB to UART Bridge" }, 6 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names.empty() ? L"(none)" : c.names.back());
        EXPECT_EQ(Search(c.names), c.expected);
    }
}

TEST(PortSearch, NumberFromTheTrimmedRemainder)
{
    struct Case {
        const wchar_t* remainder;
        int expected;
    };
    const Case cases[] = {
        { L" (COM4)", 4 },
        { L" (COM12)", 12 },
        { L"(COM004)", 4 },
        { L"COM9", 9 },
        { L"  ((COM)) 21 ", 21 },
        { L" (COM5) spare", 5 },     // only the ends are trimmed
        { L" (COMx)", 0 },           // no leading digit
        { L" (LPT3)", 0 },
        { L" ", 0 },
        { L" (COM99999999999999)", INT_MAX },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.remainder);
        EXPECT_EQ(meterproto::MeterPortNumberFromRemainder(c.remainder), c.expected);
    }
    EXPECT_EQ(Search({ L"Silicon Labs CP210x USB to UART Bridge (COMx)" }), 0);
}

TEST(PortSearch, NothingFoundLeavesTheNumberAlone)
{
    int number = 17;
    EXPECT_FALSE(FindMeterPort({ CString(L"USB Serial Port (COM5)") }, &number));
    EXPECT_EQ(number, 17);
}

}  // namespace
