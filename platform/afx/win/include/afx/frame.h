// Frame windows with a menu, tool bar and status bar; command update.
#pragma once

#include <memory>
#include <vector>

#include "afx/wnd.h"

class CView;
class CDocument;
class CToolBar;
class CStatusBar;

#define MF_BYPOSITION 0x0400u
#define MF_ENABLED 0x0000u
#define MF_GRAYED 0x0001u
#define MF_DISABLED 0x0002u

// A menu bar or drop-down of a frame. Items are addressed by command id
// (MF_BYCOMMAND, searched in sub-menus too) or by position (MF_BYPOSITION).
// A command that stands on the bar itself is addressed by its id or by its
// position on the bar.
class CMenu : public CObject {
    friend class CFrameWnd;
    friend struct afxwin::Internals;

public:
    CMenu() = default;
    ~CMenu() override;
    // Returns the previous state (MF_GRAYED / MF_ENABLED), or (UINT)-1 when there is no such item.
    UINT EnableMenuItem(UINT item, UINT flags);
    CMenu* GetSubMenu(int pos) const;

private:
    // The wx menu bar or drop-down this object stands for.
    void* m_wxBar = nullptr;
    void* m_wxMenu = nullptr;
    std::vector<UINT> m_barCommands;   // per bar position: 0, or a command on the bar itself
    mutable std::vector<std::unique_ptr<CMenu>> m_subs;
    int GetMenuString(UINT item, CString& text, UINT flags) const;
    UINT GetMenuItemID(int pos) const;   // 0xFFFFFFFF for a drop-down, 0 for a separator
    int GetMenuItemCount() const;
    // MF_GRAYED, MF_CHECKED, MF_POPUP, MF_SEPARATOR; MFT_RADIOCHECK for an item
    // whose mark is a radio mark.
    UINT GetMenuState(UINT item, UINT flags) const;
};

// One command's state during an update request (ON_UPDATE_COMMAND_UI).
class CCmdUI {
    friend class CFrameWnd;
    friend class CToolBar;
    friend struct afxwin::Internals;

public:
    virtual ~CCmdUI() = default;
    virtual void Enable(BOOL on = TRUE);
    virtual void SetRadio(BOOL on = TRUE);

private:
    UINT m_nID = 0;
    UINT m_nIndex = 0;
    CMenu* m_pMenu = nullptr;
    BOOL m_bEnableChanged = FALSE;
    // What the handler set (for the layer's own bars and menus).
    int m_enabled = -1;   // -1 unchanged
    int m_checked = -1;   // -1 unchanged; 0 clear, 1 marked
    bool m_radio = false; // the mark is a radio mark (SetRadio)
    const wchar_t* m_text = nullptr;
    // Routes the request; TRUE when a handler took it.
    BOOL DoUpdate(CCmdTarget* target, BOOL disableIfNoHandler);
    virtual void SetCheck(int check = 1);
};

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
    friend class CToolBar;
    friend class CStatusBar;

public:
    void EnableDocking(DWORD style) { (void)style; }
};

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
    friend class CFrameWnd;
    friend struct afxwin::Internals;

public:
    BOOL CreateEx(CWnd* parent, DWORD ctrlStyle = TBSTYLE_FLAT, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP,
                  CRect borders = CRect(0, 0, 0, 0), UINT id = AFX_IDW_TOOLBAR);
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT id = AFX_IDW_TOOLBAR);
    // Buttons from the registered tool bar `id` (AfxRegisterToolBar) with the
    // images of its bitmap; tool tips and prompts from the string table.
    BOOL LoadToolBar(UINT id);

private:
    std::vector<UINT> m_ids;
    // Runs the update handlers of the buttons now (also done when the program is idle).
    void UpdateButtons();
    // Enabled state of a button.
    BOOL IsButtonEnabled(UINT id) const;
    UINT GetItemID(int index) const;
    int GetCount() const;
};

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
    friend class CFrameWnd;
    friend struct afxwin::Internals;

public:
    BOOL Create(CWnd* parent, DWORD style = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT id = AFX_IDW_STATUS_BAR);
    // ID_SEPARATOR is the message pane; ID_INDICATOR_CAPS/NUM/SCRL show "CAP",
    // "NUM", "SCRL" while the key's lock is on.
    BOOL SetIndicators(const UINT* ids, int count);

private:
    std::vector<UINT> m_ids;
    // Shows the lock indicators as the keys are now (also done whenever a lock key changes).
    void UpdateIndicators();
    CString GetPaneText(int index) const;
    BOOL SetPaneText(int index, LPCTSTR text, BOOL update = TRUE);
};

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL DestroyWindow() override;

    CView* GetActiveView() const { return m_pViewActive; }
    virtual void RecalcLayout(BOOL notify = TRUE);
    void EnableDocking(DWORD style) { m_dockStyle = style; }
    void DockControlBar(CControlBar* bar) { (void)bar; }

    // With it off, menu items keep the state the program gives them; with it on,
    // items without a command handler are grayed when their menu opens.
    BOOL m_bAutoMenuEnable = TRUE;

protected:
    void OnClose();
    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra) override;
    CString m_strTitle;
    CStatusBar* m_statusBar = nullptr;
    CToolBar* m_toolBar = nullptr;
    std::unique_ptr<CMenu> m_menuBar;
    // Runs the update handlers of a drop-down (by its position on the bar),
    // as opening it does.
    void UpdateMenuPopup(int barPosition);
    // The frame's menu bar (null without one).
    CMenu* GetMenuBar() const { return m_menuBar.get(); }
    CString GetTitle() const { return m_strTitle; }
    void PostNcDestroy() override;
    // Creates the frame with the menu, accelerators, icon and title of resource
    // `id` (string `id`'s first part is the title), then the view of `context`.
    BOOL LoadFrame(UINT id, DWORD style, CWnd* parent, void* context);
    void SetActiveView(CView* view) { m_pViewActive = view; }
    CDocument* GetActiveDocument() const;
    void ShowControlBar(CControlBar* bar, BOOL show, BOOL delay);
    void SetMessageText(LPCTSTR text);
    void SetMessageText(UINT id);
    void SetTitle(LPCTSTR title);
    void ActivateFrame(int cmdShow = -1);
    void InitialUpdateFrame(CDocument* doc, BOOL makeVisible);
    void UpdateFrameTitle();
    void UpdateMenu(class wxMenu* menu);
    UINT BarCommandOf(class wxMenu* menu) const;
    void OnIdleUpdate();

    UINT m_nResourceId = 0;
    std::unique_ptr<class AfxFrameExtras> m_extras;
    CView* m_pViewActive = nullptr;
    DWORD m_dockStyle = 0;

    friend class CWnd;
    friend class CToolBar;
    friend class CStatusBar;
    friend class CDocTemplate;
    friend class CSingleDocTemplate;
    friend struct afxwin::Internals;
    friend class CDocument;
    friend class CView;

    // What LoadFrame does, step by step.
    class wxFrame* CreateFrameWindow(UINT id, const CREATESTRUCT& cs, CWnd* parent);
    void LoadMenuAndAccelerators(class wxFrame* frame, UINT id);
    void LoadFrameIcon(class wxFrame* frame, UINT id);
    void RouteFrameEvents(class wxFrame* frame);
    void StartDeviceWatch();
};
