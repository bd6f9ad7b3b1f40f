#include "meterproto/port_search.h"

#include <climits>
#include <cwchar>

namespace meterproto {

bool FindMeterPort(const std::vector<CString>& friendlyNames, int* portNumber)
{
    const int prefixLength = static_cast<int>(std::wcslen(kMeterPortPrefix));
    CString remainder;
    for (const CString& name : friendlyNames) {
        // The bare prefix names no port, so it is no match and does not
        // displace an earlier one.
        if (name.GetLength() > prefixLength && name.Left(prefixLength) == kMeterPortPrefix)
            remainder = name.Mid(prefixLength);
    }
    if (remainder.IsEmpty())
        return false;
    if (portNumber != nullptr)
        *portNumber = MeterPortNumberFromRemainder(remainder);
    return true;
}

int MeterPortNumberFromRemainder(const CString& remainder)
{
    CString rest = remainder;
    rest.Trim(kMeterPortTrimSet);
    int number = 0;
    for (int i = 0; i < rest.GetLength(); ++i) {
        const wchar_t ch = rest.GetAt(i);
        if (ch < L'0' || ch > L'9')
            break;
        const int digit = ch - L'0';
        number = number > (INT_MAX - digit) / 10 ? INT_MAX : number * 10 + digit;
    }
    return number;
}

}  // namespace meterproto
