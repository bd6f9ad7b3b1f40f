// The graph control: a push button of a form, taken over to plot an array of
// CObjData records as level against sample index, with a rubber-band zoom,
// two measuring cursors and a read-out of the sample under the mouse.
//
// It tells its parent window, with sent messages: WM_GRAPH_SCALE (wParam
// trunc(Y scale × 10000), lParam trunc(Y offset × 10000)) when its scales
// change, WM_GRAPH_CURSOR (wParam -1 cursor A, -2 cursor B; lParam the
// record index) while a cursor is placed, and WM_GRAPH_HOVER (wParam -2,
// lParam the index) as the mouse moves over a record. The view fields of
// SGraphState are public: the owners set them up, pan with them and read
// them for their scroll bars.
//
// User-interface thread only.
#pragma once

#include <afx/afxwin.h>
#include <graph/graph_state.h>

#include "meterapp/print_rx.h"
#include "meterdata/records.h"

#include <set>
#include <string>
#include <vector>

class CGraphicsBtn : public CButton, public SGraphState {
public:
    CGraphicsBtn();
    ~CGraphicsBtn() override;

    // The array last given to DrawGraph (not owned), or an empty array of the
    // control's own until then. The owner keeps the array alive while the
    // control points at it.
    CObArray* m_pRecords;
    // The printer job of the two printouts below.
    CPrintRX m_print;

    // Recomputes the plot from the control's size and shows the full ranges
    // (X 0..X max, Y 0..130, not zoomed; cursors stay), redraws and sends
    // WM_GRAPH_SCALE. The answer to a resize and to "UnDo Zoom".
    void RecalcLayout();

    // Draws the whole control for `records` (null: the current array) and
    // keeps it as m_pRecords. Before drawing, an unzoomed graph widens its X
    // axis until the last record fits and a zoomed running one scrolls one
    // sample; each such step sends WM_GRAPH_SCALE, as does the first draw of
    // the control's life. A time text that does not read stops the time
    // axis at its tick and is reported once ("Time Format is wrong!").
    void DrawGraph(CObArray* records);

    // Print m_pRecords through m_print (print_pages.h): the data table, and the
    // graph page as the control shows it now. `stat` is the owner's statistics,
    // copied when its command started. Nothing for an empty array.
    void PrintData(SStatInfo stat);
    void PrintGraph(SStatInfo stat);
    // Draws the graph page on the printer's current page (PrintGraph's drawing).
    void DrawPrintGraph(CDC* pDC, int left, int top, double xRatio, SStatInfo stat);

protected:
    void DrawCurve(CDC* dc);
    void DrawGrid(CDC* dc);

    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);
    void OnLButtonDblClk(UINT nFlags, CPoint point);
    // Only validates: every picture comes from DrawGraph.
    void OnPaint();
    void OnRButtonUp(UINT nFlags, CPoint point);
    void OnSize(UINT nType, int cx, int cy);

    DECLARE_MESSAGE_MAP()

private:
    void SendScale();
    void SendNotice(UINT message, int wParam, int index);
    int RecordCount() const;
    // Draws the axis into dc; true with the text that did not read when it stopped early.
    bool DrawTimeAxis(CDC* dc, CString* badText);
    void ReportBadTimeText(const CString& text);
    // The memory context and bitmap the picture is composed in, of the client size.
    bool PreparePicture(CDC* screen, CSize size);
    // The eleven level labels of the horizontal grid lines, right-aligned at x 43.
    void DrawLevelLabels(CDC* dc);

    CObArray m_ownRecords;
    std::vector<POINT> m_curvePoints;  // kept between draws: no allocation per draw
    CDC m_memory;
    CBitmap m_picture;
    CBitmap* m_pOldPicture = nullptr;
    CSize m_pictureSize;
    CDC m_labels;  // the left margin with the level labels, while m_labelsKey holds
    CBitmap m_labelsPicture;
    CBitmap* m_pOldLabelsPicture = nullptr;
    CSize m_labelsSize;
    CString m_labelsKey;
    std::set<std::wstring> m_reportedTimeTexts;
    bool m_bReportingTime = false;
};
