// What the window tests read or set in the main view that no user can reach
// through its menus, keys and controls. Linked by tests and benchmarks only
// (library decibar_view_test_access); the view names this class its friend.
#pragma once

#include "meterapp/datalog_dlg.h"
#include "view_test_access.h"
#include "meterapp/decibar_view.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>

class DecibarViewTestAccess {
public:
    // The link and the recorder as the view holds them; a test may set them
    // to put the view in a state without a meter.
    static std::atomic<bool>& Connected(CDecibarView* view) { return view->m_bConnected; }
    static std::atomic<bool>& Recording(CDecibarView* view) { return view->m_bRecording; }
    // The real-time statistics (read-outs, export, printing take them from here).
    static SStatInfo& Stat(CDecibarView* view) { return view->m_stat; }

    static int MaxSamples(CDecibarView* view) { return view->m_nMaxSamples; }
    static int PortNumber(CDecibarView* view) { return view->m_nPortNumber; }
    // The record index the view last took for cursor A.
    static int CursorA(CDecibarView* view) { return view->m_nCursorA; }

    // The logger download.
    static bool LogMode(CDecibarView* view) { return view->m_bLogMode; }
    static bool LogReplySeen(CDecibarView* view) { return view->m_bLogReplySeen; }
    static CDataLogDlg* LoggedDataWindow(CDecibarView* view) { return view->m_pLogDlg; }
    static CLogState& WaitBox(CDecibarView* view) { return view->m_logState; }

    // Changes the state the reader thread shares with painting, as the reader
    // thread does: under the view's lock, the chunk's arrival time noted.
    static void WriteAsReader(CDecibarView* view, const std::function<void(SReading& reading, CString& rx)>& write)
    {
        {
            std::lock_guard<std::mutex> lock(view->m_stateLock);
            write(view->m_reading, view->m_strRx);
        }
        view->m_timeLastRx = std::chrono::steady_clock::now();
    }

    // Chunks received, face redraws asked and drawings of the display area, taken together.
    struct SLiveCounts {
        std::uint64_t chunks = 0;
        int redrawsAsked = 0;
        int drawings = 0;
    };
    static SLiveCounts LiveCounts(CDecibarView* view)
    {
        std::lock_guard<std::mutex> lock(view->m_stateLock);
        return { view->m_liveStream.position.chunks, view->m_liveDisplay.redrawsAsked,
            view->m_liveDisplay.drawings };
    }

    // The face last drawn shows the reading the view holds now.
    static bool FaceIsCurrent(CDecibarView* view)
    {
        std::lock_guard<std::mutex> lock(view->m_stateLock);
        return view->m_liveDisplay.faceShown && !view->FaceOpsChanged();
    }

    static SReading ReadingNow(CDecibarView* view) { return view->ReadingNow(); }
    static int KeySendersRunning(CDecibarView* view) { return view->KeySendersRunning(); }
    static bool OpenMeterPort(CDecibarView* view, int port) { return view->OpenMeterPort(port); }
};
