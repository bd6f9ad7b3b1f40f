// Message maps and command targets.
//
// A class that handles messages puts DECLARE_MESSAGE_MAP() in its declaration
// and, in one source file,
//   BEGIN_MESSAGE_MAP(CMyView, CFormView)
//       ON_WM_TIMER()
//       ON_COMMAND(ID_REALTIME_RUN, &CMyView::OnRun)
//       ON_MESSAGE(WM_GRAPH_SCALE, &CMyView::OnGraphScale)
//   END_MESSAGE_MAP()
// A map is searched in its order, then its base class's map. Handler
// signatures are those of the framework (listed at each macro); handlers may
// be protected members.
#pragma once

#include "afx/object.h"
#include "afx/wintypes.h"

class CCmdTarget;
class CCmdUI;
class CDC;
class CWnd;
class CScrollBar;

// One message as the map dispatchers see it.
struct AfxMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What WM_CTLCOLOR carries: the device context whose colours the handler sets,
// the control (the window itself for CTLCOLOR_DLG) and the control type.
struct AfxCtlColorRequest {
    CDC* pDC;
    CWnd* pWnd;
    UINT nCtlColor;
};

using AfxDispatch = LRESULT (*)(CCmdTarget* target, const AfxMessage& msg);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;   // WM_ value; 0 ends the map
    UINT nCode;      // notification code for WM_COMMAND / WM_NOTIFY
    UINT nID;        // first control or command id (0 for plain messages)
    UINT nLastID;    // last id of the range
    AfxDispatch pfn;
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Codes of the command routing: a command or an update request.
#define CN_COMMAND 0u
#define CN_UPDATE_COMMAND_UI 0xFFFFFFFFu

class CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
    friend class CCmdUI;
    friend class CWnd;
    friend class CFrameWnd;
    friend class CView;
    friend class CDocument;
    friend class CWinApp;

public:
    CCmdTarget();
    ~CCmdTarget() override;

    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP* GetThisMessageMap();

private:
    // Routes a command (nCode CN_COMMAND or a control notification) or an update
    // request (CN_UPDATE_COMMAND_UI, pExtra the CCmdUI*) through this target's
    // map; TRUE when a handler took it.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra);
    // Looks up a plain message (not WM_COMMAND/WM_NOTIFY) in the map chain.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT message) const;
};

#define DECLARE_MESSAGE_MAP()                         \
protected:                                            \
    static const AFX_MSGMAP* GetThisMessageMap();     \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                            \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }     \
    const AFX_MSGMAP* theClass::GetThisMessageMap()                                       \
    {                                                                                     \
        typedef theClass ThisClass [[maybe_unused]];                                      \
        typedef baseClass TheBaseClass;                                                   \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                             \
            {0, 0, 0, 0, nullptr}};                                                   \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
        return &messageMap;                                                           \
    }

// Helpers of the dispatchers below.
#define AFX_THIS(t) static_cast<ThisClass*>(t)
#define AFX_POINT_FROM_LPARAM(l) CPoint(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)))

// void fn()
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, CN_COMMAND, static_cast<UINT>(id), static_cast<UINT>(id), \
     [](CCmdTarget* t, const AfxMessage&) -> LRESULT { (AFX_THIS(t)->*(memberFxn))(); return 1; }},
// void fn(CCmdUI* pCmdUI)
#define ON_UPDATE_COMMAND_UI(id, memberFxn) \
    {WM_COMMAND, CN_UPDATE_COMMAND_UI, static_cast<UINT>(id), static_cast<UINT>(id), \
     [](CCmdTarget* t, const AfxMessage& m) -> LRESULT { (AFX_THIS(t)->*(memberFxn))(reinterpret_cast<CCmdUI*>(m.lParam)); return 1; }},
// Control notifications: void fn()
#define ON_CONTROL(code, id, memberFxn) \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), \
     [](CCmdTarget* t, const AfxMessage&) -> LRESULT { (AFX_THIS(t)->*(memberFxn))(); return 1; }},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
// void fn(NMHDR* pNotifyStruct, LRESULT* pResult)
#define ON_NOTIFY(code, id, memberFxn) \
    {WM_NOTIFY, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), \
     [](CCmdTarget* t, const AfxMessage& m) -> LRESULT { LRESULT r = 0; (AFX_THIS(t)->*(memberFxn))(reinterpret_cast<NMHDR*>(m.lParam), &r); return r; }},
// LRESULT fn(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn) \
    {static_cast<UINT>(message), 0, 0, 0, \
     [](CCmdTarget* t, const AfxMessage& m) -> LRESULT { return (AFX_THIS(t)->*(memberFxn))(m.wParam, m.lParam); }},

// Standard window messages; each calls the handler of the fixed name.
// int OnCreate(LPCREATESTRUCT)
#define ON_WM_CREATE() {WM_CREATE, 0, 0, 0, [](CCmdTarget* t, const AfxMessage& m) -> LRESULT { return AFX_THIS(t)->OnCreate(reinterpret_cast<LPCREATESTRUCT>(m.lParam)); }},
// void OnClose()
#define ON_WM_CLOSE() {WM_CLOSE, 0, 0, 0, [](CCmdTarget* t, const AfxMessage&) -> LRESULT { AFX_THIS(t)->OnClose(); return 0; }},
// void OnPaint()
#define ON_WM_PAINT() {WM_PAINT, 0, 0, 0, [](CCmdTarget* t, const AfxMessage&) -> LRESULT { AFX_THIS(t)->OnPaint(); return 0; }},
// void OnSize(UINT nType, int cx, int cy)
#define ON_WM_SIZE() {WM_SIZE, 0, 0, 0, [](CCmdTarget* t, const AfxMessage& m) -> LRESULT { AFX_THIS(t)->OnSize(static_cast<UINT>(m.wParam), static_cast<short>(LOWORD(m.lParam)), static_cast<short>(HIWORD(m.lParam))); return 0; }},
// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, [](CCmdTarget* t, const AfxMessage& m) -> LRESULT { AFX_THIS(t)->OnTimer(static_cast<UINT_PTR>(m.wParam)); return 0; }},
// HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor); lParam points at the request.
#define ON_WM_CTLCOLOR() {WM_CTLCOLOR, 0, 0, 0, [](CCmdTarget* t, const AfxMessage& m) -> LRESULT { auto* r = reinterpret_cast<AfxCtlColorRequest*>(m.lParam); return reinterpret_cast<LRESULT>(AFX_THIS(t)->OnCtlColor(r->pDC, r->pWnd, r->nCtlColor)); }},
// void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
#define ON_WM_HSCROLL() {WM_HSCROLL, 0, 0, 0, [](CCmdTarget* t, const AfxMessage& m) -> LRESULT { AFX_THIS(t)->OnHScroll(LOWORD(m.wParam), static_cast<short>(HIWORD(m.wParam)), reinterpret_cast<CScrollBar*>(m.lParam)); return 0; }},
#define ON_WM_VSCROLL() {WM_VSCROLL, 0, 0, 0, [](CCmdTarget* t, const AfxMessage& m) -> LRESULT { AFX_THIS(t)->OnVScroll(LOWORD(m.wParam), static_cast<short>(HIWORD(m.wParam)), reinterpret_cast<CScrollBar*>(m.lParam)); return 0; }},
// void OnXxx(UINT nFlags, CPoint point), point in client coordinates
#define AFX_ON_MOUSE(msg, fn) {msg, 0, 0, 0, [](CCmdTarget* t, const AfxMessage& m) -> LRESULT { AFX_THIS(t)->fn(static_cast<UINT>(m.wParam), AFX_POINT_FROM_LPARAM(m.lParam)); return 0; }},
#define ON_WM_MOUSEMOVE() AFX_ON_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_ON_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_ON_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_ON_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONUP() AFX_ON_MOUSE(WM_RBUTTONUP, OnRButtonUp)
