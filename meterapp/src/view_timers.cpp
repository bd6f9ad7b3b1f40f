// The view's timers: opening a detected port, the link watchdog and the
// logger download's time-out.
#include "meterapp/decibar_view.h"

#include "meterapp/key_senders.h"
#include "meterapp/messages.h"
#include "resource.h"

namespace {

const UINT kWatchdogPeriodMs = 1000;
// Measured in milliseconds: counted in whole seconds, a meter that sends every
// 1.9 s, as it may, would often seem silent for 2 s.
const std::chrono::milliseconds kLinkLostAfter(2000);

} // namespace

void CDecibarView::StartWatchdog()
{
    SetTimer(TIMER_WATCHDOG, kWatchdogPeriodMs, nullptr);
}

void CDecibarView::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case TIMER_OPEN_PORT:
        if (!m_bConnected)
            OpenMeterPort(m_nPortNumber);
        StartWatchdog();
        KillTimer(TIMER_OPEN_PORT);
        break;
    case TIMER_WATCHDOG:
        if (std::chrono::steady_clock::now() - m_timeLastRx.load() >= kLinkLostAfter)
            OnLinkLost();
        break;
    case TIMER_LOG_TIMEOUT:
        FailLogDownload();
        KillTimer(TIMER_LOG_TIMEOUT);
        break;
    case TIMER_SAMPLE:
        OnSampleTick();
        break;
    default:
        CFormView::OnTimer(nIDEvent);
        break;
    }
}

// Repeats every second while the silence lasts; the next chunk connects again.
void CDecibarView::OnLinkLost()
{
    // The live face painted the whole instrument picture, whose display glass
    // reaches past the display area, so the idle picture replaces all of it;
    // once is enough, as nothing draws the face while the link is down.
    if (m_bConnected) {
        {
            std::lock_guard<std::mutex> lock(m_stateLock);
            m_liveDisplay.drawnOps.clear();
            m_liveDisplay.faceShown = false;
        }
        const CSize picture = m_bmpFace.GetBitmapDimension();
        InvalidateRect(CRect(0, 0, picture.cx, picture.cy), FALSE);
    }
    if (m_bRecording)
        SendMessage(WM_COMMAND, ID_REALTIME_STOP, 0);
    m_bConnected = false;
    m_pKeySenders->StopAll();
    FailLogDownload();
}
