#include "decibar_resources_internal.h"

#include "resource.h"

const AfxMenuEntry kMainMenu[] = {
    AfxPopup(L"File(&F)"),
    AfxItem(ID_FILE_OPEN_DATA, L"Open\tCtrl+O(&O)"),
    AfxItem(ID_FILE_SAVE_DATA, L"Save as \tCtrl+S(&S)"),
    AfxItem(ID_FILE_EXPORT_EXCEL, L"Export To Excel(&E)"),
    AfxItem(ID_FILE_PRINT_GRAPH, L"Print Graph(&G)"),
    AfxItem(ID_FILE_PRINT_DATA, L"Print Data(&D)"),
    AfxSeparator(),
    AfxItem(ID_FILE_EXIT, L"Exit(&X)"),
    AfxEndPopup(),
    AfxPopup(L"Real Time(&R)"),
    AfxItem(ID_REALTIME_RUN, L"Run(&R)"),
    AfxItem(ID_REALTIME_STOP, L"Stop(&S)"),
    AfxItem(ID_REALTIME_CLEAR, L"Clear Data(C)"),
    AfxItem(ID_REALTIME_SETUP, L"Setup(&U)"),
    AfxEndPopup(),
    AfxItem(ID_DATALOGGER, L"DataLogger(&D)"),
    AfxPopup(L"Com Port(&C)"),
    AfxItem(ID_COMPORT_MANUAL, L"Manual(&M)"),
    AfxItem(ID_COMPORT_AUTO, L"Auto(&A)"),
    AfxEndPopup(),
    AfxPopup(L"View(&V)"),
    AfxItem(ID_VIEW_TOOLBAR, L"ToolBar(&T)"),
    AfxItem(ID_VIEW_STATUS_BAR, L"StatusBar(&S)"),
    AfxEndPopup(),
    AfxPopup(L"Help(&H)"),
    AfxItem(ID_HELP_CONTENTS, L"Contents(&C)"),
    AfxItem(ID_APP_ABOUT, L"About KV415(&A)"),
    AfxEndPopup(),
};
const size_t kMainMenuCount = sizeof(kMainMenu) / sizeof(kMainMenu[0]);

// Ctrl+O and Ctrl+S run the menu's Open and Save as, whose texts show them;
// the framework's document Save would only write an empty file. Ctrl+N
// reaches the framework's New; the edit and pane keys have no handler.
const AfxAccelEntry kMainAccelerators[] = {
    { FVIRTKEY | FCONTROL, 'N', ID_FILE_NEW },
    { FVIRTKEY | FCONTROL, 'O', ID_FILE_OPEN_DATA },
    { FVIRTKEY | FCONTROL, 'S', ID_FILE_SAVE_DATA },
    { FVIRTKEY | FCONTROL, 'Z', ID_EDIT_UNDO },
    { FVIRTKEY | FALT, VK_BACK, ID_EDIT_UNDO },
    { FVIRTKEY | FCONTROL, 'X', ID_EDIT_CUT },
    { FVIRTKEY | FSHIFT, VK_DELETE, ID_EDIT_CUT },
    { FVIRTKEY | FCONTROL, 'C', ID_EDIT_COPY },
    { FVIRTKEY | FCONTROL, VK_INSERT, ID_EDIT_COPY },
    { FVIRTKEY | FCONTROL, 'V', ID_EDIT_PASTE },
    { FVIRTKEY | FSHIFT, VK_INSERT, ID_EDIT_PASTE },
    { FVIRTKEY, VK_F6, ID_NEXT_PANE },
    { FVIRTKEY | FSHIFT, VK_F6, ID_PREV_PANE },
};
const size_t kMainAcceleratorCount = sizeof(kMainAccelerators) / sizeof(kMainAccelerators[0]);

static const UINT kToolBarButtons[] = {
    ID_FILE_OPEN_DATA,
    ID_SEPARATOR,
    ID_FILE_SAVE_DATA,
    ID_FILE_EXPORT_EXCEL,
    ID_REALTIME_RUN,
    ID_REALTIME_STOP,
    ID_FILE_PRINT_GRAPH,
    ID_HELP_CONTENTS,
};
const AfxToolBarTemplate kMainToolBar = { 17, 15, IDR_MAINFRAME, kToolBarButtons,
    sizeof(kToolBarButtons) / sizeof(kToolBarButtons[0]) };
