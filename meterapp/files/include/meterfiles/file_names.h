// The names the save dialogs propose.
#pragma once

#include <afx/cstring.h>

#include <ctime>

namespace meterfiles {

// "%d-%d-%d %d-%d.<extension>" of year, month, day, hour and minute, without
// leading zeros: 2026-2-3 9-5.xls at 9:05 on 3 February 2026.
CString DefaultFileName(const std::tm& local, const wchar_t* extension);

}  // namespace meterfiles
