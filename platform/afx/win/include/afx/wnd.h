// CWnd: a window of the layer, over a wxWidgets window.
//
// HWND is the address of the wx window; CWnd::FromHandle finds the CWnd that
// stands for it. Every window of a dialog template gets a CWnd of its kind
// (CButton, CEdit, CComboBox, ...) owned by the dialog, so GetDlgItem may be
// cast to the control's class; DDX_Control / SubclassDlgItem put another
// object (usually a member of a derived class) in its place.
//
// Messages reach WindowProc, which looks up the message map and falls back
// to DefWindowProc. Windows live on the user-interface thread: an operation
// called from another thread is handed to it and waited for (as SendMessage
// is), PostMessage only queues. A thread that calls them must therefore not
// hold a lock that the user-interface thread may be waiting for.
#pragma once

#include "afx/cstring.h"
#include "afx/gdi.h"
#include "afx/msgmap.h"
#include "afx/resources.h"
#include "afx/wintypes.h"

class wxWindow;
class CFrameWnd;
class CDataExchange;
class CMenu;

#include "win32/user.h"
#include "wxsupport/capture.h"

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)
    friend class CDialog;
    friend class CFrameWnd;
    friend class CView;
    friend struct afxwin::Internals;

public:
    CWnd();
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }
    // The CWnd of a window, or null when the handle is not a window of this layer.
    static CWnd* FromHandle(HWND hwnd);

    // Destroys the window and its children (WM_DESTROY to each); TRUE when there was one.
    virtual BOOL DestroyWindow();
    HWND UnsubclassWindow();
    BOOL Attach(HWND hwnd) { return SubclassWindow(hwnd); }
    HWND Detach() { return UnsubclassWindow(); }

    // Messages. SendMessage runs the handler on the user-interface thread and
    // returns its result; from another thread it waits for that (the
    // user-interface thread also runs it while it blocks in Sleep or a wait).
    // 0 when the window does not exist. PostMessage queues it; FALSE when
    // there is no window.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Default();
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    // Called when this object takes over a window (DDX_Control, SubclassDlgItem).
    virtual void PreSubclassWindow();
    virtual void DoDataExchange(CDataExchange* pDX);
    // TRUE: controls to members (with validation); FALSE: members to controls.
    BOOL UpdateData(BOOL saveAndValidate = TRUE);

    // Timers: WM_TIMER with the id every `elapse` ms until killed or the window
    // ends; they also run inside modal loops. The callback must be null (a
    // callback is not offered: 0, and checked builds stop there).
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void (*callback)(HWND, UINT, UINT_PTR, DWORD));
    BOOL KillTimer(UINT_PTR id);

    // Text, state, geometry.
    void SetWindowText(LPCTSTR text);
    BOOL ShowWindow(int cmd);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    void GetClientRect(LPRECT rect) const;
    void GetWindowRect(LPRECT rect) const;
    void ScreenToClient(LPPOINT point) const;
    void ScreenToClient(LPRECT rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
    // Position in the parent's client coordinates (screen for top-level windows).
    // The Z order (insertAfter: &wndTop, &wndBottom, ...) is not changed: siblings
    // of this layer are laid out so as not to depend on it.
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    int GetDlgCtrlID() const;
    void SetFont(CFont* font, BOOL redraw = TRUE);
    void SetIcon(HICON icon, BOOL bigIcon);

    // Painting: the window's picture is repainted (WM_ERASEBKGND then WM_PAINT)
    // when it is invalid; UpdateWindow does that at once.
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
    void ValidateRect(LPCRECT rect);
    void UpdateWindow();

    // Family.
    CWnd* GetParent() const;
    CFrameWnd* GetParentFrame() const;
    CWnd* GetDlgItem(int id) const;
    void SetDlgItemText(int id, LPCTSTR text);
    int GetDlgItemText(int id, CString& text) const;
    CMenu* GetMenu() const;

    // A message box owned by this window (see AfxMessageBox).
    int MessageBox(LPCTSTR text, LPCTSTR caption = nullptr, UINT type = MB_OK);

    // The default handlers of the standard messages; handlers of derived
    // classes call them for the default processing.
    void OnPaint();
    void OnSize(UINT type, int cx, int cy);
    void OnTimer(UINT_PTR id);
    void OnClose();
    int OnCreate(LPCREATESTRUCT cs);
    HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
    void OnHScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnVScroll(UINT code, UINT pos, CScrollBar* bar);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);

    // Owner-drawn controls draw themselves here (a CButton with BS_OWNERDRAW).
    virtual void DrawItem(LPDRAWITEMSTRUCT drawItem);

protected:
    DECLARE_MESSAGE_MAP()

private:
    wxWindow* GetWx() const;
    // Attaches this object to an existing window in place of its current CWnd.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Called after the window is gone; the default does nothing.
    virtual void PostNcDestroy();
    void GetWindowText(CString& text) const;
    int GetWindowText(LPWSTR buffer, int maxCount) const;
    BOOL IsWindowEnabled() const;
    CWnd* SetFocus();
    static CWnd* GetFocus();
    void ClientToScreen(LPPOINT point) const;
    void ClientToScreen(LPRECT rect) const;
    DWORD GetStyle() const;
    // Mouse capture: mouse messages come to this window until released.
    CWnd* SetCapture();
    static CWnd* GetCapture();
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra) override;
};

// Windows of the layer's framework classes: the frame of the running program.
CWnd* AfxGetMainWnd();

// Message boxes: a real dialog (through win32/user.h MessageBoxW, so every
// message box of the program, also those of the Win32 layer, is one).
int AfxMessageBox(LPCTSTR text, UINT type = MB_OK, UINT helpId = 0);
int AfxMessageBox(UINT stringId, UINT type = MB_OK, UINT helpId = 0);

// A CString of the string table; empty when the id has no string.
CString AfxLoadString(UINT id);

// Shows the wait cursor for the life of the object.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
