// The graph control's printouts: its records and its view handed to the page printers.
#include "meterapp/graphics_btn.h"

#include "meterapp/print_pages.h"

namespace {

int WindowWidth(const CWnd& control)
{
    CRect window;
    control.GetWindowRect(&window);
    return window.Width();
}

} // namespace

void CGraphicsBtn::PrintData(SStatInfo stat)
{
    if (m_pRecords)
        PrintDataTable(m_print, *m_pRecords, stat);
}

void CGraphicsBtn::PrintGraph(SStatInfo stat)
{
    if (m_pRecords)
        PrintGraphPage(m_print, *m_pRecords, *this,
            [&](CDC& dc, int left, int top, double xRatio) { DrawPrintGraph(&dc, left, top, xRatio, stat); });
}

void CGraphicsBtn::DrawPrintGraph(CDC* pDC, int left, int top, double xRatio, SStatInfo stat)
{
    if (pDC && m_pRecords)
        DrawGraphPage(*pDC, *m_pRecords, *this, WindowWidth(*this), left, top, xRatio, stat);
}
