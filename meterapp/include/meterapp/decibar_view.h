// The main view: a form on template 101 that shows the meter face, carries
// the meter keys, the real-time graph with its read-outs, and owns the meter's
// serial port object and the two record arrays.
#pragma once

#include <afx/afxwin.h>
#include "meterapp/file_commands.h"
#include "meterapp/graph_panel.h"
#include "meterapp/graphics_btn.h"
#include "meterapp/live_display.h"
#include "meterapp/log_state.h"
#include "meterapp/meter_button.h"
#include "meterdata/records.h"
#include "meterproto/logger_reply.h"
#include "meterproto/reading.h"
#include "meterproto/receive_path.h"

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

class CComPort;
class CDataLogDlg;
class CKeySenders;

class CDecibarView : public CFormView {
    DECLARE_DYNCREATE(CDecibarView)
    // The window tests' view of what no user can reach; defined only in the tests.
    friend class DecibarViewTestAccess;

protected:
    // Creates the port object (not opened), the two record arrays and sets
    // g_pView. Only the document template creates views.
    CDecibarView();

public:
    ~CDecibarView() override;

    // What the meter shows, as the receive path decodes it.
    typedef ::SReading SReading;

    // The view's timers.
    enum ViewTimer : UINT_PTR {
        TIMER_OPEN_PORT = 1, // one-shot: opens the detected port, starts the watchdog
        TIMER_WATCHDOG = 2,  // every second: counts the link lost after 2 s of silence
        TIMER_SAMPLE = 3,    // one recording sample per sampling interval
        TIMER_LOG_TIMEOUT = 4, // one-shot: ends a logger download still running after 250 s
    };

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;

    // Save as for the close question: writes the real-time records under a
    // name the user chooses and tells how it ended (the program stays open
    // when the records could not be written).
    ESaveOutcome SaveRealTimeRecords();

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
    void OnTimer(UINT_PTR nIDEvent);
    LRESULT OnPortChanged(WPARAM wParam, LPARAM lParam);
    void OnComPortAuto();
    void OnComPortManual();
    // A meter key was pressed (lParam: its code): while connected, starts a
    // sender for it.
    LRESULT OnMeterKey(WPARAM wParam, LPARAM lParam);
    // Posted by the receive callback: the face is redrawn on this thread.
    LRESULT OnMeterFaceRedraw(WPARAM wParam, LPARAM lParam);
    // Posted by the receive callback when the meter holds during a
    // recording: Stop, unless the recording has ended meanwhile.
    LRESULT OnMeterHold(WPARAM wParam, LPARAM lParam);
    // Export To Excel: the real-time records with their statistics.
    void OnExportExcel();
    // Print Data and Print Graph: the graph's records with a copy of m_stat
    // taken before the print dialog opens.
    void OnPrintData();
    void OnPrintGraph();
    // WM_LOG_DONE: the download is over; closes the wait box. Returns 1.
    LRESULT OnLogDone(WPARAM wParam, LPARAM lParam);
    LRESULT OnLogProgress(WPARAM wParam, LPARAM lParam);
    LRESULT OnLogFailed(WPARAM wParam, LPARAM lParam);
    // DataLogger: downloads the meter's recordings into the logged records,
    // with the wait box shown until the download ends, fails or is abandoned.
    void OnDataLogger();
    // Save as: asks for a name and writes the real-time records as a data
    // file; with no real-time records it does nothing at all. True when the
    // file was written.
    bool OnSaveAs();
    // Open: reads a data file into the logged records and shows them.
    void OnOpenDataFile();

    // The graph panel. WM_GRAPH_SCALE (wParam the Y scale, read unsigned,
    // and lParam the Y offset, signed, both times 10000) rewrites the hidden
    // axis labels (not for a negative offset) and sets both scroll bars from
    // the graph's fields. The cursor and hover notices fill the read-outs of
    // records of the real-time array; other indices change nothing.
    LRESULT OnGraphScale(WPARAM wParam, LPARAM lParam);
    LRESULT OnGraphCursor(WPARAM wParam, LPARAM lParam);
    LRESULT OnGraphHover(WPARAM wParam, LPARAM lParam);
    // The panel's scroll bars pan the graph a step (1 dB, 1 sample) at a time
    // or to where the thumb is released; the form's own pass through.
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnUndoZoom();

    // The real-time recorder. Run (while connected) offers to save the
    // records of the last recording and drops them only when saved or let
    // go, then samples at the rate list's interval; Stop, the sample limit,
    // HOLD and a lost link end it. Setup chooses the limit and the interval
    // and starts a recording.
    void OnRun();
    void OnStop();
    void OnClearData();
    void OnSetup();
    // One tick of TIMER_SAMPLE: one sample from one copy of the reading.
    void OnSampleTick();

    DECLARE_MESSAGE_MAP()

private:
    // The meter's port. The search finds the last port whose friendly name
    // starts with the CP210x bridge's name; enumeration failures are dropped.
    // Start-up: search, open what it finds and start the watchdog.
    void DetectAndOpenMeterPort();
    // Search; when found, remember the number and (re)start TIMER_OPEN_PORT.
    void DetectMeterPort();
    // Ends the key senders, closes the port and opens COM<port> at 9600 8N1
    // with the receive callback; on failure says "Warning:Can't open COM<port>!"
    // and returns false.
    bool OpenMeterPort(int port);

    // The receive callback (reader thread): marks the link alive, runs the
    // chunk through the receive buffer and the decoder, and reaches the
    // user-interface thread only through posted messages (face redraw, hold),
    // never waiting for it.
    static void OnMeterBytes(void* userData, char* data, int length);
    // Posts message to the receiver unless the one posted before is still
    // pending (its handler clears `pending` first); any thread.
    void PostOnce(std::atomic<bool>& pending, UINT message);

    // Draws the reading onto the display area's picture. dc is a memory
    // context that holds that picture, its origin at the area's top left, with
    // the display window filled; its selection and state are restored. Records
    // what was drawn in m_liveDisplay. The caller holds m_stateLock;
    // user-interface thread only.
    void DrawMeterFace(CDC* dc);

    // The download collector (reader thread): the hex text of one chunk
    // received while a download runs.
    void CollectLoggerChunk(const CString& chunkHex);
    // Turns a complete download's text into records and hands them to the
    // command, unless the download was abandoned meanwhile (reader thread).
    void ParseLoggerData(const CString& text);

    // A consistent copy of the instrument state, for any thread.
    SReading ReadingNow();
    // Key senders that have not ended yet.
    int KeySendersRunning() const;

    // Enables or grays Run, Clear Data and Setup by their positions in the Real Time menu.
    void EnableRealTimeItems(bool enable);
    // The graph's start values from its client size, and its first draw.
    void SetUpGraph();
    // The real-time graph with its scroll bars, read-outs and records.
    SGraphPanel GraphPanel();
    void LoadPictures();
    void FillRateList();
    void ResetStatistics();
    void PaintIdle(CDC* pDC);
    void PaintLiveFace(CDC* pDC, bool wholePicture);
    bool FaceOpsChanged();
    bool RenderLiveDisplay(CDC* reference);
    bool FindMeterPortNumber(int* port);
    CBitmap* FaceBitmap(UINT id);
    void StartWatchdog();
    void OnLinkLost();
    // Ends a running download as failed: the wait box closes and "Occur an
    // error" is shown. Does nothing when no download runs.
    void FailLogDownload();
    // Clears the download state; true when a download was running.
    bool AbandonLogDownload();
    void SendLogRequests();
    // Replaces the logged records by `records` (emptied), the window's shown
    // recording first.
    void ReplaceLoggedData(CObArray& records);
    // Makes the logged-data window anew for the logged records and shows it.
    void ShowLoggedData();

    bool m_bInitialised = false;
    bool m_bInSampleTick = false;
    // Repeats the pressed keys' bytes; ended before the port closes.
    std::unique_ptr<CKeySenders> m_pKeySenders;
    // The window the receive callback posts to, set before the port opens.
    std::atomic<HWND> m_hwndReceiver { nullptr };
    // A face redraw, a hold's Stop and a download's progress posted and not
    // yet handled: one of each at a time, however long the window is busy.
    std::atomic<bool> m_bFacePending { false };
    std::atomic<bool> m_bHoldPending { false };
    std::atomic<bool> m_bLogProgressPending { false };
    // Set by WM_LOG_DONE: the wait box is not shown once the download is over.
    bool m_bLogDoneSeen = false;

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
    int m_nMaxSamples = 0;
    // What the bar and the digits show; written under m_stateLock by the
    // face drawing and by the receive path when it weighs a redraw.
    double m_dBarValue = kFaceStartValue;
    double m_dDigitsValue = kFaceStartValue;
    int m_nPortNumber = 0;
    // When the last chunk arrived, on a clock that only moves forward.
    std::atomic<std::chrono::steady_clock::time_point> m_timeLastRx {};
    CGraphicsBtn m_graph;
    CScrollBar m_vScroll;
    CScrollBar m_hScroll;
    HBRUSH m_brush = nullptr; // owned, made by the first initial update
    CMeterButton m_keys[6];   // REC, Level, AC, MaxMin, FastSlow, Stop
    CStatic m_grpGraph;
    CStatic m_grpCursor;
    bool m_bAutoPort = true;

    // The logger download. The collector's state, the generation and the
    // finished download are guarded by m_stateLock; the reader thread fills
    // a download's own array, which the command takes over once the wait box
    // has closed, so no other array is touched off the user-interface thread.
    CLogState m_logState;
    meterproto::SLogCollector m_logCollector;
    int m_nLogGeneration = 0;
    int m_nLogParsed = 0; // the generation of the download being parsed
    bool m_bLogFailed = false;
    std::unique_ptr<CObArray> m_pLogDownload;
    // The logged-data window: made on first use, its window made anew for
    // every new set of logged data; owned.
    CDataLogDlg* m_pLogDlg = nullptr;

    // Guards what the port's reader thread and the key senders share with the
    // user-interface thread: m_reading, m_strRx, m_liveStream, m_liveDisplay
    // and the face pictures while they are drawn. Held only for short,
    // non-blocking work.
    std::mutex m_stateLock;
    // When the frames behind m_reading arrived (guarded by m_stateLock).
    meterproto::SLiveStream m_liveStream;
    SLiveDisplay m_liveDisplay;
};

// The one view, for the main frame and the meter keys; null while no view exists.
extern CDecibarView* g_pView;
// Bytes received since the live decoder last ran (for a download's progress);
// guarded by the view's m_stateLock.
extern int g_nLogBytes;
