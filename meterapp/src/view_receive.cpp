// The receive callback: every chunk the port's reader thread delivers.
#include "meterapp/decibar_view.h"

#include "meterapp/key_senders.h"
#include "meterapp/messages.h"
#include "meterproto/hex_text.h"
#include "meterproto/receive_path.h"
#include "resource.h"

#include <ctime>

void CDecibarView::OnMeterBytes(void* userData, char* data, int length)
{
    auto* view = static_cast<CDecibarView*>(userData);
    const CString chunkHex = meterproto::ChunkToHex(reinterpret_cast<const BYTE*>(data), length);
    view->m_timeLastRx = std::chrono::steady_clock::now();
    view->m_bConnected = true;

    meterproto::SRxResult result;
    bool redraw = false;
    {
        std::lock_guard<std::mutex> lock(view->m_stateLock);
        result = meterproto::ReceiveChunk(chunkHex, length, view->m_bLogMode, view->m_bRecording, view->m_strRx,
            view->m_reading, g_nLogBytes, meterproto::PcDateOf(std::time(nullptr)), view->m_liveStream);
        // Most chunks leave the face as it is: they reach the user-interface
        // thread only when the picture would change.
        redraw = result.redraw && (view->FaceOpsChanged() || !view->m_liveDisplay.faceShown);
    }
    if (result.frameDecoded)
        view->m_pKeySenders->FrameArrived();

    // Posted, never waited for: while the window is busy (a long print, a big
    // file) the reader goes on counting bytes, so the watchdog sees the link
    // alive; the redraw then draws the reading as it is by then.
    if (result.sendStop)
        view->PostOnce(view->m_bHoldPending, WM_METER_HOLD);
    if (redraw)
        view->PostOnce(view->m_bFacePending, WM_METER_FACE);
    if (result.toCollector)
        view->CollectLoggerChunk(chunkHex);
}

void CDecibarView::PostOnce(std::atomic<bool>& pending, UINT message)
{
    if (pending.exchange(true))
        return;
    if (!::PostMessage(m_hwndReceiver, message, 0, 0))
        pending = false;
}

LRESULT CDecibarView::OnMeterHold(WPARAM, LPARAM)
{
    m_bHoldPending = false;
    if (m_bRecording)
        SendMessage(WM_COMMAND, ID_REALTIME_STOP, 0);
    return 1;
}
