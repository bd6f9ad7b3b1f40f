#include "seriallink/SerialPort.h"

#include "win32/system.h"

#include <cwchar>

IMPLEMENT_DYNAMIC(CSerialException, CException)

CSerialException::CSerialException(DWORD error) : m_dwError(error) {}

BOOL CSerialException::GetErrorMessage(LPWSTR text, UINT maxChars, UINT* helpContext) const
{
    if (helpContext)
        *helpContext = 0;
    LPWSTR systemText = nullptr;
    const DWORD found = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                                           FORMAT_MESSAGE_FROM_SYSTEM,
                                       nullptr, m_dwError, MAKELANGID(LANG_NEUTRAL, SUBLANG_SYS_DEFAULT),
                                       reinterpret_cast<LPWSTR>(&systemText), 0, nullptr);
    if (found == 0 || !systemText) {
        if (text && maxChars > 0)
            text[0] = L'\0';
        return FALSE;
    }
    const bool copied = text && maxChars > 0;
    if (copied) {
        std::wcsncpy(text, systemText, maxChars - 1);
        text[maxChars - 1] = L'\0';
    }
    LocalFree(systemText);
    return copied ? TRUE : FALSE;
}
