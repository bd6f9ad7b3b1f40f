// The logged-data window's Print menu.
#include "meterapp/datalog_dlg.h"

void CDataLogDlg::OnPrintData()
{
    SStatInfo stat = m_stat;
    m_graph.PrintData(stat);
}

void CDataLogDlg::OnPrintGraph()
{
    SStatInfo stat = m_stat;
    m_graph.PrintGraph(stat);
}
