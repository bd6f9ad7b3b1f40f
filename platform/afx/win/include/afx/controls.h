// Controls. Each class only adds operations; the state lives in the wx control.
// Operations on a window of another kind do nothing and return the failure value.
#pragma once

#include "afx/wnd.h"

#define CB_ERR (-1)

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    // A push button (or the kind of `style`, BS_...) at `rect` in the parent's client area.
    BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    UINT GetState() const;       // 0x4 (BST_PUSHED) while pressed
};

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(LPCTSTR text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
    friend class CDataExchange;
    friend struct afxwin::Internals;
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

private:
    void SetSel(int start, int end, BOOL noScroll = FALSE);
};

// A combo box; a drop-down list (CBS_DROPDOWNLIST) is the usual kind.
class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
    friend struct afxwin::Internals;
public:
    // At `index` (-1: the end), whatever the sorting style.
    int InsertString(int index, LPCTSTR text);
    int GetCurSel() const;
    // -1 clears the selection; CB_ERR for an index out of range.
    int SetCurSel(int index);

private:
    int GetCount() const;
    int GetLBText(int index, CString& text) const;
};

#define LVCFMT_LEFT 0

// A report list: columns, rows of texts.
class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
    friend struct afxwin::Internals;
public:
    int InsertColumn(int col, LPCTSTR heading, int format = LVCFMT_LEFT, int width = -1, int subItem = -1);
    int InsertItem(int item, LPCTSTR text);
    BOOL SetItemText(int item, int subItem, LPCTSTR text);
    CString GetItemText(int item, int subItem) const;
    BOOL DeleteAllItems();
    int GetItemCount() const;
    DWORD GetExtendedStyle() const;
    DWORD SetExtendedStyle(DWORD exStyle);

private:
    int GetColumnCount() const;
    // Selection: the first selected row, or -1.
    int GetNextItem(int start, int flags) const;
};

#define SIF_RANGE 0x1u
#define SIF_PAGE 0x2u
#define SIF_POS 0x4u
#define SIF_TRACKPOS 0x10u
#define SIF_ALL (SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS)

struct SCROLLINFO {
    UINT cbSize;
    UINT fMask;
    int nMin;
    int nMax;
    UINT nPage;
    int nPos;
    int nTrackPos;
};
typedef SCROLLINFO* LPSCROLLINFO;

// A scroll-bar control. The user's actions reach the parent as WM_HSCROLL or
// WM_VSCROLL with SB_LINEUP/DOWN (also one per notch of the mouse wheel over
// the bar, and for the arrow keys once the bar has the focus), SB_PAGEUP/DOWN,
// SB_THUMBTRACK while dragging and SB_THUMBPOSITION at the release; the
// position is not moved by the bar itself: the handler sets it (SetScrollPos),
// as on Windows. The screen shows every range and position set at once.
class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
    friend struct afxwin::Internals;
public:
    int GetScrollPos() const;
    int SetScrollPos(int pos, BOOL redraw = TRUE);
    void SetScrollRange(int minPos, int maxPos, BOOL redraw = TRUE);
    BOOL GetScrollInfo(LPSCROLLINFO info, UINT mask = SIF_ALL);

private:
    void GetScrollRange(int* minPos, int* maxPos) const;
};

class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)
    friend class CWnd;
    friend struct afxwin::Internals;
public:
    void SetRange32(int lower, int upper);
    int SetPos(int pos);

private:
    void GetRange(int& lower, int& upper) const;
    int GetPos() const;
};

