// The receive callback: every chunk the port's reader thread delivers.
#include "meterapp/decibar_view.h"

#include "meterapp/messages.h"
#include "meterproto/hex_text.h"
#include "meterproto/receive_path.h"
#include "resource.h"

void CDecibarView::OnMeterBytes(void* userData, char* data, int length)
{
    auto* view = static_cast<CDecibarView*>(userData);
    const CString chunkHex = meterproto::ChunkToHex(reinterpret_cast<const BYTE*>(data), length);
    const std::time_t now = std::time(nullptr);
    view->m_timeLastRx = now;
    view->m_bConnected = true;

    meterproto::RxAction action;
    {
        std::lock_guard<std::mutex> lock(view->m_stateLock);
        action = meterproto::ReceiveChunk(chunkHex, length, view->m_bLogMode, view->m_bRecording, view->m_strRx,
            view->m_reading, g_nLogBytes, meterproto::PcDateOf(now));
    }

    // Only sent messages reach the user-interface thread: its waits (a port
    // Close among them) run them, so closing the port here never hangs.
    const HWND receiver = view->m_hwndReceiver;
    switch (action) {
    case meterproto::RxAction::SendStop:
        ::SendMessage(receiver, WM_COMMAND, ID_REALTIME_STOP, 0);
        break;
    case meterproto::RxAction::Redraw:
        ::SendMessage(receiver, WM_METER_FACE, 0, 0);
        break;
    case meterproto::RxAction::ToCollector:
    case meterproto::RxAction::Nothing:
        break;
    }
}
