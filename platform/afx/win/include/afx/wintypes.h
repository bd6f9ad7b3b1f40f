// Handles, colours, messages and codes of the window layer, with their
// Windows values.
#pragma once

#include "afx/geometry.h"
#include "win32/types.h"

// The layer's own code and its test driver reach the private state of the
// framework classes through this; programs do not.
namespace afxwin {
struct Internals;
}

typedef const wchar_t* LPCTSTR;

// A device context handle is the address of its CDC; the other GDI handles are
// the addresses of the layer's own objects. None of them is owned by the handle.
typedef struct HDC__* HDC;
typedef struct HGDIOBJ__* HGDIOBJ;
typedef struct HPEN__* HPEN;
typedef struct HBRUSH__* HBRUSH;
typedef struct HFONT__* HFONT;
typedef struct HBITMAP__* HBITMAP;
typedef struct HICON__* HICON;

typedef DWORD COLORREF;
typedef intptr_t INT_PTR;
#define RGB(r, g, b) \
    (static_cast<COLORREF>((static_cast<BYTE>(r)) | (static_cast<WORD>(static_cast<BYTE>(g)) << 8) | \
                           (static_cast<DWORD>(static_cast<BYTE>(b)) << 16)))

#define MAKELONG(lo, hi) (static_cast<LONG>((static_cast<DWORD>(static_cast<WORD>(lo))) | (static_cast<DWORD>(static_cast<WORD>(hi)) << 16)))
#define MAKELPARAM(lo, hi) (static_cast<LPARAM>(static_cast<DWORD>(MAKELONG(lo, hi))))
#define LOWORD(l) (static_cast<WORD>(static_cast<DWORD_PTR>(l) & 0xFFFF))
#define HIWORD(l) (static_cast<WORD>((static_cast<DWORD_PTR>(l) >> 16) & 0xFFFF))

inline int MulDiv(int number, int numerator, int denominator)
{
    if (denominator == 0)
        return -1;
    long long p = static_cast<long long>(number) * numerator;
    long long half = (denominator < 0 ? -denominator : denominator) / 2;
    long long r = ((p < 0) != (denominator < 0)) ? (p - half) / denominator : (p + half) / denominator;
    return static_cast<int>(r);
}

// ---- messages ----------------------------------------------------------------
#define WM_CREATE 0x0001u
#define WM_SIZE 0x0005u
#define WM_PAINT 0x000Fu
#define WM_CLOSE 0x0010u
#define WM_NOTIFY 0x004Eu
#define WM_COMMAND 0x0111u
#define WM_TIMER 0x0113u
#define WM_HSCROLL 0x0114u
#define WM_VSCROLL 0x0115u
#define WM_CTLCOLOR 0x0019u
#define WM_MOUSEMOVE 0x0200u
#define WM_LBUTTONDOWN 0x0201u
#define WM_LBUTTONUP 0x0202u
#define WM_LBUTTONDBLCLK 0x0203u
#define WM_RBUTTONUP 0x0205u
#define WM_USER 0x0400u

// Command notification codes carried in the high word of WM_COMMAND's wParam.
#define BN_CLICKED 0u
#define EN_CHANGE 0x0300u
#define CBN_SELCHANGE 1u

// WM_NOTIFY codes.
#define NM_DBLCLK (0u - 3u)

struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};

// What a list view's NM_DBLCLK and NM_CLICK carry: the row hit, -1 for none.
struct NMITEMACTIVATE {
    NMHDR hdr;
    int iItem;
    int iSubItem;
};

// Scroll codes of WM_HSCROLL / WM_VSCROLL.

// WM_CTLCOLOR control types.
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_SCROLLBAR 5

// Mouse key flags of mouse messages.

// ShowWindow commands.
#define SW_SHOWNORMAL 1
#define SW_MAXIMIZE 3
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_RESTORE 9

// SetWindowPos.
#define SWP_NOZORDER 0x0004u
#define SWP_SHOWWINDOW 0x0040u
#define SWP_NOOWNERZORDER 0x0200u

// Owner drawing.
#define ODS_SELECTED 0x1u

struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
};
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

struct CREATESTRUCT {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCWSTR lpszName;
    LPCWSTR lpszClass;
    DWORD dwExStyle;
};
typedef CREATESTRUCT* LPCREATESTRUCT;

// Frame title styles.
#define FWS_ADDTOTITLE 0x00008000L
#define FWS_PREFIXTITLE 0x00004000L

// Framework command ids.
#define ID_FILE_NEW 0xE100u
#define ID_FILE_OPEN 0xE101u
#define ID_APP_ABOUT 0xE140u
#define ID_EDIT_COPY 0xE122u
#define ID_EDIT_CUT 0xE123u
#define ID_EDIT_PASTE 0xE125u
#define ID_EDIT_UNDO 0xE12Bu
#define ID_NEXT_PANE 0xE150u
#define ID_PREV_PANE 0xE151u
#define ID_VIEW_TOOLBAR 0xE800u
#define ID_VIEW_STATUS_BAR 0xE801u
#define ID_INDICATOR_CAPS 0xE707u
#define ID_INDICATOR_NUM 0xE708u
#define ID_INDICATOR_SCRL 0xE709u
#define AFX_IDW_TOOLBAR 0xE800u
#define AFX_IDW_STATUS_BAR 0xE801u
#define AFX_IDS_APP_TITLE 0xE000u
#define AFX_IDS_IDLEMESSAGE 0xE001u

// Control-bar styles.
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_TOP (CBRS_ALIGN_TOP)
#define CBRS_BOTTOM (CBRS_ALIGN_BOTTOM)
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_SIZE_DYNAMIC 0x0040L
#define CBRS_GRIPPER 0x00400000L
#define TBSTYLE_FLAT 0x0800u

#define IDC_STATIC (-1)
