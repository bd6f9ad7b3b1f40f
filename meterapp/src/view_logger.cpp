// The logger download: the DataLogger command, the collector and parser on
// the reader thread, and the end of a download on the user-interface thread.
#include "meterapp/decibar_view.h"

#include "meterapp/datalog_dlg.h"
#include "meterapp/file_commands.h"
#include "meterapp/messages.h"
#include "meterproto/logger_parse.h"

#include "resource.h"

#include <seriallink/ComPort.h>

#include <chrono>

namespace {

const UINT kLogTimeoutMs = 250000;
// Two bytes at 9600 baud: a request is written again once the line has sent it.
const auto kRequestLineTime = std::chrono::microseconds(2084);

} // namespace

void CDecibarView::OnDataLogger()
{
    if (m_bRecording) {
        MessageBox(L"Please stop the Real Time Runing!", L"Tip", MB_OK);
        return;
    }
    if (!m_bConnected || m_bLogMode)
        return;
    {
        std::lock_guard<std::mutex> lock(m_stateLock);
        m_logCollector = meterproto::SLogCollector();
        m_pLogDownload.reset();
        m_bLogFailed = false;
        ++m_nLogGeneration;
        m_bLogReplySeen = false;
        m_bLogMode = true;
    }
    m_bLogDoneSeen = false;
    KillTimer(TIMER_LOG_TIMEOUT);
    CObArray none;
    ReplaceLoggedData(none);
    SetTimer(TIMER_LOG_TIMEOUT, kLogTimeoutMs, nullptr);

    // The request goes out until the reply's header is seen while the box is
    // already up, so that the timers run and the user can abandon a meter
    // that does not answer.
    std::thread requests([this] { SendLogRequests(); });
    if (!m_bLogDoneSeen)
        m_logState.DoModal();
    std::unique_ptr<CObArray> downloaded;
    {
        std::lock_guard<std::mutex> lock(m_stateLock);
        m_bLogMode = false;
        downloaded = std::move(m_pLogDownload);
    }
    requests.join();

    if (downloaded)
        ReplaceLoggedData(*downloaded);
    // A meter that never answered has sent nothing to show; a window that
    // shows the records deleted above is made anew all the same.
    if (m_bLogReplySeen || (m_pLogDlg && m_pLogDlg->GetSafeHwnd()))
        ShowLoggedData();
}

void CDecibarView::ReplaceLoggedData(CObArray& records)
{
    ReplaceLoggedRecords(records, m_pLogDlg ? m_pLogDlg->m_pRecords : nullptr);
}

void CDecibarView::ShowLoggedData()
{
    if (!m_pLogDlg) {
        m_pLogDlg = new CDataLogDlg(nullptr);
    } else if (m_pLogDlg->GetSafeHwnd()) {
        m_pLogDlg->ShowWindow(SW_MINIMIZE);
        m_pLogDlg->DestroyWindow();
    }
    if (m_pLogDlg->Create(IDD_DATALOGGER, nullptr))
        m_pLogDlg->ShowWindow(SW_RESTORE);
}

void CDecibarView::SendLogRequests()
{
    while (m_bLogMode && !m_bLogReplySeen) {
        const auto written = std::chrono::steady_clock::now();
        m_pPort->Write(reinterpret_cast<const char*>(meterproto::LOG_REQUEST), sizeof meterproto::LOG_REQUEST);
        std::this_thread::sleep_until(written + kRequestLineTime);
    }
}

void CDecibarView::CollectLoggerChunk(const CString& chunkHex)
{
    meterproto::SLogChunk chunk;
    {
        std::lock_guard<std::mutex> lock(m_stateLock);
        if (!m_bLogMode || m_bLogFailed)
            return;
        chunk = meterproto::CollectLogChunk(chunkHex, m_strRx, m_logCollector, g_nLogBytes);
        m_reading.powerWatch = 0;
        m_nLogParsed = m_nLogGeneration;
        if (m_logCollector.replySeen)
            m_bLogReplySeen = true;
        if (chunk.step == meterproto::ELogStep::Empty) {
            m_pLogDownload = std::make_unique<CObArray>();
            m_bLogMode = false;
        } else if (chunk.step == meterproto::ELogStep::Overflow) {
            m_bLogFailed = true;
        }
    }

    // Posted: the reader goes on reading while the window is busy.
    switch (chunk.step) {
    case meterproto::ELogStep::Waiting:
        break;
    case meterproto::ELogStep::Receiving:
        PostOnce(m_bLogProgressPending, WM_LOG_PROGRESS);
        break;
    case meterproto::ELogStep::Empty:
        ::PostMessage(m_hwndReceiver, WM_LOG_DONE, 0, 0);
        break;
    case meterproto::ELogStep::Complete:
        ParseLoggerData(chunk.text);
        break;
    case meterproto::ELogStep::Overflow:
        ::PostMessage(m_hwndReceiver, WM_LOG_FAILED, 0, 0);
        break;
    }
}

void CDecibarView::ParseLoggerData(const CString& text)
{
    const meterproto::SLoggerData data = meterproto::ParseLoggerText(text);
    auto records = std::make_unique<CObArray>();
    records->SetSize(0, static_cast<INT_PTR>(data.samples.size()));
    for (const meterproto::SLoggedSample& s : data.samples)
        records->Add(new CObjData(s.value, s.dateTime, s.unit, s.recordSet, s.interval));

    bool handedOver = false;
    {
        std::lock_guard<std::mutex> lock(m_stateLock);
        // A download abandoned meanwhile, or already followed by another, keeps nothing.
        if (m_bLogMode && m_nLogParsed == m_nLogGeneration) {
            m_pLogDownload = std::move(records);
            m_bLogMode = false;
            handedOver = true;
        }
    }
    if (!handedOver) {
        DeleteAllRecords(records.get());
        return;
    }
    ::PostMessage(m_hwndReceiver, WM_LOG_DONE, 0, 0);
}

LRESULT CDecibarView::OnLogDone(WPARAM, LPARAM)
{
    m_bLogDoneSeen = true;
    m_logState.Finish();
    return 1;
}

// The progress as it is when the window gets to it, not as it was when asked for.
LRESULT CDecibarView::OnLogProgress(WPARAM, LPARAM)
{
    m_bLogProgressPending = false;
    int expected = 0;
    int received = 0;
    {
        std::lock_guard<std::mutex> lock(m_stateLock);
        if (!m_bLogMode)
            return 1;
        expected = m_logCollector.expected;
        received = g_nLogBytes;
    }
    m_logState.ShowProgress(expected, received);
    return 1;
}

LRESULT CDecibarView::OnLogFailed(WPARAM, LPARAM)
{
    FailLogDownload();
    return 1;
}

bool CDecibarView::AbandonLogDownload()
{
    std::lock_guard<std::mutex> lock(m_stateLock);
    if (!m_bLogMode)
        return false;
    m_bLogMode = false;
    m_pLogDownload.reset();
    return true;
}

void CDecibarView::FailLogDownload()
{
    if (!AbandonLogDownload())
        return;
    SendMessage(WM_LOG_DONE, 0, 0);
    MessageBox(L"Occur an error", L"error", MB_OK);
}
