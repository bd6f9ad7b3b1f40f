// The view's link timers: opening a detected port and the link watchdog.
#include "meterapp/decibar_view.h"

#include "meterapp/key_senders.h"
#include "meterapp/messages.h"
#include "resource.h"

namespace {

const UINT kWatchdogPeriodMs = 1000;
const std::time_t kLinkLostAfterSeconds = 2;
// The meter's display area on the face picture.
const CRect kDisplayArea(41, 39, 166, 185);

} // namespace

void CDecibarView::OnTimer(UINT_PTR nIDEvent)
{
    switch (nIDEvent) {
    case TIMER_OPEN_PORT:
        if (!m_bConnected)
            OpenMeterPort(m_nPortNumber);
        SetTimer(TIMER_WATCHDOG, kWatchdogPeriodMs, nullptr);
        KillTimer(TIMER_OPEN_PORT);
        break;
    case TIMER_WATCHDOG:
        if (std::time(nullptr) - m_timeLastRx.load() >= kLinkLostAfterSeconds)
            OnLinkLost();
        break;
    default:
        CFormView::OnTimer(nIDEvent);
        break;
    }
}

// Repeats every second while the silence lasts; the next chunk connects again.
void CDecibarView::OnLinkLost()
{
    InvalidateRect(kDisplayArea, FALSE);
    if (m_bRecording)
        SendMessage(WM_COMMAND, ID_REALTIME_STOP, 0);
    m_bConnected = false;
    m_pKeySenders->StopAll();
    if (m_bLogMode) {
        SendMessage(WM_LOG_DONE, 0, 0);
        m_bLogMode = false;
        MessageBox(L"Occur an error", L"error", MB_OK);
    }
}
