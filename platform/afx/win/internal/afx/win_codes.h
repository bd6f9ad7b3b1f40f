// Codes the layer uses itself, with their Windows values; no program names them.
#pragma once

// Beside those of afx/dialog.h.
#define AFX_IDP_PARSE_INT L"Enter an integer."
#define AFX_IDP_PARSE_REAL L"Enter a number."
#define AFX_IDP_PARSE_INT_RANGE L"Enter an integer between %1 and %2."

// Beside those of afx/wintypes.h.
#define WM_DESTROY 0x0002u
#define WM_SETTEXT 0x000Cu
#define WM_GETTEXT 0x000Du
#define WM_ERASEBKGND 0x0014u
#define WM_DRAWITEM 0x002Bu
#define WM_RBUTTONDOWN 0x0204u
#define EN_KILLFOCUS 0x0200u
#define NM_CLICK (0u - 2u)
#define LVN_ITEMCHANGED (0u - 101u)
#define SIZE_RESTORED 0
#define SIZE_MAXIMIZED 2
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_STATIC 6
#define MK_RBUTTON 0x0002u
#define MK_SHIFT 0x0004u
#define MK_CONTROL 0x0008u
#define MK_MBUTTON 0x0010u
#define SW_HIDE 0
#define SW_SHOWMINIMIZED 2
#define SWP_HIDEWINDOW 0x0080u
#define ODT_BUTTON 4
#define ODA_DRAWENTIRE 0x1u
#define ODS_DISABLED 0x4u
#define ODS_FOCUS 0x10u
#define ID_FILE_SAVE_AS 0xE104u
#define AFX_IDW_PANE_FIRST 0xE900u
#define SB_TOP 6
#define SB_BOTTOM 7
#define SB_LINEUP 0
#define SB_LINEDOWN 1
#define SB_PAGEUP 2
#define SB_PAGEDOWN 3
#define SB_THUMBPOSITION 4
#define SB_THUMBTRACK 5
#define MK_LBUTTON 0x0001u
#define SWP_NOSIZE 0x0001u
#define SWP_NOMOVE 0x0002u
#define ID_FILE_SAVE 0xE103u
#define ID_APP_EXIT 0xE141u
#define GetRValue(c) (static_cast<BYTE>((c) & 0xFF))
#define GetGValue(c) (static_cast<BYTE>(((c) >> 8) & 0xFF))
#define GetBValue(c) (static_cast<BYTE>(((c) >> 16) & 0xFF))
#define MAKEWPARAM(lo, hi) (static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(lo, hi))))

// Beside those of afx/gdi.h.
#define PS_DASH 1
#define PS_DASHDOT 3
#define PS_DASHDOTDOT 4
#define PS_NULL 5
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define DEFAULT_GUI_FONT 17
#define HORZSIZE 4
#define VERTSIZE 6
#define BITSPIXEL 12
#define PHYSICALWIDTH 110
#define PHYSICALHEIGHT 111
#define PHYSICALOFFSETX 112
#define PHYSICALOFFSETY 113
#define TA_BOTTOM 8u
#define TA_BASELINE 24u
#define DT_CENTER 0x1u
#define DT_RIGHT 0x2u
#define DT_VCENTER 0x4u
#define DT_BOTTOM 0x8u
#define DT_SINGLELINE 0x20u
#define COLOR_WINDOW 5
#define COLOR_WINDOWTEXT 8
#define COLOR_BTNSHADOW 16
#define COLOR_BTNTEXT 18
#define COLOR_BTNHIGHLIGHT 20
#define DM_YRESOLUTION 0x00002000u
#define CLR_INVALID 0xFFFFFFFFu
#define DM_PAPERLENGTH 0x00000004u
#define DM_PAPERWIDTH 0x00000008u
#define DM_PRINTQUALITY 0x00000400u
#define DM_COLLATE 0x00008000u
#define DMCOLLATE_FALSE 0
#define DMCOLLATE_TRUE 1
#define SYSTEM_FONT 13
#define TA_LEFT 0u
#define TA_RIGHT 2u
#define TA_CENTER 6u
#define TA_TOP 0u
#define FW_BOLD 700
#define OPAQUE 2

// Beside those of afx/controls.h.
#define LB_ERR (-1)
#define BST_PUSHED 0x4
#define LVCFMT_RIGHT 1
#define LVCFMT_CENTER 2
#define LVIS_SELECTED 0x2u
#define LVIS_FOCUSED 0x1u
#define PBM_GETPOS (WM_USER + 8)
#define PBM_SETRANGE (WM_USER + 1)
#define PBM_SETPOS (WM_USER + 2)
#define LVNI_SELECTED 2

// Beside those of afx/winstyles.h.
#define WS_DISABLED 0x08000000u
#define WS_EX_STATICEDGE 0x00020000u
#define BS_RIGHT 0x200u
#define ES_CENTER 0x1u
#define ES_RIGHT 0x2u
#define ES_MULTILINE 0x4u
#define ES_READONLY 0x800u
#define SS_CENTER 0x1u
#define SS_RIGHT 0x2u
#define SS_CENTERIMAGE 0x200u
#define LVS_NOSORTHEADER 0x8000u
#define WS_THICKFRAME 0x00040000u
#define WS_MINIMIZEBOX 0x00020000u
#define WS_MAXIMIZEBOX 0x00010000u
#define BS_TYPEMASK 0xFu
#define SS_TYPEMASK 0x1Fu
#define WS_OVERLAPPED 0x00000000u
#define WS_OVERLAPPEDWINDOW (WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)

// Beside those of afx/frame.h.
#define MF_SEPARATOR 0x0800u
#define MF_POPUP 0x0010u
#define MF_BYCOMMAND 0x0000u
#define MF_UNCHECKED 0x0000u
#define MF_CHECKED 0x0008u
#define MFT_RADIOCHECK 0x0200u

// Beside those of afx/commdlg.h.
#define OFN_FILEMUSTEXIST 0x00001000u
#define PD_PRINTSETUP 0x00000040u
#define PD_RETURNDC 0x00000100u
#define PD_COLLATE 0x00000010u

// Beside those of afx/resources.h.
#define VK_TAB 0x09
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_RETURN 0x0D
#define VK_ESCAPE 0x1B
#define VK_F1 0x70
#define VK_F12 0x7B
