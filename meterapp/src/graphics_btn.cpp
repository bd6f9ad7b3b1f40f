// The graph control's life, layout, messages and mouse. Drawing is in
// graph_drawing.cpp; the maths behind both in the graph library.
#include "meterapp/graphics_btn.h"

#include "meterapp/messages.h"
#include "meterdata/records.h"

#include <graph/geometry.h>
#include <graph/scales.h>
#include <graph/pointer.h>

BEGIN_MESSAGE_MAP(CGraphicsBtn, CButton)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_PAINT()
    ON_WM_RBUTTONUP()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CGraphicsBtn::CGraphicsBtn()
    : m_pRecords(&m_ownRecords)
{
}

CGraphicsBtn::~CGraphicsBtn() = default;

int CGraphicsBtn::RecordCount() const
{
    return m_pRecords ? static_cast<int>(m_pRecords->GetSize()) : 0;
}

void CGraphicsBtn::SendScale()
{
    CWnd* parent = GetParent();
    if (!parent)
        return;
    parent->SendMessage(WM_GRAPH_SCALE, static_cast<WPARAM>(static_cast<unsigned int>(graph::ScaleMessageValue(m_dYScale))),
        static_cast<LPARAM>(graph::ScaleMessageValue(m_dYOffset)));
}

void CGraphicsBtn::SendNotice(UINT message, int wParam, int index)
{
    if (CWnd* parent = GetParent())
        parent->SendMessage(message, static_cast<WPARAM>(static_cast<INT_PTR>(wParam)), static_cast<LPARAM>(index));
}

void CGraphicsBtn::RecalcLayout()
{
    CRect window;
    GetWindowRect(&window);
    graph::ResetToFullRange(*this, window.Width(), window.Height());
    DrawGraph(m_pRecords);
    SendScale();
}

void CGraphicsBtn::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    graph::DoubleClick(*this, point);
    CButton::OnLButtonDblClk(nFlags, point);
}

void CGraphicsBtn::OnLButtonDown(UINT nFlags, CPoint point)
{
    const graph::SGraphNotice notice = graph::Press(*this, point, RecordCount());
    if (notice.send)
        SendNotice(WM_GRAPH_CURSOR, notice.wParam, notice.index);
    CButton::OnLButtonDown(nFlags, point);
}

void CGraphicsBtn::OnMouseMove(UINT nFlags, CPoint point)
{
    const bool inside = graph::InsidePlot(*this, point);
    if (m_bDragging && inside && m_nMode == GRAPH_MODE_NONE) {
        m_bBand = true;
        m_ptDragEnd = point;
        DrawGraph(m_pRecords);
    } else if (m_nMode != GRAPH_MODE_NONE && inside) {
        // Drawn before the line moves: the line shown trails the mouse by one move.
        DrawGraph(m_pRecords);
        m_ptCursorLine = point;
        const graph::SGraphNotice notice = graph::PlacingNotice(*this, point, RecordCount());
        if (notice.send)
            SendNotice(WM_GRAPH_CURSOR, notice.wParam, notice.index);
    }
    const graph::SGraphNotice hover = graph::HoverNotice(*this, point, RecordCount());
    if (hover.send)
        SendNotice(WM_GRAPH_HOVER, hover.wParam, hover.index);
    CButton::OnMouseMove(nFlags, point);
}

void CGraphicsBtn::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (graph::Release(*this, point))
        SendScale();
    DrawGraph(m_pRecords);
    CButton::OnLButtonUp(nFlags, point);
}

void CGraphicsBtn::OnRButtonUp(UINT nFlags, CPoint point)
{
    graph::ClearCursors(*this);
    DrawGraph(m_pRecords);
    CButton::OnRButtonUp(nFlags, point);
}

void CGraphicsBtn::OnPaint()
{
    CPaintDC dc(this);
}

void CGraphicsBtn::OnSize(UINT nType, int cx, int cy)
{
    CButton::OnSize(nType, cx, cy);
    RecalcLayout();
}
