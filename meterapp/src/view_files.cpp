// The main view's file commands: Save as and Export To Excel of the
// real-time records, and Open of a data file into the logged records.
#include "meterapp/decibar_view.h"

#include "meterapp/file_commands.h"

ESaveOutcome CDecibarView::SaveRealTimeRecords()
{
    if (!g_pRealTimeRecords || g_pRealTimeRecords->GetSize() == 0)
        return ESaveOutcome::NothingToSave;
    CWaitCursor wait;
    return SaveDataFileAs(this, *g_pRealTimeRecords);
}

bool CDecibarView::OnSaveAs()
{
    return SaveRealTimeRecords() == ESaveOutcome::Written;
}

void CDecibarView::OnExportExcel()
{
    if (!g_pRealTimeRecords || g_pRealTimeRecords->GetSize() == 0)
        return;
    CWaitCursor wait;
    ExportTableAs(this, *g_pRealTimeRecords, m_stat, meterfiles::EExportCopy::MainView);
}

void CDecibarView::OnOpenDataFile()
{
    CObArray read;
    if (!ReadDataFileChosen(this, read))
        return;
    CWaitCursor wait;
    ReplaceLoggedData(read);
    ShowLoggedData();
}
