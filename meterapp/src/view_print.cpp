// The view's print commands.
#include "meterapp/decibar_view.h"

void CDecibarView::OnPrintData()
{
    // The statistics as they are now: a recording that runs on while the
    // dialog is open adds records to the printout but not to these.
    SStatInfo stat = m_stat;
    m_graph.PrintData(stat);
}

void CDecibarView::OnPrintGraph()
{
    SStatInfo stat = m_stat;
    m_graph.PrintGraph(stat);
}
