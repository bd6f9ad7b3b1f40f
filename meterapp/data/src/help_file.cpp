#include "meterdata/help_file.h"

CString HelpFilePath(const CString& programPath)
{
    const int slash = programPath.ReverseFind(L'/');
    CString folder = slash < 0 ? CString() : programPath.Left(slash);
    if (!folder.IsEmpty() && folder[folder.GetLength() - 1] == L'/')
        return folder + L"KV415.chm";
    return folder + L"/KV415.chm";
}
