// The real-time recorder: Run, Stop, Clear Data, Setup and the sampling tick.
#include "meterapp/decibar_view.h"

#include "meterapp/rt_setup_dlg.h"
#include "meterdata/recording.h"
#include "resource.h"

#include <graph/graph_state.h>

#include <ctime>

namespace {

// The Real Time menu is the second of the menu bar; Run, Clear Data and Setup
// stand at these positions in it.
const int kRealTimeMenuPosition = 1;
const int kRecordingGrayedItems[] = { 0, 2, 3 };

} // namespace

void CDecibarView::EnableRealTimeItems(bool enable)
{
    CWnd* frame = GetParentFrame();
    CMenu* bar = frame ? frame->GetMenu() : nullptr;
    CMenu* realTime = bar ? bar->GetSubMenu(kRealTimeMenuPosition) : nullptr;
    if (!realTime)
        return;
    const UINT state = enable ? MF_ENABLED : (MF_GRAYED | MF_DISABLED);
    for (int position : kRecordingGrayedItems)
        realTime->EnableMenuItem(static_cast<UINT>(position), MF_BYPOSITION | state);
}

void CDecibarView::OnRun()
{
    if (!m_bConnected)
        return;
    if (g_pRealTimeRecords->GetSize() > 0) {
        // The records are dropped only when they are saved or the user lets
        // them go: a cancelled or failed save keeps them and starts nothing.
        if (MessageBox(L"Save Current Data?", L"Tip", MB_YESNO) == IDYES && !OnSaveAs())
            return;
        ResetRecordingStatistics(m_stat);
        SetDlgItemText(IDC_DATA_COUNT, L"");
        DeleteAllRecords(g_pRealTimeRecords);
    }
    CString rate;
    GetDlgItemText(IDC_RATE, rate);
    double interval = 0;
    ParseRateText(rate, &interval);
    const UINT period = SamplePeriodMs(interval);
    if (period == 0)
        return; // the list holds only intervals of 0.1 s and more
    m_stat.interval = interval;
    SetTimer(TIMER_SAMPLE, period, nullptr);
    if (CWnd* rates = GetDlgItem(IDC_RATE))
        rates->EnableWindow(FALSE);
    EnableRealTimeItems(false);
    m_graph.m_dXMax = GRAPH_X_SPAN;
    m_graph.RecalcLayout();
    m_bRecording = true;
    m_graph.m_bRunning = true;
}

void CDecibarView::OnStop()
{
    if (CWnd* rates = GetDlgItem(IDC_RATE))
        rates->EnableWindow(TRUE);
    EnableRealTimeItems(true);
    m_bRecording = false;
    m_graph.m_bRunning = false;
    KillTimer(TIMER_SAMPLE);
}

void CDecibarView::OnClearData()
{
    if (MessageBox(L"Clear data?", L"Tips", MB_OKCANCEL) != IDOK)
        return;
    ResetRecordingStatistics(m_stat);
    SetDlgItemText(IDC_DATA_COUNT, L"");
    DeleteAllRecords(g_pRealTimeRecords);
    m_graph.RecalcLayout();
}

void CDecibarView::OnSetup()
{
    if (!m_bConnected)
        return;
    CRTSetup dialog(nullptr);
    dialog.m_nDataPoints = m_nMaxSamples;
    if (dialog.DoModal() != IDOK)
        return;
    m_nMaxSamples = dialog.m_nDataPoints;
    if (auto* rates = static_cast<CComboBox*>(GetDlgItem(IDC_RATE)))
        rates->SetCurSel(dialog.m_nRateIndex);
    OnRun();
}

void CDecibarView::OnSampleTick()
{
    // A box shown while the graph draws runs the timers again: that tick
    // takes no sample, so that each tick accounts for the sample it took.
    if (m_bInSampleTick)
        return;
    // Level, weighting and hold of one and the same decoded frame.
    const SReading reading = ReadingNow();
    switch (DecideSampleTick(reading.hold != 0, m_bConnected, g_pRealTimeRecords->GetSize(), m_nMaxSamples)) {
    case ESampleTick::Skip:
        return;
    case ESampleTick::Stop:
        OnStop();
        return;
    case ESampleTick::Take:
        break;
    }
    m_bInSampleTick = true;
    std::tm local {};
    CTime(std::time(nullptr)).GetLocalTm(&local);
    g_pRealTimeRecords->Add(MakeSample(reading.level, reading.weightingA != 0, local, m_stat.interval));
    m_graph.DrawGraph(g_pRealTimeRecords);

    CString text;
    text.Format(L"%d", static_cast<int>(g_pRealTimeRecords->GetSize()));
    SetDlgItemText(IDC_DATA_COUNT, text);
    const SSampleEffect effect = AddSampleToStatistics(m_stat, *g_pRealTimeRecords);
    SetDlgItemText(IDC_START_TIME, m_stat.startTime);
    if (effect.newMax) {
        text.Format(L"%.1f", m_stat.max);
        SetDlgItemText(IDC_MAX_VALUE, text);
        SetDlgItemText(IDC_MAX_TIME, m_stat.maxTime);
    }
    if (effect.newMin) {
        text.Format(L"%.1f", m_stat.min);
        SetDlgItemText(IDC_MIN_VALUE, text);
        SetDlgItemText(IDC_MIN_TIME, m_stat.minTime);
    }
    text.Format(L"%.2f", m_stat.average);
    SetDlgItemText(IDC_AVERAGE, text);
    m_bInSampleTick = false;
}
