#include "afx/exception.h"

#include <cwchar>

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CInvalidArgException, CException)

namespace {

BOOL CopyMessage(const wchar_t* message, LPWSTR text, UINT maxChars, UINT* helpContext)
{
    if (helpContext)
        *helpContext = 0;
    if (!text || maxChars == 0)
        return FALSE;
    std::wcsncpy(text, message, maxChars - 1);
    text[maxChars - 1] = L'\0';
    return message[0] != L'\0';
}

}  // namespace

CException::CException(BOOL autoDelete) : m_bAutoDelete(autoDelete) {}

BOOL CException::GetErrorMessage(LPWSTR text, UINT maxChars, UINT* helpContext) const
{
    return CopyMessage(L"", text, maxChars, helpContext);
}

void CException::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

BOOL CInvalidArgException::GetErrorMessage(LPWSTR text, UINT maxChars, UINT* helpContext) const
{
    return CopyMessage(L"An invalid argument was encountered.", text, maxChars, helpContext);
}
