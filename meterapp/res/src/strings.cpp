#include "decibar_resources_internal.h"

#include "resource.h"

// A command's text is its status-bar prompt, then its tool tip after "\n".
const AfxStringEntry kDecibarStrings[] = {
    { IDS_OLE_INIT_FAILED,
        L"OLE initialization failed.  Make sure that the OLE libraries are the correct version." },
    { IDR_MAINFRAME, L"KV415\n\nDecibar\n\n\nDecibar.Document\nDecibar.Document" },
    { ID_REALTIME_RUN, L"Run Real Time Monitoring\nRun" },
    { ID_REALTIME_STOP, L"Stop Real Time Monitoring\nStop" },
    { ID_REALTIME_CLEAR, L"Clear Real Time Data\nClear" },
    { ID_DATALOGGER, L"Run DataLogger\nDataLogger" },
    { ID_FILE_EXPORT_EXCEL, L"Export Data To Excel\nExport" },
    { ID_FILE_SAVE_DATA, L"Save Data\nSave" },
    { ID_FILE_EXIT, L"Exit Application\nExit" },
    { ID_FILE_OPEN_DATA, L"Open Data\nOpen" },
    { ID_REALTIME_SETUP, L"Setting Real Time Parameter\nSetting" },
    { ID_FILE_PRINT_DATA, L"Print Data\nPrint Data" },
    { ID_HELP_CONTENTS, L"Help" },
    { ID_FILE_PRINT_GRAPH, L"Print Graph\nPrint Graph" },
    { AFX_IDS_APP_TITLE, L"Decibar" },
    { AFX_IDS_IDLEMESSAGE, L"Ready" },
};
const size_t kDecibarStringCount = sizeof(kDecibarStrings) / sizeof(kDecibarStrings[0]);
