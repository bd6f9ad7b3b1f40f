// The logged-data window (dialog 145 with its menu 147) and the download's
// wait box (dialog 146).
#include "decibar_resources_internal.h"

#include "resource.h"

namespace {

constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
constexpr DWORD kLabel = kShown | SS_LEFT;
constexpr DWORD kEdit = kShown | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kButton = kShown | WS_TABSTOP | BS_PUSHBUTTON;
constexpr DWORD kAxisLabel = WS_CHILD | SS_LEFT; // never shown: they only hold the label texts

using K = AfxControlKind;

// The list of recordings on the left, the graph panel on the right; positions
// and sizes in dialog units of Arial 8.
const AfxDlgItem kDataLogItems[] = {
    { K::ListView, IDC_RECORD_LIST, L"", 7, 7, 232, 358,
        kShown | WS_BORDER | WS_TABSTOP | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS },
    { K::GroupBox, IDC_STATIC, L"Real Time Graph", 245, 7, 358, 358, kShown | BS_GROUPBOX | BS_CENTER },
    // Boxes come before the controls they frame: wx draws a static box over
    // the siblings created before it.
    { K::GroupBox, IDC_STATIC, L"Indication", 497, 14, 102, 48, kShown | BS_GROUPBOX },
    { K::GroupBox, IDC_STATIC, L"Cursor", 249, 86, 350, 62, kShown | BS_GROUPBOX },
    { K::PushButton, IDC_UNDO_ZOOM, L"UnDo Zoom", 251, 18, 50, 15, kButton },
    { K::Picture, IDC_STATIC, L"", 310, 17, 70, 17, kShown | SS_BITMAP, 0, IDB_LOGO },
    { K::Static, IDC_STATIC, L"DataNo.", 420, 21, 30, 8, kLabel },
    { K::Edit, IDC_DATA_COUNT, L"", 452, 18, 40, 13, kEdit },
    { K::Static, IDC_STATIC, L"Value:", 501, 26, 24, 8, kLabel },
    { K::Static, IDC_HOVER_VALUE, L"", 526, 26, 70, 8, kLabel },
    { K::Static, IDC_STATIC, L"Time:", 501, 44, 22, 8, kLabel },
    { K::Static, IDC_HOVER_TIME, L"", 526, 44, 70, 8, kLabel },
    { K::Static, IDC_STATIC, L"Start Time", 251, 39, 38, 8, kLabel },
    { K::Edit, IDC_START_TIME, L"", 291, 36, 80, 13, kEdit },
    { K::Static, IDC_STATIC, L"Average", 406, 39, 30, 8, kLabel },
    { K::Edit, IDC_AVERAGE, L"", 440, 36, 34, 13, kEdit },
    { K::Static, IDC_STATIC, L"dB", 478, 39, 10, 8, kLabel },
    { K::Static, IDC_STATIC, L"MIN", 251, 55, 16, 8, kLabel },
    { K::Edit, IDC_MIN_VALUE, L"", 269, 52, 34, 13, kEdit },
    { K::Static, IDC_STATIC, L"@", 305, 54, 8, 8, kLabel },
    { K::Edit, IDC_MIN_TIME, L"", 313, 52, 80, 13, kEdit },
    // The drop-down list is taller than a row: it stands where nothing is below it.
    { K::Static, IDC_STATIC, L"Sample Rate", 397, 55, 42, 8, kLabel },
    { K::ComboBox, IDC_RATE, L"", 440, 52, 36, 85, kShown | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST },
    { K::Static, IDC_STATIC, L"Sec", 478, 55, 13, 8, kLabel },
    { K::Static, IDC_STATIC, L"MAX", 251, 71, 16, 8, kLabel },
    { K::Edit, IDC_MAX_VALUE, L"", 269, 68, 34, 13, kEdit },
    { K::Static, IDC_STATIC, L"@", 305, 70, 8, 8, kLabel },
    { K::Edit, IDC_MAX_TIME, L"", 313, 68, 80, 13, kEdit },
    { K::Static, IDC_CURSOR_A_LABEL, L"CursorA", 254, 99, 30, 8, kLabel },
    { K::Edit, IDC_CURSOR_A_VALUE, L"", 286, 96, 34, 13, kEdit },
    { K::Static, IDC_STATIC, L"@", 322, 98, 8, 8, kLabel },
    { K::Edit, IDC_CURSOR_A_TIME, L"", 331, 96, 80, 13, kEdit },
    { K::Static, IDC_CURSOR_B_LABEL, L"CursorB", 418, 99, 30, 8, kLabel },
    { K::Edit, IDC_CURSOR_B_VALUE, L"", 450, 96, 34, 13, kEdit },
    { K::Static, IDC_STATIC, L"@", 486, 98, 8, 8, kLabel },
    { K::Edit, IDC_CURSOR_B_TIME, L"", 495, 96, 80, 13, kEdit },
    { K::Static, IDC_STATIC, L"Max.Between A and B", 254, 116, 76, 8, kLabel },
    { K::Edit, IDC_AB_MAX_VALUE, L"", 332, 113, 34, 13, kEdit },
    { K::Static, IDC_STATIC, L"@", 368, 115, 8, 8, kLabel },
    { K::Edit, IDC_AB_MAX_TIME, L"", 377, 113, 80, 13, kEdit },
    { K::Static, IDC_STATIC, L"Average.Between A and B", 462, 116, 84, 8, kLabel },
    { K::Edit, IDC_AB_AVERAGE, L"", 548, 113, 34, 13, kEdit },
    { K::Static, IDC_STATIC, L"Min.Between A and B", 254, 133, 76, 8, kLabel },
    { K::Edit, IDC_AB_MIN_VALUE, L"", 332, 130, 34, 13, kEdit },
    { K::Static, IDC_STATIC, L"@", 368, 132, 8, 8, kLabel },
    { K::Edit, IDC_AB_MIN_TIME, L"", 377, 130, 80, 13, kEdit },
    { K::Static, IDC_STATIC, L"Quantity.Between A and B", 462, 133, 84, 8, kLabel },
    { K::Edit, IDC_AB_QUANTITY, L"", 548, 130, 34, 13, kEdit },
    { K::PushButton, IDC_GRAPH, L"Button1", 251, 152, 330, 192, kButton },
    { K::ScrollBar, IDC_VSCROLL, L"", 583, 152, 12, 192, kShown | SBS_VERT },
    { K::ScrollBar, IDC_HSCROLL, L"", 251, 346, 330, 10, kShown | SBS_HORZ },
    { K::Static, IDC_Y_LABEL_FIRST + 0, L"Static", 251, 152, 25, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 1, L"Static", 251, 152, 25, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 2, L"Static", 251, 152, 25, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 3, L"Static", 251, 152, 25, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 4, L"Static", 251, 152, 25, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 5, L"Static", 251, 152, 25, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 6, L"Static", 251, 152, 25, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 7, L"Static", 251, 152, 25, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 8, L"Static", 251, 152, 25, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 9, L"Static", 251, 152, 25, 8, kAxisLabel },
    { K::Static, IDC_Y_LABEL_FIRST + 10, L"Static", 251, 152, 25, 8, kAxisLabel },
};

const AfxDlgItem kLogStateItems[] = {
    { K::PushButton, IDCANCEL, L"\u53d6\u6d88", 132, 15, 50, 24, WS_CHILD | WS_TABSTOP },
    { K::Static, IDC_STATIC, L"Accepting Data now! Waiting.......", 24, 10, 131, 8, kShown | WS_GROUP | SS_LEFT },
    { K::Progress, IDC_PROGRESS, L"", 21, 22, 154, 12, kShown | WS_BORDER },
};

} // namespace

const AfxMenuEntry kDataLogMenu[] = {
    AfxItem(ID_IMPORT_DATA, L"Import Data(&I)"),
    AfxItem(ID_EXPORT_SELECTED_EXCEL, L"Export To Excel(&E)"),
    AfxPopup(L"Save Data(&S)"),
    AfxItem(ID_SAVE_SELECTED, L"Save Selected(&S)"),
    AfxEndPopup(),
    AfxPopup(L"Print(&P)"),
    AfxItem(ID_PRINT_SELECTED_GRAPH, L"Print Graph(&G)"),
    AfxItem(ID_PRINT_SELECTED_DATA, L"Print Data(&D)"),
    AfxEndPopup(),
};
const size_t kDataLogMenuCount = sizeof(kDataLogMenu) / sizeof(kDataLogMenu[0]);

const AfxDialogTemplate kDataLogDialog = { L"DATALOGGER", L"Arial", 8,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, 610, 372, kDataLogItems,
    sizeof(kDataLogItems) / sizeof(kDataLogItems[0]), 0, IDR_DATALOG_MENU };

const AfxDialogTemplate kLogStateDialog = { L"", L"Arial", 8, WS_POPUP | WS_SYSMENU | DS_SETFONT | DS_FIXEDSYS, 199,
    47, kLogStateItems, sizeof(kLogStateItems) / sizeof(kLogStateItems[0]) };
