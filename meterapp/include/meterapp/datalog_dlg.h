// The DATALOGGER window (dialog 145 with its menu 147): the logged
// recordings as a list, and the one chosen by a double click in a graph of
// its own with its statistics, cursors, hover read-out and panning.
// Modeless and without a parent; the view keeps one object and makes its
// window anew for every new set of logged data. User-interface thread only.
#pragma once

#include "meterapp/graph_panel.h"
#include "meterapp/graphics_btn.h"
#include "meterdata/records.h"

#include <afx/afxwin.h>

class CDataLogDlg : public CDialog {
    DECLARE_DYNAMIC(CDataLogDlg)
public:
    explicit CDataLogDlg(CWnd* parent = nullptr);
    ~CDataLogDlg() override;

    // Rebuilds the list from g_pLogRecords: one row per run of records with
    // the same recording number (ID, DATETIME, UNIT, Sampling Rate, Nums).
    void FillRecordingList();

    SStatInfo m_stat;      // of the recording shown
    // The recording shown. The array is the window's; its records belong to
    // g_pLogRecords: whoever deletes logged records empties it first.
    CObArray* m_pRecords;
    int m_nCursorA = -1;
    CGraphicsBtn m_graph;
    HBRUSH m_brush;
    CListCtrl m_list;
    CScrollBar m_vScroll;
    CScrollBar m_hScroll;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    void OnUndoZoom();
    LRESULT OnGraphScale(WPARAM wParam, LPARAM lParam);
    LRESULT OnGraphCursor(WPARAM wParam, LPARAM lParam);
    LRESULT OnGraphHover(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    // Loads the recording of the row double-clicked (all its runs).
    void OnDblclkRecordList(NMHDR* pNMHDR, LRESULT* pResult);
    void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    // Closing the window discards all logged data; Esc only hides it.
    void OnClose();
    void OnImportData();
    void OnExportExcel();
    void OnSaveSelected();
    // Print > Print Data and Print Graph: the shown recording with a copy of
    // m_stat taken before the print dialog opens; nothing before one is shown.
    void OnPrintData();
    void OnPrintGraph();

    DECLARE_MESSAGE_MAP()

private:
    void SetUpGraph();
    // The window's graph with its scroll bars, read-outs and shown recording.
    SGraphPanel GraphPanel();
    void ShowStatistics();
};
