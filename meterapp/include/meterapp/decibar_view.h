// The main view: a form on template 101 that shows the meter face, carries
// the meter keys, the real-time graph with its read-outs, and owns the meter's
// serial port object and the two record arrays.
#pragma once

#include <afx/afxwin.h>
#include "meterapp/records.h"

#include <atomic>
#include <ctime>
#include <mutex>

class CComPort;

class CDecibarView : public CFormView {
    DECLARE_DYNCREATE(CDecibarView)

protected:
    // Creates the port object (not opened), the two record arrays and sets
    // g_pView. Only the document template creates views.
    CDecibarView();

public:
    ~CDecibarView() override;

    // What the meter shows, as the receive path decodes it.
    struct SReading {
        double level = 0;
        CString timeStamp;
        int range = 4; // auto range until a frame tells otherwise
        BYTE fast = 0;
        BYTE rec = 0;
        BYTE weightingA = 1; // A weighting until a frame tells otherwise
        BYTE max = 0;
        BYTE min = 0;
        BYTE hold = 0;
        BYTE under = 0;
        BYTE over = 0;
        BYTE powerWatch = 0;
        BYTE displayFollow = 0;
        BYTE displayFreeze = 0;
    };

    // Pictures of the face; loaded once, by the first initial update.
    CBitmap m_bmpFace;
    CBitmap m_bmpIdle;
    CBitmap m_bmpDigits[10];
    CBitmap m_bmpPoint;
    CBitmap m_bmpBarSegment;

    CComPort* m_pPort = nullptr; // owned
    CString m_strRx;             // guarded by m_stateLock
    SReading m_reading;          // guarded by m_stateLock
    int m_nCursorA = -1;
    SStatInfo m_stat;
    std::atomic<bool> m_bConnected { false };
    std::atomic<bool> m_bLogMode { false };
    std::atomic<bool> m_bLogReplySeen { false };
    std::atomic<bool> m_bRecording { false };
    int m_nLogBlock = 0;
    int m_nMaxSamples = 0;
    std::atomic<int> m_nKeyCode { 0 };
    double m_dBarValue = 0;
    double m_dDigitsValue = 0;
    int m_nPortNumber = 0;
    std::atomic<std::time_t> m_timeLastRx { 0 };
    CButton m_graph;
    CScrollBar m_vScroll;
    CScrollBar m_hScroll;
    HBRUSH m_brush = nullptr; // owned, made by the first initial update
    CButton m_keys[6];        // REC, Level, AC, MaxMin, FastSlow, Stop
    CStatic m_grpGraph;
    CStatic m_grpCursor;
    bool m_bAutoPort = true;

    // Guards what the port's reader thread and the key senders share with the
    // user-interface thread: m_reading, m_strRx and the face pictures while
    // they are drawn. Held only for short, non-blocking work.
    std::mutex m_stateLock;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    void OnSize(UINT nType, int cx, int cy);
    void OnExit();
    void OnHelpContents();
    void OnUpdateRun(CCmdUI* pCmdUI);
    void OnUpdateStop(CCmdUI* pCmdUI);
    void OnUpdateComPortManual(CCmdUI* pCmdUI);
    void OnUpdateComPortAuto(CCmdUI* pCmdUI);

    DECLARE_MESSAGE_MAP()

private:
    void LoadPictures();
    void FillRateList();
    void ResetStatistics();
    void PaintPicture(CDC* pDC, CBitmap& picture, bool showReading);

    bool m_bInitialised = false;
};

// The one view, for the main frame and the meter keys; null while no view exists.
extern CDecibarView* g_pView;
