#include "meterfiles/file_names.h"

namespace meterfiles {

CString DefaultFileName(const std::tm& local, const wchar_t* extension)
{
    CString name;
    name.Format(L"%d-%d-%d %d-%d.%s", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
        local.tm_min, extension);
    return name;
}

}  // namespace meterfiles
