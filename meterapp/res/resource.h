// Resource ids of Decibar: dialogs, menus, bitmaps, icons, strings, commands
// and the controls of its forms. The framework's own command and window ids
// (ID_FILE_NEW, ID_APP_ABOUT, ID_VIEW_TOOLBAR, AFX_IDW_TOOLBAR...) come from
// the framework's headers and are not repeated here.
#pragma once

// Dialogs and forms.
#define IDD_ABOUT 100
#define IDD_MYORVO_FORM 101
#define IDD_DATALOGGER 145
#define IDD_LOGSTATE 146
#define IDD_RTSETUP 148
#define IDD_PORT 158

// Strings that are not command prompts.
#define IDS_OLE_INIT_FAILED 100

// The main window: menu, accelerators, tool bar and its bitmap, icon and
// document string all share this id.
#define IDR_MAINFRAME 128
#define IDR_DOCUMENT_ICON 129
#define IDR_DATALOG_MENU 147

// Pictures.
#define IDB_METER_FACE 130
#define IDB_DECIMAL_POINT 131
#define IDB_DIGIT_0 132 // digits 0 to 9 are 132 to 141
#define IDB_BAR_SEGMENT 142
#define IDB_KEY_REC 149
#define IDB_KEY_STOP 150
#define IDB_KEY_AC 151
#define IDB_KEY_LEVEL 152
#define IDB_KEY_MAXMIN 153
#define IDB_KEY_FASTSLOW 154
#define IDB_LOGO 155
#define IDI_ABOUT 156
#define IDB_IDLE 157

// Commands of the main menu and the tool bar.
#define ID_REALTIME_RUN 32771
#define ID_REALTIME_STOP 32772
#define ID_REALTIME_CLEAR 32773
#define ID_DATALOGGER 32780
#define ID_IMPORT_DATA 32781
#define ID_FILE_EXPORT_EXCEL 32785
#define ID_FILE_SAVE_DATA 32786
#define ID_FILE_EXIT 32788
#define ID_FILE_OPEN_DATA 32790
#define ID_REALTIME_SETUP 32791
#define ID_SAVE_SELECTED 32793
#define ID_PRINT_SELECTED_GRAPH 32794
#define ID_PRINT_SELECTED_DATA 32795
#define ID_FILE_PRINT_DATA 32796
#define ID_HELP_CONTENTS 32799
#define ID_FILE_PRINT_GRAPH 32802
#define ID_EXPORT_SELECTED_EXCEL 32813
#define ID_COMPORT_MANUAL 32814
#define ID_COMPORT_AUTO 32815

// Controls of form 101 (the logged-data window uses the same ids for its
// copies of the graph panel).
#define IDC_UNDO_ZOOM 1000
#define IDC_START_TIME 1001
#define IDC_MAX_VALUE 1002
#define IDC_MAX_TIME 1003
#define IDC_CURSOR_A_VALUE 1004
#define IDC_AVERAGE 1005
#define IDC_MIN_TIME 1006
#define IDC_RATE 1007
#define IDC_MIN_VALUE 1008
#define IDC_DATA_COUNT 1009
#define IDC_GRAPH 1010
#define IDC_CURSOR_A_TIME 1011
#define IDC_Y_LABEL_FIRST 1012 // the eleven axis labels are 1012 to 1022
#define IDC_CURSOR_B_VALUE 1023
#define IDC_CURSOR_B_TIME 1024
#define IDC_AB_MAX_VALUE 1025
#define IDC_AB_MAX_TIME 1026
#define IDC_AB_MIN_VALUE 1027
#define IDC_AB_MIN_TIME 1028
#define IDC_AB_AVERAGE 1029
#define IDC_CURSOR_A_LABEL 1030
#define IDC_CURSOR_B_LABEL 1031
#define IDC_AB_QUANTITY 1032
#define IDC_HOVER_VALUE 1033
#define IDC_HOVER_TIME 1034
#define IDC_RECORD_LIST 1035
#define IDC_HSCROLL 1038
#define IDC_VSCROLL 1039
#define IDC_DATA_POINTS 1044
#define IDC_DURATION 1046
#define IDC_START_AT 1047
#define IDC_END_AT 1048
#define IDC_KEY_STOP 1049
#define IDC_KEY_FASTSLOW 1050
#define IDC_KEY_MAXMIN 1051
#define IDC_KEY_AC 1052
#define IDC_KEY_LEVEL 1053
#define IDC_KEY_REC 1054
#define IDC_PROGRESS 1057
#define IDC_GRAPH_GROUP 1058
#define IDC_CURSOR_GROUP 1059
#define IDC_PORT_NUMBER 1060
