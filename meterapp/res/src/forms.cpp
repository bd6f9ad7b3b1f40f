#include "decibar_resources_internal.h"

#include "resource.h"

namespace {

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kShown | SS_LEFT;
constexpr DWORD kEdit = kShown | WS_BORDER | WS_TABSTOP;
constexpr DWORD kButton = kShown | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kAxisLabel = WS_CHILD | SS_LEFT; // hidden until the graph fills it in

using K = AfxControlKind;

// In tab order (see the "Cursor" box); positions and sizes in dialog units.
const AfxDlgItem kMainFormItems[] = {
    { K::GroupBox, IDC_GRAPH_GROUP, L"Real Time Graph", 133, 7, 402, 350, kShown | BS_GROUPBOX | BS_CENTER,
        WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE },
    // The "Cursor" box comes before the controls it frames, not last: wx draws
    // a static box over the siblings created before it. Boxes take no focus,
    // so the tab order of the form stays as it is.
    { K::GroupBox, IDC_CURSOR_GROUP, L"Cursor", 146, 89, 376, 59, kShown | BS_GROUPBOX },
    { K::PushButton, IDC_UNDO_ZOOM, L"UnDo Zoom", 149, 19, 51, 21, kButton },
    { K::Edit, IDC_START_TIME, L"", 217, 43, 87, 14, kEdit },
    { K::Static, IDC_STATIC, L"Start Time", 166, 46, 41, 8, kLabel },
    { K::Static, IDC_STATIC, L"MAX", 148, 76, 13, 8, kLabel },
    { K::Edit, IDC_MAX_VALUE, L"", 167, 73, 39, 14, kEdit },
    { K::Static, IDC_STATIC, L"@", 209, 75, 8, 8, kLabel },
    { K::Edit, IDC_MAX_TIME, L"", 217, 73, 87, 14, kEdit },
    { K::Edit, IDC_MIN_TIME, L"", 217, 58, 87, 14, kEdit },
    { K::Static, IDC_STATIC, L"@", 209, 62, 8, 8, kLabel },
    { K::Edit, IDC_MIN_VALUE, L"", 167, 58, 39, 14, kEdit },
    { K::Static, IDC_STATIC, L"MIN", 147, 61, 13, 8, kLabel },
    { K::Static, IDC_STATIC, L"Sample Rate", 309, 55, 45, 8, kLabel },
    { K::Static, IDC_STATIC, L"Average", 322, 73, 29, 8, kLabel },
    { K::Edit, IDC_AVERAGE, L"", 355, 71, 39, 14, kEdit | ES_AUTOHSCROLL },
    { K::ComboBox, IDC_RATE, L"", 355, 53, 38, 85, kShown | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT },
    { K::Static, IDC_STATIC, L"Sec", 395, 57, 13, 8, kLabel },
    { K::Static, IDC_STATIC, L"DataNo.", 325, 30, 29, 8, kLabel },
    { K::Edit, IDC_DATA_COUNT, L"", 355, 28, 39, 14, kEdit | ES_AUTOHSCROLL },
    { K::PushButton, IDC_GRAPH, L"Button1", 145, 151, 370, 187, kButton },
    { K::Static, IDC_Y_LABEL_FIRST + 0, L"Static", 45, 190, 22, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 1, L"Static", 45, 176, 22, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 2, L"Static", 45, 161, 22, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 3, L"Static", 45, 146, 22, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 4, L"Static", 45, 130, 22, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 5, L"Static", 44, 114, 25, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 6, L"Static", 44, 98, 25, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 7, L"Static", 44, 83, 25, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 8, L"Static", 44, 68, 25, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 9, L"Static", 44, 52, 25, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 10, L"Static", 44, 36, 25, 8, kAxisLabel },
    { K::Static, IDC_CURSOR_A_LABEL, L"CursorA", 156, 98, 29, 8, kLabel },
    { K::Edit, IDC_CURSOR_A_VALUE, L"", 190, 95, 39, 14, kEdit },
    { K::Static, IDC_STATIC, L"@", 233, 98, 8, 8, kLabel },
    { K::Edit, IDC_CURSOR_A_TIME, L"", 242, 95, 91, 14, kEdit },
    { K::Static, IDC_CURSOR_B_LABEL, L"CursorB", 343, 98, 29, 8, kLabel },
    { K::Edit, IDC_CURSOR_B_VALUE, L"", 375, 95, 39, 14, kEdit },
    { K::Static, IDC_STATIC, L"@", 418, 98, 8, 8, kLabel },
    { K::Edit, IDC_CURSOR_B_TIME, L"", 427, 95, 83, 14, kEdit },
    { K::Static, IDC_STATIC, L"Max.Between A and B", 155, 116, 77, 8, kLabel },
    { K::Edit, IDC_AB_MAX_VALUE, L"", 236, 113, 39, 14, kEdit },
    { K::Static, IDC_STATIC, L"@", 280, 116, 8, 8, kLabel },
    { K::Edit, IDC_AB_MAX_TIME, L"", 288, 113, 86, 14, kEdit },
    { K::Static, IDC_STATIC, L"Min.Between A and B", 155, 131, 77, 8, kLabel },
    { K::Edit, IDC_AB_MIN_VALUE, L"", 236, 128, 39, 14, kEdit },
    { K::Static, IDC_STATIC, L"@", 280, 131, 8, 8, kLabel },
    { K::Edit, IDC_AB_MIN_TIME, L"", 288, 128, 86, 14, kEdit },
    { K::Static, IDC_STATIC, L"Average.Between A and B", 381, 114, 93, 8, kLabel },
    { K::Edit, IDC_AB_AVERAGE, L"", 477, 112, 34, 14, kEdit },
    { K::Static, IDC_STATIC, L"Quantity.Between A and B", 381, 130, 97, 8, kLabel },
    { K::Edit, IDC_AB_QUANTITY, L"", 477, 127, 33, 14, kEdit },
    { K::GroupBox, IDC_STATIC, L"Indication", 411, 34, 111, 50, kShown | BS_GROUPBOX },
    { K::Static, IDC_HOVER_VALUE, L"", 441, 46, 77, 8, kLabel },
    { K::Static, IDC_HOVER_TIME, L"", 441, 66, 76, 8, kLabel },
    { K::Static, IDC_STATIC, L"Value:", 413, 45, 25, 8, kLabel },
    { K::Static, IDC_STATIC, L"Time:", 415, 65, 22, 8, kLabel },
    { K::Static, IDC_STATIC, L"dB", 397, 73, 9, 8, kLabel },
    { K::ScrollBar, IDC_HSCROLL, L"", 144, 340, 373, 11, kShown | SBS_HORZ },
    { K::ScrollBar, IDC_VSCROLL, L"", 516, 148, 12, 187, kShown | SBS_VERT },
    { K::PushButton, IDC_KEY_STOP, L"Stop", 19, 245, 49, 20, kButton },
    { K::PushButton, IDC_KEY_FASTSLOW, L"FastSlow", 19, 269, 49, 20, kButton },
    { K::PushButton, IDC_KEY_MAXMIN, L"MaxMin", 19, 291, 49, 20, kButton },
    { K::PushButton, IDC_KEY_AC, L"AC", 71, 245, 49, 20, kButton },
    { K::PushButton, IDC_KEY_LEVEL, L"Level", 71, 269, 49, 20, kButton },
    { K::PushButton, IDC_KEY_REC, L"REC", 71, 291, 49, 20, kButton },
    { K::Picture, IDC_STATIC, L"", 221, 22, 70, 17, kShown | SS_BITMAP, 0, IDB_LOGO },
};

const AfxDlgItem kAboutItems[] = {
    { K::Picture, IDC_STATIC, L"", 11, 17, 20, 20, kShown | SS_ICON, 0, IDI_ABOUT },
    { K::Static, IDC_STATIC, L"KV415 Version 3.7.1", 54, 13, 74, 8, kShown | SS_LEFT | SS_NOPREFIX | WS_GROUP },
    { K::Static, IDC_STATIC, kDecibarLegalNotice, 54, 25, 130, 8, kShown | SS_LEFT },
    { K::PushButton, IDOK, L"OK", 178, 7, 50, 16, kShown | BS_DEFPUSHBUTTON | WS_GROUP | WS_TABSTOP },
};

const AfxDlgItem kPortItems[] = {
    { K::PushButton, IDOK, L"OK", 48, 36, 50, 14, kShown | BS_DEFPUSHBUTTON | WS_TABSTOP },
    { K::PushButton, IDCANCEL, L"Cancel", 119, 36, 50, 14, kButton },
    { K::Edit, IDC_PORT_NUMBER, L"", 99, 14, 46, 14, kEdit | ES_AUTOHSCROLL },
    { K::Static, IDC_STATIC, L"Com Port", 60, 17, 30, 8, kLabel },
};

const AfxDlgItem kRealTimeSetupItems[] = {
    { K::PushButton, IDOK, L"Start", 58, 105, 41, 15, kShown | BS_DEFPUSHBUTTON | WS_TABSTOP },
    { K::PushButton, IDCANCEL, L"Cancel", 135, 104, 40, 16, kButton },
    { K::Static, IDC_STATIC, L"DATA POINTS", 23, 17, 63, 8, kLabel },
    { K::Edit, IDC_DATA_POINTS, L"", 75, 15, 40, 12, kEdit | ES_AUTOHSCROLL },
    { K::Static, IDC_STATIC, L"Real-Time Sampling Rate ", 23, 35, 81, 8, kLabel },
    { K::ComboBox, IDC_RATE, L"", 115, 34, 48, 54, kShown | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_SORT },
    { K::Static, IDC_STATIC, L"Second", 169, 37, 25, 8, kLabel },
    { K::Static, IDC_STATIC, L"Duration of Recording", 23, 55, 66, 8, kLabel },
    { K::Edit, IDC_DURATION, L"", 92, 53, 108, 12, kEdit | ES_AUTOHSCROLL },
    { K::Static, IDC_STATIC, L"Start Time:", 81, 72, 33, 8, kLabel },
    { K::Static, IDC_STATIC, L"End Time:", 81, 88, 32, 8, kLabel },
    // 82 units wide, to the duration's right edge: at 62 a time such as
    // "28-12-2026,23:58:58" does not fit.
    { K::Edit, IDC_START_AT, L"", 118, 71, 82, 12, kEdit | ES_AUTOHSCROLL },
    { K::Edit, IDC_END_AT, L"", 118, 86, 82, 12, kEdit | ES_AUTOHSCROLL },
};

} // namespace

const AfxDialogTemplate kMainForm = { L"", L"Arial", 9, WS_CHILD, 545, 365, kMainFormItems,
    sizeof(kMainFormItems) / sizeof(kMainFormItems[0]) };

const AfxDialogTemplate kAboutDialog = { L"About KV415", L"Arial", 9,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 235, 55, kAboutItems,
    sizeof(kAboutItems) / sizeof(kAboutItems[0]) };

const AfxDialogTemplate kPortDialog = { L"Port", L"Arial", 8,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 210, 67, kPortItems,
    sizeof(kPortItems) / sizeof(kPortItems[0]) };

const AfxDialogTemplate kRealTimeSetupDialog = { L"Real-Time Setup", L"Arial", 10,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 236, 139, kRealTimeSetupItems,
    sizeof(kRealTimeSetupItems) / sizeof(kRealTimeSetupItems[0]) };
